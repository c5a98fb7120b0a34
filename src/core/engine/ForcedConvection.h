#pragma once

#include "core/engine/EngineCommon.h"

#include <optional>
#include <string_view>

namespace tepa::engine {

// What the output coefficients of a convector depend on.
struct ConvectorSetting
{
    std::string_view typeName;      // selects the series by its codes
    double lengthMm = 0;            // L: nominal length [mm]
    double speedRpm = 0;            // s: fan speed [rpm]; 0 for free convection; for "WNF" the
                                    // speed derived from the primary-air setting
    std::string_view dataLine;      // fixed-column type data
    std::string_view fanLine;       // fan-law fields (10 characters at columns 1, 12, 23)
    bool freeConvection = false;    // pure free-convection mode of the calculation
    double heightFactor = 1;        // f: construction-height factor on the free-convection law
    Mode mode = Mode::Heating;      // heating or cooling coefficients
    DwfStage stage = DwfStage::Off; // fan stage of the "DWF" series (other series ignore it)
};

struct ConvectorCoefficients
{
    Characteristic characteristic; // K [W/K^n], n [-] of the output law
    double soundLevelDb = 0;       // LpA [dB(A)]; 0 where the series has no sound law
    double effectiveLengthMm = 0;  // Le: finned length [mm]
    int status = 0;                // 0 valid, 1 non-finite input or result (all zero, n = 1)
};

// Zwangskennwerte: output coefficients K and n, sound pressure level LpA and effective length Le
// of a free or fan convector.
//   Le = L minus the casing ends without fins: 300 mm (free mode and plain types), 400 ("WF"),
//   480 ("WFs"), 0 ("WFW", "WFWL", "DWF").
//   "DWF": K, n from the measured table per mode, stage and unit (below 1450 mm the 1100 mm
//   unit with one fan, otherwise the 1800 mm unit with two); LpA from the fan speed of the stage
//   and the fan count; stage 0 is silent; cooling at stage 0 gives no output (K = 0, n = 1).
//   "WNF1".."WNF3" (primary-air units): below the minimum speed (38, 75, 95) fixed
//   free-convection values by Le; above, the air law K = Le · c1 · (s/Le)^c2, n = nF with the
//   size's fitted constants; no sound law. Without a size digit: K = 0, n = 1.
//   Other types below their minimum speed (1 rpm; 700 for "WF" fans, 345 for "WFWL") are free
//   convectors: K = Le/1000 · Km · f, n = nD (Km, nD in data columns 1-6 and 8-13).
//   At or above it the fan law K = Le · c1 · (s/Le)^c2, n = nF (fan-line fields), overwritten
//   by the measured laws of the series "WF1".."WF3", "WFs", "WFW", "WFWL"; the sound level
//   LpA = Lb · log10(s) + La − 8 plus the series' corrections (La, Lb in data columns 41-46,
//   48-52). The fan count of a "WF" convector follows from Le (nearest tabulated length).
// Status 0; status 1 for non-finite input or a non-finite result.
ConvectorCoefficients Zwangskennwerte(const ConvectorSetting& in);

// Kuehltyp: true for the series that can also cool ("WNF", "WFW", "DWF" in the name).
bool Kuehltyp(std::string_view typeName);

// Speed at which a fan series is rated [rpm]: 1050 for "DWF", 1120 for "WFW", 805 for "WFWL"
// (75 % of 1400 and 70 % of 1600 and of 1150 rpm). Other series have no rating speed.
std::optional<double> nominalSpeed(std::string_view typeName);

struct NominalInput
{
    std::string_view typeName;
    double lengthMm = 0; // nominal length [mm]
    std::string_view dataLine;
    std::string_view fanLine;
    double Tv = 0, Tr = 0, Ti = 0;      // flow, return, room temperature [°C]
    DwfStage stage = DwfStage::Rpm1000; // stage of a "DWF" unit during the rating
};

struct NominalResult
{
    double outputW = 0;        // |Q| [W]
    double massFlowKgPerH = 0; // |m| [kg/h]
    double soundLevelDb = 0;   // LpA [dB(A)]
    int status = 0;            // status of the output law; 1 also for a series without rating speed
};

// Zwang_heizen: heating output of a fan convector at its rating speed (Zwangskennwerte in heating
// with f = 1, not in free mode, then Heizleistung). Status 1 with zeros for a series without a
// rating speed.
NominalResult Zwang_heizen(const NominalInput& in);
// Zwang_kuehlen: the same in cooling, with Kuehlleistung.
NominalResult Zwang_kuehlen(const NominalInput& in);

} // namespace tepa::engine
