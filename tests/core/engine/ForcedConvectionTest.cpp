#include "core/engine/ForcedConvection.h"

#include "ProductLines.h"

#include "core/engine/WaterSide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tepa::engine {
namespace {

using test::fanLine;
using test::typicalDataLine;

// Km 10, nD 1.3, La −50 dB, Lb 30 dB per decade; '9' in every other column.
const std::string data = typicalDataLine('9');
const std::string genericFan = fanLine("0.0200000", "0.6000000", "1.2000000", '9'); // c1, c2, nF
const std::string wfsFan = fanLine("0.8850000", "0.5000000", "1.1000000", '9');

struct Row
{
    const char* name;
    double L, s;
    double K = 0, n = 0, LpA = 0, Le = 0;
    Mode mode = Mode::Heating;
    DwfStage stage = DwfStage::Off;
    bool free = false;
    double f = 1;
    const std::string* fan = &genericFan;
};

ConvectorCoefficients run(const Row& r)
{
    return Zwangskennwerte({.typeName = r.name,
                            .lengthMm = r.L,
                            .speedRpm = r.s,
                            .dataLine = data,
                            .fanLine = *r.fan,
                            .freeConvection = r.free,
                            .heightFactor = r.f,
                            .mode = r.mode,
                            .stage = r.stage});
}

void check(const Row& r)
{
    SCOPED_TRACE(testing::Message() << r.name << " L " << r.L << " s " << r.s
                                    << (r.mode == Mode::Heating ? " heating" : " cooling"));
    const ConvectorCoefficients c = run(r);
    EXPECT_EQ(c.status, 0);
    EXPECT_NEAR(c.characteristic.K, r.K, 1e-4);
    EXPECT_NEAR(c.characteristic.n, r.n, 1e-9);
    EXPECT_NEAR(c.soundLevelDb, r.LpA, 1e-4);
    EXPECT_EQ(c.effectiveLengthMm, r.Le);
}

TEST(EngineZwangskennwerte, FreeConvectionAndLowSpeedLaw)
{
    // K = Le/1000 · Km · f with Le = L − 300 (plain types), L − 400 ("WF"); no sound level.
    const Row rows[] = {
        {.name = "W2", .L = 1300, .s = 0, .K = 10, .n = 1.3, .LpA = 0, .Le = 1000, .free = true},
        {.name = "W2", .L = 1300, .s = 0, .K = 10, .n = 1.3, .LpA = 0, .Le = 1000},
        {.name = "W2", .L = 1300, .s = 0, .K = 12, .n = 1.3, .LpA = 0, .Le = 1000, .f = 1.2},
        {.name = "WFW", .L = 1300, .s = 0, .K = 10, .n = 1.3, .LpA = 0, .Le = 1000, .free = true},
        {.name = "WF1", .L = 1250, .s = 600, .K = 8.5, .n = 1.3, .LpA = 0, .Le = 850},
        // 400 rpm is a running "WFWL" fan but below the 700 rpm of a "WFW": free law over 2 m.
        {.name = "WFW", .L = 2000, .s = 400, .K = 20, .n = 1.3, .LpA = 0, .Le = 2000},
    };
    for (const Row& r : rows)
        check(r);
}

TEST(EngineZwangskennwerte, MeasuredSeriesLaws)
{
    const Row rows[] = {
        // "WFW", p = 100 %: K = −103.493 + 202.153 − 56.153 = 42.507; LpA = 30 · log10(1600) − 50
        // − 6 (1250 mm) − 8 = 32.1236; 2000 mm: K × 2, −3 dB; 2750 mm: K × 3, −1 dB.
        {.name = "WFW", .L = 1250, .s = 1600, .K = 42.507, .n = 1, .LpA = 32.12360, .Le = 1250},
        {.name = "WFW", .L = 2000, .s = 1600, .K = 85.014, .n = 1, .LpA = 35.12360, .Le = 2000},
        {.name = "WFW", .L = 2750, .s = 1600, .K = 127.521, .n = 1, .LpA = 37.12360, .Le = 2750},
        {.name = "WFW-4L", .L = 2000, .s = 1600, .K = 62.06022, .n = 1, .LpA = 35.12360, .Le = 2000},
        // Cooling: −82.7579 + 175.841 − 46.1278 = 46.9553, × 2; no 4-pipe factor in cooling.
        {.name = "WFW-4L",
         .L = 2000,
         .s = 1600,
         .K = 93.9106,
         .n = 1,
         .LpA = 35.12360,
         .Le = 2000,
         .mode = Mode::Cooling},
        // "WFWL", p = 30: 10.6758 − 85.5 + 261.24 − 137.529 = 48.8868, level fixed at 20 dB.
        {.name = "WFWL", .L = 2000, .s = 345, .K = 48.8868, .n = 1, .LpA = 20, .Le = 2000},
        // p = 70: 135.6222 − 465.5 + 609.56 − 137.529 = 142.1532; LpA = 30 · log10(800.8) − 58.
        {.name = "WFWL", .L = 2000, .s = 805, .K = 142.1532, .n = 1, .LpA = 29.10572, .Le = 2000},
        {.name = "WFWL-4L", .L = 1250, .s = 805, .K = 59.40582, .n = 1, .LpA = 26.10572, .Le = 1250},
        {.name = "WFWL-4L",
         .L = 1250,
         .s = 805,
         .K = 76.37891,
         .n = 1,
         .LpA = 26.10572,
         .Le = 1250,
         .mode = Mode::Cooling},
        // "WF1", Le 850: 2 fans, +1 dB. K = (26.28 − 7.813) · 2/3, n = 1.393 − 0.2414,
        // LpA = 90 − 50 + 10 · log10(2/3) + 1 − 8 = 31.2391.
        {.name = "WF1", .L = 1250, .s = 1000, .K = 12.31133, .n = 1.1516, .LpA = 31.23909, .Le = 850},
        // "WFs": Le 1850 − 480 = 1370 is rated as 1070: K = 1.07 · 0.885 · 1000^0.5;
        // LpA = 90 − 50 − 8. Le 1020 stays.
        {.name = "WFs", .L = 1850, .s = 1000, .K = 29.94519, .n = 1.1, .LpA = 32, .Le = 1070, .fan = &wfsFan},
        {.name = "WFs", .L = 1500, .s = 1000, .K = 28.54588, .n = 1.1, .LpA = 32, .Le = 1020, .fan = &wfsFan},
        // "WF" without coil digit keeps the fan law: K = 1000 · 0.02 · 1^0.6; Le 1000 lies
        // halfway between 850 and 1150 and counts as 850 (2 fans, +1 dB).
        {.name = "WF-X", .L = 1400, .s = 1000, .K = 20, .n = 1.2, .LpA = 31.23909, .Le = 1000},
    };
    for (const Row& r : rows)
        check(r);
}

TEST(EngineZwangskennwerte, FixedStagesOfDwf)
{
    // LpA = 70.6 · log10(rpm) − 169.9 + 10 · log10(fans) − 8: 1400 rpm, 2 fans: 47.2269;
    // 1000 rpm: 1 fan 33.9, 2 fans 36.9103; 700 rpm, 1 fan: 22.9639.
    const Row rows[] = {
        {.name = "DWF",
         .L = 1800,
         .s = 1400,
         .K = 37.436,
         .n = 1.012,
         .LpA = 47.22694,
         .Le = 1800,
         .stage = DwfStage::Rpm1400},
        {.name = "DWF", .L = 1800, .s = 0, .K = 5.137, .n = 1.373, .LpA = 0, .Le = 1800},
        {.name = "DWF", .L = 1100, .s = 0, .K = 0, .n = 1, .LpA = 0, .Le = 1100, .mode = Mode::Cooling},
        {.name = "DWF",
         .L = 1100,
         .s = 700,
         .K = 21.6629,
         .n = 0.9621,
         .LpA = 22.96392,
         .Le = 1100,
         .mode = Mode::Cooling,
         .stage = DwfStage::Rpm700},
        // Lengths between the units: below 1450 mm the 1100 mm unit, otherwise the 1800 mm one.
        {.name = "DWF",
         .L = 1300,
         .s = 1000,
         .K = 7.07,
         .n = 1.171,
         .LpA = 33.9,
         .Le = 1300,
         .stage = DwfStage::Rpm1000},
        {.name = "DWF",
         .L = 1500,
         .s = 1000,
         .K = 14.14,
         .n = 1.171,
         .LpA = 36.91030,
         .Le = 1500,
         .stage = DwfStage::Rpm1000},
    };
    for (const Row& r : rows)
        check(r);
}

TEST(EngineZwangskennwerte, PrimaryAirUnits)
{
    // Le = L − 300 ("WNF" is not "WF"). "WNF2" of 1800 mm: Le 1500 ≥ 1350.
    // Above 75: K = 1500 · 0.02406801 · (100/1500)^0.4977 = 9.37969.
    // "WNF3" of 1500 mm, Le 1200: K = 1200 · 0.078487232 · (95/1200)^0.42548 = 32.01370.
    const Row rows[] = {
        {.name = "WNF2", .L = 1800, .s = 50, .K = 1.701, .n = 1.428, .LpA = 0, .Le = 1500},
        {.name = "WNF2", .L = 1800, .s = 100, .K = 9.37969, .n = 0.956835087, .LpA = 0, .Le = 1500},
        {.name = "WNF1", .L = 1500, .s = 37.9, .K = 0.417, .n = 1.473, .LpA = 0, .Le = 1200},
        {.name = "WNF3", .L = 1500, .s = 95, .K = 32.01370, .n = 0.708633177, .LpA = 0, .Le = 1200},
        {.name = "WNF", .L = 1800, .s = 100, .K = 0, .n = 1, .LpA = 0, .Le = 1500},
    };
    for (const Row& r : rows)
        check(r);
}

TEST(EngineZwangskennwerte, FanCountOfWfFollowsLengthAlone)
{
    // "WF1" at 1000 rpm: K = 18.467 · z/3. Off-table lengths take the nearest tabulated one,
    // ties the shorter. Each length is computed after two different predecessors.
    struct Case
    {
        double Le, z, zc;
    } cases[] = {{850, 2, 1},  {1000, 2, 1}, {1001, 3, 0}, {1150, 3, 0}, {1300, 3, 0},
                 {2500, 6, 0}, {2951, 7, 0}, {3600, 7, 0}, {100, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Le);
        for (double before : {850.0, 2950.0}) {
            run({.name = "WF1", .L = before + 400, .s = 1000});
            const ConvectorCoefficients r = run({.name = "WF1", .L = c.Le + 400, .s = 1000});
            EXPECT_NEAR(r.characteristic.K, 18.467 * c.z / 3, 1e-9);
            EXPECT_NEAR(r.soundLevelDb, 32 + 10 * std::log10(c.z / 3) + c.zc, 1e-9);
        }
    }
}

TEST(EngineZwangskennwerte, NonFiniteInputGivesStatusOne)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    static const std::string overflowingFan = fanLine("1E400", "1", "1"); // c1 beyond double range
    const Row rows[] = {{.name = "WFW", .L = nan, .s = 1000},
                        {.name = "WF1", .L = 1250, .s = std::numeric_limits<double>::infinity()},
                        {.name = "W2", .L = 1300, .s = 0, .f = nan},
                        {.name = "WFs", .L = 1500, .s = 1000, .fan = &overflowingFan}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ConvectorCoefficients c = run(r);
        EXPECT_EQ(c.status, 1);
        EXPECT_EQ(c.characteristic.K, 0);
        EXPECT_EQ(c.soundLevelDb, 0);
        EXPECT_EQ(c.effectiveLengthMm, 0);
    }
}

TEST(EngineZwangskennwerte, OutputRisesWithSpeedAndFlowTemperature)
{
    // Output at 65 °C return and 20 °C room (heating) or 18 °C return and 26 °C room (cooling)
    // over the speeds of each series above its minimum. The "WFW" heating law peaks near 98 %
    // (1563 rpm), so its speeds stay below that.
    struct Series
    {
        const char* name;
        double L;
        double speeds[3];
        Mode mode = Mode::Heating;
        const std::string* fan = &genericFan;
    } series[] = {
        {"WF1", 1250, {700, 1000, 1300}},
        {"WF2", 1550, {700, 1000, 1300}},
        {"WF3", 2450, {700, 1000, 1400}},
        {"WF-X", 1400, {700, 1000, 1400}},
        {"WFs", 1850, {700, 1100, 1600}, Mode::Heating, &wfsFan},
        {"WFW", 1250, {700, 1100, 1500}},
        {"WFW-4L", 2000, {700, 1100, 1500}, Mode::Cooling},
        {"WFWL", 2000, {345, 700, 1150}},
        {"WFWL-4L", 2750, {345, 700, 1150}, Mode::Cooling},
        {"WNF1", 1200, {38, 50, 60}},
        {"WNF2", 1800, {75, 200, 280}},
        {"WNF3", 1500, {95, 200, 320}},
    };
    for (const Series& s : series) {
        SCOPED_TRACE(s.name);
        double previous = 0;
        for (double speed : s.speeds) {
            const Characteristic c =
                run({.name = s.name, .L = s.L, .s = speed, .mode = s.mode, .fan = s.fan}).characteristic;
            // A warmer heating flow or a colder cooling flow must give more output.
            const bool heating = s.mode == Mode::Heating;
            const double Q =
                heating ? Heizleistung(c, {75, 65, 20}).outputW : Kuehlleistung(c, {16, 18, 26}, 0).outputW;
            const double stronger =
                heating ? Heizleistung(c, {80, 65, 20}).outputW : Kuehlleistung(c, {14, 18, 26}, 0).outputW;
            EXPECT_GT(Q, previous) << speed << " rpm";
            EXPECT_GT(stronger, Q) << speed << " rpm";
            previous = Q;
        }
    }
    // The stages of "DWF" likewise, heating from stage 0.
    for (Mode mode : {Mode::Heating, Mode::Cooling}) {
        double previous = 0;
        for (DwfStage stage : {DwfStage::Off, DwfStage::Rpm700, DwfStage::Rpm1000, DwfStage::Rpm1400}) {
            const Characteristic c =
                run({.name = "DWF", .L = 1800, .s = 0, .mode = mode, .stage = stage}).characteristic;
            const double Q = mode == Mode::Heating ? Heizleistung(c, {75, 65, 20}).outputW
                                                   : Kuehlleistung(c, {16, 18, 26}, 0).outputW;
            if (mode == Mode::Heating || stage != DwfStage::Off) {
                EXPECT_GT(Q, previous);
            }
            previous = Q;
        }
    }
}

TEST(EngineKuehltyp, SeriesThatCanCool)
{
    struct Case
    {
        const char* name;
        bool cools;
        double nominalSpeed; // 0: none
    } cases[] = {
        {"WFW-4L", true, 1120}, {"WFWL-2L", true, 805}, {"WFWL", true, 805}, {"DWF 11", true, 1050},
        {"WNF2", true, 0},      {"WF1", false, 0},      {"WFs", false, 0},   {"W2 18", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Kuehltyp(c.name), c.cools);
        EXPECT_EQ(nominalSpeed(c.name).value_or(0), c.nominalSpeed);
    }
}

TEST(EngineZwangHeizenKuehlen, RatingAtNominalSpeed)
{
    // "WFW" 1250 mm at 1120 rpm (p = 70): heating K = −50.7116 + 141.5071 − 56.153 = 34.64253,
    // 75/65/20: Q = 50 K · K = 1732.1265 W, m = Q / (10 cw) = 148.8223 kg/h,
    // LpA = 30 · log10(1120) − 50 − 6 − 8. Cooling K = 36.40953, 16/18/26: Q = 9 K · K
    // = 327.6858 W, m = Q / (2 cw) = 140.7719 kg/h.
    const NominalInput in{.typeName = "WFW", .lengthMm = 1250, .dataLine = data, .fanLine = genericFan};
    NominalInput heat = in, cool = in;
    heat.Tv = 75, heat.Tr = 65, heat.Ti = 20;
    cool.Tv = 16, cool.Tr = 18, cool.Ti = 26;
    const NominalResult h = Zwang_heizen(heat);
    EXPECT_EQ(h.status, 0);
    EXPECT_NEAR(h.outputW, 1732.1265, 1e-3);
    EXPECT_NEAR(h.massFlowKgPerH, 148.82232, 1e-4);
    EXPECT_NEAR(h.soundLevelDb, 27.47654, 1e-4);
    const NominalResult c = Zwang_kuehlen(cool);
    EXPECT_EQ(c.status, 0);
    EXPECT_NEAR(c.outputW, 327.68576, 1e-4);
    EXPECT_NEAR(c.massFlowKgPerH, 140.77193, 1e-4);

    // A series without rating speed has no rating.
    NominalInput wf = heat;
    wf.typeName = "WF1";
    const NominalResult none = Zwang_heizen(wf);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.outputW, 0);
    NominalInput unknown = heat;
    unknown.Tr = std::numeric_limits<double>::quiet_NaN();
    const NominalResult nanRating = Zwang_heizen(unknown);
    EXPECT_EQ(nanRating.status, 1);
    EXPECT_EQ(nanRating.soundLevelDb, 0);
}

} // namespace
} // namespace tepa::engine
