#include "RecordingSurface.h"

#include "core/reports/PrintLayouts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tepa {
namespace {

namespace fs = std::filesystem;
using test::ProgramDir;
using test::RecordingSurface;

// One list slot as the convector list writes it: the key, then blanks so that the count starts
// in column 36.
std::string slotLine(const std::string& key, int count)
{
    return key + std::string(35 - key.size(), ' ') + std::to_string(count);
}

std::vector<std::string> listOf(int lines)
{
    std::vector<std::string> slots(100, " ");
    for (int i = 0; i < lines; ++i)
        slots[static_cast<std::size_t>(i)] =
            slotLine("   TYP" + std::to_string(10 + i) + " /   110 /  1250", i + 1);
    return slots;
}

class PrintConvectorList : public ::testing::Test
{
protected:
    PrintConvectorList()
    {
        project.Title.setText("Haus am See");
        project.Number.setText("P-42");
        const char* data[] = {"Bauherr GmbH", "Hauptstr. 5", "", "12345 Ort", "Tel. 1", "Meier", "Planung"};
        for (std::size_t i = 0; i < 7; ++i)
            project.DataLines[i].setText(data[i]);
    }

    Status print(RecordingSurface& surface, const std::vector<std::string>& slots, bool letterPaper = false)
    {
        PrintContext context{project, texts, dir.path(), "06.12.2026", letterPaper};
        context.PrintScale = 99; // stale from an earlier printout; must be set anew
        Status result = printConvectorList(surface, context, slots);
        scale = context.PrintScale;
        return result;
    }

    ProjectRecord project;
    InterfaceTexts texts = test::numberedTexts();
    ProgramDir dir;
    int scale = 0;
};

TEST(PrintScale, FollowsDeviceResolutionRoundedHalfToEven)
{
    // dpi / 300, halves to the even neighbour; coarser than 150 dpi keeps scale 1.
    const int cases[][2] = {{300, 1}, {450, 2}, {750, 2}, {1050, 4}, {96, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(PrintScaleFor(c[0]), c[1]) << c[0];
}

TEST_F(PrintConvectorList, NeutralPaperCarriesLetterheadTitleAndProjectBlock)
{
    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, listOf(1)));
    EXPECT_EQ(scale, 2);
    struct Case
    {
        const char* text;
        int x, y, points;
        bool bold;
    };
    // clang-format off
    const Case cases[] = {
        {"T141", 2400, 160, 9, true}, {"T143", 2400, 360, 8, false},
        {"06.12.2026", 3600, 860, 12, false}, {"T86", 800, 2400, 14, false},
        {"Meier , Planung", 1500, 1400, 12, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto* t = surface.find(c.text);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->x, c.x);
        EXPECT_EQ(t->y, c.y);
        EXPECT_EQ(t->font.points, c.points);
        EXPECT_EQ(t->font.bold, c.bold);
    }
    ASSERT_EQ(surface.bitmaps.size(), 1u);
    const auto& logo = surface.bitmaps[0];
    EXPECT_EQ(logo.file, dir.logo());
    EXPECT_EQ(logo.left, 3500);
    EXPECT_EQ(logo.top, 280);
    EXPECT_EQ(logo.width, 1000);
    EXPECT_EQ(logo.height, 440);
}

TEST_F(PrintConvectorList, LetterPaperDrawsNothingAboveTheTitleLine)
{
    fs::remove(dir.logo()); // letter paper never needs the logo
    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, listOf(1), true));
    EXPECT_TRUE(surface.bitmaps.empty());
    for (const auto& t : surface.texts)
        EXPECT_GE(t.y, 860) << t.text;
    ASSERT_NE(surface.find("T102"), nullptr);
}

TEST_F(PrintConvectorList, RowSplitsKeyAndCount)
{
    std::vector<std::string> slots(100, " ");
    slots[0] = slotLine("   W1 /   110 /  1250", 12);
    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, slots));
    const auto row = surface.at(1, 2860); // 1200 + 80 + 150 layout units
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0].x, 800);
    // 37 characters: the key, 14 blanks, "12"; all but the last 4 go to the left column.
    EXPECT_EQ(row[0].text, "   W1 /   110 /  1250" + std::string(12, ' '));
    EXPECT_EQ(row[1].x, 2400);
    EXPECT_EQ(row[1].text, " 12");
}

TEST_F(PrintConvectorList, TwentyFourLinesBreakAfterTwentyThreeAndTwentyThreeStayOnOnePage)
{
    RecordingSurface onePage(600);
    ASSERT_TRUE(print(onePage, listOf(23)));
    EXPECT_EQ(onePage.pages, 1);
    EXPECT_EQ(onePage.find("-> 2"), nullptr);
    EXPECT_EQ(onePage.texts.back().y, 2 * 3190);

    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, listOf(24)));
    EXPECT_EQ(surface.pages, 2);
    EXPECT_EQ(surface.at(1, 2 * (1430 + 80 * 22)).at(0).text.substr(0, 8), "   TYP32");
    const auto* marker = surface.find("-> 2");
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->page, 1);
    EXPECT_EQ(marker->x, 4000);
    EXPECT_EQ(marker->y, 6400);

    // Page 2: header again, page line, reference to the project, heading, then the last row.
    EXPECT_EQ(surface.at(2, 860).at(0).text, "T102");
    const auto pageLine = surface.at(2, 1500);
    ASSERT_EQ(pageLine.size(), 2u);
    EXPECT_EQ(pageLine[0].text, "T112 2");
    EXPECT_EQ(pageLine[1].text, "( zu T107P-42 )");
    EXPECT_EQ(surface.at(2, 1700).at(0).text, "T87");
    const auto last = surface.at(2, 1900);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].text.substr(0, 8), "   TYP33");
    EXPECT_EQ(surface.texts.back().y, 1900);
}

TEST_F(PrintConvectorList, ZeroLengthSlotUsesNoRow)
{
    auto slots = listOf(3);
    slots[1] = "";
    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, slots));
    // Slot 3 takes the second row (1510 layout units), the third row stays empty.
    ASSERT_EQ(surface.at(1, 3020).size(), 2u);
    EXPECT_EQ(surface.at(1, 3020)[0].text.substr(0, 8), "   TYP12");
    EXPECT_TRUE(surface.at(1, 3180).empty());
}

TEST_F(PrintConvectorList, FullSlotArrayStopsBeforeSlotHundredAndMarksEveryPage)
{
    // 99 rows: 23 on page 1, 29 on pages 2 and 3, 18 on page 4.
    RecordingSurface surface(600);
    ASSERT_TRUE(print(surface, listOf(100)));
    EXPECT_EQ(surface.pages, 4);
    int markers = 0;
    for (const auto& t : surface.texts)
        markers += t.text == "-> 2";
    EXPECT_EQ(markers, 3);
    EXPECT_NE(surface.find("T112 4"), nullptr);
    EXPECT_EQ(surface.texts.back().text, " 99");
    EXPECT_EQ(surface.texts.back().page, 4);
    EXPECT_EQ(surface.texts.back().y, 2 * (950 + 80 * 17));
}

TEST_F(PrintConvectorList, MissingLogoStopsThePrintout)
{
    fs::remove(dir.logo());
    RecordingSurface surface(600);
    const Status result = print(surface, listOf(3));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(),
              "Datei " + dir.logo().string() + " kann nicht geöffnet werden");
    EXPECT_TRUE(surface.texts.empty());
    EXPECT_TRUE(surface.bitmaps.empty());
}

} // namespace
} // namespace tepa
