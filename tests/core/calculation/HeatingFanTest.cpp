#include "core/calculation/HeatingFan.h"

#include <gtest/gtest.h>

#include <vector>

namespace tepa::calculation {
namespace {

using Lines = std::vector<std::size_t>;

// Bar moves of each fan series, one after the other on the same memory: the speed (or air flow)
// taken, where the bar is put, the setting shown and the notes.
TEST(HeatingFan, BarMovesOfEachSeries)
{
    struct Move
    {
        int position;
        double speed, setting;
        int bar;
        const char* text;
        Lines messages;
    };
    struct Series
    {
        const char* name;
        int maximum;
        std::vector<Move> moves;
    };
    const Series cases[] = {
        {"WF1",
         1400,
         {{1, 700, 0, 700, "50.0", {}}, // one click from standstill starts the fan at its minimum
          {1000, 1000, 0, 1000, "71.4", {}},
          {630, 630, 0, 630, "45.0", {FanAtRestText}}, // below its minimum it runs without fan
          {600, 600, 0, 600, "42.9", {}},              // said once
          {0, 0, 0, 0, " 0.0", {}}}},
        {"WFs", 1600, {{10, 700, 0, 700, "43.8", {}}, {1600, 1600, 0, 1600, "100.0", {}}}},
        {"WFW-2L", 1600, {{500, 700, 0, 700, "43.8", {WfwMinimumText}}, {1200, 1200, 0, 1200, "75.0", {}}}},
        {"WFWL-2L",
         1150,
         {{1, 517.5, 0, 517, "45.0", {}}, // the minimum, then one step up from it
          {600, 575, 0, 575, "50.0", {}},
          {560, 517.5, 0, 517, "45.0", {}},
          {1150, 575, 0, 575, "50.0", {}},
          {100, 517.5, 0, 517, "45.0", {WfwlMinimumText}}}},
        {"WNF2",
         240,
         {{1, 30.0 * 700 / 3 / 62, 30, 30, "30", {}},
          {31, 60.0 * 700 / 3 / 62, 60, 60, "60", {}},
          {60, 30.0 * 700 / 3 / 62, 30, 30, "30", {}}, // at the step itself: one step down
          {240, 60.0 * 700 / 3 / 62, 60, 60, "60", {}}}},
    };
    for (const Series& c : cases) {
        FanMemory memory;
        memory.previousSpeed = 345;
        double stored = 0;
        for (const Move& m : c.moves) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << m.position);
            const FanBarView v = moveHeatingFanBar(c.name, stored, m.position, memory);
            EXPECT_DOUBLE_EQ(v.fanSpeed, m.speed);
            EXPECT_DOUBLE_EQ(v.fanSetting, m.setting);
            EXPECT_EQ(v.barPosition, m.bar);
            EXPECT_EQ(v.barMaximum, c.maximum);
            EXPECT_EQ(v.settingText, m.text);
            EXPECT_EQ(v.messages, m.messages);
            stored = v.fanSpeed;
        }
    }
}

// The primary-air bar steps from 0 to 280 along its ladder; a typed setting is taken once as it
// stands. The laws switch at 75 m³/h per nozzle on the bar.
TEST(HeatingFan, PrimaryAirLadderAndTypedSetting)
{
    FanMemory memory;
    double setting = 0;
    for (double step : {30, 60, 90, 120, 150, 180, 210, 240}) {
        const FanBarView v = moveHeatingFanBar("WNF2", 0, static_cast<int>(setting) + 1, memory);
        EXPECT_DOUBLE_EQ(v.fanSetting, step);
        setting = v.fanSetting;
    }
    EXPECT_DOUBLE_EQ(moveHeatingFanBar("WNF3", 0, 300, memory).fanSpeed, 280.0 * 1000 / 3 / 88);

    const TypedFanSetting typed = typeHeatingFanSetting("WNF2", 0, "100", memory);
    EXPECT_DOUBLE_EQ(typed.fanSetting, 100);
    EXPECT_EQ(typed.barPosition, 100);
    EXPECT_TRUE(memory.settingTyped);
    const FanBarView bar = moveHeatingFanBar("WNF2", typed.fanSpeed, typed.barPosition, memory);
    EXPECT_DOUBLE_EQ(bar.fanSetting, 100); // not stepped
    EXPECT_FALSE(memory.settingTyped);
}

TEST(HeatingFan, TypedSettingsAreKeptWithinTheSeries)
{
    struct Case
    {
        const char* name;
        const char* typed;
        double speed, setting;
        const char* corrected; // nullptr: the field keeps what was typed
        Lines messages;
    };
    const Case cases[] = {
        {"WFW-2L", "30", 44 * 16, 0, "44", {WfwMinimumText}},
        {"WFW-2L", "120", 1600, 0, "100", {}},
        {"WFW-2L", "75,5", 75.5 * 16, 0, nullptr, {}},
        {"WFWL-2L", "20", 345, 0, "30", {WfwlMinimumText}},
        {"WF2", "45", 630, 0, nullptr, {FanAtRestText}},
        {"WF2", "60", 840, 0, nullptr, {}},
        {"WFs", "50", 800, 0, nullptr, {}},
        {"WF2", "-5", 0, 0, nullptr, {}},
        {"WF2", "-1e400", 0, 0, nullptr, {}},
        {"WNF2", "500", 240.0 * 1000 / 3 / 88, 240, "240", {}},
        {"WNF1", "60", 60.0 * 700 / 3 / 62, 60, nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.typed);
        FanMemory memory;
        const TypedFanSetting t = typeHeatingFanSetting(c.name, 0, c.typed, memory);
        EXPECT_DOUBLE_EQ(t.fanSpeed, c.speed);
        EXPECT_DOUBLE_EQ(t.fanSetting, c.setting);
        EXPECT_EQ(t.correctedText.has_value(), c.corrected != nullptr);
        if (c.corrected && t.correctedText) {
            EXPECT_EQ(*t.correctedText, c.corrected);
        }
        EXPECT_EQ(t.messages, c.messages);
    }
}

} // namespace
} // namespace tepa::calculation
