#pragma once

#include "core/series/Series.h"

#include <string_view>

namespace tepa {

// The top speed a fan setting is a percentage of, divided by 100: the divisor that turns a fan
// speed in rpm into percent. With `coolingSeriesOnly` the series that cannot cool count as no
// fan series. 0 for a type of no fan series.
inline double fanPercentDivisor(std::string_view typeName, bool coolingSeriesOnly)
{
    const series::Series s = series::seriesOf(typeName);
    if (coolingSeriesOnly && !series::canCool(s))
        return 0;
    return series::fullSpeed(s) / 100;
}

} // namespace tepa
