#include "core/calculation/RoomList.h"

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
// dual use adds the other mode's running rating.
TEST(RoomList, LinesOfEverySeriesInBothModes)
{
    struct Case
    {
        const char* what;
        ProjectRecord project;
        bool heating, dualUse;
        std::vector<std::string> lines;
    };
    const Row w1{"W1", 200, 1000, 2, 60, 27.29, 0, 12.4, 0, 476.44, 0, 100};
    const Row wf2{"WF2", 140, 1250, 1, 55, 120.6, 1120, 1534.6, 35.4, 812.5};
    const Row wfw{"WFW-2L", 140, 1250, 2, 18, 85, 1600, 2345, 38, 650, 0, 900};
    const Case cases[] = {
        {"heating: free, fan, slow fan with wide numbers",
         room(true, {w1, wf2, {"WFWL-4L Vi", 90, 2000, 3, 50, 1234.5, 805, 123456, 40, 1000}}),
         true,
         false,
         {" 1 W1      200 1000  2 60    27  --- ---     12   0   476    953    953",
          " 2 WF2     140 1250  1 55   121  ---  80   1535  35   813    813   1765",
          " 3 WFWL-4L Vi  90 2000  3 50  1235  ---  70 123456  40  1000   3000   4765"}},
        {"heating dual use",
         room(true, {w1, wf2}),
         true,
         true,
         {" 1 W1      200 1000  2 60    27  --- ---     12   0   476    953    953       200",
          " 2 WF2     140 1250  1 55   121  ---  80   1535  35   813    813   1765       200"}},
        {"heating: primary air shows its air flow, a stage 1400/14 + 0.2",
         room(true, {{"WNF2", 140, 1350, 1, 60, 10, 700, 100, 30, 500, 62},
                     {"DWF", 250, 1100, 1, 60, 10, 1400, 100, 30, 500}}),
         true,
         false,
         {" 1 WNF2    140 1350  1 60    10   62 ---    100  30   500    500    500",
          " 2 DWF     250 1100  1 60    10  --- 100    100  30   500    500   1000"}},
        {"cooling: fan, primary air, stage",
         room(false, {{"WFW-2L", 140, 1250, 2, 18, -85.4, 1600, 2345, -38.2, 650},
                      {"WNF2", 140, 1350, 1, 18, 0, 0, 0, 0, 300, 120},
                      {"DWF", 250, 1100, 1, 18, 40, 1000, 900, 33, 400}}),
         false,
         false,
         {" 1 WFW-2L  140 1250  2 18    85  --- 100   2345  38    650  1300   1300",
          " 2 WNF2    140 1350  1 18   ---  120 ----  ---  ---    300   300   1600",
          " 3 DWF     250 1100  1 18    40  ---  72    900  33    400   400   2000"}},
        {"cooling dual use",
         room(false, {wfw, {"WFW-2L", 140, 1250, 1, 18, 85, 1600, 2345, 38, 650, 0, 1000}}),
         false,
         true,
         {" 1 WFW-2L  140 1250  2 18    85  --- 100   2345  38    650  1300   1300     1800",
          " 2 WFW-2L  140 1250  1 18    85  --- 100   2345  38    650   650   1950     2800"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RoomListView view =
            roomList(c.project, c.heating, c.heating && c.dualUse, !c.heating && c.dualUse);
        EXPECT_EQ(view.lines, c.lines);
    }
}

// The cooling total against the demand (equal counts as covered) and the notes of the series
// listed; an empty list leaves the total as it was.
TEST(RoomList, CoolingTotalAndSeriesNotes)
{
    struct Case
    {
        ProjectRecord project;
        bool totalShown, covered, fanNotes, airNotes;
        const char* total;
    };
    const Row fan{"WFW-2L", 140, 1250, 2, 18, 85, 1600, 2345, 38, 650};
    const Row air{"WNF1", 140, 1350, 1, 18, 0, 0, 0, 0, 300};
    const Case cases[] = {
        {room(false, {fan}, 1300), true, true, true, false, " 1300"},
        {room(false, {fan}, 1301), true, false, true, false, " 1300"},
        {room(false, {air}, 100), true, true, false, true, "  300"},
        {room(false, {}, 100), false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        const RoomListView view = roomList(c.project, false, false, false);
        EXPECT_EQ(view.coolingTotalShown, c.totalShown);
        EXPECT_EQ(view.coolingDemandCovered, c.covered);
        EXPECT_EQ(view.fanNotesShown, c.fanNotes);
        EXPECT_EQ(view.primaryAirNotesShown, c.airNotes);
        EXPECT_EQ(view.coolingTotalText, c.total);
    }
}

} // namespace
} // namespace tepa::calculation
