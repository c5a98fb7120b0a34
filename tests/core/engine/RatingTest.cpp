#include "core/engine/Rating.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <string>

// The rating only strings the engine's routines together (their values are their own tests'):
// these check which routine answers for each given quantity and which points have no result.

namespace tepa::engine {
namespace {

const std::string data = test::typicalDataLine();
const std::string fan = test::fanLine("0.0200000", "0.6000000", "1.2000000");

OperatingPointInput wfw(Mode mode, Given given, double value, const char* name = "WFW")
{
    return {.type = {name, data, fan},
            .mode = mode,
            .lengthMm = 1250,
            .speedRpm = 1120,
            .Tv = mode == Mode::Heating ? 75.0 : 16.0,
            .Ti = mode == Mode::Heating ? 20.0 : 26.0,
            .given = given,
            .givenValue = value};
}

TEST(EngineRateConvector, EachGivenQuantityReachesTheSamePoint)
{
    // "WFW" 1250 mm at 1120 rpm, heating 75/65/20: K 34.64253, n 1, Q 1732.1265 W, m 148.8223.
    const OperatingPoint fromReturn = rateConvector(wfw(Mode::Heating, Given::ReturnTemp, 65));
    EXPECT_EQ(fromReturn.status, 0);
    EXPECT_NEAR(fromReturn.outputW, 1732.1265, 1e-3);
    EXPECT_NEAR(fromReturn.massFlowKgPerH, 148.82232, 1e-4);
    EXPECT_NEAR(fromReturn.pressureDropPa, 2817.1343, 1e-3);
    EXPECT_EQ(fromReturn.limits.returnTempStart, 35);
    EXPECT_EQ(fromReturn.limits.returnTempEnd, 72);
    for (const auto& [given, value] : {std::pair{Given::MassFlow, fromReturn.massFlowKgPerH},
                                       std::pair{Given::Output, fromReturn.outputW}}) {
        const OperatingPoint p = rateConvector(wfw(Mode::Heating, given, value));
        EXPECT_EQ(p.status, 0);
        EXPECT_NEAR(p.returnTempC, 65, 0.01); // the mass-flow iteration stops within 0.01 K
        EXPECT_NEAR(p.massFlowKgPerH, fromReturn.massFlowKgPerH, 1e-3);
    }
    // Cooling 16/18/26: K 36.40953, Q 327.6858 W, m 140.7719 kg/h.
    const OperatingPoint cooling = rateConvector(wfw(Mode::Cooling, Given::ReturnTemp, 18));
    EXPECT_EQ(cooling.status, 0);
    EXPECT_NEAR(cooling.outputW, 327.68576, 1e-4);
    EXPECT_NEAR(cooling.massFlowKgPerH, 140.77193, 1e-4);
    EXPECT_GT(cooling.pressureDropPa, 0);
    EXPECT_EQ(cooling.limits.returnTempEnd, 0);
}

TEST(EngineRateConvector, PointsWithoutResult)
{
    const OperatingPointInput cases[] = {
        // More than the 2078.6 W the unit gives with the mean water at the flow temperature: the
        // return would lie above the flow and the mass flow be negative.
        wfw(Mode::Heating, Given::Output, 2500),
        // Cooling is solved from the return temperature only, and not for primary-air units.
        wfw(Mode::Cooling, Given::MassFlow, 100),
        wfw(Mode::Cooling, Given::Output, 100),
        wfw(Mode::Cooling, Given::ReturnTemp, 18, "WNF2"),
    };
    for (const OperatingPointInput& in : cases) {
        SCOPED_TRACE(testing::Message() << in.type.name << " given " << static_cast<int>(in.given));
        EXPECT_EQ(rateConvector(in).status, 1);
    }
}

} // namespace
} // namespace tepa::engine
