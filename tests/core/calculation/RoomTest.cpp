#include "core/calculation/RoomList.h"
#include "core/calculation/RoomRun.h"

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// The room's list of entries and the runs over its data.

namespace tepa::calculation {
namespace {

// A room whose heating or cooling list holds the entries of a step line, twelve words each.
ProjectRecord room(const std::vector<std::string>& w)
{
    ProjectRecord p;
    const bool heating = w[0] == "heating";
    p.CoolingDemand = std::stod(w[1]);
    std::size_t i = 0;
    for (std::size_t k = 2; k < w.size(); k += 12, ++i) {
        const auto number = [&w, k](std::size_t j) { return std::stod(w[k + j]); };
        auto fill = [&](auto& e) {
            e.TypeName.setText(w[k]);
            e.Height = number(1), e.Length = number(2), e.Count = std::stoi(w[k + 3]), e.ReturnTemp = number(4);
            e.MassFlow = number(5), e.FanSpeed = number(6), e.PressureDrop = number(7), e.SoundLevel = number(8);
            e.Output = number(9), e.FanSetting = number(10);
        };
        if (heating) {
            fill(p.HeatingEntries[i]);
            p.HeatingEntries[i].CoolingNominalOutput = number(11);
        } else {
            fill(p.CoolingEntries[i]);
            p.CoolingEntries[i].HeatingNominalOutput = number(11);
        }
    }
    (heating ? p.HeatingEntryCount : p.CoolingEntryCount) = static_cast<int>(i);
    return p;
}

// Fixed columns per series; numbers wider than their column take the room they need; a name of
// eight characters or more is followed by one space; the running totals count units × output;
// dual use adds the other mode's running rating. In cooling the total against the demand (equal
// counts as covered) and the notes of the series listed; an empty list leaves the total as it was.
TEST(RoomList, LinesTotalsAndNotesOfEverySeries)
{
    test::Golden golden;
    for (const std::vector<std::string>& w : test::stepLines("calculation/RoomList.steps.txt"))
        for (bool dualUse : {false, true}) {
            const bool heating = w[0] == "heating";
            const RoomListView v = roomList(room(w), heating, heating && dualUse, !heating && dualUse);
            golden(w[0], dualUse, std::stod(w[1]), v.coolingTotalShown, v.coolingTotalText,
                   v.coolingDemandCovered, v.fanNotesShown, v.primaryAirNotesShown);
            for (const std::string& line : v.lines)
                golden("  line", line);
        }
}

// The room and flow temperatures a run accepts, on either side of each limit.
TEST(RoomRun, RangeChecks)
{
    test::Golden golden;
    for (bool heating : {true, false})
        for (double room : {-1.0, -0.1, 0.0, 20.0, 26.0, 40.0, 40.1, 41.0}) {
            std::vector<int> stops;
            for (double flow : {4.9, 5.0, 16.0, 25.0, 25.5, 30.0, 39.9, 40.0, 75.0, 110.0, 110.1}) {
                ProjectRecord p;
                (heating ? p.HeatingRoomTemp : p.CoolingRoomTemp) = room;
                (heating ? p.HeatingFlowTemp : p.CoolingFlowTemp) = flow;
                stops.push_back(static_cast<int>(heating ? heatingChecks(p) : coolingChecks(p)));
            }
            golden(heating ? "heating" : "cooling", room, stops);
        }
    golden("texts", stopText(RunStop::RoomTemp), stopText(RunStop::FlowTemp),
           stopText(RunStop::CoolingFlowAboveRoom));
    // A cooling flow above the room gets a proposal.
    ProjectRecord p;
    p.CoolingRoomTemp = 20;
    for (double flow : {22.0, 20.0}) {
        p.CoolingFlowTemp = flow;
        golden("cooling flow", flow, coolingFlowCheck(p), proposedCoolingFlow(p));
    }
}

// Stands in for the calculation window: the new upper end of each entry's return temperature
// window is what `update_grenzen` would compute at the changed room data.
struct PortDouble : CalculationPort
{
    ProjectRecord& project;
    std::vector<std::string> calls;
    explicit PortDouble(ProjectRecord& p)
        : project(p)
    {}
    void updateLimits(int i) override
    {
        calls.push_back("limits " + std::to_string(i));
        const double upperEnds[] = {55, 60, 58.5};
        project.HeatingEntries[static_cast<std::size_t>(i - 1)].ReturnTempEnd = upperEnds[i - 1];
    }
    void recalculate(int i) override { calls.push_back("update " + std::to_string(i)); }
};

// Changed room data are asked about once the list has an entry. Accepted, every entry is
// recalculated (not entry 1 only) and return temperatures above their new window are lowered to
// its end; rejected, the changed values return to the ones known before (2000 W, 75 °C, 20 °C).
TEST(RoomRun, ChangedRoomData)
{
    test::Golden golden;
    for (bool firstInUse : {false, true})
        for (int changed = 0; changed < 8; ++changed)
            for (int answer : {0, 1, 2}) { // accept, reject, reject without known values
                Session s;
                ProjectRecord& p = s.Project;
                p.HeatingDemand = 2500, p.HeatingFlowTemp = 70, p.HeatingRoomTemp = 22;
                p.HeatingEntryCount = 3;
                p.HeatingEntries[0].InUse = firstInUse;
                for (std::size_t i = 0; i < 3; ++i)
                    p.HeatingEntries[i].ReturnTemp = 60;
                s.DemandChanged = changed & 1, s.FlowTempChanged = changed & 2,
                s.RoomTempChanged = changed & 4;
                golden("changed", firstInUse, changed, answer, asksChangedRoomData(s));
                if (answer == 0) {
                    PortDouble port(p);
                    golden("  accepted", acceptRoomDataChange(s, port), port.calls,
                           p.HeatingEntries[0].ReturnTemp, p.HeatingEntries[1].ReturnTemp,
                           p.HeatingEntries[2].ReturnTemp);
                } else {
                    rejectRoomDataChange(s, answer == 1 ? std::optional(RoomValues{2000, 75, 20})
                                                        : std::nullopt);
                    const RoomValues after = heatingRoomValues(p);
                    golden("  rejected", after.demand, after.flowTemp, after.roomTemp);
                }
                EXPECT_FALSE(s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged);
            }
}

} // namespace
} // namespace tepa::calculation
