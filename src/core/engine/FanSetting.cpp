#include "core/engine/FanSetting.h"

#include "core/series/Series.h"

namespace tepa::engine {

double fullSpeedRpm(std::string_view typeName)
{
    return series::heatingSpeedRange(series::seriesOf(typeName)).maximum;
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
