#pragma once

#include "core/model/ProjectRecord.h"

#include <cstddef>
#include <string>
#include <vector>

// The room's convector list of the calculation window: one fixed-pitch line per entry of the
// active list with the running total of installed output, and in cooling the total against the
// room's demand and which series notes apply.
namespace tepa::calculation {

// The line of entry `number` (1-based) of the heating or the cooling list, at most 255
// characters, without the running totals.
std::string listLine(const ProjectRecord& project, bool heatingMode, int number);

struct RoomListView
{
    std::vector<std::string> lines; // ListBox2
    // Cooling only (an empty list leaves the total label as it was):
    bool coolingTotalShown = false;
    std::string coolingTotalText;      // Label67
    bool coolingDemandCovered = false; // Label67 green, red otherwise
    bool fanNotesShown = false;        // Label33, Label38: a fan series is listed
    bool primaryAirNotesShown = false; // Label95, Label96: a primary-air unit is listed
};

// The list of the active mode; with dual use each line also carries the running total of the
// other mode's rating.
RoomListView
roomList(const ProjectRecord& project, bool heatingMode, bool heatingDualUse, bool coolingDualUse);

} // namespace tepa::calculation
