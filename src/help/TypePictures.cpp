// The picture of the convector type selected in the room data panel's type list, and the inputs
// that only the primary-air series uses.
#include "app/TForm1.h"
#include "core/series/Series.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>

namespace tepa {

namespace {

constexpr const char* PictureFolder = "Tepa_Bilder";
constexpr const char* DefaultPicture = "Image4.bmp";
QString programDirText(const std::filesystem::path& dir)
{
    const std::u8string utf8 = dir.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()), static_cast<qsizetype>(utf8.size()));
}

// The type's name in a type list item: the first character is the blank before the name, and the
// name ends at the next blank.
QString pictureName(const QString& item)
{
    const QString rest = item.mid(1);
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    return blank < 0 ? rest : rest.left(blank);
}

} // namespace

void TForm1::ListBox3Click()
{
    const QListWidgetItem* item = ListBox3->currentItem();
    if (!item)
        return;
    const QString name = pictureName(item->text());

    const QDir programDir(programDirText(m_session.ProgramDir));
    QPixmap picture(programDir.filePath(QStringLiteral("%1/%2.bmp").arg(QLatin1String(PictureFolder), name)));
    if (picture.isNull()) {
        // A type without a picture of its own shows the default one, silently.
        const QString fallback = programDir.filePath(QLatin1String(DefaultPicture));
        picture = QPixmap(fallback);
        if (picture.isNull()) {
            m_services.messages.showError(
                QString::fromStdString(cannotOpenMessage(m_session.ProgramDir / DefaultPicture)));
            return;
        }
    }
    Image2->setPixmap(picture);
    Image2->show();

    // The primary-air series takes a second (air) temperature instead of the water flow temperature.
    const bool primaryAir = series::isPrimaryAir(name.toStdString());
    if (m_session.HeatingMode) {
        Label9->setEnabled(!primaryAir);
        Edit4->setEnabled(!primaryAir);
        Label17->setEnabled(primaryAir);
        Edit8->setEnabled(primaryAir);
    }
    if (m_session.CoolingMode) {
        Label15->setEnabled(!primaryAir);
        Edit1->setEnabled(!primaryAir);
        Label16->setEnabled(primaryAir);
        Edit5->setEnabled(primaryAir);
    }
}

} // namespace tepa
