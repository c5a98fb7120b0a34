#include "cli/Cli.h"
#include "cli/Command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The codec tests prove what a loaded record holds; these check that the command writes it out.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

Outcome show(std::vector<std::string> args)
{
    args.insert(args.begin(), "show");
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{TEPA_TEST_DATA_DIR});
    return {code, out.str(), err.str()};
}

const std::string sampleFile = TEPA_TEST_DATA_DIR "/sample-project.kon";

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(ShowCommand, JsonNamesEveryFieldInRecordOrderWithItsValue)
{
    const auto r = show({sampleFile, "--json"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    // The record's own fields at the outer level (two blanks in), in the order of the file.
    std::size_t at = 0;
    // clang-format off
    for (const char* key :
         {"Title", "Number", "Date", "RemarkLines", "DataLines", "Attachments", "RoomName", "HeatingDemand",
          "CoolingDemand", "HeatingRoomTemp", "CoolingRoomTemp", "HeatingFlowTemp", "CoolingFlowTemp",
          "HeatingSecondTemp", "CoolingSecondTemp", "CoolingHumidity", "HeatingEntryCount", "CoolingEntryCount",
          "ReturnTempFixed", "MassFlowFixed", "HeatingEntries", "CoolingEntries", "CalculationDone",
          "HeatingInUse", "CoolingInUse", "CoolingDualUse", "HeatingDualUse", "RoomCount"}) {
        // clang-format on
        at = r.out.find(std::string("\n  \"") + key + "\": ", at);
        EXPECT_NE(at, std::string::npos) << key;
    }
    EXPECT_EQ(occurrences(r.out, "\"TypeName\": "), 24u);             // 12 heating and 12 cooling entries
    EXPECT_EQ(occurrences(r.out, "\"CoolingNominalOutput\": "), 12u); // heating entries only
    EXPECT_EQ(r.out.rfind("{\n", 0), 0u);
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
    // Texts come back from Windows-1252 as UTF-8; 68.8 has no exact binary form, 17 digits bring
    // back the very same double.
    for (const char* line : {"\n  \"Title\": \"Bürogebäude Nordring 12\",\n",
                             "\n    \"C:\\\\ORVA\\\\Projekte\\\\Nordring\\\\Heizlast.xls\",\n",
                             "\n  \"HeatingFlowTemp\": 70,\n", "\n      \"MassFlow\": 68.799999999999997,\n",
                             "\n  \"CoolingInUse\": true,\n", "\n  \"RoomCount\": 1\n}\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST(ShowCommand, SummaryListsRoomDataAndEntriesInUse)
{
    const auto r = show({sampleFile});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    // clang-format off
    for (const char* line : {
             "  Heating demand        2400.0 W\n", "  Cooling humidity      50.0 %\n",
             "Heating entries (entries 1 to 2)\n",
             "    1  W2               1200        500      2    1200.0            68.8       55.0              35.2          0.0\n",
             "    2  WFW              1000        200      1    1250.0           107.5       60.0            1480.0         31.5\n",
             "Cooling entries (entries 1 to 1)\n"})
        // clang-format on
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\nin\n" << r.out;

    const auto fresh = show({TEPA_TEST_DATA_DIR "/new-project.kon"});
    ASSERT_EQ(fresh.exitCode, ExitOk) << fresh.err;
    EXPECT_EQ(occurrences(fresh.out, "  no entry in use\n"), 2u) << fresh.out;
}

TEST(ShowCommand, ErrorsAndUsage)
{
    const fs::path dir = fs::temp_directory_path() / ("tepa-show-" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
    const fs::path shortFile = dir / "kurz.kon";
    {
        std::ifstream in(sampleFile, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(shortFile, std::ios::binary) << bytes.substr(0, 15857);
    }
    const fs::path missing = dir / "fehlt.kon";
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
    };
    const Case cases[] = {
        {{shortFile.string(), "--json"}, ExitBadInput, "Loading - Error"},
        {{missing.string()}, ExitBadInput, "Datei " + missing.string() + " kann nicht geöffnet werden"},
        {{}, ExitUsage, "usage: tepa show"},
        {{shortFile.string(), missing.string()}, ExitUsage, "usage: tepa show"},
        {{"--xml", shortFile.string()}, ExitUsage, "unknown option --xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const auto r = show(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
    const auto help = show({"--help"});
    EXPECT_EQ(help.exitCode, ExitOk);
    EXPECT_NE(help.out.find("usage: tepa show PROJECT.kon [--json]"), std::string::npos) << help.out;
    fs::remove_all(dir);
}

} // namespace
} // namespace tepa::cli
