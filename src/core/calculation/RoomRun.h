#pragma once

#include "core/model/Session.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The checks of the room calculation run: the room data taken over from the main window are
// checked against the admissible ranges, and changed room data are reconciled with the entries
// that already exist. The run drives the calculation window only through `CalculationPort`.
namespace tepa::calculation {

inline constexpr std::size_t RoomTempRangeText = 70;
inline constexpr std::size_t FlowTempRangeText = 73;
inline constexpr std::size_t ChangedRoomDataText = 114;
inline constexpr std::size_t ReturnTempLoweredText = 118;
inline constexpr std::size_t CoolingFlowAboveRoomText = 169;

// What the run needs the calculation window to do with an entry of the heating list.
class CalculationPort
{
public:
    virtual ~CalculationPort() = default;
    // `update_grenzen`: the entry's admissible windows at the room data now in the record.
    virtual void updateLimits(int index) = 0;
    // `update1`: the entry recalculated at its operating point.
    virtual void recalculate(int index) = 0;
};

// Why a run stops before the calculation; the interface text to show.
enum class RunStop
{
    None,
    RoomTemp,             // text 70
    FlowTemp,             // text 73
    CoolingFlowAboveRoom, // text 169, with a proposal for the cooling flow temperature
};
std::size_t stopText(RunStop stop);

// The range checks of a heating run (room 0..40 °C, flow 40..110 °C).
RunStop heatingChecks(const ProjectRecord& project);
// The checks of a cooling run in their order: the flow temperature against the room first,
// then the ranges (room 0..40 °C, flow 5..25 °C).
RunStop coolingFlowCheck(const ProjectRecord& project);
RunStop coolingChecks(const ProjectRecord& project);
// The cooling flow temperature proposed when it lies above the room temperature.
std::string proposedCoolingFlow(const ProjectRecord& project);

// The heating room data the entries were last calculated with.
struct RoomValues
{
    double demand = 0, flowTemp = 0, roomTemp = 0;
};
RoomValues heatingRoomValues(const ProjectRecord& project);

// Whether the run asks text 114: the room data changed while the heating list has entries.
bool asksChangedRoomData(const Session& session);
// No to text 114: each changed value returns to `before` (when known); the flags are cleared.
void rejectRoomDataChange(Session& session, const std::optional<RoomValues>& before);
// Yes to text 114: after a temperature change every entry gets its new windows and is
// recalculated; a return temperature above its new upper end is lowered to it. Returns the
// numbers of the entries lowered, in order; the flags are cleared.
std::vector<int> acceptRoomDataChange(Session& session, CalculationPort& port);

// The message of an entry whose return temperature was lowered: "Konvektor Nr i   " and text
// 118.
std::string loweredReturnTempMessage(int number, const std::string& text118);

} // namespace tepa::calculation
