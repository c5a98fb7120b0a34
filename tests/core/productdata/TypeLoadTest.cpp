#include "core/productdata/ProductData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

// A free-convection file in the reader's layout: heading, names, separator, length lines,
// separator, data lines. Length and data lines name their type's position so a test can see
// which file type landed in which entry.
Lines freeFile(const Lines& names, const std::string& separator = "")
{
    Lines lines{"Freie Konvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    lines.push_back(separator);
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back("len " + std::to_string(j));
    lines.push_back("--");
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back("data " + std::to_string(j));
    return lines;
}

// A forced-convection file: heading, names, then length, data and fan blocks without separators.
Lines forcedFile(const Lines& names)
{
    Lines lines{"Zwangskonvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    for (const char* block : {"len ", "data ", "fan "})
        for (std::size_t j = 1; j <= names.size(); ++j)
            lines.push_back(block + std::to_string(j));
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
        Lines expected = {forced ? "WF1" : "W1", forced ? "WF3" : "W3", "len 1", "len 3", "data 1", "data 3"};
        if (forced)
            expected.insert(expected.end(), {"fan 1", "fan 3"});
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
                  (c.forced ? "fan " : "data ") + std::to_string(c.expectedTaken));
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
    EXPECT_EQ(table.at(2).Text, "len 1");
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
    TypeTable table;
    const auto noNames = selectFreeTypes({"Kopf", "", "x"}, TypeSelection{}, table);
    ASSERT_TRUE(noNames.ok()) << noNames.error();
    EXPECT_TRUE(noNames->names.empty());
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
