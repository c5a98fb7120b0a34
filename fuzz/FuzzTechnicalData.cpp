// Project files and technical data files of arbitrary records. An input of a record's size or more
// is decoded as a project file, which must be safe, encode stably and print; the bytes after it
// (or all of a shorter input) set single fields to any value before the technical data file is
// written: CR LF lines, label TAB value TAB unit, sections and type lines as flags and counts say.
#include "FuzzSupport.h"

#include "cli/ShowCommand.h"
#include "core/model/ProjectCodec.h"
#include "core/reports/TechnicalData.h"

#include <bit>
#include <cmath>
#include <fuzzer/FuzzedDataProvider.h>
#include <regex>
#include <span>
#include <sstream>
#include <vector>

namespace {

using namespace tepa;
using fuzz::require;

// The fields the writer reads.
struct Fields
{
    std::vector<double*> doubles;
    std::vector<std::int32_t*> integers;
    std::vector<bool*> flags;
    std::vector<std::span<std::uint8_t>> texts; // whole field images, length byte first
};

Fields fieldsOf(ProjectRecord& p)
{
    Fields f{{&p.HeatingDemand, &p.CoolingDemand, &p.HeatingRoomTemp, &p.CoolingRoomTemp, &p.HeatingFlowTemp,
              &p.CoolingFlowTemp},
             {&p.HeatingEntryCount, &p.CoolingEntryCount},
             {&p.HeatingInUse, &p.CoolingInUse},
             {p.RoomName.raw()}};
    const auto addEntry = [&f](auto& e, std::initializer_list<double*> nominal) {
        f.texts.push_back(e.TypeName.raw());
        f.doubles.insert(f.doubles.end(), nominal);
        f.doubles.insert(f.doubles.end(), {&e.Length, &e.Height, &e.FanSpeed, &e.MassFlow, &e.FanSetting,
                                           &e.ReturnTemp, &e.Output, &e.PressureDrop, &e.SoundLevel});
        f.integers.push_back(&e.Count);
        f.flags.push_back(&e.InUse);
    };
    for (auto& e : p.HeatingEntries)
        addEntry(e, {&e.CoolingNominalOutput, &e.CoolingNominalSound, &e.CoolingNominalPressureDrop,
                     &e.CoolingNominalMassFlow});
    for (auto& e : p.CoolingEntries)
        addEntry(e, {&e.HeatingNominalOutput, &e.HeatingNominalSound, &e.HeatingNominalPressureDrop,
                     &e.HeatingNominalMassFlow});
    return f;
}

template <class T> T& anyOf(FuzzedDataProvider& in, std::vector<T>& items)
{
    return items[in.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)];
}

void changeFields(FuzzedDataProvider& in, Fields& f)
{
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: // any bit pattern: NaNs, infinities and subnormals included
            *anyOf(in, f.doubles) = std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
            break;
        case 1:
            *anyOf(in, f.integers) = in.ConsumeIntegral<std::int32_t>();
            break;
        case 2:
            *anyOf(in, f.flags) = in.ConsumeBool();
            break;
        default: {
            const std::span<std::uint8_t> text = anyOf(in, f.texts);
            const auto bytes =
                in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, text.size()));
            std::copy(bytes.begin(), bytes.end(), text.begin());
        }
        }
    }
}

void checkFile(const ProjectRecord& p, bool allFinite)
{
    const std::string bytes = TechnicalDataBytes(p);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(std::string_view(bytes).substr(start, end - start));
    require(start == bytes.size()); // the last line has its CR LF too
    require(lines.size() >= 7 && lines[2] == "Technische Daten:   " &&
            lines[5].starts_with("Raumbezeichnung:   "));
    const bool heating = p.HeatingInUse || p.HeatingEntries[0].InUse;
    const bool cooling = p.CoolingInUse || p.CoolingEntries[0].InUse;
    require(heating == (lines.size() > 7 && lines[7] == utf8ToCp1252("Auslegung für H E I Z U N G")));
    require(cooling ==
            (std::count(lines.begin(), lines.end(), utf8ToCp1252("Auslegung für K Ü H L U N G")) == 1));

    std::size_t typeLines[2] = {0, 0}; // heating, cooling
    for (std::string_view line : lines) {
        require(line.find_first_of("\r\n") == std::string_view::npos);
        const auto tabs = std::count(line.begin(), line.end(), '\t');
        if (line.starts_with("Raumbezeichnung:")) {
            require(tabs == 0);
        } else if (line.starts_with("Konvektor-Typ::\t") || line.starts_with("Konvektor-Typ:\t")) {
            ++typeLines[line[14] == ':' ? 0 : 1];
            require(tabs == 2);
        } else if (tabs > 0) { // label TAB value TAB unit
            require(tabs == 2);
            const std::size_t first = line.find('\t'), second = line.find('\t', first + 1);
            // A number, right-aligned with spaces: digits, perhaps a sign and a decimal point.
            static const std::regex number(" *-?[0-9]+(\\.[0-9]+)?"), nonFinite(" *(Nan|\\+Inf|-Inf)");
            const std::string value(line.substr(first + 1, second - first - 1));
            require(std::regex_match(value, number) || (!allFinite && std::regex_match(value, nonFinite)));
        }
    }
    const auto written = [](bool section, std::int32_t count) {
        return section ? static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, MaxEntries)) : 0;
    };
    require(typeLines[0] == written(heating, p.HeatingEntryCount));
    require(typeLines[1] == written(cooling, p.CoolingEntryCount));
}

// A decoded record is safe, and its image is stable.
void checkDecoded(const ProjectRecord& r)
{
    for (const auto& [count, firstInUse] : {std::pair{r.HeatingEntryCount, r.HeatingEntries[0].InUse},
                                            std::pair{r.CoolingEntryCount, r.CoolingEntries[0].InUse}})
        require((count >= 1 || (count == 0 && !firstInUse)) && count <= 12);
    require(r.RoomCount == 1 && std::isfinite(r.HeatingDemand) && r.Title.raw()[0] <= 50);
    for (const auto& e : r.HeatingEntries)
        require(std::isfinite(e.Output) && std::isfinite(e.CoeffK) && std::isfinite(e.OutputStart) &&
                e.TypeText1.raw()[0] <= 80);
    const auto image = ProjectCodec::encode(r);
    const auto again = ProjectCodec::decode(image);
    require(image.size() == ProjectRecordSize && again.ok() && ProjectCodec::encode(*again) == image);
    std::ostringstream out;
    cli::writeProjectJson(r, out);
    cli::writeProjectSummary(r, out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProjectRecord project;
    const std::size_t used = size >= ProjectRecordSize ? ProjectRecordSize : 0;
    if (used > 0) {
        auto decoded = ProjectCodec::decode(std::as_bytes(std::span(data, size)));
        require(decoded.ok());
        checkDecoded(*decoded);
        project = *decoded;
    }
    Fields fields = fieldsOf(project);
    FuzzedDataProvider in(data + used, size - used);
    changeFields(in, fields);
    checkFile(project, std::all_of(fields.doubles.begin(), fields.doubles.end(),
                                   [](const double* d) { return std::isfinite(*d); }));

    // Where the file goes stays beside the project file, whatever its name.
    const std::filesystem::path name(fuzz::bytesOf(data, std::min<std::size_t>(size, 64)));
    const std::filesystem::path file = technicalDataFileFor(name);
    require(file.parent_path() == name.parent_path() && file.filename().string().starts_with("techdaten"));
    return 0;
}
