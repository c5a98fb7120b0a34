#include "core/calculation/RoomRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

TEST(RoomRun, RangeChecks)
{
    struct Case
    {
        bool heating;
        double room, flow;
        RunStop stop;
    };
    const Case cases[] = {
        {true, 20, 75, RunStop::None},        {true, 40, 40, RunStop::None},
        {true, 0, 110, RunStop::None},        {true, 40.1, 75, RunStop::RoomTemp},
        {true, -0.1, 75, RunStop::RoomTemp},  {true, 20, 39.9, RunStop::FlowTemp},
        {true, 20, 110.1, RunStop::FlowTemp}, {true, 41, 30, RunStop::RoomTemp},
        {false, 26, 16, RunStop::None},       {false, 40, 25, RunStop::None},
        {false, 0, 5, RunStop::None},         {false, 40.5, 16, RunStop::RoomTemp},
        {false, -1, 16, RunStop::RoomTemp},   {false, 30, 25.5, RunStop::FlowTemp},
        {false, 26, 4.9, RunStop::FlowTemp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heating << " " << c.room << " " << c.flow);
        ProjectRecord p;
        (c.heating ? p.HeatingRoomTemp : p.CoolingRoomTemp) = c.room;
        (c.heating ? p.HeatingFlowTemp : p.CoolingFlowTemp) = c.flow;
        EXPECT_EQ(c.heating ? heatingChecks(p) : coolingChecks(p), c.stop);
    }
    EXPECT_EQ(stopText(RunStop::RoomTemp), 70u);
    EXPECT_EQ(stopText(RunStop::FlowTemp), 73u);
    EXPECT_EQ(stopText(RunStop::CoolingFlowAboveRoom), 169u);

    // A cooling flow above the room gets a proposal.
    ProjectRecord p;
    p.CoolingRoomTemp = 20, p.CoolingFlowTemp = 22;
    EXPECT_EQ(coolingFlowCheck(p), RunStop::CoolingFlowAboveRoom);
    EXPECT_EQ(proposedCoolingFlow(p), "16.0");
    p.CoolingFlowTemp = 20;
    EXPECT_EQ(coolingFlowCheck(p), RunStop::None);
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

// Changed room data are asked about once the list has an entry; accepted, every entry is
// recalculated and return temperatures above their new window are lowered to its end; rejected,
// the changed values return to the ones known before.
TEST(RoomRun, ChangedRoomData)
{
    struct Case
    {
        const char* what;
        bool firstInUse;
        bool demand, flow, room;
        bool asks;
        std::vector<int> lowered;
        RoomValues afterRejecting; // typed 2500 W, 70 °C, 22 °C; known before 2000 W, 75 °C, 20 °C
    };
    const Case cases[] = {
        {"nothing changed", true, false, false, false, false, {}, {2500, 70, 22}},
        {"no entry yet", false, true, true, true, false, {}, {2000, 75, 20}},
        {"the demand alone leaves the entries", true, true, false, false, true, {}, {2000, 70, 22}},
        // A changed heating flow temperature recalculates every entry, not entry 1 only.
        {"the flow temperature", true, false, true, false, true, {1, 3}, {2500, 75, 22}},
        {"the room temperature", true, false, false, true, true, {1, 3}, {2500, 70, 20}},
    };
    const std::vector<std::string> every = {"limits 1", "update 1", "limits 2",
                                            "update 2", "limits 3", "update 3"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool accept : {true, false}) {
            Session s;
            ProjectRecord& p = s.Project;
            p.HeatingDemand = 2500, p.HeatingFlowTemp = 70, p.HeatingRoomTemp = 22;
            p.HeatingEntryCount = 3;
            p.HeatingEntries[0].InUse = c.firstInUse;
            for (std::size_t i = 0; i < 3; ++i)
                p.HeatingEntries[i].ReturnTemp = 60;
            s.DemandChanged = c.demand, s.FlowTempChanged = c.flow, s.RoomTempChanged = c.room;
            EXPECT_EQ(asksChangedRoomData(s), c.asks);
            if (accept && !c.asks)
                continue;
            if (accept) {
                PortDouble port(p);
                EXPECT_EQ(acceptRoomDataChange(s, port), c.lowered);
                EXPECT_EQ(port.calls, c.lowered.empty() ? std::vector<std::string>{} : every);
                const bool recalculated = !c.lowered.empty();
                EXPECT_EQ(p.HeatingEntries[0].ReturnTemp, recalculated ? 55 : 60);
                EXPECT_EQ(p.HeatingEntries[2].ReturnTemp, recalculated ? 58.5 : 60);
            } else {
                rejectRoomDataChange(s, RoomValues{2000, 75, 20});
                const RoomValues after = heatingRoomValues(p);
                EXPECT_EQ(after.demand, c.afterRejecting.demand);
                EXPECT_EQ(after.flowTemp, c.afterRejecting.flowTemp);
                EXPECT_EQ(after.roomTemp, c.afterRejecting.roomTemp);
            }
            EXPECT_FALSE(s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged);
        }
    }
    // Without known values the typed ones stay.
    Session s;
    s.Project.HeatingDemand = 2500;
    s.DemandChanged = true;
    rejectRoomDataChange(s, std::nullopt);
    EXPECT_EQ(heatingRoomValues(s.Project).demand, 2500);
    EXPECT_EQ(loweredReturnTempMessage(3, "zu hoch"), "Konvektor Nr 3   zu hoch");
}

} // namespace
} // namespace tepa::calculation
