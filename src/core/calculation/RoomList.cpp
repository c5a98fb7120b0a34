#include "core/calculation/RoomList.h"

#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tepa::calculation {
namespace {

// A whole number in at least `width` characters, rounded to the nearest integer.
std::string whole(double x, int width)
{
    return strFixed(x, width, 0);
}

// The number preceded by spaces so that both fill `width` characters, but by one space at least.
std::string rightAligned(double x, int width)
{
    std::string number = whole(x, 0);
    const std::size_t pad = number.size() + 1 >= static_cast<std::size_t>(width)
                                ? 1
                                : static_cast<std::size_t>(width) - number.size();
    return std::string(pad, ' ') + number;
}

// Number, type name and the columns shared by both lists: height, length, units, return
// temperature.
template <class Entry> std::string lineStart(int number, const Entry& entry)
{
    const std::string name = entry.TypeName.text();
    const std::size_t fill = name.size() >= 8 ? 1 : 8 - name.size();
    return strInt(number, 2) + " " + name + std::string(fill, ' ') + whole(entry.Height, 3) + " " +
           whole(entry.Length, 4) + " " + strInt(entry.Count, 2) + " " + whole(entry.ReturnTemp, 2);
}

// The fan speed of a heating entry as a percentage of the series' range, 3 characters; "---"
// for types without a fan.
std::string heatingSpeedPercent(const std::string& name, double speed)
{
    const series::Series s = series::seriesOf(name);
    if (!series::hasSpeedFan(s))
        return "---";
    // The stages of "DWF" are listed a little above their share of 1400 rpm.
    const double percent = series::percentFromSpeed(s, speed) + (s == series::Series::Dwf ? 0.2 : 0);
    std::string text = whole(percent, 3);
    return text.size() > 4 ? std::string("100") : text;
}

std::string coolingSpeedPercent(const std::string& name, double speed)
{
    const series::Series s = series::seriesOf(name);
    // The fixed fan stages are shown as the percentages they are sold with.
    if (s == series::Series::Dwf && !series::dwfCoolingStageText(speed).empty())
        return std::string(series::dwfCoolingStageText(speed));
    std::string text = whole(series::coolingPercentFromSpeed(s, speed), 3);
    return text.size() > 4 ? std::string(" 100") : text;
}

std::string heatingLine(int number, const HeatingEntry& entry)
{
    const std::string name = entry.TypeName.text();
    std::string line = lineStart(number, entry);
    line += rightAligned(entry.MassFlow, 6);
    line += " ";
    line += series::seriesOf(name) == series::Series::Wnf ? whole(entry.FanSetting, 4) : std::string(" ---");
    line += " " + heatingSpeedPercent(name, entry.FanSpeed);
    line += rightAligned(entry.PressureDrop, 7);
    line += "  " + whole(entry.SoundLevel, 2);
    line += "  " + whole(entry.Output, 4);
    line += "  " + whole(entry.Count * entry.Output, 5);
    return line;
}

std::string coolingLine(int number, const CoolingEntry& entry)
{
    const std::string name = entry.TypeName.text();
    std::string line = lineStart(number, entry);
    if (series::seriesOf(name) == series::Series::Wnf) {
        // Primary-air units cool by their air stream alone: no water values, the air flow instead.
        line += "   ---";
        line += "  " + whole(entry.FanSetting, 3);
        line += " ----";
        line += "  ---";
        line += "  ---";
    } else {
        line += rightAligned(std::fabs(entry.MassFlow), 6);
        line += "  ---";
        line += " " + coolingSpeedPercent(name, entry.FanSpeed);
        line += rightAligned(entry.PressureDrop, 7);
        line += "  " + whole(std::fabs(entry.SoundLevel), 2);
    }
    line += "   " + whole(entry.Output, 4);
    line += " " + whole(entry.Count * entry.Output, 5);
    return line;
}

constexpr std::size_t MaxLineLength = 255;

int listed(std::int32_t count)
{
    return std::clamp<int>(count, 0, static_cast<int>(MaxEntries));
}

} // namespace

std::string listLine(const ProjectRecord& project, bool heatingMode, int number)
{
    const std::size_t slot =
        static_cast<std::size_t>(std::clamp<int>(number, 1, static_cast<int>(MaxEntries)) - 1);
    std::string line = heatingMode ? heatingLine(number, project.HeatingEntries[slot])
                                   : coolingLine(number, project.CoolingEntries[slot]);
    if (line.size() > MaxLineLength)
        line.resize(MaxLineLength);
    return line;
}

RoomListView
roomList(const ProjectRecord& project, bool heatingMode, bool heatingDualUse, bool coolingDualUse)
{
    RoomListView view;
    double heatingTotal = 0;
    double coolingTotal = 0;
    if (heatingMode) {
        for (int i = 1; i <= listed(project.HeatingEntryCount); ++i) {
            const HeatingEntry& entry = project.HeatingEntries[static_cast<std::size_t>(i - 1)];
            heatingTotal += entry.Count * entry.Output;
            std::string line = listLine(project, true, i) + "  " + whole(heatingTotal, 5);
            if (heatingDualUse) {
                coolingTotal += entry.Count * entry.CoolingNominalOutput;
                line += "     " + whole(coolingTotal, 5);
            }
            view.lines.push_back(line);
        }
        return view;
    }
    for (int i = 1; i <= listed(project.CoolingEntryCount); ++i) {
        const CoolingEntry& entry = project.CoolingEntries[static_cast<std::size_t>(i - 1)];
        coolingTotal += entry.Count * entry.Output;
        view.coolingTotalShown = true;
        view.coolingTotalText = whole(coolingTotal, 5);
        view.coolingDemandCovered = coolingTotal >= project.CoolingDemand;
        std::string line = listLine(project, false, i) + "  " + whole(coolingTotal, 5);
        const series::Series kind = series::seriesOf(entry.TypeName.text());
        view.fanNotesShown = view.fanNotesShown || series::hasSpeedFan(kind);
        view.primaryAirNotesShown = view.primaryAirNotesShown || kind == series::Series::Wnf;
        if (coolingDualUse) {
            heatingTotal += entry.Count * entry.HeatingNominalOutput;
            line += "    " + whole(heatingTotal, 5);
        }
        view.lines.push_back(line);
    }
    return view;
}

} // namespace tepa::calculation
