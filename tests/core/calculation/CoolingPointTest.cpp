#include "core/calculation/CoolingPoint.h"

#include "core/engine/AirSide.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
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

double airOutput(double airFlow)
{
    return engine::Luftleistung({16, 26, airFlow}).outputW;
}

// The entry takes the engine's coefficients, output and pressure drop at its own speed and the
// fields show them; the bar stands within the series' range (a slow fan's at its speed cut, not
// rounded); the limits are the outputs at the range ends, rated without touching the entry.
TEST(CoolingPoint, UpdatePassesTheEnginesRatingThrough)
{
    Room room("WFW-2L", 1250, 1120);
    CoolingEntry& e = room.e;
    const engine::ConvectorCoefficients own = coolingCoefficients(e, 1120, 1);
    const CoolingPointView v = update1_K(e, e, room.project);
    EXPECT_TRUE(v.rated && v.waterSide && v.messages.empty());
    EXPECT_EQ(v.status, 0);
    EXPECT_DOUBLE_EQ(e.CoeffK, own.characteristic.K);
    EXPECT_DOUBLE_EQ(e.SoundLevel, own.soundLevelDb);
    const double q = own.characteristic.K * std::pow(26.0 - 17.0, own.characteristic.n);
    EXPECT_NEAR(e.Output, q, 1e-6 * q); // at the mean water temperature, as a positive number
    EXPECT_GT(e.PressureDrop, 0);
    EXPECT_EQ(v.pressureDropText, strFixed(e.PressureDrop, 4, 1));
    EXPECT_EQ(v.soundLevelText, strFixed(std::fabs(e.SoundLevel), 4, 1));
    EXPECT_EQ(v.massFlowText, strFixed(e.MassFlow, 4, 1));
    EXPECT_EQ(v.barRange, (BarRange{700, 1600}));
    EXPECT_EQ(v.barPosition, 1120);
    EXPECT_EQ(v.settingText, "70");
    const CoolingEntry before = e;
    EXPECT_DOUBLE_EQ(Minmax_K(e, room.project, 1600), v.qmax);
    EXPECT_LT(Minmax_K(e, room.project, 700), e.Output);
    EXPECT_DOUBLE_EQ(Minmax_K(e, room.project, 700), v.qmin);
    EXPECT_GT(v.qmax, e.Output);
    EXPECT_EQ(e, before);

    Room slow("WFWL-2L", 1250, 690.7);
    const CoolingPointView s = update1_K(slow.e, slow.e, slow.project);
    EXPECT_EQ(s.barRange, (BarRange{345, 1150}));
    EXPECT_EQ(s.barPosition, 690);
    EXPECT_EQ(s.settingText, "60");

    // A primary-air unit is cooled by its air stream alone: no water side, bar in m³/h.
    Room air("WNF2", 1350, 0, 120);
    const CoolingPointView a = update1_K(air.e, air.e, air.project);
    EXPECT_TRUE(a.rated);
    EXPECT_FALSE(a.waterSide || a.barRange);
    EXPECT_NEAR(air.e.Output, airOutput(120), 1e-9);
    EXPECT_EQ(a.maxAirFlow, 240.0);
    EXPECT_DOUBLE_EQ(a.qmin, 0);
    EXPECT_NEAR(a.qmax, airOutput(240), 1e-9);
    EXPECT_EQ(a.barPosition, 120);
    EXPECT_EQ(a.settingText, "120");
}

// A return temperature without a cooling result is replaced by 18 °C once with its note; when
// 18 °C fails as well the entry keeps its values after the one note.
TEST(CoolingPoint, ReturnTemperatureWithoutResultIsReplacedOnce)
{
    Room room("WFW-2L", 1250, 1120);
    room.e.ReturnTemp = 16; // equal to the flow: no usable mass flow
    CoolingPointView v = update1_K(room.e, room.e, room.project);
    EXPECT_EQ(v.messages, std::vector<std::size_t>{NoCoolingResultText});
    EXPECT_EQ(v.returnTempText, "18");
    EXPECT_DOUBLE_EQ(room.e.ReturnTemp, 18);
    EXPECT_TRUE(v.rated);
    EXPECT_EQ(v.status, 0);

    room.project.CoolingFlowTemp = 18;
    const CoolingEntry before = room.e;
    v = update1_K(room.e, room.e, room.project);
    EXPECT_EQ(v.messages, std::vector<std::size_t>{NoCoolingResultText});
    EXPECT_EQ(v.status, 1);
    EXPECT_FALSE(v.rated);
    EXPECT_DOUBLE_EQ(room.e.Output, before.Output);
}

// A stored speed counts as the stage it rounds to; each series resets the bar to its own range.
TEST(CoolingPoint, StagesAndBarRanges)
{
    using engine::DwfStage;
    std::vector<DwfStage> stages;
    for (double speed : {0.0, 699.4, 699.5, 999.0, 1000.0, 1399.4, 1399.5, 1600.0})
        stages.push_back(stageOf(speed));
    EXPECT_EQ(stages,
              (std::vector{DwfStage::Off, DwfStage::Off, DwfStage::Rpm700, DwfStage::Rpm700,
                           DwfStage::Rpm1000, DwfStage::Rpm1000, DwfStage::Rpm1400, DwfStage::Rpm1400}));

    struct Case
    {
        const char* name;
        double length;
        std::optional<BarRange> range;
        std::optional<double> maxAirFlow;
    };
    const Case cases[] = {
        {"WNF2", 1350, BarRange{0, 240}, 240},
        {"WNF3", 1050, BarRange{0, 196}, 0.7 * 280},
        {"WFW-2L", 1250, BarRange{700, 1600}, std::nullopt},
        {"WFWL-4L", 1250, BarRange{345, 1150}, std::nullopt},
        {"DWF", 1250, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FanBarReset r = reset4(Room(c.name, c.length, 0).e);
        EXPECT_EQ(r.barRange, c.range);
        EXPECT_EQ(r.maxAirFlow, c.maxAirFlow);
    }
}

// The cooling fan bar per series: the speed or air flow it sets, the setting shown and the
// entry rated there with the count the field holds.
TEST(CoolingPoint, FanBarSetsSpeedOrAirFlow)
{
    struct Case
    {
        const char* name;
        double storedSpeed, previousSpeed;
        int position;
        double speed; // the entry's speed afterwards
        std::optional<BarRange> range;
        std::optional<std::string> setting; // `Edit8`, the bar at the speed
        bool asLabel;
        std::vector<std::size_t> messages;
    };
    const Case cases[] = {
        {"WFW-2L", 1120, 0, 800, 800, BarRange{700, 1600}, "  50", false, {}},
        // A slow fan below its minimum runs at the minimum, with its note.
        {"WFWL-2L", 345, 345, 300, 345, BarRange{345, 1150}, "  30", true, {WfwlMinimumText}},
        // A staged unit keeps its stage; the bar is none of its settings.
        {"DWF", 1000, 0, 1300, 1000, std::nullopt, std::nullopt, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Room room(c.name, 1250, c.storedSpeed, 5);
        FanMemory memory;
        memory.previousSpeed = c.previousSpeed;
        const CoolingFanView v = moveCoolingFanBar(room.e, room.project, c.position, 3, 1, memory);
        const CoolingEntry& e = room.e;
        EXPECT_DOUBLE_EQ(e.FanSpeed, c.speed);
        EXPECT_EQ(v.barRange, c.range);
        EXPECT_EQ(v.barPosition, c.range ? std::optional<int>(int(c.speed)) : std::nullopt);
        EXPECT_EQ(v.settingText, c.setting);
        EXPECT_EQ(v.slowSettingText, c.setting);
        EXPECT_EQ(v.settingAsLabel, c.asLabel);
        EXPECT_EQ(v.messages, c.messages);
        EXPECT_DOUBLE_EQ(e.FanSetting, c.range ? 0 : 5);
        EXPECT_DOUBLE_EQ(memory.previousSpeed, c.range ? c.speed : c.previousSpeed);
        EXPECT_DOUBLE_EQ(e.CoeffK, coolingCoefficients(e, c.speed, 1).characteristic.K);
        EXPECT_EQ(e.Count, 3);
        EXPECT_TRUE(v.waterSide);
        EXPECT_EQ(v.massFlowLow, e.MassFlow < 50);
        const std::vector<std::string> texts{v.outputText, v.totalText, v.soundLevelText, v.pressureDropText,
                                             v.massFlowText};
        EXPECT_EQ(texts, (std::vector{strFixed(e.Output, 0, 1), strFixed(3 * e.Output, 0, 1),
                                      strFixed(e.SoundLevel, 0, 1), strFixed(e.PressureDrop, 0, 1),
                                      strFixed(e.MassFlow, 0, 1)}));
    }

    // Primary air: the bar is the air flow up to the unit's limit, no water side.
    Room room("WNF2", 1350, 900, 0);
    FanMemory memory;
    memory.airFlowLimit = 240;
    const CoolingFanView v = moveCoolingFanBar(room.e, room.project, 100, 2, 1, memory);
    EXPECT_EQ(v.barRange, (BarRange{0, 240}));
    EXPECT_DOUBLE_EQ(room.e.FanSetting, 100);
    EXPECT_DOUBLE_EQ(room.e.FanSpeed, 0);
    EXPECT_EQ(v.settingText, "100");
    EXPECT_NEAR(room.e.Output, airOutput(100), 1e-9);
    EXPECT_EQ(v.totalText, strFixed(2 * room.e.Output, 0, 1));
    EXPECT_FALSE(v.waterSide);
}

// A typed setting is kept within what the unit allows; a decimal comma reads as a point.
TEST(CoolingPoint, TypedSettingIsKeptWithinTheUnitsRange)
{
    struct Case
    {
        const char* name;
        const char* typed;
        const char* shown;
        int barPosition;
        double speed, setting;
    };
    const Case cases[] = {
        {"WNF2", "300", "240", 240, 0, 240},     {"WNF2", "99,6", "100", 100, 0, 99.6},
        {"WFW-2L", "20", "44", 700, 700, 0},     {"WFW-2L", "50,6", "51", 810, 50.6 * 16, 0},
        {"WFW-2L", "120", "100", 1600, 1600, 0}, {"WFWL-2L", "10", "30", 345, 345, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.typed);
        Room room(c.name, 1350, 0);
        FanMemory memory;
        memory.airFlowLimit = 240;
        const TypedCoolingSetting t = typeCoolingSetting(room.e, c.typed, memory);
        EXPECT_EQ(t.settingText, c.shown);
        EXPECT_EQ(t.barPosition, c.barPosition);
        EXPECT_DOUBLE_EQ(room.e.FanSpeed, c.speed);
        EXPECT_DOUBLE_EQ(room.e.FanSetting, c.setting);
    }
}

} // namespace
} // namespace tepa::calculation
