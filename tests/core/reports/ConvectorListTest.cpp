#include "core/reports/ConvectorList.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tepa {
namespace {

struct Item
{
    const char* type;
    double heightMm;
    double lengthMm;
    int count;
};

template <class Entry, std::size_t N> void fill(std::array<Entry, N>& entries, const std::vector<Item>& items)
{
    for (std::size_t k = 0; k < items.size(); ++k) {
        Entry& e = entries[k];
        e.TypeName.setText(items[k].type);
        e.Height = items[k].heightMm;
        e.Length = items[k].lengthMm;
        e.Count = items[k].count;
        e.InUse = true;
    }
}

// A project of one room with these entries; the lists' counts cover exactly the entries given.
ProjectRecord projectWith(const std::vector<Item>& heating, const std::vector<Item>& cooling = {})
{
    ProjectRecord p;
    p.RoomCount = 1;
    p.HeatingEntryCount = static_cast<std::int32_t>(heating.size());
    p.CoolingEntryCount = static_cast<std::int32_t>(cooling.size());
    fill(p.HeatingEntries, heating);
    fill(p.CoolingEntries, cooling);
    return p;
}

std::vector<std::string> linesOf(const ProjectRecord& p)
{
    return convectorListLines(BuildConvectorList(p));
}

// Hand-written lines: the key of "WF2", 110 mm high and 1250 mm long is 22 characters
// ("   WF2 /   110 /  1250"), so 13 blanks bring the count to column 36.
const std::string wf2Line = "   WF2 /   110 /  1250             ";

// --- Keys -----------------------------------------------------------------------------------

TEST(ListKey, WritesNameAndRightAlignedWholeNumbers)
{
    struct Case
    {
        const char* type;
        double heightMm;
        double lengthMm;
        std::string key;
    };
    // clang-format off
    const Case cases[] = {
        {"A",          110,    1250,   "   A /   110 /  1250"},          // 20 characters
        {"WF2",        110.5,  1249.5, "   WF2 /   111 /  1250"},        // halves away from zero
        {"W1",         123456, 7,      "   W1 / 123456 /     7"},        // wider than the field
        {"WFW-2L    ", 220,    2000,   "   WFW-2L /   220 /  2000"},     // a heating entry: the code
        {"WFW-2L Zwe", 220,    2000,   "   WFW-2L /   220 /  2000"},     // up to its first blank
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        FixedString<10> name;
        name.setText(c.type);
        EXPECT_EQ(ListKey(name, c.heightMm, c.lengthMm), c.key);
    }
}

// --- Building -------------------------------------------------------------------------------

TEST(BuildConvectorList, ProjectWithoutNamedEntriesLeavesEverySlotFree)
{
    ProjectRecord unnamed = projectWith({{"", 110, 1250, 3}}, {{"", 110, 1250, 2}});
    for (const ProjectRecord& p : {ProjectRecord{}, projectWith({}), unnamed}) {
        const ConvectorListSlots slots = BuildConvectorList(p);
        for (const std::string& slot : slots)
            EXPECT_EQ(slot, " ");
        EXPECT_TRUE(convectorListLines(slots).empty());
    }
}

TEST(BuildConvectorList, CombinesEqualKeysWithinAndAcrossLists)
{
    struct Case
    {
        const char* name;
        std::vector<Item> heating;
        std::vector<Item> cooling;
        std::string count;
    };
    const Item a2{"WF2", 110, 1250, 2};
    const Item a3{"WF2", 110, 1250, 3};
    const Item a4{"WF2", 110, 1250, 4};
    // clang-format off
    const Case cases[] = {
        {"two heating entries add up",            {a2, a3},     {},       "5"},
        {"three cooling entries take two passes", {},           {a2, a3, a4}, "9"},
        {"cooling larger than heating",           {a2},         {a4},     "4"},
        {"sums first, then the larger sum",       {a2, a3},     {a4, a4}, "8"},
        {"larger heating sum wins",               {a4, a4},     {a2, a3}, "8"},
        // A heating entry keeps ten characters of the type's name, a cooling entry its code.
        {"a dual-use unit is ordered once",       {{"WF2       ", 110, 1250, 2}}, {a3}, "3"},
        {"also with a description after one blank", {{"WF2 Zweile", 110, 1250, 4}}, {a3}, "4"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = linesOf(projectWith(c.heating, c.cooling));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], wf2Line + c.count);
    }
}

TEST(BuildConvectorList, SkipsUnnamedEntriesAndEntriesBeyondTheCount)
{
    ProjectRecord p = projectWith({{"WF2", 110, 1250, 2}, {"", 110, 1250, 7}}, {{"", 110, 1250, 9}});
    // A named entry after the list's last entry is left over from a longer list.
    p.HeatingEntries[2].TypeName.setText("WF2");
    p.HeatingEntries[2].Height = 110;
    p.HeatingEntries[2].Length = 1250;
    p.HeatingEntries[2].Count = 5;
    EXPECT_EQ(linesOf(p), std::vector<std::string>{wf2Line + "2"});
}

TEST(BuildConvectorList, LinesComeInDescendingKeyOrderHeatingAndCoolingMixed)
{
    const ProjectRecord p = projectWith({{"A", 110, 1000, 1}, {"C", 90, 500, 2}, {"B", 110, 1000, 3}},
                                        {{"B", 90, 2000, 4}, {"D", 110, 1000, 5}, {"B", 1100, 800, 6}});
    const std::vector<std::string> expected = {
        "   D /   110 /  1000               5", "   C /    90 /   500               2",
        "   B /  1100 /   800               6", // "1100" outranks "  110" as right-aligned text
        "   B /   110 /  1000               3", "   B /    90 /  2000               4",
        "   A /   110 /  1000               1",
    };
    EXPECT_EQ(linesOf(p), expected);
}

TEST(BuildConvectorList, LongKeysGetOneBlankAndLinesAreCutAt50Characters)
{
    struct Case
    {
        const char* name;
        Item item;
        std::string line;
    };
    // clang-format off
    const Case cases[] = {
        // 3 + 10 + 3 + 12 + 3 + 4 = 35 characters: one blank, then the count.
        {"35-character key", {"ABCDEFGHIJ", 123456789012, 1250, 3},
         "   ABCDEFGHIJ / 123456789012 /  1250 3"},
        // 3 + 10 + 3 + 14 + 3 + 15 = 48 characters: blank and count "15" make 51, cut to 50.
        // Umlauts are one character each, also where the line is cut.
        {"cut counts characters", {"ÄÄÄÄÄÄÄÄÄÄ", 12345678901234, 123456789012345, 15},
         "   ÄÄÄÄÄÄÄÄÄÄ / 12345678901234 / 123456789012345 1"},
        // A 51-character key keeps its first 50 characters; no room is left for the count.
        {"key longer than a line", {"ABCDEFGHIJ", 1e15, 1e15, 2},
         "   ABCDEFGHIJ / 1000000000000000 / 100000000000000"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = linesOf(projectWith({c.item}));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.line);
    }
}

TEST(BuildConvectorList, TwelvePlusTwelveDistinctEntriesFillSlotsOneTo24)
{
    std::vector<Item> heating, cooling;
    for (int k = 0; k < 12; ++k) {
        heating.push_back({"H", 100.0 + k, 1000, 1});
        cooling.push_back({"K", 100.0 + k, 1000, 2});
    }
    const ConvectorListSlots slots = BuildConvectorList(projectWith(heating, cooling));
    EXPECT_EQ(slots[0], "   K /   111 /  1000               2");
    EXPECT_EQ(slots[23], "   H /   100 /  1000               1");
    EXPECT_EQ(slots[24], " ");
    EXPECT_EQ(convectorListLines(slots).size(), 24u);
}

TEST(ConvectorListLines, StopAtTheFirstFreeSlotAndSkipEmptySlots)
{
    ConvectorListSlots slots = emptyConvectorList();
    slots[0] = "a";
    slots[1] = "";
    slots[2] = "b";
    slots[4] = "after the end";
    EXPECT_EQ(convectorListLines(slots), (std::vector<std::string>{"a", "b"}));
    slots.fill("x");
    EXPECT_EQ(convectorListLines(slots).size(), 100u);
}

} // namespace
} // namespace tepa
