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
    std::ostringstream out, err;
    EXPECT_EQ(run({}, out, err, {}), ExitUsage);
    EXPECT_NE(err.str().find("usage: tepa"), std::string::npos);

    std::ostringstream out2, err2;
    EXPECT_EQ(run({"frobnicate"}, out2, err2, {}), ExitUsage);
    EXPECT_NE(err2.str().find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_EQ(out2.str(), "");

    std::ostringstream out4, err4;
    EXPECT_EQ(run({"show", "--data"}, out4, err4, {}), ExitUsage);
    EXPECT_NE(err4.str().find("--data needs a folder"), std::string::npos);
}

} // namespace
} // namespace tepa::cli
