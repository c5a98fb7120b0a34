#pragma once

#include "core/engine/EngineCommon.h"

namespace tepa::engine {

struct AirStream
{
    double inletTempC = 0;    // T1: air entering [°C]
    double outletTempC = 0;   // T2: air leaving [°C]
    double airFlowM3PerH = 0; // V [m³/h]
};

struct AirOutputResult
{
    double outputW = 0; // Q [W], positive when the air is warmed
    int status = 0;     // 0 valid, 1 no result
};

// Luftleistung: output carried by an air stream, Q = ca · ma · (T2 − T1) with the air mass flow
// ma = (1.27 − 0.0047 · T1) · V [kg/h] (air density at the inlet temperature, linear fit around
// room conditions). Status 1 with Q = 0 when |T1 − T2| ≤ 1e-9 K or for non-finite input.
AirOutputResult Luftleistung(const AirStream& air);

struct DewPointResult
{
    double dewPointC = 0; // Td [°C]
    int status = 0;       // 0 valid, 1 no result
};

// Taupunkt: dew point of room air at temperature T [°C] and relative humidity φ [%], at the
// standard total pressure 101300 Pa, from the Magnus-type saturation law
// ps = 288.68 · (1.098 + T/100)^8.02 Pa and its inverse. The law holds for ordinary room air
// (about 0 … 100 °C). Status 1 with Td = 0 where it gives no value: non-finite input, a
// temperature below the law's range (T ≤ −109.8 °C), or more vapour than the air can carry at
// the total pressure.
DewPointResult Taupunkt(double roomTempC, double relativeHumidityPercent);

// Lowest cooling flow temperature without risk of condensation on the coil: the dew point plus
// a margin of 15 % of its distance to the room temperature [°C].
inline double dewPointFlowLimit(double roomTempC, double dewPointC)
{
    return dewPointC + 0.15 * (roomTempC - dewPointC);
}

} // namespace tepa::engine
