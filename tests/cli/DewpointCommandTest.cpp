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

} // namespace
} // namespace tepa::cli
