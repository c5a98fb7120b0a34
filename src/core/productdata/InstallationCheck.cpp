#include "core/productdata/InstallationCheck.h"

#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/InterfaceTexts.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>

namespace tepa {
namespace {

// Highest interface text line the program addresses.
constexpr std::size_t LastUsedTextLine = 289;
constexpr std::size_t TextPrefixLength = 3;
// Height line 15 is the one height of the "WFWL" series.
constexpr std::size_t MinHeightLines = 16;
// Data and fan lines are copied into 80-character fields of the project entries.
constexpr std::size_t MaxCopiedLineLength = 80;

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNumberChar(char c)
{
    return isDigit(c) || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-';
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

class ProblemList
{
public:
    ProblemList(std::vector<Problem>& problems, std::string file)
        : m_problems(problems)
        , m_file(std::move(file))
    {}
    // `index` is the 0-based line number the readers use.
    void atIndex(std::size_t index, std::string message) { add(index + 1, std::move(message)); }
    void add(std::size_t editorLine, std::string message)
    {
        m_problems.push_back({m_file, editorLine, std::move(message)});
    }

private:
    std::vector<Problem>& m_problems;
    std::string m_file;
};

// A fixed-column number as the decimal reading takes it.
struct Column
{
    std::string_view name;
    std::size_t column;
    std::size_t width;
    bool required;
};

std::string columnsText(const Column& field)
{
    if (field.width == 1)
        return "column " + std::to_string(field.column);
    return "columns " + std::to_string(field.column) + "-" + std::to_string(field.column + field.width - 1);
}

// The decimal reading takes a field as cut out of the line and stops at the first unfit
// character, so a number must fill its field to the right edge and stay inside it: "1.25 "
// and a number running into the next column read differently from what was meant.
void checkNumberField(std::string_view line,
                      const Column& field,
                      const std::string& what,
                      std::size_t index,
                      ProblemList& problems)
{
    const std::string_view text = utf8Mid(line, field.column, field.width);
    const std::string where = what + ": " + std::string(field.name) + " (" + columnsText(field) + ")";
    if (isBlank(text)) {
        if (field.required)
            problems.atIndex(index, where + " is empty");
        return;
    }
    const DecimalReading reading = readDecimal(text);
    const bool hasDigit = std::any_of(text.begin(), text.end(), isDigit);
    if (reading.stopPosition != 0 || !hasDigit || !std::isfinite(reading.value) ||
        std::abs(reading.value) >= std::numeric_limits<double>::max()) {
        problems.atIndex(index, where + " is not a right-aligned number: " + inQuotes(text));
        return;
    }
    const std::string_view after = utf8Mid(line, field.column + field.width, 1);
    if (!after.empty() && isNumberChar(after.front()))
        problems.atIndex(index, where + " runs on past its last column");
    const std::string_view before =
        field.column > 1 ? utf8Mid(line, field.column - 1, 1) : std::string_view();
    if (!before.empty() && isNumberChar(before.front()) && text.front() != ' ')
        problems.atIndex(index, where + " starts before its first column");
}

void checkCopiedLength(std::string_view line,
                       const std::string& what,
                       std::size_t index,
                       ProblemList& problems)
{
    const std::size_t length = utf8Length(line);
    if (length > MaxCopiedLineLength)
        problems.atIndex(index, what + " has " + std::to_string(length) +
                                    " characters; a project entry keeps " +
                                    std::to_string(MaxCopiedLineLength));
}

// Characters of a line by 1-based column in constant time: a length line may be megabytes long,
// and looking each column up from the start of the line again would take hours.
class Columns
{
public:
    explicit Columns(std::string_view line)
        : m_line(line)
    {
        for (std::size_t byte = 0; byte < line.size(); ++byte)
            if ((static_cast<unsigned char>(line[byte]) & 0xC0) != 0x80)
                m_starts.push_back(byte);
    }
    std::size_t count() const { return m_starts.size(); }
    std::string_view mid(std::size_t column, std::size_t width) const
    {
        const std::size_t first = column - 1;
        if (first >= m_starts.size())
            return {};
        const std::size_t last = std::min(first + width, m_starts.size());
        const std::size_t end = last < m_starts.size() ? m_starts[last] : m_line.size();
        return m_line.substr(m_starts[first], end - m_starts[first]);
    }

private:
    std::string_view m_line;
    std::vector<std::size_t> m_starts;
};

void checkLengthLine(std::string_view line, const std::string& what, std::size_t index, ProblemList& problems)
{
    const auto fields = lengthFields(line);
    const Columns columns(line);
    std::size_t column = 1;
    for (const auto& field : fields) {
        const DecimalReading reading = readDecimal(field);
        const bool digitsOnly = !field.empty() && std::all_of(field.begin(), field.end(), isDigit);
        if (!digitsOnly || reading.value <= 0)
            problems.atIndex(index, what + ": expected a length in mm at column " + std::to_string(column) +
                                        ", found " + inQuotes(field));
        const std::string_view separator = columns.mid(column + 4, 1);
        if (!separator.empty() && separator != " ")
            problems.atIndex(index, what + ": lengths are separated by one blank, found " +
                                        inQuotes(separator) + " at column " + std::to_string(column + 4));
        column += 5;
    }
    // A field starting in the last column is not taken (the reading steps on only while the
    // next start lies before the end of the line).
    const std::string_view rest = columns.mid(column, columns.count());
    if (!isBlank(rest))
        problems.atIndex(index, what + ": " + inQuotes(rest) + " at column " + std::to_string(column) +
                                    " is not read; a length needs 4 columns");
}

// clang-format off
constexpr Column dataColumns[] = {
    {"Km",                    1,  6, true},   // output coefficient per metre
    {"nD",                    8,  6, true},   // free-convection exponent
    {"tube diameter",         15, 4, true},
    {"tube runs",             23, 3, true},
    {"circuits",              29, 1, false},  // blank reads as one circuit
    {"La",                    41, 6, false},
    {"Lb",                    48, 5, false},
    {"cooling tube diameter", 57, 4, false},
    {"cooling tube runs",     65, 3, false},
    {"cooling circuits",      71, 1, false},
};
constexpr Column fanColumns[] = {
    {"c1", 1,  10, true},
    {"c2", 12, 10, true},
    {"nF", 23, 10, true},
};
// clang-format on

void checkDataLine(
    std::string_view line, const std::string& name, bool forced, std::size_t index, ProblemList& problems)
{
    const std::string what = "data line of " + inQuotes(name);
    checkCopiedLength(line, what, index, problems);
    for (Column field : dataColumns) {
        // The sound level law needs La and Lb for every fan type; the cooling water path is
        // rated only for the series that can cool.
        if (field.name == "La" || field.name == "Lb")
            field.required = forced;
        if (field.name == "cooling tube diameter" || field.name == "cooling tube runs")
            field.required = forced && coolingSeries(name);
        checkNumberField(line, field, what, index, problems);
    }
}

void checkFanLine(std::string_view line, const std::string& name, std::size_t index, ProblemList& problems)
{
    const std::string what = "fan line of " + inQuotes(name);
    checkCopiedLength(line, what, index, problems);
    for (const Column& field : fanColumns)
        checkNumberField(line, field, what, index, problems);
}

// A heating entry keeps the first ten characters of a type's name, a cooling entry the part
// before the first blank: the type code. For a type that can be in both lists the code must
// lie within those ten characters, or the two lists name one unit differently and the bill of
// convectors orders it twice. (The shipped files pad the code to ten characters, so that the
// description starts in column 11 and a heating entry keeps exactly the code.)
void checkTypeCodeColumns(std::string_view name, std::size_t index, ProblemList& problems)
{
    constexpr std::size_t CodeColumns = 10;
    const std::size_t blank = utf8Left(name, 20).find(' ');
    if (blank == std::string_view::npos)
        return; // reported as a cooling type without its blank
    if (blank == 0 || utf8Length(name.substr(0, blank)) > CodeColumns)
        problems.atIndex(index, "type " + inQuotes(name) +
                                    ": its code (up to the first blank) must fill at most columns 1-" +
                                    std::to_string(CodeColumns) +
                                    ", which a heating entry keeps; a cooling entry keeps the code alone");
}

// Returns the type names when the name block is readable.
std::optional<std::vector<std::string>>
checkTypeFile(const std::vector<std::string>& lines, bool forced, ProblemList& problems)
{
    if (lines.empty()) {
        problems.add(0, "the file is empty");
        return std::nullopt;
    }
    const auto typeCount = countTypeNames(lines);
    if (!typeCount) {
        problems.add(lines.size(),
                     "the type names run to the end of the file; a line without \"W\" must end them");
        return std::nullopt;
    }
    const std::size_t n = *typeCount;
    if (n == 0) {
        problems.atIndex(1,
                         "no type names: the line after the heading must hold the first name (with \"W\")");
        return std::vector<std::string>{};
    }
    std::vector<std::string> names;
    for (std::size_t j = 1; j <= n; ++j) {
        const TypeLineNumbers at = typeLineNumbers(n, j, forced);
        const std::string& name = lines[at.name];
        names.push_back(name);
        if (forced && coolingSeries(name) && utf8Left(name, 20).find(' ') == std::string_view::npos)
            problems.atIndex(at.name, "type " + inQuotes(name) +
                                          " can cool but has no blank in its first 20 characters, where its "
                                          "cooling name ends");
        else if (forced && coolingSeries(name))
            checkTypeCodeColumns(name, at.name, problems);

        struct Needed
        {
            std::string_view what;
            std::size_t index;
        };
        std::vector<Needed> needed = {{"length line", at.length}, {"data line", at.data}};
        if (forced)
            needed.push_back({"fan line", at.fan});
        const auto missing = std::find_if(needed.begin(), needed.end(), [&lines](const Needed& line) {
            return line.index >= lines.size();
        });
        if (missing != needed.end()) {
            problems.atIndex(at.name, "type " + inQuotes(name) + ": its " + std::string(missing->what) +
                                          " (line " + std::to_string(missing->index + 1) +
                                          ") lies beyond the end of the file");
            continue;
        }
        checkLengthLine(lines[at.length], "length line of " + inQuotes(name), at.length, problems);
        checkDataLine(lines[at.data], name, forced, at.data, problems);
        if (forced)
            checkFanLine(lines[at.fan], name, at.fan, problems);
    }
    return names;
}

void checkHeights(const std::vector<std::string>& lines, ProblemList& problems)
{
    if (lines.size() < MinHeightLines)
        problems.add(lines.size(), "the file has " + std::to_string(lines.size()) + " lines; at least " +
                                       std::to_string(MinHeightLines) + " are needed (line " +
                                       std::to_string(MinHeightLines) +
                                       " is the height of the \"WFWL\" series)");
    // clang-format off
    constexpr Column factorColumns[] = {
        {"factor of \"W1\"", 10, 5, true},
        {"factor of \"W2\"", 19, 5, true},
        {"factor of \"W3\"", 28, 5, true},
        {"factor of \"W4\"", 37, 5, true},
    };
    // clang-format on
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // The height is read as the leading number of the line and shown with the line itself.
        const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
        const std::string_view height = line.substr(start, line.find(' ', start) - start);
        const bool digitsOnly = !height.empty() && std::all_of(height.begin(), height.end(), isDigit);
        if (!digitsOnly || start + height.size() == line.size() || decimalValue(height) <= 0)
            problems.atIndex(i,
                             "expected a height in mm at the start of the line, followed by a blank; found " +
                                 inQuotes(height));
        for (const Column& field : factorColumns) {
            const std::string_view text = utf8Mid(line, field.column, field.width);
            const std::string where = std::string(field.name) + " (" + columnsText(field) + ")";
            // The point is accepted with every locale; a comma would read only on some machines.
            if (!localeFloat(text, '.')) {
                problems.atIndex(i, where + " is not a number: " + inQuotes(text));
                continue;
            }
            const std::string_view before = utf8Mid(line, field.column - 1, 1);
            const std::string_view after = utf8Mid(line, field.column + field.width, 1);
            if ((!before.empty() && before != " ") || (!after.empty() && after != " "))
                problems.atIndex(i, where + " runs beyond its columns");
        }
    }
}

void checkTexts(const std::vector<std::string>& lines, ProblemList& problems)
{
    const std::size_t needed = LastUsedTextLine + 1;
    if (lines.size() < needed)
        problems.add(lines.size(),
                     "the file has " + std::to_string(lines.size()) + " lines; the program uses texts 0 to " +
                         std::to_string(LastUsedTextLine) + " (lines 1 to " + std::to_string(needed) + ")");
    bool misnumbered = false;
    for (std::size_t i = 0; i < std::min(lines.size(), needed); ++i) {
        if (lines[i].empty())
            problems.atIndex(
                i, "text " + std::to_string(i) +
                       " is empty; the prefix stripping stops here and later texts keep their prefix");
        else if (utf8Length(lines[i]) < TextPrefixLength)
            problems.atIndex(i, "text " + std::to_string(i) + " is shorter than its " +
                                    std::to_string(TextPrefixLength) + "-character prefix");
        // Numbered prefixes must count the lines: one that does not shows a line missing,
        // doubled or cut before it, and every later text would be shown in the wrong place
        // (reported once: the texts after it are off by the same fault).
        else if (const std::string_view prefix = std::string_view(lines[i]).substr(0, TextPrefixLength);
                 !misnumbered && std::all_of(prefix.begin(), prefix.end(), isDigit) &&
                 decimalValue(prefix) != static_cast<double>(i)) {
            problems.atIndex(i, "text " + std::to_string(i) + " has the number " + inQuotes(prefix) +
                                    "; a line before it is missing, doubled or cut");
            misnumbered = true;
        }
    }
}

struct TypeFileNames
{
    const std::optional<std::vector<std::string>>& free;
    const std::optional<std::vector<std::string>>& forced;
};

void checkIndexSelection(const TypeIndexLine& entry,
                         std::size_t index,
                         const TypeFileNames& typeNames,
                         ProblemList& problems)
{
    const bool forced = entry.kind == 'Z';
    const auto& names = forced ? typeNames.forced : typeNames.free;
    if (!names)
        return; // the type file's own problems are reported with it
    TypeSelection selection;
    selection.FreeTypeChosen = !forced;
    selection.ForcedTypeChosen = forced;
    selection.ChosenTypeRow = entry.chosenTypeRow;
    const auto taken = forced ? matchingForcedTypes(*names, selection) : matchingFreeTypes(*names, selection);
    const std::string fileName = forced ? ForcedTypeFileName : FreeTypeFileName;
    const std::string filter = "filter " + inQuotes(entry.chosenTypeRow) + " (from column 12)";
    if (taken.empty()) {
        problems.atIndex(index, filter + " selects no type of " + fileName);
        return;
    }
    const std::size_t capacity = forced ? MaxForcedTypesPerLoad : MaxFreeTypesPerLoad;
    if (taken.size() > capacity)
        problems.atIndex(index, filter + " selects " + std::to_string(taken.size()) +
                                    " types; a type list holds " + std::to_string(capacity));
    if (forced && entry.cooling) {
        for (std::size_t j : taken) {
            const std::string& name = (*names)[j - 1];
            if (!coolingSeries(name)) {
                problems.atIndex(index, "marked \"HW\" for cooling, but " + filter + " selects " +
                                            inQuotes(name) + ", which has no cooling rating");
                break;
            }
        }
    }
}

std::string trimmedName(std::string_view name)
{
    const std::size_t first = name.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(name.substr(first));
}

void checkTypeIndex(const std::vector<std::string>& lines,
                    const TypeFileNames& typeNames,
                    ProblemList& problems)
{
    if (lines.size() <= FirstTypeIndexLine) {
        problems.add(lines.size(),
                     "no type lines after the " + std::to_string(FirstTypeIndexLine) + " header lines");
        return;
    }
    std::map<std::string, std::size_t> shownNames; // shown name -> first line showing it
    for (std::size_t i = FirstTypeIndexLine; i < lines.size(); ++i) {
        if (i > LastTypeIndexLine) {
            problems.atIndex(i, "the type list can pick lines up to line " +
                                    std::to_string(LastTypeIndexLine + 1) + " only");
            break;
        }
        const TypeIndexLine entry = parseTypeIndexLine(lines[i]);
        if (entry.kind != 'O' && entry.kind != 'F' && entry.kind != 'Z') {
            problems.atIndex(i, "expected the kind \"O\", \"F\" or \"Z\" at column 1, found " +
                                    inQuotes(utf8Left(lines[i], 1)));
            continue;
        }
        if (isBlank(entry.shownName)) {
            problems.atIndex(i, "no type name at columns 11-21");
            continue;
        }
        if (entry.kind == 'O')
            continue;
        // The type list shows only this name: two types showing one name cannot be told apart.
        const auto [shown, isNew] = shownNames.try_emplace(entry.shownName, i);
        if (!isNew)
            problems.atIndex(i, "the type list shows " + inQuotes(trimmedName(entry.shownName)) +
                                    " (columns 11-21) already for line " + std::to_string(shown->second + 1));
        checkIndexSelection(entry, i, typeNames, problems);
    }
}

// Faults any of the files can have: NUL bytes (a text cut short where the program shows it, a
// number read as something else) and the file's content repeated (a copy appended to itself,
// where the program reads only the first copy and the rest goes unnoticed). A first line that
// comes again is taken as the start of a repetition.
void checkFileAsAWhole(const std::vector<std::string>& lines, ProblemList& problems)
{
    constexpr std::size_t MaxNulReports = 10;
    std::size_t nulReports = 0;
    for (std::size_t i = 0; i < lines.size() && nulReports < MaxNulReports; ++i) {
        const std::size_t nul = lines[i].find('\0');
        if (nul != std::string::npos) {
            problems.atIndex(i, "a NUL byte at column " + std::to_string(utf8Length(std::string_view(lines[i]).substr(0, nul)) + 1));
            ++nulReports;
        }
    }
    if (lines.empty() || isBlank(lines.front()))
        return;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i] == lines.front()) {
            problems.atIndex(i, "repeats the first line of the file: the content from here on is a repeated "
                                "section, which the program does not read");
            return;
        }
    }
}

} // namespace

InstallationFiles readInstallation(const std::filesystem::path& dir)
{
    auto read = [&dir](const char* name) -> std::optional<std::vector<std::string>> {
        auto lines = readTextLines(dir / name);
        if (!lines)
            return std::nullopt;
        return std::move(lines).value();
    };
    InstallationFiles files;
    files.texts = read(InterfaceTexts::FileName);
    files.freeTypes = read(FreeTypeFileName);
    files.forcedTypes = read(ForcedTypeFileName);
    files.heights = read(HeightFileName);
    files.typeIndex = read(TypeIndexFileName);
    return files;
}

std::vector<Problem> checkInstallationFiles(const InstallationFiles& files)
{
    std::vector<Problem> problems;
    auto present = [&problems](const std::optional<std::vector<std::string>>& lines, const char* name) {
        if (!lines)
            problems.push_back({name, 0, "missing or unreadable"});
        return lines.has_value();
    };

    if (present(files.texts, InterfaceTexts::FileName)) {
        ProblemList list(problems, InterfaceTexts::FileName);
        checkFileAsAWhole(*files.texts, list);
        checkTexts(*files.texts, list);
    }
    std::optional<std::vector<std::string>> freeNames, forcedNames;
    if (present(files.freeTypes, FreeTypeFileName)) {
        ProblemList list(problems, FreeTypeFileName);
        checkFileAsAWhole(*files.freeTypes, list);
        freeNames = checkTypeFile(*files.freeTypes, false, list);
    }
    if (present(files.forcedTypes, ForcedTypeFileName)) {
        ProblemList list(problems, ForcedTypeFileName);
        checkFileAsAWhole(*files.forcedTypes, list);
        forcedNames = checkTypeFile(*files.forcedTypes, true, list);
    }
    if (present(files.heights, HeightFileName)) {
        ProblemList list(problems, HeightFileName);
        checkFileAsAWhole(*files.heights, list);
        checkHeights(*files.heights, list);
    }
    if (present(files.typeIndex, TypeIndexFileName)) {
        ProblemList list(problems, TypeIndexFileName);
        checkFileAsAWhole(*files.typeIndex, list);
        checkTypeIndex(*files.typeIndex, {freeNames, forcedNames}, list);
    }
    return problems;
}

std::vector<Problem> checkInstallation(const std::filesystem::path& dir)
{
    return checkInstallationFiles(readInstallation(dir));
}

} // namespace tepa
