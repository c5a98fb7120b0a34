#include "core/engine/WaterSide.h"

#include <gtest/gtest.h>

#include <limits>

namespace tepa::engine {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(EngineWaterSide, WorkedExamples)
{
    // 70/55/20 °C: ΔT = 62.5 − 20 = 42.5 K; Q = 10 · 42.5^1.3 = 1308.897 W,
    // m = Q / (15 K · 4190/3600) = 74.9726 kg/h.
    const OutputResult h = Heizleistung({10, 1.3}, {70, 55, 20});
    EXPECT_EQ(h.status, 0);
    EXPECT_NEAR(h.outputW, 1308.8974, 1e-3);
    EXPECT_NEAR(h.massFlowKgPerH, 74.97264, 1e-4);
    // Cooling uses room minus mean water: 16/18/26 °C, ΔT = 26 − 17 = 9 K; with n = 1: Q = 90 W,
    // m = 90 / (2 · 4190/3600) = 38.6635.
    const OutputResult c = Kuehlleistung({10, 1}, {16, 18, 26}, 0);
    EXPECT_EQ(c.status, 0);
    EXPECT_NEAR(c.outputW, 90, 1e-9);
    EXPECT_NEAR(c.massFlowKgPerH, 38.66348, 1e-4);
    // Tr = Tv + 0.05: ΔT = 26 − 16.025 = 9.975 K, Q = 99.75 W; the caller's mass flow stays.
    const OutputResult tiny = Kuehlleistung({10, 1}, {16, 16.05, 26}, 123.4);
    EXPECT_EQ(tiny.status, 1);
    EXPECT_NEAR(tiny.outputW, 99.75, 1e-9);
    EXPECT_EQ(tiny.massFlowKgPerH, 123.4);
}

TEST(EngineWaterSide, CasesWithoutResultGiveZeros)
{
    // A mean water temperature on the wrong side of the room would be a power of a negative base.
    struct Case
    {
        const char* what;
        bool cooling;
        WaterPoint p;
        Characteristic c{10, 1.3};
        double previous = 50;
    } cases[] = {
        {"return equal to flow", false, {70, 70, 20}},
        {"mean water below room", false, {20, 10, 20}},
        {"NaN temperature", false, {nan, 55, 20}},
        {"NaN exponent", false, {70, 55, 20}, {10, nan}},
        {"mean water at room temperature", true, {25, 27, 26}},
        {"NaN previous mass flow", true, {16, 18, 26}, {10, 1.3}, nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const OutputResult r = c.cooling ? Kuehlleistung(c.c, c.p, c.previous) : Heizleistung(c.c, c.p);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.outputW, 0);
        EXPECT_EQ(r.massFlowKgPerH, 0);
    }
}

TEST(EngineWaterSide, ResultsBeyondTheLargestNumberAreNoResult)
{
    // Finite inputs whose result overflows. Mass flow given: with n = 1 each step is
    // x ← K/(cw · m) · (Tv − Ti − x/2); at m = 1e20 kg/h that factor is 8.6e-11, so the drop
    // settles within a few dozen steps at x ≈ 8.6e289 K, and Q = cw · m · x ≈ K · Tv = 1e310 W.
    const ReturnFromFlowResult fromFlow = Ruecklauf_aus_Massenstrom({1e10, 1}, {1e300, 20, 1e20});
    EXPECT_EQ(fromFlow.status, 1);
    EXPECT_EQ(fromFlow.outputW, 0);
    EXPECT_EQ(fromFlow.returnTempC, 1e300);
    // Output given: ΔT = 1 K, Tr = 2 · 21 − Tv, so Tv − Tr = 2e-6 K and m = 1e305 / (2e-6 · cw).
    const ReturnFromOutputResult fromOutput = Ruecklauf_aus_Leistung({1e305, 1}, {21.000001, 20, 1e305});
    EXPECT_EQ(fromOutput.status, 1);
    EXPECT_EQ(fromOutput.massFlowKgPerH, 0);
    // Cooling 16/16.2/26 °C: Q = 1e307 · 9.9 W is finite, m = Q / (0.2 K · cw) ≈ 4.3e308 is not.
    const OutputResult cooling = Kuehlleistung({1e307, 1}, {16, 16.2, 26}, 50);
    EXPECT_EQ(cooling.status, 1);
    EXPECT_EQ(cooling.outputW, 0);
    EXPECT_EQ(cooling.massFlowKgPerH, 0);
}

TEST(EngineRuecklaufAusMassenstrom, StopsAtFirstStepBelowTolerance)
{
    // With n = 1 and K = cw · m each step is x ← 50 − x/2: 50, 25, 37.5, ... The change halves
    // from 50 K and first falls below 0.01 K at step 14 (50/2^13 = 0.0061), where
    // x = 33.3313 K (exact fixed point 33.333). Q = cw · m · x = 3879.39 W.
    const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom({cw * 100, 1}, {70, 20, 100});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.iterations, 14);
    EXPECT_NEAR(r.returnTempC, 36.66870, 1e-4);
    EXPECT_NEAR(r.outputW, 3879.393, 1e-3);
}

TEST(EngineRuecklaufAusMassenstrom, CasesWithoutResult)
{
    // m = 5 kg/h: the first step asks for a 315 K drop, the next finds the mean water below the
    // room and gives 0; the iteration swings between the two until the cap.
    const ReturnFromFlowResult swinging = Ruecklauf_aus_Massenstrom({10, 1.3}, {75, 20, 5});
    EXPECT_EQ(swinging.status, 1);
    EXPECT_EQ(swinging.iterations, 1000);
    EXPECT_EQ(swinging.returnTempC, 75);
    EXPECT_EQ(swinging.outputW, 0);
    // A flow not above the room gives no heat: the water passes unchanged.
    const ReturnFromFlowResult cold = Ruecklauf_aus_Massenstrom({10, 1.3}, {18, 20, 100});
    EXPECT_EQ(cold.status, 0);
    EXPECT_EQ(cold.returnTempC, 18);
    EXPECT_EQ(cold.outputW, 0);
}

TEST(EngineRuecklaufAusLeistung, CasesWithoutResult)
{
    struct Case
    {
        const char* what;
        Characteristic c;
        double Q;
        double Tr;
    } cases[] = {
        // n = 1: ΔT = 500/10 = 50 K, Tr = 2 · 70 − 70 = 70 = Tv: no temperature drop.
        {"return equal to flow", {10, 1}, 500, 70},
        {"negative output", {10, 1.3}, -500, 70},
        {"NaN output", {10, 1.3}, nan, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReturnFromOutputResult r = Ruecklauf_aus_Leistung(c.c, {70, 20, c.Q});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.massFlowKgPerH, 0);
        EXPECT_EQ(r.returnTempC, c.Tr);
    }
}

TEST(EngineRuecklaufgrenzen, WindowEndsAtWholeKelvinSteps)
{
    struct Case
    {
        const char* what;
        Characteristic c;
        double TrMin, mMin, TrMax, mMax;
    } cases[] = {
        // K 10, n 1.3, 75/20 °C. At Ti + 15 = 35: m = 21.84 ≥ 5, taken at once. At Tv − 1 = 74:
        // m = 1553.8; 73: 767.7; 72: 505.6 ≤ 750.
        {"both ends searched downward", {10, 1.3}, 35, 21.8432, 72, 505.6234},
        // K 0.5: m stays below 5 up to 61 °C; at 62: m = 5.1355. At 74: m = 0.5 · 54.5^1.3 / cw
        // = 77.6916 ≤ 750.
        {"lower end searched upward", {0.5, 1.3}, 62, 5.13546, 74, 77.69158},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReturnLimits r = Ruecklaufgrenzen(c.c, {75, 20});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.returnTempStart, c.TrMin);
        EXPECT_NEAR(r.massFlowStart, c.mMin, 1e-4);
        EXPECT_EQ(r.returnTempEnd, c.TrMax);
        EXPECT_NEAR(r.massFlowEnd, c.mMax, 1e-4);
        const OutputResult atEnd = Heizleistung(c.c, {75, c.TrMax, 20});
        EXPECT_EQ(r.outputEnd, atEnd.outputW);
    }
}

TEST(EngineRuecklaufgrenzen, SearchesAlwaysEnd)
{
    struct Case
    {
        const char* what;
        Characteristic c;
        SupplyPoint p;
        double TrMin, TrMax;
    } cases[] = {
        // Ti + 15 is above Tv: no return temperature can reach 5 kg/h.
        {"flow too close to room", {10, 1.3}, {30, 20}, 30, 29},
        // No output at all: the upward search runs to Tv.
        {"zero K", {0, 1.3}, {75, 20}, 75, 74},
        // Output so large that even Tr = Ti leaves more than 750 kg/h.
        {"huge K", {1e6, 1.3}, {75, 20}, 35, 20},
        // 36.0001 °C flow: at 35 m = 0.133; the step to 36 leaves 0.0001 K of drop and
        // m = 1374.7, across the whole window in one step.
        {"step across the window", {0.01, 1}, {36.0001, 20}, 36, 35.0001},
        {"NaN flow temperature", {10, 1.3}, {nan, 20}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReturnLimits r = Ruecklaufgrenzen(c.c, c.p);
        EXPECT_EQ(r.status, 1);
        EXPECT_NEAR(r.returnTempStart, c.TrMin, 1e-9);
        EXPECT_NEAR(r.returnTempEnd, c.TrMax, 1e-9);
    }
}

} // namespace
} // namespace tepa::engine
