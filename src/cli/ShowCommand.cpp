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

template <class Entry> void writeCommonEntryFields(JsonWriter& json, const Entry& e)
{
    json.field("TypeName", e.TypeName.text());
    json.field("Length", e.Length);
    json.field("Height", e.Height);
    json.field("HeightFactor", e.HeightFactor);
    json.field("EffectiveLength", e.EffectiveLength);
    json.field("FanSpeed", e.FanSpeed);
    json.field("MassFlow", e.MassFlow);
    json.field("FanSetting", e.FanSetting);
    json.field("Count", static_cast<int>(e.Count));
    json.field("TypeText1", e.TypeText1.text());
    json.field("TypeText2", e.TypeText2.text());
    json.field("CoeffK", e.CoeffK);
    json.field("ExponentN", e.ExponentN);
    json.field("ReturnTemp", e.ReturnTemp);
    json.field("Output", e.Output);
}

void writeHeatingEntry(JsonWriter& json, const HeatingEntry& e)
{
    json.beginObject();
    writeCommonEntryFields(json, e);
    json.field("FreeConvection", e.FreeConvection);
    json.field("PressureDrop", e.PressureDrop);
    json.field("SoundLevel", e.SoundLevel);
    json.field("ReturnTempEnd", e.ReturnTempEnd);
    json.field("ReturnTempStart", e.ReturnTempStart);
    json.field("MassFlowEnd", e.MassFlowEnd);
    json.field("MassFlowStart", e.MassFlowStart);
    json.field("OutputEnd", e.OutputEnd);
    json.field("OutputStart", e.OutputStart);
    json.field("CoolingNominalOutput", e.CoolingNominalOutput);
    json.field("CoolingNominalSound", e.CoolingNominalSound);
    json.field("CoolingNominalPressureDrop", e.CoolingNominalPressureDrop);
    json.field("CoolingNominalMassFlow", e.CoolingNominalMassFlow);
    json.field("FreeConvectionB", e.FreeConvectionB);
    json.field("InUse", e.InUse);
    json.endObject();
}

void writeCoolingEntry(JsonWriter& json, const CoolingEntry& e)
{
    json.beginObject();
    writeCommonEntryFields(json, e);
    json.field("PressureDrop", e.PressureDrop);
    json.field("SoundLevel", e.SoundLevel);
    json.field("HeatingNominalOutput", e.HeatingNominalOutput);
    json.field("HeatingNominalSound", e.HeatingNominalSound);
    json.field("HeatingNominalPressureDrop", e.HeatingNominalPressureDrop);
    json.field("HeatingNominalMassFlow", e.HeatingNominalMassFlow);
    json.field("InUse", e.InUse);
    json.endObject();
}

template <class Strings> void writeTextArray(JsonWriter& json, std::string_view name, const Strings& strings)
{
    json.key(name).beginArray();
    for (const auto& s : strings)
        json.value(s.text());
    json.endArray();
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
    JsonWriter json(out);
    json.beginObject();
    json.field("Title", r.Title.text());
    json.field("Number", r.Number.text());
    json.field("Date", r.Date.text());
    writeTextArray(json, "RemarkLines", r.RemarkLines);
    writeTextArray(json, "DataLines", r.DataLines);
    writeTextArray(json, "Attachments", r.Attachments);
    json.field("RoomName", r.RoomName.text());
    json.field("HeatingDemand", r.HeatingDemand);
    json.field("CoolingDemand", r.CoolingDemand);
    json.field("HeatingRoomTemp", r.HeatingRoomTemp);
    json.field("CoolingRoomTemp", r.CoolingRoomTemp);
    json.field("HeatingFlowTemp", r.HeatingFlowTemp);
    json.field("CoolingFlowTemp", r.CoolingFlowTemp);
    json.field("HeatingSecondTemp", r.HeatingSecondTemp);
    json.field("CoolingSecondTemp", r.CoolingSecondTemp);
    json.field("CoolingHumidity", r.CoolingHumidity);
    json.field("HeatingEntryCount", static_cast<int>(r.HeatingEntryCount));
    json.field("CoolingEntryCount", static_cast<int>(r.CoolingEntryCount));
    json.field("ReturnTempFixed", static_cast<int>(r.ReturnTempFixed));
    json.field("MassFlowFixed", static_cast<int>(r.MassFlowFixed));
    json.key("HeatingEntries").beginArray();
    for (const auto& e : r.HeatingEntries)
        writeHeatingEntry(json, e);
    json.endArray();
    json.key("CoolingEntries").beginArray();
    for (const auto& e : r.CoolingEntries)
        writeCoolingEntry(json, e);
    json.endArray();
    json.field("CalculationDone", r.CalculationDone);
    json.field("HeatingInUse", r.HeatingInUse);
    json.field("CoolingInUse", r.CoolingInUse);
    json.field("CoolingDualUse", r.CoolingDualUse);
    json.field("HeatingDualUse", r.HeatingDualUse);
    json.field("RoomCount", static_cast<int>(r.RoomCount));
    json.endObject();
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
