// The calculation window on its own: creation, closing, the dew-point box's button, the type
// panel's click, the count fields' arrows and the radio button groups.
#include "CalcWindowFixture.h"

#include "app/Mnemonics.h"

#include <QApplication>
#include <QTemporaryDir>

namespace tepa::test {
namespace {

using CalcWindowBehaviour = CalcWindowFixture;

TEST_F(CalcWindowBehaviour, CreatedHiddenBesideTheMainWindowWithItsHeightsAndCaptions)
{
    mainWindow.move(200, 150);
    TForm2& w = create();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    EXPECT_TRUE(control<QGroupBox>("GroupBox3")->isHidden());

    // The reader itself is tested with the product data; here its lines reach the session.
    ASSERT_EQ(session.HeightList.size(), 18u); // 80 to 450 mm, see the fixture's README
    EXPECT_EQ(control<QListWidget>("ListBox4")->count(), 0) << "the height list box is filled by a type pick";

    // The fixture's lines read "Text n" except 46, 63 and 149, which carry real wording.
    const std::pair<QString, const char*> cases[] = {
        {withoutMnemonic(control<QAction>("Schliessen1")->text()), "Text 100"},
        {withoutMnemonic(control<QAction>("FreieKonvektion1")->text()), "Freie Konvektion"},
        {withoutMnemonic(control<QAction>("FreieZwangsKonv1")->text()), "Gebläsekonvektoren"},
        {control<QLabel>("Label1")->text(), "Bauhöhe"},
        {control<QRadioButton>("RadioButton4")->text(), "Text 262"},
        {control<QGroupBox>("GroupBox1")->title(), "Text 28"},
        {control<QLabel>("Label113")->text(), "Text 250"},
        {control<QPushButton>("Bearbeiten")->toolTip(), "Text 175"},
        {w.BaseTitle, "Text 40"},
        {w.CoolingOutputCaption, "Text 42"},
    };
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(shown.toStdString(), expected);

    // Neither a moved main window nor a second creation moves it or renews its captions.
    control<QLabel>("Label15")->setText(QStringLiteral("changed"));
    mainWindow.move(400, 300);
    w.FormCreate();
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    EXPECT_EQ(label("Label15").toStdString(), "changed");
    w.hide();
}

TEST_F(CalcWindowBehaviour, MissingHeightFileIsReportedAndSkipsTheLastSteps)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    session.ProgramDir = empty.path().toStdString();
    const std::string file = (session.ProgramDir / "bauhoehen.txt").string();
    doubles.messages.expect(MessageKind::Error,
                            QString::fromStdString("Datei " + file + " kann nicht geöffnet werden"));

    TForm2& w = create();

    EXPECT_TRUE(session.HeightList.empty());
    // Hiding the information box is one of the two skipped steps; the captions came before.
    EXPECT_FALSE(control<QGroupBox>("GroupBox3")->isHidden());
    EXPECT_EQ(label("Label15").toStdString(), "Text 65");
    EXPECT_TRUE(w.isHidden());
}

TEST_F(CalcWindowBehaviour, ClosingKeepsTheWindowForTheNextOpening)
{
    TForm2& w = create();
    w.show();
    trigger("Schliessen1");
    EXPECT_TRUE(w.isVisible()) << "the menu's close command leaves the window open";
    EXPECT_TRUE(w.close());

    // The same window opens again with what it held.
    control<QListWidget>("ListBox2")->addItem(QStringLiteral("1 x W1"));
    w.show();
    EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 1);

    control<QGroupBox>("GroupBox3")->show();
    control<QPushButton>("Button1")->click();
    EXPECT_TRUE(control<QGroupBox>("GroupBox3")->isHidden()) << "OK hides the dew-point box";
    w.hide();
}

TEST_F(CalcWindowBehaviour, TypePanelReportsClicksOnItsOwnSurfaceOnly)
{
    TForm2& w = create();
    w.show();
    auto* panel = control<ClickPanel>("Panel4");
    auto* heading = control<QLabel>("Label15");
    QSignalSpy clicks(panel, &ClickPanel::clicked);

    // Bottom right corner, inside the panel's margin beside the "weiter" button.
    const QPoint freeSpot(panel->width() - 3, panel->height() - 3);
    ASSERT_EQ(panel->childAt(freeSpot), nullptr);
    QTest::mouseClick(panel, Qt::LeftButton, {}, freeSpot);
    EXPECT_EQ(clicks.size(), 1);

    // A label takes no mouse input, yet a click on it is not a click on the panel.
    const QPoint onHeading = heading->geometry().center();
    ASSERT_EQ(panel->childAt(onHeading), heading);
    QTest::mouseClick(panel, Qt::LeftButton, {}, onHeading);
    QTest::mouseClick(panel, Qt::RightButton, {}, freeSpot);
    // Pressed on the surface and released over a child is no click either.
    QTest::mousePress(panel, Qt::LeftButton, {}, freeSpot);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, onHeading);
    EXPECT_EQ(clicks.size(), 1);
    w.hide();
}

TEST_F(CalcWindowBehaviour, ArrowsStepWithinTheirLimitsAndRadioButtonsExcludeWithinTheirPanel)
{
    create();
    auto* upDown1 = control<UpDown>("UpDown1");
    auto* upDown3 = control<UpDown>("UpDown3");
    auto* edit5 = control<QLineEdit>("Edit5");
    auto* edit6 = control<QLineEdit>("Edit6");
    struct Case
    {
        UpDown* upDown;
        QLineEdit* edit;
        const char* typed;
        Qt::Key key;
        const char* shown;
    };
    const Case cases[] = {
        {upDown1, edit5, "7", Qt::Key_Up, "8"},
        {upDown1, edit5, "15", Qt::Key_Up, "15"},
        {upDown1, edit5, "1", Qt::Key_Down, "1"},
        // A count typed beyond the range is brought back to the nearest limit by a step.
        {upDown1, edit5, "40", Qt::Key_Up, "15"},
        {upDown1, edit5, "40", Qt::Key_Down, "14"},
        {upDown3, edit6, "10", Qt::Key_Down, "10"},
        {upDown3, edit6, "12", Qt::Key_Up, "13"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upDown->objectName().toStdString() + " from " + c.typed);
        c.edit->clear();
        QTest::keyClicks(c.edit, QString::fromLatin1(c.typed));
        QTest::keyClick(c.upDown, c.key);
        EXPECT_EQ(c.edit->text().toStdString(), c.shown);
    }

    // Text that is no count leaves the step where it was; a position set by code is written too.
    upDown1->setValue(2);
    edit5->setText(QStringLiteral("x"));
    QTest::keyClick(upDown1, Qt::Key_Up);
    EXPECT_EQ(edit5->text().toStdString(), "3");
    upDown3->setValue(22);
    EXPECT_EQ(edit6->text().toStdString(), "22");

    // The radio buttons start selected and exclude one another only within their panel.
    auto button = [this](const char* name) { return control<QRadioButton>(name); };
    const std::pair<const char*, bool> start[] = {
        {"RadioButton1", true},  {"RadioButton3", false}, {"RadioButton5", true},
        {"RadioButton7", false}, {"TR_Schalter", true},   {"MS_Schalter", false},
    };
    for (const auto& [name, checked] : start)
        EXPECT_EQ(button(name)->isChecked(), checked) << name;

    button("RadioButton3")->click();
    EXPECT_FALSE(button("RadioButton1")->isChecked());
    EXPECT_TRUE(button("RadioButton5")->isChecked());
    EXPECT_TRUE(button("TR_Schalter")->isChecked());

    button("MS_Schalter")->click();
    button("RadioButton7")->click();
    EXPECT_FALSE(button("TR_Schalter")->isChecked());
    EXPECT_FALSE(button("RadioButton5")->isChecked());
    EXPECT_TRUE(button("RadioButton3")->isChecked());
}

} // namespace
} // namespace tepa::test
