#include "CliRun.h"

#include "cli/Json.h"
#include "core/sizing/Sizing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

using test::Outcome;

const std::string Install = TEPA_TEST_DATA_DIR "/install";

Outcome size(std::vector<std::string> args)
{
    if (std::find(args.begin(), args.end(), "--data") == args.end())
        args.insert(args.end(), {"--data", Install});
    return test::runCommand("size", args);
}

const std::vector<std::string> Room = {"--demand", "1800", "--tv", "70", "--ti", "20", "--tr", "55"};

std::vector<std::string> room(std::vector<std::string> more)
{
    std::vector<std::string> args = Room;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(SizeCommand, ListsTheCoreSearchBestFirst)
{
    sizing::Request r;
    r.demandW = 1800;
    r.flowTempC = 70;
    r.roomTempC = 20;
    r.returnTempC = 55;
    const auto best = sizing::size(*sizing::loadCatalog(Install, '.'), r).candidates;
    ASSERT_GT(best.size(), 3u);

    const Outcome json = size(room({"--json", "--limit", "3"}));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto document = Json::parse(json.out);
    EXPECT_EQ(document["found"], best.size());
    ASSERT_EQ(document["candidates"].size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& c = document["candidates"][i];
        EXPECT_EQ(c["type"], best[i].typeName);
        EXPECT_EQ(c["length"], best[i].lengthMm);
        EXPECT_EQ(c["count"], best[i].count);
        EXPECT_EQ(c["total"], best[i].totalW);
    }

    const Outcome text = size(room({"--limit", "2"}));
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Heating 1800 W, flow 70.0 °C, room 20.0 °C, return 55.0 °C\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find(std::to_string(best.size()) + " candidates, best first; the first 2 shown"),
              std::string::npos);
    EXPECT_NE(text.out.find("\n   1 " + best[0].typeName), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\n   2 " + best[1].typeName), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("\n   3 "), std::string::npos) << text.out;

    // Cooling warns of a flow below the dew-point limit once, before the list.
    const Outcome cooling = size({"--mode", "cooling", "--demand", "800", "--tv", "14", "--ti", "26", "--tr",
                                  "17", "--humidity", "60", "--series", "WFW"});
    ASSERT_EQ(cooling.exitCode, 0) << cooling.err;
    EXPECT_NE(cooling.out.find("Warning: the flow temperature lies below"), std::string::npos) << cooling.out;
    // Primary air too cold for any number to hold its output gives no line, never an infinity.
    const Outcome absurd = size({"--mode", "cooling", "--demand", "800", "--tv", "16", "--ti", "26", "--tr",
                                 "18", "--series", "WNF", "--air-in", "-1e308", "--json"});
    ASSERT_EQ(absurd.exitCode, 0) << absurd.err;
    EXPECT_EQ(Json::parse(absurd.out)["found"], 0) << absurd.out;
    const Outcome none = size(room({"--max-count", "1", "--max-length", "1000", "--no-fan"}));
    ASSERT_EQ(none.exitCode, 0) << none.err;
    EXPECT_NE(none.out.find("No convector of the installed range meets the demand"), std::string::npos);
}

TEST(SizeCommand, RefusesBadInputByNameAndWritesNothing)
{
    struct Case
    {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{"--tv", "70", "--ti", "20", "--tr", "55"}, ExitUsage, "missing --demand"},
        {{"--demand", "1800", "--tv", "70", "--ti", "20"},
         ExitUsage,
         "give exactly one of --tr, --max-massflow"},
        {room({"--max-massflow", "80"}), ExitUsage, "give exactly one of --tr, --max-massflow"},
        {room({"--bogus"}), ExitUsage, "--bogus"},
        {room({"extra"}), ExitUsage, "unexpected argument 'extra'"},
        {{"--demand", "x1", "--tv", "70", "--ti", "20", "--tr", "55"},
         ExitBadInput,
         "--demand: 'x1' is not a number"},
        {{"--demand", "-5", "--tv", "70", "--ti", "20", "--tr", "55"},
         ExitBadInput,
         "--demand must be above 0"},
        {{"--demand", "900", "--tv", "20", "--ti", "20", "--tr", "55"}, ExitBadInput, "--tv: in heating"},
        {room({"--mode", "air"}), ExitBadInput, "--mode must be heating or cooling"},
        {room({"--humidity", "50"}), ExitBadInput, "--humidity belongs to cooling"},
        {{"--mode", "cooling", "--demand", "900", "--tv", "16", "--ti", "26", "--max-massflow", "80"},
         ExitBadInput,
         "--max-massflow: cooling is rated from a return temperature"},
        {{"--mode", "cooling", "--demand", "900", "--tv", "16", "--ti", "26", "--tr", "18", "--humidity",
          "0"},
         ExitBadInput,
         "--humidity must be above 0"},
        {room({"--max-count", "0"}), ExitBadInput, "--max-count: '0' is not a whole number from 1 to 99"},
        {room({"--limit", "2.5"}), ExitBadInput, "--limit: '2.5' is not a whole number"},
        {room({"--series", "ZZ"}), ExitBadInput, "--series: no type of the installed range belongs to 'ZZ'"},
        {room({"--series", "W1,"}), ExitBadInput, "--series: 'W1,' is no list"},
        {room({"--height", "0"}), ExitBadInput, "--height must be above 0"},
        {room({"--data", "/no/such/folder"}), ExitBadInput, "freikon.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome o = size(c.args);
        EXPECT_EQ(o.exitCode, c.code);
        EXPECT_NE(o.err.find("tepa size: "), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }
}

} // namespace
} // namespace tepa::cli
