#include "CliRun.h"

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace tepa::cli {
namespace {

TEST(OptionParser, TakesValuesFlagsAndPositionalsInAnyOrder)
{
    OptionParser options;
    options.value("--type").value("--tv").flag("--json");
    ASSERT_TRUE(options.parse({"file.kon", "--tv", "-5", "--json", "--type=WFW 2L"})) << options.error();
    EXPECT_EQ(options.get("--tv"), "-5"); // a negative number is a value, not an option
    EXPECT_EQ(options.get("--type"), "WFW 2L");
    EXPECT_TRUE(options.has("--json"));
    EXPECT_FALSE(options.has("--ti"));
    EXPECT_EQ(options.positionals(), std::vector<std::string>{"file.kon"});
}

TEST(OptionParser, NamesWhatIsWrong)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--speed", "3"}, "unknown option --speed"},
        {{"--tv"}, "option --tv needs a value"},
        {{"--tv", "1", "--tv", "2"}, "option --tv given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        OptionParser options;
        options.value("--tv").flag("--json");
        EXPECT_FALSE(options.parse(c.args));
        EXPECT_EQ(options.error(), c.error);
    }
}

TEST(JsonWriter, NestsAndKeepsEveryDigitOfADouble)
{
    std::ostringstream out;
    JsonWriter json(out);
    json.beginObject()
        .field("name", "Größe \"A\"\n")
        .field("value", 0.1)
        .field("flag", true)
        .key("list")
        .beginArray()
        .value(std::nan(""))
        .endArray()
        .endObject();
    EXPECT_EQ(out.str(), "{\n"
                         "  \"name\": \"Größe \\\"A\\\"\\n\",\n"
                         "  \"value\": 0.10000000000000001,\n"
                         "  \"flag\": true,\n"
                         "  \"list\": [\n"
                         "    null\n"
                         "  ]\n"
                         "}\n");
    EXPECT_EQ(jsonQuoted(std::string("a\x01", 2)), "\"a\\u0001\"");
}

TEST(Cli, UsageAndUnknownCommands)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* inErr;
    };
    const Case cases[] = {
        {{}, "usage: tepa"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"show", "--data"}, "--data needs a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inErr);
        const test::Outcome r = test::runTepa(c.args);
        EXPECT_EQ(r.exitCode, ExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace tepa::cli
