#pragma once

#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <cmath>
#include <initializer_list>
#include <string_view>

namespace tepa::engine {

// Which list a convector is calculated for. Several laws (pressure-drop columns, fixed-stage
// coefficients, fan-law polynomials) differ between heating and cooling.
enum class Mode
{
    Heating,
    Cooling,
};

// The fixed fan stages of the two-stage-fan series "DWF": off, 700, 1000 and 1400 rpm.
enum class DwfStage
{
    Off,
    Rpm700,
    Rpm1000,
    Rpm1400,
};

// Output law of a convector: Q = K · ΔT^n with ΔT the mean water-to-room temperature
// difference [K], K [W/K^n], n [-].
struct Characteristic
{
    double K = 0;
    double n = 1;
};

// Specific heat of water and of air as used throughout the product range, in Wh/(kg·K):
// multiplying kg/h by kelvin by these gives watts.
inline constexpr double cw = 4190.0 / 3600.0;
inline constexpr double ca = 1007.0 / 3600.0;

// Temperature differences [K] and mass flows [kg/h] at or below this count as zero.
inline constexpr double zeroGuard = 1e-9;


inline bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

// Numeric field of a fixed-column product data line: `width` characters from 1-based column
// `column`, read as a decimal number (an empty or blank field is 0).
inline double lineField(std::string_view line, std::size_t column, std::size_t width)
{
    return decimalValue(utf8Mid(line, column, width));
}

// Catalogue lengths are compared after adding 0.1 mm and rounding, so that a length stored as
// 1249.99 still matches 1250.
inline long long catalogueLength(double lengthMm)
{
    return static_cast<long long>(roundHalfEven(lengthMm + 0.1));
}

} // namespace tepa::engine
