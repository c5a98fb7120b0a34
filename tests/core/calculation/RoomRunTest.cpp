#include "core/calculation/RoomRun.h"

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

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
