#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The heating fan of the calculation window as plain rules: the bar (`DrehzahlBar4`) sets a
// speed in rpm, or for a primary-air unit its air flow, and the field (`Edit4`) a setting in
// percent of the series' full speed, or the air flow. The series table gives the ranges, steps
// and minimum speeds.
namespace tepa::calculation {

inline constexpr std::size_t WfwMinimumText = 197;  // "WFW" below 44 % (700 rpm)
inline constexpr std::size_t WfwlMinimumText = 198; // "WFWL" below 30 % (345 rpm)
inline constexpr std::size_t FanAtRestText = 267;   // a plain fan below its minimum speed

// What the fan handlers keep between calls.
struct FanMemory
{
    double previousSpeed = 0;   // `PreviousSpeed`: last speed of a slow fan, rpm
    double previousSetting = 0; // `PreviousSetting`: last primary-air setting of the bar, m³/h
    bool settingTyped = false;  // `SettingTyped`: the bar takes its next position as typed
    double airFlowLimit = 0;    // `AirFlowLimit`: primary air of the unit's size, m³/h
};

// The bar and the entry after a bar move.
struct FanBarView
{
    double fanSpeed = 0;   // the entry's `FanSpeed`, rpm
    double fanSetting = 0; // the entry's `FanSetting` (primary air, m³/h; 0 for a speed)
    int barMaximum = 0;
    int barPosition = 0;
    int pageStep = 10;
    std::string settingText;           // `Label101` and `Edit4`
    std::vector<std::size_t> messages; // interface text lines, in order
};

// The bar moved to `position`; `storedSpeed` is the entry's speed before.
FanBarView moveHeatingFanBar(std::string_view typeName, double storedSpeed, int position, FanMemory& memory);

// A setting typed into the field: kept within what the series allows; the bar is then set to
// `barPosition`, which runs the bar's rule.
struct TypedFanSetting
{
    double fanSpeed = 0;
    double fanSetting = 0;
    int barMaximum = 0;
    int barPosition = 0;
    std::optional<std::string> correctedText; // the field shows this instead of what was typed
    std::vector<std::size_t> messages;
};
TypedFanSetting typeHeatingFanSetting(std::string_view typeName,
                                      double storedSpeed,
                                      std::string_view text,
                                      FanMemory& memory);

// The speed of a slow fan's bar at `position`, one step along its ladder from `previous`; a
// bar standing where the entry's stored speed puts it has not been moved and keeps that speed.
double slowFanStep(double previous, double stored, double position);

// The note that a fan set from `before` to `after` rpm has just dropped below its minimum speed
// and runs as a free convector; none while it stays there or is at rest (0 rpm).
std::optional<std::size_t> fanAtRestNote(std::string_view typeName, double before, double after);

} // namespace tepa::calculation
