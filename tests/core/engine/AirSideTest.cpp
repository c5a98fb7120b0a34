#include "core/engine/AirSide.h"

#include <gtest/gtest.h>

#include <limits>

namespace tepa::engine {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(EngineLuftleistung, WarmsAirStream)
{
    // 100 m³/h from 20 to 30 °C: ma = (1.27 − 0.094) · 100 = 117.6 kg/h,
    // Q = 1007/3600 · 117.6 · 10 = 328.9533 W; the reverse stream gives the negative.
    EXPECT_NEAR(Luftleistung({20, 30, 100}).outputW, 328.9533, 1e-4);
    EXPECT_LT(Luftleistung({30, 20, 100}).outputW, 0);
}

TEST(EngineTaupunkt, RoomAirAtHalfAndFullSaturation)
{
    // ps(26 °C) = 288.68 · 1.358^8.02 = 3359.4 Pa; pd = 0.5 · ps = 1679.7 Pa;
    // Td = 100 · (1679.7 / 288.68)^(1/8.02) − 109.8 = 14.756 °C. Tolerance 0.005 K for the
    // rounding of the hand calculation; tables give 14.8 °C.
    const DewPointResult r = Taupunkt(26, 50);
    EXPECT_EQ(r.status, 0);
    EXPECT_NEAR(r.dewPointC, 14.756, 0.005);

    // At 100 % the vapour pressure is the saturation pressure, and the inverse law returns T.
    for (double T : {0.0, 12.0, 26.0, 40.0}) {
        SCOPED_TRACE(T);
        EXPECT_NEAR(Taupunkt(T, 100).dewPointC, T, 1e-9);
        EXPECT_LT(Taupunkt(T, 40).dewPointC, Taupunkt(T, 60).dewPointC);
    }
}

TEST(EngineAirSide, CasesWithoutResult)
{
    for (const AirStream& air :
         {AirStream{20, 20, 100}, AirStream{20, 20 + 1e-10, 100}, AirStream{nan, 20, 100},
          AirStream{20, 30, std::numeric_limits<double>::infinity()}}) {
        const AirOutputResult r = Luftleistung(air);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.outputW, 0);
    }
    struct Case
    {
        double T, phi;
    } cases[] = {{nan, 50}, {-120, 50}, {26, -10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.T << " °C " << c.phi << " %");
        const DewPointResult r = Taupunkt(c.T, c.phi);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.dewPointC, 0);
    }
}

} // namespace
} // namespace tepa::engine
