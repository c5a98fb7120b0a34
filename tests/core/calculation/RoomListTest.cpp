#include "core/calculation/RoomList.h"

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

} // namespace
} // namespace tepa::calculation
