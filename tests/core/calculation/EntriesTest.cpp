#include "SessionFixture.h"

#include "core/calculation/ListEditing.h"
#include "core/calculation/RoomList.h"
#include "core/calculation/RoomRun.h"
#include "core/calculation/TypeChoice.h"
#include "core/calculation/UpdateCycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// An entry's update cycle, the editing of the lists of entries, the choice of its type and its
// start, the room's list and the runs over its data.

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
    for (const std::vector<std::string>& w : test::stepLines("calculation/HeatingCycle.steps.txt")) {
        const bool held = w[0] == "1", armed = w[3] == "1";
        const double massFlowStart = std::stod(w[4]), massFlowEnd = std::stod(w[5]);
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "W1", false, 1000);
        e.Height = 200, e.HeightFactor = std::stod(w[1]), e.FreeConvection = true;
        e.ReturnTemp = 60, e.MassFlow = std::stod(w[2]);
        s.Project.HeatingDemand = 1000;
        golden("W1", held, e.HeightFactor, e.MassFlow, armed, massFlowStart, massFlowEnd);
        limits(golden, update_grenzen(s, 1, held));
        golden("  held", s.Project.ReturnTempFixed, s.Project.MassFlowFixed);
        if (massFlowStart)
            e.MassFlowStart = massFlowStart, e.MassFlowEnd = massFlowEnd;
        point(golden, update1(s, 1, armed), e);
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
            e.Height = number(1), e.Length = number(2), e.Count = std::stoi(w[k + 3]),
            e.ReturnTemp = number(4);
            e.MassFlow = number(5), e.FanSpeed = number(6), e.PressureDrop = number(7),
            e.SoundLevel = number(8);
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

// Loads the list of the kind and picks the type whose item starts with `prefix`.
TypeChosenView pick(Session& s, bool forced, const std::string& prefix)
{
    const TypeListView list = loadTypeList(s, forced);
    for (std::size_t row = 0; row < list.types.size(); ++row)
        if (list.types[row].rfind(prefix, 0) == 0)
            return chooseType(s, static_cast<int>(row), list.types[row]);
    ADD_FAILURE() << "no type " << prefix;
    return {};
}

// A load cut at the table size says so; a missing file changes nothing; a single length is
// chosen at once; an entry beyond the table or its blocks is reported and the entry keeps its type.
TEST(TypeChoice, UnusualTypeFiles)
{
    test::Golden golden;
    Session s = test::designSession();
    const auto chosen = [&](const std::string& label, const TypeChosenView& v) {
        golden(label, v.error, v.lengths, v.weiterEnabled, v.description,
               s.currentHeatingEntry().TypeName.text(), s.currentHeatingEntry().Length);
    };
    // Installations of 21 W3 types of two lengths, and of one W3 of a single length.
    const std::filesystem::path data = TEPA_TEST_DATA_DIR "/calculation";
    s.ProgramDir = data / "cut-install";
    const TypeListView cut = loadTypeList(s, false);
    golden("21 types", cut.types.size(), cut.messages);

    s.currentHeatingEntry().TypeName.setText("W4");
    s.FreeTypeTable.at(1).TypeCount = 40; // its data line would lie beyond the table
    chosen("beyond the table", chooseType(s, 0, "W3"));
    chosen("beyond the list", chooseType(s, static_cast<int>(TypeTable::Size), "W9"));
    chosen("no row", chooseType(s, -1, ""));

    s.ProgramDir = data; // no free-type file
    s.currentHeatingEntry().FreeConvection = false;
    const TypeListView missing = loadTypeList(s, false);
    golden("missing file", missing.error.has_value(), missing.types, s.currentHeatingEntry().FreeConvection);

    s.ProgramDir = data / "single-install";
    chosen("a single length", pick(s, false, "W3"));
}

// The first entry starts in the middle of its window; an added one takes over the held quantity
// of the one before and starts at rest; a list emptied by deleting starts again in the middle; a
// return temperature above the flow is confirmed (set to the window's end) or leaves the entry
// unfinished.
TEST(Weiter, TheHeatingEntryStartsInTheMiddleOrAtTheHeldQuantityOfTheOneBefore)
{
    test::Golden golden;
    const auto never = [](std::size_t) {
        ADD_FAILURE() << "no question expected";
        return false;
    };
    Session s = test::designSession();
    HeatingEntry& first = s.Project.HeatingEntries[0];
    HeatingEntry& added = s.Project.HeatingEntries[1];
    const auto started = [&](const std::string& label, const HeatingEntryStart& start) {
        golden(label, start.confirmed, start.speedChangeEnded, first.ReturnTemp, first.InUse,
               added.ReturnTemp, added.MassFlow, added.FanSpeed, s.CentreReturnTemp,
               s.Project.HeatingEntryCount);
    };
    first.ReturnTempStart = 35, first.ReturnTempEnd = 74;
    s.CentreReturnTemp = true;
    started("first", startHeatingEntry(s, never));
    for (int held : {1, 0}) {
        s.Project.ReturnTempFixed = held, s.EntryBeingAdded = true, s.HeatingEntryIndex = 2;
        added.ReturnTemp = 40, added.MassFlow = 10, added.FanSpeed = 900;
        first.MassFlow = 33;
        started("added, held " + std::to_string(held), startHeatingEntry(s, never));
    }
    s.EntryBeingAdded = false, s.HeatingEntryIndex = 1, s.EntryDeleted = true;
    first.ReturnTemp = 70;
    started("after deleting", startHeatingEntry(s, never));

    for (bool yes : {false, true}) {
        Session above = test::designSession();
        above.currentHeatingEntry().ReturnTemp = 80;
        std::vector<std::size_t> asked;
        const HeatingEntryStart start = startHeatingEntry(above, [&](std::size_t line) {
            asked.push_back(line);
            return yes;
        });
        golden("above the flow", yes, asked, start.confirmed, above.currentHeatingEntry().ReturnTemp);
    }
}

} // namespace
} // namespace tepa::calculation
