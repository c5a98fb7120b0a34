#include "core/productdata/ProductData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

TEST(TypeLengthLine, TakesFourCharacterFieldsWhileTheStartLiesBeforeTheEnd)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> fields;
    };
    // clang-format off
    const Case cases[] = {
        {"0800 1000 1200",  {"0800", "1000", "1200"}},
        {"0800 1000 1",     {"0800", "1000"}},          // a field in the last column is not taken
        {"0800 1000 12",    {"0800", "1000", "12"}},    // one before it is, however short
        {"0800 1",          {"0800"}},
        {"ab",              {"ab"}},
        {"",                {""}},                      // one empty length
        {"\x80\x80",         {""}},                      // stray trail bytes start no field
        {"1100 1ä00 2000",  {"1100", "1ä00", "2000"}},  // columns count characters, not bytes
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("line \"") + c.line + "\"");
        EXPECT_EQ(lengthFields(c.line), c.fields);
    }
}

TEST(DataFields, ReadAtTheirColumns)
{
    EXPECT_DOUBLE_EQ(fieldValue("xx 1.25xx", 3, 5), 1.25); // right-aligned field
    EXPECT_DOUBLE_EQ(fieldValue("  4.50", 23, 3), 0.0);    // beyond the end of the line
    EXPECT_DOUBLE_EQ(heightOfLine("180      1.00     1.05"), 180);
}

TEST(HeightFactor, FieldChosenBySeriesCode)
{
    // Factors filling all five columns show a field shifted by one.
    const std::string line = "180      1.001    1.052    1.103    1.154";
    struct Case
    {
        const char* name;
        double factor;
    };
    // clang-format off
    const Case cases[] = {
        {"W1", 1.001}, {"W2 Sockel", 1.052}, {"W4", 1.154},
        {"W1 W4", 1.154},  // a later code overrides an earlier one,
        {"W4 W1", 1.154},  // in the order of the tests, not of the name
        {"W1 WM", 1},      // "WM" is tested after the size codes
        {"WF1", 1},        // "WF1" holds "F1", not "W1"
        {"Q", 1},          // no series code: factor 1, not the line's first characters
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto factor = heightFactor(c.name, line);
        ASSERT_TRUE(factor.ok()) << factor.error();
        EXPECT_DOUBLE_EQ(*factor, c.factor);
    }
}

TEST(HeightFactor, ReadsTheLocaleSeparatorAndRejectsOtherText)
{
    const std::string commaLine = "180      1,00     1,05     1,10     1,15";
    const auto withComma = heightFactor("W2", commaLine, ',');
    ASSERT_TRUE(withComma.ok()) << withComma.error();
    EXPECT_DOUBLE_EQ(*withComma, 1.05);

    const auto damaged = heightFactor("W1", "180      1.0x     1.05", '.');
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error(), "'1.0x ' ist kein gültiger Gleitkommawert");
}

TEST(OfferedHeights, BySeriesOrTheListIndexOfAShortList)
{
    std::vector<std::string> heights;
    for (int i = 0; i < 18; ++i)
        heights.push_back("line " + std::to_string(i));
    const std::vector<std::string> tenLines(heights.begin(), heights.begin() + 10), oneLine = {"line 0"};
    struct Case
    {
        const char* name;
        const std::vector<std::string>& list;
        std::vector<std::string> lines;
        std::size_t preselected;
        const char* message = nullptr;
    };
    const Case cases[] = {
        {"WFWL-2L Zweileiter", heights, {"line 15"}, 0},
        {"WFW-4L Vierleiter", heights, {"line 8"}, 0},
        {"W3", heights, heights, 1},
        {"WM", heights, {"line 1"}, 0},
        {"WFWL-2L", tenLines, {}, 0, "Listenindex überschreitet das Maximum (15)"},
        {"W1", oneLine, {}, 0, "Listenindex überschreitet das Maximum (1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto offered = offeredHeights(c.name, c.list);
        if (c.message) {
            ASSERT_FALSE(offered.ok());
            EXPECT_EQ(offered.error(), c.message);
            continue;
        }
        ASSERT_TRUE(offered.ok()) << offered.error();
        EXPECT_EQ(offered->lines, c.lines);
        EXPECT_EQ(offered->preselected, c.preselected);
    }
}

TEST(HeightList, LinesWithoutAHeightAreRefusedWithTheirLine)
{
    struct Case
    {
        std::vector<std::string> lines;
        const char* error; // nullptr: accepted
    };
    const Case cases[] = {
        {{"80        0.92", " 180      1.00"}, nullptr},
        {{"80        0.92", "nan       1.00"}, "bauhoehen.txt:2: expected a height in mm at the start of the line, found \"nan       \""},
        {{"", "80"}, "bauhoehen.txt:1: expected a height"},
        {{"0         1.00"}, "bauhoehen.txt:1: expected a height"},
        {{"9e999     1.00"}, "bauhoehen.txt:1: expected a height"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        const auto checked = checkedHeights(c.lines);
        ASSERT_EQ(checked.ok(), c.error == nullptr);
        if (c.error)
            EXPECT_EQ(checked.error().rfind(c.error, 0), 0u) << checked.error();
        else
            EXPECT_EQ(*checked, c.lines);
    }
}

TEST(HeightList, MissingFileGivesTheOpenError)
{
    const auto missing = loadHeights(TEPA_TEST_DATA_DIR "/no-such-folder");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("bauhoehen.txt kann nicht geöffnet werden"), std::string::npos);
}

} // namespace
} // namespace tepa
