#include "cli/Command.h"
#include "cli/Json.h"
#include "core/model/AtomicFile.h"
#include "core/model/ProjectFile.h"
#include "core/model/ProjectReset.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage = "usage: tepa summary FILE... | DIR [--csv | --json | --pdf OUT.pdf]\n";
constexpr std::string_view Help =
    "usage: tepa summary FILE... | DIR [--csv | --json | --pdf OUT.pdf]\n"
    "\n"
    "Summarises a building whose rooms are project files: one line per file with the room,\n"
    "its heating and cooling demand, the output installed, the residual demand (demand less\n"
    "installed output; negative when the room has more than it needs), the units and the\n"
    "warnings of its entries; then the building's bill of convectors, the convector list of\n"
    "every room with equal type, height and length summed over the rooms.\n"
    "A folder stands for its *.kon files, in name order. A file that is not a project is\n"
    "listed with its reason (also on stderr) and the summary goes on.\n"
    "\n"
    "  --csv    the rooms as CSV, then an empty line and the bill of convectors as CSV\n"
    "  --json   one JSON object: \"rooms\" and \"convectors\"\n"
    "  --pdf OUT.pdf  the same as a printout (A4) in the PDF file OUT.pdf, which must be\n"
    "                 neither one of the files summarised nor a project file\n"
    "  --help   this text\n";

// A pressure drop above this is hard to balance in the water circuit [Pa].
constexpr double HighPressureDropPa = 100000;

struct Room
{
    std::string file;
    std::string error; // the reason the file is no project
    std::string name;
    double demand[2] = {0, 0};    // heating, cooling [W]
    double installed[2] = {0, 0}; // [W]
    long long units = 0;
    std::vector<std::string> warnings;
};

struct BillLine
{
    std::string key; // as the convector list writes it
    long long count = 0;
};

// The convector list line's key and count: the count is the last word.
BillLine splitListLine(const std::string& line)
{
    const auto end = line.find_last_not_of(' ');
    const auto blank = line.find_last_of(' ', end);
    BillLine result;
    result.key = line.substr(0, line.find_last_not_of(' ', blank) + 1);
    std::from_chars(line.data() + blank + 1, line.data() + end + 1, result.count);
    return result;
}

template <class Entries>
void addEntries(Room& room, int mode, const Entries& entries, std::int32_t count)
{
    const auto last = static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(entries.size())));
    const char* const modeName = mode == 0 ? "heating" : "cooling";
    for (std::size_t k = 0; k < last; ++k) {
        const auto& entry = entries[k];
        if (entry.TypeName.empty())
            continue;
        room.installed[mode] += entry.Count * entry.Output;
        const std::string which = std::string(modeName) + " entry " + std::to_string(k + 1) + " (" + entry.TypeName.text() + ")";
        if (!std::isfinite(entry.Output) || entry.Output <= 0)
            room.warnings.push_back(which + ": no output");
        if (entry.PressureDrop > HighPressureDropPa)
            room.warnings.push_back(which + ": pressure drop above 100 kPa");
    }
}

Room summarise(const std::filesystem::path& file, std::map<std::string, long long>& bill)
{
    Room room;
    room.file = file.string();
    const auto project = loadProjectFile(file);
    if (!project) {
        room.error = project.error();
        return room;
    }
    room.name = project->RoomName.text();
    room.demand[0] = project->HeatingDemand;
    room.demand[1] = project->CoolingDemand;
    addEntries(room, 0, project->HeatingEntries, project->HeatingEntryCount);
    addEntries(room, 1, project->CoolingEntries, project->CoolingEntryCount);
    // The room's own list (dual use counted once); the building sums the rooms.
    for (const std::string& line : convectorListLines(BuildConvectorList(*project))) {
        const BillLine entry = splitListLine(line);
        room.units += entry.count;
        bill[entry.key] += entry.count;
    }
    for (int mode : {0, 1})
        if (room.demand[mode] - room.installed[mode] > 0.5 && room.installed[mode] > 0)
            room.warnings.push_back(std::string(mode == 0 ? "heating" : "cooling") + " demand not covered");
    return room;
}

// The files a command line names: files as given, folders by their *.kon files in name order.
std::optional<std::string> collectFiles(const std::vector<std::string>& args, std::vector<std::filesystem::path>& files)
{
    for (const std::string& arg : args) {
        std::error_code ec;
        if (!std::filesystem::is_directory(arg, ec)) {
            files.emplace_back(arg);
            continue;
        }
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(arg, ec)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (extension == ".kon" && entry.is_regular_file(ec))
                found.push_back(entry.path());
        }
        if (ec)
            return arg + ": " + ec.message();
        std::sort(found.begin(), found.end());
        if (found.empty())
            return arg + ": the folder holds no *.kon file";
        files.insert(files.end(), found.begin(), found.end());
    }
    return std::nullopt;
}

std::string number(double x)
{
    return strFixed(x, 0, 0);
}

std::string csvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string joinedWarnings(const Room& room)
{
    std::string text;
    for (const auto& warning : room.warnings)
        text += (text.empty() ? "" : "; ") + warning;
    return text;
}

// A bill line's parts: the key is "   TYPE / HEIGHT / LENGTH".
struct BillParts
{
    std::string type, height, length;
};
BillParts billParts(const std::string& key)
{
    BillParts parts;
    // From the right: a damaged type name may hold the separator itself.
    const auto second = key.rfind(" / ");
    const auto first = second == std::string::npos || second == 0 ? std::string::npos : key.rfind(" / ", second - 1);
    auto trim = [](std::string text) {
        const auto begin = text.find_first_not_of(' ');
        return begin == std::string::npos ? std::string() : text.substr(begin, text.find_last_not_of(' ') - begin + 1);
    };
    parts.type = trim(key.substr(0, first));
    if (first != std::string::npos) {
        parts.height = trim(key.substr(first + 3, second - first - 3));
        parts.length = trim(key.substr(second + 3));
    }
    return parts;
}

// A height or length of the list key as a number; a key cut short by a huge number keeps its text.
Json wholeNumber(const std::string& text)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return text;
    return value;
}

void writeText(std::ostream& out, const std::vector<Room>& rooms, const std::vector<BillLine>& bill)
{
    for (const Room& room : rooms) {
        out << room.file << '\n';
        if (!room.error.empty()) {
            out << "  not a project: " << room.error << "\n";
            continue;
        }
        out << "  Room              " << room.name << '\n';
        const char* const labels[] = {"Heating", "Cooling"};
        for (int mode : {0, 1})
            out << "  " << labels[mode] << "  demand " << strFixed(room.demand[mode], 7, 0) << " W, installed "
                << strFixed(room.installed[mode], 7, 0) << " W, residual "
                << strFixed(room.demand[mode] - room.installed[mode], 7, 0) << " W\n";
        out << "  Units             " << room.units << '\n';
        for (const auto& warning : room.warnings)
            out << "  Warning: " << warning << '\n';
    }
    out << "\nConvectors of the building\n";
    for (const BillLine& line : bill) {
        std::string text = line.key + ' ';
        text.append(text.size() < 35 ? 35 - text.size() : 0, ' ');
        out << text << line.count << '\n';
    }
}

void writeCsv(std::ostream& out, const std::vector<Room>& rooms, const std::vector<BillLine>& bill)
{
    out << "file,room,heatingDemand,coolingDemand,heatingInstalled,coolingInstalled,heatingResidual,"
           "coolingResidual,units,warnings,error\n";
    for (const Room& room : rooms) {
        out << csvCell(room.file) << ',';
        if (!room.error.empty()) {
            out << ",,,,,,,,," << csvCell(room.error) << '\n';
            continue;
        }
        out << csvCell(room.name) << ',' << number(room.demand[0]) << ',' << number(room.demand[1]) << ','
            << number(room.installed[0]) << ',' << number(room.installed[1]) << ','
            << number(room.demand[0] - room.installed[0]) << ',' << number(room.demand[1] - room.installed[1])
            << ',' << room.units << ',' << csvCell(joinedWarnings(room)) << ",\n";
    }
    out << "\ntype,height,length,count\n";
    for (const BillLine& line : bill) {
        const BillParts parts = billParts(line.key);
        out << csvCell(parts.type) << ',' << parts.height << ',' << parts.length << ',' << line.count << '\n';
    }
}

void writeJsonSummary(std::ostream& out, const std::vector<Room>& rooms, const std::vector<BillLine>& bill)
{
    Json document;
    Json& roomList = document["rooms"] = Json::array();
    for (const Room& room : rooms) {
        Json item;
        item["file"] = room.file;
        if (!room.error.empty()) {
            item["error"] = room.error;
        } else {
            item["room"] = room.name;
            item["heatingDemand"] = room.demand[0];
            item["coolingDemand"] = room.demand[1];
            item["heatingInstalled"] = room.installed[0];
            item["coolingInstalled"] = room.installed[1];
            item["heatingResidual"] = room.demand[0] - room.installed[0];
            item["coolingResidual"] = room.demand[1] - room.installed[1];
            item["units"] = room.units;
            item["warnings"] = room.warnings;
        }
        roomList.push_back(item);
    }
    Json& convectors = document["convectors"] = Json::array();
    for (const BillLine& line : bill) {
        const BillParts parts = billParts(line.key);
        convectors.push_back(Json{{"type", parts.type},
                                  {"height", wholeNumber(parts.height)},
                                  {"length", wholeNumber(parts.length)},
                                  {"count", line.count}});
    }
    writeJson(out, document);
}

SummaryPrintout printout(const std::vector<Room>& rooms, const std::vector<BillLine>& bill)
{
    SummaryPrintout result;
    result.Today = todayShortDate();
    for (const Room& room : rooms) {
        SummaryPrintRoom line;
        line.File = std::filesystem::path(room.file).filename().string();
        line.Error = room.error;
        line.Room = room.name;
        for (int mode : {0, 1}) {
            line.Figures[3 * mode] = number(room.demand[mode]);
            line.Figures[3 * mode + 1] = number(room.installed[mode]);
            line.Figures[3 * mode + 2] = number(room.demand[mode] - room.installed[mode]);
        }
        line.Figures[6] = std::to_string(room.units);
        line.Warnings = room.warnings;
        result.Rooms.push_back(std::move(line));
    }
    for (const BillLine& line : bill) {
        const BillParts parts = billParts(line.key);
        result.Convectors.push_back({parts.type, parts.height, parts.length, std::to_string(line.count)});
    }
    return result;
}

} // namespace

int runSummary(Invocation& call)
{
    OptionParser options;
    options.flag("--csv").flag("--json").value("--pdf");
    if (!options.parse(call.args)) {
        call.err << "tepa summary: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Help;
        return ExitOk;
    }
    const auto pdf = options.get("--pdf");
    if (options.positionals().empty() || options.has("--csv") + options.has("--json") + pdf.has_value() > 1) {
        call.err << Usage;
        return ExitUsage;
    }
    // Drawing the PDF needs Qt, which only the print program loads: it runs this same command.
    if (pdf && (call.context == nullptr || call.context->writePdf == nullptr)) {
        if (call.context != nullptr && !call.context->printProgram.empty())
            return runPrintProgram(call.context->printProgram, "summary", call);
        call.err << "tepa summary: printing is not part of this build\n";
        return ExitUsage;
    }
    std::vector<std::filesystem::path> files;
    if (auto problem = collectFiles(options.positionals(), files)) {
        call.err << "tepa summary: " << *problem << '\n';
        return ExitBadInput;
    }
    if (pdf)
        for (const auto& file : files)
            if (Status allowed = refuseOverwritingInput(*pdf, file); !allowed) {
                call.err << "tepa summary: " << allowed.error() << '\n';
                return ExitBadInput;
            }

    std::map<std::string, long long> counts;
    std::vector<Room> rooms;
    for (const auto& file : files)
        rooms.push_back(summarise(file, counts));
    // Descending key order, as every convector list.
    std::vector<BillLine> bill;
    for (auto it = counts.rbegin(); it != counts.rend(); ++it)
        bill.push_back({it->first, it->second});

    if (pdf) {
        const SummaryPrintout sheets = printout(rooms, bill);
        const auto layout = [&sheets](PrintSurface& surface) { return printBuildingSummary(surface, sheets); };
        if (Status written = call.context->writePdf(*pdf, "Building summary", layout); !written) {
            call.err << "tepa summary: " << written.error() << '\n';
            return ExitBadInput;
        }
    } else if (options.has("--json"))
        writeJsonSummary(call.out, rooms, bill);
    else if (options.has("--csv"))
        writeCsv(call.out, rooms, bill);
    else
        writeText(call.out, rooms, bill);
    for (const Room& room : rooms)
        if (!room.error.empty())
            call.err << "tepa summary: " << room.file << ": " << room.error << '\n';
    return ExitOk;
}

} // namespace tepa::cli
