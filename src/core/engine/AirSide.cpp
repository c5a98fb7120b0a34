#include "core/engine/AirSide.h"

#include <cmath>

namespace tepa::engine {

AirOutputResult Luftleistung(const AirStream& air)
{
    AirOutputResult r;
    const double T1 = air.inletTempC;
    const double T2 = air.outletTempC;
    if (!allFinite({T1, T2, air.airFlowM3PerH}) || std::abs(T1 - T2) <= zeroGuard) {
        r.status = 1;
        return r;
    }
    const double ma = (1.27 - 0.0047 * T1) * air.airFlowM3PerH;
    const double Q = ca * ma * (T2 - T1);
    if (!std::isfinite(Q)) {
        r.status = 1;
        return r;
    }
    r.outputW = Q;
    return r;
}

DewPointResult Taupunkt(double roomTempC, double relativeHumidityPercent)
{
    DewPointResult r;
    constexpr double totalPressurePa = 101300;
    const double base = 1.098 + roomTempC / 100;
    if (!allFinite({roomTempC, relativeHumidityPercent}) || base <= 0) {
        r.status = 1;
        return r;
    }
    const double phi = relativeHumidityPercent / 100;
    const double ps = 288.68 * std::pow(base, 8.02);                  // saturation pressure [Pa]
    const double x = 0.622 * phi * ps / (totalPressurePa - phi * ps); // kg vapour per kg dry air
    const double pd = totalPressurePa * x / (0.622 + x);              // vapour pressure [Pa]
    // The vapour pressure must be positive and below the total pressure for a dew point.
    if (!std::isfinite(pd) || pd < 0 || phi * ps >= totalPressurePa) {
        r.status = 1;
        return r;
    }
    const double Td = 100 * std::pow(pd / 288.68, 1 / 8.02) - 109.8;
    if (!std::isfinite(Td)) {
        r.status = 1;
        return r;
    }
    r.dewPointC = Td;
    return r;
}

} // namespace tepa::engine
