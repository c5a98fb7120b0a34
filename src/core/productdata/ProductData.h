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
Result<TypeLoad> loadFreeTypes(const std::filesystem::path& dir, const TypeSelection& selection,
                               TypeTable& table);
Result<TypeLoad> loadForcedTypes(const std::filesystem::path& dir, const TypeSelection& selection,
                                 TypeTable& table);

// Every type of a type file, unselected and uncut (for quick ratings and checks).
struct TypeRecord
{
    std::string name, lengthLine, dataLine, fanLine; // fanLine empty for free types
};
Result<std::vector<TypeRecord>> readAllTypes(const std::filesystem::path& dir, bool forced);

// The offered lengths of a length line: 4-character fields at columns 1, 6, 11, ...
std::vector<std::string> lengthFields(std::string_view lengthLine);

// "bauhoehen.txt" as a list of lines.
Result<std::vector<std::string>> loadHeights(const std::filesystem::path& dir);
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
Result<double> heightFactor(std::string_view typeName, std::string_view heightLine, char localeSeparator = '.');

// "konvektoren.txt" as a list of lines (the type index; lines 0-4 are its header).
Result<std::vector<std::string>> loadConvectorTypeIndex(const std::filesystem::path& dir);

} // namespace tepa
