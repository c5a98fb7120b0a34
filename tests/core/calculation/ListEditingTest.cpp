#include "core/calculation/ListEditing.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

// An entry of either list: name, fan speed, fan setting, length; free convection without a fan.
struct Unit
{
    const char* name;
    double speed = 0;
    double setting = 0;
    double length = 1250;
};

// A room whose heating or cooling list holds `units`, entry k with count k and return 50 + k.
Session room(bool heating, std::vector<Unit> units)
{
    Session s;
    s.HeatingMode = heating;
    s.CoolingMode = !heating;
    int number = 0;
    for (const Unit& u : units) {
        const auto slot = static_cast<std::size_t>(number++);
        auto fill = [&](auto& e) {
            e.TypeName.setText(u.name);
            e.FanSpeed = u.speed, e.FanSetting = u.setting, e.Length = u.length;
            e.Count = number, e.ReturnTemp = 50 + number, e.InUse = true, e.HeightFactor = 1;
        };
        if (heating) {
            fill(s.Project.HeatingEntries[slot]);
            s.Project.HeatingEntries[slot].FreeConvection = u.speed == 0 && u.setting == 0;
        } else {
            fill(s.Project.CoolingEntries[slot]);
        }
    }
    (heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount) = number;
    return s;
}

// The entry count, the current index and the count of entry `slot` of the active list.
std::string listState(const Session& s, std::size_t slot)
{
    const ProjectRecord& p = s.Project;
    std::ostringstream out;
    out << (s.HeatingMode ? p.HeatingEntryCount : p.CoolingEntryCount) << " entries, current "
        << (s.HeatingMode ? s.HeatingEntryIndex : s.CoolingEntryIndex) << ", count "
        << (s.HeatingMode ? p.HeatingEntries[slot].Count : p.CoolingEntries[slot].Count);
    return out.str();
}

TEST(ListEditing, Appending)
{
    struct Case
    {
        bool heating;
        int entries;
        std::optional<int> typed;
        const char* state; // the list afterwards, with the count of entry 1
    };
    const Case cases[] = {
        {true, 2, 4, "3 entries, current 3, count 4"}, // heating keeps the typed count
        {true, 2, std::nullopt, "3 entries, current 3, count 1"},
        {false, 2, 5, "3 entries, current 3, count 5"},
        {true, 12, 4, "12 entries, current 1, count 1"}, // a thirteenth entry is refused
        {false, 12, 4, "12 entries, current 1, count 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        const Unit unit = c.heating ? Unit{"W1"} : Unit{"WFW-2L", 1200};
        Session s = room(c.heating, std::vector<Unit>(static_cast<std::size_t>(c.entries), unit));
        s.ProjectLoaded = true;
        const AppendView view = appendEntry(s, c.typed);
        const bool appended = c.entries < 12;
        EXPECT_EQ(listState(s, 0), c.state);
        const std::vector<Note> refused{{NoteKind::Message, ListFullText}};
        EXPECT_EQ(view.notes, appended ? std::vector<Note>() : refused);
        EXPECT_EQ(view.appended, appended);
        EXPECT_EQ(s.EntryBeingAdded, appended);
        EXPECT_EQ(s.ProjectLoaded, !appended);
        EXPECT_EQ(view.countFieldReset, appended && !c.heating);
        if (appended && !c.heating) { // the new cooling entry starts empty with a count of one
            const CoolingEntry& added = s.currentCoolingEntry();
            EXPECT_EQ(added.TypeName.text(), "");
            EXPECT_EQ(added.FanSpeed, 0);
            EXPECT_EQ(added.Count, 1);
        }
    }
}

// The later entries move up whole; the fan panel shows the entry that is first afterwards.
TEST(ListEditing, Deleting)
{
    struct Case
    {
        bool heating;
        std::vector<Unit> list;
        int row;
        std::optional<Note> note;
        // after Yes
        FanPanel fan = FanPanel::None;
        bool coolingStaged = false;
        int barPosition = 0;
        std::string setting{};
    };
    const Unit w1{"W1"}, dwf{"DWF", 1000}, wfw{"WFW-2L", 1000.7}, wfwl{"WFWL-2L", 862.5};
    const Case cases[] = {
        {true, {w1, w1}, -1, Note{NoteKind::Information, NoRowSelectedText}},
        {true, {}, 0, Note{NoteKind::Information, NoEntriesText}},
        {true, {w1, w1, w1}, 1, {}, FanPanel::None, false, 0, "0"},
        // The stage panel of a deleted staged unit does not stay over the free convector.
        {true, {dwf, w1}, 0, {}, FanPanel::None, false, 0, "0"},
        {true, {dwf, w1}, 1, {}, FanPanel::Stages, false, 1000, "71.4"},
        {true, {wfw, w1}, 1, {}, FanPanel::Bar, false, 1000, "62.5"}, // the setting, not the speed
        {true, {wfwl, w1}, 1, {}, FanPanel::Bar, false, 862, "75"},
        {false, {wfw, wfw}, 0, {}, FanPanel::None, false, 1000, "62"},
        {false, {{"DWF", 1400}, wfw}, 1, {}, FanPanel::None, true, 1400, "87"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.list.size() << " row " << c.row);
        Session s = room(c.heating, c.list);
        const int count = static_cast<int>(c.list.size());
        const DeleteCheck check = checkDelete(s, c.row);
        EXPECT_EQ(check.note, c.note);
        EXPECT_EQ(check.ask, !c.note);
        if (c.note)
            continue;
        (c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = count;
        const auto heatingBefore = s.Project.HeatingEntries;
        const auto coolingBefore = s.Project.CoolingEntries;
        const DeleteView view = deleteEntry(s, c.row);
        EXPECT_TRUE(s.EntryDeleted);
        EXPECT_FALSE(view.listEmptied);
        EXPECT_EQ(listState(s, 0), std::to_string(count - 1) + " entries, current 1, count " +
                                       std::to_string(c.row == 0 ? 2 : 1));
        for (int i = c.row; i < count - 1; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            if (c.heating)
                EXPECT_EQ(s.Project.HeatingEntries[slot], heatingBefore[slot + 1]) << i;
            else
                EXPECT_EQ(s.Project.CoolingEntries[slot], coolingBefore[slot + 1]) << i;
        }
        EXPECT_EQ(view.heatingFan, c.fan);
        EXPECT_EQ(view.coolingStaged, c.coolingStaged);
        EXPECT_EQ(view.fanBarPosition, c.barPosition);
        EXPECT_EQ(view.settingText, c.setting);
    }
    // Deleting the only entry empties the list and leaves entry 1 unused with a count of one.
    for (bool heating : {true, false}) {
        Session s = room(heating, {{"WFW-2L", 1000}});
        s.Project.CalculationDone = true;
        s.Project.HeatingEntries[0].Count = s.Project.CoolingEntries[0].Count = 5;
        EXPECT_TRUE(deleteEntry(s, 0).listEmptied);
        EXPECT_FALSE(s.Project.CalculationDone);
        EXPECT_FALSE(heating ? s.Project.HeatingEntries[0].InUse : s.Project.CoolingEntries[0].InUse);
        EXPECT_EQ(listState(s, 0), "0 entries, current 1, count 1");
    }
}

// What loading an entry shows: the heating fan panel and bar, or the cooling fields.
std::string shown(const EditView& v, bool heating)
{
    std::ostringstream out;
    const char* panels[] = {"none", "stages", "bar"};
    if (heating) {
        out << panels[static_cast<int>(v.heatingFan)];
        if (v.heatingStage)
            out << ' ' << *v.heatingStage;
        if (v.barRangeSet)
            out << ' ' << v.barMinimum << ".." << v.barMaximum << '@' << v.barPosition;
        out << (v.settingInLabel ? " label" : "") << (v.runBarHandler ? " handler" : "") << " '"
            << v.settingText << "'";
    } else {
        out << (v.coolingStaged ? "staged" : "bar");
        if (v.coolingStage)
            out << ' ' << *v.coolingStage;
        out << (v.primaryAir ? " primary air" : "") << " count " << v.countText << " return "
            << v.returnTempText;
    }
    out << " caption " << v.flowCaption;
    return out.str();
}

TEST(ListEditing, LoadingAnEntry)
{
    struct Case
    {
        bool heating;
        Unit unit;
        const char* expected;
    };
    const Case cases[] = {
        {true, {"W1"}, "none '' caption 190"},
        {true, {"DWF", 999.95}, "stages 2 '' caption 190"}, // a stored 999.95 is the 1000 stage
        {true, {"DWF", 0.2, 1}, "stages 0 '' caption 190"},
        {true, {"DWF", 699.95}, "stages 1 '' caption 190"},
        {true, {"DWF", 1400}, "stages 3 '' caption 190"},
        {true, {"DWF", 850}, "stages '' caption 190"},
        {true, {"WNF2-4L", 0, 200, 1350}, "bar 0..240@200 ' 200' caption 190"},
        {true, {"WNF", 0, 90, 1350}, "bar 0..123@90 '  90' caption 190"},
        {true, {"WFWL-2L", 862.5}, "bar 345..1150@862 label handler '75' caption 190"},
        {true, {"WFW-2L", 1000}, "bar 700..1600@1000 handler '62.5' caption 190"},
        {true, {"WF2", 1050}, "bar 700..1400@1050 handler '75.0' caption 190"},
        {false, {"WFW-2L", 1000}, "bar count 2 return 19 caption 190"},
        {false, {"DWF", 999.95}, "staged 1 count 2 return 19 caption 190"},
        {false, {"DWF", 700}, "staged 0 count 2 return 19 caption 190"},
        {false, {"DWF", 0}, "staged count 2 return 19 caption 190"},
        {false, {"WNF1-4L", 0, 100}, "bar primary air count 2 return 19 caption 208"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit.name);
        Session s = room(c.heating, {c.heating ? Unit{"W1"} : Unit{"WFW-2L", 1000}, c.unit});
        s.Project.CoolingEntries[1].ReturnTemp = 18.6;
        const EditView view = editEntry(s, 1, 123);
        EXPECT_FALSE(view.note);
        EXPECT_EQ(view.index, 2);
        EXPECT_EQ(c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex, 2);
        EXPECT_EQ(shown(view, c.heating), c.expected);
    }
    Session s = room(false, {{"WFW-2L", 1000}});
    s.CoolingEntryIndex = 1;
    EXPECT_EQ(editEntry(s, -1, 0).note, (Note{NoteKind::Information, NoRowSelectedText}));
    EXPECT_EQ(s.CoolingEntryIndex, 1);
}

TEST(ListEditing, WritingBack)
{
    struct Case
    {
        bool heating, beingAdded, firstInUse, listEmpty;
        bool heatingInUseBefore;
        const char* expected; // the list, the heating use and the main window's commands
    };
    const Case cases[] = {
        {true, false, true, false, false, "2 entries, current 1, count 7; heating; convector list"},
        {true, true, true, false, false, "1 entries, current 1, count 1; heating; convector list, no types"},
        {true, false, false, false, false, "2 entries, current 1, count 7;"}, // entry 1 unused
        {false, false, true, false, true, "2 entries, current 1, count 7; convector list"},
        {false, true, true, false, true, "1 entries, current 1, count 1; convector list"},
        {false, false, false, false, true, "2 entries, current 1, count 7; heating;"},
        {true, false, false, true, true, "2 entries, current 1, count 7;"}, // an empty list ends the use
        {false, false, false, true, false, "2 entries, current 1, count 7; heating;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Session s = room(c.heating, {{"W1"}, {"W1"}});
        s.Project.HeatingInUse = c.heatingInUseBefore;
        s.EntryBeingAdded = c.beingAdded;
        s.DemandChanged = s.FlowTempChanged = s.RoomTempChanged = true;
        (c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = 2;
        (c.heating ? s.Project.HeatingEntries[0].InUse : s.Project.CoolingEntries[0].InUse) = c.firstInUse;
        s.Project.HeatingEntries[1].HeightFactor = s.Project.CoolingEntries[1].HeightFactor = 0;
        s.Project.HeatingEntries[1].Output = 321;
        const WriteBackView view = writeBack(s, 7, c.listEmpty);
        const int count = c.heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount;
        const auto current = static_cast<std::size_t>(count - 1);
        const std::string state = listState(s, current) + ";" + (s.Project.HeatingInUse ? " heating;" : "") +
                                  (view.convectorListEnabled ? " convector list" : "") +
                                  (view.typeListDisabled ? ", no types" : "");
        EXPECT_EQ(state, c.expected);
        EXPECT_FALSE(s.EntryBeingAdded);
        EXPECT_FALSE(s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged);
        EXPECT_EQ(std::pair(s.HeatingEntryIndex, s.CoolingEntryIndex), std::pair(1, 1));
        EXPECT_EQ(c.heating ? s.Project.HeatingEntries[current].HeightFactor
                            : s.Project.CoolingEntries[current].HeightFactor,
                  1);
        EXPECT_EQ(s.Project.HeatingEntries[1].Output, 321); // the calculated values stay as they are
    }
}

} // namespace
} // namespace tepa::calculation
