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

    // The water side as the engine rates it at `speed`.
    engine::OutputResult rated(double speed) const
    {
        return engine::Kuehlleistung(coolingCoefficients(e, speed, e.HeightFactor).characteristic,
                                     {16, e.ReturnTemp, 26}, e.MassFlow);
    }
};

double airOutput(double airFlow)
{
    return engine::Luftleistung({16, 26, airFlow}).outputW;
}

// Each series rated at its own speed or air flow: the entry takes the engine's values at that
// speed, the bar and setting show it within the series' range, the limits are the outputs at
// the range ends.
TEST(CoolingPoint, UpdateRatesEachSeriesAtItsOwnSpeed)
{
    struct Case
    {
        const char* name;
        double length, speed, setting;
        BarRange range;
        int position;
        const char* settingText;
        double lowEnd, highEnd;
    };
    const std::vector<Case> cases = {
        {"WFW-2L", 1250, 1120, 0, {700, 1600}, 1120, "70", 700, 1600},
        // A slow fan's bar stands at its speed cut, not rounded.
        {"WFWL-2L", 1250, 690.7, 0, {345, 1150}, 690, "60", 345, 1150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Room room(c.name, c.length, c.speed, c.setting);
        CoolingEntry& e = room.e;
        const engine::ConvectorCoefficients own = coolingCoefficients(e, c.speed, 1);
        const CoolingPointView v = update1_K(e, e, room.project);

        EXPECT_TRUE(v.rated);
        EXPECT_TRUE(v.waterSide);
        EXPECT_EQ(v.status, 0);
        EXPECT_TRUE(v.messages.empty());
        EXPECT_DOUBLE_EQ(e.CoeffK, own.characteristic.K);
        EXPECT_DOUBLE_EQ(e.ExponentN, own.characteristic.n);
        EXPECT_DOUBLE_EQ(e.SoundLevel, own.soundLevelDb);
        EXPECT_DOUBLE_EQ(e.EffectiveLength, own.effectiveLengthMm);
        // Q = K · (26 − 17)^n at the mean water temperature, shown as a positive number.
        const double q = own.characteristic.K * std::pow(26.0 - 17.0, own.characteristic.n);
        EXPECT_NEAR(e.Output, q, 1e-6 * q);
        EXPECT_GT(e.MassFlow, 0);

        ASSERT_TRUE(v.barRange);
        EXPECT_EQ(*v.barRange, c.range);
        EXPECT_EQ(v.barPosition, c.position);
        EXPECT_EQ(v.settingText, c.settingText);
        EXPECT_FALSE(v.maxAirFlow);
        EXPECT_DOUBLE_EQ(v.qmin, std::fabs(room.rated(c.lowEnd).outputW));
        EXPECT_DOUBLE_EQ(v.qmax, std::fabs(room.rated(c.highEnd).outputW));
        EXPECT_LT(v.qmin, e.Output);
        EXPECT_GT(v.qmax, e.Output);

        engine::PressureDropInput drop;
        drop.massFlowKgPerH = e.MassFlow;
        drop.lengthMm = e.EffectiveLength;
        drop.Tv = 16;
        drop.Tr = 18;
        drop.typeName = c.name;
        const std::string dataLine = e.TypeText1.text();
        drop.dataLine = dataLine;
        drop.mode = engine::Mode::Cooling;
        const engine::PressureDropResult expected = engine::Druckverlust(drop);
        EXPECT_DOUBLE_EQ(e.PressureDrop, expected.pressureDropPa);
        EXPECT_EQ(v.warnings, warningsOf(expected));
        EXPECT_EQ(v.pressureDropText, strFixed(e.PressureDrop, 4, 1));
        EXPECT_EQ(v.soundLevelText, strFixed(std::fabs(e.SoundLevel), 4, 1));
        EXPECT_EQ(v.massFlowText, strFixed(e.MassFlow, 4, 1));

        // The range ends are rated without touching the entry.
        const CoolingEntry before = e;
        EXPECT_DOUBLE_EQ(Minmax_K(e, room.project, c.highEnd), v.qmax);
        EXPECT_EQ(e, before);
    }

    // A primary-air unit is cooled by its air stream alone: no water side, bar in m³/h.
    Room room("WNF2", 1350, 0, 120);
    const CoolingPointView v = update1_K(room.e, room.e, room.project);
    EXPECT_TRUE(v.rated);
    EXPECT_FALSE(v.waterSide);
    EXPECT_EQ(v.warnings, PressureDropWarnings{});
    EXPECT_NEAR(room.e.Output, airOutput(120), 1e-9);
    EXPECT_GT(room.e.Output, 0);
    ASSERT_TRUE(v.maxAirFlow);
    EXPECT_DOUBLE_EQ(*v.maxAirFlow, 240);
    EXPECT_DOUBLE_EQ(v.qmin, 0);
    EXPECT_NEAR(v.qmax, airOutput(240), 1e-9);
    EXPECT_EQ(v.barPosition, 120);
    EXPECT_EQ(v.settingText, "120");
    EXPECT_FALSE(v.barRange);
}

// A return temperature without a cooling result is replaced by 18 °C once with text 192; when
// 18 °C fails as well the entry keeps its values after the one note.
TEST(CoolingPoint, ReturnTemperatureWithoutResultIsReplacedOnce)
{
    Room room("WFW-2L", 1250, 1120);
    room.e.ReturnTemp = 16; // equal to the flow: no usable mass flow
    CoolingPointView v = update1_K(room.e, room.e, room.project);
    EXPECT_EQ(v.messages, std::vector<std::size_t>{NoCoolingResultText});
    EXPECT_EQ(v.returnTempText, "18");
    EXPECT_DOUBLE_EQ(room.e.ReturnTemp, 18);
    EXPECT_EQ(v.status, 0);
    EXPECT_TRUE(v.rated);
    EXPECT_GT(room.e.Output, 0);

    room.project.CoolingFlowTemp = 18;
    const CoolingEntry before = room.e;
    v = update1_K(room.e, room.e, room.project);
    EXPECT_EQ(v.messages, std::vector<std::size_t>{NoCoolingResultText});
    EXPECT_EQ(v.status, 1);
    EXPECT_FALSE(v.rated);
    EXPECT_DOUBLE_EQ(room.e.Output, before.Output);
}

// A stored speed counts as the stage it rounds to; each stage starts at its own speed.
TEST(CoolingPoint, StageOfAStoredSpeed)
{
    const std::pair<double, engine::DwfStage> cases[] = {
        {0, engine::DwfStage::Off},         {699.4, engine::DwfStage::Off},
        {699.5, engine::DwfStage::Rpm700},  {999, engine::DwfStage::Rpm700},
        {1000, engine::DwfStage::Rpm1000},  {1399.4, engine::DwfStage::Rpm1000},
        {1400, engine::DwfStage::Rpm1400},  {1600, engine::DwfStage::Rpm1400},
    };
    for (const auto& [speed, stage] : cases)
        EXPECT_EQ(stageOf(speed), stage) << speed;
}

TEST(CoolingPoint, ResetGivesTheBarRangeOfTheSeries)
{
    struct Case
    {
        const char* name;
        double length;
        std::optional<BarRange> range;
        std::optional<double> maxAirFlow;
    };
    const std::vector<Case> cases = {
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
        EXPECT_EQ(r.maxAirFlow.has_value(), c.maxAirFlow.has_value());
        if (r.maxAirFlow && c.maxAirFlow) {
            EXPECT_DOUBLE_EQ(*r.maxAirFlow, *c.maxAirFlow);
        }
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
        std::optional<int> barPosition;
        std::optional<std::string> setting; // `Edit8`
        bool asLabel;
        std::vector<std::size_t> messages;
    };
    const std::vector<Case> cases = {
        {"WFW-2L", 1120, 0, 800, 800, BarRange{700, 1600}, 800, "  50", false, {}},
        // A slow fan below its minimum runs at the minimum, with its note.
        {"WFWL-2L", 345, 345, 300, 345, BarRange{345, 1150}, 345, "  30", true, {WfwlMinimumText}},
        // A staged unit keeps its stage; the bar is none of its settings.
        {"DWF", 1000, 0, 1300, 1000, std::nullopt, std::nullopt, std::nullopt, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Room room(c.name, 1250, c.storedSpeed, 5);
        FanMemory memory;
        memory.previousSpeed = c.previousSpeed;
        const CoolingFanView v = moveCoolingFanBar(room.e, room.project, c.position, 3, 1, memory);
        CoolingEntry& e = room.e;
        EXPECT_DOUBLE_EQ(e.FanSpeed, c.speed);
        EXPECT_EQ(v.barRange, c.range);
        EXPECT_EQ(v.barPosition, c.barPosition);
        EXPECT_EQ(v.settingText, c.setting);
        EXPECT_EQ(v.slowSettingText, c.setting);
        EXPECT_EQ(v.settingAsLabel, c.asLabel);
        EXPECT_EQ(v.messages, c.messages);
        if (c.range) {
            EXPECT_DOUBLE_EQ(e.FanSetting, 0);
            EXPECT_DOUBLE_EQ(memory.previousSpeed, c.speed);
        }

        const engine::ConvectorCoefficients own = coolingCoefficients(e, c.speed, 1);
        EXPECT_DOUBLE_EQ(e.CoeffK, own.characteristic.K);
        const double q = own.characteristic.K * std::pow(9.0, own.characteristic.n);
        EXPECT_NEAR(e.Output, q, 1e-6 * q);
        EXPECT_EQ(e.Count, 3);
        EXPECT_TRUE(v.waterSide);
        EXPECT_EQ(v.status, 0);
        EXPECT_EQ(v.massFlowLow, e.MassFlow < 50);
        EXPECT_EQ(v.outputText, strFixed(e.Output, 0, 1));
        EXPECT_EQ(v.totalText, strFixed(3 * e.Output, 0, 1));
        EXPECT_EQ(v.soundLevelText, strFixed(e.SoundLevel, 0, 1));
        EXPECT_EQ(v.pressureDropText, strFixed(e.PressureDrop, 0, 1));
        EXPECT_EQ(v.massFlowText, strFixed(e.MassFlow, 0, 1));
        EXPECT_GT(e.PressureDrop, 0);
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
    EXPECT_FALSE(v.status);
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
    const std::vector<Case> cases = {
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
