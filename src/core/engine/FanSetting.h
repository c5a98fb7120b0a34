#pragma once

#include <string_view>

namespace tepa::engine {

// Fan speed at 100 % of a series' setting range, in rpm: 1600 for "WFs" and "WFW", 1150 for
// "WFWL", 1400 for the others. A percentage p of the setting gives p/100 of it.
double fullSpeedRpm(std::string_view typeName);
double speedFromPercent(std::string_view typeName, double percent);

// Heating fan speed of a primary-air unit from its primary air flow V [m³/h]: the unit's two
// nozzle stages are rated at 62 m³/h for 700 rpm and 88 m³/h for 1000 rpm, three fans each.
double speedFromPrimaryAir(double airFlowM3PerH);

} // namespace tepa::engine
