#include "CliRun.h"

#include "cli/Command.h"

#include <gtest/gtest.h>

// The codec tests prove what a loaded record holds; these check that the command writes it out.

namespace tepa::cli {
namespace {

using test::Outcome;

Outcome show(const std::vector<std::string>& args)
{
    return test::runCommand("show", args, TEPA_TEST_DATA_DIR);
}

const std::string sampleFile = TEPA_TEST_DATA_DIR "/sample-project.kon";

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(ShowCommand, JsonNamesEveryFieldWithItsValue)
{
    const auto r = show({sampleFile, "--json"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(occurrences(r.out, "\"TypeName\": "), 24u);             // 12 heating and 12 cooling entries
    EXPECT_EQ(occurrences(r.out, "\"CoolingNominalOutput\": "), 12u); // heating entries only
    // Texts come back from Windows-1252 as UTF-8; 68.8 has no exact binary form, 17 digits bring
    // back the very same double.
    for (const char* line : {"{\n  \"Title\": \"Bürogebäude Nordring 12\",\n",
                             "\n      \"MassFlow\": 68.799999999999997,\n", "\n  \"RoomCount\": 1\n}\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST(ShowCommand, ErrorsAndUsage)
{
    const test::TempFolder dir("tepa-show-");
    const auto shortFile = dir / "kurz.kon";
    std::ofstream(shortFile, std::ios::binary) << test::readAll(sampleFile).substr(0, 15857);
    const auto missing = dir / "fehlt.kon";
    // A technical data file long enough to pass for a record.
    const auto techData = dir / "techdaten.kon";
    std::ofstream(techData, std::ios::binary) << "\r\n\r\nTechnische Daten:   \r\n"
                                              << test::readAll(sampleFile);
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
    };
    const Case cases[] = {
        {{shortFile.string(), "--json"}, ExitBadInput, "Loading - Error"},
        {{missing.string()}, ExitBadInput, "Datei " + missing.string() + " kann nicht geöffnet werden"},
        {{shortFile.string(), missing.string()}, ExitUsage, "usage: tepa show"},
        {{techData.string()}, ExitBadInput, "a technical data file, not a project file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const auto r = show(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace tepa::cli
