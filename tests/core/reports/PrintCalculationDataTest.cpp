#include "RecordingSurface.h"

#include "core/reports/PrintLayouts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tepa {
namespace {

namespace fs = std::filesystem;
using test::RecordingSurface;

// Device units at 600 dpi: layout units times 2.
constexpr int S = 2;

class PrintCalculationData : public ::testing::Test
{
protected:
    PrintCalculationData()
    {
        project.Number.setText("N1");
        project.RoomName.setText("Büro 1");
        project.HeatingRoomTemp = 20;
        project.HeatingDemand = 1500;
        project.HeatingFlowTemp = 75;
        project.CoolingRoomTemp = 26;
        project.CoolingDemand = 820;
        project.CoolingFlowTemp = 16;
        project.CoolingSecondTemp = 18;
    }

    HeatingEntry& heating(std::size_t k, const char* type, int count, double output)
    {
        auto& e = project.HeatingEntries[k - 1];
        e.TypeName.setText(type);
        e.Count = count;
        e.Output = output;
        project.HeatingEntryCount =
            std::max<std::int32_t>(project.HeatingEntryCount, static_cast<std::int32_t>(k));
        project.HeatingInUse = true;
        return e;
    }
    CoolingEntry& cooling(std::size_t k, const char* type, int count, double output)
    {
        auto& e = project.CoolingEntries[k - 1];
        e.TypeName.setText(type);
        e.Count = count;
        e.Output = output;
        project.CoolingEntryCount =
            std::max<std::int32_t>(project.CoolingEntryCount, static_cast<std::int32_t>(k));
        return e;
    }

    RecordingSurface print(bool letterPaper = false)
    {
        RecordingSurface surface(600);
        PrintContext context{project, texts, m_dir.path(), "06.12.2026", letterPaper};
        result = printCalculationData(surface, context);
        return surface;
    }

    // The text at layout (x, y) on `page`, or "" when there is none.
    static std::string textAt(const RecordingSurface& surface, int page, int x, int y)
    {
        for (const auto& t : surface.at(page, y * S))
            if (t.x == x * S)
                return t.text;
        return "";
    }
    // The text ending at layout edge `edge` on line `y` of `page`, or "<none>".
    static std::string endingAt(const RecordingSurface& surface, int page, int y, int edge)
    {
        const auto t = surface.endingAt(page, y * S, edge * S);
        return t ? t->text : "<none>";
    }

    ProjectRecord project;
    InterfaceTexts texts = test::numberedTexts();
    Status result = Done{};
    test::ProgramDir m_dir;
};

TEST_F(PrintCalculationData, HeatingHeadingAndRowColumns)
{
    auto& e = heating(1, "W2", 3, 412.6);
    e.Height = 110;
    e.Length = 1250;
    e.ReturnTemp = 64.5;
    e.MassFlow = 95.44;
    e.PressureDrop = 1234.5;
    e.SoundLevel = 25;
    const auto s = print();
    ASSERT_TRUE(result);
    EXPECT_EQ(textAt(s, 1, 800, 1220), "Büro 1");
    EXPECT_EQ(textAt(s, 1, 1400, 1320), "T27 75.0");
    EXPECT_EQ(textAt(s, 1, 300, 1390), "T109                >>  T164  <<");
    EXPECT_EQ(s.at(1, 1390 * S).front().font.points, 10);
    const int y = 1550;
    EXPECT_EQ(textAt(s, 1, 300, y), " 1  W2");
    struct Case
    {
        int edge;
        const char* text;
    };
    // 412.6 rounds to 413 and 3 x 412.6 = 1237.8 to 1238; 64.5 and 1234.5 round away from zero.
    // clang-format off
    const Case cases[] = {
        {640, "110"}, {820, "1250"}, {910, " 3"}, {1050, "65"}, {1230, " 95"}, {1380, "----"},
        {1520, "----"}, {1670, "1235"}, {1820, " 25"}, {2020, " 413"}, {2250, " 1238"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edge);
        EXPECT_EQ(endingAt(s, 1, y, c.edge), c.text);
    }
    for (const auto& t : s.at(1, y * S))
        EXPECT_EQ(t.font.points, 11) << t.text;
}

TEST_F(PrintCalculationData, RowsPrintTheTypeCodeWithoutItsDescription)
{
    // The description would run into the height column; the percentage still sees the series.
    heating(1, "WFW-2L Zwe", 1, 100).FanSpeed = 1200;
    const auto s = print();
    ASSERT_TRUE(result);
    EXPECT_EQ(textAt(s, 1, 300, 1550), " 1  WFW-2L");
    EXPECT_EQ(endingAt(s, 1, 1550, 1520), "  75");
}

TEST_F(PrintCalculationData, FanColumnsFollowTheSeries)
{
    struct Case
    {
        const char* type;
        double fanSpeed;
        double fanSetting;
        const char* volume;
        const char* percent;
    };
    // Percent = speed / 14 ("WF", "DWF"), / 16 ("WFs", "WFW"), / 11.5 ("WFWL").
    // clang-format off
    const Case cases[] = {
        {"WNF2", 900, 85, " 85", "----"},
        {"WFW", 1200, 0, "----", "  75"},
        {"WFWL", 1150, 0, "----", " 100"},
        {"DWF", 700, 0, "----", "  50"},
        {"W3", 0, 0, "----", "----"},
    };
    // clang-format on
    std::size_t k = 1;
    for (const auto& c : cases) {
        auto& e = heating(k++, c.type, 1, 100);
        e.FanSpeed = c.fanSpeed;
        e.FanSetting = c.fanSetting;
    }
    const auto s = print();
    ASSERT_TRUE(result);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].type);
        const int y = 1550 + 160 * static_cast<int>(i);
        EXPECT_EQ(endingAt(s, 1, y, 1380), cases[i].volume);
        EXPECT_EQ(endingAt(s, 1, y, 1520), cases[i].percent);
    }
}

TEST_F(PrintCalculationData, SecondLineAndTotalsOfHeating)
{
    auto& a = heating(1, "DWF", 2, 500);
    a.CoolingNominalOutput = 300.4;
    heating(2, "WFW", 1, 250.4);
    heating(3, "WFWL", 1, 100).CoolingNominalOutput = 120;
    const auto s = print();
    ASSERT_TRUE(result);

    EXPECT_EQ(textAt(s, 1, 975, 1630), "T211");
    EXPECT_EQ(endingAt(s, 1, 1630, 2020), " 300");
    EXPECT_EQ(endingAt(s, 1, 1630, 2250), "  601");
    EXPECT_TRUE(s.at(1, 1790 * S).empty()); // entry 2 has no nominal cooling output

    // Totals 160 below the last row (1870): 1000 + 250.4 + 100, and 600.8 + 120.
    EXPECT_EQ(textAt(s, 1, 1400, 2030), "T111");
    EXPECT_EQ(endingAt(s, 1, 2030, 2250), " 1350");
    EXPECT_EQ(textAt(s, 1, 1400, 2110), "T187");
    EXPECT_EQ(endingAt(s, 1, 2110, 2250), "  721");
}

TEST_F(PrintCalculationData, TwelveEntriesBreakAfterTheTenthAndTenStayOnOnePage)
{
    for (std::size_t k = 1; k <= 10; ++k)
        heating(k, "W1", 1, 100);
    const auto ten = print();
    EXPECT_EQ(ten.pages, 1);
    EXPECT_EQ(ten.find("--> 2"), nullptr);
    EXPECT_EQ(textAt(ten, 1, 1400, 1550 + 1600), "T111");

    heating(11, "W1", 1, 100);
    heating(12, "W1", 1, 100);
    const auto s = print();
    ASSERT_TRUE(result);
    EXPECT_EQ(s.pages, 2);
    EXPECT_EQ(textAt(s, 1, 300, 1550 + 160 * 9), "10  W1");

    const auto* marker = s.find("--> 2");
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->page, 1);
    EXPECT_EQ(marker->x, 2000 * S);
    EXPECT_EQ(marker->y, 3200 * S);

    EXPECT_EQ(textAt(s, 2, 800, 700), "T112  2");
    EXPECT_EQ(textAt(s, 2, 1100, 700), "( zu T107N1 )");
    EXPECT_EQ(textAt(s, 2, 300, 1000), "11  W1");
    EXPECT_EQ(textAt(s, 2, 300, 1160), "12  W1");
    EXPECT_EQ(textAt(s, 2, 300, 1450), ""); // no table heading on the second page
    EXPECT_EQ(textAt(s, 2, 1400, 1320), "T111");
    EXPECT_EQ(endingAt(s, 2, 1320, 2250), " 1200");
}

TEST_F(PrintCalculationData, HeatingInUsePicksTheTable)
{
    heating(1, "W1", 1, 100);
    cooling(1, "WFW", 1, 200);
    EXPECT_EQ(textAt(print(), 1, 300, 1450), "T110");
    project.HeatingInUse = false;
    EXPECT_EQ(textAt(print(), 1, 300, 1450), "T186");
}

TEST_F(PrintCalculationData, CoolingHeadingVariants)
{
    struct Case
    {
        std::vector<const char*> types;
        const char* at1300;
        const char* at1370;
    };
    const Case cases[] = {
        {{"WNF1", "WNF2"}, "T208  18", ""},           // primary air only
        {{"WNF1", "WFWL"}, "T190  16.0", "T208  18"}, // both
        {{"WNF1", ""}, "T190  16.0", "T208  18"},     // an empty name counts as water
        {{}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.types.size());
        project = ProjectRecord{};
        project.CoolingFlowTemp = 16;
        project.CoolingSecondTemp = 18;
        project.CoolingRoomTemp = 26;
        project.CoolingDemand = 820;
        std::size_t k = 1;
        for (const char* type : c.types)
            cooling(k++, type, 1, 100);
        const auto s = print();
        EXPECT_EQ(textAt(s, 1, 1400, 1300), c.at1300);
        EXPECT_EQ(textAt(s, 1, 1400, 1370), c.at1370);
    }
}

TEST_F(PrintCalculationData, CoolingRowColumns)
{
    auto& water = cooling(1, "WFWL", 3, -412.6);
    water.Height = 110;
    water.Length = 1000;
    water.ReturnTemp = 18;
    water.MassFlow = -45.2;
    water.FanSpeed = 1150;
    water.PressureDrop = 800;
    water.SoundLevel = -31;
    auto& air = cooling(2, "WNF1", 1, 300);
    air.FanSetting = 120;
    air.ReturnTemp = 18;
    cooling(3, "WF2", 1, 100).FanSpeed = 1400; // plain "WF" has no percentage when cooling
    const auto s = print();
    ASSERT_TRUE(result);

    struct Case
    {
        int y, edge;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {1550, 1190, " 45"}, {1550, 1480, " 100"}, {1550, 1790, " 31"}, {1550, 2180, "-1238"},
        {1710, 1020, "--"}, {1710, 1360, "120"}, {1870, 1480, "----"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "/" + std::to_string(c.edge));
        EXPECT_EQ(endingAt(s, 1, c.y, c.edge), c.text);
    }
    // -1237.8 + 300 + 100
    EXPECT_EQ(textAt(s, 1, 1320, 2030), "T187");
    EXPECT_EQ(endingAt(s, 1, 2030, 2180), " -838");
}

TEST_F(PrintCalculationData, MissingLogoStopsThePrintout)
{
    fs::remove(m_dir.logo());
    heating(1, "W1", 1, 100);
    const auto s = print();
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), "Datei " + m_dir.logo().string() + " kann nicht geöffnet werden");
    EXPECT_TRUE(s.texts.empty());
}

} // namespace
} // namespace tepa
