// The print commands of the main window, run through the menu items with a recording printer:
// which printout, which paper, the printer's resolution, cancel and the logo error. The printouts' pages are the core's.
#include "MainWindowFixture.h"

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

    // A print job is named after the printout and the project's number.
    QString jobName(std::size_t line) const { return text(line).trimmed() + " P-2025-117"; }

    // The sample room heats and cools, so the calculation sheet asks which list to print.
    void expectSheetQuestion(bool heating) { doubles.messages.expect(MessageKind::YesNo, text(288), heating); }
};

TEST_F(PrintMenu, EachCommandPrintsItsPrintoutOnItsPaper)
{
    // A program folder holding the letterhead logo; the fixture installation has none.
    const QString dir = tempPath("program");
    QDir().mkpath(dir);
    writeFile(dir + "/image4.bmp", "BM");
    session->ProgramDir = dir.toStdString();

    form1->Orvapapier1->trigger();
    expectSheetQuestion(true);
    form1->Orvapapier2->trigger();
    expectSheetQuestion(false);
    form1->normal2->trigger();
    form1->normal1->trigger();

    EXPECT_EQ(doubles.printer.jobNames, QStringList({jobName(29), jobName(30), jobName(30), jobName(29)}));
    const auto& jobs = doubles.printer.jobs;
    ASSERT_EQ(jobs.size(), 4u);
    // The list (with the sample's WFW), the heating sheet, the cooling sheet, the list again.
    EXPECT_NE(jobs[0].find("WFW"), nullptr);
    EXPECT_NE(jobs[1].find("Text 110"), nullptr);
    EXPECT_EQ(jobs[1].find("Text 186"), nullptr);
    EXPECT_NE(jobs[2].find("Text 186"), nullptr);
    // Letter paper has the letterhead printed on it; neutral paper gets it printed, after letter
    // paper too.
    EXPECT_TRUE(jobs[0].bitmaps.empty());
    ASSERT_EQ(jobs[3].bitmaps.size(), 1u);
    EXPECT_EQ(jobs[3].bitmaps[0].file, session->ProgramDir / "image4.bmp");
    EXPECT_NE(jobs[3].find("Text 141"), nullptr);

    // The page is laid out at the printer's resolution.
    const int dpi = doubles.printer.dpi;
    doubles.printer.dpi = 2 * dpi;
    form1->Orvapapier1->trigger();
    ASSERT_EQ(jobs.size(), 5u);
    ASSERT_NE(jobs[0].find("Text 86"), nullptr);
    EXPECT_EQ(jobs[4].find("Text 86")->y, 2 * jobs[0].find("Text 86")->y);
}

TEST_F(PrintMenu, CancelledPrinterDialogOrMissingLogoPrintsNothing)
{
    doubles.printer.cancel = true;
    const auto listBefore = session->ConvectorList;
    expectSheetQuestion(true);
    form1->normal1->trigger();
    form1->normal2->trigger();
    EXPECT_EQ(doubles.printer.jobNames.size(), 2);
    EXPECT_TRUE(doubles.printer.jobs.empty());
    EXPECT_EQ(session->ConvectorList, listBefore);

    doubles.printer.cancel = false;
    const auto logo = session->ProgramDir / "image4.bmp";
    const QString error = "Datei " + QString::fromStdString(logo.string()) + " kann nicht geöffnet werden";
    doubles.messages.expect(MessageKind::Error, error);
    expectSheetQuestion(true);
    doubles.messages.expect(MessageKind::Error, error);
    form1->normal1->trigger();
    form1->normal2->trigger();
    ASSERT_EQ(doubles.printer.jobs.size(), 2u);
    EXPECT_TRUE(doubles.printer.jobs[0].texts.empty() && doubles.printer.jobs[1].texts.empty());
}

} // namespace
} // namespace tepa::test
