#pragma once

#include "core/Result.h"
#include "core/productdata/TypeTable.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tepa {

constexpr const char* FreeTypeFileName = "freikon.txt";
constexpr const char* ForcedTypeFileName = "zwangskon.txt";
constexpr const char* HeightFileName = "bauhoehen.txt";
constexpr const char* TypeIndexFileName = "konvektoren.txt";

// Interface text line telling the user that a load found more matching types than a list holds.
constexpr std::size_t TypeListCutTextLine = 264;

// What the main window's type pick hands to a type load.
struct TypeSelection
{
    bool FreeTypeChosen = false;
    bool ForcedTypeChosen = false;
    std::string ChosenTypeRow; // UTF-8
    bool HeatingMode = true;
};

// Result of one load.
struct TypeLoad
{
    std::vector<std::string> names; // the taken names in order, as the type list shows them
    // More types matched than the table holds; the later ones were left out.
    bool cut = false;
    std::size_t matchedCount = 0; // how many matched before the cut
};

// Reads "freikon.txt" / "zwangskon.txt" from `dir`, selects types and fills `table`.
// Errors: "Datei <file> kann nicht geöffnet werden", "Listenindex überschreitet das Maximum (<n>)".
// On error the table is left as it was.
Result<TypeLoad>
loadFreeTypes(const std::filesystem::path& dir, const TypeSelection& selection, TypeTable& table);
Result<TypeLoad>
loadForcedTypes(const std::filesystem::path& dir, const TypeSelection& selection, TypeTable& table);

// The same loads over the lines of a type file already in memory (UTF-8, as readTextLines gives
// them), for callers that hold the file or build it.
Result<TypeLoad>
selectFreeTypes(const std::vector<std::string>& lines, const TypeSelection& selection, TypeTable& table);
Result<TypeLoad>
selectForcedTypes(const std::vector<std::string>& lines, const TypeSelection& selection, TypeTable& table);

// The message for reading line `index` (0-based) of a list that has no such line.
std::string listIndexMessage(std::size_t index);

// N, the number of type names of a type file: lines 1, 2, ... up to the first line without "W".
// A name block that runs to the end of the file fails with the list index message.
Result<std::size_t> countTypeNames(const std::vector<std::string>& lines);

// 0-based line numbers of file type j (1..N) in a type file with N types. `fan` is meaningful
// for forced types only.
struct TypeLineNumbers
{
    std::size_t name = 0, length = 0, data = 0, fan = 0;
};
TypeLineNumbers typeLineNumbers(std::size_t typeCount, std::size_t j, bool forced);

// The series listed for cooling: names containing "WFW", "WNF" or "DWF".
bool coolingSeries(std::string_view typeName);

// The file types (1-based, in file order) a selection takes, before any cut at the table size.
// A type meeting several rules is taken once per rule.
std::vector<std::size_t> matchingFreeTypes(const std::vector<std::string>& names,
                                           const TypeSelection& selection);
std::vector<std::size_t> matchingForcedTypes(const std::vector<std::string>& names,
                                             const TypeSelection& selection);

// Every type of a type file, unselected and uncut (for quick ratings and checks).
struct TypeRecord
{
    std::string name, lengthLine, dataLine, fanLine; // fanLine empty for free types
};
// Whether the lengths, the data line and (forced types) the fan line of file type j (1..N) hold
// readable numbers where a rating reads them; the error names the file and the line. The loads
// above refuse a selection with such a type the same way.
Status checkTypeNumbers(const std::vector<std::string>& lines, std::size_t j, bool forced);

Result<std::vector<TypeRecord>> readAllTypes(const std::filesystem::path& dir, bool forced);
Result<std::vector<TypeRecord>> typesFromLines(const std::vector<std::string>& lines, bool forced);

// The offered lengths of a length line: 4-character fields at columns 1, 6, 11, ...
std::vector<std::string> lengthFields(std::string_view lengthLine);

// A number of a data or fan line: `width` characters from 1-based `column`, by the decimal
// reading (a blank field, or one beyond the end of the line, gives 0).
double fieldValue(std::string_view line, std::size_t column, std::size_t width);

// "bauhoehen.txt" as a list of lines. A line that does not start with a height (a whole number
// of mm above 0) is refused with the file and line.
Result<std::vector<std::string>> loadHeights(const std::filesystem::path& dir);
Result<std::vector<std::string>> checkedHeights(std::vector<std::string> lines);
// The height in mm: the leading number of a height line (decimal reading).
double heightOfLine(std::string_view heightLine);

// The height lines offered for a type, and which of them is preselected, by series:
// "WFWL" line 15; "WFW"/"WNF" line 8; "W1".."W4" every line with line 1 preselected; others line 1.
struct OfferedHeights
{
    std::vector<std::string> lines;
    std::size_t preselected = 0;
};
Result<OfferedHeights> offeredHeights(std::string_view typeName, const std::vector<std::string>& heightList);

// The height correction factor of a height line for a type, chosen by series code:
// "W1" columns 10-14, "W2" 19-23, "W3" 28-32, "W4" 37-41 (a later code overrides an earlier one);
// "WM", "WX", "WF", "WNF" and names of none of these codes -> 1. Fields use the locale float
// conversion (point or `localeSeparator`).
Result<double>
heightFactor(std::string_view typeName, std::string_view heightLine, char localeSeparator = '.');

// "konvektoren.txt" as a list of lines (the type index; lines 0-4 are its header).
Result<std::vector<std::string>> loadConvectorTypeIndex(const std::filesystem::path& dir);

// The type list takes index lines 5 onwards. Its items carry the line number in their last two
// characters, so a line beyond 99 cannot be picked.
constexpr std::size_t FirstTypeIndexLine = 5;
constexpr std::size_t LastTypeIndexLine = 99;
// The picked row is kept in a text of this many characters.
constexpr std::size_t MaxChosenTypeRowLength = 255;

// One line of the type index as the room data panel reads it.
struct TypeIndexLine
{
    char kind = 0;             // 'O' not yet available, 'F' free convection, 'Z' forced convection
    std::string shownName;     // character 11 and the type code after it, up to character 21
    std::string chosenTypeRow; // character 12 to the end: the filter of the type load
    bool cooling = false;      // "HW" anywhere: offered for cooling and for dual use
};
TypeIndexLine parseTypeIndexLine(std::string_view line);

} // namespace tepa
