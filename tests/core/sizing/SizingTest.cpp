#include "core/sizing/Sizing.h"

#include "core/engine/Rating.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace tepa::sizing {
namespace {

using engine::Mode;

const Catalog& installation()
{
    static const Catalog catalog = [] {
        auto loaded = loadCatalog(TEPA_TEST_DATA_DIR "/install", '.');
        EXPECT_TRUE(loaded.ok()) << (loaded.ok() ? "" : loaded.error());
        return loaded.ok() ? *loaded : Catalog{};
    }();
    return catalog;
}

// A heating request at 70/20 °C for 1800 W at a return of 55 °C, its constraints set by `adjust`.
Request heatingRoom(void (*adjust)(Constraints&) = [](Constraints&) {})
{
    Request r;
    r.demandW = 1800, r.flowTempC = 70, r.roomTempC = 20, r.returnTempC = 55;
    adjust(r.constraints);
    return r;
}

// Every type, length, height, setting and count 1..limit, rated unit by unit; kept when it meets
// the demand and the constraints; per configuration the fewest units; sorted by the stated rule
// with the order of enumeration last.
std::vector<Candidate> bruteForce(const Request& r)
{
    std::vector<Candidate> found;
    const Constraints& k = r.constraints;
    for (bool free : {true, false})
        for (const TypeRecord& type : free ? installation().freeTypes : installation().forcedTypes) {
            const std::string name = entryTypeName(type.name, r.mode);
            const bool listed = std::any_of(k.series.begin(), k.series.end(), [&](const std::string& code) {
                return name.find(code) != std::string::npos;
            });
            if ((r.mode == Mode::Cooling && (free || !series::canCool(series::seriesOf(name)))) ||
                (!k.series.empty() && !listed))
                continue;
            const auto heights = heightsOf(installation(), type, r.mode);
            for (const std::string& field : lengthFields(type.lengthLine))
                for (const Unit& height : *heights)
                    for (const Setting& s : settingsOf(name, free, r.mode, decimalValue(field), k.fanAllowed))
                        for (int count = 1; count <= k.maxCount; ++count) {
                            auto unit = rateUnit(type, free, decimalValue(field), height, s, r);
                            if (!unit || (k.maxLengthMm && unit->lengthMm > *k.maxLengthMm) ||
                                (k.heightMm && unit->heightMm != *k.heightMm) ||
                                (k.maxSoundDb && unit->soundLevelDb > *k.maxSoundDb) ||
                                (k.maxPressureDropPa && unit->pressureDropPa > *k.maxPressureDropPa) ||
                                count * unit->outputW < r.demandW)
                                continue;
                            unit->count = count;
                            unit->totalW = count * unit->outputW;
                            found.push_back(*unit);
                            break; // more units of the same configuration are never better
                        }
        }
    std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return std::make_tuple(a.count, a.count * a.lengthMm, a.soundLevelDb) <
               std::make_tuple(b.count, b.count * b.lengthMm, b.soundLevelDb);
    });
    return found;
}

std::string describe(const Candidate& c)
{
    return c.typeName + " " + std::to_string(c.lengthMm) + "x" + std::to_string(c.heightMm) + " @" +
           std::to_string(c.speedRpm) + "/" + std::to_string(c.airFlowM3PerH) + " n" +
           std::to_string(c.count);
}

TEST(Sizing, SearchListsWhatABruteForceEnumerationFindsInTheSameOrder)
{
    Request cooling;
    cooling.mode = Mode::Cooling;
    cooling.demandW = 1500, cooling.flowTempC = 16, cooling.roomTempC = 26, cooling.returnTempC = 18;
    cooling.constraints.maxCount = 6;
    Request byFlow = heatingRoom([](Constraints& k) { k.maxCount = 4; });
    byFlow.returnTempC.reset();
    byFlow.maxMassFlowKgPerH = 60;
    const Request cases[] = {
        heatingRoom(),
        byFlow,
        cooling,
        heatingRoom([](Constraints& k) {
            k.series = {"W2", "WF"}, k.maxLengthMm = 2000, k.maxSoundDb = 40, k.maxCount = 3;
        }),
        heatingRoom([](Constraints& k) {
            k.heightMm = 120, k.maxPressureDropPa = 2000, k.maxCount = 2, k.fanAllowed = false;
        }),
        heatingRoom([](Constraints& k) { k.maxCount = 1; }),
    };
    for (const Request& r : cases) {
        SCOPED_TRACE(&r - cases);
        const auto expected = bruteForce(r);
        const auto found = size(installation(), r).candidates;
        ASSERT_FALSE(expected.empty());
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_EQ(describe(found[i]), describe(expected[i])) << "line " << i;
    }
}

// The series' own steps or stages (rpm, or m³/h for primary air); the water-cooling fans cannot
// run below their lowest speed, not even in heating. The cooling air of a primary-air unit ends
// at its limit per length, a setting of its own.
TEST(Sizing, SettingsAreTheSeriesOwnStepsOrStages)
{
    struct Case
    {
        const char* type;
        Mode mode;
        double lengthMm;
        bool fan;
        std::vector<double> speeds;
    };
    const Case cases[] = {
        {"WF1", Mode::Heating, 1250, true, {0, 700, 840, 980, 1120, 1260, 1400}},
        {"WF1", Mode::Heating, 1250, false, {0}},
        {"WFW-2L", Mode::Heating, 1250, true, {700, 800, 960, 1120, 1280, 1440, 1600}},
        {"WFW-2L", Mode::Heating, 1250, false, {}},
        {"WFWL-2L", Mode::Cooling, 1250, true, {345, 517.5, 575, 632.5, 747.5, 862.5, 1150}},
        {"DWF", Mode::Heating, 1100, true, {0, 700, 1000, 1400}},
        {"DWF", Mode::Cooling, 1100, true, {700, 1000, 1400}},
        {"WNF2", Mode::Heating, 1250, true, {0, 30, 60, 90, 120, 150, 180, 210, 240}},
        {"WNF1",
         Mode::Cooling,
         1250,
         true,
         {30, 60, 90, 120, 150, series::coolingAirFlowLimit("WNF1", 1250)}},
        {"W1", Mode::Heating, 1000, true, {0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.mode == Mode::Heating ? " heating" : " cooling"));
        std::vector<double> got;
        for (const Setting& s :
             settingsOf(c.type, std::string(c.type).starts_with("W1"), c.mode, c.lengthMm, c.fan))
            got.push_back(s.kind == SettingKind::AirFlow ? s.airFlowM3PerH : s.speedRpm);
        EXPECT_EQ(got, c.speeds);
    }
    // The name an entry keeps: heating the first ten characters, cooling up to the first blank.
    EXPECT_EQ(entryTypeName("WFW-2L Zweileiter", Mode::Heating), "WFW-2L Zwe");
    EXPECT_EQ(entryTypeName("WFW-2L Zweileiter", Mode::Cooling), "WFW-2L");
}

// A room's request continues from its last entry: the mass flow it was given, or its return
// temperature when that was the held quantity.
TEST(Sizing, TheRoomsRequestContinuesFromItsLastEntry)
{
    ProjectRecord p;
    p.HeatingFlowTemp = 70, p.HeatingRoomTemp = 20, p.HeatingDemand = 1800;
    p.HeatingEntryCount = 1;
    HeatingEntry& last = p.HeatingEntries[0];
    last.InUse = true, last.Count = 1, last.Output = 300, last.MassFlow = 40, last.ReturnTemp = 50;
    for (int held : {0, 1}) {
        p.ReturnTempFixed = held;
        const Request r = roomRequest(p, Mode::Heating);
        EXPECT_DOUBLE_EQ(r.demandW, 1500);
        EXPECT_EQ(r.maxMassFlowKgPerH, held ? std::nullopt : std::optional(40.0));
        EXPECT_EQ(r.returnTempC, held ? std::optional(50.0) : std::nullopt);
    }
}

// A unit stays inside the windows the calculation window keeps: the return temperature window
// starts 15 K above the room at the latest and gives no output at the flow temperature; a mass
// flow beyond the window's end runs at the end, one below its start is refused.
TEST(Sizing, AUnitStaysInsideTheWindowsTheCalculationWindowKeeps)
{
    const TypeRecord& w1 = installation().freeTypes.front();
    const auto rate = [&](std::optional<double> returnTemp, std::optional<double> massFlow) {
        Request r = heatingRoom();
        r.returnTempC = returnTemp, r.maxMassFlowKgPerH = massFlow;
        return rateUnit(w1, true, 1000, {120, 1}, {}, r);
    };
    EXPECT_TRUE(rate(55, {}));
    EXPECT_FALSE(rate(25, {}));
    EXPECT_FALSE(rate(70, {}));
    EXPECT_FALSE(rate({}, 1));
    const auto atEnd = rate({}, 100000);
    ASSERT_TRUE(atEnd);
    const auto point = engine::rateConvector({.type = {atEnd->typeName, w1.dataLine, w1.fanLine},
                                              .freeConvection = true,
                                              .lengthMm = 1000,
                                              .Tv = 70,
                                              .Ti = 20,
                                              .given = engine::Given::ReturnTemp,
                                              .givenValue = 55});
    EXPECT_DOUBLE_EQ(atEnd->massFlowKgPerH, point.limits.massFlowEnd);
}

TEST(Sizing, FewestUnitsReachTheDemandExactly)
{
    Request r =
        heatingRoom([](Constraints& k) { k.series = {"W1"}, k.maxLengthMm = 1000, k.heightMm = 120; });
    const auto all = size(installation(), r).candidates;
    ASSERT_FALSE(all.empty());
    double strongest = 0;
    for (const Candidate& c : all)
        strongest = std::max(strongest, c.outputW);
    // A demand of exactly three of the strongest units takes three, a little more four.
    r.demandW = 3 * strongest;
    EXPECT_EQ(size(installation(), r).candidates.front().count, 3);
    r.demandW *= 1.000001;
    EXPECT_EQ(size(installation(), r).candidates.front().count, 4);
    r.constraints.maxCount = 3;
    EXPECT_TRUE(size(installation(), r).candidates.empty());
    r.demandW = 0;
    EXPECT_TRUE(size(installation(), r).candidates.empty());
}

TEST(Sizing, CoolingNamesTheDewPointLimitAndNeedsTheFan)
{
    Request r;
    r.mode = Mode::Cooling;
    r.demandW = 500, r.flowTempC = 14, r.roomTempC = 26, r.humidityPercent = 60, r.returnTempC = 17;
    const Outcome outcome = size(installation(), r);
    // Dew point of 26 °C at 60 % is about 17.6 °C: a flow of 14 °C is far below its limit.
    EXPECT_NEAR(outcome.dewPointC, 17.6, 0.3);
    EXPECT_TRUE(outcome.flowBelowDewPointLimit);
    EXPECT_FALSE(outcome.candidates.empty());
    r.constraints.fanAllowed = false;
    EXPECT_TRUE(size(installation(), r).candidates.empty());
}

} // namespace
} // namespace tepa::sizing
