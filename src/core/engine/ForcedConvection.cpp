#include "core/engine/ForcedConvection.h"

#include "core/engine/WaterSide.h"
#include "core/series/Series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace tepa::engine {

namespace {

// Casing ends without fins. Later codes are the more specific ones and win.
double effectiveLength(const ConvectorSetting& in)
{
    double offset = 300;
    if (!in.freeConvection) {
        switch (series::seriesOf(in.typeName)) {
        case series::Series::Wf: offset = 400; break;
        case series::Series::WfS: offset = 480; break;
        case series::Series::Wfw:
        case series::Series::Wfwl:
        case series::Series::Dwf: offset = 0; break;
        case series::Series::None:
        case series::Series::Wnf: break;
        }
    }
    return in.lengthMm - offset;
}

// "DWF": two cased units of 1100 mm (one fan) and 1800 mm (two fans), measured per stage.
ConvectorCoefficients dwfCoefficients(const ConvectorSetting& in, double Le)
{
    struct StageValues
    {
        Characteristic heating1100, heating1800, cooling1100, cooling1800;
    };
    // Cooling has no fan-off stage: a unit without air movement is given no cooling output.
    // clang-format off
    static constexpr StageValues table[] = {
        /* off  */ {{2.657, 1.373},  {5.137, 1.373},  {0, 1},           {0, 1}},
        /* 700  */ {{3.931, 1.287},  {7.862, 1.287},  {21.6629, 0.9621}, {43.3258, 0.9621}},
        /* 1000 */ {{7.07, 1.171},   {14.14, 1.171},  {26.534, 0.991},   {53.068, 0.991}},
        /* 1400 */ {{18.718, 1.012}, {37.436, 1.012}, {41.123, 0.918},   {82.246, 0.918}},
    };
    static constexpr double stageRpm[] = {0, 700, 1000, 1400};
    // clang-format on
    ConvectorCoefficients out;
    out.effectiveLengthMm = Le;
    const auto stage = static_cast<std::size_t>(in.stage);
    if (stage >= std::size(table)) { // not one of the four stages: no data
        out.status = 1;
        out.effectiveLengthMm = 0;
        return out;
    }
    // Lengths between the units are rated as the nearer one: below 1450 mm the 1100 mm unit.
    const bool shortUnit = catalogueLength(in.lengthMm) < 1450;
    const StageValues& row = table[stage];

    if (in.mode == Mode::Heating)
        out.characteristic = shortUnit ? row.heating1100 : row.heating1800;
    else
        out.characteristic = shortUnit ? row.cooling1100 : row.cooling1800;
    if (in.stage != DwfStage::Off) {
        // Fan noise fitted over the fan speed; a second fan adds 3 dB (two equal incoherent
        // sources), and −8 dB take the measured sound power level to the pressure level in a
        // typical room.
        const double fans = shortUnit ? 1 : 2;
        out.soundLevelDb = 70.6 * std::log10(stageRpm[stage]) - 169.9 + 10 * std::log10(fans) - 8;
    }
    return out;
}

// "WNF": induction units driven by primary air; s is the speed equivalent of the air setting.
ConvectorCoefficients wnfCoefficients(const ConvectorSetting& in, double Le)
{
    struct Size
    {
        std::string_view code;
        double minimumSpeed;
        Characteristic freeShort, freeLong; // without primary air, Le < 1350 / Le ≥ 1350
        double c1Short, c2Short, nShort;    // air law, Le < 1350
        double c1Long, c2Long, nLong;       // air law, Le ≥ 1350
    };
    // clang-format off
    static constexpr Size sizes[] = {
        {"WNF1", 38, {0.417, 1.473}, {0.98, 1.473},
         0.012693108, 0.468841864, 1.041347395, 0.011371399, 0.486811484, 1.077708585},
        {"WNF2", 75, {0.818, 1.447}, {1.701, 1.428},
         0.014183472, 0.472923009, 1.083775221, 0.02406801, 0.497701896, 0.956835087},
        {"WNF3", 95, {1.251, 1.424}, {2.292, 1.445},
         0.078487232, 0.425476526, 0.708633177, 0.017962298, 0.436664235, 1.071984377},
    };
    // clang-format on
    ConvectorCoefficients out;
    out.effectiveLengthMm = Le;
    const Size* size = nullptr;
    for (const Size& candidate : sizes)
        if (series::hasCode(in.typeName, candidate.code))
            size = &candidate;
    if (size == nullptr) // no size digit: no data to rate the unit with
        return out;

    const bool longUnit = Le >= 1350;
    const double s = in.speedRpm;
    if (s < size->minimumSpeed) {
        out.characteristic = longUnit ? size->freeLong : size->freeShort;
        return out;
    }
    const double c1 = longUnit ? size->c1Long : size->c1Short;
    const double c2 = longUnit ? size->c2Long : size->c2Short;
    const double nF = longUnit ? size->nLong : size->nShort;
    // Without a finned length there is no coil to pass the air over.
    out.characteristic.K = Le > 0 ? Le * c1 * std::pow(s / Le, c2) : 0.0;
    out.characteristic.n = nF;
    return out;
}

// Number of fans of a "WF" convector by effective length, and the measured level correction of
// the shortest casing (+1 dB). Lengths between the catalogue lengths take
// the nearest one, ties the shorter, so the count depends on nothing but the length.
struct FanCount
{
    double fans;
    double correctionDb;
};
FanCount wfFanCount(double Le)
{
    struct Row
    {
        long long lengthMm;
        FanCount count;
    };
    // clang-format off
    static constexpr Row rows[] = {
        {850, {2, 1}}, {1150, {3, 0}}, {1450, {3, 0}}, {1750, {4, 0}},
        {2050, {5, 0}}, {2350, {6, 0}}, {2650, {6, 0}}, {2950, {7, 0}},
    };
    // clang-format on
    const long long length = catalogueLength(Le);
    const Row* best = &rows[0];
    for (const Row& row : rows)
        if (std::llabs(row.lengthMm - length) < std::llabs(best->lengthMm - length))
            best = &row;
    return best->count;
}

ConvectorCoefficients noCoefficients()
{
    ConvectorCoefficients out;
    out.status = 1;
    return out;
}

} // namespace

ConvectorCoefficients Zwangskennwerte(const ConvectorSetting& in)
{
    if (!allFinite({in.lengthMm, in.speedRpm, in.heightFactor}))
        return noCoefficients();

    const std::string_view name = in.typeName;
    const double Le = effectiveLength(in);
    const double s = in.speedRpm;
    const bool heating = in.mode == Mode::Heating;

    const series::Series kind = series::seriesOf(name);
    ConvectorCoefficients out;
    if (kind == series::Series::Dwf) {
        out = dwfCoefficients(in, Le);
    } else if (kind == series::Series::Wnf) {
        out = wnfCoefficients(in, Le);
    } else {
        out.effectiveLengthMm = Le;
        // Below its series' lowest speed the fan counts as off; any turning fan counts for a
        // series without fan data.
        const double minimumSpeed = std::max(1.0, series::minimumSpeed(kind));

        if (s < minimumSpeed) {
            // Fan off: the unit works as a free convector, Km per metre of finned length.
            const double Km = lineField(in.dataLine, 1, 6);
            out.characteristic = {Le / 1000 * Km * in.heightFactor, lineField(in.dataLine, 8, 6)};
        } else {
            const double c1 = lineField(in.fanLine, 1, 10);
            const double c2 = lineField(in.fanLine, 12, 10);
            const double nF = lineField(in.fanLine, 23, 10);
            const double La = lineField(in.dataLine, 41, 6); // level at 1 rpm [dB]
            const double Lb = lineField(in.dataLine, 48, 5); // level per decade of speed [dB]
            const long long L = catalogueLength(in.lengthMm);
            Characteristic& c = out.characteristic;

            // General fan law per unit of finned length.
            c.K = Le > 0 ? Le * c1 * std::pow(s / Le, c2) : 0.0;
            c.n = nF;

            const bool plainWf = kind == series::Series::Wf;
            const bool wfw = kind == series::Series::Wfw;
            const bool wfwl = kind == series::Series::Wfwl;
            const bool wfs = kind == series::Series::WfS;
            FanCount fans{3, 0};

            if (plainWf) {
                // Measured laws of the three coil depths for a three-fan unit, linear in speed,
                // scaled by the fan count.
                fans = wfFanCount(Le);
                const double z = fans.fans;
                if (series::hasCode(name, "WF1"))
                    c = {(0.02628 * s - 7.813) * z / 3, 1.393 - 0.0002414 * s};
                if (series::hasCode(name, "WF2"))
                    c = {(0.03003 * s - 5.203) * z / 3, 1.311 - 0.0001757 * s};
                if (series::hasCode(name, "WF3"))
                    c = {(0.02716 * s + 2.264) * z / 3, 1.219 - 0.00009571 * s};
            }
            if (wfs) {
                // The law was fitted with effective lengths of 1070 and 2270 mm for the casings
                // whose finned length is 1370 and 2570 mm; the rated length is returned.
                double LeWfs = Le;
                const long long rounded = catalogueLength(Le);
                if (rounded == 1370)
                    LeWfs = 1070;
                else if (rounded == 2570)
                    LeWfs = 2270;
                out.effectiveLengthMm = LeWfs;
                c = {LeWfs / 1000 * c1 * std::pow(s, c2), nF};
            }
            if (wfw) {
                // Measured on the 1250 mm unit over the speed in percent of 1600 rpm; the
                // longer units have two and three such coils. The 4-pipe heating register is
                // smaller than the 2-pipe coil.
                const double p = s / 16;
                c.K = heating ? -0.0103493 * p * p + 2.02153 * p - 56.153
                              : -0.00827579 * p * p + 1.75841 * p - 46.1278;
                if (L == 2000)
                    c.K *= 2;
                else if (L == 2750)
                    c.K *= 3;
                if (heating && series::hasCode(name, "WFW-4L"))
                    c.K *= 0.73;
                c.n = 1;
            }
            if (wfwl) {
                // Measured on the 2000 mm unit over the speed in percent of 1150 rpm.
                const double p = s / 11.5;
                c.K = 0.0003954 * p * p * p - 0.095 * p * p + 8.708 * p - 137.529;
                if (L == 1250)
                    c.K *= 0.597;
                else if (L == 2750)
                    c.K *= 1.5;
                if (series::hasCode(name, "WFWL-4L"))
                    c.K *= heating ? 0.7 : 0.9;
                c.n = 1;
            }

            // Sound pressure level: fan noise over the speed, the length corrections of the
            // casings, and −8 dB from the sound power level to the pressure level in a typical
            // room.
            double& LpA = out.soundLevelDb;
            if (wfw) {
                LpA = Lb * std::log10(s) + La;
                if (L == 1250)
                    LpA -= 6;
                else if (L == 2000)
                    LpA -= 3;
                else if (L == 2750)
                    LpA -= 1;
                LpA -= 8;
            }
            if (wfwl) {
                const double p = s / 11.5;
                LpA = Lb * std::log10(1144 * p / 100) + La - 8;
                if (L == 1250)
                    LpA -= 3;
                else if (L == 2750)
                    LpA += 2;
                if (p <= 30) // the lowest setting, 30 %, is rated at 20 dB(A)
                    LpA = 20;
            }
            if (plainWf)
                LpA = Lb * std::log10(s) + La + 10 * std::log10(fans.fans / 3) + fans.correctionDb - 8;
            if (wfs)
                LpA = Lb * std::log10(s) + La - 8;
        }
    }
    if (!allFinite({out.characteristic.K, out.characteristic.n, out.soundLevelDb, out.effectiveLengthMm}))
        return noCoefficients();
    return out;
}

bool Kuehltyp(std::string_view typeName)
{
    return series::canCool(series::seriesOf(typeName));
}

std::optional<double> nominalSpeed(std::string_view typeName)
{
    switch (series::seriesOf(typeName)) {
    case series::Series::Dwf: return 1050;
    case series::Series::Wfw: return 1120;
    case series::Series::Wfwl: return 805;
    default: return std::nullopt;
    }
}

namespace {

NominalResult nominal(const NominalInput& in, Mode mode)
{
    NominalResult r;
    const std::optional<double> speed = nominalSpeed(in.typeName);
    if (!speed || !allFinite({in.lengthMm, in.Tv, in.Tr, in.Ti})) {
        r.status = 1;
        return r;
    }
    const ConvectorCoefficients k = Zwangskennwerte({.typeName = in.typeName,
                                                     .lengthMm = in.lengthMm,
                                                     .speedRpm = *speed,
                                                     .dataLine = in.dataLine,
                                                     .fanLine = in.fanLine,
                                                     .freeConvection = false,
                                                     .heightFactor = 1.0,
                                                     .mode = mode,
                                                     .stage = in.stage});
    if (k.status != 0) {
        r.status = 1;
        return r;
    }
    const WaterPoint point{in.Tv, in.Tr, in.Ti};
    const OutputResult q = mode == Mode::Heating ? Heizleistung(k.characteristic, point)
                                                 : Kuehlleistung(k.characteristic, point, 0);
    r.outputW = std::abs(q.outputW);
    r.massFlowKgPerH = std::abs(q.massFlowKgPerH);
    r.soundLevelDb = k.soundLevelDb;
    r.status = q.status;
    return r;
}

} // namespace

NominalResult Zwang_heizen(const NominalInput& in)
{
    return nominal(in, Mode::Heating);
}

NominalResult Zwang_kuehlen(const NominalInput& in)
{
    return nominal(in, Mode::Cooling);
}

} // namespace tepa::engine
