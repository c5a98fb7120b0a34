// The calculation window's own behaviour: creation, closing, the missing height file, the type
// panel's click, the count arrows and the radio groups.
#include "CalcWindowFixture.h"

#include <QSignalSpy>
#include <QTemporaryDir>

namespace tepa::test {
namespace {

using CalcWindow = CalcWindowFixture;

TEST_F(CalcWindow, CreatedHiddenBesideTheMainWindowAndKeptForTheNextOpening)
{
    mainWindow.move(200, 150);
    TForm2& w = create();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    EXPECT_EQ(session.HeightList.size(), 18u); // 80 to 450 mm, see the fixture's README
    // Every control and command as created (the fixture's lines read "Text n" except 46, 63 and
    // 149), in tests/data/calcwindow/CalcWindow.<test>.txt.
    record("created");

    // Neither a moved main window nor a second creation moves it or renews its captions.
    control<QLabel>("Label15")->setText(QStringLiteral("changed"));
    mainWindow.move(400, 300);
    w.FormCreate();
    w.show();
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    record("heading changed, created again, shown");

    // The menu's close command leaves it open; the frame's hides it with what it holds.
    trigger("Schliessen1");
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.close());
    control<QListWidget>("ListBox2")->addItem(QStringLiteral("1 x W1"));
    w.show();
    EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 1);
}

TEST_F(CalcWindow, MissingHeightFileIsReportedAndSkipsTheLastSteps)
{
    QTemporaryDir empty;
    session.ProgramDir = empty.path().toStdString();
    const std::string file = (session.ProgramDir / "bauhoehen.txt").string();
    doubles.messages.expect(MessageKind::Error,
                            QString::fromStdString("Datei " + file + " kann nicht geöffnet werden"));
    create();
    EXPECT_TRUE(session.HeightList.empty());
    // Hiding the information box is one of the two skipped steps; the captions came before.
    EXPECT_FALSE(control<QWidget>("GroupBox3")->isHidden());
    EXPECT_EQ(control<QLabel>("Label15")->text().toStdString(), "Text 65");
}

TEST_F(CalcWindow, TypePanelReportsClicksOnItsOwnSurfaceOnly)
{
    create().show();
    auto* panel = control<ClickPanel>("Panel4");
    QSignalSpy clicks(panel, &ClickPanel::clicked);
    // Bottom right corner, inside the panel's margin beside the "weiter" button.
    const QPoint freeSpot(panel->width() - 3, panel->height() - 3);
    ASSERT_EQ(panel->childAt(freeSpot), nullptr);
    QTest::mouseClick(panel, Qt::LeftButton, {}, freeSpot);
    EXPECT_EQ(clicks.size(), 1);
    // A label takes no mouse input, yet a click on it is not a click on the panel; neither is a
    // right click, nor a press on the surface released over a child.
    const QPoint onHeading = control<QLabel>("Label15")->geometry().center();
    ASSERT_EQ(panel->childAt(onHeading), control<QLabel>("Label15"));
    QTest::mouseClick(panel, Qt::LeftButton, {}, onHeading);
    QTest::mouseClick(panel, Qt::RightButton, {}, freeSpot);
    QTest::mousePress(panel, Qt::LeftButton, {}, freeSpot);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, onHeading);
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(CalcWindow, ArrowsStepWithinTheirLimitsAndRadioButtonsExcludeWithinTheirPanel)
{
    create();
    run();
}

} // namespace
} // namespace tepa::test
