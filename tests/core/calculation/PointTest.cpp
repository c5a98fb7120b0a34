#include "SessionFixture.h"

#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingFan.h"
#include "core/calculation/HeatingPoint.h"
#include "core/calculation/UpdateCycle.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

// The operating point of an entry in either mode and its fan controls.

namespace tepa::calculation {
namespace {

// Heating: a free W1 convector of 1300 mm at 75/20 °C rated with `heightFactor`, its limits and
// operating point set as "weiter" leaves them.
Session heatingRoom(double heightFactor)
{
    Session s = test::designSession();
    HeatingEntry& e = s.currentHeatingEntry();
    test::describe(e, "W1", false, 1300);
    e.HeightFactor = heightFactor, e.FreeConvection = true;
    update_grenzen(s, 1, true);
    moveSlider(e, s.Project, Quantity::ReturnTemp, 50);
    return s;
}

void shown(test::Golden& golden, const std::string& label, const HeatingPointView& v, const HeatingEntry& e)
{
    golden(label, v.returnTempText, v.returnTempPosition, v.massFlowText, v.massFlowPosition, v.outputText,
           v.outputPosition, v.pressureDropText, v.warnings, v.messages, v.entryChanged, v.status);
    golden("  entry", e.ReturnTemp, e.MassFlow, e.Output, e.PressureDrop);
}

// The sliders give each quantity as a share of its window and the other two from the law, with
// the pressure drop and its warnings (a few kg/h run laminar through the tubes). A value typed
// inside the window beside the field is taken (a decimal comma reads as a point), one outside is
// refused with its text and leaves the entry as it was. The output field shows the entry's
// output whatever the height factor: the factor is part of the characteristic already.
TEST(HeatingPoint, SlidersAndTypedValuesAtEveryHeightFactor)
{
    test::Golden golden;
    const std::pair<Quantity, const char*> quantities[] = {
        {Quantity::ReturnTemp, "return"}, {Quantity::MassFlow, "mass flow"}, {Quantity::Output, "output"}};
    for (double factor : {1.0, 1.16, 0.8}) {
        Session room = heatingRoom(factor);
        HeatingEntry& e = room.currentHeatingEntry();
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
}

// Bar moves and typed settings of each fan series: speed, setting, bar position and maximum, the
// text shown (a typed setting: the corrected text, if any) and the notes.
TEST(HeatingFan, BarMovesAndTypedSettingsOfEachSeries)
{
    test::Golden golden;
    for (const std::vector<std::string>& line : test::stepLines("calculation/HeatingFan.steps.txt")) {
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
void rated(test::Golden& golden, const CoolingEntry& e)
{
    golden("  entry", e.FanSpeed, e.FanSetting, e.Count, e.ReturnTemp, e.Output, e.MassFlow, e.PressureDrop,
           e.SoundLevel, e.CoeffK, e.ExponentN, e.EffectiveLength);
}

// Each series rated at its own speed or air flow (a slow fan's bar at its speed cut, not rounded;
// primary air by its air stream alone); a return temperature without a cooling result replaced
// by 18 °C once, and kept when 18 °C fails as well; the bar reset and moved per series; typed
// settings kept within the unit's range.
TEST(CoolingPoint, RatingsAndFanControlsOfEachSeries)
{
    test::Golden golden;
    for (const std::vector<std::string>& w : test::stepLines("calculation/CoolingPoint.steps.txt")) {
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

} // namespace
} // namespace tepa::calculation
