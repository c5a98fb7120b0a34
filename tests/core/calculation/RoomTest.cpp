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

struct Row
{
    const char* name;
    double height, length;
    int count;
    double tr, m, speed, dp, lpa, q;
    double fanSetting = 0;
    double otherModeOutput = 0;
};

// A room whose heating or cooling list holds `rows`.
ProjectRecord room(bool heating, std::vector<Row> rows, double coolingDemand = 0)
{
    ProjectRecord p;
    std::size_t i = 0;
    for (const Row& r : rows) {
        auto fill = [&r](auto& e) {
            e.TypeName.setText(r.name);
            e.Height = r.height, e.Length = r.length, e.Count = r.count, e.ReturnTemp = r.tr;
            e.MassFlow = r.m, e.FanSpeed = r.speed, e.PressureDrop = r.dp, e.SoundLevel = r.lpa;
            e.Output = r.q, e.FanSetting = r.fanSetting;
        };
        if (heating) {
            fill(p.HeatingEntries[i]);
            p.HeatingEntries[i].CoolingNominalOutput = r.otherModeOutput;
        } else {
            fill(p.CoolingEntries[i]);
            p.CoolingEntries[i].HeatingNominalOutput = r.otherModeOutput;
        }
        ++i;
    }
    (heating ? p.HeatingEntryCount : p.CoolingEntryCount) = static_cast<int>(i);
    p.CoolingDemand = coolingDemand;
    return p;
}

// Fixed columns per series; numbers wider than their column take the room they need; a name of
// eight characters or more is followed by one space; the running totals count units × output;
// dual use adds the other mode's running rating. In cooling the total against the demand (equal
// counts as covered) and the notes of the series listed; an empty list leaves the total as it was.
TEST(RoomList, LinesTotalsAndNotesOfEverySeries)
{
    const Row w1{"W1", 200, 1000, 2, 60, 27.29, 0, 12.4, 0, 476.44, 0, 100};
    const Row wf2{"WF2", 140, 1250, 1, 55, 120.6, 1120, 1534.6, 35.4, 812.5};
    const Row wfw{"WFW-2L", 140, 1250, 2, 18, 85, 1600, 2345, 38, 650, 0, 900};
    const Row wnf{"WNF2", 140, 1350, 1, 60, 10, 700, 100, 30, 500, 62};
    const Row dwf{"DWF", 250, 1100, 1, 60, 10, 1400, 100, 30, 500};
    struct Case
    {
        bool heating;
        std::vector<Row> rows;
        double coolingDemand = 0;
    };
    const Case cases[] = {
        {true, {w1, wf2, {"WFWL-4L Vi", 90, 2000, 3, 50, 1234.5, 805, 123456, 40, 1000}}},
        {true, {wnf, dwf}}, // primary air shows its air flow, a stage 1400/14 + 0.2
        {false,
         {{"WFW-2L", 140, 1250, 2, 18, -85.4, 1600, 2345, -38.2, 650},
          {"WNF2", 140, 1350, 1, 18, 0, 0, 0, 0, 300, 120},
          {"DWF", 250, 1100, 1, 18, 40, 1000, 900, 33, 400}},
         2000},
        {false, {wfw, {"WFW-2L", 140, 1250, 1, 18, 85, 1600, 2345, 38, 650, 0, 1000}}, 1950},
        {false, {wfw}, 1301},
        {false, {{"WNF1", 140, 1350, 1, 18, 0, 0, 0, 0, 300}}, 100},
        {false, {}, 100}};
    test::Golden golden;
    for (const Case& c : cases)
        for (bool dualUse : {false, true}) {
            const RoomListView v = roomList(room(c.heating, c.rows, c.coolingDemand), c.heating,
                                            c.heating && dualUse, !c.heating && dualUse);
            golden(c.heating ? "heating" : "cooling", dualUse, c.coolingDemand, v.coolingTotalShown,
                   v.coolingTotalText, v.coolingDemandCovered, v.fanNotesShown, v.primaryAirNotesShown);
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
    EXPECT_EQ(loweredReturnTempMessage(3, "zu hoch"), "Konvektor Nr 3   zu hoch");
}

} // namespace
} // namespace tepa::calculation
