// The room's convector list of the calculation window: one fixed-pitch line per entry with the
// running total of installed output.
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/EngineCommon.h"
#include "core/text/Numbers.h"

#include <QColor>
#include <QLabel>
#include <QListWidget>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <string>

namespace tepa {

using namespace window;

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

} // namespace

QString TForm2::Listenzeile(int number) const
{
    const std::size_t slot =
        static_cast<std::size_t>(std::clamp<int>(number, 1, static_cast<int>(MaxEntries)) - 1);
    std::string line = m_session.HeatingMode ? heatingLine(number, m_session.Project.HeatingEntries[slot])
                                             : coolingLine(number, m_session.Project.CoolingEntries[slot]);
    if (line.size() > MaxLineLength)
        line.resize(MaxLineLength);
    return QString::fromStdString(line);
}

void TForm2::Listenaufbau()
{
    ListBox2->clear();
    bool fanSeriesPresent = false;
    bool primaryAirPresent = false;
    double heatingTotal = 0;
    double coolingTotal = 0;
    const ProjectRecord& project = m_session.Project;

    if (m_session.HeatingMode) {
        const int count = std::clamp<int>(project.HeatingEntryCount, 0, static_cast<int>(MaxEntries));
        for (int i = 1; i <= count; ++i) {
            const HeatingEntry& entry = project.HeatingEntries[static_cast<std::size_t>(i - 1)];
            heatingTotal += entry.Count * entry.Output;
            QString line =
                Listenzeile(i) + QStringLiteral("  ") + QString::fromStdString(whole(heatingTotal, 5));
            if (m_session.HeatingDualUseOn) {
                coolingTotal += entry.Count * entry.CoolingNominalOutput;
                line += QStringLiteral("     ") + QString::fromStdString(whole(coolingTotal, 5));
            }
            ListBox2->addItem(line);
        }
        return;
    }

    const int count = std::clamp<int>(project.CoolingEntryCount, 0, static_cast<int>(MaxEntries));
    for (int i = 1; i <= count; ++i) {
        const CoolingEntry& entry = project.CoolingEntries[static_cast<std::size_t>(i - 1)];
        coolingTotal += entry.Count * entry.Output;
        Label67->setText(QString::fromStdString(whole(coolingTotal, 5)));
        setTextColour(Label67, coolingTotal >= project.CoolingDemand ? QColor(Qt::green) : QColor(Qt::red));
        QString line = Listenzeile(i) + QStringLiteral("  ") + QString::fromStdString(whole(coolingTotal, 5));
        const series::Series kind = series::seriesOf(entry.TypeName.text());
        if (series::hasSpeedFan(kind))
            fanSeriesPresent = true;
        if (kind == series::Series::Wnf)
            primaryAirPresent = true;
        if (m_session.CoolingDualUseOn) {
            heatingTotal += entry.Count * entry.HeatingNominalOutput;
            line += QStringLiteral("    ") + QString::fromStdString(whole(heatingTotal, 5));
        }
        ListBox2->addItem(line);
    }
    Label33->setVisible(fanSeriesPresent);
    Label38->setVisible(fanSeriesPresent);
    Label95->setVisible(primaryAirPresent);
    Label96->setVisible(primaryAirPresent);
}

} // namespace tepa
