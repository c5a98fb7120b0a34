// Builds the technical data file of arbitrary project records.
//
// An input of at least a record's size is decoded as a project file, and the bytes after the
// record then set single fields to values a file cannot bring (non-finite doubles, counts out of
// range, length bytes above the maximum). A shorter input fills the record field by field. So
// every field the writer reads, doubles and text bytes alike, takes arbitrary values.
//
// Checked: the file is lines ended by CR LF with no other line break in them, and every value line
// is label, tab, value, tab, unit (a name holding a line break or a tab must not start a line or
// a field of its own for the reader); the head and the two sections appear as the flags say, with
// one type line per entry written; every value field is a number, or, only when the record holds
// a non-finite double, the text of that value.
#include "FuzzSupport.h"

#include "core/model/ProjectCodec.h"
#include "core/reports/TechnicalData.h"
#include "core/text/Encoding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tepa::fuzz::require;

struct Fields
{
    std::vector<double*> doubles;
    std::vector<std::int32_t*> integers;
    std::vector<bool*> flags;
    std::vector<std::span<std::uint8_t>> texts; // whole field images, length byte first
};

template <std::size_t N> std::span<std::uint8_t> image(tepa::FixedString<N>& s)
{
    return s.raw();
}

template <class Entry> void addEntryFields(Fields& f, Entry& e)
{
    f.texts.push_back(image(e.TypeName));
    for (double* d : {&e.Length, &e.Height, &e.FanSpeed, &e.MassFlow, &e.FanSetting, &e.ReturnTemp, &e.Output,
                      &e.PressureDrop, &e.SoundLevel})
        f.doubles.push_back(d);
    f.integers.push_back(&e.Count);
    f.flags.push_back(&e.InUse);
}

Fields fieldsOf(tepa::ProjectRecord& p)
{
    Fields f;
    f.texts.push_back(image(p.RoomName));
    for (double* d : {&p.HeatingDemand, &p.CoolingDemand, &p.HeatingRoomTemp, &p.CoolingRoomTemp,
                      &p.HeatingFlowTemp, &p.CoolingFlowTemp})
        f.doubles.push_back(d);
    f.integers.push_back(&p.HeatingEntryCount);
    f.integers.push_back(&p.CoolingEntryCount);
    f.flags.push_back(&p.HeatingInUse);
    f.flags.push_back(&p.CoolingInUse);
    for (auto& e : p.HeatingEntries) {
        addEntryFields(f, e);
        for (double* d : {&e.CoolingNominalOutput, &e.CoolingNominalSound, &e.CoolingNominalPressureDrop,
                          &e.CoolingNominalMassFlow})
            f.doubles.push_back(d);
    }
    for (auto& e : p.CoolingEntries) {
        addEntryFields(f, e);
        for (double* d : {&e.HeatingNominalOutput, &e.HeatingNominalSound, &e.HeatingNominalPressureDrop,
                          &e.HeatingNominalMassFlow})
            f.doubles.push_back(d);
    }
    return f;
}

// Any bit pattern: NaNs, infinities and subnormals included.
double anyDouble(FuzzedDataProvider& in)
{
    return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
}

void setText(FuzzedDataProvider& in, std::span<std::uint8_t> field)
{
    const auto bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, field.size()));
    std::copy(bytes.begin(), bytes.end(), field.begin());
}

void fillEveryField(FuzzedDataProvider& in, Fields& f)
{
    for (auto field : f.texts)
        setText(in, field);
    for (double* d : f.doubles)
        *d = anyDouble(in);
    for (std::int32_t* n : f.integers)
        *n = in.ConsumeIntegral<std::int32_t>();
    for (bool* b : f.flags)
        *b = in.ConsumeBool();
}

void changeSomeFields(FuzzedDataProvider& in, Fields& f)
{
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            *f.doubles[in.ConsumeIntegralInRange<std::size_t>(0, f.doubles.size() - 1)] = anyDouble(in);
            break;
        case 1:
            *f.integers[in.ConsumeIntegralInRange<std::size_t>(0, f.integers.size() - 1)] =
                in.ConsumeIntegral<std::int32_t>();
            break;
        case 2:
            *f.flags[in.ConsumeIntegralInRange<std::size_t>(0, f.flags.size() - 1)] = in.ConsumeBool();
            break;
        default:
            setText(in, f.texts[in.ConsumeIntegralInRange<std::size_t>(0, f.texts.size() - 1)]);
        }
    }
}

std::vector<std::string_view> splitAtCrLf(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string_view::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    require(start == bytes.size()); // the last line has its CR LF too
    return lines;
}

bool isNumber(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    if (text.starts_with('-'))
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return digits(whole) && (point == std::string_view::npos || digits(text.substr(point + 1)));
}

std::size_t entriesWritten(bool section, std::int32_t count)
{
    return section ? static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, tepa::MaxEntries)) : 0;
}

void checkFile(const tepa::ProjectRecord& p, bool allFinite)
{
    using namespace tepa;
    const std::string bytes = TechnicalDataBytes(p);
    const auto lines = splitAtCrLf(bytes);
    for (std::string_view line : lines)
        require(line.find_first_of("\r\n") == std::string_view::npos);

    require(lines.size() >= 7);
    require(lines[2] == "Technische Daten:   ");
    require(lines[5].starts_with("Raumbezeichnung:   "));
    const bool heating = p.HeatingInUse || p.HeatingEntries[0].InUse;
    const bool cooling = p.CoolingInUse || p.CoolingEntries[0].InUse;
    const std::string heatingHead = utf8ToCp1252("Auslegung für H E I Z U N G");
    const std::string coolingHead = utf8ToCp1252("Auslegung für K Ü H L U N G");
    require(heating == (lines.size() > 7 && lines[7] == heatingHead));
    require(cooling == (std::count(lines.begin(), lines.end(), coolingHead) == 1));

    std::size_t heatingTypes = 0, coolingTypes = 0;
    for (std::string_view line : lines) {
        const auto tabs = std::count(line.begin(), line.end(), '\t');
        if (line.starts_with("Raumbezeichnung:")) {
            require(tabs == 0);
            continue;
        }
        if (line.starts_with("Konvektor-Typ::\t") || line.starts_with("Konvektor-Typ:\t")) {
            ++(line[14] == ':' ? heatingTypes : coolingTypes);
            require(tabs == 2);
            continue;
        }
        // Label TAB value TAB unit.
        const std::size_t first = line.find('\t');
        if (first == std::string_view::npos)
            continue;
        const std::size_t second = line.find('\t', first + 1);
        require(second != std::string_view::npos && line.find('\t', second + 1) == std::string_view::npos);
        const std::string_view value = line.substr(first + 1, second - first - 1);
        if (!isNumber(value)) {
            require(!allFinite);
            const std::string_view shown = value.substr(std::min(value.find_first_not_of(' '), value.size()));
            require(shown == "Nan" || shown == "+Inf" || shown == "-Inf");
        }
    }
    require(heatingTypes == entriesWritten(heating, p.HeatingEntryCount));
    require(coolingTypes == entriesWritten(cooling, p.CoolingEntryCount));
}

// Where the file goes stays beside the project file, whatever its name.
void checkFileName(std::string_view name)
{
    const std::filesystem::path project(name);
    const std::filesystem::path file = tepa::technicalDataFileFor(project);
    require(file.parent_path() == project.parent_path());
    require(file.filename().string().starts_with("techdaten"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    ProjectRecord project;
    std::size_t used = 0;
    if (size >= ProjectRecordSize) {
        auto decoded = ProjectCodec::decode(std::as_bytes(std::span(data, ProjectRecordSize)));
        require(decoded.ok());
        project = *decoded;
        used = ProjectRecordSize;
    }
    Fields fields = fieldsOf(project);
    FuzzedDataProvider in(data + used, size - used);
    if (used == 0)
        fillEveryField(in, fields);
    else
        changeSomeFields(in, fields);

    const bool allFinite = std::all_of(fields.doubles.begin(), fields.doubles.end(),
                                       [](const double* d) { return std::isfinite(*d); });
    checkFile(project, allFinite);
    checkFileName(std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64)));
    return 0;
}
