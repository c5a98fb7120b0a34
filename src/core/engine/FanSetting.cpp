#include "core/engine/FanSetting.h"

namespace tepa::engine {

double fullSpeedRpm(std::string_view typeName)
{
    // "WFWL" contains "WFW", so it is tested last.
    double rpm = 1400;
    if (typeName.find("WFs") != std::string_view::npos || typeName.find("WFW") != std::string_view::npos)
        rpm = 1600;
    if (typeName.find("WFWL") != std::string_view::npos)
        rpm = 1150;
    return rpm;
}

double speedFromPercent(std::string_view typeName, double percent)
{
    return percent * fullSpeedRpm(typeName) / 100;
}

double speedFromPrimaryAir(double airFlowM3PerH)
{
    return airFlowM3PerH < 75 ? airFlowM3PerH * 700 / 3 / 62 : airFlowM3PerH * 1000 / 3 / 88;
}

} // namespace tepa::engine
