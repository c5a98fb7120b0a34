#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {

// The installation beside the program (a build or an unpacked copy) wins over the one under
// the install prefix.
std::filesystem::path installedDataDir()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("data"));
    if (QFileInfo::exists(QDir(beside).filePath(QString::fromLatin1(tepa::InterfaceTexts::FileName))))
        return std::filesystem::path(beside.toStdU16String());
    return std::filesystem::path(QStringLiteral(TEPA_INSTALLED_DATA_DIR).toStdU16String());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("ORVA TEPA"));

    tepa::Session session;
    tepa::platform::QtPlatform platform;
    tepa::TForm1 form1(session, platform.services(),
                       {installedDataDir(), app.arguments().mid(1), QDir::currentPath()});
    platform.setOwner(&form1);
    tepa::TForm2 form2(session, platform.services(), &form1);
    form1.setCalculationWindow(&form2);
    // The program runs until the main window closes, even while the calculation window is open.
    form2.setAttribute(Qt::WA_QuitOnClose, false);

    form1.show();

    // For start-up checks: run the whole start and end as soon as the event loop is up.
    if (qEnvironmentVariable("TEPA_QUIT_AFTER_START") == QStringLiteral("1"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
