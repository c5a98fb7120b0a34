// What the calculation window does on its own already: closing, the dew-point box's button,
// the click on the type panel and the arrows of the count fields.
#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace tepa::test {
namespace {

using CalcWindowBehaviour = CalcWindowFixture;

TEST_F(CalcWindowBehaviour, ClosingByTheFrameHidesAndKeepsTheWindow)
{
    TForm2& w = create();
    w.show();
    ASSERT_TRUE(w.isVisible());
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.isHidden());

    // The same window opens again with what it held.
    w.ListBox2->addItem(QStringLiteral("1 x W1"));
    w.show();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.ListBox2->count(), 1);
    w.hide();
}

TEST_F(CalcWindowBehaviour, CloseCommandOfTheMenuLeavesTheWindowOpen)
{
    TForm2& w = create();
    w.show();
    w.Schliessen1->trigger();
    EXPECT_TRUE(w.isVisible());
    w.hide();
}

TEST_F(CalcWindowBehaviour, OkButtonHidesTheDewPointBox)
{
    TForm2& w = create();
    w.show();
    w.GroupBox3->show();
    ASSERT_TRUE(w.GroupBox3->isVisible());
    w.Button1->click();
    EXPECT_TRUE(w.GroupBox3->isHidden());
    EXPECT_TRUE(w.Panel1->isVisible());
    w.hide();
}

TEST_F(CalcWindowBehaviour, TypePanelReportsClicksOnItsOwnSurfaceOnly)
{
    TForm2& w = create();
    w.show();
    QSignalSpy clicks(w.Panel4, &ClickPanel::clicked);

    const QPoint freeSpot(300, 213); // bottom right corner, beside the "weiter" button
    ASSERT_EQ(w.Panel4->childAt(freeSpot), nullptr);
    QTest::mouseClick(w.Panel4, Qt::LeftButton, {}, freeSpot);
    EXPECT_EQ(clicks.size(), 1);

    // A label takes no mouse input, yet a click on it is not a click on the panel.
    const QPoint onHeading = w.Label15->geometry().center();
    ASSERT_EQ(w.Panel4->childAt(onHeading), w.Label15);
    QTest::mouseClick(w.Panel4, Qt::LeftButton, {}, onHeading);
    QTest::mouseClick(w.ListBox1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(w.Panel4, Qt::RightButton, {}, freeSpot);
    EXPECT_EQ(clicks.size(), 1);

    // Pressed on the surface and released over a child is no click either.
    QTest::mousePress(w.Panel4, Qt::LeftButton, {}, freeSpot);
    QTest::mouseRelease(w.Panel4, Qt::LeftButton, {}, onHeading);
    EXPECT_EQ(clicks.size(), 1);
    w.hide();
}

TEST_F(CalcWindowBehaviour, ArrowsStepTheCountAndWriteItIntoTheField)
{
    TForm2& w = create();
    QTest::keyClick(w.UpDown1, Qt::Key_Up);
    EXPECT_EQ(w.Edit5->text().toStdString(), "2");
    EXPECT_EQ(w.UpDown1->value(), 2);

    // A typed count is where the next step starts.
    w.Edit5->clear();
    QTest::keyClicks(w.Edit5, QStringLiteral("7"));
    QTest::keyClick(w.UpDown1, Qt::Key_Up);
    EXPECT_EQ(w.Edit5->text().toStdString(), "8");
    QTest::keyClick(w.UpDown1, Qt::Key_Down);
    QTest::keyClick(w.UpDown1, Qt::Key_Down);
    EXPECT_EQ(w.Edit5->text().toStdString(), "6");
}

TEST_F(CalcWindowBehaviour, ArrowsStopAtTheirLimits)
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
        SCOPED_TRACE(std::string(c.upDown->objectName().toStdString()) + " from " + c.typed);
        c.edit->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(c.upDown, c.key);
        EXPECT_EQ(c.edit->text().toStdString(), c.shown);
    }
}

TEST_F(CalcWindowBehaviour, TextThatIsNoCountLeavesTheStepWhereItWas)
{
    TForm2& w = create();
    QTest::keyClick(w.UpDown1, Qt::Key_Up); // 2
    w.Edit5->setText(QStringLiteral("x"));
    QTest::keyClick(w.UpDown1, Qt::Key_Up);
    EXPECT_EQ(w.Edit5->text().toStdString(), "3");
}

TEST_F(CalcWindowBehaviour, SettingThePositionFromCodeWritesTheField)
{
    TForm2& w = create();
    w.UpDown3->setValue(22);
    EXPECT_EQ(w.Edit6->text().toStdString(), "22");
    w.Edit5->setText(QStringLiteral("9"));
    w.UpDown1->setValue(4);
    EXPECT_EQ(w.Edit5->text().toStdString(), "4");
}

} // namespace
} // namespace tepa::test
