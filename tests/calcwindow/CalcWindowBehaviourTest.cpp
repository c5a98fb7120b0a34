// What the calculation window does on its own already: closing, the dew-point box's button,
// the click on the type panel, the arrows of the count fields and the radio button groups.
#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

namespace tepa::test {
namespace {

using CalcWindowBehaviour = CalcWindowFixture;

TEST_F(CalcWindowBehaviour, ClosingByTheFrameHidesAndKeepsTheWindow)
{
    TForm2& w = create();
    w.show();
    control<QAction>("Schliessen1")->trigger();
    EXPECT_TRUE(w.isVisible()) << "the menu's close command leaves the window open";
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.isHidden());

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

TEST_F(CalcWindowBehaviour, ArrowsStepFromTheTypedCountWithinTheirLimits)
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
        {upDown1, edit5, "7", Qt::Key_Down, "6"},
        {upDown1, edit5, "15", Qt::Key_Up, "15"},
        {upDown1, edit5, "1", Qt::Key_Down, "1"},
        // A count typed beyond the range is brought back to the nearest limit by a step.
        {upDown1, edit5, "40", Qt::Key_Up, "15"},
        {upDown1, edit5, "40", Qt::Key_Down, "14"},
        {upDown3, edit6, "10", Qt::Key_Down, "10"},
        {upDown3, edit6, "30", Qt::Key_Up, "30"},
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
}

TEST_F(CalcWindowBehaviour, RadioButtonsStartSelectedAndExcludeOnlyWithinTheirPanel)
{
    create();
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
