#include "core/engine/Rating.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tepa::engine {
namespace {

const std::string data = test::typicalDataLine();
const std::string fan = test::fanLine("0.0200000", "0.6000000", "1.2000000");

OperatingPointInput wfw(Mode mode, Given given, double value)
{
    return {.type = {"WFW", data, fan},
            .mode = mode,
            .lengthMm = 1250,
            .speedRpm = 1120,
            .Tv = mode == Mode::Heating ? 75.0 : 16.0,
            .Ti = mode == Mode::Heating ? 20.0 : 26.0,
            .given = given,
            .givenValue = value};
}

TEST(EngineRateConvector, SolvesHeatingPointFromAnyGivenQuantity)
{
    // "WFW" 1250 mm at 1120 rpm: K = 34.64253, n = 1. At 75/65/20: Q = 1732.1265 W,
    // m = 148.8223 kg/h; heating tubes 12 mm, 10 runs over 1250 mm: Re = 10891, dp = 2817.134 Pa.
    // From the mass flow the iteration x ← 0.2 · (55 − x/2) contracts by 0.1 per step, so Tr
    // comes within 0.01 K of 65.
    struct Case
    {
        Given given;
        double value, TrTolerance, dpTolerance;
    } cases[] = {{Given::ReturnTemp, 65, 0, 1e-3},
                 {Given::MassFlow, 148.82232, 0.01, 0.3}, // water properties at a Tm off by < 0.005 K
                 {Given::Output, 1732.1265, 1e-6, 1e-3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.given));
        const OperatingPoint p = rateConvector(wfw(Mode::Heating, c.given, c.value));
        EXPECT_EQ(p.status, 0);
        EXPECT_NEAR(p.coefficients.characteristic.K, 34.64253, 1e-5);
        EXPECT_NEAR(p.returnTempC, 65, c.TrTolerance);
        EXPECT_NEAR(p.outputW, 1732.1265, 1732.1265 * (c.TrTolerance + 1e-7));
        EXPECT_NEAR(p.massFlowKgPerH, 148.82232, 1e-3);
        EXPECT_NEAR(p.pressureDropPa, 2817.1343, c.dpTolerance);
        EXPECT_FALSE(p.laminarFlow);
        // Limits at 75/20: from 35 °C (m = 26.04 kg/h); 74 and 73 °C exceed 750 kg/h (1622, 804),
        // 72 °C gives 530.8 kg/h.
        EXPECT_EQ(p.limits.status, 0);
        EXPECT_EQ(p.limits.returnTempStart, 35);
        EXPECT_EQ(p.limits.returnTempEnd, 72);
    }
}

TEST(EngineRateConvector, CoolingPointFromReturnTemperatureOnly)
{
    // Cooling K = 36.40953 at 16/18/26: Q = 327.6858 W, m = 140.7719 kg/h.
    const OperatingPoint p = rateConvector(wfw(Mode::Cooling, Given::ReturnTemp, 18));
    EXPECT_EQ(p.status, 0);
    EXPECT_NEAR(p.outputW, 327.68576, 1e-4);
    EXPECT_NEAR(p.massFlowKgPerH, 140.77193, 1e-4);
    EXPECT_GT(p.pressureDropPa, 0);
    EXPECT_EQ(p.limits.returnTempEnd, 0);

    OperatingPointInput wnf = wfw(Mode::Cooling, Given::ReturnTemp, 18);
    wnf.type.name = "WNF2";
    for (const OperatingPointInput& in :
         {wfw(Mode::Cooling, Given::MassFlow, 100), wfw(Mode::Cooling, Given::Output, 100), wnf}) {
        const OperatingPoint none = rateConvector(in);
        EXPECT_EQ(none.status, 1);
        EXPECT_EQ(none.outputW, 0);
    }
}

} // namespace
} // namespace tepa::engine
