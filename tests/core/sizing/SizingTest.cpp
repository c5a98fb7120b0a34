#include "core/sizing/Sizing.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tepa::sizing {
namespace {

using engine::Mode;

const Catalog& installation()
{
    static const Catalog catalog = loadCatalog(TEPA_TEST_DATA_DIR "/install", '.').value();
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

// The candidates of each request, best first: the fewest units of each configuration meeting
// the demand and the constraints, by count, total length and sound level.
TEST(Sizing, CandidatesOfEachRequest)
{
    tepa::test::Golden golden("sizing");
    Request cooling;
    cooling.mode = Mode::Cooling;
    cooling.demandW = 1500, cooling.flowTempC = 16, cooling.roomTempC = 26, cooling.returnTempC = 18;
    cooling.constraints.maxCount = 6;
    Request dewPoint = cooling;
    dewPoint.demandW = 500, dewPoint.flowTempC = 14, dewPoint.humidityPercent = 60, dewPoint.returnTempC = 17;
    Request noFan = dewPoint;
    noFan.constraints.fanAllowed = false;
    Request byFlow = heatingRoom([](Constraints& k) { k.maxCount = 4; });
    byFlow.returnTempC.reset();
    byFlow.maxMassFlowKgPerH = 60;
    const Request requests[] = {
        heatingRoom(),
        byFlow,
        cooling,
        dewPoint,
        noFan,
        heatingRoom([](Constraints& k) {
            k.series = {"W2", "WF"}, k.maxLengthMm = 2000, k.maxSoundDb = 40, k.maxCount = 3;
        }),
        heatingRoom([](Constraints& k) {
            k.heightMm = 120, k.maxPressureDropPa = 2000, k.maxCount = 2, k.fanAllowed = false;
        }),
        heatingRoom([](Constraints& k) { k.maxCount = 1; }),
    };
    for (const Request& r : requests) {
        const Outcome outcome = size(installation(), r);
        golden("request", r.mode, r.demandW, r.constraints.maxCount, outcome.candidates.size(),
               outcome.dewPointC, outcome.flowBelowDewPointLimit);
        // The best twelve and the last one.
        for (std::size_t i = 0; i < outcome.candidates.size(); ++i) {
            const Candidate& c = outcome.candidates[i];
            if (i < 12 || i + 1 == outcome.candidates.size())
                golden("  ", c.typeName, c.lengthMm, c.heightMm, c.speedRpm, c.airFlowM3PerH, c.count,
                       c.outputW, c.soundLevelDb, c.pressureDropPa);
        }
    }

    // The fewest units reach the demand exactly: three of the strongest W1 take 3000 W, a little
    // more takes four, more than the limit none, and no demand asks for nothing.
    Request w1 =
        heatingRoom([](Constraints& k) { k.series = {"W1"}, k.maxLengthMm = 1000, k.heightMm = 120; });
    double strongest = 0;
    for (const Candidate& c : size(installation(), w1).candidates)
        strongest = std::max(strongest, c.outputW);
    for (double demand : {3 * strongest, 3 * strongest * 1.000001, 0.0}) {
        w1.demandW = demand;
        w1.constraints.maxCount = Constraints{}.maxCount;
        const auto found = size(installation(), w1).candidates;
        w1.constraints.maxCount = 3;
        golden("W1 demand", demand / strongest, found.empty() ? 0 : found.front().count,
               size(installation(), w1).candidates.size());
    }
}

TEST(Sizing, SettingsNamesAndRequestsOfTheRoom)
{
    tepa::test::Golden golden("sizing");
    for (const std::vector<std::string>& w : tepa::test::stepLines("sizing/Settings.steps.txt")) {
        const Mode mode = w[1] == "cooling" ? Mode::Cooling : Mode::Heating;
        const double lengthMm = std::stod(w[2]);
        std::vector<double> settings;
        for (const Setting& s : settingsOf(w[0], w[0].starts_with("W1"), mode, lengthMm, w[3] == "1"))
            settings.push_back(s.kind == SettingKind::AirFlow ? s.airFlowM3PerH : s.speedRpm);
        golden(w[0].c_str(), mode, lengthMm, w[3] == "1", settings);
    }
    golden("names", entryTypeName("WFW-2L Zweileiter", Mode::Heating),
           entryTypeName("WFW-2L Zweileiter", Mode::Cooling));

    // A room's request continues from its last entry (its mass flow, or its return temperature when
    // held). A unit stays inside the calculation window's windows: a mass flow beyond the end runs at
    // the end, one below the start is refused.
    ProjectRecord p;
    p.HeatingFlowTemp = 70, p.HeatingRoomTemp = 20, p.HeatingDemand = 1800;
    p.HeatingEntryCount = 1;
    HeatingEntry& last = p.HeatingEntries[0];
    last.InUse = true, last.Count = 1, last.Output = 300, last.MassFlow = 40, last.ReturnTemp = 50;
    for (int held : {0, 1}) {
        p.ReturnTempFixed = held;
        const Request r = roomRequest(p, Mode::Heating);
        golden("room request", held, r.demandW, r.maxMassFlowKgPerH, r.returnTempC);
    }

    const TypeRecord& w1 = installation().freeTypes.front();
    using Given = std::pair<std::optional<double>, std::optional<double>>; // return temperature, mass flow
    for (const auto& [returnTemp, massFlow] : {Given{55, {}}, {25, {}}, {70, {}}, {{}, 1}, {{}, 100000}}) {
        Request r = heatingRoom();
        r.returnTempC = returnTemp, r.maxMassFlowKgPerH = massFlow;
        const auto unit = rateUnit(w1, true, 1000, {120, 1}, {}, r);
        golden("W1 unit", returnTemp, massFlow, unit.has_value(), unit ? unit->massFlowKgPerH : 0);
    }
}

} // namespace
} // namespace tepa::sizing
