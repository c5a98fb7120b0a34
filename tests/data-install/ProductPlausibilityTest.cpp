#include "InstallationData.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/Rating.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>

// Every type of the installation, rated by the engine at the points a design uses, must give
// physically sensible figures. The bounds are engineering ranges for trench and fan convectors,
// not the data's own values, so a data change that breaks physics fails here.

namespace tepa {
namespace {

using engine::DwfStage;
using engine::Mode;
using engine::OperatingPoint;
using test::installedTypes;

// Design temperatures: heating 75/65 °C water in a 20 °C room, cooling 16/18 °C in a 26 °C room.
struct Temperatures
{
    double Tv, Tr, Ti;
};
constexpr Temperatures heatingPoint{75, 65, 20};
constexpr Temperatures coolingPoint{16, 18, 26};

struct Range
{
    double low, high;
};
constexpr Range freeWPerM{150, 1500};       // free convection, 75/65/20
constexpr Range freeN{1.25, 1.5};           // free-convection exponent
constexpr Range fanWPerM{400, 2500};        // fan law at 70 % speed
constexpr Range fanN{1.0, 1.15};            // fan-law exponent
constexpr Range speedRatio{2, 4};           // Q at top speed / Q at lowest
constexpr Range coolingRatio{0.15, 0.35};   // cooling / heating, nominal
constexpr Range soundDb{20, 48};            // LpA over the speed range
constexpr Range tubeMm{8, 26};              // tube inside diameter
constexpr Range velocity{0.05, 1.5};        // m/s in one circuit
constexpr double maxPressureDropPa = 20000; // at the design mass flow

void within(double value, Range r)
{
    EXPECT_TRUE(value >= r.low && value <= r.high) << value << " outside " << r.low << " .. " << r.high;
}

struct Coil
{
    double dMm, runs, circuits;
};

Coil coilOf(const TypeRecord& type, Mode mode)
{
    const bool heating = mode == Mode::Heating;
    return {fieldValue(type.dataLine, heating ? 15 : 57, 4), fieldValue(type.dataLine, heating ? 23 : 65, 3),
            fieldValue(type.dataLine, heating ? 29 : 71, 1)};
}

struct Setting
{
    double lengthMm;
    double speedRpm = 0;
    double heightFactor = 1;
    bool freeConvection = false;
};

OperatingPoint rate(const TypeRecord& type, Mode mode, const Setting& s, Temperatures t = heatingPoint)
{
    const std::string name =
        mode == Mode::Heating ? test::heatingEntryName(type.name) : test::coolingEntryName(type.name);
    return engine::rateConvector({.type = {name, type.dataLine, type.fanLine},
                                  .mode = mode,
                                  .freeConvection = s.freeConvection,
                                  .lengthMm = s.lengthMm,
                                  .heightFactor = s.heightFactor,
                                  .speedRpm = s.speedRpm,
                                  .stage = test::stageAt(type.name, s.speedRpm),
                                  .Tv = t.Tv,
                                  .Ti = t.Ti,
                                  .given = engine::Given::ReturnTemp,
                                  .givenValue = t.Tr});
}

double perMetre(const OperatingPoint& p)
{
    return p.outputW / (p.coefficients.effectiveLengthMm / 1000);
}

// The water side at a design point: modest pressure drop, turbulent flow, velocities that
// neither let air settle nor erode the tubes. The mass flow shares the circuits, each a tube of
// the inside diameter; water taken at 1000 kg/m³ (2.5 % above its density at 70 °C).
void expectWaterSide(const TypeRecord& type, Mode mode, const OperatingPoint& p)
{
    EXPECT_EQ(p.status, 0);
    EXPECT_GT(p.massFlowKgPerH, 0);
    EXPECT_LE(p.pressureDropPa, maxPressureDropPa);
    EXPECT_FALSE(p.highPressureDrop);
    EXPECT_FALSE(p.laminarFlow);
    const Coil coil = coilOf(type, mode);
    const double area = std::numbers::pi / 4 * std::pow(coil.dMm / 1000, 2);
    within(p.massFlowKgPerH / 3600 / 1000 / area / coil.circuits, velocity);
}

TEST(ProductData, CoilsAreRealTubesWithRunsSharedByTheirCircuits)
{
    for (bool forced : {false, true})
        for (const TypeRecord& type : installedTypes(forced))
            for (Mode mode : {Mode::Heating, Mode::Cooling}) {
                SCOPED_TRACE(type.name + (mode == Mode::Heating ? " heating" : " cooling"));
                const Coil coil = coilOf(type, mode);
                within(coil.dMm, tubeMm);
                // The runs field counts the runs of the whole heat exchanger, so that the
                // pressure drop, which divides by the circuits once more, gets the path of one
                // circuit: each circuit has the same whole number of runs, at least one.
                EXPECT_GE(coil.circuits, 1);
                EXPECT_GE(coil.runs, coil.circuits);
                EXPECT_EQ(std::fmod(coil.runs, coil.circuits), 0);
            }
}

TEST(ProductData, FreeConvectorsAtEveryOfferedLengthAndHeight)
{
    ASSERT_EQ(installedTypes(false).size(), 6u);
    for (const TypeRecord& type : installedTypes(false)) {
        const std::string name = test::heatingEntryName(type.name);
        const auto heights = offeredHeights(name, test::installedHeights());
        ASSERT_TRUE(heights) << heights.error();
        for (double L : test::offeredLengths(type)) {
            double previousOutput = 0;
            for (const std::string& line : heights->lines) {
                SCOPED_TRACE(type.name + " " + std::to_string(L) + " mm, height " + line);
                const auto factor = heightFactor(name, line);
                ASSERT_TRUE(factor);
                const OperatingPoint p = rate(
                    type, Mode::Heating, {.lengthMm = L, .heightFactor = *factor, .freeConvection = true});
                within(perMetre(p), freeWPerM);
                within(p.coefficients.characteristic.n, freeN);
                EXPECT_EQ(p.coefficients.soundLevelDb, 0);
                // A deeper casing gives more output.
                EXPECT_GT(p.outputW, previousOutput);
                previousOutput = p.outputW;
                expectWaterSide(type, Mode::Heating, p);
            }
        }
    }
}

// The speed range of each fan type as the calculation window offers it, the design speed, and
// which checks apply. Series with measured laws of their own give what their laws give; the
// data decide their lengths, sound and water side.
struct FanType
{
    double minRpm, designRpm, maxRpm;
    bool dataLaw;      // characteristic from the fan line: output, exponent and speed ratio checked
    bool soundLaw;     // a sound level over the speed range
    bool fanOffLaw;    // with the fan off the data line's free-convection law applies
    bool coolsByWater; // rated in cooling at 16/18/26 °C
};

// Primary air of the "WNF" units in m³/h, turned into the speed equivalent the heating fan
// bar derives from it: below 225 m³/h × 700/3/62, from 225 m³/h on × 1000/3/88.
constexpr double wnfAt120 = 120.0 * 700 / 3 / 62; // 451.6: a middle setting of every size
constexpr double wnf1Max = 180.0 * 700 / 3 / 62;  // 677.4
constexpr double wnf2Max = 240.0 * 1000 / 3 / 88; // 909.1
constexpr double wnf3Max = 280.0 * 1000 / 3 / 88; // 1060.6

// clang-format off
const std::map<std::string, FanType> fanTypes = {
    // Trench fan convectors: 700..1400 rpm, rated at 70 %.
    {"WF1", {700, 980, 1400, false, true, true, false}},
    {"WF2", {700, 980, 1400, false, true, true, false}},
    {"WF3", {700, 980, 1400, false, true, true, false}},
    {"WFs", {700, 1120, 1600, true, true, true, false}},
    // Fan coils: 700..1600 rpm and 345..1150 rpm, rated at 70 % (the nominal speeds).
    {"WFW-2L    Zweileiter", {700, 1120, 1600, false, true, true, true}},
    {"WFW-4L    Vierleiter", {700, 1120, 1600, false, true, true, true}},
    {"WFWL-2L   Zweileiter", {345, 805, 1150, false, true, true, true}},
    {"WFWL-4L   Vierleiter", {345, 805, 1150, false, true, true, true}},
    // Primary-air units: from a middle setting to the size's largest air flow; they cool with air.
    {"WNF1      Primaerluft", {wnfAt120, wnfAt120, wnf1Max, false, false, false, false}},
    {"WNF2      Primaerluft", {wnfAt120, wnfAt120, wnf2Max, false, false, false, false}},
    {"WNF3      Primaerluft", {wnfAt120, wnfAt120, wnf3Max, false, false, false, false}},
    // Ceiling units: the three fan stages, rated at the middle one.
    {"DWF       Deckengeraet", {700, 1000, 1400, false, true, false, true}},
};
// clang-format on

TEST(ProductData, FanConvectorsHeatQuietlyOverTheirSpeedRangeAndCool)
{
    ASSERT_EQ(installedTypes(true).size(), fanTypes.size());
    int cooled = 0;
    for (const TypeRecord& type : installedTypes(true)) {
        const FanType& fan = fanTypes.at(type.name);
        cooled += fan.coolsByWater;
        for (double L : test::offeredLengths(type)) {
            SCOPED_TRACE(type.name + " " + std::to_string(L) + " mm");
            for (double rpm : {fan.minRpm, fan.designRpm, fan.maxRpm}) {
                SCOPED_TRACE(std::to_string(rpm) + " rpm");
                const OperatingPoint p = rate(type, Mode::Heating, {.lengthMm = L, .speedRpm = rpm});
                if (rpm != fan.minRpm || fan.minRpm == fan.designRpm)
                    expectWaterSide(type, Mode::Heating, p);
                if (fan.soundLaw)
                    within(p.coefficients.soundLevelDb, soundDb);
            }
            if (fan.dataLaw) {
                const OperatingPoint design =
                    rate(type, Mode::Heating, {.lengthMm = L, .speedRpm = fan.designRpm});
                within(perMetre(design), fanWPerM);
                within(design.coefficients.characteristic.n, fanN);
                const double top = rate(type, Mode::Heating, {.lengthMm = L, .speedRpm = fan.maxRpm}).outputW;
                const double lowest =
                    rate(type, Mode::Heating, {.lengthMm = L, .speedRpm = fan.minRpm}).outputW;
                within(top / lowest, speedRatio);
            }
            if (fan.fanOffLaw) {
                const OperatingPoint off = rate(type, Mode::Heating, {.lengthMm = L});
                EXPECT_EQ(off.status, 0);
                within(perMetre(off), freeWPerM);
                within(off.coefficients.characteristic.n, freeN);
            }
            if (!fan.coolsByWater)
                continue;
            const Setting nominal{.lengthMm = L, .speedRpm = fan.designRpm};
            expectWaterSide(type, Mode::Cooling, rate(type, Mode::Cooling, nominal, coolingPoint));
            // The nominal ratings the convector information box shows: a fan convector cools with
            // a fraction of its heating output, the small temperature difference of chilled water
            // against the room.
            const std::string name = test::coolingEntryName(type.name);
            engine::NominalInput heating{
                .typeName = name, .lengthMm = L, .dataLine = type.dataLine, .fanLine = type.fanLine};
            engine::NominalInput cooling = heating;
            heating.Tv = heatingPoint.Tv, heating.Tr = heatingPoint.Tr, heating.Ti = heatingPoint.Ti;
            cooling.Tv = coolingPoint.Tv, cooling.Tr = coolingPoint.Tr, cooling.Ti = coolingPoint.Ti;
            const engine::NominalResult qHeating = engine::Zwang_heizen(heating);
            const engine::NominalResult qCooling = engine::Zwang_kuehlen(cooling);
            ASSERT_EQ(qHeating.status + qCooling.status, 0);
            within(qCooling.outputW / qHeating.outputW, coolingRatio);
        }
    }
    EXPECT_EQ(cooled, 5);
}

} // namespace
} // namespace tepa
