#pragma once

#include "core/engine/EngineCommon.h"

#include <string_view>

namespace tepa::engine {

struct PressureDropInput
{
    double massFlowKgPerH = 0; // m [kg/h]
    double lengthMm = 0;       // L: the convector's effective length [mm]
    double Tv = 0;             // flow temperature [°C]
    double Tr = 0;             // return temperature [°C]
    std::string_view typeName;
    std::string_view dataLine; // the type's fixed-column data line
    Mode mode = Mode::Heating; // selects the heating or the cooling tube data
};

struct PressureDropResult
{
    double pressureDropPa = 0;     // dp [Pa]
    double tubeLengthMm = 0;       // length the friction loss was computed for [mm]
    double reynoldsNumber = 0;     // Re of the tube flow [-]; 0 where no tube flow was computed
    bool laminarFlow = false;      // Re < 2320: the heat exchanger is run at too little flow
    bool highPressureDrop = false; // dp > 100000 Pa: too much for the pump and valves
    int status = 0;                // 0 valid, 1 non-finite input (all zero)
};

// Reynolds number below which tube flow is laminar.
inline constexpr double laminarReynoldsLimit = 2320;
// Pressure drop above which the convector is hard to balance in the water circuit [Pa].
inline constexpr double pressureDropWarningPa = 100000;

inline bool isLaminar(double reynoldsNumber)
{
    return reynoldsNumber < laminarReynoldsLimit;
}
inline bool isHighPressureDrop(double pressureDropPa)
{
    return pressureDropPa > pressureDropWarningPa;
}

// Druckverlust: water-side pressure drop of the convector's heat exchanger.
//   Tube friction after Blasius, λ = 0.316 / Re^0.25, over X tube runs of the tube length, plus
//   two bends of resistance 0.45 per run; the flow is shared by N parallel circuits. Tube inside
//   diameter d [mm], runs X and circuits N come from the data line: heating columns 15-18,
//   23-25, 29; cooling columns 57-60, 65-67, 71. Water density and viscosity are taken at the
//   mean water temperature.
//   The series whose heat exchanger is shorter than the casing ("WFW-2L", "WFW-4L", "WFWL-2L",
//   "WFWL-4L") use their tube length for the catalogue lengths 1250, 2000 and 2750 mm.
//   The series "DWF" has a measured quadratic characteristic dp = c · m² · 1000 per length and
//   mode; below 1450 mm the 1100 mm unit's, otherwise the 1800 mm unit's. It raises no warning.
// Data without a tube diameter, and zero mass flow, give dp = 0 without warnings.
// Status 0; status 1 with zero outputs for non-finite input.
PressureDropResult Druckverlust(const PressureDropInput& in);

} // namespace tepa::engine
