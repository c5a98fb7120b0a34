#include "CliRun.h"

#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

// Every command's output and every refusal, compared byte for byte with the transcript in
// tests/data/cli-transcript.txt. Each "$ tepa ..." line there is run (arguments split at blanks,
// "..." for one with blanks); the lines after it are what it wrote: "> " stdout, "! " stderr,
// "% no newline" when stdout does not end with one, "+ NAME SIZE HASH" for each file it made,
// then its exit code. Other lines are comments and stay as they are. {tmp} stands for the
// folder below, {data} for tests/data; the default installation is {data}/install.
// A new case (or a new command's rows) is one "$ tepa ..." line; to write its results, run
// TEPA_WRITE_TRANSCRIPT=1 bin/test_cli --gtest_filter='Transcript.*' and review the diff.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

const fs::path dataDir = TEPA_TEST_DATA_DIR;
const fs::path transcriptFile = dataDir / "cli-transcript.txt";

void write(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// Every file below `root` with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = test::readAll(entry.path());
    return files;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> splitArgs(const std::string& line)
{
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string arg;
        if (line[i] == '"') {
            const auto end = line.find('"', i + 1);
            arg = line.substr(i + 1, end - i - 1);
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            const auto end = std::min(line.find(' ', i), line.size());
            arg = line.substr(i, end - i);
            i = end;
        }
        args.push_back(arg);
    }
    return args;
}

std::string lines(const std::string& prefix, const std::string& text)
{
    std::string result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result += prefix + (line.empty() ? "" : " " + line) + "\n";
    if (!text.empty() && text.back() != '\n')
        result += "% no newline\n";
    return result;
}

std::uint32_t fnv1a(const std::string& bytes)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 16777619u;
    return h;
}

struct Unit
{
    const char* type;
    double height, length, output;
    int count;
    double pressureDrop = 1000;
};

template <class Entries>
void fill(Entries& entries, std::int32_t& entryCount, std::initializer_list<Unit> units)
{
    entryCount = static_cast<std::int32_t>(units.size());
    std::size_t k = 0;
    for (const Unit& u : units) {
        auto& e = entries[k++];
        e.TypeName.setText(u.type);
        e.Height = u.height, e.Length = u.length, e.Output = u.output;
        e.Count = u.count, e.PressureDrop = u.pressureDrop;
    }
}

ProjectRecord room(const char* name, double heating, double cooling)
{
    ProjectRecord r;
    r.RoomCount = 1;
    r.RoomName.setText(name);
    r.HeatingDemand = heating;
    r.CoolingDemand = cooling;
    return r;
}

// The inputs the transcript names below {tmp}.
void makeInputs(const fs::path& tmp)
{
    const std::string image = test::readAll(dataDir / "sample-project.kon");
    write(tmp / "Haus.orv", image);
    write(tmp / "techdaten.kon", image); // a project named like a technical data file
    write(tmp / "kurz.kon", image.substr(0, image.size() - 1));
    write(tmp / "Datei", "kein Ordner"); // a file where a folder is needed
    // A technical data file long enough to pass for a project.
    write(tmp / "technik.kon", "\r\n\r\nTechnische Daten:   \r\n" + image);
    // An installation whose W1 data line holds "nan" for Km and that lacks its type index.
    fs::copy(dataDir / "install", tmp / "install");
    fs::remove(tmp / "install" / "konvektoren.txt");
    std::string free = test::readAll(tmp / "install" / "freikon.txt");
    free.replace(free.find("Typdaten\r\n") + 10, 6, "   nan");
    write(tmp / "install" / "freikon.txt", free);

    // Rate batches: every kind of point (blanks around cells, a quoted decimal comma, CR LF), bad
    // lines among good ones, and files that cannot be read.
    write(tmp / "points.csv",
          "type,mode,length,height,speed,percent,airflow,stage,tv,ti,tr,massflow,output,air-in\r\n"
          "W1, , 1000, , , , , , 75, 20, 65, , ,\r\n"
          "W2, heating, , , , , , , 75, 20, , 120, ,\r\n"
          "WF2, , , , , 50, , , 70, 20, , , 900,\r\n"
          "WFs, , , , 1200, , , , 55, 20, 45, , ,\r\n"
          "WFW-2L, cooling, , , , 80, , , 16, 26, 18, , ,\r\n"
          "WNF1, cooling, , , , , 60, , 16, 26, 18, , , 17\r\n"
          "WNF2, , , , , , 90, , 70, 20, 60, , ,\r\n"
          "DWF, , , , , , , 1000, 60, 20, \"50,5\", , ,\r\n");
    write(tmp / "bad-lines.csv", "type;tv;ti;tr;length\nW1;75;20;x;\n\nW1;75;20;65;900\nfoo;75;20;65;\n"
                                 "W1;75;20\n\"W1;75;20;65;\nW1;75;20;65;800\n");
    write(tmp / "unknown-column.csv", "type,tv,width\n");
    write(tmp / "twice.csv", "type,tv,--type\n");
    write(tmp / "open-quote.csv", "type,\"tv\n");
    write(tmp / "empty.csv", "");
    write(tmp / "type.csv", "type\n");

    // A building: a dual-use room (its units counted once), a heating room sharing a key with it,
    // a room without entries, a file that is no project, a file that is not listed; and a folder
    // without projects.
    const fs::path building = tmp / "building";
    ProjectRecord dual = room("Büro 1", 2000, 1500);
    fill(dual.HeatingEntries, dual.HeatingEntryCount, {{"WFW-2L", 220, 2000, 600, 2}});
    fill(dual.CoolingEntries, dual.CoolingEntryCount, {{"WFW-2L", 220, 2000, 500, 3, 150000}});
    ProjectRecord heating = room("Flur", 1000, 0);
    fill(heating.HeatingEntries, heating.HeatingEntryCount,
         {{"WFW-2L", 220, 2000, 400, 1}, {"W1", 100, 1000, 300, 2}, {"W1", 100, 1000, 300, 1}});
    fs::create_directories(building);
    ASSERT_TRUE(saveProjectFile(building / "1-dual.kon", dual).ok());
    ASSERT_TRUE(saveProjectFile(building / "2-heating.KON", heating).ok());
    ASSERT_TRUE(saveProjectFile(building / "3-empty.kon", room("Lager", 0, 0)).ok());
    write(building / "4-damaged.kon", "no project");
    write(building / "notes.txt", "not listed");
    fs::create_directories(tmp / "no-projects");
}

// A refusal writes nothing to stdout (but for check-data's report) and leaves every file as it
// was; a success reports the files it made, which are then removed so that each case sees the
// same inputs.
std::string runCase(const std::string& command, const fs::path& tmp)
{
    const std::string tmpText = tmp.string(), dataText = dataDir.string();
    const std::string expanded = replaceAll(replaceAll(command, "{tmp}", tmpText), "{data}", dataText);
    const auto before = snapshot(tmp);
    const test::Outcome r = test::runTepa(splitArgs(expanded), dataDir / "install");
    const auto after = snapshot(tmp);
    std::string result = lines(">", r.out) + lines("!", r.err);
    if (r.exitCode != ExitOk) {
        if (command.find("check-data") == std::string::npos) { // its report is its output
            EXPECT_EQ(r.out, "");
        }
        EXPECT_TRUE(after == before) << "a refusal changed the files";
    }
    for (const auto& [name, bytes] : after) {
        if (before.contains(name)) {
            EXPECT_EQ(bytes, before.at(name)) << name << " changed";
            continue;
        }
        std::ostringstream made;
        made << "+ " << name << " " << bytes.size() << " " << std::hex << fnv1a(bytes) << "\n";
        result += made.str();
        fs::remove(tmp / name);
    }
    result += "exit " + std::to_string(r.exitCode) + "\n";
    return replaceAll(replaceAll(result, tmpText, "{tmp}"), dataText, "{data}");
}

TEST(Transcript, EveryCommandWritesWhatTheTranscriptHolds)
{
    const std::string expected = test::readAll(transcriptFile);
    ASSERT_NE(expected, "") << transcriptFile;
    test::TempFolder tmp{"tepa-transcript-"};
    makeInputs(tmp.path());
    std::string actual;
    std::istringstream in(expected);
    std::string command, expectedResult;
    auto finish = [&] {
        if (command.empty())
            return;
        const std::string result = runCase(command.substr(6), tmp.path());
        EXPECT_EQ(result, expectedResult) << command;
        actual += result;
        command.clear();
    };
    for (std::string line; std::getline(in, line);) {
        const bool resultLine = line.starts_with(">") || line.starts_with("!") || line.starts_with("+ ") ||
                                line.starts_with("% ") || line.starts_with("exit ");
        if (resultLine && !command.empty()) {
            expectedResult += line + "\n";
            continue;
        }
        finish();
        actual += line + "\n";
        if (line == "$ tepa" || line.starts_with("$ tepa ")) {
            command = line;
            expectedResult.clear();
        }
    }
    finish();
    if (std::getenv("TEPA_WRITE_TRANSCRIPT"))
        std::ofstream(transcriptFile, std::ios::binary) << actual;
    // Each case's difference is shown above; this also catches a changed comment or order.
    EXPECT_TRUE(actual == expected) << "write the transcript anew and compare it with git diff";
}

// The summary's PDF holds the lines of its text form, drawn by the printouts' layout.
TEST(Transcript, SummaryPdfHoldsEveryRoomLineAndTheBill)
{
    test::TempFolder tmp{"tepa-summary-pdf-"};
    makeInputs(tmp.path());
    const std::string pdf = (tmp / "building.pdf").string();
    const auto r = test::runTepa({"summary", (tmp / "building").string(), "--pdf", pdf});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    const std::string command = "pdftotext -layout '" + pdf + "' '" + (tmp / "text").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "pdftotext (package poppler-utils) failed";
    const std::string text = std::regex_replace(test::readAll(tmp / "text"), std::regex(" +"), " ");
    for (const char* line : {"1-dual.kon Büro 1 2000 1200 800 1500 1500 0 3\n",
                             "Warning: cooling entry 1 (WFW-2L): pressure drop above 100 kPa\n",
                             "4-damaged.kon\n not a project: Loading - Error\n", "W1 100 1000 3\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in:\n" << text;
}

} // namespace
} // namespace tepa::cli
