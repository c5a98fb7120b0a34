// The printouts with the real font's widths: nothing leaves the sheet or overlaps, at every
// resolution and on both papers; what is drawn where equals tests/data/print/printouts.txt (at
// 300 dpi; TEPA_WRITE_GOLDEN=1 rewrites it).
#include "RecordingSurface.h"

#include "core/model/ProjectFile.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"
#include "core/text/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <QtGui>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tepa::test {
namespace {

namespace fs = std::filesystem;

const fs::path dataDir = TEPA_SOURCE_DATA_DIR;

// The sample project, or one of tests/data/print: "fullest" (every field and value as wide as
// allowed, 12 entries in each list, a fan unit, primary air, negative stored cooling values),
// "primary air only" (in the cooling list), "empty fields" (no lone separators).
ProjectRecord load(const fs::path& file)
{
    return *loadProjectFile(file.is_absolute() ? file : fs::path(TEPA_TEST_DATA_DIR) / "print" / file);
}

TEST(Printouts, StayOnTheSheetWithoutOverlapsAndDrawWhatTheTranscriptHolds)
{
    struct Box
    {
        int page;
        QRectF box;
        std::string text, line;
    };
    const struct
    {
        const char* name;
        fs::path file;
        const char* foreignLine; // a list line of another making: key and count, cut by characters
    } projects[] = {{"dual use", dataDir / "Beispiel.kon", nullptr},
                    {"fullest", "fullest.kon", nullptr},
                    {"primary air only", "primary-air-only.kon", "Kühlbalken Süd Ü  7"},
                    {"empty fields", "empty-fields.kon", "AB"}};
    const std::pair<const char*, std::optional<PrintMode>> sheets[] = {// no mode: the convector list
                                                                       {"list", std::nullopt},
                                                                       {"heating", PrintMode::Heating},
                                                                       {"cooling", PrintMode::Cooling}};
    const InterfaceTexts texts = *InterfaceTexts::load(dataDir);
    std::ostringstream transcript;
    for (const auto& project : projects) {
        const ProjectRecord record = load(project.file);
        ConvectorListSlots listLines = BuildConvectorList(record);
        if (project.foreignLine)
            listLines[1] = project.foreignLine;
        for (const auto& [sheet, mode] : sheets) {
            for (const bool letterPaper : {false, true}) {
                std::vector<int> tops300; // the layout keeps its size on paper at every resolution
                for (const int dpi : {300, 360, 600, 720}) {
                    SCOPED_TRACE(testing::Message() << project.name << ", " << sheet << ", letter paper "
                                                    << letterPaper << ", " << dpi << " dpi");
                    RecordingSurface surface(dpi);
                    PrintContext context{record, texts, dataDir, "07.12.2026", letterPaper};
                    const Status printed = mode ? printCalculationData(surface, context, *mode)
                                                : printConvectorList(surface, context, listLines);
                    ASSERT_TRUE(printed) << printed.error();
                    std::vector<Box> boxes; // and what the transcript holds of each
                    for (const auto& b : surface.bitmaps)
                        boxes.push_back({b.page, QRectF(b.left, b.top, b.width, b.height), "logo",
                                         "logo " + std::to_string(b.width) + 'x' + std::to_string(b.height)});
                    for (const auto& t : surface.texts)
                        boxes.push_back(
                            {t.page, QRectF(t.x, t.y, t.width, t.font.points * dpi / 72.0), t.text,
                             std::to_string(t.font.points) + (t.font.bold ? "b" : "") + " |" + t.text + '|'});
                    if (dpi == 300 && !letterPaper)
                        transcript << "== " << project.name << ", " << sheet << '\n';
                    ASSERT_EQ(boxes.size(), dpi == 300 ? boxes.size() : tops300.size());
                    const QRectF paper(QPointF(0, 0), QPageSize(QPageSize::A4).sizePixels(dpi));
                    for (std::size_t i = 0; i < boxes.size(); ++i) {
                        const Box& a = boxes[i];
                        if (dpi == 300)
                            tops300.push_back(static_cast<int>(a.box.top()));
                        if (dpi == 300 && !letterPaper)
                            transcript << a.page << ' ' << a.box.left() << ' ' << a.box.top() << ' ' << a.line
                                       << '\n';
                        EXPECT_NEAR(a.box.top(), tops300[i] * dpi / 300.0, 1) << a.text;
                        EXPECT_TRUE(!letterPaper || a.box.top() >= 430 * dpi / 300)
                            << "letterhead " << a.text;
                        if (a.text.find_first_not_of(' ') == std::string::npos)
                            continue;
                        EXPECT_TRUE(paper.contains(a.box)) << "\"" << a.text << "\" leaves the sheet";
                        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                            const Box& b = boxes[j];
                            EXPECT_FALSE(a.page == b.page &&
                                         b.text.find_first_not_of(' ') != std::string::npos &&
                                         a.box.intersects(b.box))
                                << "page " << a.page << ": \"" << a.text << "\" overlaps \"" << b.text
                                << "\"";
                        }
                    }
                }
            }
        }
    }
    const fs::path golden = fs::path(TEPA_TEST_DATA_DIR) / "print" / "printouts.txt";
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(golden, std::ios::binary) << transcript.str();
    std::ifstream in(golden, std::ios::binary);
    EXPECT_EQ(transcript.str(), std::string(std::istreambuf_iterator<char>(in), {})); // shown as a diff
}

TEST(Printouts, ModeJobNameAndDefaultMode)
{
    const ProjectRecord both = load(dataDir / "Beispiel.kon"), cooling = load("primary-air-only.kon");
    EXPECT_EQ(defaultPrintMode(both), PrintMode::Heating); // the default follows the heating list
    EXPECT_EQ(defaultPrintMode(cooling), PrintMode::Cooling);
    EXPECT_TRUE(bothModesInUse(both));
    EXPECT_FALSE(bothModesInUse(cooling));
    EXPECT_EQ(printJobName("Berechnungsdaten ", ""), "Berechnungsdaten");
    EXPECT_EQ(printJobName("Berechnungsdaten ", " 2026/17 "), "Berechnungsdaten 2026-17");
    EXPECT_EQ(printJobName("Konvektorenliste", "A:B*C"), "Konvektorenliste A-B-C");
}

} // namespace
} // namespace tepa::test
