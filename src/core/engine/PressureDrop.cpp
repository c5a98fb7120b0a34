#include "core/engine/PressureDrop.h"

#include "core/series/Series.h"

#include <cmath>

namespace tepa::engine {

namespace {

// Tube length of the heat exchanger for the catalogue lengths 1250, 2000, 2750 mm of the series
// whose coil is shorter than the casing; other lengths and series keep the given length.
double tubeLength(long long lengthMm, std::string_view name, Mode mode)
{
    struct Row
    {
        std::string_view code;
        bool coolingOnly;
        bool heatingOnly;
        double at1250, at2000, at2750;
    };
    // The 2-pipe and 4-pipe codes are not contained in one another, so at most one row applies
    // per mode. The 4-pipe "WFW" coil has separate heating and cooling registers.
    // clang-format off
    static constexpr Row rows[] = {
        {"WFW-2L",  false, false, 830, 1570, 2400},
        {"WFW-4L",  false, true,  830, 1570, 2400},
        {"WFW-4L",  true,  false, 850, 1600, 2350},
        {"WFWL-2L", false, false, 830, 1570, 2400},
        {"WFWL-4L", false, false, 840, 1580, 2400},
    };
    // clang-format on
    double result = static_cast<double>(lengthMm);
    for (const Row& row : rows) {
        if (!series::hasCode(name, row.code))
            continue;
        if ((row.coolingOnly && mode != Mode::Cooling) || (row.heatingOnly && mode != Mode::Heating))
            continue;
        if (lengthMm == 1250)
            result = row.at1250;
        else if (lengthMm == 2000)
            result = row.at2000;
        else if (lengthMm == 2750)
            result = row.at2750;
    }
    return result;
}

// Measured characteristic of the "DWF" units: dp = c · m² · 1000 [Pa, m in kg/h].
double dwfCoefficient(long long lengthMm, Mode mode)
{
    const bool shortUnit = lengthMm < 1450; // the 1100 mm unit; longer ones are the 1800 mm unit
    if (mode == Mode::Heating)
        return shortUnit ? 5.4744e-5 : 7.5484e-5;
    return shortUnit ? 7.2153e-5 : 9.9002e-5;
}

PressureDropResult noPressureDrop()
{
    PressureDropResult r;
    r.status = 1;
    return r;
}

} // namespace

PressureDropResult Druckverlust(const PressureDropInput& in)
{
    PressureDropResult r;
    if (!allFinite({in.massFlowKgPerH, in.lengthMm, in.Tv, in.Tr}))
        return noPressureDrop();
    const long long length = catalogueLength(in.lengthMm);
    const double L = tubeLength(length, in.typeName, in.mode);
    const double m = in.massFlowKgPerH;

    if (series::isStaged(in.typeName)) {
        r.tubeLengthMm = L;
        r.pressureDropPa = dwfCoefficient(length, in.mode) * m * m * 1000;
        if (!std::isfinite(r.pressureDropPa))
            return noPressureDrop();
        return r;
    }

    const bool heating = in.mode == Mode::Heating;
    const double d = lineField(in.dataLine, heating ? 15 : 57, 4); // tube inside diameter [mm]
    const double X = lineField(in.dataLine, heating ? 23 : 65, 3); // tube runs in series
    double N = lineField(in.dataLine, heating ? 29 : 71, 1);       // parallel circuits
    if (N < 1)
        N = 1;

    // Water properties at the mean water temperature; the density law is a fit above the
    // density maximum at 4 °C, below it the density is taken as 1000 kg/m³.
    const double Tm = (in.Tv + in.Tr) / 2;
    const double rho = Tm < 4 ? 1000.0 : 1000 - std::pow((Tm - 4) / 10, 1.65); // kg/m³
    const double nu = (std::pow(Tm / 73.3 + 0.7625, -2) + 0.073) / 1000000;    // m²/s
    // Mass flow [kg/h] per m/s of velocity in one tube. The circle constant is the 7-digit
    // value the coefficients of the range were fitted with.
    const double A = (d / 1000) * (d / 1000) * rho * 3600 * 3.141592 / 4;

    r.tubeLengthMm = L;
    // Without a tube cross-section (no diameter in the data) or without flow there is no
    // velocity and no loss to report.
    if (std::abs(A) <= 1e-8 || m == 0)
        return r;

    // The pressure drop does not depend on the flow direction.
    const double v = std::abs(m) / A / N; // m/s
    const double Re = v * (d / 1000) / nu;
    const double lambda = 0.316 / std::pow(Re, 0.25);
    const double friction = v * v * X * lambda * L / d * rho / 2 / N;
    const double bends = v * v * (2 * X * 0.45) * rho / 2 / N;
    const double dp = friction + bends;
    if (!allFinite({Re, dp}))
        return noPressureDrop();

    r.reynoldsNumber = Re;
    r.pressureDropPa = dp;
    r.laminarFlow = isLaminar(Re);
    r.highPressureDrop = isHighPressureDrop(dp);
    return r;
}

} // namespace tepa::engine
