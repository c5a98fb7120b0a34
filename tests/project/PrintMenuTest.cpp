#include "MainWindowFixture.h"

#include <algorithm>

// The print commands of the main window, run through the menu items with a recording printer:
// which printout, which paper, the printer's resolution, cancel and the logo error.

namespace tepa::test {
namespace {

class PrintMenu : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        loadSample();
        ASSERT_TRUE(form1->Drucken1->isEnabled());
    }

    // A program folder holding the letterhead logo; the fixture installation has none.
    void provideLogo()
    {
        const QString dir = tempPath("program");
        QDir().mkpath(dir);
        QFile logo(dir + "/image4.bmp");
        ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
        logo.write("BM");
        session->ProgramDir = dir.toStdString();
    }

    const RecordingSurface& onlyJob() const
    {
        EXPECT_EQ(doubles.printer.jobs.size(), 1u);
        return doubles.printer.jobs.back();
    }

    // A print job is named after the printout and the project's number.
    QStringList jobName(std::size_t line) const { return {text(line).trimmed() + " P-2025-117"}; }

    // The sample room heats and cools, so the calculation sheet asks which list to print.
    void expectSheetQuestion(bool heating)
    {
        doubles.messages.expect(MessageKind::YesNo, text(288), heating);
    }

    static bool drawnAt(const RecordingSurface& s, const std::string& text, int x, int y)
    {
        return std::any_of(s.texts.begin(), s.texts.end(),
                           [&](const auto& t) { return t.text == text && t.x == x && t.y == y; });
    }
};

TEST_F(PrintMenu, ListOnLetterPaperPrintsTheProjectsList)
{
    form1->Orvapapier1->trigger();
    ASSERT_EQ(doubles.printer.jobNames, jobName(29));
    const auto& job = onlyJob();
    EXPECT_TRUE(drawnAt(job, "Text 86", 800, 2400));
    // The sample's list: three WFW 200/1000 and two W2 500/1200, in descending key order.
    EXPECT_TRUE(drawnAt(job, "WFW", 800, 2860));
    const auto* three = job.find("3");
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->y, 2860);
    EXPECT_EQ(three->right(), 3000);
    EXPECT_TRUE(job.bitmaps.empty());
    for (const auto& t : job.texts)
        EXPECT_GE(t.y, 860) << t.text;
    // The list the printout used is the session's list.
    EXPECT_EQ(session->ConvectorList[0].substr(0, 22), "   WFW /   200 /  1000");
}

TEST_F(PrintMenu, NeutralPaperAfterLetterPaperPrintsTheLetterheadAgain)
{
    provideLogo();
    form1->Orvapapier1->trigger();
    form1->normal1->trigger();
    ASSERT_EQ(doubles.printer.jobs.size(), 2u);
    EXPECT_EQ(doubles.printer.jobs[0].find("Text 141"), nullptr);
    const auto& neutral = doubles.printer.jobs[1];
    ASSERT_EQ(neutral.bitmaps.size(), 1u);
    EXPECT_EQ(neutral.bitmaps[0].file, session->ProgramDir / "image4.bmp");
    EXPECT_TRUE(drawnAt(neutral, "Text 141", 2400, 160));
}

TEST_F(PrintMenu, CalculationDataOnLetterPaperPrintsTheListThePlannerChooses)
{
    expectSheetQuestion(true);
    form1->Orvapapier2->trigger();
    ASSERT_EQ(doubles.printer.jobNames, jobName(30));
    const auto& job = onlyJob();
    EXPECT_TRUE(drawnAt(job, "Text 110", 600, 3100));
    EXPECT_TRUE(drawnAt(job, "W2", 760, 3300));
    EXPECT_TRUE(drawnAt(job, "WFW", 760, 3620));
    EXPECT_EQ(job.find("Text 186"), nullptr);

    expectSheetQuestion(false);
    form1->Orvapapier2->trigger();
    ASSERT_EQ(doubles.printer.jobs.size(), 2u);
    EXPECT_TRUE(drawnAt(doubles.printer.jobs[1], "Text 186", 600, 3100));
}

TEST_F(PrintMenu, ScaleFollowsThePrintersResolution)
{
    doubles.printer.dpi = 1200;
    form1->Orvapapier1->trigger();
    EXPECT_TRUE(drawnAt(onlyJob(), "Text 86", 1600, 4800));
}

TEST_F(PrintMenu, CancelledPrinterDialogPrintsAndChangesNothing)
{
    doubles.printer.cancel = true;
    const auto listBefore = session->ConvectorList;
    expectSheetQuestion(true);
    form1->normal1->trigger();
    form1->normal2->trigger();
    EXPECT_EQ(doubles.printer.jobNames.size(), 2);
    EXPECT_TRUE(doubles.printer.jobs.empty());
    EXPECT_EQ(session->ConvectorList, listBefore);
    // No message box: the messages double fails the test on any.
}

TEST_F(PrintMenu, MissingLogoShowsTheFileErrorAndStops)
{
    const auto logo = session->ProgramDir / "image4.bmp";
    ASSERT_FALSE(std::filesystem::exists(logo));
    const QString error = "Datei " + QString::fromStdString(logo.string()) + " kann nicht geöffnet werden";
    doubles.messages.expect(MessageKind::Error, error);
    expectSheetQuestion(true);
    doubles.messages.expect(MessageKind::Error, error);
    form1->normal1->trigger();
    form1->normal2->trigger();
    ASSERT_EQ(doubles.printer.jobs.size(), 2u);
    EXPECT_TRUE(doubles.printer.jobs[0].texts.empty());
    EXPECT_TRUE(doubles.printer.jobs[1].texts.empty());
}

} // namespace
} // namespace tepa::test
