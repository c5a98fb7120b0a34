// What the calculation window does on its own already: closing, the dew-point box's button,
// the click on the type panel and the arrows of the count fields.
#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace tepa::test {
namespace {

using CalcWindowBehaviour = CalcWindowFixture;

TEST_F(CalcWindowBehaviour, ClosingByTheFrameHidesAndKeepsTheWindow)
{
    TForm2& w = create();
    w.show();
    w.Schliessen1->trigger();
    EXPECT_TRUE(w.isVisible()) << "the menu's close command leaves the window open";
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.isHidden());

    // The same window opens again with what it held.
    w.ListBox2->addItem(QStringLiteral("1 x W1"));
    w.show();
    EXPECT_EQ(w.ListBox2->count(), 1);

    w.GroupBox3->show();
    w.Button1->click();
    EXPECT_TRUE(w.GroupBox3->isHidden()) << "OK hides the dew-point box";
    w.hide();
}

TEST_F(CalcWindowBehaviour, TypePanelReportsClicksOnItsOwnSurfaceOnly)
{
    TForm2& w = create();
    w.show();
    QSignalSpy clicks(w.Panel4, &ClickPanel::clicked);

    // Bottom right corner, inside the panel's margin beside the "weiter" button.
    const QPoint freeSpot(w.Panel4->width() - 3, w.Panel4->height() - 3);
    ASSERT_EQ(w.Panel4->childAt(freeSpot), nullptr);
    QTest::mouseClick(w.Panel4, Qt::LeftButton, {}, freeSpot);
    EXPECT_EQ(clicks.size(), 1);

    // A label takes no mouse input, yet a click on it is not a click on the panel.
    const QPoint onHeading = w.Label15->geometry().center();
    ASSERT_EQ(w.Panel4->childAt(onHeading), w.Label15);
    QTest::mouseClick(w.Panel4, Qt::LeftButton, {}, onHeading);
    QTest::mouseClick(w.Panel4, Qt::RightButton, {}, freeSpot);
    // Pressed on the surface and released over a child is no click either.
    QTest::mousePress(w.Panel4, Qt::LeftButton, {}, freeSpot);
    QTest::mouseRelease(w.Panel4, Qt::LeftButton, {}, onHeading);
    EXPECT_EQ(clicks.size(), 1);
    w.hide();
}

TEST_F(CalcWindowBehaviour, ArrowsStepFromTheTypedCountWithinTheirLimits)
{
    TForm2& w = create();
    struct Case
    {
        UpDown* upDown;
        QLineEdit* edit;
        const char* typed;
        Qt::Key key;
        const char* shown;
    };
    const Case cases[] = {
        {w.UpDown1, w.Edit5, "7", Qt::Key_Up, "8"},
        {w.UpDown1, w.Edit5, "7", Qt::Key_Down, "6"},
        {w.UpDown1, w.Edit5, "15", Qt::Key_Up, "15"},
        {w.UpDown1, w.Edit5, "1", Qt::Key_Down, "1"},
        // A count typed beyond the range is brought back to the nearest limit by a step.
        {w.UpDown1, w.Edit5, "40", Qt::Key_Up, "15"},
        {w.UpDown1, w.Edit5, "40", Qt::Key_Down, "14"},
        {w.UpDown3, w.Edit6, "10", Qt::Key_Down, "10"},
        {w.UpDown3, w.Edit6, "30", Qt::Key_Up, "30"},
        {w.UpDown3, w.Edit6, "12", Qt::Key_Up, "13"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upDown->objectName().toStdString() + " from " + c.typed);
        c.edit->clear();
        QTest::keyClicks(c.edit, QString::fromLatin1(c.typed));
        QTest::keyClick(c.upDown, c.key);
        EXPECT_EQ(c.edit->text().toStdString(), c.shown);
    }

    // Text that is no count leaves the step where it was; a position set by code is written too.
    w.UpDown1->setValue(2);
    w.Edit5->setText(QStringLiteral("x"));
    QTest::keyClick(w.UpDown1, Qt::Key_Up);
    EXPECT_EQ(w.Edit5->text().toStdString(), "3");
    w.UpDown3->setValue(22);
    EXPECT_EQ(w.Edit6->text().toStdString(), "22");
}

} // namespace
} // namespace tepa::test
