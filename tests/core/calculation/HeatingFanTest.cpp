#include "core/calculation/HeatingFan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

using Lines = std::vector<std::size_t>;

// What the fan controls show: "speed setting @bar/maximum 'text' notes".
std::string
shown(double speed, double setting, int bar, int maximum, const std::string& text, const Lines& notes)
{
    std::ostringstream out;
    out << speed << ' ' << setting << " @" << bar << '/' << maximum << " '" << text << "'";
    for (std::size_t n : notes)
        out << ' ' << n;
    return out.str();
}

// Bar moves and typed settings of each fan series, one after the other on the same memory and
// the entry's stored speed. A typed setting shows the corrected text, or '' when the field keeps
// what was typed.
TEST(HeatingFan, BarMovesAndTypedSettingsOfEachSeries)
{
    struct Step
    {
        int position; // -1: `typed` is typed into the field instead
        const char* typed;
        const char* expected;
    };
    struct Series
    {
        const char* name;
        std::vector<Step> steps;
        double previousSetting = 0;
    };
    const Series cases[] = {
        {"WF1",
         {{1, "", "700 0 @700/1400 '50.0'"}, // one click from standstill starts the fan at its minimum
          {1000, "", "1000 0 @1000/1400 '71.4'"},
          {630, "", "630 0 @630/1400 '45.0' 267"}, // below its minimum it runs without fan
          {600, "", "600 0 @600/1400 '42.9'"},     // said once
          {0, "", "0 0 @0/1400 ' 0.0'"},
          {-1, "45", "630 0 @630/1400 '' 267"},
          {-1, "60", "840 0 @840/1400 ''"},
          {-1, "-5", "0 0 @0/1400 ''"},
          {-1, "-1e400", "0 0 @0/1400 ''"}}},
        {"WFs",
         {{10, "", "700 0 @700/1600 '43.8'"},
          {1600, "", "1600 0 @1600/1600 '100.0'"},
          {-1, "50", "800 0 @800/1600 ''"}}},
        {"WFW-2L",
         {{500, "", "700 0 @700/1600 '43.8' 197"},
          {700, "", "700 0 @700/1600 '43.8'"}, // at its minimum without the note
          {1200, "", "1200 0 @1200/1600 '75.0'"},
          {-1, "30", "704 0 @704/1600 '44' 197"},
          {-1, "120", "1600 0 @1600/1600 '100'"},
          {-1, "75,5", "1208 0 @1208/1600 ''"}}},
        {"WFWL-2L",
         {{1, "", "517.5 0 @517/1150 '45.0'"}, // the minimum, then one step up from it
          {600, "", "575 0 @575/1150 '50.0'"},
          {560, "", "517.5 0 @517/1150 '45.0'"},
          {1150, "", "575 0 @575/1150 '50.0'"},
          {100, "", "517.5 0 @517/1150 '45.0' 198"},
          {-1, "20", "345 0 @345/1150 '30' 198"}}},
        // Primary air steps along its ladder in m³/h; at a step itself the bar goes one step down;
        // a typed setting is taken once as it stands.
        {"WNF2",
         {{1, "", "112.903 30 @30/240 '30'"},
          {31, "", "225.806 60 @60/240 '60'"},
          {60, "", "112.903 30 @30/240 '30'"},
          {31, "", "225.806 60 @60/240 '60'"},
          {61, "", "338.71 90 @90/240 '90'"},
          {240, "", "451.613 120 @120/240 '120'"}, // one step at a time
          {-1, "100", "378.788 100 @100/240 ''"},
          {100, "", "376.344 100 @100/240 '100'"},
          {-1, "500", "909.091 240 @240/240 '240'"}}},
        {"WNF3", {{300, "", "1060.61 280 @280/280 '280'"}}, 270}, // the ladder ends at the limit
        {"WNF1", {{-1, "60", "225.806 60 @60/180 ''"}}},
    };
    for (const Series& c : cases) {
        FanMemory memory;
        memory.previousSpeed = 345;
        memory.previousSetting = c.previousSetting;
        double stored = 0;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << step.position << step.typed);
            if (step.position >= 0) {
                const FanBarView v = moveHeatingFanBar(c.name, stored, step.position, memory);
                EXPECT_EQ(
                    shown(v.fanSpeed, v.fanSetting, v.barPosition, v.barMaximum, v.settingText, v.messages),
                    step.expected);
                stored = v.fanSpeed;
            } else {
                const TypedFanSetting t = typeHeatingFanSetting(c.name, stored, step.typed, memory);
                EXPECT_EQ(shown(t.fanSpeed, t.fanSetting, t.barPosition, t.barMaximum,
                                t.correctedText.value_or(""), t.messages),
                          step.expected);
                stored = t.fanSpeed;
            }
        }
    }
}

} // namespace
} // namespace tepa::calculation
