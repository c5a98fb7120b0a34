#include "core/productdata/ProductData.h"

#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tepa {
namespace {

bool contains(std::string_view text, std::string_view code)
{
    return text.find(code) != std::string_view::npos;
}

// Code of the character at 1-based `position`, or nothing past the end. Characters outside ASCII
// have codes of 128 and above in the file's code page, so their first UTF-8 byte stands in for
// them in every comparison below.
std::optional<unsigned char> codeAt(std::string_view text, std::size_t position)
{
    const std::string_view c = utf8Mid(text, position, 1);
    if (c.empty())
        return std::nullopt;
    return static_cast<unsigned char>(c.front());
}

// The digits 1 to 9 and the seven characters after them: the size digit of a series name.
bool isSizeCode(std::optional<unsigned char> code)
{
    return code && *code >= 49 && *code <= 64;
}

std::string cutText(std::string_view line)
{
    return std::string(utf8Left(line, TypeTable::MaxTextLength));
}

Result<std::vector<std::string>> readTypeFile(const std::filesystem::path& dir, bool forced)
{
    return readTextLines(dir / (forced ? ForcedTypeFileName : FreeTypeFileName));
}

std::vector<std::string> namesOf(const std::vector<std::string>& lines, std::size_t typeCount)
{
    return {lines.begin() + 1, lines.begin() + 1 + static_cast<std::ptrdiff_t>(typeCount)};
}

// A fixed-column field that every rating of a type reads.
struct RequiredField
{
    const char* name;
    std::size_t column, width;
};
// clang-format off
constexpr RequiredField RequiredDataFields[] = {
    {"Km", 1, 6}, {"nD", 8, 6}, {"tube diameter", 15, 4}, {"tube runs", 23, 3},
};
constexpr RequiredField RequiredFanFields[] = {{"c1", 1, 10}, {"c2", 12, 10}, {"nF", 23, 10}};
// clang-format on

bool isNumberCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-' || c == ' ';
}

// The decimal reading takes an overflowing exponent as the largest double; no product value
// comes near it.
bool inNumberRange(double value)
{
    return std::isfinite(value) && std::abs(value) < std::numeric_limits<double>::max();
}

// The decimal reading turns anything into a number ("nan" and "xyz" read as 0), so a damaged
// field would be rated 0 W without a word. A field is refused when it holds no digit, a
// character that no number has, or a value beyond the range of numbers.
bool readableNumber(std::string_view field)
{
    if (!std::all_of(field.begin(), field.end(), isNumberCharacter) ||
        std::none_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return inNumberRange(decimalValue(field));
}

std::string fieldProblem(std::string_view line, const RequiredField& field, std::string_view what)
{
    const std::string_view text = utf8Mid(line, field.column, field.width);
    if (readableNumber(text))
        return {};
    return std::string(what) + ": " + field.name + " (columns " + std::to_string(field.column) + "-" +
           std::to_string(field.column + field.width - 1) + ") is not a number: \"" + std::string(text) + "\"";
}

// Problems of the lines of one type; the first problem and the 0-based line it is on.
struct LineProblem
{
    std::size_t index = 0;
    std::string message;
};
std::optional<LineProblem> typeProblem(const TypeRecord& type, const TypeLineNumbers& at, bool forced)
{
    for (const std::string& length : lengthFields(type.lengthLine)) {
        const bool blank = length.find_first_not_of(' ') == std::string::npos;
        if (!blank && (!readableNumber(length) || decimalValue(length) <= 0))
            return LineProblem{at.length, "length line of \"" + type.name + "\": \"" + length +
                                              "\" is not a length in mm"};
    }
    for (const RequiredField& field : RequiredDataFields)
        if (auto problem = fieldProblem(type.dataLine, field, "data line of \"" + type.name + "\"");
            !problem.empty())
            return LineProblem{at.data, problem};
    if (forced)
        for (const RequiredField& field : RequiredFanFields)
            if (auto problem = fieldProblem(type.fanLine, field, "fan line of \"" + type.name + "\"");
                !problem.empty())
                return LineProblem{at.fan, problem};
    return std::nullopt;
}

std::string problemText(bool forced, const LineProblem& problem)
{
    return std::string(forced ? ForcedTypeFileName : FreeTypeFileName) + ":" + std::to_string(problem.index + 1) +
           ": " + problem.message;
}

Result<TypeLoad> selectTypes(const std::vector<std::string>& lines,
                             const TypeSelection& selection,
                             TypeTable& table,
                             bool forced)
{
    const auto typeCount = countTypeNames(lines);
    if (!typeCount)
        return Error{typeCount.error()};
    const std::size_t n = *typeCount;
    const auto names = namesOf(lines, n);
    const auto taken = forced ? matchingForcedTypes(names, selection) : matchingFreeTypes(names, selection);

    // The table has room for Size / blocks types; a list with more would overrun it. The later
    // matches are left out and the caller tells the user so.
    const std::size_t capacity = forced ? MaxForcedTypesPerLoad : MaxFreeTypesPerLoad;
    const std::size_t c = std::min(taken.size(), capacity);

    TypeLoad load;
    load.matchedCount = taken.size();
    load.cut = taken.size() > capacity;

    // Filled in a copy, so a line missing halfway leaves the table as the user last saw it.
    TypeTable filled = table;
    auto lineAt = [&lines](std::size_t index) -> Result<std::string> {
        if (index >= lines.size())
            return Error{listIndexMessage(index)};
        return cutText(lines[index]);
    };
    for (std::size_t i = 1; i <= c; ++i) {
        const TypeLineNumbers at = typeLineNumbers(n, taken[i - 1], forced);
        auto& nameEntry = filled.at(i);
        nameEntry.Text = cutText(lines[at.name]);
        nameEntry.TypeCount = static_cast<std::int32_t>(c);
        load.names.push_back(nameEntry.Text);

        std::vector<std::size_t> blocks = {at.length, at.data};
        if (forced)
            blocks.push_back(at.fan);
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            auto text = lineAt(blocks[b]);
            if (!text)
                return Error{text.error()};
            filled.at((b + 1) * c + i).Text = std::move(text).value();
        }
        const TypeRecord type{lines[at.name], lines[at.length], lines[at.data], forced ? lines[at.fan] : ""};
        if (const auto problem = typeProblem(type, at, forced))
            return Error{problemText(forced, *problem)};
    }
    filled.FileTypeCount = static_cast<std::int32_t>(n);
    table = filled;
    return load;
}

} // namespace

std::string listIndexMessage(std::size_t index)
{
    return "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")";
}

Result<std::size_t> countTypeNames(const std::vector<std::string>& lines)
{
    std::size_t i = 1;
    for (;; ++i) {
        if (i >= lines.size())
            return Error{listIndexMessage(i)};
        if (!contains(lines[i], "W"))
            break;
    }
    return i - 1;
}

TypeLineNumbers typeLineNumbers(std::size_t typeCount, std::size_t j, bool forced)
{
    const std::size_t n = typeCount;
    // The free file has a separator line after the names and after the lengths; in the forced
    // file the first length line itself ends the name block.
    if (forced)
        return {j, n + j, 2 * n + j, 3 * n + j};
    return {j, n + 1 + j, 2 * n + 2 + j, 0};
}

bool coolingSeries(std::string_view typeName)
{
    // Only these series have a cooling rating.
    return series::canCool(series::seriesOf(typeName));
}

std::vector<std::size_t> matchingFreeTypes(const std::vector<std::string>& names,
                                           const TypeSelection& selection)
{
    std::vector<std::size_t> taken;
    const std::string& filter = selection.ChosenTypeRow;
    for (std::size_t j = 1; j <= names.size(); ++j) {
        const std::string& name = names[j - 1];
        if (!selection.FreeTypeChosen) {
            taken.push_back(j);
            continue;
        }
        if (name == filter)
            taken.push_back(j);
        // A one-letter filter stands for the whole family: names whose second character is a
        // size digit, blank or punctuation. A one-character name has no second character.
        const auto second = codeAt(name, 2);
        if (utf8Length(filter) < 2 && second && *second < 'A')
            taken.push_back(j);
    }
    return taken;
}

std::vector<std::size_t> matchingForcedTypes(const std::vector<std::string>& names,
                                             const TypeSelection& selection)
{
    std::vector<std::size_t> taken;
    const std::string& filter = selection.ChosenTypeRow;
    const std::size_t filterLength = utf8Length(filter);
    for (std::size_t j = 1; j <= names.size(); ++j) {
        const std::string& name = names[j - 1];
        if (!selection.ForcedTypeChosen) {
            if (selection.HeatingMode || coolingSeries(name))
                taken.push_back(j);
            continue;
        }
        const std::size_t nameLength = utf8Length(name);
        if (name == filter)
            taken.push_back(j);
        if (filter == "WFWL" && nameLength == 7)
            taken.push_back(j);
        if (filter == "WFW" && nameLength == 6)
            taken.push_back(j);
        // A bare series filter lists every size of the series: the size digit follows the code.
        if (series::isPrimaryAir(filter)) {
            if (filterLength < 4 && isSizeCode(codeAt(name, 4)))
                taken.push_back(j);
        } else if (filterLength < 3 && isSizeCode(codeAt(name, 3))) {
            taken.push_back(j);
        }
    }
    return taken;
}

Result<TypeLoad>
selectFreeTypes(const std::vector<std::string>& lines, const TypeSelection& selection, TypeTable& table)
{
    return selectTypes(lines, selection, table, false);
}

Result<TypeLoad>
selectForcedTypes(const std::vector<std::string>& lines, const TypeSelection& selection, TypeTable& table)
{
    return selectTypes(lines, selection, table, true);
}

Result<TypeLoad>
loadFreeTypes(const std::filesystem::path& dir, const TypeSelection& selection, TypeTable& table)
{
    const auto lines = readTypeFile(dir, false);
    if (!lines)
        return Error{lines.error()};
    return selectFreeTypes(*lines, selection, table);
}

Result<TypeLoad>
loadForcedTypes(const std::filesystem::path& dir, const TypeSelection& selection, TypeTable& table)
{
    const auto lines = readTypeFile(dir, true);
    if (!lines)
        return Error{lines.error()};
    return selectForcedTypes(*lines, selection, table);
}

Result<std::vector<TypeRecord>> typesFromLines(const std::vector<std::string>& lines, bool forced)
{
    const auto typeCount = countTypeNames(lines);
    if (!typeCount)
        return Error{typeCount.error()};
    std::vector<TypeRecord> records;
    for (std::size_t j = 1; j <= *typeCount; ++j) {
        const TypeLineNumbers at = typeLineNumbers(*typeCount, j, forced);
        std::vector<std::size_t> needed = {at.length, at.data};
        if (forced)
            needed.push_back(at.fan);
        for (std::size_t index : needed)
            if (index >= lines.size())
                return Error{listIndexMessage(index)};
        records.push_back({lines[at.name], lines[at.length], lines[at.data], forced ? lines[at.fan] : ""});
    }
    return records;
}

Status checkTypeNumbers(const std::vector<std::string>& lines, std::size_t j, bool forced)
{
    const auto typeCount = countTypeNames(lines);
    if (!typeCount)
        return Error{typeCount.error()};
    const TypeLineNumbers at = typeLineNumbers(*typeCount, j, forced);
    for (std::size_t index : {at.length, at.data, forced ? at.fan : at.data})
        if (index >= lines.size())
            return Error{listIndexMessage(index)};
    const TypeRecord type{lines[at.name], lines[at.length], lines[at.data], forced ? lines[at.fan] : ""};
    if (const auto problem = typeProblem(type, at, forced))
        return Error{problemText(forced, *problem)};
    return Done{};
}

Result<std::vector<TypeRecord>> readAllTypes(const std::filesystem::path& dir, bool forced)
{
    const auto lines = readTypeFile(dir, forced);
    if (!lines)
        return Error{lines.error()};
    return typesFromLines(*lines, forced);
}

std::vector<std::string> lengthFields(std::string_view lengthLine)
{
    constexpr std::size_t fieldWidth = 4;
    constexpr std::size_t step = 5; // field and one separator
    // One walk over the characters (a line may be megabytes long): a field starts at every
    // step-th character, and a further field only where its start lies before the line's end.
    std::vector<std::string> fields;
    std::size_t character = 0; // 0-based index of the character at `byte`
    std::size_t byte = 0;
    std::size_t fieldStart = 0;
    std::size_t fieldStartCharacter = 0;
    bool inField = false;
    auto startsCharacter = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    while (true) {
        const bool atEnd = byte >= lengthLine.size();
        if (!atEnd && !startsCharacter(lengthLine[byte])) {
            ++byte;
            continue;
        }
        const std::size_t offset = character % step;
        if (inField && (offset == fieldWidth || atEnd)) {
            // A field starting in the line's last character is not taken.
            if (fieldStartCharacter == 0 || fieldStartCharacter + 1 < character || !atEnd)
                fields.emplace_back(lengthLine.substr(fieldStart, byte - fieldStart));
            inField = false;
        }
        if (atEnd)
            break;
        if (offset == 0) {
            fieldStart = byte;
            fieldStartCharacter = character;
            inField = true;
        }
        ++character;
        ++byte;
    }
    // The first field is taken even from an empty line, which so offers one empty length.
    if (fields.empty())
        fields.emplace_back();
    return fields;
}

double fieldValue(std::string_view line, std::size_t column, std::size_t width)
{
    return decimalValue(utf8Mid(line, column, width));
}

TypeIndexLine parseTypeIndexLine(std::string_view line)
{
    TypeIndexLine parsed;
    if (!line.empty())
        parsed.kind = line.front();
    // The type code stands in columns 12-21 after the blank in column 11; the shown name ends
    // with the code, before the description that may follow it.
    const std::string_view shown = utf8Mid(line, 11, 11);
    const std::size_t code = std::min(shown.find_first_not_of(' '), shown.size());
    parsed.shownName = std::string(shown.substr(0, shown.find(' ', code)));
    parsed.chosenTypeRow = std::string(utf8Mid(line, 12, MaxChosenTypeRowLength));
    parsed.cooling = contains(line, "HW");
    return parsed;
}

Result<std::vector<std::string>> loadConvectorTypeIndex(const std::filesystem::path& dir)
{
    return readTextLines(dir / TypeIndexFileName);
}

} // namespace tepa
