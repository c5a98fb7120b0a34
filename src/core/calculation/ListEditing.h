#pragma once

#include "core/model/Session.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Editing the room's convector list of the calculation window: appending an entry, deleting
// one, loading one into the operating-point panel, and the write-back when the window closes.
// Each call changes the session as the command does and returns what the window shows.
namespace tepa::calculation {

inline constexpr std::size_t ListFullText = 265;       // the list holds the most entries already
inline constexpr std::size_t NoEntriesText = 95;       // nothing to delete
inline constexpr std::size_t DeleteQuestionText = 94;  // "delete this entry?"
inline constexpr std::size_t NoRowSelectedText = 131;  // no line of the list is selected
inline constexpr std::size_t FanSpeedHeadingText = 52; // speed heading of the heating fan
inline constexpr std::size_t FanHeadingText = 64;      // product mode heading of a fan entry
inline constexpr std::size_t CoolingSpeedHeadingText = 178;
inline constexpr std::size_t PrimaryAirCaptionText = 208; // the cooling temperature caption ...
inline constexpr std::size_t FlowTempCaptionText = 190;   // ... of a primary-air unit or else

enum class NoteKind
{
    Message,     // a message box
    Information, // an information box with an OK button
};

struct Note
{
    NoteKind kind = NoteKind::Message;
    std::size_t line = 0; // interface text line

    friend bool operator==(const Note&, const Note&) = default;
};

// The fan controls of the heating entry now current: none for free convection, the stage panel
// (Panel14) for the fixed-stage series, the bar (Panel6) for the others.
enum class FanPanel
{
    None,
    Stages,
    Bar,
};

// `Erweitern`.
struct AppendView
{
    std::vector<Note> notes;
    bool appended = false;        // a new last entry is open; the three buttons are locked
    bool countFieldReset = false; // cooling: Edit9 "1" and UpDown2 at 1
};
// `typedCount` is the count field's reading for the entry current before.
AppendView appendEntry(Session& session, std::optional<int> typedCount);

// `Loeschen`, first step: what the window shows before anything changes.
struct DeleteCheck
{
    std::optional<Note> note; // 131 or 95: nothing is deleted
    bool ask = false;         // ask text 94 with Yes and No
};
// `row` is the selected line of the list (0-based), -1 for none.
DeleteCheck checkDelete(Session& session, int row);

// `Loeschen` after Yes: the entry of `row` is removed and the later ones move up.
struct DeleteView
{
    bool listEmptied = false; // Panel4, Panel3, ListBox2, Label8, GroupBox1 hidden; Erweitern on;
                              // the count field of the mode "1"
    // Otherwise entry 1 is current; the window runs its update cycle on it, then shows:
    FanPanel heatingFan = FanPanel::None;
    bool coolingStaged = false; // Panel15 instead of Panel7
    int fanBarPosition = 0;     // DrehzahlBar4 or ScrollBar4
    std::string settingText;    // Edit4 or Edit8
};
DeleteView deleteEntry(Session& session, int row);

// `Bearbeiten`.
struct EditView
{
    std::optional<Note> note; // no line selected: nothing else changes
    int index = 0;            // the entry now current (1-based)
    // Heating
    FanPanel heatingFan = FanPanel::None;
    std::optional<int> heatingStage; // 0..3: RadioButton1..4 is clicked
    bool barRangeSet = false;
    int barMinimum = 0;
    int barMaximum = 0;
    int barPosition = 0;
    bool settingInLabel = false; // a slow fan shows its setting in Label101 instead of Edit4
    bool runBarHandler = false;  // the bar's change handler runs once
    std::string settingText;     // Edit4 (and Label101)
    double maxAirFlow = 0;       // the primary air flow of the unit's size, m³/h
    // Cooling
    std::string countText;           // Edit9
    std::string returnTempText;      // Edit6
    std::optional<int> coolingStage; // 0..2: RadioButton5..7 is clicked
    bool coolingStaged = false;
    bool primaryAir = false; // Label97, Edit6, UpDown3 hidden; ScrollBar4 from 0; Edit8 "0"
    std::size_t flowCaption = FlowTempCaptionText; // Label41
};
// `maxAirFlow` is the largest primary air flow kept from before, used for a name of no size.
EditView editEntry(Session& session, int row, double maxAirFlow);

// `Schliessen1Click` and closing by the frame.
struct WriteBackView
{
    bool typeListDisabled = false;     // the main window's convector type list
    bool convectorListEnabled = false; // the main window's print and convector-list commands
};
// `typedCount` is the count field's reading; `listEmpty` whether the window's list shows no
// line.
WriteBackView writeBack(Session& session, std::optional<int> typedCount, bool listEmpty);

// The fan setting of a heating fan entry as its setting field shows it: the primary air flow
// of a primary-air unit, otherwise the speed in percent of the series' nominal maximum.
std::string heatingSettingText(const HeatingEntry& entry);

} // namespace tepa::calculation
