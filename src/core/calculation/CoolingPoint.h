#pragma once

#include "core/calculation/HeatingFan.h"
#include "core/calculation/HeatingPoint.h"
#include "core/engine/ForcedConvection.h"
#include "core/model/ProjectRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The cooling operating point of the calculation window as plain rules. A cooling entry is
// rated at its fan speed (or, for a primary-air unit, its air flow) and its return temperature;
// the engine gives characteristic, output, mass flow and pressure drop, and the fan range ends
// give the outputs the limit labels show. The window forwards its events and shows the result.
namespace tepa::calculation {

inline constexpr std::size_t NoCoolingResultText = 192; // the return temperature gives no result

// The stage of a staged fan unit its stored speed stands for; other series ignore it.
engine::DwfStage stageOf(double speedRpm);

// The characteristic of a cooling entry at `speedRpm`, rated with `heightFactor`.
engine::ConvectorCoefficients
coolingCoefficients(const CoolingEntry& e, double speedRpm, double heightFactor);

// Output of the entry at one end of its fan range (a speed, or the air flow of a primary-air
// unit), W. The entry keeps the values of its own speed.
double Minmax_K(const CoolingEntry& e, const ProjectRecord& project, double setting);

// A range of the fan bar (`ScrollBar4`).
struct BarRange
{
    int minimum = 0, maximum = 0;
    friend bool operator==(const BarRange&, const BarRange&) = default;
};

// What the cooling panel shows after the entry has been rated (`update1_K`).
struct CoolingPointView
{
    int status = 0;                            // `StatusFlag`
    std::vector<std::size_t> messages;         // interface text lines, in order
    std::optional<std::string> returnTempText; // `Edit6`, when the return temperature was replaced
    bool rated = false;                        // false: no result; the panel is left as it stands
    bool waterSide = false;                    // `Panel8`; false for a primary-air unit
    std::optional<BarRange> barRange;
    int barPosition = 0;     // `ScrollBar4`
    std::string settingText; // `Edit8`
    PressureDropWarnings warnings;
    std::optional<double> maxAirFlow; // `MaxAirFlow`, primary-air units only
    double qmin = 0, qmax = 0;        // `Qmin`, `Qmax`
    // `Label43`, `Label45`, `Label56`: pressure drop, sound level, mass flow (water side only).
    std::string pressureDropText, soundLevelText, massFlowText;
};

// Rates `entry` at its own speed or air flow. A return temperature without a cooling result is
// replaced by 18 °C once (on `entry`, with text 192) and the `current` entry is rated again; when
// that fails too the entry keeps its values.
CoolingPointView update1_K(CoolingEntry& entry, CoolingEntry& current, const ProjectRecord& project);

// The fan bar as a newly listed entry starts it (`reset4`).
struct FanBarReset
{
    std::optional<BarRange> barRange;
    std::optional<double> maxAirFlow; // primary-air units: `MaxAirFlow`, and `Edit8` reads "0"
};
FanBarReset reset4(const CoolingEntry& e);

// The cooling fan bar moved (`ScrollBar4Change`).
struct CoolingFanView
{
    std::optional<BarRange> barRange;
    std::optional<int> barPosition;
    std::optional<std::string> settingText;     // `Edit8`
    std::optional<std::string> slowSettingText; // `Label102`
    bool settingAsLabel = false;                // `Label102` shows instead of `Edit8`
    std::vector<std::size_t> messages;
    std::optional<int> status; // `StatusFlag`, water side only
    PressureDropWarnings warnings;
    std::string outputText, totalText; // `Label49`, `Label59`
    // Water side only: `Label45`, `Label43`, `Label56` and whether the mass flow shows red.
    bool waterSide = false;
    std::string soundLevelText, pressureDropText, massFlowText;
    bool massFlowLow = false;
};

// The bar stands at `position`; `count` is the entry's count as the field holds it and
// `heightFactor` the factor the speed is rated with.
CoolingFanView moveCoolingFanBar(CoolingEntry& e,
                                 const ProjectRecord& project,
                                 int position,
                                 int count,
                                 double heightFactor,
                                 FanMemory& memory);

// A setting typed into `Edit8`: an air flow for a primary-air unit, otherwise percent of full
// speed, kept within what the unit allows. The bar then goes to `barPosition`, which runs the
// bar's rule.
struct TypedCoolingSetting
{
    std::string settingText; // `Edit8`
    int barPosition = 0;
};
TypedCoolingSetting typeCoolingSetting(CoolingEntry& e, std::string_view text, const FanMemory& memory);

} // namespace tepa::calculation
