#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

// Expected values are worked by hand from the fixture installation (tests/data/install, see its
// README) and the laws as the engine's headers state them: cw = 4190/3600 Wh/(kg K),
// Q = K * dT^n, m = Q / (cw * (Tv - Tr)). Closed-form values are compared to 1e-9 relative
// (both sides are double arithmetic of the same expressions); iterated ones as stated per case.

namespace tepa::cli {
namespace {

using test::Outcome;

Outcome rate(const std::vector<std::string>& args)
{
    return test::runCommand("rate", args, TEPA_TEST_DATA_DIR "/install");
}

// The JSON token after "key": (searched from `section` on), up to the end of its line.
std::string token(const std::string& json, const std::string& key, const std::string& section = "")
{
    const auto start = section.empty() ? 0 : json.find("\"" + section + "\"");
    const auto at = json.find("\"" + key + "\": ", start);
    if (start == std::string::npos || at == std::string::npos) {
        ADD_FAILURE() << "no key " << key << " in\n" << json;
        return "";
    }
    const auto begin = at + key.size() + 4;
    std::string text = json.substr(begin, json.find('\n', begin) - begin);
    if (!text.empty() && text.back() == ',')
        text.pop_back();
    return text;
}
double number(const std::string& json, const std::string& key, const std::string& section = "")
{
    return std::strtod(token(json, key, section).c_str(), nullptr);
}

void expectClose(double actual, double expected, const char* what, double relative = 1e-9)
{
    EXPECT_NEAR(actual, expected, relative * std::max(1.0, std::abs(expected))) << what;
}

const std::vector<std::string> heating7565 = {"--tv", "75", "--ti", "20", "--tr", "65", "--json"};
std::vector<std::string> with(std::vector<std::string> args,
                              const std::vector<std::string>& more = heating7565)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(RateCommand, MatchesHandCalculationsOfEverySeries)
{
    struct Case
    {
        std::vector<std::string> args;
        double K, n, outputW, massFlow, soundDb, pressureDropPa;
    };
    // clang-format off
    const Case cases[] = {
        // W1 1000 mm, 180 mm (factor 1.00): Le = 1000 - 300 = 700, K = 0.7 * 4.50 = 3.15,
        // Q = 3.15 * 50^1.3 = 509.2975, m = Q / (10 cw) = 43.75826. dp (d 13 mm, X 2, N 1 over
        // Le at Tm = 70: rho = 977.495, nu = 4.12013e-7, Re = 2956) = 19.796 + 7.723 = 27.519 Pa.
        {with({"--type", "W1", "--length", "1000", "--height", "180"}),
         3.15, 1.3, 509.29751767966906, 43.75825927558016, 0, 27.518952793440505},
        // WFW-2L at 1600 rpm (p = 100): K = -103.493 + 202.153 - 56.153 = 42.507, n = 1,
        // Q = 42.507 * 50 = 2125.35, LpA = 30 log10(1600) - 37.5 - 6 - 8 = 44.6236;
        // dp over the 830 mm tube of the 1250 mm casing (d 13, X 4): 840.970 Pa.
        {with({"--type", "WFW-2L", "--speed", "1600"}),
         42.507, 1, 2125.35, 182.60763723150347, 44.62359947967775, 840.9698099022501},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome r = rate(c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(number(r.out, "status"), 0);
        expectClose(number(r.out, "K"), c.K, "K");
        expectClose(number(r.out, "n"), c.n, "n");
        expectClose(number(r.out, "output"), c.outputW, "output");
        expectClose(number(r.out, "massFlow"), c.massFlow, "massFlow");
        expectClose(number(r.out, "soundLevel"), c.soundDb, "soundLevel");
        expectClose(number(r.out, "pressureDrop"), c.pressureDropPa, "pressureDrop");
    }
}

TEST(RateCommand, MassFlowGivenInsteadOfReturn)
{
    // W1 1000/180 at 75/65/20 (hand values above): m 43.75826 kg/h gives Tr 65 within the 0.01 K
    // the iteration stops at.
    const Outcome r = rate({"--type", "W1", "--length", "1000", "--height", "180", "--massflow",
                            "43.75825927558016", "--tv", "75", "--ti", "20", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(number(r.out, "returnTemp"), 65, 0.01);
    EXPECT_EQ(number(r.out, "returnTempMin"), 35);
}

TEST(RateCommand, ResolvesNamesLengthsHeightsAndFanSettings)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* type;
        double length, height, heightFactor, speed;
    };
    // clang-format off
    const Case cases[] = {
        // Defaults: first offered length ("0800" reads 800), the preselected height.
        {{"--type", "W1"}, "W1", 800, 100, 0.79, 0},
        {{"--type", "DWF"}, "DWF Decken", 1100, 500, 1, 0},
        // Cooling keeps only the type code; heights are rated at factor 1.
        {{"--type", "WFW-2L Zweileiter", "--mode", "cooling"}, "WFW-2L", 1250, 220, 1, 0},
        // Chosen lengths and heights, the factor from the series' column of bauhoehen.txt.
        {{"--type", "W2", "--length", "1500,0", "--height", "400"}, "W2", 1500, 400, 1.43, 0},
        // Percent of full speed and primary air turned into the speed.
        {{"--type", "WFWL-4L", "--percent", "50"}, "WFWL-4L Vi", 1250, 360, 1, 575},
        {{"--type", "WNF2", "--airflow", "75"}, "WNF2 Prima", 1050, 220, 1, 284.09090909090907},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const bool cooling = std::find(c.args.begin(), c.args.end(), "cooling") != c.args.end();
        const Outcome r = rate(with(
            c.args, cooling ? std::vector<std::string>{"--tv", "16", "--ti", "26", "--tr", "18", "--json"}
                            : heating7565));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(token(r.out, "type"), std::string("\"") + c.type + "\"");
        EXPECT_EQ(number(r.out, "length"), c.length);
        EXPECT_EQ(number(r.out, "height"), c.height);
        EXPECT_EQ(number(r.out, "heightFactor"), c.heightFactor);
        expectClose(number(r.out, "speed"), c.speed, "speed");
    }
}

TEST(RateCommand, TableSpellsOutUnitsAndWarnings)
{
    // 800 mm W1: m = 24.69 kg/h, Re = 1668 in the 13 mm tubes.
    const Outcome r = rate({"--type", "W1", "--tr", "65", "--tv", "75", "--ti", "20"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Warning: laminar flow"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Mass flow                 24.7 kg/h"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("dB(A)"), std::string::npos) << r.out;
}

TEST(RateCommand, RefusesWithoutWritingOutput)
{
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::vector<std::string> t = {"--tv", "75", "--ti", "20", "--tr", "65"};
    // clang-format off
    const Case cases[] = {
        {{"--tv", "75", "--ti", "20", "--tr", "65"}, 2, "missing --type"},
        {{"--type", "W1", "--tv", "75", "--ti", "20"}, 2, "exactly one of --tr, --massflow, --output"},
        {with({"--type", "W1", "--width", "3"}, t), 2, "unknown option --width"},
        {with({"--type", "WFW"}, t), 1, "known types: W1, W2, W3, W4, WM, WX, WF1, WF2, WF3, WFs, WFW-2L"},
        {with({"--type", "W1", "--length", "900"}, t), 1, "offered lengths (mm): 800, 1000, 1200, 1500, 2000"},
        {{"--type", "W1", "--tv", "nan", "--ti", "20", "--tr", "65"}, 1, "--tv: 'nan' is not a number"},
        {with({"--type", "DWF", "--stage", "500"}, t), 1, "--stage must be 0, 700, 1000 or 1400"},
        // Finite settings whose fan speed is not: 1e308 % of 1400 rpm, 1e308 m³/h of primary air.
        {with({"--type", "WF2", "--percent", "1e308"}, t), 1, "--percent 1e+308 gives no fan speed"},
        {with({"--type", "WNF1", "--airflow", "1e308"}, t), 1, "--airflow 1e+308 gives no fan speed"},
        {{"--type", "W1", "--mode", "cooling", "--tv", "16", "--ti", "26", "--tr", "18"}, 1, "W1 does not cool"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        for (bool json : {false, true}) {
            const Outcome r = rate(json ? with(c.args, {"--json"}) : c.args);
            EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_EQ(r.err.rfind("tepa rate: ", 0), 0u) << r.err;
        }
    }
}

} // namespace
} // namespace tepa::cli
