#include "core/engine/AirSide.h"
#include "core/engine/FanSetting.h"

#include <gtest/gtest.h>

namespace tepa::engine {
namespace {

TEST(EngineFanSetting, PercentOfTheSeriesFullSpeed)
{
    struct Case
    {
        const char* name;
        double percent, rpm;
    };
    const Case cases[] = {
        {"WFW-2L", 100, 1600},  // 70 % of 1600 is the rating speed 1120
        {"WFWL-2L", 70, 805},   // contains "WFW", but its range ends at 1150
        {"WFWL-4L", 30, 345},   // its minimum speed
        {"WF1", 50, 700},       // other fan series: 1400 rpm
        {"DWF", 100, 1400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(speedFromPercent(c.name, c.percent), c.rpm);
    }
}

TEST(EngineFanSetting, PrimaryAirFlowSetsTheHeatingSpeed)
{
    EXPECT_NEAR(speedFromPrimaryAir(62), 700.0 / 3, 1e-12);   // 62 m³/h: 700 rpm over three fans
    EXPECT_NEAR(speedFromPrimaryAir(74.9), 74.9 * 700 / 186, 1e-12);
    EXPECT_NEAR(speedFromPrimaryAir(75), 75000.0 / 264, 1e-12); // from 75 m³/h the upper stage
}

TEST(EngineFanSetting, DewPointLimitLiesFifteenPercentTowardsTheRoom)
{
    EXPECT_DOUBLE_EQ(dewPointFlowLimit(26, 16), 17.5); // 16 + 0.15 * 10
    EXPECT_DOUBLE_EQ(dewPointFlowLimit(20, 20), 20);
}

} // namespace
} // namespace tepa::engine
