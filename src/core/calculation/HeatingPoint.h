#pragma once

#include "core/engine/PressureDrop.h"
#include "core/model/ProjectRecord.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The heating operating point of the calculation window as plain rules: return temperature,
// mass flow and output are coupled through the entry's characteristic; each input sets one of
// them, the engine gives the other two and the pressure drop, and the result is what the panel
// shows. No window is involved, so the window only forwards its events and shows the result.
namespace tepa::calculation {

// Interface text lines the operating point shows.
inline constexpr std::size_t ReturnTempRefusedText = 69;
inline constexpr std::size_t MassFlowRefusedText = 92;
inline constexpr std::size_t OutputRefusedText = 93;
inline constexpr std::size_t HighPressureDropText = 242; // Panel10
inline constexpr std::size_t WarningHeadText = 243;      // Panel10 and Panel16
inline constexpr std::size_t LaminarFlowText = 244;      // Panel16
inline constexpr std::size_t RaiseMassFlowText = 245;    // Panel16

// The value of a number field as the planner means it: a decimal comma reads as a point, so
// "60,8" is 60.8 as in the room data; a text that is no number reads as its leading number.
double fieldValue(std::string_view text);

// The two warnings of the water side, exactly as the engine flags them for the entry.
struct PressureDropWarnings
{
    bool laminarFlow = false;      // Panel16 with texts 243, 244, 245
    bool highPressureDrop = false; // Panel10 with texts 243, 242
    friend bool operator==(const PressureDropWarnings&, const PressureDropWarnings&) = default;
};
PressureDropWarnings warningsOf(const engine::PressureDropResult& drop);

// The water-side pressure drop of a heating entry at its operating point: stored in the entry,
// the engine's result (or only its warnings) returned.
engine::PressureDropResult heatingDrop(HeatingEntry& e, const ProjectRecord& project);
PressureDropWarnings heatingPressureDrop(HeatingEntry& e, const ProjectRecord& project);

enum class Quantity
{
    ReturnTemp, // Edit1, ScrollBar1
    MassFlow,   // Edit2, ScrollBar2
    Output,     // Edit3, ScrollBar3
};

// What the heating operating-point panel shows.
struct HeatingPointView
{
    std::string returnTempText;   // Edit1
    std::string massFlowText;     // Edit2
    std::string outputText;       // Edit3: the entry's output, the very number the list shows
    int returnTempPosition = 0;   // ScrollBar1, 0..100 within the entry's window
    int massFlowPosition = 0;     // ScrollBar2
    int outputPosition = 0;       // ScrollBar3
    std::string pressureDropText; // Label27
    PressureDropWarnings warnings;
    std::vector<std::size_t> messages; // interface text lines to show, in order
    bool entryChanged = false;         // the list and the residual demand are to be rebuilt
    int status = 0;                    // status of the engine's output law
};

// The panel for the entry as it stands (no calculation).
HeatingPointView viewOf(const HeatingEntry& e);

// A slider moved to `position` (0..100 of the quantity's window).
HeatingPointView moveSlider(HeatingEntry& e, const ProjectRecord& project, Quantity q, int position);

// A value typed into the quantity's field. A value inside the window shown beside the field is
// taken, one outside is refused with its text and the field shows the entry's value again.
HeatingPointView typeValue(HeatingEntry& e, const ProjectRecord& project, Quantity q, std::string_view text);

// The window a typed value is checked against, as the limit labels show it (whole numbers for
// mass flow and output).
struct Window
{
    double lowest = 0, highest = 0;
};
Window typedWindow(const HeatingEntry& e, Quantity q);

// Position 0..100 of x within [low, high]; 0 for an empty window.
int sliderPosition(double x, double low, double high);

} // namespace tepa::calculation
