#include "core/calculation/ListEditing.h"

#include "SessionFixture.h"

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

// The entry count, the current indices and per entry of the active list its name and count.
void list(test::Golden& golden, const Session& s)
{
    const ProjectRecord& p = s.Project;
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < 4; ++i)
        entries.push_back(
            s.HeatingMode
                ? p.HeatingEntries[i].TypeName.text() + "*" + std::to_string(p.HeatingEntries[i].Count)
                : p.CoolingEntries[i].TypeName.text() + "*" + std::to_string(p.CoolingEntries[i].Count));
    golden("  list", p.HeatingEntryCount, p.CoolingEntryCount, s.HeatingEntryIndex, s.CoolingEntryIndex,
           entries, "in use", p.HeatingInUse, p.HeatingEntries[0].InUse, p.CoolingEntries[0].InUse);
}

// Appending, deleting (check and Yes), loading and writing back on lists of each series.
TEST(ListEditing, AppendDeleteLoadWriteBack)
{
    test::Golden golden;
    const Unit w1{"W1"}, dwf{"DWF", 1000}, wfw{"WFW-2L", 1000.7}, wfwl{"WFWL-2L", 862.5};
    // Appending keeps the typed count of the entry before; a thirteenth entry is refused.
    for (bool heating : {true, false})
        for (int entries : {2, 12})
            for (std::optional<int> typed : {std::optional(4), std::optional<int>()}) {
                Session s = room(heating, std::vector<Unit>(std::size_t(entries), heating ? w1 : wfw));
                s.ProjectLoaded = true;
                const AppendView v = appendEntry(s, typed);
                golden("append", heating, entries, typed, v.notes.empty() ? 0 : v.notes[0].line, v.appended,
                       v.countFieldReset, s.EntryBeingAdded, s.ProjectLoaded);
                list(golden, s);
            }

    // The later entries move up whole; the fan panel shows the entry that is first afterwards
    // (the setting, not the speed), so the stage panel of a deleted staged unit does not stay
    // over a free convector; deleting the only entry empties the list.
    struct Delete
    {
        bool heating;
        std::vector<Unit> list;
        int row;
    };
    const Delete deletes[] = {{true, {w1, w1}, -1},
                              {true, {}, 0},
                              {true, {w1, dwf, w1}, 1},
                              {true, {dwf, w1}, 0},
                              {true, {dwf, w1}, 1},
                              {true, {wfw, w1}, 1},
                              {true, {wfwl, w1}, 1},
                              {false, {wfw, wfw}, 0},
                              {false, {{"DWF", 1400}, wfw}, 1},
                              {true, {{"WFW-2L", 1000}}, 0},
                              {false, {{"WFW-2L", 1000}}, 0}};
    for (const Delete& c : deletes) {
        Session s = room(c.heating, c.list);
        const DeleteCheck check = checkDelete(s, c.row);
        golden("delete", c.heating, c.list.size(), c.row, check.note ? check.note->line : 0, check.ask);
        if (!check.ask)
            continue;
        (c.heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = static_cast<int>(c.list.size());
        s.Project.CalculationDone = true;
        s.Project.HeatingEntries[0].Count = s.Project.CoolingEntries[0].Count = 5;
        const DeleteView v = deleteEntry(s, c.row);
        golden("  view", v.listEmptied, v.heatingFan, v.coolingStaged, v.fanBarPosition, v.settingText,
               s.EntryDeleted, s.Project.CalculationDone);
        list(golden, s);
    }

    // Loading shows the heating fan panel and bar, or the cooling fields; a stored 999.95 is the
    // 1000 stage.
    const std::vector<Unit> heatingLoads = {
        {"W1"},       {"DWF", 999.95},           {"DWF", 0.2, 1},      {"DWF", 699.95},    {"DWF", 1400},
        {"DWF", 850}, {"WNF2-4L", 0, 200, 1350}, {"WNF", 0, 90, 1350}, {"WFWL-2L", 862.5}, {"WFW-2L", 1000},
        {"WF2", 1050}};
    const std::vector<Unit> coolingLoads = {
        {"WFW-2L", 1000}, {"DWF", 999.95}, {"DWF", 700}, {"DWF", 0}, {"WNF1-4L", 0, 100}};
    for (bool heating : {true, false})
        for (const Unit& unit : heating ? heatingLoads : coolingLoads) {
            Session s = room(heating, {heating ? w1 : wfw, unit});
            s.Project.CoolingEntries[1].ReturnTemp = 18.6;
            const EditView v = editEntry(s, 1, 123);
            golden("load", heating, unit.name, unit.speed, unit.setting, v.note.has_value(), v.index,
                   s.HeatingEntryIndex, s.CoolingEntryIndex);
            if (heating)
                golden("  heating", v.heatingFan, v.heatingStage, v.barRangeSet, v.barMinimum, v.barMaximum,
                       v.barPosition, v.settingInLabel, v.runBarHandler, v.settingText, v.flowCaption);
            else
                golden("  cooling", v.countText, v.returnTempText, v.coolingStaged, v.coolingStage,
                       v.primaryAir, v.flowCaption);
        }
    Session none = room(false, {wfw, wfw});
    none.CoolingEntryIndex = 1;
    const EditView v = editEntry(none, -1, 123);
    golden("load without a line", v.note ? v.note->line : 0, none.CoolingEntryIndex);

    // Writing back takes the typed count into the current entry and drops one being added; the
    // heating use follows entry 1 and the lists; the calculated values stay as they are.
    for (bool heating : {true, false})
        for (int variant = 0; variant < 4; ++variant) {
            const bool beingAdded = variant == 1, firstInUse = variant < 2, listEmpty = variant == 3;
            for (bool heatingInUse : {false, true}) {
                Session s = room(heating, {w1, w1});
                s.Project.HeatingInUse = heatingInUse;
                s.EntryBeingAdded = beingAdded;
                s.DemandChanged = s.FlowTempChanged = s.RoomTempChanged = true;
                (heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = 2;
                (heating ? s.Project.HeatingEntries[0].InUse : s.Project.CoolingEntries[0].InUse) =
                    firstInUse;
                s.Project.HeatingEntries[1].HeightFactor = s.Project.CoolingEntries[1].HeightFactor = 0;
                s.Project.HeatingEntries[1].Output = 321;
                const WriteBackView v = writeBack(s, 7, listEmpty);
                golden("write back", heating, beingAdded, firstInUse, listEmpty, heatingInUse,
                       v.typeListDisabled, v.convectorListEnabled, s.EntryBeingAdded,
                       s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged,
                       s.Project.HeatingEntries[1].HeightFactor, s.Project.CoolingEntries[1].HeightFactor,
                       s.Project.HeatingEntries[1].Output);
                list(golden, s);
            }
        }
}

} // namespace
} // namespace tepa::calculation
