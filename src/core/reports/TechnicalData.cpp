#include "core/reports/TechnicalData.h"

#include "core/model/AtomicFile.h"
#include "core/reports/FanPercent.h"
#include "core/series/Series.h"

#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <string_view>

namespace tepa {
namespace fs = std::filesystem;

namespace {

constexpr char Tab = '\t';
constexpr std::string_view TechnicalDataHeading = "Technische Daten:";

// Collects the lines in UTF-8; the whole text is converted to the file's code page at the end.
class Lines
{
public:
    void empty() { line(""); }
    void line(std::string_view text)
    {
        m_text += text;
        m_text += "\r\n";
    }
    // Label, TAB, value, TAB, unit.
    void value(std::string_view label, const std::string& value, std::string_view unit)
    {
        std::string text(label);
        text += Tab;
        text += value;
        text += Tab;
        text += unit;
        line(text);
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

// A name as the file shows it. The reader splits the file into lines at line breaks and a value
// line into fields at tabs; a name from a damaged project file may hold either, and must not
// start a line or a field of its own, so they become blanks.
std::string inLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == Tab)
            c = ' ';
    return text;
}

// The fan speed as a percentage of the series' top speed; a type of no fan series (free
// convection among them) shows 0 %.
double FanPercent(std::string_view typeName, double fanSpeed)
{
    const double divisor = fanPercentDivisor(typeName, false);
    return divisor == 0 ? 0 : fanSpeed / divisor;
}

// Primary-air types ("WNF") are set by their air flow instead of water mass flow and fan speed.
bool isPrimaryAir(std::string_view typeName)
{
    return series::isPrimaryAir(typeName);
}

std::size_t entriesToWrite(std::int32_t count, std::size_t size)
{
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(size)));
}

void writeHeating(Lines& out, const ProjectRecord& project)
{
    out.line("Auslegung für H E I Z U N G");
    out.empty();
    out.value("Raumtemperatur:", strFixed(project.HeatingRoomTemp, 2, 0), " C°");
    out.value("Wärmebedarf:", strFixed(project.HeatingDemand, 5, 0), " W");
    out.value("Anzahl Konv.-Typen:", std::to_string(project.HeatingEntryCount), " ");
    out.line("  ");
    out.line("  ");
    const std::size_t count = entriesToWrite(project.HeatingEntryCount, project.HeatingEntries.size());
    for (std::size_t k = 0; k < count; ++k) {
        const HeatingEntry& e = project.HeatingEntries[k];
        const std::string_view type = e.TypeName.bytes();
        out.empty();
        out.value("Konvektor-Typ::", inLine(e.TypeName.text()), " ");
        out.value("Höhe:", strFixed(e.Height, 3, 0), " mm");
        out.value("Länge:", strFixed(e.Length, 4, 0), " mm");
        out.value("Anzahl:", std::to_string(e.Count), " ");
        if (isPrimaryAir(type)) {
            out.value("Volumenstrom:", strFixed(e.FanSetting, 3, 0), " ");
        } else {
            out.value("Wassermassenstrom:", strFixed(e.MassFlow, 3, 0), " kg/h");
            out.value("Gebläsedrehzahl:", strFixed(FanPercent(type, e.FanSpeed), 4, 0), " %");
        }
        out.value("Wasserseitiger Druckverlust:", strFixed(e.PressureDrop, 5, 0), " Pa");
        out.value("Schalldruckpegel:", strFixed(e.SoundLevel, 3, 0), " dB (A)");
        out.value("Vorlauftemperatur:", strFixed(project.HeatingFlowTemp, 3, 1), " C°");
        out.value("Rücklauftemperatur:", strFixed(e.ReturnTemp, 3, 0), " C°");
        out.value("Wärmeleistung:", strFixed(e.Output, 5, 0), " W");
        out.empty();
        out.empty();
        out.line("Kühlleistung bei (16 / 18 / 26 C°),  Gebläsedrehzahl:70/75 %");
        out.value("Wassermassenstrom:", strFixed(e.CoolingNominalMassFlow, 3, 0), " kg/h");
        out.value("Wasserseitiger Druckverlust:", strFixed(e.CoolingNominalPressureDrop, 5, 0), " Pa");
        out.value("Schlalldruckpegel:", strFixed(e.CoolingNominalSound, 3, 0), " dB (A)");
        out.value("Kühlleistung:", strFixed(e.CoolingNominalOutput, 5, 0), " W");
    }
    out.empty();
}

// Cooling entries have no length line, and the section ends without an empty line.
void writeCooling(Lines& out, const ProjectRecord& project)
{
    out.line("Auslegung für K Ü H L U N G");
    out.empty();
    out.value("Raumtemperatur", strFixed(project.CoolingRoomTemp, 2, 0), " C°");
    out.value("Kühlbedarf:", strFixed(project.CoolingDemand, 5, 0), " W");
    out.value("Anzahl Konv.-Typen:", std::to_string(project.CoolingEntryCount), " ");
    out.line("  ");
    out.line("  ");
    const std::size_t count = entriesToWrite(project.CoolingEntryCount, project.CoolingEntries.size());
    for (std::size_t k = 0; k < count; ++k) {
        const CoolingEntry& e = project.CoolingEntries[k];
        const std::string_view type = e.TypeName.bytes();
        out.empty();
        out.value("Konvektor-Typ:", inLine(e.TypeName.text()), " ");
        out.value("Höhe:", strFixed(e.Height, 3, 0), " mm");
        out.value("Anzahl:", std::to_string(e.Count), " ");
        if (isPrimaryAir(type)) {
            out.value("Volumenstrom:", strFixed(e.FanSetting, 3, 0), "kg/h");
        } else {
            out.value("Wassermassenstrom:", strFixed(e.MassFlow, 3, 0), "kg/h");
            out.value("Gebläsedrehzahl:", strFixed(FanPercent(type, e.FanSpeed), 4, 0), " %");
        }
        out.value("Wasserseitiger Druckverlust", strFixed(e.PressureDrop, 5, 0), " Pa");
        out.value("Schalldruckpegel:", strFixed(e.SoundLevel, 3, 0), " dB (A)");
        out.value("Vorlauftemperatur:", strFixed(project.CoolingFlowTemp, 3, 1), " C°");
        out.value("Rücklauftemperatur:", strFixed(e.ReturnTemp, 3, 0), " C°");
        out.value("Kühlleistung:", strFixed(e.Output, 5, 0), " W");
        out.empty();
        out.empty();
        out.line("Heizleistung bei (75 / 65 / 20 C°),  Gebläsedrehzah:70/75 %");
        out.empty();
        out.value("Wassermassenstrom:", strFixed(e.HeatingNominalMassFlow, 3, 0), " kg/h");
        out.value("Wasserseitiger Druckverlust:", strFixed(e.HeatingNominalPressureDrop, 5, 0), " Pa");
        out.value("Schalldruckpegel:", strFixed(e.HeatingNominalSound, 3, 0), " dB(A)");
        out.value("Kühlleistung:", strFixed(e.HeatingNominalOutput, 5, 0), " W");
    }
}

} // namespace

std::string TechnicalDataBytes(const ProjectRecord& project)
{
    const bool heating = project.HeatingInUse || project.HeatingEntries[0].InUse;
    const bool cooling = project.CoolingInUse || project.CoolingEntries[0].InUse;

    Lines out;
    out.empty();
    out.empty();
    out.line(std::string(TechnicalDataHeading) + "   ");
    out.empty();
    out.empty();
    out.line("Raumbezeichnung:   " + inLine(project.RoomName.text()));
    out.empty();
    if (heating)
        writeHeating(out, project);
    if (cooling)
        writeCooling(out, project);
    return utf8ToCp1252(out.text());
}

bool isTechnicalDataImage(std::string_view start)
{
    const std::size_t text = start.find_first_not_of("\r\n");
    return text != std::string_view::npos && start.substr(text).starts_with(TechnicalDataHeading);
}

fs::path technicalDataFileFor(const fs::path& projectFile)
{
    // The extension is everything from the last dot of the file name, the dot included; a name
    // that starts with its only dot still has one.
    const std::string name = projectFile.filename().string();
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return projectFile.parent_path() / ("techdaten" + extension);
}

Status WriteTechnicalData(const fs::path& file, const ProjectRecord& project)
{
    return writeFileAtomically(file, TechnicalDataBytes(project));
}

} // namespace tepa
