#include "core/calculation/ListEditing.h"

#include <gtest/gtest.h>

#include <optional>
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

template <class Entry> void fill(Entry& e, const Unit& u, int number)
{
    e.TypeName.setText(u.name);
    e.FanSpeed = u.speed;
    e.FanSetting = u.setting;
    e.Length = u.length;
    e.Count = number;
    e.ReturnTemp = 50 + number;
    e.InUse = true;
    e.HeightFactor = 1;
}

Session room(bool heating, std::vector<Unit> units)
{
    Session s;
    s.HeatingMode = heating;
    s.CoolingMode = !heating;
    int number = 0;
    for (const Unit& u : units) {
        ++number;
        if (heating) {
            HeatingEntry& e = s.Project.HeatingEntries[static_cast<std::size_t>(number - 1)];
            fill(e, u, number);
            e.FreeConvection = u.speed == 0 && u.setting == 0;
        } else {
            fill(s.Project.CoolingEntries[static_cast<std::size_t>(number - 1)], u, number);
        }
    }
    (heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount) = number;
    return s;
}

std::vector<Unit> units(int n, Unit u = {"W1"})
{
    return std::vector<Unit>(static_cast<std::size_t>(n), u);
}

TEST(ListEditing, Appending)
{
    struct Case
    {
        const char* what;
        bool heating;
        int entries;
        std::optional<int> typed;
        bool appended;
        std::vector<Note> notes;
    };
    const Case cases[] = {
        {"heating keeps the typed count", true, 2, 4, true, {}},
        {"heating without a reading keeps the count", true, 2, std::nullopt, true, {}},
        {"cooling", false, 2, 5, true, {}},
        {"a thirteenth entry is refused", true, 12, 4, false, {{NoteKind::Message, ListFullText}}},
        {"a thirteenth cooling entry too", false, 12, 4, false, {{NoteKind::Message, ListFullText}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s = room(c.heating, units(c.entries, c.heating ? Unit{"W1"} : Unit{"WFW-2L", 1200}));
        s.ProjectLoaded = true;
        const AppendView view = appendEntry(s, c.typed);
        EXPECT_EQ(view.notes, c.notes);
        EXPECT_EQ(view.appended, c.appended);
        EXPECT_EQ(s.EntryBeingAdded, c.appended);
        EXPECT_EQ(s.ProjectLoaded, !c.appended);
        const int count = c.heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount;
        const int index = c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex;
        EXPECT_EQ(count, c.entries + (c.appended ? 1 : 0));
        EXPECT_EQ(index, c.appended ? c.entries + 1 : 1);
        const int firstCount =
            c.heating ? s.Project.HeatingEntries[0].Count : s.Project.CoolingEntries[0].Count;
        EXPECT_EQ(firstCount, c.appended ? c.typed.value_or(1) : 1);
        EXPECT_EQ(view.countFieldReset, c.appended && !c.heating);
        if (c.appended && !c.heating) { // the new cooling entry starts empty with a count of one
            const CoolingEntry& added = s.currentCoolingEntry();
            EXPECT_EQ(added.Count, 1);
            EXPECT_EQ(added.TypeName.text(), "");
            EXPECT_EQ(added.FanSpeed, 0);
        }
    }
}

TEST(ListEditing, Deleting)
{
    struct Case
    {
        const char* what;
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
        {"no line selected", true, {w1, w1}, -1, Note{NoteKind::Information, NoRowSelectedText}},
        {"the list counts no entry", true, {}, 0, Note{NoteKind::Information, NoEntriesText}},
        {"the middle of three, a free convector first",
         true,
         {w1, w1, w1},
         1,
         {},
         FanPanel::None,
         false,
         0,
         "0"},
        // The stage panel of a deleted staged unit does not stay over the free convector.
        {"a staged unit before a free convector", true, {dwf, w1}, 0, {}, FanPanel::None, false, 0, "0"},
        {"a staged unit first", true, {dwf, w1}, 1, {}, FanPanel::Stages, false, 1000, "71.4"},
        // The field shows the setting, not the speed.
        {"a fan first", true, {wfw, w1}, 1, {}, FanPanel::Bar, false, 1000, "62.5"},
        {"a slow fan first", true, {wfwl, w1}, 1, {}, FanPanel::Bar, false, 862, "75"},
        {"cooling", false, {wfw, wfw}, 0, {}, FanPanel::None, false, 1000, "62"},
        {"cooling, staged first", false, {{"DWF", 1400}, wfw}, 1, {}, FanPanel::None, true, 1400, "87"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
        EXPECT_EQ(c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex, 1);
        EXPECT_EQ(c.heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount, count - 1);
        for (int i = c.row; i < count - 1; ++i) { // the later entries moved up whole
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
}

TEST(ListEditing, DeletingTheOnlyEntryEmptiesTheList)
{
    for (bool heating : {true, false}) {
        SCOPED_TRACE(heating);
        Session s = room(heating, {{"WFW-2L", 1000}});
        s.Project.CalculationDone = true;
        (heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = 1;
        const DeleteView view = deleteEntry(s, 0);
        EXPECT_TRUE(view.listEmptied);
        EXPECT_FALSE(s.Project.CalculationDone);
        const bool inUse = heating ? s.Project.HeatingEntries[0].InUse : s.Project.CoolingEntries[0].InUse;
        const int count = heating ? s.Project.HeatingEntries[0].Count : s.Project.CoolingEntries[0].Count;
        EXPECT_FALSE(inUse);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount, 0);
    }
}

TEST(ListEditing, LoadingAHeatingEntry)
{
    struct Case
    {
        Unit unit;
        FanPanel fan;
        std::optional<int> stage;
        bool rangeSet;
        int minimum, maximum, position;
        bool inLabel, runsHandler;
        std::string setting;
    };
    const Case cases[] = {
        {{"W1"}, FanPanel::None, {}, false, 0, 0, 0, false, false, ""},
        // A stored 999.95 is the 1000 stage.
        {{"DWF", 999.95}, FanPanel::Stages, 2, false, 0, 0, 0, false, false, ""},
        {{"DWF", 0.2, 1}, FanPanel::Stages, 0, false, 0, 0, 0, false, false, ""},
        {{"DWF", 699.95}, FanPanel::Stages, 1, false, 0, 0, 0, false, false, ""},
        {{"DWF", 1400}, FanPanel::Stages, 3, false, 0, 0, 0, false, false, ""},
        {{"DWF", 850}, FanPanel::Stages, {}, false, 0, 0, 0, false, false, ""},
        {{"WNF2-4L", 0, 200, 1350}, FanPanel::Bar, {}, true, 0, 240, 200, false, false, " 200"},
        {{"WNF", 0, 90, 1350}, FanPanel::Bar, {}, true, 0, 123, 90, false, false, "  90"},
        {{"WFWL-2L", 862.5}, FanPanel::Bar, {}, true, 345, 1150, 862, true, true, "75"},
        {{"WFW-2L", 1000}, FanPanel::Bar, {}, true, 700, 1600, 1000, false, true, "62.5"},
        {{"WF2", 1050}, FanPanel::Bar, {}, true, 700, 1400, 1050, false, true, "75.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit.name);
        Session s = room(true, {{"W1"}, c.unit});
        const EditView view = editEntry(s, 1, 123);
        EXPECT_FALSE(view.note);
        EXPECT_EQ(view.index, 2);
        EXPECT_EQ(s.HeatingEntryIndex, 2);
        EXPECT_EQ(view.heatingFan, c.fan);
        EXPECT_EQ(view.heatingStage, c.stage);
        EXPECT_EQ(view.barRangeSet, c.rangeSet);
        EXPECT_EQ(view.barMinimum, c.minimum);
        EXPECT_EQ(view.barMaximum, c.maximum);
        EXPECT_EQ(view.barPosition, c.position);
        EXPECT_EQ(view.settingInLabel, c.inLabel);
        EXPECT_EQ(view.runBarHandler, c.runsHandler);
        EXPECT_EQ(view.settingText, c.setting);
        EXPECT_EQ(view.flowCaption, FlowTempCaptionText);
    }
}

TEST(ListEditing, LoadingACoolingEntry)
{
    struct Case
    {
        Unit unit;
        bool staged;
        std::optional<int> stage;
        bool primaryAir;
        std::size_t caption;
    };
    const Case cases[] = {
        {{"WFW-2L", 1000}, false, {}, false, FlowTempCaptionText},
        {{"DWF", 999.95}, true, 1, false, FlowTempCaptionText},
        {{"DWF", 700}, true, 0, false, FlowTempCaptionText},
        {{"DWF", 0}, true, {}, false, FlowTempCaptionText},
        {{"WNF1-4L", 0, 100}, false, {}, true, PrimaryAirCaptionText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit.name);
        Session s = room(false, {{"WFW-2L", 1000}, c.unit});
        s.Project.CoolingEntries[1].ReturnTemp = 18.6;
        const EditView view = editEntry(s, 1, 0);
        EXPECT_EQ(s.CoolingEntryIndex, 2);
        EXPECT_EQ(view.countText, "2");
        EXPECT_EQ(view.returnTempText, "19");
        EXPECT_EQ(view.coolingStaged, c.staged);
        EXPECT_EQ(view.coolingStage, c.stage);
        EXPECT_EQ(view.primaryAir, c.primaryAir);
        EXPECT_EQ(view.flowCaption, c.caption);
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
        const char* what;
        bool heating;
        bool beingAdded;
        bool firstInUse;
        bool listEmpty;
        int count;          // the list's count after
        int countOfCurrent; // the count of the entry current at closing
        bool heatingInUseBefore, heatingInUse;
        bool typeListDisabled, convectorListEnabled;
    };
    const Case cases[] = {
        {"heating takes the typed count", true, false, true, false, 2, 7, false, true, false, true},
        {"heating drops a new entry", true, true, true, false, 1, 1, false, true, true, true},
        {"heating with entry 1 unused", true, false, false, false, 2, 7, false, false, false, false},
        {"cooling takes the typed count", false, false, true, false, 2, 7, true, false, false, true},
        {"cooling drops a new entry", false, true, true, false, 1, 1, true, false, false, true},
        {"cooling with entry 1 unused", false, false, false, false, 2, 7, true, true, false, false},
        {"an empty heating list ends the heating use", true, false, false, true, 2, 7, true, false, false,
         false},
        {"an empty cooling list leaves heating", false, false, false, true, 2, 7, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s = room(c.heating, {{"W1"}, {"W1"}});
        s.Project.HeatingInUse = c.heatingInUseBefore;
        s.EntryBeingAdded = c.beingAdded;
        s.DemandChanged = s.FlowTempChanged = s.RoomTempChanged = true;
        (c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = 2;
        if (c.heating) {
            s.Project.HeatingEntries[0].InUse = c.firstInUse;
            s.Project.HeatingEntries[1].HeightFactor = 0;
        } else {
            s.Project.CoolingEntries[0].InUse = c.firstInUse;
            s.Project.CoolingEntries[1].HeightFactor = 0;
        }
        const auto before = s.Project.HeatingEntries;
        const WriteBackView view = writeBack(s, 7, c.listEmpty);
        EXPECT_EQ(view.typeListDisabled, c.typeListDisabled);
        EXPECT_EQ(view.convectorListEnabled, c.convectorListEnabled);
        EXPECT_FALSE(s.EntryBeingAdded);
        EXPECT_FALSE(s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged);
        EXPECT_EQ(s.HeatingEntryIndex, 1);
        EXPECT_EQ(s.CoolingEntryIndex, 1);
        EXPECT_EQ(s.Project.HeatingInUse, c.heatingInUse);
        EXPECT_EQ(c.heating ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount, c.count);
        const std::size_t current = static_cast<std::size_t>(c.count - 1);
        const double factor = c.heating ? s.Project.HeatingEntries[current].HeightFactor
                                        : s.Project.CoolingEntries[current].HeightFactor;
        const int count =
            c.heating ? s.Project.HeatingEntries[current].Count : s.Project.CoolingEntries[current].Count;
        EXPECT_EQ(count, c.countOfCurrent);
        EXPECT_EQ(factor, 1);
        // The calculated values stay as they are.
        if (c.heating) {
            EXPECT_EQ(s.Project.HeatingEntries[1].Output, before[1].Output);
        }
    }
}

} // namespace
} // namespace tepa::calculation
