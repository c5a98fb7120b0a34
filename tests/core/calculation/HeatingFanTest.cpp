#include "core/calculation/HeatingFan.h"

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

// Bar moves and typed settings ("=" and the text) of each fan series, one after the other on the
// same memory and the entry's stored speed: speed, setting, bar position and maximum, the text
// shown (a typed setting: the corrected text, if any) and the notes.
TEST(HeatingFan, BarMovesAndTypedSettingsOfEachSeries)
{
    struct Series
    {
        const char* name;
        std::vector<std::string> steps;
        double previousSetting = 0;
    };
    const Series cases[] = {{"WF1", {"1", "1000", "630", "600", "0", "=45", "=60", "=-5", "=-1e400", "=120"}},
                            {"WFs", {"10", "1600", "=50"}},
                            {"WFW-2L", {"500", "700", "1200", "=30", "=120", "=75,5"}},
                            {"WFWL-2L", {"1", "600", "560", "1150", "100", "=20"}},
                            // Primary air steps along its ladder one step at a time (at a step itself one
                            // step down); a typed setting is taken once as it stands.
                            {"WNF2", {"1", "31", "60", "31", "61", "240", "=100", "100", "=500"}},
                            {"WNF3", {"300"}, 270},
                            {"WNF1", {"=60"}}};
    test::Golden golden;
    for (const Series& c : cases) {
        FanMemory memory;
        memory.previousSpeed = 345;
        memory.previousSetting = c.previousSetting;
        double stored = 0;
        for (const std::string& step : c.steps) {
            if (step[0] != '=') {
                const FanBarView v = moveHeatingFanBar(c.name, stored, std::stoi(step), memory);
                golden(c.name + (" " + step), v.fanSpeed, v.fanSetting, v.barPosition, v.barMaximum,
                       v.settingText, v.messages);
                stored = v.fanSpeed;
            } else {
                const TypedFanSetting t = typeHeatingFanSetting(c.name, stored, step.substr(1), memory);
                golden(c.name + (" " + step), t.fanSpeed, t.fanSetting, t.barPosition, t.barMaximum,
                       t.correctedText, t.messages);
                stored = t.fanSpeed;
            }
        }
    }
}

} // namespace
} // namespace tepa::calculation
