#include "CalcWindowFixture.h"

#include <QLabel>
#include <QPalette>

namespace tepa::test {
namespace {

class RoomListTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        create();
    }

    template <class Entry>
    static void fill(Entry& e,
                     const char* name,
                     double height,
                     double length,
                     int count,
                     double tr,
                     double m,
                     double speed,
                     double dp,
                     double lpa,
                     double q)
    {
        e.TypeName.setText(name);
        e.Height = height;
        e.Length = length;
        e.Count = count;
        e.ReturnTemp = tr;
        e.MassFlow = m;
        e.FanSpeed = speed;
        e.PressureDrop = dp;
        e.SoundLevel = lpa;
        e.Output = q;
    }
    template <class... Values> void setHeating(int number, Values... values)
    {
        fill(heating(number), values...);
    }
    template <class... Values> void setCooling(int number, Values... values)
    {
        fill(cooling(number), values...);
    }

    QStringList listLines()
    {
        QStringList lines;
        auto* list = control<QListWidget>("ListBox2");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    // Three heating entries: a free convector, a fan convector and one with a wide mass flow
    // and pressure drop that take more than their minimum width.
    void threeHeatingEntries()
    {
        session.HeatingMode = true;
        session.Project.HeatingEntryCount = 3;
        setHeating(1, "W1", 200, 1000, 2, 60, 27.29, 0, 12.4, 0, 476.44);
        setHeating(2, "WF2", 140, 1250, 1, 55, 120.6, 1120, 1534.6, 35.4, 812.5);
        setHeating(3, "WFWL-2L", 90, 2000, 3, 50, 1234.5, 805, 123456, 40, 1000);
    }
};

TEST_F(RoomListTest, HeatingLinesHaveFixedColumnsARunningTotalAndInDualUseTheCoolingRating)
{
    threeHeatingEntries();
    form->Listenaufbau();
    const QStringList lines = listLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
              QStringLiteral(" 1 W1      200 1000  2 60    27  --- ---     12   0   476    953    953"));
    EXPECT_EQ(lines[1],
              QStringLiteral(" 2 WF2     140 1250  1 55   121  ---  80   1535  35   813    813   1765"));
    EXPECT_EQ(lines[2],
              QStringLiteral(" 3 WFWL-2L  90 2000  3 50  1235  ---  70 123456  40  1000   3000   4765"));

    session.HeatingDualUseOn = true;
    heating(1).CoolingNominalOutput = 100;
    heating(2).CoolingNominalOutput = 0;
    heating(3).CoolingNominalOutput = 250;
    form->Listenaufbau();
    const QStringList dual = listLines();
    ASSERT_EQ(dual.size(), 3) << "a rebuild replaces the lines";
    EXPECT_EQ(dual[0], lines[0] + QStringLiteral("       200"));
    EXPECT_EQ(dual[1], lines[1] + QStringLiteral("       200"));
    EXPECT_EQ(dual[2], lines[2] + QStringLiteral("       950"));
}

TEST_F(RoomListTest, HeatingLineShowsAirFlowOfPrimaryAirUnitsAndSpeedOfTwoStageFans)
{
    session.HeatingMode = true;
    session.Project.HeatingEntryCount = 2;
    setHeating(1, "WNF2", 140, 1350, 1, 60, 10, 700, 100, 30, 500);
    heating(1).FanSetting = 62;
    setHeating(2, "DWF", 250, 1100, 1, 60, 10, 1400, 100, 30, 500);
    EXPECT_EQ(form->Listenzeile(1),
              QStringLiteral(" 1 WNF2    140 1350  1 60    10   62 ---    100  30   500    500"));
    // 1400/14 + 0.2 = 100.2
    EXPECT_EQ(form->Listenzeile(2),
              QStringLiteral(" 2 DWF     250 1100  1 60    10  --- 100    100  30   500    500"));
}

TEST_F(RoomListTest, CoolingLinesOfFanAndPrimaryAirUnits)
{
    session.HeatingMode = false;
    session.Project.CoolingEntryCount = 3;
    session.Project.CoolingDemand = 2000;
    setCooling(1, "WFW-2L", 140, 1250, 2, 18, -85.4, 1600, 2345, -38.2, 650);
    setCooling(2, "WNF2", 140, 1350, 1, 18, 0, 0, 0, 0, 300);
    cooling(2).FanSetting = 120;
    setCooling(3, "DWF", 250, 1100, 1, 18, 40, 1000, 900, 33, 400);
    form->Listenaufbau();
    const QStringList lines = listLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
              QStringLiteral(" 1 WFW-2L  140 1250  2 18    85  --- 100   2345  38    650  1300   1300"));
    EXPECT_EQ(lines[1],
              QStringLiteral(" 2 WNF2    140 1350  1 18   ---  120 ----  ---  ---    300   300   1600"));
    EXPECT_EQ(lines[2],
              QStringLiteral(" 3 DWF     250 1100  1 18    40  ---  72    900  33    400   400   2000"));
}

TEST_F(RoomListTest, CoolingTotalIsGreenFromTheDemandOnAndRedBelow)
{
    session.HeatingMode = false;
    session.Project.CoolingEntryCount = 1;
    setCooling(1, "WFW-2L", 140, 1250, 2, 18, 85, 1600, 2345, 38, 650);
    auto* total = control<QLabel>("Label67");

    session.Project.CoolingDemand = 1300;
    form->Listenaufbau();
    EXPECT_EQ(total->text(), QStringLiteral(" 1300"));
    EXPECT_EQ(total->palette().color(QPalette::WindowText), QColor(Qt::green));

    session.Project.CoolingDemand = 1301;
    form->Listenaufbau();
    EXPECT_EQ(total->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(RoomListTest, SeriesNotesFollowTheCoolingList)
{
    session.HeatingMode = false;
    session.Project.CoolingEntryCount = 1;
    setCooling(1, "WFW-2L", 140, 1250, 1, 18, 85, 1600, 2345, 38, 650);
    form->Listenaufbau();
    EXPECT_FALSE(control<QLabel>("Label33")->isHidden());
    EXPECT_FALSE(control<QLabel>("Label38")->isHidden());
    EXPECT_TRUE(control<QLabel>("Label95")->isHidden());
    EXPECT_TRUE(control<QLabel>("Label96")->isHidden());

    setCooling(1, "WNF1", 140, 1350, 1, 18, 0, 0, 0, 0, 300);
    form->Listenaufbau();
    EXPECT_TRUE(control<QLabel>("Label33")->isHidden());
    EXPECT_FALSE(control<QLabel>("Label95")->isHidden());
    EXPECT_FALSE(control<QLabel>("Label96")->isHidden());
}

TEST_F(RoomListTest, CoolingDualUseAddsTheRunningHeatingRating)
{
    session.HeatingMode = false;
    session.CoolingDualUseOn = true;
    session.Project.CoolingEntryCount = 2;
    setCooling(1, "WFW-2L", 140, 1250, 2, 18, 85, 1600, 2345, 38, 650);
    cooling(1).HeatingNominalOutput = 900;
    setCooling(2, "WFW-2L", 140, 1250, 1, 18, 85, 1600, 2345, 38, 650);
    cooling(2).HeatingNominalOutput = 1000;
    form->Listenaufbau();
    const QStringList lines = listLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("   1300     1800"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("   1950     2800"))) << lines[1].toStdString();
}

} // namespace
} // namespace tepa::test
