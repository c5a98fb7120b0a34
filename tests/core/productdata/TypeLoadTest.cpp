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

TypeSelection freeFilter(const std::string& row)
{
    TypeSelection s;
    s.FreeTypeChosen = true;
    s.ChosenTypeRow = row;
    return s;
}

TypeSelection forcedFilter(const std::string& row)
{
    TypeSelection s;
    s.ForcedTypeChosen = true;
    s.ChosenTypeRow = row;
    return s;
}

TEST(TypeSelection, FreeRulesListTheFamilyOrTheExactName)
{
    // 2nd characters: '1', '2', 'M', none, ' ', '-', 'a', 'A' (the first code not below "A")
    const Lines names = {"W1", "W2 Sockel", "WM", "W", "W 5", "W-3", "Wa", "WA"};
    struct Case
    {
        const char* what;
        TypeSelection selection;
        Lines expected;
    };
    const Case cases[] = {
        {"no filter lists every type in file order", TypeSelection{}, names},
        // The one-character name equals the filter; having no second character it is not also
        // taken by the family rule.
        {"one-letter filter", freeFilter("W"), {"W1", "W2 Sockel", "W", "W 5", "W-3"}},
        {"empty filter is below two characters too", freeFilter(""), {"W1", "W2 Sockel", "W 5", "W-3"}},
        {"exact name", freeFilter("WM"), {"WM"}},
        {"exact name with blank", freeFilter("W2 Sockel"), {"W2 Sockel"}},
        {"comparison is case-sensitive", freeFilter("wm"), {}},
        {"unknown two-character filter", freeFilter("WQ"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeTable table;
        const auto load = selectFreeTypes(freeFile(names), c.selection, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names, c.expected);
        EXPECT_FALSE(load->cut);
        EXPECT_EQ(load->matchedCount, c.expected.size());
    }
}

TEST(TypeSelection, ForcedRulesBySeriesFilter)
{
    const Lines names = {"WF1",     "WF2",       "WF0",  "WF@",       "WFs",    "WFW-2L", "WFW-4L Vier",
                         "WFWL-2L", "WNF1 Prim", "WNF2", "DWF Decke", "DWF 12", "WFW"};
    struct Case
    {
        const char* what;
        TypeSelection selection;
        Lines expected;
    };
    TypeSelection cooling;
    cooling.HeatingMode = false;
    TypeSelection coolingWithFilter = forcedFilter("WF");
    coolingWithFilter.HeatingMode = false;
    const Case cases[] = {
        {"heating without filter takes all", TypeSelection{}, names},
        {"cooling without filter takes the series that cool",
         cooling,
         {"WFW-2L", "WFW-4L Vier", "WFWL-2L", "WNF1 Prim", "WNF2", "DWF Decke", "DWF 12", "WFW"}},
        // Every six-character name, whatever its series, and the exact name.
        {"WFW", forcedFilter("WFW"), {"WFW-2L", "DWF 12", "WFW"}},
        {"WFWL takes seven-character names", forcedFilter("WFWL"), {"WFWL-2L"}},
        // Fourth character from '1' (49) to '@' (64).
        {"WNF takes the sizes", forcedFilter("WNF"), {"WNF1 Prim", "WNF2"}},
        // Third character from '1' to '@'; '0' (48) and 's' are outside.
        {"two-letter filter takes the sizes", forcedFilter("WF"), {"WF1", "WF2", "WF@"}},
        {"the mode plays no part once filtered", coolingWithFilter, {"WF1", "WF2", "WF@"}},
        {"exact name", forcedFilter("DWF Decke"), {"DWF Decke"}},
        {"a longer WNF filter is exact only", forcedFilter("WNF2"), {"WNF2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeTable table;
        const auto load = selectForcedTypes(forcedFile(names), c.selection, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names, c.expected);
    }
}

TEST(TypeSelection, NonAsciiCharactersAreNotSizeCodes)
{
    // 'ä' has code 228 in the file's code page: above 'A' and above '@'.
    const auto free = matchingFreeTypes({"Wä", "W7"}, freeFilter("W"));
    EXPECT_EQ(free, (std::vector<std::size_t>{2}));
    const auto forced = matchingForcedTypes({"WFä", "WNFä", "WF9"}, forcedFilter("WF"));
    EXPECT_EQ(forced, (std::vector<std::size_t>{3}));
}

TEST(TypeLoad, FillsTheTableInBlocksOfTheTakenCount)
{
    // Filter "W" takes file types 1 and 3 of three: c = 2.
    TypeTable table;
    const auto load = selectFreeTypes(freeFile({"W1", "WM", "W3"}), freeFilter("W"), table);
    ASSERT_TRUE(load.ok()) << load.error();
    const char* expected[] = {"W1", "W3", "len 1", "len 3", "data 1", "data 3"};
    for (std::size_t k = 1; k <= 6; ++k) {
        SCOPED_TRACE("entry " + std::to_string(k));
        EXPECT_EQ(table.at(k).Text, expected[k - 1]);
    }
    EXPECT_EQ(table.at(1).TypeCount, 2);
    EXPECT_EQ(table.at(2).TypeCount, 2);
    EXPECT_EQ(table.at(3).TypeCount, 0); // only the name entries carry the count
    EXPECT_EQ(table.FileTypeCount, 3);
}

TEST(TypeLoad, ForcedTableHasAFanBlock)
{
    TypeTable table;
    const auto load = selectForcedTypes(forcedFile({"WF1", "WFs", "WF3"}), forcedFilter("WF"), table);
    ASSERT_TRUE(load.ok()) << load.error();
    const char* expected[] = {"WF1", "WF3", "len 1", "len 3", "data 1", "data 3", "fan 1", "fan 3"};
    for (std::size_t k = 1; k <= 8; ++k) {
        SCOPED_TRACE("entry " + std::to_string(k));
        EXPECT_EQ(table.at(k).Text, expected[k - 1]);
    }
    EXPECT_EQ(table.FileTypeCount, 3);
}

TEST(TypeLoad, EntriesBeyondTheLoadKeepAnEarlierLoad)
{
    TypeTable table;
    for (std::size_t k = 1; k <= TypeTable::Size; ++k)
        table.at(k) = {"old " + std::to_string(k), 99};

    ASSERT_TRUE(selectForcedTypes(forcedFile({"WF1", "WF2"}), TypeSelection{}, table).ok());
    EXPECT_EQ(table.at(8).Text, "fan 2");
    EXPECT_EQ(table.at(9).Text, "old 9");
    EXPECT_EQ(table.at(60).Text, "old 60");
    // The count is written only into the name entries; length, data and fan entries keep theirs.
    EXPECT_EQ(table.at(2).TypeCount, 2);
    EXPECT_EQ(table.at(3).TypeCount, 99);
    EXPECT_EQ(table.at(8).TypeCount, 99);
}

TEST(TypeLoad, NoTakenTypeLeavesTheEntries)
{
    TypeTable table;
    table.at(1) = {"old", 7};
    const auto load = selectFreeTypes(freeFile({"W1", "W2"}), freeFilter("WQ"), table);
    ASSERT_TRUE(load.ok()) << load.error();
    EXPECT_TRUE(load->names.empty());
    EXPECT_EQ(table.at(1).Text, "old");
    EXPECT_EQ(table.at(1).TypeCount, 7);
    EXPECT_EQ(table.FileTypeCount, 2);
}

TEST(TypeLoad, TakesAsManyTypesAsTheTableHoldsAndReportsTheCut)
{
    struct Case
    {
        bool forced;
        std::size_t typesInFile;
        std::size_t expectedTaken;
        bool expectedCut;
    };
    const Case cases[] = {
        {false, 20, 20, false},
        {false, 21, 20, true},
        {true, 15, 15, false},
        {true, 16, 15, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.forced ? "forced, " : "free, ") + std::to_string(c.typesInFile) + " types");
        Lines names;
        for (std::size_t j = 1; j <= c.typesInFile; ++j)
            names.push_back("W" + std::to_string(j));
        TypeTable table;
        const auto load = c.forced ? selectForcedTypes(forcedFile(names), TypeSelection{}, table)
                                   : selectFreeTypes(freeFile(names), TypeSelection{}, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names.size(), c.expectedTaken);
        EXPECT_EQ(load->cut, c.expectedCut);
        EXPECT_EQ(load->matchedCount, c.typesInFile);
        EXPECT_EQ(table.at(1).TypeCount, static_cast<std::int32_t>(c.expectedTaken));
        // The last block ends exactly at the table's last entry when the table is full.
        const std::size_t blocks = c.forced ? 4 : 3;
        const std::string lastBlock = c.forced ? "fan " : "data ";
        EXPECT_EQ(table.at(blocks * c.expectedTaken).Text, lastBlock + std::to_string(c.expectedTaken));
        EXPECT_EQ(table.FileTypeCount, static_cast<std::int32_t>(c.typesInFile));
    }
}

TEST(TypeLoad, CutsLongLinesToOneHundredCharacters)
{
    // 'ä' is two bytes in UTF-8 and one character in the file.
    std::string name = "W1 ";
    for (int i = 0; i < 117; ++i)
        name += "ä";
    Lines lines = freeFile({name});
    lines.back() = std::string(120, '7');
    TypeTable table;
    const auto load = selectFreeTypes(lines, TypeSelection{}, table);
    ASSERT_TRUE(load.ok()) << load.error();
    const std::string expectedName = name.substr(0, 3 + 97 * 2);
    EXPECT_EQ(table.at(1).Text, expectedName);
    EXPECT_EQ(load->names.front(), expectedName);
    EXPECT_EQ(table.at(3).Text, std::string(100, '7'));
}

TEST(TypeLoad, AnyLineWithoutWSeparatesTheNames)
{
    for (const std::string separator : {"", " ", "Laengen 1-3"}) {
        SCOPED_TRACE("separator \"" + separator + "\"");
        TypeTable table;
        const auto load = selectFreeTypes(freeFile({"W1", "W2"}, separator), TypeSelection{}, table);
        ASSERT_TRUE(load.ok()) << load.error();
        EXPECT_EQ(load->names, (Lines{"W1", "W2"}));
        EXPECT_EQ(table.at(3).Text, "len 1");
    }
}

TEST(TypeLoad, ShortFilesFailWithTheListIndexAndLeaveTheTable)
{
    Lines missingData = freeFile({"W1", "W2"});
    missingData.pop_back(); // 8 lines; type 2's data line would be line 2N + 2 + 2 = 8
    Lines missingFan = forcedFile({"WF1", "WF2"});
    missingFan.pop_back(); // type 2's fan line would be line 3N + 2 = 8
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
        {"empty file", {}, false, "Listenindex überschreitet das Maximum (1)"},
        {"heading only", {"Kopf"}, true, "Listenindex überschreitet das Maximum (1)"},
        {"data line missing", missingData, false, "Listenindex überschreitet das Maximum (8)"},
        {"fan line missing", missingFan, true, "Listenindex überschreitet das Maximum (8)"},
        // Type 1's data line (5) is read before type 2's length line (4).
        {"blocks cut short", missingLength, true, "Listenindex überschreitet das Maximum (5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeTable table;
        table.at(1) = {"old", 5};
        table.FileTypeCount = 9;
        const auto load = c.forced ? selectForcedTypes(c.lines, TypeSelection{}, table)
                                   : selectFreeTypes(c.lines, TypeSelection{}, table);
        ASSERT_FALSE(load.ok());
        EXPECT_EQ(load.error(), c.message);
        EXPECT_EQ(table.at(1).Text, "old");
        EXPECT_EQ(table.at(1).TypeCount, 5);
        EXPECT_EQ(table.FileTypeCount, 9);
    }
}

TEST(TypeLoad, NoTypesWhenTheFirstNameLacksW)
{
    TypeTable table;
    const auto load = selectFreeTypes({"Kopf", "", "x"}, TypeSelection{}, table);
    ASSERT_TRUE(load.ok()) << load.error();
    EXPECT_TRUE(load->names.empty());
    EXPECT_EQ(table.FileTypeCount, 0);
}

TEST(TypeLoad, ReadsTheInstallationFiles)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/install";
    TypeTable freeTable, forcedTable;
    const auto free = loadFreeTypes(dir, freeFilter("W"), freeTable);
    ASSERT_TRUE(free.ok()) << free.error();
    EXPECT_EQ(free->names, (Lines{"W1", "W2", "W3", "W4"}));
    EXPECT_EQ(freeTable.FileTypeCount, 6);
    EXPECT_EQ(freeTable.at(4 + 1).Text, "0800 1000 1200 1500 2000");

    TypeSelection cooling = forcedFilter("WNF");
    cooling.HeatingMode = false;
    const auto forced = loadForcedTypes(dir, cooling, forcedTable);
    ASSERT_TRUE(forced.ok()) << forced.error();
    EXPECT_EQ(forced->names, (Lines{"WNF1 Primaerluft", "WNF2 Primaerluft", "WNF3 Primaerluft"}));
    EXPECT_EQ(forcedTable.FileTypeCount, 12);
}

TEST(TypeLoad, MissingFileGivesTheOpenError)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/no-such-folder";
    TypeTable table;
    table.at(1).Text = "old";
    for (bool forced : {false, true}) {
        SCOPED_TRACE(forced ? "forced" : "free");
        const auto load = forced ? loadForcedTypes(dir, TypeSelection{}, table)
                                 : loadFreeTypes(dir, TypeSelection{}, table);
        ASSERT_FALSE(load.ok());
        const std::string file = forced ? ForcedTypeFileName : FreeTypeFileName;
        EXPECT_EQ(load.error(), "Datei " + (dir / file).string() + " kann nicht geöffnet werden");
        EXPECT_EQ(table.at(1).Text, "old");
    }
}

TEST(TypeRecords, ReadsEveryTypeWithItsLines)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/install";
    const auto forced = readAllTypes(dir, true);
    ASSERT_TRUE(forced.ok()) << forced.error();
    ASSERT_EQ(forced->size(), 12u);
    const TypeRecord& dwf = forced->back();
    EXPECT_EQ(dwf.name, "DWF Deckengeraet");
    EXPECT_EQ(dwf.lengthLine, "1100 1800");
    EXPECT_DOUBLE_EQ(fieldValue(dwf.dataLine, 1, 6), 5.0);
    EXPECT_DOUBLE_EQ(fieldValue(dwf.fanLine, 23, 10), 1.0);

    const auto free = readAllTypes(dir, false);
    ASSERT_TRUE(free.ok()) << free.error();
    ASSERT_EQ(free->size(), 6u);
    EXPECT_EQ(free->front().name, "W1");
    EXPECT_TRUE(free->front().fanLine.empty());

    Lines shortFile = forcedFile({"WF1", "WF2"});
    shortFile.pop_back();
    const auto broken = typesFromLines(shortFile, true);
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error(), "Listenindex überschreitet das Maximum (8)");
}

TEST(TypeIndex, SplitsALineIntoKindNameAndFilter)
{
    struct Case
    {
        const char* line;
        char kind;
        const char* shownName;
        const char* chosenTypeRow;
        bool cooling;
    };
    // clang-format off
    const Case cases[] = {
        {"F          W",                 'F', " W",     "W",                 false},
        {"ZHW        WFW-2L Zweileiter", 'Z', " WFW-2", "WFW-2L Zweileiter", true},
        {"Z          WNF  HW",           'Z', " WNF  ", "WNF  HW",           true},
        {"O   kurz",                     'O', "",       "",                  false},
        {"",                             0,   "",       "",                  false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const TypeIndexLine parsed = parseTypeIndexLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind);
        EXPECT_EQ(parsed.shownName, c.shownName);
        EXPECT_EQ(parsed.chosenTypeRow, c.chosenTypeRow);
        EXPECT_EQ(parsed.cooling, c.cooling);
    }
    const std::string longLine = "F          " + std::string(300, 'W');
    EXPECT_EQ(parseTypeIndexLine(longLine).chosenTypeRow.size(), MaxChosenTypeRowLength);
}

} // namespace
} // namespace tepa
