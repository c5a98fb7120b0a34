#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"
#include "core/reports/TechnicalData.h"

#include "core/GoldenCalls.h"
#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

// The convector list, the technical data file and the layouts on a surface without fonts (where
// the texts land is checked on the Qt surface with the real font, in tests/platform).

namespace tepa {
namespace {

template <class Entry> void add(Entry& e, const std::string& fields)
{
    std::istringstream in(fields);
    std::string type, height, length, count;
    std::getline(in, type, '|'), std::getline(in, height, '|'), std::getline(in, length, '|');
    std::getline(in, count);
    e.TypeName.setText(type);
    e.Height = std::stod(height), e.Length = std::stod(length), e.Count = std::stoi(count);
    e.InUse = true;
}

TEST(ConvectorList, LinesOfEveryRoomAreTheGoldenOnesAndStopAtTheFirstFreeSlot)
{
    test::checkGoldenCases(TEPA_TEST_DATA_DIR "/reports/convector-lists.txt", [](const std::vector<std::string>& entries) {
        ProjectRecord p;
        p.RoomCount = 1;
        for (const std::string& entry : entries) {
            const std::string fields = entry.substr(entry.find(": ") + 2);
            if (entry.starts_with("heating: "))
                add(p.HeatingEntries[p.HeatingEntryCount++], fields);
            else if (entry.starts_with("cooling: "))
                add(p.CoolingEntries[p.CoolingEntryCount++], fields);
            else // "left over": beyond the list's count
                add(p.HeatingEntries[MaxEntries - 1], fields);
        }
        return convectorListLines(BuildConvectorList(p));
    });

    ConvectorListSlots slots = emptyConvectorList();
    slots[0] = "a", slots[1] = "", slots[2] = "b", slots[4] = "after the end";
    EXPECT_EQ(convectorListLines(slots), (std::vector<std::string>{"a", "b"}));
    slots.fill("x");
    EXPECT_EQ(convectorListLines(slots).size(), 100u);
}

class SurfaceWithoutFonts : public PrintSurface
{
public:
    int verticalDpi() const override { return 0; }
    void setFont(const std::string&, int, bool) override {}
    void drawText(int x, int y, const std::string& text) override
    {
        ++texts, maxX = std::max(maxX, x), maxY = std::max(maxY, y);
        drawn.push_back(text);
    }
    int textWidth(const std::string&) override { return 0; }
    Status loadBitmap(const std::filesystem::path&) override { return Done{}; }
    void drawBitmap(int, int, int, int) override {}
    void newPage() override {}

    int texts = 0, maxX = 0, maxY = 0;
    std::vector<std::string> drawn;
};

// A list line of another shape is printed as its text without the last 4 characters and the
// count from its last 3; the cut counts characters, not bytes, so "°" stays whole.
TEST(PrintLayouts, EndOnASurfaceThatMeasuresNothing)
{
    ProjectRecord p;
    p.RoomCount = 1;
    p.HeatingEntryCount = 1;
    p.HeatingEntries[0].TypeName.setText("WF2");
    const InterfaceTexts texts = InterfaceTexts::fromRawLines({});
    const std::vector<std::string> foreign = {"   Gerät ä°  9", " "};
    for (int printout = 0; printout < 4; ++printout) {
        SurfaceWithoutFonts surface;
        PrintContext context{p, texts, "", "07.12.2026", true};
        const Status done = printout == 0   ? printConvectorList(surface, context, BuildConvectorList(p))
                            : printout == 3 ? printConvectorList(surface, context, foreign)
                                            : printCalculationData(surface, context,
                                                                   printout == 1 ? PrintMode::Heating : PrintMode::Cooling);
        EXPECT_TRUE(done);
        EXPECT_EQ(context.PrintScale, 1.0);
        EXPECT_GT(surface.texts, 10);
        EXPECT_LE(surface.maxX, 2480); // layout units at scale 1: inside the A4 sheet
        EXPECT_LE(surface.maxY, 3508);
        if (printout == 3) {
            const auto at = std::find(surface.drawn.begin(), surface.drawn.end(), "   Gerät ä");
            ASSERT_LT(at + 1, surface.drawn.end());
            EXPECT_EQ(at[1], "9");
        }
    }
}

std::string fileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// tests/data/reports/techdaten-room.kon: room "Büro 1" with a WF2 heating entry (50 % of the
// series' 1400 rpm) and a WFW-2L cooling entry (75 % of 1600 rpm), both in use.
// techdaten-both-lists.txt is its whole file, written out from the format's table by hand.
ProjectRecord room()
{
    const std::string bytes = fileText(TEPA_TEST_DATA_DIR "/reports/techdaten-room.kon");
    return ProjectCodec::decode(std::as_bytes(std::span(bytes))).value();
}

// The files of rooms that differ from the hand-written one in one respect each.
TEST(TechnicalDataBytes, OfRoomVariantsAreTheGoldenOnes)
{
    EXPECT_EQ(TechnicalDataBytes(room()), fileText(TEPA_TEST_DATA_DIR "/techdaten-both-lists.txt"));
    const std::pair<const char*, std::function<void(ProjectRecord&)>> variants[] = {
        {"neither list in use",
         [](ProjectRecord& p) { p.HeatingEntries[0].InUse = p.CoolingEntries[0].InUse = p.CoolingInUse = false; }},
        // The heating section ends with an empty line, the cooling section without one.
        {"heating only", [](ProjectRecord& p) { p.CoolingEntries[0].InUse = p.CoolingInUse = false; }},
        // The list's flag writes the section also when its first entry is not in use.
        {"cooling flag only",
         [](ProjectRecord& p) {
             p.HeatingEntries[0].InUse = p.CoolingEntries[0].InUse = false;
             p.CoolingInUse = true;
         }},
        // An entry opened without a type: everything zero, and no fan series, so 0 %.
        {"entry without type", [](ProjectRecord& p) { p.HeatingEntryCount = 2; }},
        // A project file can hold any bytes in its names; the reader splits lines at CR LF and
        // fields at TAB, so those characters are written as blanks.
        {"names from a damaged file",
         [](ProjectRecord& p) {
             p.RoomName.setText("A\r\nB\tC\rD\n");
             p.HeatingEntries[0].TypeName.setText("WF\t2\r\n");
             p.CoolingEntries[0].TypeName.setText("W\nFW\r");
         }},
        // Primary-air types write the air flow instead of water and fan.
        {"primary air",
         [](ProjectRecord& p) {
             p.HeatingEntries[0].TypeName.setText("WNF2");
             p.CoolingEntries[0].TypeName.setText("WNF1");
         }},
        // The fan speed is a percentage of the series' top speed: "WFWL" comes after "WFW",
        // "DWF" last, 50.5 rounds away from zero, and a type without fan gives 0.
        {"fan speeds",
         [](ProjectRecord& p) {
             const std::pair<const char*, double> speeds[] = {
                 {"WFW-4L", 1600}, {"WFWL-2", 1150}, {"DWF3", 1400}, {"WF2", 707}, {"W1", 1400}};
             p.HeatingEntryCount = 5;
             for (int i = 0; i < 5; ++i) {
                 p.HeatingEntries[i] = p.HeatingEntries[0];
                 p.HeatingEntries[i].TypeName.setText(speeds[i].first);
                 p.HeatingEntries[i].FanSpeed = speeds[i].second;
             }
         }},
    };
    test::Golden golden("reports");
    for (const auto& [what, change] : variants) {
        ProjectRecord p = room();
        change(p);
        golden(what, "\r\n" + TechnicalDataBytes(p));
    }

    // The file goes beside the project file, with its extension (written as a project file is saved).
    EXPECT_EQ(technicalDataFileFor("/p/a.b/Haus").string(), "/p/a.b/techdaten");
    EXPECT_EQ(technicalDataFileFor("/p/Haus.alt.kon").string(), "/p/techdaten.kon");
    EXPECT_EQ(technicalDataFileFor("Haus.kon").string(), "techdaten.kon");
}

} // namespace
} // namespace tepa
