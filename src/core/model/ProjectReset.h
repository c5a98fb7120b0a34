#pragma once

#include "core/model/ProjectRecord.h"

#include <ctime>
#include <locale>
#include <string>
#include <string_view>

namespace tepa {

// Empties a heating entry for a new choice: type name and both type texts empty; length,
// effective length, fan speed and setting, mass flow, K, n, return temperature, output, pressure
// drop, sound level, the six slider ends and the nominal cooling rating 0; Count 1;
// FreeConvection true and FreeConvectionB false. Height and HeightFactor stay, so the next
// choice starts from the height last used; InUse is left to the caller.
void clearHeatingEntry(HeatingEntry& entry);
// The same for a cooling entry (which has no slider ends and no free-convection flag).
void clearCoolingEntry(CoolingEntry& entry);

// Puts the record into the state of a new project: project data emptied and Date set to
// `todayShortDate` (cut to 10 characters), room data at their defaults (room 20 °C / 26 °C, flow
// 75 °C / 16 °C, second temperatures 20 °C / 16 °C, humidity 45 %, demands 0), every entry of both
// lists cleared, one entry per list and one room, entry 1 of each list not in use and without
// fan speed, and the list and calculation flags cleared. Every text field is zeroed over its
// whole byte range and so are the unassigned ranges. Kept: ReturnTempFixed and MassFlowFixed and
// each entry's Height and HeightFactor (the next choice starts from the height last used).
void resetForNewProject(ProjectRecord& record, std::string_view todayShortDate);
// The two halves of it that the data panels reset on their own: the descriptive project data
// (today's date, everything else emptied) and the room data with their default temperatures.
void resetProjectData(ProjectRecord& record, std::string_view todayShortDate);
void resetRoomData(ProjectRecord& record);

// A date in the short date format of `locale` ("%x"), cut to 10 characters. The C and POSIX
// locales express no user preference (their "%x" is the American MM/DD/YY), so they give
// DD.MM.YYYY, as does a locale whose format yields nothing.
std::string formatShortDate(const std::tm& date, const std::locale& locale);
// Today's date in the user's short date format (the environment's locale, else DD.MM.YYYY).
std::string todayShortDate();

} // namespace tepa
