#include "core/productdata/ProductData.h"

#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
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
        if (contains(filter, "WNF")) {
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
    // The first field is taken even from an empty line, which so offers one empty length.
    std::vector<std::string> fields{std::string(utf8Mid(lengthLine, 1, fieldWidth))};
    const std::size_t length = utf8Length(lengthLine);
    for (std::size_t column = 1 + step; column < length; column += step)
        fields.emplace_back(utf8Mid(lengthLine, column, fieldWidth));
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
    parsed.shownName = std::string(utf8Mid(line, 11, 6));
    parsed.chosenTypeRow = std::string(utf8Mid(line, 12, MaxChosenTypeRowLength));
    parsed.cooling = contains(line, "HW");
    return parsed;
}

Result<std::vector<std::string>> loadConvectorTypeIndex(const std::filesystem::path& dir)
{
    return readTextLines(dir / TypeIndexFileName);
}

} // namespace tepa
