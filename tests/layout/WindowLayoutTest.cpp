// Both windows with the bundled texts through a short design: in every stage each visible caption,
// value and list line is whole inside its control, and no two visible controls of one parent
// cover each other or reach outside it. CMake runs this at scale 1.0 and 1.5.
#include "app/Mnemonics.h"
#include "project/MainWindowFixture.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QMenuBar>
#include <QScrollBar>
#include <QSet>

#include <set>

namespace tepa::test {
namespace {

// Controls that lie over others on purpose: the main window's background picture and the
// dew-point box, which covers the middle of the cooling panel while it is shown.
const std::set<QString> Overlays = {QStringLiteral("Image1"), QStringLiteral("GroupBox3")};

// What does not fit in `w`, or an empty text.
QString cutText(const QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const QRect room = w->contentsRect();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return {};
        const bool cut = label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                                           : label->sizeHint().width() > label->width() ||
                                                 fm.height() > room.height();
        return cut ? label->text() : QString();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->sizeHint().width() > w->width() || button->sizeHint().height() > w->height() + 2
                   ? button->text()
                   : QString();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return fm.horizontalAdvance(edit->text()) > room.width() - 6 ? edit->text() : QString();
    if (const auto* box = qobject_cast<const QGroupBox*>(w))
        return fm.horizontalAdvance(box->title()) > box->width() - 16 ? box->title() : QString();
    if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        if (list->horizontalScrollBar()->isVisible())
            return QStringLiteral("(scrolls sideways)");
        for (int row = 0; row < list->count(); ++row)
            if (fm.horizontalAdvance(list->item(row)->text()) > list->viewport()->width())
                return list->item(row)->text();
    }
    return {};
}

// Every fault of the visible controls under `parent`, one line each: text cut, outside
// the parent, covering a sibling.
void collectFaults(const QWidget* parent, QStringList& faults)
{
    QList<const QWidget*> shown;
    for (const QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = w->objectName();
        if (w->isWindow() || !w->isVisible() || name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        const QRect g = w->geometry();
        const QString at = name + QStringLiteral(" (%1,%2 %3x%4)").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        if (const QString cut = cutText(w); !cut.isEmpty())
            faults << QStringLiteral("cut: %1 \"%2\"").arg(at, cut);
        if (!Overlays.contains(name)) {
            if (!parent->rect().contains(g))
                faults << QStringLiteral("outside %1: %2").arg(parent->objectName(), at);
            for (const QWidget* sibling : shown)
                if (sibling->geometry().intersects(g))
                    faults << QStringLiteral("overlap: %1 / %2").arg(sibling->objectName(), at);
            shown << w;
        }
        collectFaults(w, faults);
    }
}

class WindowLayout : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        installedData = TEPA_SOURCE_DATA_DIR;
        MainWindowFixture::SetUp();
        createCalculationWindow();
        form1->show();
    }

    // Checks the windows that are open in the stage `stage`.
    void expectReadable(const QString& stage)
    {
        QCoreApplication::processEvents();
        for (QWidget* window : {static_cast<QWidget*>(form1.get()), static_cast<QWidget*>(form2.get())}) {
            if (!window->isVisible())
                continue;
            QStringList faults;
            collectFaults(window, faults);
            EXPECT_TRUE(faults.isEmpty()) << stage.toStdString() << ", " << window->objectName().toStdString()
                                          << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
        }
    }

    void click(QListWidget* list, int row)
    {
        QCoreApplication::processEvents();
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // The room's list in the calculation window, opened from the room data in `mode`.
    void openList(const char* mode)
    {
        control<QRadioButton>(mode)->click();
        form1->Berechnungen1->trigger();
        ASSERT_TRUE(form2->isVisible());
    }

    // Every entry of the room list opened for editing in turn.
    void editEachEntry(const char* mode, const char* heading)
    {
        auto* list = calc<QListWidget>("ListBox2");
        for (int row = 0; row < list->count(); ++row) {
            click(list, row);
            calc<QPushButton>("Bearbeiten")->click();
            expectReadable(
                QStringLiteral("%1 entry %2").arg(QLatin1String(mode), calc<QLabel>(heading)->text()));
        }
    }
};

TEST_F(WindowLayout, EveryCaptionValueAndListLineIsWholeInEveryStage)
{
    expectReadable(QStringLiteral("start"));
    form1->Info2->trigger();
    expectReadable(QStringLiteral("information"));
    control<QPushButton>("Button3")->click();
    const QString sample = tempPath(QStringLiteral("Beispiel.kon"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"), sample));
    doubles.messages.expect(MessageKind::Information, text(213));
    load(sample);
    form1->Projektdaten1->trigger();
    expectReadable(QStringLiteral("project data"));
    form1->Raumdaten1->trigger();
    expectReadable(QStringLiteral("room data, heating"));
    control<QRadioButton>("RadioButton2")->click();
    expectReadable(QStringLiteral("room data, cooling"));

    openList("RadioButton1");
    expectReadable(QStringLiteral("heating list"));
    // An empty upper part says what to do next, until the type panel shows.
    auto* hint = calc<QLabel>("NextStepHint");
    calc<QPushButton>("Erweitern")->click();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), text(273));
    for (const char* menu : {"FreieKonvektion1", "FreieZwangsKonv1"}) {
        calc<QAction>(menu)->trigger();
        EXPECT_FALSE(hint->isVisible());
        click(calc<QListWidget>("ListBox1"), 0);
        click(calc<QListWidget>("ListBox3"), 0);
        expectReadable(QStringLiteral("type chosen from ") + QLatin1String(menu));
        QTest::mouseClick(calc<QWidget>("Panel4"), Qt::LeftButton, {}, QPoint(2, 2));
    }
    // The sample's heating entries are of each kind of series: free, fan, fixed fan stages.
    editEachEntry("heating", "Label5");
    calc<QAction>("Schliessen1")->trigger();

    // Twelve entries: the list shows eight rows at least and every column of its lines.
    auto& entries = session->Project.HeatingEntries;
    const std::size_t used = static_cast<std::size_t>(calc<QListWidget>("ListBox2")->count());
    ASSERT_GT(used, 0u);
    for (std::size_t i = used; i < 12; ++i)
        entries[i] = entries[i % used];
    session->Project.HeatingEntryCount = 12;
    openList("RadioButton1");
    auto* list = calc<QListWidget>("ListBox2");
    ASSERT_EQ(list->count(), 12);
    expectReadable(QStringLiteral("twelve entries"));
    EXPECT_GE(list->viewport()->height(), 8 * list->sizeHintForRow(0)) << "eight rows show";
    calc<QAction>("Schliessen1")->trigger();

    form1->Konvliste->trigger();
    ASSERT_TRUE(control<QListWidget>("ListBox1")->isVisible());
    expectReadable(QStringLiteral("the project's convector list"));
    openList("RadioButton2");
    editEachEntry("cooling", "Label3");
    calc<QWidget>("GroupBox3")->show();
    expectReadable(QStringLiteral("cooling with the dew-point note"));
}

TEST_F(WindowLayout, EveryMenuEntryHasAnAltLetterOfItsOwnAndKeepsItsText)
{
    for (const QMenuBar* bar : {form1->menuBar(), form2->menuBar()}) {
        QList<const QWidget*> owners{bar};
        for (const QMenu* menu : bar->findChildren<QMenu*>())
            owners << menu;
        for (const QWidget* owner : owners) {
            QSet<QChar> letters;
            for (const QAction* action : owner->actions()) {
                const QString caption = action->text();
                if (caption.isEmpty() || action->isSeparator())
                    continue;
                const qsizetype mark = caption.indexOf(QLatin1Char('&'));
                ASSERT_GE(mark, 0) << caption.toStdString();
                EXPECT_FALSE(letters.contains(caption[mark + 1].toLower())) << caption.toStdString();
                letters.insert(caption[mark + 1].toLower());
            }
        }
    }
    EXPECT_EQ(withoutMnemonic(QStringLiteral("Heizen && K&ühlen")), QStringLiteral("Heizen & Kühlen"));
}

} // namespace
} // namespace tepa::test
