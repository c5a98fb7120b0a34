#include "core/calculation/CoolingPoint.h"

#include "SessionFixture.h"

#include "core/engine/ProductLines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

// A room cooled with 16 °C water to 26 °C; primary air enters at 16 °C.
struct Room
{
    ProjectRecord project;
    CoolingEntry e;

    Room(const char* name, double length, double speed, double setting = 0)
    {
        project.CoolingFlowTemp = 16;
        project.CoolingRoomTemp = 26;
        project.CoolingSecondTemp = 16;
        e.TypeName.setText(name);
        e.TypeText1.setText(engine::test::typicalDataLine());
        e.TypeText2.setText(engine::test::fanLine("0.0200000", "0.6000000", "1.2000000"));
        e.Length = length;
        e.HeightFactor = 1;
        e.FanSpeed = speed;
        e.FanSetting = setting;
        e.Count = 1;
        e.ReturnTemp = 18;
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
    struct Case
    {
        const char* name;
        double length, speed, setting, returnTemp, flowTemp;
    };
    const Case updates[] = {{"WFW-2L", 1250, 1120, 0, 18, 16},
                            {"WFWL-2L", 1250, 690.7, 0, 18, 16},
                            {"WNF2", 1350, 0, 120, 18, 16},
                            {"WFW-2L", 1250, 1120, 0, 16, 16},
                            {"WFW-2L", 1250, 1120, 0, 18, 18}};
    for (const Case& c : updates) {
        Room room(c.name, c.length, c.speed, c.setting);
        room.e.ReturnTemp = c.returnTemp;
        room.project.CoolingFlowTemp = c.flowTemp;
        const CoolingPointView v = update1_K(room.e, room.e, room.project);
        golden(std::string("update ") + c.name, c.returnTemp, c.flowTemp, v.status, v.messages,
               v.returnTempText, v.rated, v.waterSide, v.barRange, v.barPosition, v.settingText, v.warnings,
               v.maxAirFlow, v.qmin, v.qmax, v.pressureDropText, v.soundLevelText, v.massFlowText);
        rated(golden, room.e);
        // The range ends are rated without touching the entry.
        const CoolingEntry before = room.e;
        if (v.rated) {
            EXPECT_DOUBLE_EQ(Minmax_K(room.e, room.project, v.barRange ? v.barRange->maximum : 240), v.qmax);
        }
        EXPECT_EQ(room.e, before);
    }

    std::vector<int> stages;
    for (double speed : {0.0, 699.4, 699.5, 999.0, 1000.0, 1399.4, 1399.5, 1600.0})
        stages.push_back(static_cast<int>(stageOf(speed)));
    golden("stages", stages);
    const std::pair<const char*, double> resets[] = {
        {"WNF2", 1350}, {"WNF3", 1050}, {"WFW-2L", 1250}, {"WFWL-4L", 1250}, {"DWF", 1250}};
    for (const auto& [name, length] : resets) {
        const FanBarReset r = reset4(Room(name, length, 0).e);
        golden(std::string("reset ") + name, length, r.barRange, r.maxAirFlow);
    }

    struct Move
    {
        const char* name;
        double storedSpeed, previousSpeed, airFlowLimit;
        int position;
    };
    const Move moves[] = {{"WFW-2L", 1120, 0, 0, 800},
                          {"WFWL-2L", 345, 345, 0, 300},
                          {"DWF", 1000, 0, 0, 1300},
                          {"WNF2", 900, 0, 240, 100}};
    for (const Move& c : moves) {
        Room room(c.name, c.name[1] == 'N' ? 1350 : 1250, c.storedSpeed, 5);
        FanMemory memory;
        memory.previousSpeed = c.previousSpeed;
        memory.airFlowLimit = c.airFlowLimit;
        const CoolingFanView v = moveCoolingFanBar(room.e, room.project, c.position, 3, 1, memory);
        golden(std::string("bar ") + c.name, c.position, v.barRange, v.barPosition, v.settingText,
               v.slowSettingText, v.settingAsLabel, v.messages, v.status, v.warnings, v.outputText,
               v.totalText, v.waterSide, v.soundLevelText, v.pressureDropText, v.massFlowText, v.massFlowLow,
               memory.previousSpeed);
        rated(golden, room.e);
    }

    const std::pair<const char*, const char*> typed[] = {{"WNF2", "300"},   {"WNF2", "99,6"},
                                                         {"WFW-2L", "20"},  {"WFW-2L", "50,6"},
                                                         {"WFW-2L", "120"}, {"WFWL-2L", "10"}};
    for (const auto& [name, text] : typed) {
        Room room(name, 1350, 0);
        FanMemory memory;
        memory.airFlowLimit = 240;
        const TypedCoolingSetting t = typeCoolingSetting(room.e, text, memory);
        golden(std::string("typed ") + name + " " + text, t.settingText, t.barPosition, room.e.FanSpeed,
               room.e.FanSetting);
    }
}

// The model passes the engine's rating through: Q = K · (26 − 17)^n at the mean water
// temperature, shown as a positive number.
TEST(CoolingPoint, UpdateTakesTheEnginesCoefficients)
{
    Room room("WFW-2L", 1250, 1120);
    const engine::ConvectorCoefficients own = coolingCoefficients(room.e, 1120, 1);
    update1_K(room.e, room.e, room.project);
    EXPECT_DOUBLE_EQ(room.e.CoeffK, own.characteristic.K);
    const double q = own.characteristic.K * std::pow(26.0 - 17.0, own.characteristic.n);
    EXPECT_NEAR(room.e.Output, q, 1e-6 * q);
}

} // namespace
} // namespace tepa::calculation
