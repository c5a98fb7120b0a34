#include "core/calculation/ListEditing.h"
#include "core/calculation/UpdateCycle.h"

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// An entry's update cycle and the editing of the lists of entries.

namespace tepa::calculation {
namespace {

using test::describe;
using test::Golden;

void limits(Golden& golden, const HeatingLimits& l)
{
    golden("  limits", l.status, l.returnStartText, l.returnEndText, l.massStartText, l.massEndText,
           l.outputStartText, l.outputEndText, l.soundLevelText);
}

void point(Golden& golden, const HeatingUpdate& u, const HeatingEntry& e)
{
    golden("  update", u.status, u.messages, u.refusal, u.warnings, u.pressureDropText, e.ReturnTemp,
           e.MassFlow, e.Output, e.FanSpeed);
    if (u.point)
        golden("  point", u.point->returnTempText, u.point->returnTempPosition, u.point->massFlowText,
               u.point->massFlowPosition, u.point->outputText, u.point->outputPosition);
    if (u.residual)
        golden("  residual", u.residual->captionLine, u.residual->valueText, u.residual->surplus);
}

void cooling(Golden& golden, const CoolingStep& c, const CoolingEntry& e)
{
    golden("  cooling", c.applied, c.error.has_value(), c.heading.countText, c.heading.description,
           c.captions.speedHeading, c.point.rated, c.point.messages, c.massFlowLow, c.outputText, c.totalText,
           c.countText);
    golden("  entry", e.FanSpeed, e.Count, e.ReturnTemp, e.Output, e.MassFlow);
}

// A free W1 convector of 1000 mm at 75/20 °C: K = 0.7 m · 4.50 = 3.15, n = 1.3. Its window runs
// from Tr = 35 °C (m = 6.88 kg/h, Q = 320.3 W) to Tr = 74 °C (m = 489.5 kg/h, Q = 569.7 W); at
// Tr = 60 °C Q = 476.4 W and m = 27.29 kg/h. The held quantity gives the operating point; the
// fields show the entry's own output at every height factor and the residual demand counts it.
// An armed check raises a held mass flow below its window; an inverted window is refused.
TEST(HeatingCycle, TheHeldQuantityGivesTheOperatingPoint)
{
    Golden golden;
    struct Case
    {
        bool returnTempHeld;
        double heightFactor, massFlow;
        bool armed;
        double massFlowStart = 0, massFlowEnd = 0; // set after the limits when not 0
    };
    const Case cases[] = {{true, 1, 27.2904, false},  {true, 0.9, 27.2904, false},
                          {false, 1, 27.2904, false}, {false, 1, 3, false},
                          {false, 1, 3, true},        {true, 1, 27.2904, false, 100, 10}};
    for (const Case& c : cases) {
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "W1", false, 1000);
        e.Height = 200, e.HeightFactor = c.heightFactor, e.FreeConvection = true;
        e.ReturnTemp = 60, e.MassFlow = c.massFlow;
        s.Project.HeatingDemand = 1000;
        golden("W1", c.returnTempHeld, c.heightFactor, c.massFlow, c.armed, c.massFlowStart, c.massFlowEnd);
        limits(golden, update_grenzen(s, 1, c.returnTempHeld));
        golden("  held", s.Project.ReturnTempFixed, s.Project.MassFlowFixed);
        if (c.massFlowStart)
            e.MassFlowStart = c.massFlowStart, e.MassFlowEnd = c.massFlowEnd;
        point(golden, update1(s, 1, c.armed), e);
    }

    // Residual demand: twice 400 W and the second entry are listed, the third is not.
    for (double second : {200, 201, 100}) {
        ProjectRecord p;
        p.HeatingDemand = 1000;
        p.HeatingEntryCount = 2;
        p.HeatingEntries[0].Count = 2, p.HeatingEntries[0].Output = 400;
        p.HeatingEntries[1].Count = 1, p.HeatingEntries[1].Output = second;
        p.HeatingEntries[2].Count = 1, p.HeatingEntries[2].Output = 5000;
        const Residual r = Restwaerme(p);
        golden("residual", second, r.captionLine, r.valueText, r.surplus);
    }

    // After a speed change the held quantity is kept inside the new window.
    for (bool returnTempHeld : {true, false}) {
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "WF2", true, 1000, 1400);
        e.ReturnTemp = 74.9, e.MassFlow = 1e6;
        update_grenzen(s, 1, returnTempHeld);
        const SpeedChange change = afterSpeedChange(s, returnTempHeld, false);
        golden("speed change", returnTempHeld);
        limits(golden, change.limits);
        point(golden, change.update, e);
    }
}

// Headings and bar captions of either list by mode and series; a stage button belongs to the
// ceiling unit and does nothing on an entry of another series.
TEST(HeatingCycle, HeadingsCaptionsAndStages)
{
    Golden golden;
    for (const char* name : {"W1", "WF2", "WNF1", "WFW-2L", "WNF2", "DWF"}) {
        for (bool heatingMode : {true, false}) {
            Session s = test::designSession();
            s.HeatingMode = heatingMode;
            const bool forced = name[1] != '1';
            HeatingEntry& h = s.currentHeatingEntry();
            describe(h, name, forced, 1350, 0);
            h.FreeConvection = !forced, h.Height = 200, h.Count = 3, h.ReturnTemp = 60;
            describe(s.currentCoolingEntry(), name, forced, 1350, 700);
            s.currentCoolingEntry().Count = 12, s.currentCoolingEntry().ReturnTemp = 18;
            const HeatingHeading heading = update0(s, 1);
            const CoolingHeading coolingHeading = update0_K(s, 1);
            const BarCaptions captions = Balken_grenzwerte(s, 1);
            golden(name, heatingMode, heading.countText, heading.count, heading.modeLine,
                   heading.fanControlsShown, heading.description, coolingHeading.countText,
                   coolingHeading.description, captions.speedHeading, captions.speedUnit,
                   captions.coolingReset.has_value());
            if (captions.coolingReset)
                golden("  reset", captions.coolingReset->barRange, captions.coolingReset->maxAirFlow);
            if (!heatingMode)
                continue;
            golden("  heating stage", heatingStage(s, 1000, true, false).applied);
            point(golden, heatingStage(s, 1000, true, false).update, h);
            s.HeatingMode = false;
            cooling(golden, coolingStage(s, 1400, "2"), s.currentCoolingEntry());
        }
    }
    // Clearing empties the entry it names.
    Session s = test::designSession();
    describe(s.currentHeatingEntry(), "W1", false, 1000);
    describe(s.currentCoolingEntry(), "W1", false, 1000);
    Nullen(s.Project, 1);
    Nullen_K(s.Project, 1);
    EXPECT_EQ(s.currentHeatingEntry().TypeName.text() + s.currentCoolingEntry().TypeName.text(), "");
}

// A count is read as a whole number within 1..15 (C-style hexadecimal included) and corrected
// where it was out of range or no number; the current entry's count follows its field unless an
// entry is being added. A typed cooling return temperature reads a decimal comma as a point, a
// text without a number is refused; a wide water spread shows the mass flow red below 50 kg/h.
TEST(CountFields, CountsAndTypedCoolingReturnTemperatures)
{
    Golden golden;
    for (const char* text : {"3", " 7", "15", "0", "99", "-4", "", "  ", "$F", "0x0c", "4x", "abc", "$1F"}) {
        const TypedCount typed = countOfText(text);
        golden(std::string("count '") + text + "'", typed.count, typed.correctedText);
    }
    for (bool adding : {false, true}) {
        Session s = test::designSession();
        s.currentCoolingEntry().Output = 250.5;
        s.EntryBeingAdded = adding;
        const CountChange cooling = Edit9Change(s, "4"), heating = Edit5Change(s, "20");
        golden("count fields", adding, cooling.applied, cooling.totalText, heating.applied,
               heating.correctedText, s.currentCoolingEntry().Count, s.currentHeatingEntry().Count);
    }
    for (const char* text : {"17", "19,5", "20.5", "warm"}) {
        Session s = test::designSession();
        s.HeatingMode = false;
        describe(s.currentCoolingEntry(), "WFW-2L", true, 1250, 700);
        s.currentCoolingEntry().ReturnTemp = 18;
        golden(std::string("return ") + text);
        cooling(golden, Edit6Change(s, text, "1"), s.currentCoolingEntry());
    }
}

// An entry of either list: name, fan speed, fan setting, length; free convection without a fan.
struct Unit
{
    std::string name;
    double speed = 0;
    double setting = 0;
    double length = 1250;
};

// An entry written "name/speed/setting/length" in a step line, the numbers optional.
Unit unitOf(const std::string& word)
{
    Unit u{word.substr(0, word.find('/'))};
    std::size_t at = word.find('/');
    for (double* number : {&u.speed, &u.setting, &u.length}) {
        if (at == std::string::npos)
            break;
        *number = std::stod(word.substr(at + 1));
        at = word.find('/', at + 1);
    }
    return u;
}

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
    const Unit w1{"W1"}, wfw{"WFW-2L", 1000.7};
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

    // Deleting: the later entries move up whole; the fan panel shows the entry that is first
    // afterwards (the setting, not the speed), so the stage panel of a deleted staged unit does not
    // stay over a free convector; deleting the only entry empties the list. Loading shows the
    // heating fan panel and bar, or the cooling fields; a stored 999.95 is the 1000 stage.
    for (const std::vector<std::string>& w : test::stepLines("calculation/ListEditing.steps.txt")) {
        const bool heating = w[1] == "heating";
        if (w[0] == "delete") {
            std::vector<Unit> units;
            for (std::size_t i = 3; i < w.size(); ++i)
                units.push_back(unitOf(w[i]));
            const int row = std::stoi(w[2]);
            Session s = room(heating, units);
            const DeleteCheck check = checkDelete(s, row);
            golden("delete", heating, units.size(), row, check.note ? check.note->line : 0, check.ask);
            if (!check.ask)
                continue;
            (heating ? s.HeatingEntryIndex : s.CoolingEntryIndex) = static_cast<int>(units.size());
            s.Project.CalculationDone = true;
            s.Project.HeatingEntries[0].Count = s.Project.CoolingEntries[0].Count = 5;
            const DeleteView v = deleteEntry(s, row);
            golden("  view", v.listEmptied, v.heatingFan, v.coolingStaged, v.fanBarPosition, v.settingText,
                   s.EntryDeleted, s.Project.CalculationDone);
            list(golden, s);
            continue;
        }
        const Unit unit = unitOf(w[2]);
        Session s = room(heating, {heating ? w1 : wfw, unit});
        s.Project.CoolingEntries[1].ReturnTemp = 18.6;
        const EditView v = editEntry(s, 1, 123);
        golden("load", heating, unit.name.c_str(), unit.speed, unit.setting, v.note.has_value(), v.index,
               s.HeatingEntryIndex, s.CoolingEntryIndex);
        if (heating)
            golden("  heating", v.heatingFan, v.heatingStage, v.barRangeSet, v.barMinimum, v.barMaximum,
                   v.barPosition, v.settingInLabel, v.runBarHandler, v.settingText, v.flowCaption);
        else
            golden("  cooling", v.countText, v.returnTempText, v.coolingStaged, v.coolingStage, v.primaryAir,
                   v.flowCaption);
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
