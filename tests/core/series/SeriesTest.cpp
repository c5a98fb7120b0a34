#include "core/series/Series.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa::series {
namespace {

// Every per-series answer for one type name.
struct SeriesRow
{
    const char* name;
    Series series;
    bool speedFan, cools;
    double minimum, full;    // rpm
    double coolMin, coolMax; // cooling bar, rpm
    double minPercent;       // smallest typed heating setting
    double air;              // primary air of the size, m³/h
    std::size_t heightLine;  // one line offered (allLines: the preselected item)
    bool allHeights;
    std::size_t factorColumn;
    double fixedHeightMm;
};

const std::vector<SeriesRow> rows = {
    {"W1-120", Series::None, false, false, 0, 0, 700, 1600, 0, 0, 1, true, 10, 0},
    {"W2", Series::None, false, false, 0, 0, 700, 1600, 0, 0, 1, true, 19, 0},
    {"W3", Series::None, false, false, 0, 0, 700, 1600, 0, 0, 1, true, 28, 0},
    {"W4", Series::None, false, false, 0, 0, 700, 1600, 0, 0, 1, true, 37, 0},
    {"WM12", Series::None, false, false, 0, 0, 700, 1600, 0, 0, 1, false, 0, 0},
    {"WF2", Series::Wf, true, false, 700, 1400, 700, 1600, 50, 0, 1, false, 0, 0},
    {"WFs1", Series::WfS, true, false, 700, 1600, 700, 1600, 44, 0, 1, false, 0, 0},
    {"WFW-4L", Series::Wfw, true, true, 700, 1600, 700, 1600, 44, 0, 8, false, 0, 0},
    {"WFWL-2L", Series::Wfwl, true, true, 345, 1150, 345, 1150, 30, 0, 15, false, 0, 0},
    {"DWF", Series::Dwf, true, true, 700, 1400, 700, 1600, 50, 0, 1, false, 0, 500},
    {"WNF1", Series::Wnf, false, true, 0, 0, 700, 1600, 0, 180, 8, false, 0, 0},
    {"WNF2", Series::Wnf, false, true, 0, 0, 700, 1600, 0, 240, 8, false, 0, 0},
    {"WNF3", Series::Wnf, false, true, 0, 0, 700, 1600, 0, 280, 8, false, 0, 0},
};

TEST(SeriesTable, AnswersEveryPerSeriesQuestion)
{
    for (const SeriesRow& r : rows) {
        SCOPED_TRACE(r.name);
        const Series s = seriesOf(r.name);
        EXPECT_EQ(s, r.series);
        EXPECT_EQ(hasSpeedFan(s), r.speedFan);
        EXPECT_EQ(canCool(s), r.cools);
        EXPECT_EQ(minimumSpeed(s), r.minimum);
        EXPECT_EQ(fullSpeed(s), r.full);
        EXPECT_EQ(coolingSpeedRange(s).minimum, r.coolMin);
        EXPECT_EQ(coolingSpeedRange(s).maximum, r.coolMax);
        EXPECT_EQ(heatingSpeedRange(s).maximum, r.full == 0 ? 1400 : r.full);
        EXPECT_EQ(minimumPercent(s), r.minPercent);
        EXPECT_EQ(primaryAirPerSize(r.name), r.air);
        const HeightChoice h = heightChoice(r.name);
        EXPECT_EQ(h.allLines, r.allHeights);
        EXPECT_EQ(r.allHeights ? h.preselected : h.line, r.heightLine);
        EXPECT_EQ(fixedHeight(s), r.fixedHeightMm);
        EXPECT_EQ(heightFactorColumn(r.name), r.factorColumn);
    }
    // The later height series code wins; "WM", "WX" and the fan codes win over them.
    EXPECT_EQ(heightFactorColumn("W2W3"), 28u);
    EXPECT_EQ(heightFactorColumn("WX3"), 0u);
    EXPECT_EQ(heightFactorColumn("WF1"), 0u);
}

TEST(SeriesTable, PercentAndSpeedAreOneLaw)
{
    struct Case
    {
        Series s;
        double speed, percent, coolingPercent;
    };
    const Case cases[] = {
        {Series::Wf, 700, 50, 43.75}, {Series::WfS, 1600, 100, 100},  {Series::Wfw, 800, 50, 50},
        {Series::Wfwl, 345, 30, 30},  {Series::Dwf, 1400, 100, 87.5}, {Series::None, 500, 0, 31.25},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(percentFromSpeed(c.s, c.speed), c.percent) << c.speed;
        EXPECT_DOUBLE_EQ(coolingPercentFromSpeed(c.s, c.speed), c.coolingPercent) << c.speed;
        if (c.percent > 0) {
            EXPECT_DOUBLE_EQ(speedFromPercent(c.s, c.percent), c.speed);
        }
    }
}

TEST(SeriesTable, CoolingAirFlowLimitCountsTheLengthPastTheEnds)
{
    EXPECT_DOUBLE_EQ(coolingAirFlowLimit("WNF2", 1350), 240);
    EXPECT_DOUBLE_EQ(coolingAirFlowLimit("WNF3", 2350), 560);
    EXPECT_DOUBLE_EQ(coolingAirFlowLimit("WFW", 2350), 0);
}

TEST(SeriesTable, LaddersStepOnceTowardsTheWantedValue)
{
    struct Case
    {
        std::span<const double> ladder;
        double previous, wanted;
        bool downOnEqual;
        double expected;
    };
    const auto slow = wfwlSpeedLadder(), air = wnfAirLadder();
    const Case cases[] = {
        {slow, 345, 1000, false, 517.5},
        {slow, 575, 400, false, 517.5},
        {slow, 575, 575, false, 575},
        {slow, 1150, 1150.5, false, 1150},
        {slow, 345, 0, false, 345},
        {slow, 600, 700, false, 632.5},
        {air, 0, 1, true, 30},
        {air, 120, 120, true, 90},
        {air, 120, 121, true, 150},
        {air, 280, 279, true, 240},
        {air, 0, 0, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            stepAlongLadder(c.ladder, c.previous, c.wanted, c.downOnEqual, c.ladder.size() == 7 ? 0.0001 : 0),
            c.expected)
            << c.previous << " -> " << c.wanted;
}

TEST(SeriesTable, DwfStagesAndTheirCoolingTexts)
{
    EXPECT_EQ(std::vector<double>(dwfStages().begin(), dwfStages().end()),
              (std::vector<double>{0, 700, 1000, 1400}));
    EXPECT_EQ(dwfCoolingStageText(1000.2), " 72");
    EXPECT_EQ(dwfCoolingStageText(700), " 50");
    EXPECT_EQ(dwfCoolingStageText(1400), "100");
    EXPECT_EQ(dwfCoolingStageText(800), "");
}

} // namespace
} // namespace tepa::series
