#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// Expected values are worked by hand from the fixture installation (tests/data/install, see its
// README) and the laws as the engine's headers state them: cw = 4190/3600 Wh/(kg K),
// Q = K * dT^n, m = Q / (cw * (Tv - Tr)). Closed-form values are compared to 1e-9 relative
// (both sides are double arithmetic of the same expressions); iterated ones as stated per case.

namespace tepa::cli {
namespace {

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

Outcome rate(std::vector<std::string> args)
{
    args.insert(args.begin(), "rate");
    args.insert(args.end(), {"--data", TEPA_TEST_DATA_DIR "/install"});
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{});
    return {code, out.str(), err.str()};
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
        // Cooling at 16/18/26, p = 100: K = -82.7579 + 175.841 - 46.1278 = 46.9553,
        // Q = 46.9553 * 9 = 422.5977, m = Q / (2 cw) = 181.5456.
        // WFW-4L cools with its own tube data (d 10, X 4, tube 850 mm): 3270.84 Pa, where the
        // heating columns (d 13, X 2) would give 493.57.
        {with({"--type", "WFW-4L", "--mode", "cooling", "--percent", "100"},
              {"--tv", "16", "--ti", "26", "--tr", "18", "--json"}),
         46.9553, 1, 422.5977, 181.54555131264922, 44.62359947967775, 3270.843518314003},
        // DWF 1800 mm at stage 1400: K = 37.436, n = 1.012, Q = 37.436 * 50^1.012 = 1961.765,
        // LpA = 70.6 log10(1400) - 169.9 + 10 log10(2) - 8 = 47.2269, dp = 7.5484e-5 m^2 1000.
        {with({"--type", "DWF", "--length", "1800", "--stage", "1400"}),
         37.436, 1.012, 1961.7654562589485, 168.55264063322707, 47.22693927552339, 2144.49988628212},
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

TEST(RateCommand, OtherGivenQuantitiesAndTheWindow)
{
    // W1 1000/180 at 75/65/20 (hand values above): m 43.75826 kg/h gives Tr 65 within the 0.01 K
    // the iteration stops at. Window: lower end Tr = Ti + 15 = 35, Q = 3.15 * 35^1.3 = 320.331 W,
    // m = Q / (40 cw) = 6.8806 kg/h >= 5; upper end Tr = Tv - 1 = 74, Q = 3.15 * 54.5^1.3 = 569.673 W.
    const Outcome r = rate({"--type", "W1", "--length", "1000", "--height", "180", "--massflow",
                            "43.75825927558016", "--tv", "75", "--ti", "20", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(number(r.out, "returnTemp"), 65, 0.01);
    EXPECT_EQ(number(r.out, "returnTempMin"), 35);
    EXPECT_EQ(number(r.out, "returnTempMax"), 74);
    expectClose(number(r.out, "massFlowMin"), 6.880618802935757, "massFlowMin");
    expectClose(number(r.out, "outputMax"), 569.6734859365057, "outputMax");
    EXPECT_EQ(token(r.out, "status", "limits"), "0");

    const Outcome fromOutput = rate({"--type", "W1", "--length", "1000", "--height", "180", "--output",
                                     "509.29751767966906", "--tv", "75", "--ti", "20", "--json"});
    ASSERT_EQ(fromOutput.exitCode, 0) << fromOutput.err;
    expectClose(number(fromOutput.out, "massFlow"), 43.75825927558016, "massFlow");
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
        {{"--type", "WF1"}, "WF1", 1250, 100, 1, 0},
        {{"--type", "WFW-2L"}, "WFW-2L Zwe", 1250, 220, 1, 0},
        {{"--type", "DWF"}, "DWF Decken", 1100, 500, 1, 0},
        // Cooling keeps only the type code; heights are rated at factor 1.
        {{"--type", "WFW-2L Zweileiter", "--mode", "cooling"}, "WFW-2L", 1250, 220, 1, 0},
        {{"--type", "WFWL-2L", "--mode", "cooling"}, "WFWL-2L", 1250, 360, 1, 0},
        // Chosen lengths and heights, the factor from the series' column of bauhoehen.txt.
        {{"--type", "W2", "--length", "1500,0", "--height", "400"}, "W2", 1500, 400, 1.43, 0},
        {{"--type", "W4", "--height", "80"}, "W4", 1000, 80, 0.64, 0},
        // Percent of full speed, primary air and fan stage turned into the speed.
        {{"--type", "WFs", "--percent", "50"}, "WFs", 1250, 100, 1, 800},
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

TEST(RateCommand, PrimaryAirUnitCoolsWithItsAir)
{
    // Q = 1007/3600 * (1.27 - 0.0047 T1) V * (Ti - T1) at Ti = 26, T1 18, 120 m³/h:
    // 0.279722 * 142.248 * 8 = 318.3194 W; no water side.
    const Outcome r = rate({"--type", "WNF2", "--mode", "cooling", "--airflow", "120", "--air-in", "18",
                            "--tv", "16", "--ti", "26", "--tr", "18", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectClose(number(r.out, "output"), 318.3194133333333, "output");
    EXPECT_EQ(number(r.out, "massFlow"), 0);
    EXPECT_EQ(r.out.find("limits"), std::string::npos);
}

TEST(RateCommand, TableSpellsOutUnitsAndWarnings)
{
    struct Case
    {
        std::vector<std::string> args;
        std::vector<const char*> shown;
        const char* notShown;
    };
    const std::vector<std::string> temps = {"--tv", "75", "--ti", "20"};
    const Case cases[] = {
        // 800 mm W1: m = 24.69 kg/h, Re = 1668 in the 13 mm tubes.
        {with({"--type", "W1", "--tr", "65"}, temps),
         {"Warning: laminar flow", "Mass flow                 24.7 kg/h"},
         "dB(A)"},
        {with({"--type", "WFW-2L", "--tr", "65", "--percent", "100"}, temps),
         {"44.6 dB(A)", "1600.0 rpm"},
         "Warning"},
        // Far beyond the 750 kg/h a convector is built for.
        {with({"--type", "W1", "--massflow", "20000"}, temps), {"pressure drop above 100 kPa"}, "laminar"},
        // Return above flow: no heat flows.
        {with({"--type", "W1", "--tr", "80"}, temps), {"no result at this point"}, "kPa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome r = rate(c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        for (const char* shown : c.shown)
            EXPECT_NE(r.out.find(shown), std::string::npos) << shown << " in\n" << r.out;
        EXPECT_EQ(r.out.find(c.notShown), std::string::npos) << r.out;
    }
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
        {with({"--type", "WFW-2L", "--speed", "900", "--percent", "50"}, t), 2, "at most one of --speed"},
        {with({"--type", "W1", "--width", "3"}, t), 2, "unknown option --width"},
        {with({"--type", "W1", "extra"}, t), 2, "unexpected argument 'extra'"},
        {with({"--type", "WFW"}, t), 1, "known types: W1, W2, W3, W4, WM, WX, WF1, WF2, WF3, WFs, WFW-2L"},
        {with({"--type", "Zweileiter"}, t), 1, "unknown type 'Zweileiter'"},
        {with({"--type", "W1", "--length", "900"}, t), 1, "offered lengths (mm): 800, 1000, 1200, 1500, 2000"},
        {with({"--type", "WF1", "--height", "180"}, t), 1, "offered heights (mm): 100"},
        {{"--type", "W1", "--tv", "nan", "--ti", "20", "--tr", "65"}, 1, "--tv: 'nan' is not a number"},
        {{"--type", "W1", "--tv", "75", "--ti", "20", "--tr", "6 5"}, 1, "--tr: '6 5' is not a number"},
        {with({"--type", "W1", "--mode", "summer"}, t), 1, "--mode must be heating or cooling"},
        {with({"--type", "W1", "--speed", "0"}, t), 1, "W1 is a free convector"},
        {with({"--type", "WF1", "--airflow", "60"}, t), 1, "--airflow is the primary air of the WNF series"},
        {with({"--type", "WFW-2L", "--stage", "700"}, t), 1, "--stage is the fan stage of the DWF series"},
        {with({"--type", "DWF", "--stage", "500"}, t), 1, "--stage must be 0, 700, 1000 or 1400"},
        {with({"--type", "DWF", "--speed", "1000"}, t), 1, "fixed fan stages"},
        {with({"--type", "WNF1", "--percent", "50"}, t), 1, "set by its primary air"},
        {{"--type", "WFW-2L", "--mode", "cooling", "--tv", "16", "--ti", "26", "--massflow", "100"}, 1,
         "cooling is rated from a return temperature"},
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

TEST(RateCommand, MissingProductDataIsBadInput)
{
    std::ostringstream out, err;
    const int code = run({"rate", "--type", "W1", "--tv", "75", "--ti", "20", "--tr", "65", "--data",
                          TEPA_TEST_DATA_DIR "/no-such-folder"},
                         out, err, Context{});
    EXPECT_EQ(code, 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("freikon.txt"), std::string::npos) << err.str();
}

} // namespace
} // namespace tepa::cli
