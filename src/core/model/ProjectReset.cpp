#include "core/model/ProjectReset.h"

#include "core/text/Encoding.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

namespace tepa {
namespace {

// Fields both entry kinds share.
template <class Entry> void clearCommonEntryFields(Entry& entry)
{
    entry.TypeName.clear();
    entry.TypeText1.clear();
    entry.TypeText2.clear();
    entry.Length = 0;
    entry.EffectiveLength = 0;
    entry.FanSpeed = 0;
    entry.FanSetting = 0;
    entry.MassFlow = 0;
    entry.CoeffK = 0;
    entry.ExponentN = 0;
    entry.ReturnTemp = 0;
    entry.Output = 0;
    entry.PressureDrop = 0;
    entry.SoundLevel = 0;
    entry.Count = 1;
}

// The type texts of an entry, whole, and its unused bytes.
template <class Entry> void wipeEntryTexts(Entry& entry)
{
    entry.TypeName.wipe();
    entry.TypeText1.wipe();
    entry.TypeText2.wipe();
    entry.Unassigned.fill(0);
}

std::string dayMonthYear(const std::tm& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.tm_mday, date.tm_mon + 1, date.tm_year + 1900);
    return text;
}

bool expressesNoPreference(const std::locale& locale)
{
    const std::string name = locale.name();
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

} // namespace

void clearHeatingEntry(HeatingEntry& entry)
{
    clearCommonEntryFields(entry);
    entry.ReturnTempEnd = 0;
    entry.ReturnTempStart = 0;
    entry.MassFlowEnd = 0;
    entry.MassFlowStart = 0;
    entry.OutputEnd = 0;
    entry.OutputStart = 0;
    entry.CoolingNominalOutput = 0;
    entry.CoolingNominalMassFlow = 0;
    entry.CoolingNominalPressureDrop = 0;
    entry.CoolingNominalSound = 0;
    entry.FreeConvection = true;
    entry.FreeConvectionB = false;
}

void clearCoolingEntry(CoolingEntry& entry)
{
    clearCommonEntryFields(entry);
    entry.HeatingNominalOutput = 0;
    entry.HeatingNominalMassFlow = 0;
    entry.HeatingNominalPressureDrop = 0;
    entry.HeatingNominalSound = 0;
}

// A new project's file goes to other people: no client line, path or remark of the project
// before may be left in its bytes, neither behind a length byte nor in an unused range.
void resetProjectData(ProjectRecord& record, std::string_view todayShortDate)
{
    record.Date.wipe();
    record.Date.setText(todayShortDate);
    record.Title.wipe();
    record.Number.wipe();
    for (auto& line : record.DataLines)
        line.wipe();
    for (auto& line : record.RemarkLines)
        line.wipe();
    for (auto& attachment : record.Attachments)
        attachment.wipe();
    record.UnassignedAfterDate.fill(0);
    record.UnassignedAfterDataLines.fill(0);
}

void resetRoomData(ProjectRecord& record)
{
    record.RoomName.wipe();
    record.HeatingDemand = 0;
    record.CoolingDemand = 0;
    record.HeatingRoomTemp = 20;
    record.CoolingRoomTemp = 26;
    record.HeatingFlowTemp = 75;
    record.CoolingFlowTemp = 16;
    record.HeatingSecondTemp = 20;
    record.CoolingSecondTemp = 16;
    record.CoolingHumidity = 45;
    record.CoolingDualUse = false;
    record.HeatingDualUse = false;
}

void resetForNewProject(ProjectRecord& record, std::string_view todayShortDate)
{
    resetProjectData(record, todayShortDate);
    resetRoomData(record);

    for (auto& entry : record.HeatingEntries) {
        clearHeatingEntry(entry);
        wipeEntryTexts(entry);
    }
    for (auto& entry : record.CoolingEntries) {
        clearCoolingEntry(entry);
        wipeEntryTexts(entry);
    }

    record.RoomCount = 1;
    record.HeatingEntryCount = 1;
    record.CoolingEntryCount = 1;
    record.CalculationDone = false;

    // A new project holds no convector: every entry is free, not only the current one, so that
    // no entry of the previous project survives into the new file marked as in use.
    for (auto& entry : record.HeatingEntries)
        entry.InUse = false;
    for (auto& entry : record.CoolingEntries)
        entry.InUse = false;
    record.HeatingEntries[0].FanSpeed = 0;
    record.CoolingEntries[0].FanSpeed = 0;
    record.HeatingInUse = false;
    record.CoolingInUse = false;
}

std::string formatShortDate(const std::tm& date, const std::locale& locale)
{
    std::string text;
    if (!expressesNoPreference(locale)) {
        std::ostringstream out;
        out.imbue(locale);
        out << std::put_time(&date, "%x");
        text = out.str();
    }
    if (text.empty())
        text = dayMonthYear(date);
    return std::string(utf8Left(text, 10));
}

std::string todayShortDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm date{};
    if (const std::tm* local = std::localtime(&now))
        date = *local;
    std::locale user = std::locale::classic();
    try {
        user = std::locale("");
    } catch (const std::runtime_error&) {
        // An environment naming a locale that is not installed: no usable user format.
    }
    return formatShortDate(date, user);
}

} // namespace tepa
