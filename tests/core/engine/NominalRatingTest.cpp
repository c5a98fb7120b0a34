#include "core/engine/NominalRating.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <string>

namespace tepa::engine {
namespace {

const std::string data = test::typicalDataLine('9');
const std::string fan = test::fanLine("0.0200000", "0.6000000", "1.2000000");

TEST(EngineOtherModeRating, RatesTheOtherModeAtTheSeriesRatingSpeed)
{
    struct Case
    {
        const char* name;
        double L;
        Mode current;
        RatingKind kind; // None: no box
        double Q = 0, m = 0, LpA = 0, dp = 0;
        int label93 = 0;
        RatingColour colour = RatingColour::Blue;
    };
    // clang-format off
    const Case cases[] = {
        // "WFW" 1250 mm at 1120 rpm (70 %), 16/18/26 °C: K = 36.40953, LpA = 30 · log10(1120) − 64;
        // cooling tubes (15 mm, 8 runs, 2 circuits) at 70 °C water: Re = 4120.7.
        {"WFW", 1250, Mode::Heating, RatingKind::Cooling, 327.68576, 140.77193, 27.47654, 104.86015, 228},
        // "DWF" 1800 mm at stage 1000 (75 %): K 14.14, n 1.171; 75/65/20: Q = 14.14 · 50^1.171,
        // LpA = 211.8 − 169.9 + 3.0103 − 8, dp = 7.5484e-5 · m² · 1000.
        {"DWF 18", 1800, Mode::Cooling, RatingKind::Heating, 1380.2040, 118.58555, 36.91030, 1061.4962, 227,
         RatingColour::Red},
        {"WNF2", 1800, Mode::Heating, RatingKind::None}, // cools, but has no rating speed
        {"WF1", 1800, Mode::Heating, RatingKind::None},  // does not cool
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OtherModeRating r = otherModeRating(
            {.typeName = c.name, .lengthMm = c.L, .dataLine = data, .fanLine = fan, .currentMode = c.current});
        EXPECT_EQ(r.showBox, c.kind != RatingKind::None);
        EXPECT_NEAR(r.outputW, c.Q, 1e-3);
        EXPECT_NEAR(r.massFlowKgPerH, c.m, 1e-4);
        if (c.kind == RatingKind::None) {
            EXPECT_EQ(ratingDisplay(r).Label92, "");
            continue;
        }
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_NEAR(r.soundLevelDb, c.LpA, 1e-4);
        EXPECT_NEAR(r.pressureDropPa, c.dp, 1e-3);
        EXPECT_EQ(r.captions.Label93, c.label93);
        EXPECT_EQ(r.captions.colour, c.colour);
    }
}

TEST(EngineOtherModeRating, DisplayRoundsAndKeepsDigitsOfTheRatedMode)
{
    OtherModeRating r;
    r.kind = RatingKind::Heating;
    r.outputW = 1380.204, r.massFlowKgPerH = 118.58555, r.soundLevelDb = 36.9103, r.pressureDropPa = 1061.4962;
    const RatingDisplay shown = ratingDisplay(r);
    EXPECT_EQ(shown.Label86, "119");
    EXPECT_EQ(shown.Label88, "1061");
    EXPECT_EQ(shown.Label90, "37");
    EXPECT_EQ(shown.Label92, "1380");
    // 12345.6 Pa: 4 significant digits do not hold the integer part (exponent form), 5 do.
    r.pressureDropPa = 12345.6;
    EXPECT_EQ(ratingDisplay(r).Label88, "1.235E4");
    r.kind = RatingKind::Cooling;
    EXPECT_EQ(ratingDisplay(r).Label88, "12346");
}

} // namespace
} // namespace tepa::engine
