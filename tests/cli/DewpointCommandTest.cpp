#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

Outcome dewpoint(std::vector<std::string> args)
{
    args.insert(args.begin(), "dewpoint");
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{});
    return {code, out.str(), err.str()};
}

double number(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no key " << key << " in\n" << json;
        return 0;
    }
    return std::strtod(json.c_str() + at + key.size() + 4, nullptr);
}

TEST(DewpointCommand, GivesDewPointAndFlowTemperatureLimit)
{
    // Hand calculation with the saturation law ps = 288.68 (1.098 + T/100)^8.02 Pa, at 101300 Pa
    // total pressure. The humidity ratio and its inverse cancel to pd = phi ps, so
    // Td = 100 (phi ps / 288.68)^(1/8.02) - 109.8; limit = Td + 0.15 (T - Td).
    // 26 °C, 50 %: ps = 3359.486, pd = 1679.743, Td = 14.756059, limit = 16.442650.
    // Saturated air (100 %) has its own temperature as dew point.
    // Tolerance 1e-9 K: the same closed forms in double arithmetic.
    struct Case
    {
        const char* room;
        const char* humidity;
        double dewPointC, limitC;
    };
    const Case cases[] = {
        {"26", "50", 14.75605877867595, 16.442649961874558},
        {"26,0", "50.0", 14.75605877867595, 16.442649961874558},
        {"20", "100", 20, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.room) + " °C " + c.humidity + " %");
        const Outcome r = dewpoint({"--room", c.room, "--humidity", c.humidity, "--json"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NEAR(number(r.out, "dewPoint"), c.dewPointC, 1e-9);
        EXPECT_NEAR(number(r.out, "limit"), c.limitC, 1e-9);
    }
    // Against psychrometric tables, which put the dew point of 26 °C at 50 % at about 14.8 °C:
    // the fitted law must land near 15 °C; 0.3 K is the deviation allowed for the fit.
    EXPECT_NEAR(number(dewpoint({"--room", "26", "--humidity", "50", "--json"}).out, "dewPoint"), 15, 0.3);
}

TEST(DewpointCommand, TableShowsBothTemperatures)
{
    const Outcome r = dewpoint({"--room", "26", "--humidity", "50"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Dew point                  14.8 °C"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Lowest cooling flow temp   16.4 °C"), std::string::npos) << r.out;
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
        {{"--room", "26", "--humidity", "0"}, 1, "--humidity must be above 0 and at most 100"},
        {{"--room", "26", "--humidity", "-5"}, 1, "--humidity must be above 0"},
        {{"--room", "26", "--humidity", "100.01"}, 1, "at most 100"},
        {{"--room", "26", "--humidity", "fifty"}, 1, "--humidity: 'fifty' is not a number"},
        {{"--room", "nan", "--humidity", "50"}, 1, "--room: 'nan' is not a number"},
        {{"--room", "inf", "--humidity", "50"}, 1, "--room: 'inf' is not a number"},
        // Below the saturation law's range (1.098 + T/100 must stay positive).
        {{"--room", "-200", "--humidity", "50"}, 1, "no dew point"},
        {{"--room", "26"}, 2, "give --room and --humidity"},
        {{"--humidity", "50"}, 2, "give --room and --humidity"},
        {{"--room", "26", "--humidity", "50", "--dry"}, 2, "unknown option --dry"},
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
