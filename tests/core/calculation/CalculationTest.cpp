#include "core/GoldenCalls.h"
#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingFan.h"
#include "core/calculation/HeatingPoint.h"
#include "core/calculation/ListEditing.h"
#include "core/calculation/RoomList.h"
#include "core/calculation/RoomRun.h"
#include "core/calculation/TypeChoice.h"
#include "core/calculation/UpdateCycle.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/model/Session.h"
#include "core/productdata/ProductData.h"
#include "core/text/InterfaceTexts.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// An entry's operating point, fan controls and update cycle; list editing, type choice, the
// room's list and the runs over its data.

namespace tepa::calculation {
namespace {

using test::Golden;
using test::stepLines;

const std::filesystem::path FixtureInstall = TEPA_TEST_DATA_DIR "/install";

// A session as the calculation window finds it: the fixture installation's texts and heights,
// a room heated 75/20 °C for 2000 W and cooled 16/26 °C at 40 % for 1500 W.
Session designSession()
{
    Session s;
    s.ProgramDir = FixtureInstall;
    s.InterfaceTexts = InterfaceTexts::load(FixtureInstall).value();
    s.HeightList = loadHeights(FixtureInstall).value();
    ProjectRecord& p = s.Project;
    p.HeatingFlowTemp = 75, p.HeatingRoomTemp = 20, p.HeatingDemand = 2000;
    p.CoolingFlowTemp = 16, p.CoolingRoomTemp = 26, p.CoolingSecondTemp = 16;
    p.CoolingHumidity = 40, p.CoolingDemand = 1500;
    p.HeatingEntryCount = p.CoolingEntryCount = 1;
    return s;
}

// Entry `e` of either list described as the type `name` of the fixture installation.
template <class Entry>
void describe(Entry& e, const std::string& name, bool forced, double length, double speed = 0)
{
    const auto types = readAllTypes(FixtureInstall, forced).value();
    const auto type = std::find_if(types.begin(), types.end(),
                                   [&](const TypeRecord& t) { return t.name.starts_with(name); });
    ASSERT_NE(type, types.end()) << "no fixture type " << name;
    e.TypeName.setText(name);
    e.TypeText1.setText(type->dataLine);
    e.TypeText2.setText(type->fanLine);
    e.Length = length, e.Height = 140, e.HeightFactor = 1, e.FanSpeed = speed, e.Count = 1;
}

// Cooling: a room cooled with 16 °C water to 26 °C; primary air enters at 16 °C.
struct CoolingRoom
{
    ProjectRecord project;
    CoolingEntry e;

    CoolingRoom(const char* name, double length, double speed, double setting = 0)
    {
        project.CoolingFlowTemp = 16, project.CoolingRoomTemp = 26, project.CoolingSecondTemp = 16;
        e.TypeName.setText(name);
        e.TypeText1.setText(engine::test::typicalDataLine());
        e.TypeText2.setText(engine::test::fanLine("0.0200000", "0.6000000", "1.2000000"));
        e.Length = length, e.HeightFactor = 1, e.FanSpeed = speed, e.FanSetting = setting;
        e.Count = 1, e.ReturnTemp = 18;
    }
};

// The entry as rated: return temperature, output, mass flow, pressure drop and sound level.
void rated(Golden& golden, const CoolingEntry& e)
{
    golden("  entry", e.FanSpeed, e.FanSetting, e.Count, e.ReturnTemp, e.Output, e.MassFlow, e.PressureDrop,
           e.SoundLevel, e.CoeffK, e.ExponentN, e.EffectiveLength);
}

void shown(Golden& golden, const std::string& label, const HeatingPointView& v, const HeatingEntry& e)
{
    golden(label, v.returnTempText, v.returnTempPosition, v.massFlowText, v.massFlowPosition, v.outputText,
           v.outputPosition, v.pressureDropText, v.warnings, v.messages, v.entryChanged, v.status);
    golden("  entry", e.ReturnTemp, e.MassFlow, e.Output, e.PressureDrop);
}

// The sliders give a quantity as a share of its window, the other two from the law. A value typed
// inside the window is taken (a decimal comma reads as a point), one outside leaves the entry.
TEST(OperatingPoint, SlidersTypedValuesAndFanControlsOfEachSeries)
{
    Golden golden;
    const std::pair<Quantity, const char*> quantities[] = {
        {Quantity::ReturnTemp, "return"}, {Quantity::MassFlow, "mass flow"}, {Quantity::Output, "output"}};
    for (double factor : {1.0, 1.16, 0.8}) {
        Session room = designSession(); // a free W1 of 1300 mm at 75/20 °C, as "weiter" leaves it
        HeatingEntry& e = room.currentHeatingEntry();
        describe(e, "W1", false, 1300);
        e.HeightFactor = factor, e.FreeConvection = true;
        update_grenzen(room, 1, true);
        golden("factor", factor, e.ReturnTempStart, e.ReturnTempEnd, e.MassFlowStart, e.MassFlowEnd,
               e.OutputStart, e.OutputEnd);
        for (const auto& [q, name] : quantities) {
            for (int position : {0, 30, 100})
                shown(golden, std::string(name) + " slider " + std::to_string(position),
                      moveSlider(e, room.Project, q, position), e);
            const Window w = typedWindow(e, q);
            const double step = q == Quantity::ReturnTemp ? 0.5 : 1;
            for (double value :
                 {w.lowest - step, w.lowest, (w.lowest + w.highest) / 2, w.highest, w.highest + step}) {
                moveSlider(e, room.Project, Quantity::ReturnTemp, 50);
                const HeatingEntry before = e;
                std::string text = strFixed(value, 0, 1);
                std::replace(text.begin(), text.end(), '.', ',');
                const HeatingPointView v = typeValue(e, room.Project, q, text);
                shown(golden, std::string(name) + " typed " + text, v, e);
                if (!v.entryChanged) {
                    EXPECT_EQ(e, before);
                }
            }
            // Confirming the field as shown (a click or Tab through it) leaves the operating point.
            const HeatingPointView v =
                typeValue(e, room.Project, Quantity::Output,
                          strFixed(std::round((e.OutputStart + e.OutputEnd) / 2), 0, 0));
            const double returnTemp = e.ReturnTemp;
            typeValue(e, room.Project, Quantity::Output, v.outputText);
            EXPECT_NEAR(e.ReturnTemp, returnTemp, 1e-9);
        }
    }
    engine::PressureDropResult drop;
    drop.highPressureDrop = true;
    golden("warnings of a high drop", warningsOf(drop));
    // Positions within [40, 60], clamped at the ends; an empty window puts the slider at 0.
    std::vector<int> positions;
    for (double x : {40.0, 60.0, 50.1, 70.0, 30.0})
        positions.push_back(sliderPosition(x, 40, 60));
    golden("positions", positions, sliderPosition(50, 50, 50), fieldValue("abc"));

    for (const std::vector<std::string>& line : stepLines("calculation/HeatingFan.steps.txt")) {
        const std::string& name = line[0];
        FanMemory memory;
        memory.previousSpeed = 345, memory.previousSetting = std::stod(line[1]);
        double stored = 0;
        for (std::size_t i = 2; i < line.size(); ++i) {
            const std::string& step = line[i];
            if (step[0] != '=') {
                const FanBarView v = moveHeatingFanBar(name, stored, std::stoi(step), memory);
                golden(name + " " + step, v.fanSpeed, v.fanSetting, v.barPosition, v.barMaximum,
                       v.settingText, v.messages);
                stored = v.fanSpeed;
            } else {
                const TypedFanSetting t = typeHeatingFanSetting(name, stored, step.substr(1), memory);
                golden(name + " " + step, t.fanSpeed, t.fanSetting, t.barPosition, t.barMaximum,
                       t.correctedText, t.messages);
                stored = t.fanSpeed;
            }
        }
    }

    for (const std::vector<std::string>& w : stepLines("calculation/CoolingPoint.steps.txt")) {
        const auto number = [&w](std::size_t i) { return std::stod(w[i]); };
        const std::string label = w[0] + " " + w[1];
        if (w[0] == "update") {
            CoolingRoom room(w[1].c_str(), number(2), number(3), number(4));
            room.e.ReturnTemp = number(5);
            room.project.CoolingFlowTemp = number(6);
            const CoolingPointView v = update1_K(room.e, room.e, room.project);
            golden(label, number(5), number(6), v.status, v.messages, v.returnTempText, v.rated, v.waterSide,
                   v.barRange, v.barPosition, v.settingText, v.warnings, v.maxAirFlow, v.qmin, v.qmax,
                   v.pressureDropText, v.soundLevelText, v.massFlowText);
            rated(golden, room.e);
            // The range ends are rated without touching the entry.
            const CoolingEntry before = room.e;
            if (v.rated) {
                EXPECT_DOUBLE_EQ(Minmax_K(room.e, room.project, v.barRange ? v.barRange->maximum : 240),
                                 v.qmax);
            }
            EXPECT_EQ(room.e, before);
        } else if (w[0] == "stages") {
            std::vector<int> stages;
            for (std::size_t i = 1; i < w.size(); ++i)
                stages.push_back(static_cast<int>(stageOf(number(i))));
            golden("stages", stages);
        } else if (w[0] == "reset") {
            const FanBarReset r = reset4(CoolingRoom(w[1].c_str(), number(2), 0).e);
            golden(label, number(2), r.barRange, r.maxAirFlow);
        } else if (w[0] == "bar") {
            CoolingRoom room(w[1].c_str(), w[1][1] == 'N' ? 1350 : 1250, number(2), 5);
            FanMemory memory;
            memory.previousSpeed = number(3), memory.airFlowLimit = number(4);
            const int position = std::stoi(w[5]);
            const CoolingFanView v = moveCoolingFanBar(room.e, room.project, position, 3, 1, memory);
            golden(label, position, v.barRange, v.barPosition, v.settingText, v.slowSettingText,
                   v.settingAsLabel, v.messages, v.status, v.warnings, v.outputText, v.totalText, v.waterSide,
                   v.soundLevelText, v.pressureDropText, v.massFlowText, v.massFlowLow, memory.previousSpeed);
            rated(golden, room.e);
        } else {
            CoolingRoom room(w[1].c_str(), 1350, 0);
            FanMemory memory;
            memory.airFlowLimit = 240;
            const TypedCoolingSetting t = typeCoolingSetting(room.e, w[2], memory);
            golden(label + " " + w[2], t.settingText, t.barPosition, room.e.FanSpeed, room.e.FanSetting);
        }
    }
}


// An entry of either list: name, fan speed, fan setting, length; free convection without a fan.
struct Unit
{
    std::string name;
    double speed = 0, setting = 0, length = 1250;
};

// An entry written "name/speed/setting/length" in a step line, the numbers optional.
Unit unitOf(std::string word)
{
    std::replace(word.begin(), word.end(), '/', ' ');
    std::istringstream in(word);
    Unit u;
    in >> u.name >> u.speed >> u.setting >> u.length; // what the word leaves out keeps its default
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
void list(Golden& golden, const Session& s)
{
    const ProjectRecord& p = s.Project;
    std::vector<std::string> entries;
    const auto entry = [](const auto& e) { return e.TypeName.text() + "*" + std::to_string(e.Count); };
    for (std::size_t i = 0; i < 4; ++i)
        entries.push_back(s.HeatingMode ? entry(p.HeatingEntries[i]) : entry(p.CoolingEntries[i]));
    golden("  list", p.HeatingEntryCount, p.CoolingEntryCount, s.HeatingEntryIndex, s.CoolingEntryIndex,
           entries, "in use", p.HeatingInUse, p.HeatingEntries[0].InUse, p.CoolingEntries[0].InUse);
}

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

TEST(EntryCycle, HeldQuantitiesCountsAndListEditing)
{
    Golden golden;
    for (const std::vector<std::string>& w : stepLines("calculation/HeatingCycle.steps.txt")) {
        const bool held = w[0] == "1", armed = w[3] == "1";
        const double massFlowStart = std::stod(w[4]), massFlowEnd = std::stod(w[5]);
        Session s = designSession();
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
        Session s = designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "WF2", true, 1000, 1400);
        e.ReturnTemp = 74.9, e.MassFlow = 1e6;
        update_grenzen(s, 1, returnTempHeld);
        const SpeedChange change = afterSpeedChange(s, returnTempHeld, false);
        golden("speed change", returnTempHeld);
        limits(golden, change.limits);
        point(golden, change.update, e);
    }

    // A count is a whole number within 1..15 (hexadecimal included), corrected where it was not; the
    // current entry's count follows its field unless an entry is being added.
    for (const char* text : {"3", " 7", "15", "0", "99", "-4", "", "  ", "$F", "0x0c", "4x", "abc", "$1F"}) {
        const TypedCount typed = countOfText(text);
        golden(std::string("count '") + text + "'", typed.count, typed.correctedText);
    }
    for (bool adding : {false, true}) {
        Session s = designSession();
        s.currentCoolingEntry().Output = 250.5;
        s.EntryBeingAdded = adding;
        const CountChange cooling = Edit9Change(s, "4"), heating = Edit5Change(s, "20");
        golden("count fields", adding, cooling.applied, cooling.totalText, heating.applied,
               heating.correctedText, s.currentCoolingEntry().Count, s.currentHeatingEntry().Count);
    }
    for (const char* text : {"17", "19,5", "20.5", "warm"}) {
        Session s = designSession();
        s.HeatingMode = false;
        describe(s.currentCoolingEntry(), "WFW-2L", true, 1250, 700);
        s.currentCoolingEntry().ReturnTemp = 18;
        const CoolingStep c = Edit6Change(s, text, "1");
        const CoolingEntry& e = s.currentCoolingEntry();
        golden(std::string("return ") + text);
        golden("  cooling", c.applied, c.error.has_value(), c.heading.countText, c.heading.description,
               c.captions.speedHeading, c.point.rated, c.point.messages, c.massFlowLow, c.outputText,
               c.totalText, c.countText);
        golden("  entry", e.FanSpeed, e.Count, e.ReturnTemp, e.Output, e.MassFlow);
    }

    // Appending, deleting (check and Yes), loading and writing back on lists of each series.
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

    for (const std::vector<std::string>& w : stepLines("calculation/ListEditing.steps.txt")) {
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

TEST(RoomList, LinesTotalsAndNotesAndTheRunsOverTheRoomData)
{
    Golden golden;
    for (const std::vector<std::string>& w : stepLines("calculation/RoomList.steps.txt"))
        for (bool dualUse : {false, true}) {
            const bool heating = w[0] == "heating";
            const RoomListView v = roomList(room(w), heating, heating && dualUse, !heating && dualUse);
            golden(w[0], dualUse, std::stod(w[1]), v.coolingTotalShown, v.coolingTotalText,
                   v.coolingDemandCovered, v.fanNotesShown, v.primaryAirNotesShown);
            for (const std::string& line : v.lines)
                golden("  line", line);
        }

    // The room and flow temperatures a run accepts, on either side of each limit.
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

    // Changed room data, accepted: every entry recalculated and its return temperature kept inside
    // its new window; rejected: the values known before return.
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

// A load cut at the table size says so; a missing file changes nothing; a single length is
// chosen at once; an entry beyond the table or its blocks is reported and the entry keeps its type.
TEST(TypeChoice, UnusualTypeFilesAndTheStartOfAHeatingEntry)
{
    Golden golden;
    Session s = designSession();
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
    chosen("a single length", chooseType(s, 0, loadTypeList(s, false).types.at(0)));

    // The first entry starts in the middle of its window, an added one at the held quantity of the
    // one before; a return temperature above the flow is confirmed or leaves the entry unfinished.
    const auto never = [](std::size_t) {
        ADD_FAILURE() << "no question expected";
        return false;
    };
    s = designSession();
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
        Session above = designSession();
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
