#include "core/calculation/HeatingFan.h"

#include "core/calculation/HeatingPoint.h"
#include "core/engine/FanSetting.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tepa::calculation {
namespace {

using series::Series;

// Heating speed of a primary-air bar position p (m³/h through three nozzles): the 700 rpm law
// below 75 m³/h per nozzle, the 1000 rpm law above. (A typed setting switches laws at 75 m³/h
// in all, see engine::speedFromPrimaryAir.) A bar at rest is no air.
double speedOfBarSetting(double p)
{
    if (p < 1)
        return 0;
    return p / 3 >= 75 ? p * 1000 / 3 / 88 : p * 700 / 3 / 62;
}

} // namespace

// The speed of a slow fan's bar at `position`. A bar that stands where the entry's stored speed
// puts it (cut to a whole number) has not been moved: loading an entry runs the bar's handler
// that way, and stepping from whatever speed was shown before would change the entry's speed.
double slowFanStep(double previous, double stored, double position)
{
    if (position == std::trunc(stored))
        return stored;
    return series::stepAlongLadder(series::wfwlSpeedLadder(), previous, position, false, 0.0001);
}

std::optional<std::size_t> fanAtRestNote(std::string_view typeName, double before, double after)
{
    const double minimum = series::minimumSpeed(series::seriesOf(typeName));
    const auto atRest = [minimum](double rpm) { return rpm > 0 && rpm < minimum; };
    if (atRest(after) && !atRest(before))
        return FanAtRestText;
    return std::nullopt;
}

FanBarView moveHeatingFanBar(std::string_view typeName, double storedSpeed, int position, FanMemory& memory)
{
    FanBarView v;
    double p = position;
    const Series kind = series::seriesOf(typeName);
    if (kind == Series::Wnf) {
        memory.airFlowLimit = series::primaryAirPerSize(typeName);
        v.pageStep = 30;
        v.barMaximum = static_cast<int>(memory.airFlowLimit);
        if (!memory.settingTyped)
            p = std::min(series::stepAlongLadder(series::wnfAirLadder(), memory.previousSetting, p, true, 0),
                         memory.airFlowLimit);
        memory.settingTyped = false;
        v.barPosition = static_cast<int>(roundHalfEven(p));
        v.fanSetting = p;
        v.fanSpeed = speedOfBarSetting(p);
        v.settingText = strFixed(p, 0, 0);
        memory.previousSetting = p;
        return v;
    }

    const series::SpeedRange range = series::heatingSpeedRange(kind);
    v.barMaximum = static_cast<int>(range.maximum);
    double speed = p;
    // One arrow click or one page click up from standstill starts the fan at its lowest speed.
    // (A slow fan's step ladder starts it one step up from its lowest speed.)
    if (speed == 1 || speed == 10)
        speed =
            series::hasSpeedFan(kind) ? series::minimumSpeed(Series::Wf) : series::minimumSpeed(Series::Wfwl);
    if (kind == Series::Wfw && speed < series::minimumSpeed(kind)) {
        speed = series::minimumSpeed(kind);
        v.messages.push_back(WfwMinimumText);
    }
    if (kind == Series::Wfwl) {
        if (speed < series::minimumSpeed(kind)) {
            speed = series::minimumSpeed(kind);
            v.messages.push_back(WfwlMinimumText);
        }
        speed = slowFanStep(memory.previousSpeed, storedSpeed, speed);
    }
    if (const auto note = fanAtRestNote(typeName, storedSpeed, speed))
        v.messages.push_back(*note);
    v.fanSpeed = speed;
    v.barPosition = static_cast<int>(std::trunc(speed));
    memory.previousSpeed = speed;
    v.settingText = strFixed(speed / (range.maximum / 100), 4, 1);
    return v;
}

TypedFanSetting
typeHeatingFanSetting(std::string_view typeName, double storedSpeed, std::string_view text, FanMemory& memory)
{
    TypedFanSetting t;
    double v = fieldValue(text);
    // A setting below zero (a minus sign, or a number too large to read) is a fan at rest: the
    // speed taken from it must stay a number the bar, the list and the project file can hold.
    if (!(v >= 0))
        v = 0;
    const Series kind = series::seriesOf(typeName);
    const bool primaryAir = kind == Series::Wnf;
    // The limit of the unit's size, as the bar has it; a setting may be typed before the bar
    // was ever moved.
    if (primaryAir)
        memory.airFlowLimit = series::primaryAirPerSize(typeName);
    if (primaryAir && v > memory.airFlowLimit) {
        v = memory.airFlowLimit;
        t.correctedText = strFixed(v, 0, 0);
    }
    if ((kind == Series::Wfw || kind == Series::Wfwl) && v < series::minimumPercent(kind)) {
        v = series::minimumPercent(kind);
        t.correctedText = strFixed(v, 0, 0);
        t.messages.push_back(kind == Series::Wfw ? WfwMinimumText : WfwlMinimumText);
    }
    if (!primaryAir && v > 100) {
        v = 100;
        t.correctedText = "100";
    }

    if (primaryAir) {
        memory.settingTyped = true;
        t.fanSetting = static_cast<double>(roundHalfEven(v));
        t.fanSpeed = engine::speedFromPrimaryAir(v);
        t.barMaximum = static_cast<int>(memory.airFlowLimit);
        t.barPosition = static_cast<int>(roundHalfEven(v));
        return t;
    }
    const double maximum = series::heatingSpeedRange(kind).maximum;
    t.fanSpeed = v * maximum / 100;
    if (const auto note = fanAtRestNote(typeName, storedSpeed, t.fanSpeed))
        t.messages.push_back(*note);
    t.barMaximum = static_cast<int>(maximum);
    t.barPosition = static_cast<int>(std::trunc(t.fanSpeed));
    return t;
}

} // namespace tepa::calculation
