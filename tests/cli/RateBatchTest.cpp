#include "CliRun.h"
#include "cli/Command.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

using test::Outcome;

// One operating point per line, a cell per option of `rate`, an empty cell an option left out:
// heating from each given value, fan settings of every kind, cooling (water and primary air) and
// a decimal comma, which the CSV line quotes.
const std::vector<std::string> Columns = {"type", "mode", "length", "height", "speed", "percent", "airflow",
                                          "stage", "tv", "ti", "tr", "massflow", "output", "air-in"};
const std::vector<std::vector<std::string>> Points = {
    {"W1", "", "1000", "", "", "", "", "", "75", "20", "65", "", "", ""},
    {"W2", "heating", "", "", "", "", "", "", "75", "20", "", "120", "", ""},
    {"WF2", "", "", "", "", "50", "", "", "70", "20", "", "", "900", ""},
    {"WFs", "", "", "", "1200", "", "", "", "55", "20", "45", "", "", ""},
    {"WFW-2L", "cooling", "", "", "", "80", "", "", "16", "26", "18", "", "", ""},
    {"WNF1", "cooling", "", "", "", "", "60", "", "16", "26", "18", "", "", "17"},
    {"WNF2", "", "", "", "", "", "90", "", "70", "20", "60", "", "", ""},
    {"DWF", "", "", "", "", "", "", "1000", "60", "20", "50,5", "", "", ""},
};

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

class RateBatch : public ::testing::Test
{
protected:
    Outcome batch(const std::string& text, std::vector<std::string> more = {})
    {
        std::ofstream(file) << text;
        std::vector<std::string> args = {"rate", "--batch", file.string()};
        args.insert(args.end(), more.begin(), more.end());
        return test::runTepa(args, install);
    }
    // The points as CSV with CR LF line ends; blanks around a cell and quotes are read away.
    std::string points() const
    {
        std::string text;
        for (const auto& column : Columns)
            text += (text.empty() ? "" : ",") + column;
        for (const auto& point : Points) {
            text += "\r\n";
            for (std::size_t k = 0; k < point.size(); ++k)
                text += (k ? ", " : "") + (point[k].find(',') != std::string::npos ? '"' + point[k] + '"' : point[k]);
        }
        return text + "\r\n";
    }
    std::filesystem::path install = TEPA_TEST_DATA_DIR "/install";
    test::TempFolder folder{"tepa-batch-"};
    std::filesystem::path file = folder / "points.csv";
};

// Each line of the batch gives what `tepa rate` gives for the same options: JSON lines equal to
// the single results with the line number added, CSV lines with the same values.
TEST_F(RateBatch, EachLineIsTheSingleRating)
{
    const Outcome json = batch(points(), {"--json"});
    const Outcome csv = batch(points());
    ASSERT_EQ(json.exitCode, ExitOk) << json.err;
    ASSERT_EQ(csv.exitCode, ExitOk) << csv.err;
    const auto jsonLines = split(json.out, '\n'), csvLines = split(csv.out, '\n');
    ASSERT_EQ(jsonLines.size(), Points.size());
    ASSERT_EQ(csvLines.size(), Points.size() + 1);
    const std::vector<std::string> csvHeader = split(csvLines[0], ',');
    for (std::size_t i = 0; i < Points.size(); ++i) {
        SCOPED_TRACE(Points[i][0]);
        std::vector<std::string> args = {"rate", "--json"};
        for (std::size_t k = 0; k < Columns.size(); ++k)
            if (!Points[i][k].empty())
                args.insert(args.end(), {"--" + Columns[k], Points[i][k]});
        const Outcome single = test::runTepa(args, install);
        ASSERT_EQ(single.exitCode, ExitOk) << single.err;
        auto expected = nlohmann::ordered_json::parse(single.out);
        auto line = nlohmann::ordered_json::parse(jsonLines[i]);
        EXPECT_EQ(line["line"], i + 2);
        line.erase("line");
        EXPECT_EQ(line, expected);

        auto cells = split(csvLines[i + 1], ',');
        cells.resize(csvHeader.size());
        EXPECT_EQ(cells[0], std::to_string(i + 2));
        EXPECT_EQ(cells.back(), ""); // no error
        for (std::size_t k = 1; k + 1 < cells.size(); ++k) {
            const std::string& name = csvHeader[k];
            const auto& value = name == "limitsStatus" ? expected["limits"]["status"]
                                : expected.contains(name) ? expected[name]
                                : expected.contains("limits") ? expected["limits"][name]
                                                               : nlohmann::ordered_json();
            SCOPED_TRACE(name);
            if (value.is_null())
                EXPECT_EQ(cells[k], "");
            else if (value.is_number())
                EXPECT_EQ(std::stod(cells[k]), value.get<double>());
            else if (value.is_string())
                EXPECT_EQ(cells[k], value.get<std::string>());
            else
                EXPECT_EQ(cells[k], value.dump());
        }
    }
}

// A line that cannot be rated gets its reason, with line and column, and the batch goes on.
TEST_F(RateBatch, ABadLineIsReportedInItsRowAndTheRestRated)
{
    const std::string text = "type;tv;ti;tr;length\n"
                             "W1;75;20;x;\n"
                             "\n"
                             "W1;75;20;65;900\n"
                             "foo;75;20;65;\n"
                             "W1;75;20\n"
                             "\"W1;75;20;65;\n"
                             "W1;75;20;65;800\n";
    const Outcome csv = batch(text);
    ASSERT_EQ(csv.exitCode, ExitOk) << csv.err;
    const std::string empty(27, ';');
    const auto out = split(csv.out, '\n');
    ASSERT_EQ(out.size(), 7u) << csv.out;
    EXPECT_EQ(out[1], "2" + empty + ";line 2, column 4: --tr: 'x' is not a number");
    // A reason holding the separator is quoted.
    EXPECT_TRUE(out[2].starts_with("4" + empty + ";\"line 4, column 5: length 900")) << out[2];
    EXPECT_TRUE(out[3].starts_with("5" + empty + ";\"line 5, column 1: unknown type 'foo'")) << out[3];
    EXPECT_EQ(out[4], "6" + empty + ";line 6: 3 fields where the header names 5");
    EXPECT_EQ(out[5], "7" + empty + ";line 7, column 1: the quotation mark is not closed");
    EXPECT_TRUE(out[6].starts_with("8;W1;heating;")) << out[6];
    EXPECT_EQ(out[6].back(), ';');

    const Outcome json = batch(text, {"--json"});
    EXPECT_EQ(split(json.out, '\n')[0], R"({"line":2,"error":"line 2, column 4: --tr: 'x' is not a number"})");
}

// A batch that cannot be read at all writes nothing; misused options are usage errors.
TEST_F(RateBatch, RefusesAFileItCannotReadWithoutWritingOutput)
{
    struct Case
    {
        std::string text;
        std::vector<std::string> more;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {"type,tv,width\n", {}, ExitBadInput, "tepa rate: line 1, column 3: 'width' is not an option of rate"},
        {"type,tv,--type\n", {}, ExitBadInput, "tepa rate: line 1, column 3: 'type' is named twice"},
        {"type,\"tv\n", {}, ExitBadInput, "tepa rate: line 1, column 2: the quotation mark is not closed"},
        {"", {}, ExitBadInput, "no header line naming the columns"},
        {"type\n", {"--type", "W1"}, ExitUsage, "--type is a column there"},
        {"type\n", {"extra"}, ExitUsage, "unexpected argument 'extra'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome r = batch(c.text, c.more);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    const Outcome missing = test::runTepa({"rate", "--batch", (folder / "none.csv").string()}, install);
    EXPECT_EQ(missing.exitCode, ExitBadInput);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("none.csv: the file cannot be read"), std::string::npos) << missing.err;
}

} // namespace
} // namespace tepa::cli
