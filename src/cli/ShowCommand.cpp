#include "cli/ShowCommand.h"

#include "cli/Command.h"
#include "cli/Json.h"
#include "core/model/ProjectFile.h"
#include "core/reports/TechnicalData.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage = "usage: tepa show PROJECT.kon [--json]\n";
constexpr std::string_view Help =
    "usage: tepa show PROJECT.kon [--json]\n"
    "\n"
    "Shows a project file as the program reads it: project data, room data and\n"
    "the heating and cooling convector entries in use.\n"
    "\n"
    "  --json   every field of the record as one JSON object, keyed by field name\n"
    "  --help   this text\n";

template <class Entry> void writeCommonEntryFields(Json& json, const Entry& e)
{
    json["TypeName"] = e.TypeName.text();
    json["Length"] = e.Length;
    json["Height"] = e.Height;
    json["HeightFactor"] = e.HeightFactor;
    json["EffectiveLength"] = e.EffectiveLength;
    json["FanSpeed"] = e.FanSpeed;
    json["MassFlow"] = e.MassFlow;
    json["FanSetting"] = e.FanSetting;
    json["Count"] = static_cast<int>(e.Count);
    json["TypeText1"] = e.TypeText1.text();
    json["TypeText2"] = e.TypeText2.text();
    json["CoeffK"] = e.CoeffK;
    json["ExponentN"] = e.ExponentN;
    json["ReturnTemp"] = e.ReturnTemp;
    json["Output"] = e.Output;
}

Json heatingEntryJson(const HeatingEntry& e)
{
    Json json;
    writeCommonEntryFields(json, e);
    json["FreeConvection"] = e.FreeConvection;
    json["PressureDrop"] = e.PressureDrop;
    json["SoundLevel"] = e.SoundLevel;
    json["ReturnTempEnd"] = e.ReturnTempEnd;
    json["ReturnTempStart"] = e.ReturnTempStart;
    json["MassFlowEnd"] = e.MassFlowEnd;
    json["MassFlowStart"] = e.MassFlowStart;
    json["OutputEnd"] = e.OutputEnd;
    json["OutputStart"] = e.OutputStart;
    json["CoolingNominalOutput"] = e.CoolingNominalOutput;
    json["CoolingNominalSound"] = e.CoolingNominalSound;
    json["CoolingNominalPressureDrop"] = e.CoolingNominalPressureDrop;
    json["CoolingNominalMassFlow"] = e.CoolingNominalMassFlow;
    json["FreeConvectionB"] = e.FreeConvectionB;
    json["InUse"] = e.InUse;
    return json;
}

Json coolingEntryJson(const CoolingEntry& e)
{
    Json json;
    writeCommonEntryFields(json, e);
    json["PressureDrop"] = e.PressureDrop;
    json["SoundLevel"] = e.SoundLevel;
    json["HeatingNominalOutput"] = e.HeatingNominalOutput;
    json["HeatingNominalSound"] = e.HeatingNominalSound;
    json["HeatingNominalPressureDrop"] = e.HeatingNominalPressureDrop;
    json["HeatingNominalMassFlow"] = e.HeatingNominalMassFlow;
    json["InUse"] = e.InUse;
    return json;
}

template <class Strings> Json textArray(const Strings& strings)
{
    Json array = Json::array();
    for (const auto& s : strings)
        array.push_back(s.text());
    return array;
}

// Pads to a width counted in characters, so "°C" in a heading lines up like any other text.
std::string padLeft(std::string_view text, std::size_t width)
{
    const std::size_t length = utf8Length(text);
    return std::string(length < width ? width - length : 0, ' ') + std::string(text);
}
std::string padRight(std::string_view text, std::size_t width)
{
    const std::size_t length = utf8Length(text);
    return std::string(text) + std::string(length < width ? width - length : 0, ' ');
}

void writeLine(std::ostream& out, std::string_view label, std::string_view value)
{
    std::string line = "  " + padRight(label, 22) + std::string(value);
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

std::string_view heatingAndCooling(bool heating, bool cooling)
{
    if (heating && cooling)
        return "heating and cooling";
    if (heating)
        return "heating";
    return cooling ? "cooling" : "none";
}

std::string quantity(double value, int decimals, std::string_view unit)
{
    return strFixed(value, 0, decimals) + " " + std::string(unit);
}

struct Column
{
    std::string_view heading;
    std::size_t width;
};
// Number columns are two characters wider than their headings.
constexpr Column EntryColumns[] = {
    {"No", 3},
    {"Type", 10},
    {"Length mm", 11},
    {"Height mm", 11},
    {"Count", 7},
    {"Output W", 10},
    {"Mass flow kg/h", 16},
    {"Return °C", 11},
    {"Pressure drop Pa", 18},
    {"Sound dB(A)", 13},
};

// The lists are read as the program builds them: entries 1 to the list's count, those in use.
template <class Entries>
void writeEntryTable(std::ostream& out, std::string_view title, const Entries& entries, std::int32_t count)
{
    out << '\n' << title << " (entries 1 to " << count << ")\n";
    bool any = false;
    for (std::int32_t k = 1; k <= count && k <= static_cast<std::int32_t>(entries.size()); ++k) {
        const auto& e = entries[static_cast<std::size_t>(k - 1)];
        if (!e.InUse)
            continue;
        if (!any) {
            out << "  " << padLeft(EntryColumns[0].heading, EntryColumns[0].width) << "  "
                << padRight(EntryColumns[1].heading, EntryColumns[1].width);
            for (std::size_t c = 2; c < std::size(EntryColumns); ++c)
                out << padLeft(EntryColumns[c].heading, EntryColumns[c].width);
            out << '\n';
            any = true;
        }
        const std::string cells[] = {
            strInt(k, 0),
            e.TypeName.text(),
            strFixed(e.Length, 0, 0),
            strFixed(e.Height, 0, 0),
            strInt(e.Count, 0),
            strFixed(e.Output, 0, 1),
            strFixed(e.MassFlow, 0, 1),
            strFixed(e.ReturnTemp, 0, 1),
            strFixed(e.PressureDrop, 0, 1),
            strFixed(e.SoundLevel, 0, 1),
        };
        out << "  " << padLeft(cells[0], EntryColumns[0].width) << "  "
            << padRight(cells[1], EntryColumns[1].width);
        for (std::size_t c = 2; c < std::size(EntryColumns); ++c)
            out << padLeft(cells[c], EntryColumns[c].width);
        out << '\n';
    }
    if (!any)
        out << "  no entry in use\n";
}

} // namespace

void writeProjectJson(const ProjectRecord& r, std::ostream& out)
{
    Json json;
    json["Title"] = r.Title.text();
    json["Number"] = r.Number.text();
    json["Date"] = r.Date.text();
    json["RemarkLines"] = textArray(r.RemarkLines);
    json["DataLines"] = textArray(r.DataLines);
    json["Attachments"] = textArray(r.Attachments);
    json["RoomName"] = r.RoomName.text();
    json["HeatingDemand"] = r.HeatingDemand;
    json["CoolingDemand"] = r.CoolingDemand;
    json["HeatingRoomTemp"] = r.HeatingRoomTemp;
    json["CoolingRoomTemp"] = r.CoolingRoomTemp;
    json["HeatingFlowTemp"] = r.HeatingFlowTemp;
    json["CoolingFlowTemp"] = r.CoolingFlowTemp;
    json["HeatingSecondTemp"] = r.HeatingSecondTemp;
    json["CoolingSecondTemp"] = r.CoolingSecondTemp;
    json["CoolingHumidity"] = r.CoolingHumidity;
    json["HeatingEntryCount"] = static_cast<int>(r.HeatingEntryCount);
    json["CoolingEntryCount"] = static_cast<int>(r.CoolingEntryCount);
    json["ReturnTempFixed"] = static_cast<int>(r.ReturnTempFixed);
    json["MassFlowFixed"] = static_cast<int>(r.MassFlowFixed);
    Json& heatingEntries = json["HeatingEntries"] = Json::array();
    for (const auto& e : r.HeatingEntries)
        heatingEntries.push_back(heatingEntryJson(e));
    Json& coolingEntries = json["CoolingEntries"] = Json::array();
    for (const auto& e : r.CoolingEntries)
        coolingEntries.push_back(coolingEntryJson(e));
    json["CalculationDone"] = r.CalculationDone;
    json["HeatingInUse"] = r.HeatingInUse;
    json["CoolingInUse"] = r.CoolingInUse;
    json["CoolingDualUse"] = r.CoolingDualUse;
    json["HeatingDualUse"] = r.HeatingDualUse;
    json["RoomCount"] = static_cast<int>(r.RoomCount);
    writeJson(out, json);
}

void writeProjectSummary(const ProjectRecord& r, std::ostream& out)
{
    out << "Project\n";
    writeLine(out, "Title", r.Title.text());
    writeLine(out, "Number", r.Number.text());
    writeLine(out, "Date", r.Date.text());
    for (std::size_t i = 0; i < r.DataLines.size(); ++i)
        if (!r.DataLines[i].empty())
            writeLine(out, "Data line " + std::to_string(i + 1), r.DataLines[i].text());
    // Remarks up to the last line with text, so blank lines between paragraphs stay visible.
    std::size_t remarkLines = r.RemarkLines.size();
    while (remarkLines > 0 && r.RemarkLines[remarkLines - 1].empty())
        --remarkLines;
    for (std::size_t i = 0; i < remarkLines; ++i)
        writeLine(out, i == 0 ? "Remarks" : "", r.RemarkLines[i].text());
    // The first empty attachment ends the list.
    for (std::size_t i = 0; i < r.Attachments.size() && !r.Attachments[i].empty(); ++i)
        writeLine(out, i == 0 ? "Attachments" : "", r.Attachments[i].text());

    out << "\nRoom\n";
    writeLine(out, "Room", r.RoomName.text());
    writeLine(out, "Heating demand", quantity(r.HeatingDemand, 1, "W"));
    writeLine(out, "Heating room temp", quantity(r.HeatingRoomTemp, 1, "°C"));
    writeLine(out, "Heating flow temp", quantity(r.HeatingFlowTemp, 1, "°C"));
    writeLine(out, "Heating air temp", quantity(r.HeatingSecondTemp, 1, "°C"));
    writeLine(out, "Cooling demand", quantity(r.CoolingDemand, 1, "W"));
    writeLine(out, "Cooling room temp", quantity(r.CoolingRoomTemp, 1, "°C"));
    writeLine(out, "Cooling flow temp", quantity(r.CoolingFlowTemp, 1, "°C"));
    writeLine(out, "Cooling air temp", quantity(r.CoolingSecondTemp, 1, "°C"));
    writeLine(out, "Cooling humidity", quantity(r.CoolingHumidity, 1, "%"));
    writeLine(out, "Lists in use", heatingAndCooling(r.HeatingInUse, r.CoolingInUse));
    writeLine(out, "Dual use chosen in", heatingAndCooling(r.HeatingDualUse, r.CoolingDualUse));

    writeEntryTable(out, "Heating entries", r.HeatingEntries, r.HeatingEntryCount);
    writeEntryTable(out, "Cooling entries", r.CoolingEntries, r.CoolingEntryCount);
}

// The technical data file lies beside the projects with a project's extension.
static bool startsAsTechnicalData(const std::string& file)
{
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    char start[256] = {};
    in.read(start, sizeof start);
    return isTechnicalDataImage(std::string_view(start, static_cast<std::size_t>(in.gcount())));
}

int runShow(Invocation& call)
{
    OptionParser options;
    options.flag("--json").flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa show: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Help;
        return ExitOk;
    }
    if (options.positionals().size() != 1) {
        call.err << Usage;
        return ExitUsage;
    }

    const std::string& file = options.positionals().front();
    if (startsAsTechnicalData(file)) {
        call.err << "tepa show: " << file << ": a technical data file, not a project file\n";
        return ExitBadInput;
    }
    const auto record = loadProjectFile(file);
    if (!record) {
        call.err << "tepa show: " << record.error() << '\n';
        return ExitBadInput;
    }
    if (options.has("--json"))
        writeProjectJson(*record, call.out);
    else
        writeProjectSummary(*record, call.out);
    return ExitOk;
}

} // namespace tepa::cli
