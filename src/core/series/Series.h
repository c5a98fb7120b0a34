#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tepa::series {

// The product series a type belongs to, recognised from its name. The codes contain each other
// ("WF" is in "WFs", "WF1".."WF3", "WFW", "WFWL" and "DWF"; "WFW" is in "WFWL"; "WNF" does not
// contain "WF"), so the most special code present decides.
enum class Series
{
    None, // free convectors and any type of no fan series ("W1".."W4", "WM", "WX", ...)
    Wf,   // "WF1".."WF3": fan convectors, 700..1400 rpm
    WfS,  // "WFs": 700..1600 rpm
    Wfw,  // "WFW" (not "WFWL"): heating and cooling, 700..1600 rpm
    Wfwl, // "WFWL": slow fans, 345..1150 rpm in fixed steps
    Dwf,  // "DWF": fixed fan stages 0, 700, 1000, 1400 rpm
    Wnf,  // "WNF1".."WNF3": driven by primary air
};

Series seriesOf(std::string_view typeName);

// Whether the name contains the code as a substring; every series question goes through
// `seriesOf`, this is for the few rules that look at a name beyond its series (sizes, "-4L").
bool hasCode(std::string_view typeName, std::string_view code);

// The questions the windows ask of a type name, in the series' terms.
inline bool isPrimaryAir(std::string_view typeName) // "WNF"
{
    return seriesOf(typeName) == Series::Wnf;
}
inline bool isStaged(std::string_view typeName) // "DWF"
{
    return seriesOf(typeName) == Series::Dwf;
}
inline bool isSlowFan(std::string_view typeName) // "WFWL"
{
    return seriesOf(typeName) == Series::Wfwl;
}
inline bool isWfwFamily(std::string_view typeName) // "WFW", "WFWL" included
{
    const Series s = seriesOf(typeName);
    return s == Series::Wfw || s == Series::Wfwl;
}

// Whether the series runs a fan set by a speed in rpm (bar and percentage field).
bool hasSpeedFan(Series s);
inline bool hasSpeedFan(std::string_view typeName) // "WF" and every code containing it
{
    return hasSpeedFan(seriesOf(typeName));
}
// Whether the series can cool (the cooling type list, the information box, dual use).
bool canCool(Series s);

// The speed below which a fan of the series does not run and the unit is a free convector:
// 700 rpm for the "WF" family, 345 for "WFWL", 0 for series without a speed-set fan.
double minimumSpeed(Series s);
// The speed a setting of 100 % stands for: 1400 rpm ("WF", "DWF"), 1600 ("WFs", "WFW"),
// 1150 ("WFWL"); 0 for series without a speed-set fan.
double fullSpeed(Series s);
// Speed <-> setting in percent of the full speed; 0 for series without a full speed.
double percentFromSpeed(Series s, double speedRpm);
double speedFromPercent(Series s, double percent);
// The cooling fan bar's range, rpm: 345..1150 for "WFWL", 700..1600 for every other cooling fan;
// a cooling setting is a percentage of the top of that range.
struct SpeedRange
{
    double minimum = 0, maximum = 0;
};
SpeedRange coolingSpeedRange(Series s);
double coolingPercentFromSpeed(Series s, double speedRpm);
// The heating fan bar's range, rpm: 0 up to the full speed (1400 for series without one).
SpeedRange heatingSpeedRange(Series s);

// The smallest setting a planner may type for the series, in percent (its minimum speed);
// cooling lets a "WFW" unit down to 43.75 % (700 of 1600 rpm), heating only to a whole 44 %.
double minimumPercent(Series s);

// The steps a "WFWL" fan runs at, rpm; and the steps of the primary air of a "WNF" unit, m³/h.
std::span<const double> wfwlSpeedLadder();
std::span<const double> wnfAirLadder();
// One step from `previous` along `ladder` towards `wanted`: a value above the previous step gives
// the step above it, a value below (or, with `downOnEqual`, at) it the step below; otherwise
// `previous` stays. A previous value between two steps counts from where it lies.
double stepAlongLadder(
    std::span<const double> ladder, double previous, double wanted, bool downOnEqual, double tolerance);

// Fixed fan stages of "DWF", rpm (0 = fan off; cooling has no stage 0).
std::span<const double> dwfStages();
// The percentage a "DWF" cooling stage is sold with (" 50", " 72", "100"), empty when the speed
// is no stage.
std::string_view dwfCoolingStageText(double speedRpm);

// Primary air of a "WNF" size in m³/h: 180, 240, 280 for sizes 1, 2, 3; 0 for other types.
// In heating it is the top of the air bar, in cooling the air per metre past 350 mm of ends.
double primaryAirPerSize(std::string_view typeName);
double coolingAirFlowLimit(std::string_view typeName, double lengthMm);

// Height choices: the whole height list (with its second line preselected) for the series
// "W1".."W4", otherwise the one line of the height list the type is built in.
struct HeightChoice
{
    bool allLines = false;
    std::size_t line = 1;        // the one line offered, counted from 0
    std::size_t preselected = 0; // preselected item of the offered list
};
HeightChoice heightChoice(std::string_view typeName);
// The one construction height a series is built in regardless of the list, mm; 0 for none.
double fixedHeight(Series s);

// The 1-based column of a height line holding the height factor (5 characters) of the type's
// height series "W1".."W4" (a later code wins); 0 when the type is rated at factor 1 (no height
// series, or "WM", "WX" and the fan series, which win over a size code in the name).
std::size_t heightFactorColumn(std::string_view typeName);
inline constexpr std::size_t HeightFactorWidth = 5;

} // namespace tepa::series
