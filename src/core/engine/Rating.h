#pragma once

#include "core/engine/EngineCommon.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/WaterSide.h"

#include <string_view>

namespace tepa::engine {

// A convector type as the product data give it.
struct ConvectorType
{
    std::string_view name;
    std::string_view dataLine;
    std::string_view fanLine; // empty for free-convection types
};

// The quantity the operating point is solved from.
enum class Given
{
    ReturnTemp, // Tr [°C]
    MassFlow,   // m [kg/h] (heating only)
    Output,     // Q [W] (heating only)
};

struct OperatingPointInput
{
    ConvectorType type;
    Mode mode = Mode::Heating;
    bool freeConvection = false;    // pure free-convection mode
    double lengthMm = 0;            // nominal length [mm]
    double heightFactor = 1;        // construction-height factor
    double speedRpm = 0;            // fan speed [rpm], 0 for free convection
    DwfStage stage = DwfStage::Off; // "DWF" fan stage
    double Tv = 0;                  // flow temperature [°C]
    double Ti = 0;                  // room temperature [°C]
    Given given = Given::ReturnTemp;
    double givenValue = 0; // Tr [°C], m [kg/h] or Q [W] as `given` says
};

struct OperatingPoint
{
    ConvectorCoefficients coefficients; // K, n, LpA, Le
    ReturnLimits limits;                // admissible window (heating; zero in cooling)
    double returnTempC = 0;             // Tr [°C]
    double massFlowKgPerH = 0;          // m [kg/h]
    double outputW = 0;                 // Q [W] of one convector
    double pressureDropPa = 0;          // dp [Pa]
    bool laminarFlow = false;           // Re < 2320 in the tubes
    bool highPressureDrop = false;      // dp > 100000 Pa
    // Status of the routine that solved the point; 1 also for non-finite input, and in cooling
    // for a given mass flow or output and for primary-air units ("WNF"), whose cooling output
    // is air-side (Luftleistung); and for a given output above what the convector gives at
    // the flow temperature (a return above the flow, a negative mass flow).
    int status = 0;
};

// The whole operating point of one convector, as the calculation does it after every input:
// Zwangskennwerte for K, n, LpA and Le; in heating Ruecklaufgrenzen for the admissible window;
// then Heizleistung (given Tr), Ruecklauf_aus_Massenstrom (given m) or Ruecklauf_aus_Leistung
// (given Q), in cooling Kuehlleistung (given Tr), output and mass flow as magnitudes; finally
// Druckverlust over the effective length.
OperatingPoint rateConvector(const OperatingPointInput& in);

} // namespace tepa::engine
