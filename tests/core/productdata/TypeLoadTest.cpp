#include "core/productdata/ProductData.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

// Valid lines that name their type's position j: the length 1000 + j mm, the coefficient Km = j,
// the first fan coefficient j.
std::string lengthLine(std::size_t j)
{
    return std::to_string(1000 + j);
}
std::string padded(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}
std::string dataLine(std::size_t j)
{
    return padded(std::to_string(j), 6) + "   1.30   15      2";
}
std::string fanLine(std::size_t j)
{
    return padded(std::to_string(j), 10) + "          2          3";
}
std::string block(const std::string& kind, std::size_t j)
{
    return kind == "len" ? lengthLine(j) : kind == "data" ? dataLine(j) : fanLine(j);
}

// A free-convection file in the reader's layout: heading, names, separator, length lines,
// separator, data lines. Length and data lines name their type's position so a test can see
// which file type landed in which entry.
Lines freeFile(const Lines& names, const std::string& separator = "")
{
    Lines lines{"Freie Konvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    lines.push_back(separator);
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back(lengthLine(j));
    lines.push_back("--");
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back(dataLine(j));
    return lines;
}

// A forced-convection file: heading, names, then length, data and fan blocks without separators.
Lines forcedFile(const Lines& names)
{
    Lines lines{"Zwangskonvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    for (const char* kind : {"len", "data", "fan"})
        for (std::size_t j = 1; j <= names.size(); ++j)
            lines.push_back(block(kind, j));
    return lines;
}

Result<TypeLoad> select(bool forced, const Lines& lines, const TypeSelection& selection, TypeTable& table)
{
    return forced ? selectForcedTypes(lines, selection, table) : selectFreeTypes(lines, selection, table);
}

TypeSelection filter(bool forced, const std::string& row, bool heating = true)
{
    TypeSelection s;
    s.FreeTypeChosen = !forced;
    s.ForcedTypeChosen = forced;
    s.ChosenTypeRow = row;
    s.HeatingMode = heating;
    return s;
}

TEST(TypeSelection, RulesOfTheFreeAndForcedLoads)
{
    // Free names by 2nd character: '1', '2', 'M', none, ' ', '-', 'a', 'A' (the first code not
    // below "A"), 'ä' (228 in the file's code page).
    const Lines free = {"W1", "W2 Sockel", "WM", "W", "W 5", "W-3", "Wa", "WA", "Wä"};
    const Lines forced = {"WF1",     "WF2",       "WF0",  "WF@",       "WFs",    "WFW-2L", "WFW-4L Vier",
                          "WFWL-2L", "WNF1 Prim", "WNF2", "DWF Decke", "DWF 12", "WFW",    "WFä"};
    TypeSelection cooling;
    cooling.HeatingMode = false;
    struct Case
    {
        const char* what;
        bool forced;
        TypeSelection selection;
        Lines expected;
    };
    const Case cases[] = {
        {"free without filter lists every type in file order", false, TypeSelection{}, free},
        // The one-character name equals the filter; having no second character it is not also
        // taken by the family rule.
        {"one-letter filter", false, filter(false, "W"), {"W1", "W2 Sockel", "W", "W 5", "W-3"}},
        {"comparison is case-sensitive", false, filter(false, "wm"), {}},
        {"cooling without filter takes the series that cool",
         true,
         cooling,
         {"WFW-2L", "WFW-4L Vier", "WFWL-2L", "WNF1 Prim", "WNF2", "DWF Decke", "DWF 12", "WFW"}},
        // Every six-character name, whatever its series, and the exact name.
        {"WFW", true, filter(true, "WFW"), {"WFW-2L", "DWF 12", "WFW"}},
        // Fourth character from '1' (49) to '@' (64).
        {"WNF takes the sizes", true, filter(true, "WNF"), {"WNF1 Prim", "WNF2"}},
        // Third character from '1' to '@'; '0' (48), 's' and 'ä' are outside.
        {"two-letter filter takes the sizes", true, filter(true, "WF"), {"WF1", "WF2", "WF@"}},
        {"a longer WNF filter is exact only", true, filter(true, "WNF2"), {"WNF2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeTable table;
        const auto load =
            select(c.forced, c.forced ? forcedFile(forced) : freeFile(free), c.selection, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names, c.expected);
        EXPECT_EQ(load->matchedCount, c.expected.size());
    }
}

TEST(TypeLoad, FillsBlocksOfTheTakenCountAndLeavesTheRestOfTheTable)
{
    for (bool forced : {false, true}) {
        SCOPED_TRACE(forced ? "forced" : "free");
        TypeTable table;
        for (std::size_t k = 1; k <= TypeTable::Size; ++k)
            table.at(k) = {"old " + std::to_string(k), 99};
        // The filter takes file types 1 and 3 of three: c = 2.
        const auto load = forced ? select(true, forcedFile({"WF1", "WFs", "WF3"}), filter(true, "WF"), table)
                                 : select(false, freeFile({"W1", "WM", "W3"}), filter(false, "W"), table);
        ASSERT_TRUE(load.ok()) << load.error();
        Lines expected = {forced ? "WF1" : "W1", forced ? "WF3" : "W3", lengthLine(1), lengthLine(3), dataLine(1), dataLine(3)};
        if (forced)
            expected.insert(expected.end(), {fanLine(1), fanLine(3)});
        expected.push_back("old " + std::to_string(expected.size() + 1));
        for (std::size_t k = 1; k <= expected.size(); ++k)
            EXPECT_EQ(table.at(k).Text, expected[k - 1]) << "entry " << k;
        // Only the name entries carry the count; the others keep theirs.
        EXPECT_EQ(table.at(2).TypeCount, 2);
        EXPECT_EQ(table.at(3).TypeCount, 99);
        EXPECT_EQ(table.FileTypeCount, 3);
    }
}

TEST(TypeLoad, TakesAsManyTypesAsTheTableHoldsAndReportsTheCut)
{
    struct Case
    {
        bool forced;
        std::size_t typesInFile, expectedTaken;
        bool expectedCut;
    };
    const Case cases[] = {
        {false, 20, 20, false}, {false, 21, 20, true}, {true, 15, 15, false}, {true, 16, 15, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.forced ? "forced, " : "free, ") + std::to_string(c.typesInFile) + " types");
        Lines names;
        for (std::size_t j = 1; j <= c.typesInFile; ++j)
            names.push_back("W" + std::to_string(j));
        TypeTable table;
        const auto load =
            select(c.forced, c.forced ? forcedFile(names) : freeFile(names), TypeSelection{}, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names.size(), c.expectedTaken);
        EXPECT_EQ(load->cut, c.expectedCut);
        EXPECT_EQ(load->matchedCount, c.typesInFile);
        // The last block ends exactly at the table's last entry when the table is full.
        const std::size_t blocks = c.forced ? 4 : 3;
        EXPECT_EQ(table.at(blocks * c.expectedTaken).Text,
                  c.forced ? fanLine(c.expectedTaken) : dataLine(c.expectedTaken));
    }
}

TEST(TypeLoad, CutsLongLinesToOneHundredCharactersAndSeparatesNamesByAnyLineWithoutW)
{
    // 'ä' is two bytes in UTF-8 and one character in the file.
    std::string name = "W1 ";
    for (int i = 0; i < 117; ++i)
        name += "ä";
    Lines lines = freeFile({name}, "Laengen 1-3");
    lines.back() = std::string(120, '7');
    TypeTable table;
    const auto load = selectFreeTypes(lines, TypeSelection{}, table);
    ASSERT_TRUE(load.ok()) << load.error();
    EXPECT_EQ(load->names, Lines{name.substr(0, 3 + 97 * 2)});
    EXPECT_EQ(table.at(2).Text, lengthLine(1));
    EXPECT_EQ(table.at(3).Text, std::string(100, '7'));
}

TEST(TypeLoad, ShortFilesFailWithTheListIndexAndLeaveTheTable)
{
    Lines missingData = freeFile({"W1", "W2"});
    missingData.pop_back(); // 8 lines; type 2's data line would be line 2N + 2 + 2 = 8
    Lines missingLength = forcedFile({"WF1", "WF2"});
    missingLength.resize(3 + 1); // heading, two names, one length line
    struct Case
    {
        const char* what;
        Lines lines;
        bool forced;
        const char* message;
    };
    const Case cases[] = {
        {"names run to the end",
         {"Kopf", "W1", "W2", "W3"},
         false,
         "Listenindex überschreitet das Maximum (4)"},
        {"data line missing", missingData, false, "Listenindex überschreitet das Maximum (8)"},
        // Type 1's data line (5) is read before type 2's length line (4).
        {"blocks cut short", missingLength, true, "Listenindex überschreitet das Maximum (5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeTable table;
        table.at(1) = {"old", 5};
        table.FileTypeCount = 9;
        const auto load = select(c.forced, c.lines, TypeSelection{}, table);
        ASSERT_FALSE(load.ok());
        EXPECT_EQ(load.error(), c.message);
        EXPECT_EQ(table.at(1).Text, "old");
        EXPECT_EQ(table.at(1).TypeCount, 5);
        EXPECT_EQ(table.FileTypeCount, 9);
        EXPECT_FALSE(typesFromLines(c.lines, c.forced).ok());
    }
    const Status secondType = checkTypeNumbers(missingData, 2, false); // its data line is missing
    ASSERT_FALSE(secondType.ok());
    EXPECT_EQ(secondType.error(), "Listenindex überschreitet das Maximum (8)");
    TypeTable table;
    const auto noNames = selectFreeTypes({"Kopf", "", "x"}, TypeSelection{}, table);
    ASSERT_TRUE(noNames.ok()) << noNames.error();
    EXPECT_TRUE(noNames->names.empty());
}

// Damaged numbers where a rating reads them would rate the type at 0 W without a word; the
// load refuses the file with the line. Lines (0-based): free file of W1, W2: lengths 4-5, data
// 7-8; forced file of WF1, WF2: lengths 3-4, data 5-6, fans 7-8.
TEST(TypeLoad, DamagedNumbersAreRefusedWithFileAndLine)
{
    struct Case
    {
        bool forced;
        std::size_t line, column;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {false, 8, 1, "   nan", "freikon.txt:9: data line of \"W2\": Km (columns 1-6) is not a number: \"   nan\""},
        {false, 7, 8, "1e9999", "freikon.txt:8: data line of \"W1\": nD (columns 8-13)"},
        {false, 7, 15, "    ", "freikon.txt:8: data line of \"W1\": tube diameter (columns 15-18)"},
        {false, 4, 1, "08x0", "freikon.txt:5: length line of \"W1\": \"08x0\" is not a length in mm"},
        {false, 5, 6, "-100", "freikon.txt:6: length line of \"W2\": \"-100\" is not a length in mm"},
        {true, 6, 23, "  x", "zwangskon.txt:7: data line of \"WF2\": tube runs (columns 23-25)"},
        {true, 8, 12, "       abc", "zwangskon.txt:9: fan line of \"WF2\": c2 (columns 12-21)"},
        {true, 7, 23, "       inf", "zwangskon.txt:8: fan line of \"WF1\": nF (columns 23-32)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        Lines lines = c.forced ? forcedFile({"WF1", "WF2"}) : freeFile({"W1", "W2"});
        std::string& line = lines[c.line];
        line.resize(std::max(line.size(), c.column - 1 + std::string(c.text).size()), ' ');
        line.replace(c.column - 1, std::string(c.text).size(), c.text);
        TypeTable table;
        table.at(1) = {"old", 5};
        const auto load = select(c.forced, lines, TypeSelection{}, table);
        ASSERT_FALSE(load.ok());
        EXPECT_EQ(load.error().rfind(c.expected, 0), 0u) << load.error();
        EXPECT_EQ(table.at(1).Text, "old");
        const std::size_t type = c.forced ? (c.line - 3) % 2 + 1 : (c.line < 7 ? c.line - 3 : c.line - 6);
        const Status checked = checkTypeNumbers(lines, type, c.forced);
        ASSERT_FALSE(checked.ok());
        EXPECT_EQ(checked.error(), load.error());
        EXPECT_TRUE(checkTypeNumbers(lines, 3 - type, c.forced).ok()) << "the other type is sound";
    }
}

TEST(TypeLoad, MissingFileGivesTheOpenError)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/no-such-folder";
    TypeTable table;
    const auto load = loadForcedTypes(dir, TypeSelection{}, table);
    ASSERT_FALSE(load.ok());
    EXPECT_EQ(load.error(), "Datei " + (dir / ForcedTypeFileName).string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readAllTypes(dir, false).ok());
}

} // namespace
} // namespace tepa
