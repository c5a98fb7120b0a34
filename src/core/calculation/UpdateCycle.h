#pragma once

#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingPoint.h"
#include "core/model/Session.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The result update cycle of the calculation window as plain rules: after every input the
// current entry is described, its admissible window and operating point recalculated, and the
// room's residual demand brought up to date. Each routine works on entry `index` (1-based) of its
// list and returns what the panels show; the window only maps it onto its controls.
namespace tepa::calculation {

inline constexpr std::size_t FreeConvectionText = 63;   // product-mode heading of a free convector
inline constexpr std::size_t ForcedConvectionText = 64; // ... of a fan convector
inline constexpr std::size_t StillToInstallText = 51;   // residual demand caption
inline constexpr std::size_t SurplusText = 140;         // ... when more is installed than needed
inline constexpr std::size_t MassFlowRaisedText = 96;   // a held mass flow below its window
inline constexpr std::size_t InvertedWindowText = 74;   // a window upside down: nothing shown

inline constexpr int MinCount = 1; // convectors of one entry
inline constexpr int MaxCount = 15;

// Type, height and length of an entry as the operating-point headings show it.
std::string
entryDescription(const InterfaceTexts& texts, const std::string& typeName, double height, double length);

// The count typed into a count field: a whole number (decimal, or hexadecimal after "$" or "0x")
// read up to the first character that does not fit, kept within what an entry may hold. A field
// showing a number outside the limits is to show the count used; an empty field (being retyped)
// is left alone.
struct TypedCount
{
    int count = MinCount;
    std::optional<std::string> correctedText;
};
TypedCount countOfText(std::string_view text);

// ---- Heating ----

// `update0`: the heading of the heating panel.
struct HeatingHeading
{
    std::string countText;         // Edit5
    int count = 0;                 // UpDown1
    std::size_t modeLine = 0;      // Label17
    bool fanControlsShown = false; // Panel6, Label23, Label28, Label30
    std::string description;       // Label5, Label76
};
HeatingHeading update0(const Session& session, int index);

// `update_grenzen`: characteristic and admissible window of the entry; `returnTempHeld` is the
// given quantity the planner chose, stored in the project.
struct HeatingLimits
{
    int status = 0;
    std::string soundLevelText;                 // Label28
    std::string returnEndText, returnStartText; // Label9, Label7
    std::string massEndText, massStartText;     // Label13, Label12
    std::string outputEndText, outputStartText; // Label16, Label14
};
HeatingLimits update_grenzen(Session& session, int index, bool returnTempHeld);

// `Restwaerme`: the room's demand against the output of the listed entries.
struct Residual
{
    std::size_t captionLine = StillToInstallText; // Label20
    std::string valueText;                        // Label21
    bool surplus = false;                         // Label21 green, black otherwise
};
Residual Restwaerme(const ProjectRecord& project);

// `update1`: the operating point from the held quantity.
struct HeatingUpdate
{
    int status = 0;
    std::vector<std::size_t> messages;  // shown as messages, in order
    std::optional<std::size_t> refusal; // shown as information; then nothing else changes
    PressureDropWarnings warnings;
    std::string pressureDropText;          // Label27
    std::optional<HeatingPointView> point; // `Scrollreset`: fields and sliders
    std::optional<Residual> residual;
};
HeatingUpdate update1(Session& session, int index, bool massFlowCheckArmed);

// After a speed change of the current heating entry: its window anew, the held quantity kept
// inside it, and the operating point.
struct SpeedChange
{
    HeatingLimits limits;
    HeatingUpdate update;
};
SpeedChange afterSpeedChange(Session& session, bool returnTempHeld, bool massFlowCheckArmed);

// `DrehzahlBar4Change`: the heating fan bar moved to `position`.
struct HeatingFanStep
{
    FanBarView bar;
    SpeedChange change;
};
HeatingFanStep DrehzahlBar4Change(
    Session& session, int position, bool returnTempHeld, bool massFlowCheckArmed, FanMemory& memory);

// `Balken_grenzwerte`: the captions of the fan bar; a cooling bar is also reset (`reset4`).
struct BarCaptions
{
    std::size_t speedHeading = 0; // Label19 (heating), Label46 (cooling)
    std::size_t speedUnit = 0;    // Label25 (heating), Label73 (cooling)
    std::optional<FanBarReset> coolingReset;
};
BarCaptions Balken_grenzwerte(const Session& session, int index);

// `Nullen` / `Nullen_K`: entry `index` cleared.
void Nullen(ProjectRecord& project, int index);
void Nullen_K(ProjectRecord& project, int index);

// A fixed stage of a ceiling unit chosen in heating: the entry is described and calculated
// afresh. Nothing happens on an entry of another series.
struct HeatingStage
{
    bool applied = false;
    HeatingHeading heading;
    HeatingLimits limits;
    HeatingUpdate update;
};
HeatingStage heatingStage(Session& session, double speedRpm, bool returnTempHeld, bool massFlowCheckArmed);

// ---- Cooling ----

// `update0_K`: the heading of the cooling panel.
struct CoolingHeading
{
    std::string countText;   // Edit9
    int count = 0;           // UpDown2
    std::string description; // Label3, Label76
};
CoolingHeading update0_K(const Session& session, int index);

// A cooling input that rates the current entry again (return temperature, fixed stage).
struct CoolingStep
{
    bool applied = false;
    std::optional<std::string> error; // the typed value is no number: shown as an error
    CoolingHeading heading;
    BarCaptions captions;
    CoolingPointView point;
    bool massFlowLow = false;             // Label56 red
    std::string outputText, totalText;    // Label49, Label59
    std::optional<std::string> countText; // Edit9 corrected to the count used
};

// `Edit6Change`: a return temperature typed; `countField` is what the count field holds.
CoolingStep Edit6Change(Session& session, std::string_view returnTempText, std::string_view countField);

// A fixed cooling stage of a ceiling unit; there is no standstill stage in cooling.
CoolingStep coolingStage(Session& session, double speedRpm, std::string_view countField);

// `Edit9Change` / `Edit5Change`: the count field of the current entry changed. Not applied
// while an entry is being added.
struct CountChange
{
    bool applied = false;
    int count = 0;
    std::optional<std::string> correctedText;
    std::string totalText; // cooling: Label59
};
CountChange Edit9Change(Session& session, std::string_view countField);
CountChange Edit5Change(Session& session, std::string_view countField);

} // namespace tepa::calculation
