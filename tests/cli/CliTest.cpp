#include "cli/Cli.h"

#include "cli/Command.h"
#include "cli/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>

namespace tepa::cli {
namespace {

TEST(Json, KeepsKeyOrderWholeNumbersAndEveryDigitAndSurvivesBadText)
{
    std::ostringstream out;
    writeJson(out, Json{{"name", "Größe \"A\"\n"},
                        {"length", 800.0},
                        {"value", 0.1},
                        {"flag", true},
                        {"list", Json::array({std::nan(""), std::string("a\x01\xff", 3)})}});
    std::ifstream golden(TEPA_TEST_DATA_DIR "/cli-json.txt", std::ios::binary);
    EXPECT_EQ(out.str(), std::string(std::istreambuf_iterator<char>(golden), {}));
}

// A stream that takes nothing: a full disk or a closed pipe behind the standard output.
class FullStream : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(Cli, OutputThatCannotBeWrittenIsAFailure)
{
    const std::string sample = TEPA_TEST_DATA_DIR "/sample-project.kon",
                      install = TEPA_TEST_DATA_DIR "/install";
    // One check follows every command: one that reads a project and one that computes stand for all.
    const std::vector<std::vector<std::string>> commands = {
        {"show", sample, "--json"},
        {"rate", "--type", "W1", "--tv", "75", "--ti", "20", "--tr", "65"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        FullStream full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(run(args, out, err, Context{install}), ExitBadInput);
        EXPECT_EQ(err.str(), "tepa " + args.front() + ": the output could not be written completely\n");
    }
}

} // namespace
} // namespace tepa::cli
