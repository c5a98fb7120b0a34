#include "core/engine/PressureDrop.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tepa::engine {
namespace {

using test::typicalDataLine;

PressureDropInput input(double m, double L, std::string_view name, std::string_view line, Mode mode)
{
    return {.massFlowKgPerH = m,
            .lengthMm = L,
            .Tv = 75,
            .Tr = 65,
            .typeName = name,
            .dataLine = line,
            .mode = mode};
}

TEST(EngineDruckverlust, TubeFrictionAndBendsAtColumnsOfMode)
{
    // Water at 70 °C: ρ = 1000 − 6.6^1.65 = 977.4966 kg/m³, ν = (1.71748^−2 + 0.073)e-6
    // = 4.12013e-7 m²/s.
    // Heating, d 12 mm, X 10, N 1, L 1000 mm, 100 kg/h: A = 397.98 kg/h per m/s, v = 0.25127 m/s,
    // Re = 7318.1, λ = 0.03417, friction 878.5 + bends 277.7 = 1156.226 Pa.
    // Cooling, d 15 mm, X 8, N 2: v = 0.08041 m/s per circuit, Re = 2927.3, 47.573 Pa.
    // Every column outside the fields holds a '9', so a field read one column off is wrong.
    const std::string line = typicalDataLine('9');
    struct Case
    {
        Mode mode;
        double dp, Re;
    } cases[] = {{Mode::Heating, 1156.2263, 7318.126}, {Mode::Cooling, 47.57302, 2927.250}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode == Mode::Heating ? "heating" : "cooling");
        const PressureDropResult r = Druckverlust(input(100, 1000, "W2 18", line, c.mode));
        EXPECT_EQ(r.status, 0);
        EXPECT_NEAR(r.pressureDropPa, c.dp, 1e-3);
        EXPECT_NEAR(r.reynoldsNumber, c.Re, 1e-2);
        EXPECT_FALSE(r.laminarFlow);
        EXPECT_FALSE(r.highPressureDrop);
    }
}

TEST(EngineDruckverlust, CoilShorterThanCasingUsesTubeLength)
{
    struct Case
    {
        const char* name;
        Mode mode;
        double L, tube;
    } cases[] = {
        {"WFW-4L", Mode::Heating, 2000, 1570}, {"WFW-4L", Mode::Cooling, 2000, 1600},
        {"WFW-4L", Mode::Heating, 1500, 1500}, {"WFWL-4L", Mode::Heating, 1249.95, 840},
        {"WFW", Mode::Heating, 2000, 2000},
    };
    const std::string line = typicalDataLine();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.L);
        const PressureDropResult r = Druckverlust(input(100, c.L, c.name, line, c.mode));
        EXPECT_EQ(r.tubeLengthMm, c.tube);
        // The replacement length is the one the friction is computed over.
        EXPECT_NEAR(r.pressureDropPa, Druckverlust(input(100, c.tube, "WFW", line, c.mode)).pressureDropPa,
                    1e-9);
    }
}

TEST(EngineDruckverlust, DwfUnitsUseMeasuredQuadraticLaw)
{
    // dp = c · m² · 1000; at 100 kg/h: c · 1e7. Lengths between the units take the nearer
    // one's coefficient (below 1450 mm the 1100 mm unit). No warning even far above 100 kPa.
    struct Case
    {
        Mode mode;
        double L, m, dp;
    } cases[] = {
        {Mode::Cooling, 1100, 100, 721.53},  {Mode::Heating, 1449, 100, 547.44},
        {Mode::Heating, 1450, 100, 754.84},  {Mode::Cooling, 2400, 100, 990.02},
        {Mode::Heating, 1800, 2000, 301936}, // 7.5484e-5 · 4e6 · 1000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.L << " mm, " << c.m << " kg/h");
        const PressureDropResult r = Druckverlust(input(c.m, c.L, "DWF 18", "", c.mode));
        EXPECT_EQ(r.status, 0);
        EXPECT_NEAR(r.pressureDropPa, c.dp, 1e-6 * c.dp);
        EXPECT_FALSE(r.highPressureDrop);
        EXPECT_FALSE(r.laminarFlow);
    }
}

TEST(EngineDruckverlust, WarningsFollowReynoldsNumberAndPressureDrop)
{
    EXPECT_FALSE(isLaminar(2320));
    EXPECT_TRUE(isHighPressureDrop(std::nextafter(100000.0, 1e6)));
    // This coil reaches Re = 2320 near 31.7 kg/h and 100000 Pa near 1000 kg/h.
    const std::string line = typicalDataLine();
    for (double m : {20.0, 100.0, 3000.0}) {
        SCOPED_TRACE(m);
        const PressureDropResult r = Druckverlust(input(m, 1000, "W2", line, Mode::Heating));
        EXPECT_EQ(r.laminarFlow, isLaminar(r.reynoldsNumber));
        EXPECT_EQ(r.highPressureDrop, isHighPressureDrop(r.pressureDropPa));
        EXPECT_EQ(r.laminarFlow, m == 20.0);
        EXPECT_EQ(r.highPressureDrop, m == 3000.0);
    }
}

TEST(EngineDruckverlust, ColdWaterAndMissingDataStayFinite)
{
    // Below 4 °C the density is that at 4 °C; the pressure drop passes 4 °C without a step.
    const std::string line = typicalDataLine();
    PressureDropInput cold = input(100, 1000, "W2", line, Mode::Heating);
    cold.Tv = 4 - 1e-7, cold.Tr = 4 - 1e-7;
    const double below = Druckverlust(cold).pressureDropPa;
    EXPECT_GT(below, 0);
    cold.Tv = 4 + 1e-7, cold.Tr = 4 + 1e-7;
    EXPECT_NEAR(Druckverlust(cold).pressureDropPa, below, below * 1e-6);

    struct Case
    {
        const char* what;
        PressureDropInput in;
        int status;
    } cases[] = {
        {"no tube diameter", input(100, 1000, "W2", "", Mode::Heating), 0},
        {"NaN mass flow", input(std::nan(""), 1000, "W2", line, Mode::Heating), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PressureDropResult z = Druckverlust(c.in);
        EXPECT_EQ(z.status, c.status);
        EXPECT_EQ(z.pressureDropPa, 0);
        EXPECT_FALSE(z.laminarFlow || z.highPressureDrop);
    }
}

} // namespace
} // namespace tepa::engine
