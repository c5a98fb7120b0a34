#include "CliRun.h"

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/model/ProjectFile.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/TechnicalData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <streambuf>

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
        {{"--json", "--json"}, "option --json given twice"},
        {{"--json=1"}, "option --json takes no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        OptionParser options;
        options.value("--tv").flag("--json");
        EXPECT_FALSE(options.parse(c.args));
        EXPECT_EQ(options.error(), c.error);
    }
}

TEST(Json, KeepsKeyOrderWholeNumbersAndEveryDigitAndSurvivesBadText)
{
    std::ostringstream out;
    writeJson(out, Json{{"name", "Größe \"A\"\n"},
                        {"length", 800.0},
                        {"value", 0.1},
                        {"flag", true},
                        {"list", Json::array({std::nan(""), std::string("a\x01\xff", 3)})}});
    EXPECT_EQ(out.str(), "{\n"
                         "  \"name\": \"Größe \\\"A\\\"\\n\",\n"
                         "  \"length\": 800,\n"
                         "  \"value\": 0.1,\n"
                         "  \"flag\": true,\n"
                         "  \"list\": [\n"
                         "    null,\n"
                         "    \"a\\u0001\ufffd\"\n"
                         "  ]\n"
                         "}\n");
}

// Every refusal of every command: the exit code, the message on stderr, nothing on stdout and no
// file written or changed. Inputs live in a folder of their own: a sample project "Haus.orv",
// the same project named like its technical data file, a file one byte short of a project, a
// technical data file long enough to pass for a record, a plain file standing where a folder is
// needed, and an installation whose "W1" data line holds
// "nan" for its coefficient.
class CliFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string image = test::readAll(sample);
        for (const char* name : {"Haus.orv", "techdaten.kon"})
            std::ofstream(folder / name, std::ios::binary) << image;
        std::ofstream(folder / "kurz.kon", std::ios::binary) << image.substr(0, 15857);
        std::ofstream(folder / "Datei") << "kein Ordner";
        // A technical data file long enough to pass for a record.
        std::ofstream(folder / "technik.kon", std::ios::binary) << "\r\n\r\nTechnische Daten:   \r\n" << image;
        std::filesystem::copy(install, folder / "install");
        std::fstream data(folder / "install" / "freikon.txt", std::ios::in | std::ios::out | std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(data)), {});
        const std::size_t heading = text.find("Typdaten\r\n"); // W1's data line follows it
        ASSERT_NE(heading, std::string::npos);
        text.replace(heading + 10, 6, "   nan");
        data.seekp(0);
        data << text;
    }
    std::string path(const char* name) const { return (folder / name).string(); }
    std::filesystem::path sample = TEPA_TEST_DATA_DIR "/sample-project.kon";
    std::filesystem::path install = TEPA_TEST_DATA_DIR "/install";
    test::TempFolder folder{"tepa-refusals-"};
};

TEST_F(CliFiles, EveryCommandRefusesWithAMessageAndWritesNothing)
{
    const std::string project = path("Haus.orv"), missing = path("fehlt.kon"), shortFile = path("kurz.kon");
    const std::vector<std::string> point = {"--tv", "75", "--ti", "20", "--tr", "65"};
    auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
    };
    const Case cases[] = {
        {{}, ExitUsage, "usage: tepa"},
        {{"frobnicate"}, ExitUsage, "unknown command 'frobnicate'"},
        {{"show", "--data"}, ExitUsage, "--data needs a folder"},
        {{"show", shortFile, "--json"}, ExitBadInput, "tepa show: Loading - Error"},
        {{"show", missing}, ExitBadInput, "tepa show: Datei " + missing + " kann nicht geöffnet werden"},
        {{"show", project, missing}, ExitUsage, "usage: tepa show"},
        {{"show", path("technik.kon")}, ExitBadInput, "a technical data file, not a project file"},
        {{"list", missing}, ExitBadInput, "tepa list: Datei " + missing + " kann nicht geöffnet werden"},
        {{"list", project, project}, ExitUsage, "usage: tepa list PROJECT.kon"},
        {{"techdata"}, ExitUsage, "usage: tepa techdata PROJECT.kon [-o FILE]"},
        {{"techdata", project, "-o"}, ExitUsage, "tepa techdata: option --output needs a value"},
        {{"techdata", missing}, ExitBadInput, "tepa techdata: Datei " + missing + " kann nicht geöffnet werden"},
        {{"techdata", project, "-o", path("Datei") + "/t.txt"}, ExitBadInput,
         "tepa techdata: " + path("Datei") + "/t.txt: Not a directory"},
        // An output that would destroy the input or another project.
        {{"techdata", path("techdaten.kon")}, ExitBadInput, "this is the input file"},
        {{"techdata", project, "-o", project}, ExitBadInput, "this is the input file"},
        {{"techdata", project, "-o", path("techdaten.kon")}, ExitBadInput, "this is a project file"},
        {{"print", project, "--list", "--letter-paper", "--pdf", project}, ExitBadInput, "this is the input file"},
        {{"print", project, "--list", "--calc-data", "--pdf", path("o.pdf")}, ExitUsage, "usage: tepa print"},
        {{"print", project, "--list"}, ExitUsage, "usage: tepa print"},
        {{"print", project, "--calc-data", "--mode", "heat", "--pdf", path("o.pdf")}, ExitUsage, "usage: tepa print"},
        {{"print", project, "--list", "--mode", "cooling", "--pdf", path("o.pdf")}, ExitUsage, "usage: tepa print"},
        {{"print", missing, "--list", "--pdf", path("o.pdf")}, ExitBadInput, "kann nicht geöffnet werden"},
        {{"print", project, "--list", "--pdf", path("o.pdf")}, ExitBadInput,
         "tepa print: Datei " + (install / "image4.bmp").string() + " kann nicht geöffnet werden"},
        {{"dewpoint", "--room", "26", "--humidity", "100.01"}, ExitBadInput, "at most 100"},
        {{"dewpoint", "--room", "nan", "--humidity", "50"}, ExitBadInput, "--room: 'nan' is not a number"},
        // Below the saturation law's range (1.098 + T/100 must stay positive).
        {{"dewpoint", "--room", "-200", "--humidity", "50"}, ExitBadInput, "no dew point"},
        {{"dewpoint", "--room", "26"}, ExitUsage, "give --room and --humidity"},
        {with({"rate", "--type", "W1", "--data", path("nowhere")}, point), ExitBadInput, "freikon.txt"},
        {with({"rate", "--type", "W1", "--data", path("install")}, point), ExitBadInput,
         "tepa rate: freikon.txt:16: data line of \"W1\": Km (columns 1-6) is not a number"},
        {{"check-data", install.string(), install.string()}, ExitUsage, "one folder at most"},
        {{"check-data", path("nowhere")}, ExitBadInput, "is not a folder"},
        {{"check-data", path("Datei")}, ExitBadInput, "is not a folder"},
    };
    const std::size_t files = folder.fileCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const test::Outcome r = test::runTepa(c.args, install);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
        EXPECT_EQ(folder.fileCount(), files);
        EXPECT_EQ(test::readAll(path("Haus.orv")), test::readAll(sample));
        EXPECT_EQ(test::readAll(path("techdaten.kon")), test::readAll(sample));
    }
}

// Where the technical data file goes, and that it holds what the core writes (the format itself
// is proved with the reports).
TEST_F(CliFiles, TechdataWritesBesideTheProjectWithItsExtensionOrWhereTold)
{
    const auto project = loadProjectFile(sample);
    ASSERT_TRUE(project.ok());
    const std::size_t files = folder.fileCount();
    for (const std::string& target : {path("techdaten.orv"), path("out.txt")}) {
        SCOPED_TRACE(target);
        const bool told = target == path("out.txt");
        std::vector<std::string> args = {"techdata", path("Haus.orv")};
        if (told)
            args.insert(args.end(), {"-o", target});
        const test::Outcome r = test::runTepa(args, install);
        ASSERT_EQ(r.exitCode, ExitOk) << r.err;
        EXPECT_EQ(r.out, target + "\n");
        EXPECT_EQ(test::readAll(target), TechnicalDataBytes(*project));
        EXPECT_EQ(folder.fileCount(), files + 1);
        std::filesystem::remove(target);
    }
}

// The list command prints the core's list lines, one per line; a project without named entries
// prints nothing.
TEST_F(CliFiles, ListPrintsTheConvectorListLines)
{
    const auto project = loadProjectFile(sample);
    ASSERT_TRUE(project.ok());
    std::string expected;
    for (const std::string& line : convectorListLines(BuildConvectorList(*project)))
        expected += line + "\n";
    ASSERT_NE(expected, "");
    for (const auto& [file, out] : {std::pair{sample.string(), expected},
                                    std::pair{std::string(TEPA_TEST_DATA_DIR "/new-project.kon"), std::string()}}) {
        const test::Outcome r = test::runTepa({"list", file}, install);
        EXPECT_EQ(r.exitCode, ExitOk) << r.err;
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(r.err, "");
    }
}

// check-data looks at the folder it is given, else the --data folder, else the installed one, and
// prints each problem as FILE:LINE (FILE alone for a whole file) on stdout.
TEST_F(CliFiles, CheckDataPrintsEachProblemOfTheFolderItWasGiven)
{
    const std::string good = install.string(), bad = path("install");
    std::filesystem::remove(folder / "install" / "konvektoren.txt");
    struct Case
    {
        std::vector<std::string> args;
        std::filesystem::path defaultDir;
        std::string out, err;
    };
    const std::string problems =
        bad + "/freikon.txt:16: data line of \"W1\": Km (columns 1-6) is not a right-aligned number: \"   nan\"\n" +
        bad + "/konvektoren.txt: missing or unreadable\n";
    const std::string failed = "tepa check-data: " + bad + ": 2 problems in the installation data\n";
    const Case cases[] = {
        {{"check-data", good}, bad, good + ": installation data valid\n", ""},
        {{"check-data", good, "--data", bad}, bad, good + ": installation data valid\n", ""},
        {{"--data", bad, "check-data"}, install, problems, failed},
        {{"check-data"}, bad, problems, failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const test::Outcome r = test::runTepa(c.args, c.defaultDir);
        EXPECT_EQ(r.exitCode, c.err.empty() ? ExitOk : ExitBadInput);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

// A stream that takes nothing: a full disk or a closed pipe behind the standard output.
class FullStream : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(CliFiles, OutputThatCannotBeWrittenIsAFailure)
{
    const std::vector<std::vector<std::string>> commands = {
        {"show", path("Haus.orv"), "--json"},
        {"list", path("Haus.orv")},
        {"check-data", install.string()},
        {"dewpoint", "--room", "26", "--humidity", "50"},
        {"rate", "--type", "W1", "--tv", "75", "--ti", "20", "--tr", "65"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        FullStream full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(run(args, out, err, Context{install}), ExitBadInput);
        EXPECT_EQ(err.str(), "tepa " + args.front() + ": the output could not be written completely\n");
    }
}

} // namespace
} // namespace tepa::cli
