#include "SampleProject.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/Rating.h"
#include "core/model/ProjectCodec.h"
#include "core/productdata/InstallationCheck.h"
#include "core/productdata/ProductData.h"
#include "core/reports/ConvectorList.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <set>
#include <string>

// The installation in data/ as the program ships it. Its range, compared with
// tests/data/installed-range.txt: each type with the series codes its name carries, the names
// its entries get and its lengths; each line of the type index with the types its pick lists;
// the sample project's bill of convectors. After a change to the data, TEPA_WRITE_GOLDEN=1
// bin/test_installation writes the file anew, to be reviewed with git diff. The rules every type
// must meet are checked here, and every type, rated by the engine at the points a design uses,
// must give physically sensible figures: the bounds are engineering ranges for trench and fan
// convectors, not the data's own values, so a data change that breaks physics fails here.

namespace tepa {
namespace {

using engine::Mode;
using engine::OperatingPoint;

// The installation folder the program ships with: data/ of the source tree, beside tests/.
std::filesystem::path installationDir()
{
    return std::filesystem::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

std::vector<TypeRecord> installedTypes(bool forced)
{
    auto types = readAllTypes(installationDir(), forced);
    EXPECT_TRUE(types) << types.error();
    return types ? std::move(types).value() : std::vector<TypeRecord>{};
}

// The names the calculation window gives an entry of a picked type: in heating the type line
// cut to the entry's 10 characters, in cooling the code before the first blank of the first 20
// characters.
std::string heatingEntryName(std::string_view typeName)
{
    return std::string(utf8Left(typeName, 10));
}
std::string coolingEntryName(std::string_view typeName)
{
    const std::string_view head = utf8Left(typeName, 20);
    return std::string(utf8Left(head.substr(0, head.find(' ')), 10));
}

std::vector<double> offeredLengths(const TypeRecord& type)
{
    std::vector<double> lengths;
    for (const std::string& field : lengthFields(type.lengthLine))
        lengths.push_back(decimalValue(field));
    return lengths;
}

const std::filesystem::path goldenFile = TEPA_TEST_DATA_DIR "/installed-range.txt";

// The series codes the engine and the windows test for, each a substring test on the name.
const std::vector<std::string> seriesCodes = {
    "W1",  "W2",   "W3",     "W4",     "WM",      "WX",      "WF",  "WF1",  "WF2",  "WF3",  "WFs",
    "WFW", "WFWL", "WFW-2L", "WFW-4L", "WFWL-2L", "WFWL-4L", "WNF", "WNF1", "WNF2", "WNF3", "DWF",
};

std::string codesIn(std::string_view name)
{
    std::string found;
    for (const std::string& code : seriesCodes)
        if (name.find(code) != std::string_view::npos)
            found += " " + code;
    return found;
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// A type's names and lengths. The entry keeps the name cut to 10 characters in heating and up to
// its first blank in cooling; both must keep every code of the name, or the engine would rate
// the entry as another series, and both must be the code padded with blanks, or the bill of
// convectors would order a unit of both lists twice.
std::string describeType(const TypeRecord& type)
{
    SCOPED_TRACE(type.name);
    const std::string name = type.name, heating = heatingEntryName(name);
    std::string line = "  " + inQuotes(name) + " codes" + codesIn(name) + ", heating " + inQuotes(heating);
    EXPECT_EQ(codesIn(heating), codesIn(name));
    if (coolingSeries(name)) {
        const std::string cooling = coolingEntryName(name);
        EXPECT_EQ(codesIn(cooling), codesIn(name));
        EXPECT_EQ(heating.substr(0, heating.find_last_not_of(' ') + 1), cooling);
        line += ", cooling " + inQuotes(cooling);
    }
    // A type click with a single length takes it at once, without the height click that sets
    // the height factor by series code: every type offers two or more, in order.
    const std::vector<double> lengths = offeredLengths(type);
    EXPECT_GE(lengths.size(), 2u);
    EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
    line += ", lengths";
    for (double L : lengths) {
        line += " " + std::to_string(static_cast<int>(L));
        // The fan count of the trench fan convectors is tabulated for these finned lengths
        // (casing minus 400 mm). Free convectors and the other fan series lose up to 480 mm of
        // casing ends without fins and keep at least half a metre of fins. The fan coils and
        // ceiling units have laws of their own for the lengths the file above holds.
        const std::set<double> finned = {850, 1150, 1450, 1750, 2050, 2350, 2650, 2950};
        const std::string codes = codesIn(name);
        if (codes == " WF WF1" || codes == " WF WF2" || codes == " WF WF3") {
            EXPECT_EQ(finned.count(L - 400), 1u) << L;
        } else if (codes.find("WFW") == std::string::npos && codes.find("DWF") == std::string::npos) {
            EXPECT_GE(L, 480 + 500) << L;
        }
    }
    return line + "\n";
}

TypeSelection selectionOf(const TypeIndexLine& entry, bool heatingMode)
{
    TypeSelection s;
    s.FreeTypeChosen = entry.kind == 'F';
    s.ForcedTypeChosen = entry.kind == 'Z';
    s.ChosenTypeRow = entry.chosenTypeRow;
    s.HeatingMode = heatingMode;
    return s;
}

Result<TypeLoad> load(const TypeSelection& selection, bool forced)
{
    TypeTable table;
    return forced ? loadForcedTypes(installationDir(), selection, table)
                  : loadFreeTypes(installationDir(), selection, table);
}

// Each line of the type index, picked in the room data panel, hands the line from column 12 on
// to the type load as the filter, free or forced by its first character, in heating and, for
// the "HW" lines, in cooling. Every type can be picked, and the cooling list offers exactly the
// types that can cool. W1..W4 lead the "W" pick as they lead the free file: a type click takes
// the height factor by list position (0 -> W1 ... 3 -> W4), the height click by series code.
std::string describeTypeIndex()
{
    const auto lines = loadConvectorTypeIndex(installationDir());
    EXPECT_TRUE(lines) << lines.error();
    std::string text = std::string(TypeIndexFileName) + "\n";
    std::set<std::string> shown, picked, cooling;
    for (std::size_t i = FirstTypeIndexLine; lines && i < lines->size(); ++i) {
        SCOPED_TRACE((*lines)[i]);
        const TypeIndexLine entry = parseTypeIndexLine((*lines)[i]);
        text += "  " + std::to_string(i + 1) + " " + entry.kind + (entry.cooling ? "HW " : " ") +
                inQuotes(entry.shownName);
        // The type list must tell every entry from every other; a trailing blank would be part
        // of the filter.
        EXPECT_TRUE(shown.insert(entry.shownName).second);
        EXPECT_NE(entry.chosenTypeRow.back(), ' ');
        for (bool heating : {true, false}) {
            if (entry.kind == 'O' || (!heating && !entry.cooling))
                continue; // "not yet available": the pick only shows a message
            const auto loaded = load(selectionOf(entry, heating), entry.kind == 'Z');
            EXPECT_TRUE(loaded) << loaded.error();
            EXPECT_FALSE(loaded->cut);
            text += heating ? " heating:" : " cooling:";
            for (const std::string& name : loaded->names) {
                text += " " + inQuotes(name);
                picked.insert(name);
                if (!heating)
                    cooling.insert(name);
            }
        }
        text += "\n";
    }
    for (bool forced : {false, true})
        for (const TypeRecord& type : installedTypes(forced)) {
            EXPECT_EQ(picked.count(type.name), 1u) << type.name;
            EXPECT_EQ(cooling.count(type.name), coolingSeries(type.name) ? 1u : 0u) << type.name;
        }
    return text;
}

TEST(InstalledRange, IsWhatTheGoldenFileHolds)
{
    for (const Problem& p : checkInstallation(installationDir()))
        ADD_FAILURE() << p.file << ':' << p.line << ": " << p.message;
    std::string actual;
    for (bool forced : {false, true}) {
        actual += std::string(forced ? ForcedTypeFileName : FreeTypeFileName) + "\n";
        for (const TypeRecord& type : installedTypes(forced))
            actual += describeType(type);
    }
    actual += describeTypeIndex();

    // The sample project shipped with the installation must hold what the program computes from
    // the shipped data: after a change to the data or the engine it is made again with
    // make-sample. Its room heats and cools with the same 2-pipe coil and ceiling unit: the bill
    // of convectors orders them once, with the larger count.
    const auto sample = sample::makeSampleProject(installationDir());
    ASSERT_TRUE(sample) << sample.error();
    std::ifstream in(installationDir() / "Beispiel.kon", std::ios::binary);
    const std::string shipped{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(std::ranges::equal(ProjectCodec::encode(*sample), std::as_bytes(std::span(shipped))))
        << "data/Beispiel.kon is out of date: run make-sample data data/Beispiel.kon";
    actual += "Beispiel.kon\n";
    for (const std::string& line : convectorListLines(BuildConvectorList(*sample)))
        actual += "  " + line + "\n";

    std::ifstream golden(goldenFile, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(golden), {}};
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

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

// The stage a ceiling unit runs at for a speed; other series have none.
engine::DwfStage stageAt(std::string_view typeName, double rpm)
{
    using engine::DwfStage;
    if (typeName.find("DWF") == std::string_view::npos)
        return DwfStage::Off;
    return rpm >= 1400   ? DwfStage::Rpm1400
           : rpm >= 1000 ? DwfStage::Rpm1000
           : rpm >= 700  ? DwfStage::Rpm700
                         : DwfStage::Off;
}

OperatingPoint rate(const TypeRecord& type, Mode mode, const Setting& s, Temperatures t = heatingPoint)
{
    const std::string name =
        mode == Mode::Heating ? heatingEntryName(type.name) : coolingEntryName(type.name);
    return engine::rateConvector({.type = {name, type.dataLine, type.fanLine},
                                  .mode = mode,
                                  .freeConvection = s.freeConvection,
                                  .lengthMm = s.lengthMm,
                                  .heightFactor = s.heightFactor,
                                  .speedRpm = s.speedRpm,
                                  .stage = stageAt(type.name, s.speedRpm),
                                  .Tv = t.Tv,
                                  .Ti = t.Ti,
                                  .given = engine::Given::ReturnTemp,
                                  .givenValue = t.Tr});
}

double perMetre(const OperatingPoint& p)
{
    return p.outputW / (p.coefficients.effectiveLengthMm / 1000);
}

// The water side at a design point: a coil of real tubes, modest pressure drop, turbulent flow,
// velocities that neither let air settle nor erode the tubes. The mass flow shares the circuits, each a tube
// of the inside diameter; water taken at 1000 kg/m³ (2.5 % above its density at 70 °C).
void expectWaterSide(const TypeRecord& type, Mode mode, const OperatingPoint& p)
{
    EXPECT_EQ(p.status, 0);
    EXPECT_GT(p.massFlowKgPerH, 0);
    EXPECT_LE(p.pressureDropPa, maxPressureDropPa);
    EXPECT_FALSE(p.highPressureDrop);
    EXPECT_FALSE(p.laminarFlow);
    const Coil coil = coilOf(type, mode);
    within(coil.dMm, tubeMm);
    // The runs field counts the runs of the whole heat exchanger, so that the pressure drop,
    // which divides by the circuits once more, gets the path of one circuit: each circuit has
    // the same whole number of runs, at least one.
    EXPECT_GE(coil.circuits, 1);
    EXPECT_GE(coil.runs, coil.circuits);
    EXPECT_EQ(std::fmod(coil.runs, coil.circuits), 0);
    const double area = std::numbers::pi / 4 * std::pow(coil.dMm / 1000, 2);
    within(p.massFlowKgPerH / 3600 / 1000 / area / coil.circuits, velocity);
}

TEST(ProductData, FreeConvectorsAtEveryOfferedLengthAndHeight)
{
    ASSERT_EQ(installedTypes(false).size(), 6u);
    for (const TypeRecord& type : installedTypes(false)) {
        const std::string name = heatingEntryName(type.name);
        const auto heights = offeredHeights(name, loadHeights(installationDir()).value());
        ASSERT_TRUE(heights) << heights.error();
        for (double L : offeredLengths(type)) {
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

// The speed range of each fan series as the calculation window offers it, the design speed, and
// which checks apply. Series with measured laws of their own give what their laws give; the
// data decide their lengths, sound and water side.
struct FanType
{
    series::Series series;
    double minRpm, designRpm, maxRpm;
    bool dataLaw;      // characteristic from the fan line: output, exponent and speed ratio checked
    bool soundLaw;     // a sound level over the speed range
    bool fanOffLaw;    // with the fan off the data line's free-convection law applies
    bool coolsByWater; // rated in cooling at 16/18/26 °C
};

// Primary air of the "WNF" units in m³/h, turned into the speed equivalent the heating fan bar
// derives from it; they run from a middle setting of 120 m³/h to the size's largest air flow.
double wnfSpeed(double airM3PerH)
{
    return airM3PerH < 225 ? airM3PerH * 700 / 3 / 62 : airM3PerH * 1000 / 3 / 88;
}

// clang-format off
const FanType fanTypes[] = {
    // Trench fan convectors and fan coils, rated at 70 % (the nominal speeds).
    {series::Series::Wf,   700, 980,  1400, false, true, true, false},
    {series::Series::WfS,  700, 1120, 1600, true,  true, true, false},
    {series::Series::Wfw,  700, 1120, 1600, false, true, true, true},
    {series::Series::Wfwl, 345, 805,  1150, false, true, true, true},
    // Primary-air units cool with air; ceiling units are rated at the middle of their 3 stages.
    {series::Series::Wnf,  wnfSpeed(120), wnfSpeed(120), 0, false, false, false, false},
    {series::Series::Dwf,  700, 1000, 1400, false, true, false, true},
};
// clang-format on

TEST(ProductData, FanConvectorsHeatQuietlyOverTheirSpeedRangeAndCool)
{
    int cooled = 0;
    for (const TypeRecord& type : installedTypes(true)) {
        const auto* row = std::ranges::find(fanTypes, series::seriesOf(type.name), &FanType::series);
        ASSERT_NE(row, std::end(fanTypes)) << type.name;
        FanType fan = *row;
        if (fan.series == series::Series::Wnf)
            fan.maxRpm = wnfSpeed(series::primaryAirPerSize(type.name));
        cooled += fan.coolsByWater;
        for (double L : offeredLengths(type)) {
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
            const std::string name = coolingEntryName(type.name);
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
