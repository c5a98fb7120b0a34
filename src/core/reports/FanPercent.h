#pragma once

#include <string_view>

namespace tepa {

// The top speed a fan setting is a percentage of, divided by 100: the divisor that turns a fan
// speed in rpm into percent. The codes contain each other ("WFWL" also contains "WF" and "WFW"),
// so the tests run from the general code to the special one and a later match wins. With
// `coolingSeriesOnly` the plain "WF" and "WFs" series count as no fan series. 0 for a type of no
// fan series.
inline double fanPercentDivisor(std::string_view typeName, bool coolingSeriesOnly)
{
    const auto has = [typeName](std::string_view code) { return typeName.find(code) != std::string_view::npos; };
    double divisor = 0;
    if (!coolingSeriesOnly) {
        if (has("WF"))
            divisor = 14;
        if (has("WFs"))
            divisor = 16;
    }
    if (has("WFW"))
        divisor = 16;
    if (has("WFWL"))
        divisor = 11.5;
    if (has("DWF"))
        divisor = 14;
    return divisor;
}

} // namespace tepa
