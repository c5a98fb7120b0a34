#include "CliRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

using test::Outcome;

Outcome dewpoint(const std::vector<std::string>& args)
{
    return test::runCommand("dewpoint", args);
}

TEST(DewpointCommand, GivesDewPointAndFlowTemperatureLimit)
{
    // 26 °C, 50 %: Td = 14.756059 (the engine's worked value), limit = Td + 0.15 (26 - Td)
    // = 16.442650. Either decimal separator is read.
    const Outcome json = dewpoint({"--room", "26,0", "--humidity", "50.0", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    double dewPoint = 0, limit = 0;
    ASSERT_EQ(
        std::sscanf(json.out.c_str(), "{\n  \"dewPoint\": %lf,\n  \"limit\": %lf\n}", &dewPoint, &limit), 2)
        << json.out;
    EXPECT_NEAR(dewPoint, 14.75605877867595, 1e-9);
    EXPECT_NEAR(limit, 16.442649961874558, 1e-9);
}

TEST(DewpointCommand, RefusesWithoutWritingOutput)
{
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"--room", "26", "--humidity", "100.01"}, 1, "at most 100"},
        {{"--room", "nan", "--humidity", "50"}, 1, "--room: 'nan' is not a number"},
        // Below the saturation law's range (1.098 + T/100 must stay positive).
        {{"--room", "-200", "--humidity", "50"}, 1, "no dew point"},
        {{"--room", "26"}, 2, "give --room and --humidity"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome r = dewpoint(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace tepa::cli
