#include "CliRun.h"

#include "cli/Command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

// The print command writes the same layouts the windows print; the layout tests check every
// position on a recording surface. These check that the PDF carries them, text and place.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

const std::string sampleFile = TEPA_TEST_DATA_DIR "/sample-project.kon";
// The fixture installation has interface texts "Text n" and no letterhead logo.
const fs::path fixtureInstall = fs::path(TEPA_TEST_DATA_DIR) / "install";
// The real installation, with the logo.
const fs::path realInstall = fs::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";

using test::Outcome;

class PrintCommand : public ::testing::Test
{
protected:
    Outcome print(const std::vector<std::string>& args, const fs::path& dataDir)
    {
        return test::runCommand("print", args, dataDir);
    }

    // The PDF's text through pdftotext (`options` e.g. "-layout" or "-bbox").
    std::string pdfText(const std::string& options)
    {
        const fs::path text = m_dir / "out.txt";
        const std::string command =
            "pdftotext " + options + " '" + pdf + "' '" + text.string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "pdftotext failed (package poppler-utils): " << command;
        return test::readAll(text);
    }

private:
    test::TempFolder m_dir{"tepa-printcmd-"};

protected:
    std::string pdf = (m_dir / "out.pdf").string();
};

// Collapses runs of blanks, so that checks do not depend on the font's blank width.
std::string squeezed(const std::string& text)
{
    return std::regex_replace(text, std::regex(" +"), " ");
}

TEST_F(PrintCommand, ListOnLetterPaperCarriesProjectAndListLines)
{
    const auto r = print({sampleFile, "--list", "--letter-paper", "--pdf", pdf}, fixtureInstall);
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string text = squeezed(pdfText("-layout"));
    EXPECT_NE(text.find("Text 102"), std::string::npos);
    EXPECT_NE(text.find("Bürogebäude Nordring 12 / P-2025-117"), std::string::npos);
    // Type, height, length and count columns.
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(WFW\s+200\s+1000\s+3\s)"))) << text;
    // Letter paper: no letterhead.
    EXPECT_EQ(text.find("Text 141"), std::string::npos);
}

TEST_F(PrintCommand, NeutralPaperPlacesLetterheadAndTitleAtTheirLayoutPositions)
{
    const auto r = print({sampleFile, "--list", "--pdf", pdf}, realInstall);
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    const std::string text = pdfText("-layout");
    EXPECT_NE(text.find("ORVA Konvektoren"), std::string::npos);

    // Word boxes in points: layout units / 300 * 72. The title "Konvektorenliste (Stückliste)"
    // starts at (400, 1200) layout units, i.e. (96, 288) pt; the box's top sits on or just
    // below the line's top, by the font's internal leading.
    const std::string boxes = pdfText("-bbox");
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">Konvektorenliste</word>)re");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(boxes, match, word)) << boxes.substr(0, 2000);
    EXPECT_NEAR(std::stod(match[1]), 96.0, 1.5);
    EXPECT_NEAR(std::stod(match[2]), 288.0, 4.0);
}

// The sample room heats and cools: the mode picks the sheet, the default is the heating sheet.
// The PDF names its title and creator, and a normal run says nothing on stderr.
TEST_F(PrintCommand, ModeChoosesTheCalculationSheetAndThePdfCarriesItsMetadata)
{
    const std::string project = (realInstall / "Beispiel.kon").string();
    struct Case
    {
        std::vector<std::string> mode;
        const char* sheet;
    };
    const Case cases[] = {
        {{}, "Heizen"}, {{"--mode", "heating"}, "Heizen"}, {{"--mode", "cooling"}, "Kühlen"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        std::vector<std::string> args = {project, "--calc-data", "--pdf", pdf};
        args.insert(args.end(), c.mode.begin(), c.mode.end());
        const auto r = print(args, realInstall);
        ASSERT_EQ(r.exitCode, ExitOk) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_NE(squeezed(pdfText("-layout")).find(std::string(">> ") + c.sheet + " <<"), std::string::npos);
    }
    const std::string info = squeezed(pdfText("-htmlmeta"));
    EXPECT_NE(info.find("<title>Beispielprojekt Verwaltungsgebäude</title>"), std::string::npos)
        << info.substr(0, 600);
    EXPECT_NE(info.find("content=\"ORVA TEPA\""), std::string::npos) << info.substr(0, 600);

    // The tool on its own, without the runtime folder a desktop session provides.
    const std::string errors = pdf + ".err";
    const std::string command =
        "env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM '" TEPA_CLI_EXECUTABLE "' print '" + project +
        "' --calc-data --data '" + realInstall.string() + "' --pdf '" + pdf + "' 2>'" + errors + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::readAll(errors), "");
}

} // namespace
} // namespace tepa::cli
