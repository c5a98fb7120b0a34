#include "core/engine/NominalRating.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <string>

namespace tepa::engine {
namespace {

const std::string data = test::typicalDataLine('9');
const std::string fan = test::fanLine("0.0200000", "0.6000000", "1.2000000");

TEST(EngineOtherModeRating, HeatingConvectorShowsCoolingRating)
{
    // "WFW" 1250 mm at 1120 rpm, 16/18/26 °C: K = 36.40953, Q = 327.6858 W, m = 140.7719 kg/h;
    // LpA = 30 · log10(1120) − 50 − 6 − 8 = 27.4765. Pressure drop with the cooling tubes
    // (15 mm, 8 runs, 2 circuits) over 1250 mm with water at 70 °C: v = 0.11317 m/s,
    // Re = 4120.7, dp = 104.860 Pa.
    const OtherModeRating r = otherModeRating({.typeName = "WFW",
                                               .lengthMm = 1250,
                                               .dataLine = data,
                                               .fanLine = fan,
                                               .currentMode = Mode::Heating});
    EXPECT_TRUE(r.showBox);
    EXPECT_EQ(r.kind, RatingKind::Cooling);
    EXPECT_EQ(r.status, 0);
    EXPECT_NEAR(r.outputW, 327.68576, 1e-4);
    EXPECT_NEAR(r.massFlowKgPerH, 140.77193, 1e-4);
    EXPECT_NEAR(r.soundLevelDb, 27.47654, 1e-4);
    EXPECT_NEAR(r.pressureDropPa, 104.86015, 1e-4);
    EXPECT_EQ(r.captions.Label93, 228); // rated at 70 % speed
    EXPECT_EQ(r.captions.colour, RatingColour::Blue);
}

TEST(EngineOtherModeRating, CoolingDwfShowsHeatingRatingAtStage1000)
{
    // "DWF" 1800 mm at stage 1000: K 14.14, n 1.171; 75/65/20: Q = 14.14 · 50^1.171 = 1380.204 W,
    // m = 118.5855 kg/h, LpA = 211.8 − 169.9 + 3.0103 − 8 = 36.9103, dp = 7.5484e-5 · m² · 1000
    // = 1061.496 Pa.
    const OtherModeRating r = otherModeRating({.typeName = "DWF 18",
                                               .lengthMm = 1800,
                                               .dataLine = data,
                                               .fanLine = fan,
                                               .currentMode = Mode::Cooling});
    EXPECT_TRUE(r.showBox);
    EXPECT_EQ(r.kind, RatingKind::Heating);
    EXPECT_NEAR(r.outputW, 1380.2040, 1e-3);
    EXPECT_NEAR(r.massFlowKgPerH, 118.58555, 1e-4);
    EXPECT_NEAR(r.soundLevelDb, 36.91030, 1e-4);
    EXPECT_NEAR(r.pressureDropPa, 1061.4962, 1e-3);
    EXPECT_EQ(r.captions.Label93, 227); // rated at 75 % speed
    EXPECT_EQ(r.captions.colour, RatingColour::Red);

    const RatingDisplay shown = ratingDisplay(r);
    EXPECT_EQ(shown.Label86, "119");
    EXPECT_EQ(shown.Label88, "1061");
    EXPECT_EQ(shown.Label90, "37");
    EXPECT_EQ(shown.Label92, "1380");
}

TEST(EngineOtherModeRating, NoRatingForPrimaryAirOrHeatingOnlySeries)
{
    // "WNF2" cools but has no rating speed; "WF1" does not cool.
    for (const char* name : {"WNF2", "WF1"}) {
        SCOPED_TRACE(name);
        const OtherModeRating r = otherModeRating({.typeName = name,
                                                   .lengthMm = 1800,
                                                   .dataLine = data,
                                                   .fanLine = fan,
                                                   .currentMode = Mode::Heating});
        EXPECT_FALSE(r.showBox);
        EXPECT_EQ(r.outputW, 0);
        EXPECT_EQ(ratingDisplay(r).Label92, "");
    }
}

TEST(EngineOtherModeRating, PressureDropDigitsDependOnRatedMode)
{
    // 12345.6 Pa: 4 significant digits do not hold the integer part (exponent form), 5 do.
    OtherModeRating r;
    r.pressureDropPa = 12345.6;
    r.kind = RatingKind::Heating;
    EXPECT_EQ(ratingDisplay(r).Label88, "1.235E4");
    r.kind = RatingKind::Cooling;
    EXPECT_EQ(ratingDisplay(r).Label88, "12346");
}

} // namespace
} // namespace tepa::engine
