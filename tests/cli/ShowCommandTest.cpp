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
    // Texts come back from Windows-1252 as UTF-8; 68.8 has no exact binary form, and the
    // fewest digits that read back as the very same double are written.
    for (const char* line : {"{\n  \"Title\": \"Bürogebäude Nordring 12\",\n",
                             "\n      \"MassFlow\": 68.8,\n", "\n  \"RoomCount\": 1\n}\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

} // namespace
} // namespace tepa::cli
