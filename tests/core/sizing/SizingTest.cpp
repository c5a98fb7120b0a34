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

Request heatingRoom()
{
    Request r;
    r.demandW = 1800;
    r.flowTempC = 70;
    r.roomTempC = 20;
    r.returnTempC = 55;
    return r;
}

// Every type, length, height, setting and count 1..limit, rated unit by unit; kept when it meets
// the demand and the constraints; per configuration the fewest units; sorted by the stated rule
// with the order of enumeration last.
std::vector<Candidate> bruteForce(const Request& r)
{
    struct Row
    {
        Candidate c;
        std::size_t order;
    };
    std::vector<Row> rows;
    const Constraints& k = r.constraints;
    for (bool free : {true, false}) {
        if (free && r.mode == Mode::Cooling)
            continue;
        for (const TypeRecord& type : free ? installation().freeTypes : installation().forcedTypes) {
            const std::string name = entryTypeName(type.name, r.mode);
            if (r.mode == Mode::Cooling && !series::canCool(series::seriesOf(name)))
                continue;
            if (!k.series.empty() &&
                std::none_of(k.series.begin(), k.series.end(),
                             [&](const std::string& code) { return name.find(code) != std::string::npos; }))
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
                            rows.push_back({*unit, rows.size()});
                            break; // more units of the same configuration are never better
                        }
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::make_tuple(a.c.count, a.c.count * a.c.lengthMm, a.c.soundLevelDb, a.order) <
               std::make_tuple(b.c.count, b.c.count * b.c.lengthMm, b.c.soundLevelDb, b.order);
    });
    std::vector<Candidate> out;
    for (const Row& row : rows)
        out.push_back(row.c);
    return out;
}

std::string describe(const Candidate& c)
{
    return c.typeName + " " + std::to_string(c.lengthMm) + "x" + std::to_string(c.heightMm) + " @" +
           std::to_string(c.speedRpm) + "/" + std::to_string(c.airFlowM3PerH) + " n" +
           std::to_string(c.count);
}

TEST(Sizing, SearchListsWhatABruteForceEnumerationFindsInTheSameOrder)
{
    struct Case
    {
        const char* what;
        Request request;
    };
    Request cooling;
    cooling.mode = Mode::Cooling;
    cooling.demandW = 1500;
    cooling.flowTempC = 16;
    cooling.roomTempC = 26;
    cooling.returnTempC = 18;
    cooling.constraints.maxCount = 6;
    Request byFlow = heatingRoom();
    byFlow.returnTempC.reset();
    byFlow.maxMassFlowKgPerH = 60;
    byFlow.constraints.maxCount = 4;
    Request limited = heatingRoom();
    limited.constraints.series = {"W2", "WF"};
    limited.constraints.maxLengthMm = 2000;
    limited.constraints.maxSoundDb = 40;
    limited.constraints.maxCount = 3;
    Request quiet = heatingRoom();
    quiet.demandW = 900;
    quiet.constraints.heightMm = 120;
    quiet.constraints.maxPressureDropPa = 2000;
    quiet.constraints.maxCount = 2;
    quiet.constraints.fanAllowed = false;
    Request tinyCount = heatingRoom();
    tinyCount.constraints.maxCount = 1;
    const Case cases[] = {{"heating, return temperature", heatingRoom()},
                          {"heating, mass flow", byFlow},
                          {"cooling", cooling},
                          {"series, length, sound", limited},
                          {"height, pressure drop, no fan", quiet},
                          {"one unit", tinyCount}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto expected = bruteForce(c.request);
        const auto found = size(installation(), c.request).candidates;
        ASSERT_FALSE(expected.empty());
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_EQ(describe(found[i]), describe(expected[i])) << "line " << i;
    }
}

TEST(Sizing, SettingsAreTheSeriesOwnStepsOrStages)
{
    struct Case
    {
        const char* type;
        Mode mode;
        double lengthMm;
        bool fan;
        std::vector<double> speeds; // rpm, or m³/h for primary air
    };
    const Case cases[] = {
        {"WF1", Mode::Heating, 1250, true, {0, 700, 840, 980, 1120, 1260, 1400}},
        {"WF1", Mode::Heating, 1250, false, {0}},
        // The water-cooling fans cannot run below their lowest speed, not even in heating.
        {"WFW-2L", Mode::Heating, 1250, true, {700, 800, 960, 1120, 1280, 1440, 1600}},
        {"WFW-2L", Mode::Heating, 1250, false, {}},
        {"WFWL-2L", Mode::Cooling, 1250, true, {345, 517.5, 575, 632.5, 747.5, 862.5, 1150}},
        {"DWF", Mode::Heating, 1100, true, {0, 700, 1000, 1400}},
        {"DWF", Mode::Cooling, 1100, true, {700, 1000, 1400}},
        {"WNF2", Mode::Heating, 1250, true, {0, 30, 60, 90, 120, 150, 180, 210, 240}},
        {"W1", Mode::Heating, 1000, true, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.mode == Mode::Heating ? " heating" : " cooling"));
        std::vector<double> got;
        for (const Setting& s :
             settingsOf(c.type, std::string(c.type).starts_with("W1"), c.mode, c.lengthMm, c.fan))
            got.push_back(s.kind == SettingKind::AirFlow ? s.airFlowM3PerH : s.speedRpm);
        EXPECT_EQ(got, c.speeds);
    }
    // The cooling air of a primary-air unit ends at its limit per length, a setting of its own.
    const auto air = settingsOf("WNF1", false, Mode::Cooling, 1250, true);
    ASSERT_FALSE(air.empty());
    EXPECT_DOUBLE_EQ(air.back().airFlowM3PerH, series::coolingAirFlowLimit("WNF1", 1250));
}

TEST(Sizing, AUnitStaysInsideTheWindowsTheCalculationWindowKeeps)
{
    const TypeRecord& w1 = installation().freeTypes.front();
    Request r = heatingRoom();
    const Unit height{120, 1};
    const Setting none{};
    const auto inside = rateUnit(w1, true, 1000, height, none, r);
    ASSERT_TRUE(inside);
    // The window starts 15 K above the room temperature at the latest.
    r.returnTempC = r.roomTempC + 5;
    EXPECT_FALSE(rateUnit(w1, true, 1000, height, none, r)) << "return temperature below the window";
    r.returnTempC = r.flowTempC;
    EXPECT_FALSE(rateUnit(w1, true, 1000, height, none, r)) << "no output at the flow temperature";

    // A mass flow beyond the window's end runs at the end; one below its start is refused.
    r = heatingRoom();
    r.returnTempC.reset();
    r.maxMassFlowKgPerH = 100000;
    const auto atEnd = rateUnit(w1, true, 1000, height, none, r);
    ASSERT_TRUE(atEnd);
    const auto point = engine::rateConvector({.type = {atEnd->typeName, w1.dataLine, w1.fanLine},
                                              .freeConvection = true,
                                              .lengthMm = 1000,
                                              .Tv = 70,
                                              .Ti = 20,
                                              .given = engine::Given::ReturnTemp,
                                              .givenValue = 55});
    EXPECT_DOUBLE_EQ(atEnd->massFlowKgPerH, point.limits.massFlowEnd);
    r.maxMassFlowKgPerH = 1;
    EXPECT_FALSE(rateUnit(w1, true, 1000, height, none, r));
}

TEST(Sizing, FewestUnitsReachTheDemandExactly)
{
    Request r = heatingRoom();
    r.constraints.series = {"W1"};
    r.constraints.maxLengthMm = 1000;
    r.constraints.heightMm = 120;
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
    r.demandW = 500;
    r.flowTempC = 14;
    r.roomTempC = 26;
    r.humidityPercent = 60;
    r.returnTempC = 17;
    const Outcome outcome = size(installation(), r);
    // Dew point of 26 °C at 60 % is about 17.6 °C: a flow of 14 °C is far below its limit.
    EXPECT_NEAR(outcome.dewPointC, 17.6, 0.3);
    EXPECT_TRUE(outcome.flowBelowDewPointLimit);
    EXPECT_FALSE(outcome.candidates.empty());
    for (const Candidate& c : outcome.candidates)
        EXPECT_TRUE(series::canCool(series::seriesOf(c.typeName))) << c.typeName;
    r.constraints.fanAllowed = false;
    EXPECT_TRUE(size(installation(), r).candidates.empty());
}

} // namespace
} // namespace tepa::sizing
