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

// Km 10, nD 1.3, La −50 dB, Lb 30 dB per decade; '9' in every other column.
const std::string data = test::typicalDataLine('9');
const std::string genericFan = fanLine("0.0200000", "0.6000000", "1.2000000", '9'); // c1, c2, nF
const std::string wfsFan = fanLine("0.8850000", "0.5000000", "1.1000000", '9');

constexpr Mode H = Mode::Heating, C = Mode::Cooling;
constexpr DwfStage Off = DwfStage::Off;

// Type, length, speed, then the expected K, n, LpA and effective length.
struct Row
{
    const char* name;
    double L, s;
    double K = 0, n = 0, LpA = 0, Le = 0;
    Mode mode = H;
    DwfStage stage = Off;
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
                                    << (r.mode == H ? " heating" : " cooling"));
    const ConvectorCoefficients c = run(r);
    EXPECT_EQ(c.status, 0);
    EXPECT_NEAR(c.characteristic.K, r.K, 1e-4);
    EXPECT_NEAR(c.characteristic.n, r.n, 1e-9);
    EXPECT_NEAR(c.soundLevelDb, r.LpA, 1e-4);
    EXPECT_EQ(c.effectiveLengthMm, r.Le);
}

TEST(EngineZwangskennwerte, WorkedValuesOfEverySeries)
{
    // clang-format off
    const Row rows[] = {
        // Free law: K = Le/1000 · Km · f with Le = L − 300 (plain types), L − 400 ("WF"); no sound.
        {"W2", 1300, 0, 10, 1.3, 0, 1000, H, Off, true},
        {"W2", 1300, 0, 12, 1.3, 0, 1000, H, Off, false, 1.2},
        {"WF1", 1250, 600, 8.5, 1.3, 0, 850},
        // 400 rpm is a running "WFWL" fan but below the 700 rpm of a "WFW": free law over 2 m.
        {"WFW", 2000, 400, 20, 1.3, 0, 2000},
        // "WFW", p = 100 %: K = −103.493 + 202.153 − 56.153 = 42.507; LpA = 30 · log10(1600) − 50
        // − 6 (1250 mm) − 8 = 32.1236; 2000 mm: K × 2, −3 dB; 2750 mm: K × 3, −1 dB.
        {"WFW", 1250, 1600, 42.507, 1, 32.12360, 1250},
        {"WFW", 2750, 1600, 127.521, 1, 37.12360, 2750},
        {"WFW-4L", 2000, 1600, 62.06022, 1, 35.12360, 2000},
        // Cooling: −82.7579 + 175.841 − 46.1278 = 46.9553, × 2; no 4-pipe factor in cooling.
        {"WFW-4L", 2000, 1600, 93.9106, 1, 35.12360, 2000, C},
        // "WFWL", p = 30: 10.6758 − 85.5 + 261.24 − 137.529 = 48.8868, level fixed at 20 dB.
        {"WFWL", 2000, 345, 48.8868, 1, 20, 2000},
        // p = 70: 135.6222 − 465.5 + 609.56 − 137.529 = 142.1532; LpA = 30 · log10(800.8) − 58.
        {"WFWL", 2000, 805, 142.1532, 1, 29.10572, 2000},
        {"WFWL-4L", 1250, 805, 76.37891, 1, 26.10572, 1250, C},
        // "WF1", Le 850: 2 fans, +1 dB. K = (26.28 − 7.813) · 2/3, n = 1.393 − 0.2414,
        // LpA = 90 − 50 + 10 · log10(2/3) + 1 − 8 = 31.2391.
        {"WF1", 1250, 1000, 12.31133, 1.1516, 31.23909, 850},
        // "WFs": Le 1850 − 480 = 1370 is rated as 1070: K = 1.07 · 0.885 · 1000^0.5;
        // LpA = 90 − 50 − 8. Le 1020 stays.
        {"WFs", 1850, 1000, 29.94519, 1.1, 32, 1070, H, Off, false, 1, &wfsFan},
        // "WF" without coil digit keeps the fan law: K = 1000 · 0.02 · 1^0.6; Le 1000 lies
        // halfway between 850 and 1150 and counts as 850 (2 fans, +1 dB).
        {"WF-X", 1400, 1000, 20, 1.2, 31.23909, 1000},
        // Primary air, Le = L − 300 ("WNF" is not "WF"). "WNF2" of 1800 mm above 75:
        // K = 1500 · 0.02406801 · (100/1500)^0.4977; "WNF3" of 1500 mm:
        // K = 1200 · 0.078487232 · (95/1200)^0.42548.
        {"WNF2", 1800, 50, 1.701, 1.428, 0, 1500},
        {"WNF2", 1800, 100, 9.37969, 0.956835087, 0, 1500},
        {"WNF3", 1500, 95, 32.01370, 0.708633177, 0, 1200},
        {"WNF", 1800, 100, 0, 1, 0, 1500},
    };
    // clang-format on
    for (const Row& r : rows)
        check(r);
}

TEST(EngineZwangskennwerte, FixedStagesAndLengthRowsOfDwf)
{
    // LpA = 70.6 · log10(rpm) − 169.9 + 10 · log10(fans) − 8: 1400 rpm, 2 fans: 47.2269;
    // 1000 rpm: 1 fan 33.9, 2 fans 36.9103; 700 rpm, 1 fan: 22.9639. Lengths between the units:
    // below 1450 mm the 1100 mm unit, otherwise the 1800 mm one.
    // clang-format off
    const Row rows[] = {
        {"DWF", 1800, 1400, 37.436, 1.012, 47.22694, 1800, H, DwfStage::Rpm1400},
        {"DWF", 1100, 0, 0, 1, 0, 1100, C},
        {"DWF", 1100, 700, 21.6629, 0.9621, 22.96392, 1100, C, DwfStage::Rpm700},
        {"DWF", 1300, 1000, 7.07, 1.171, 33.9, 1300, H, DwfStage::Rpm1000},
        {"DWF", 1500, 1000, 14.14, 1.171, 36.91030, 1500, H, DwfStage::Rpm1000},
    };
    // clang-format on
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
    } cases[] = {{1000, 2, 1}, {1001, 3, 0}, {2951, 7, 0}, {3600, 7, 0}, {100, 2, 1}};
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
                        {.name = "WFs", .L = 1500, .s = 1000, .fan = &overflowingFan}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ConvectorCoefficients c = run(r);
        EXPECT_EQ(c.status, 1);
        EXPECT_EQ(c.characteristic.K, 0);
        EXPECT_EQ(c.effectiveLengthMm, 0);
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
        {"WFW-4L", true, 1120}, {"WFWL", true, 805}, {"DWF 11", true, 1050},
        {"WNF2", true, 0},      {"WFs", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Kuehltyp(c.name), c.cools);
        EXPECT_EQ(nominalSpeed(c.name).value_or(0), c.nominalSpeed);
    }
}

} // namespace
} // namespace tepa::engine
