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
        {"0800 1000 12",    {"0800", "1000", "12"}},
        {"",                {""}},                      // one empty length
        {"0800",            {"0800"}},
        {"0800 ",           {"0800"}},
        {"1250 2000 2750 ", {"1250", "2000", "2750"}},
        {"12",              {"12"}},
        {"1100 1ä00 2000",  {"1100", "1ä00", "2000"}},  // columns count characters, not bytes
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("line \"") + c.line + "\"");
        EXPECT_EQ(lengthFields(c.line), c.fields);
    }
}

TEST(TypeDataLine, ReadAtTheirColumns)
{
    struct Case
    {
        const char* line;
        std::size_t column, width;
        double value;
    };
    // clang-format off
    const Case cases[] = {
        {"xx 1.25xx", 3, 5, 1.25},    // right-aligned field
        {"  4.50  1.300 13.0", 1, 6, 4.5},
        {"  4.50  1.300 13.0", 8, 6, 1.3},
        {"  4.50  1.300 13.0", 15, 4, 13.0},
        {"  4.50", 23, 3, 0.0},       // beyond the end of the line
        {"-24.5 x", 1, 6, -24.5},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("line \"") + c.line + "\" column " + std::to_string(c.column));
        EXPECT_DOUBLE_EQ(fieldValue(c.line, c.column, c.width), c.value);
    }
}

TEST(HeightLine, LeadingNumberIsTheHeight)
{
    EXPECT_DOUBLE_EQ(heightOfLine("180      1.00     1.05     1.10     1.15"), 180);
    EXPECT_DOUBLE_EQ(heightOfLine(" 95      1.00"), 95);
    EXPECT_DOUBLE_EQ(heightOfLine("500"), 500);
    EXPECT_DOUBLE_EQ(heightOfLine(""), 0);
}

TEST(HeightFactor, FieldChosenBySeriesCode)
{
    const std::string line = "180      1.00     1.05     1.10     1.15";
    struct Case
    {
        const char* name;
        double factor;
    };
    // clang-format off
    const Case cases[] = {
        {"W1",         1.00},
        {"W2 Sockel",  1.05},
        {"W3",         1.10},
        {"W4",         1.15},
        {"W1 W4",      1.15},  // a later code overrides an earlier one,
        {"W4 W1",      1.15},  // in the order of the tests, not of the name
        {"W2 W3",      1.10},
        {"W1 WM",      1.00},  // "WM" is tested after the size codes
        {"WM",         1.00},
        {"WX",         1.00},
        {"WF1",        1.00},  // "WF1" holds "F1", not "W1"
        {"WFW-2L",     1.00},  // contains "WF"
        {"WNF2 W2",    1.00},
        {"DWF",        1.00},
        {"Q",          1.00},  // no series code: factor 1, not the line's first characters
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto factor = heightFactor(c.name, line);
        ASSERT_TRUE(factor.ok()) << factor.error();
        EXPECT_DOUBLE_EQ(*factor, c.factor);
    }

    // Factors filling all five columns show a field shifted by one.
    const std::string fullWidth = "180      1.001    1.052    1.103    1.154";
    const double fullWidthFactors[] = {1.001, 1.052, 1.103, 1.154};
    const char* series[] = {"W1", "W2", "W3", "W4"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(series[i]);
        const auto factor = heightFactor(series[i], fullWidth);
        ASSERT_TRUE(factor.ok()) << factor.error();
        EXPECT_DOUBLE_EQ(*factor, fullWidthFactors[i]);
    }
}

TEST(HeightFactor, ReadsTheLocaleSeparatorAndRejectsOtherText)
{
    const std::string commaLine = "180      1,00     1,05     1,10     1,15";
    const auto withComma = heightFactor("W2", commaLine, ',');
    ASSERT_TRUE(withComma.ok()) << withComma.error();
    EXPECT_DOUBLE_EQ(*withComma, 1.05);

    struct Case
    {
        const char* name;
        const char* line;
        char separator;
        const char* message;
    };
    const Case cases[] = {
        {"W2", "180      1,00     1,05     1,10     1,15", '.', "'1,05 ' ist kein gültiger Gleitkommawert"},
        {"W3", "180      1.00", '.', "'' ist kein gültiger Gleitkommawert"},
        {"W1", "180      1.0x     1.05", '.', "'1.0x ' ist kein gültiger Gleitkommawert"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto factor = heightFactor(c.name, c.line, c.separator);
        ASSERT_FALSE(factor.ok());
        EXPECT_EQ(factor.error(), c.message);
    }
}

TEST(OfferedHeights, BySeries)
{
    std::vector<std::string> heights;
    for (int i = 0; i < 18; ++i)
        heights.push_back("line " + std::to_string(i));
    struct Case
    {
        const char* name;
        std::vector<std::string> lines;
        std::size_t preselected;
    };
    const Case cases[] = {
        {"WFWL-2L Zweileiter", {"line 15"}, 0},
        {"WFW-4L Vierleiter", {"line 8"}, 0},
        {"WNF2 Primaerluft", {"line 8"}, 0},
        {"W3", heights, 1},
        {"W1 WM", heights, 1},
        {"WM", {"line 1"}, 0},
        {"WF1", {"line 1"}, 0},
        {"DWF Deckengeraet", {"line 1"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto offered = offeredHeights(c.name, heights);
        ASSERT_TRUE(offered.ok()) << offered.error();
        EXPECT_EQ(offered->lines, c.lines);
        EXPECT_EQ(offered->preselected, c.preselected);
    }
}

TEST(OfferedHeights, ShortListGivesTheListIndex)
{
    const std::vector<std::string> tenLines(10, "180      1.00");
    const std::vector<std::string> oneLine(1, "180      1.00");
    struct Case
    {
        const char* name;
        const std::vector<std::string>& list;
        const char* message;
    };
    const Case cases[] = {
        {"WFWL-2L", tenLines, "Listenindex überschreitet das Maximum (15)"},
        {"WFW-2L", oneLine, "Listenindex überschreitet das Maximum (8)"},
        {"W1", oneLine, "Listenindex überschreitet das Maximum (1)"},
        {"WM", oneLine, "Listenindex überschreitet das Maximum (1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto offered = offeredHeights(c.name, c.list);
        ASSERT_FALSE(offered.ok());
        EXPECT_EQ(offered.error(), c.message);
    }
}

TEST(HeightList, InstallationLinesGiveHeightAndFactors)
{
    const auto heights = loadHeights(TEPA_TEST_DATA_DIR "/install");
    ASSERT_TRUE(heights.ok()) << heights.error();
    ASSERT_GE(heights->size(), 16u);
    // Line 6 is the 180 mm reference height of the fixture.
    EXPECT_DOUBLE_EQ(heightOfLine((*heights)[6]), 180);
    for (const char* name : {"W1", "W2", "W3", "W4"}) {
        SCOPED_TRACE(name);
        const auto factor = heightFactor(name, (*heights)[6]);
        ASSERT_TRUE(factor.ok()) << factor.error();
        EXPECT_DOUBLE_EQ(*factor, 1.0);
    }
    const auto missing = loadHeights(TEPA_TEST_DATA_DIR "/no-such-folder");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("bauhoehen.txt kann nicht geöffnet werden"), std::string::npos);
}

} // namespace
} // namespace tepa
