#pragma once

#include "core/calculation/HeatingFan.h"
#include "core/model/Session.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The type panel of the calculation window as plain rules: loading a type list, picking type,
// length and height into the current entry of the active mode, and what "weiter" starts the new
// entry with. Each call returns what the panel shows; the window maps it onto its controls.
namespace tepa::calculation {

inline constexpr std::size_t FreeListText = 63;         // Label4 after the free-convection load
inline constexpr std::size_t ForcedListText = 46;       // ... after the forced-convection load
inline constexpr std::size_t CannotCoolText = 231;      // a type without a cooling rating in dual use
inline constexpr std::size_t ReturnAboveFlowText = 68;  // the return temperature is above the flow
inline constexpr std::size_t CondensationText = 33;     // GroupBox3: the flow is below the dew-point limit
inline constexpr std::size_t DewPointCaptionText = 22;  // ... its dew point caption
inline constexpr std::size_t FlowLimitCaptionText = 23; // ... its limit caption

// A type list loaded (`FreieKonvektion1Click`, `FreieZwangsKonv1Click`). On an error nothing
// else changes: the lists keep their types and the entry its kind.
struct TypeListView
{
    std::optional<std::string> error;
    std::vector<std::string> types;         // ListBox1; the length and height lists are emptied
    std::size_t captionLine = FreeListText; // Label4
    std::optional<bool> coolingNoteShown;   // Panel9, set by the forced load only
    std::vector<std::size_t> messages;      // in order
};
TypeListView loadTypeList(Session& session, bool forced);

// A type picked in the type list (`ListBox1Click`): row `row` (0-based) showing `item`.
struct TypeChosenView
{
    std::vector<std::string> lengths;                // ListBox3 (emptied first)
    std::optional<std::vector<std::string>> heights; // ListBox4 replaced when set
    int heightRow = 0;                               // its current row
    std::vector<std::size_t> messages;               // shown before any error
    std::optional<std::string> error;                // shown last; the pick stops there
    bool otherModeRatingHidden = false;              // GroupBox4 (heating)
    bool weiterEnabled = false;                      // a single length is chosen at once
    std::optional<std::string> description;          // Label5 (heating) or Label3 (cooling), Label76
};
TypeChosenView chooseType(Session& session, int row, const std::string& item);

// A length picked (`ListBox3Click`); the window then picks the height again.
// Returns the description for Label5 (heating) or Label3 (cooling) and Label76.
std::string chooseLength(Session& session, const std::string& lengthText);

// A height line picked (`ListBox4Click`): the height, and the factor of the type's series.
std::optional<std::string> chooseHeight(Session& session, const std::string& heightLine);

// The type panel left by a click on its surface (`Panel4Click`).
struct TypePanelLeft
{
    bool heatingPanelShown = false; // Panel3, once prepared
};
TypePanelLeft leaveTypePanel(const Session& session);

// ---- "weiter" ----

// The fan a new heating entry starts with: the water-cooling fans at their lowest speed, the
// others at rest.
struct HeatingFanStart
{
    double fanSpeed = 0;             // the entry's speed and the bar's position
    std::string settingText;         // Edit4
    bool settingFixed = false;       // "WFWL": Label101 shows the setting instead of Edit4
    bool keepsPreviousSpeed = false; // the slow fan's ladder starts from this speed
};
HeatingFanStart heatingFanStart(const std::string& typeName);

// The fan a new cooling entry starts with, before its operating point is rated.
struct CoolingFanStart
{
    std::optional<double> fanSpeed;         // moved to this speed (a ceiling unit keeps its stage)
    std::optional<std::string> settingText; // Edit8
    std::optional<std::string> fixedText;   // "WFWL": Label102 shows this instead of Edit8
    bool keepsPreviousSpeed = false;
};
CoolingFanStart coolingFanStart(const std::string& typeName);

// The return temperature window of a new cooling entry: from the flow temperature up by 12 K,
// starting 2 K above it.
struct CoolingReturnStart
{
    int minimum = 0, maximum = 0, value = 0; // UpDown3
    std::string text;                        // Edit6
    bool shown = true;                       // Label97, Edit6, UpDown3: not for a primary-air unit
};
CoolingReturnStart coolingReturnStart(const Session& session);

// The condensation warning of a water-cooled entry: shown when the lowest flow temperature the
// engine allows at the room's dew point lies above the project's flow temperature.
struct DewPointWarning
{
    std::string dewPointText;   // Label80
    std::string lowestFlowText; // Label81
};
std::optional<DewPointWarning> dewPointWarning(const ProjectRecord& project);

// The entry states "weiter" sets in heating once the entry is described and its window known:
// the first entry of a new room starts in the middle of its window, a return temperature above
// the flow is confirmed (`confirm` asks with the text line; no keeps the entry unfinished), and
// an added entry takes over the held quantity of the one before.
struct HeatingEntryStart
{
    bool confirmed = true;
    bool speedChangeEnded = false; // an emptied list starts again: no speed change is running
};
HeatingEntryStart startHeatingEntry(Session& session, const std::function<bool(std::size_t)>& confirm);

// What shows for the room once "weiter" is done, in either mode.
struct WeiterEnd
{
    bool heatingStagesShown = false;  // Panel14
    bool coolingStagesShown = false;  // Panel15
    std::size_t thirdValueLine = 190; // Label41
    bool thirdValueShown = true;      // Label33, Label38
};
WeiterEnd weiterEnd(const Session& session);

} // namespace tepa::calculation
