#include "cli/Cli.h"
#include "cli/Command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

// Every command's output and every refusal, compared byte for byte with the transcript in
// tests/data/cli-transcript.txt. Each "$ tepa ..." line there is run (arguments split at blanks,
// "..." for one with blanks); the lines after it are what it wrote: "> " stdout, "! " stderr,
// "% no newline" when stdout does not end with one, "+ NAME SIZE HASH" for each file it made,
// then its exit code. Other lines are comments and stay as they are. {tmp} stands for the
// folder below, {data} for tests/data; the default installation is {data}/install.
// A new case (or a new command's rows) is one "$ tepa ..." line; to write its results, run
// TEPA_WRITE_TRANSCRIPT=1 bin/test_cli --gtest_filter='Transcript.*' and review the diff.
// What the PDFs hold, whose bytes carry their time of making, print-program-test.sh reads back.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

const fs::path dataDir = TEPA_TEST_DATA_DIR;
const fs::path transcriptFile = dataDir / "cli-transcript.txt";
// The fixture installation has interface texts "Text n" and no letterhead logo.
const fs::path fixtureInstall = dataDir / "install";

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh folder of its own in the system's temporary folder, removed with the object.
struct TempFolder
{
    fs::path path = fs::temp_directory_path() / ("tepa-cli-" + std::to_string(std::random_device()()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() { fs::remove_all(path); }
};

// Every file below `root` with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = readAll(entry.path());
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
        const bool quoted = line[i] == '"';
        const auto end = std::min(line.find(quoted ? '"' : ' ', i + 1), line.size());
        args.push_back(line.substr(i + quoted, end - i - quoted));
        i = end + quoted;
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

// The inputs the transcript names below {tmp}: the files of tests/data/cli-inputs (rate batches;
// a file where a folder is needed; a building of a dual-use room whose units are counted once, a
// heating room sharing a key with it, a room without entries, a file that is no project and one
// that is not listed) and these.
void makeInputs(const fs::path& tmp)
{
    fs::copy(dataDir / "cli-inputs", tmp, fs::copy_options::recursive);
    const std::string image = readAll(dataDir / "sample-project.kon");
    // A project with another extension, and one named like a technical data file.
    for (const char* name : {"Haus.orv", "techdaten.kon"})
        std::ofstream(tmp / name, std::ios::binary) << image;
    std::ofstream(tmp / "kurz.kon", std::ios::binary) << image.substr(0, image.size() - 1);
    // A technical data file long enough to pass for a project.
    std::ofstream(tmp / "technik.kon", std::ios::binary) << "\r\n\r\nTechnische Daten:   \r\n" + image;
    // An installation whose W1 data line holds "nan" for Km and that lacks its type index.
    fs::copy(fixtureInstall, tmp / "install");
    fs::remove(tmp / "install" / "konvektoren.txt");
    std::string free = readAll(tmp / "install" / "freikon.txt");
    free.replace(free.find("Typdaten\r\n") + 10, 6, "   nan");
    std::ofstream(tmp / "install" / "freikon.txt", std::ios::binary) << free;

    fs::create_directories(tmp / "no-projects");
}

// A refusal writes nothing to stdout (but for check-data's report) and leaves every file as it
// was; a success reports the files it made, which are then removed so that each case sees the
// same inputs.
std::string runCase(const std::string& command, const fs::path& tmp)
{
    const std::string tmpText = tmp.string(), dataText = dataDir.string();
    const std::string expanded = replaceAll(replaceAll(command, "{tmp}", tmpText), "{data}", dataText);
    // Printing runs in this process; the print program is checked as a program of its own
    // (print-program-test.sh).
    Context context{fixtureInstall};
    context.print = runPrint;
    context.writePdf = writePrintoutPdf;
    std::ostringstream out, err;
    const auto before = snapshot(tmp);
    const int exitCode = run(splitArgs(expanded), out, err, context);
    const auto after = snapshot(tmp);
    std::string result = lines(">", out.str()) + lines("!", err.str());
    if (exitCode != ExitOk) {
        if (command.find("check-data") == std::string::npos) { // its report is its output
            EXPECT_EQ(out.str(), "");
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
    result += "exit " + std::to_string(exitCode) + "\n";
    return replaceAll(replaceAll(result, tmpText, "{tmp}"), dataText, "{data}");
}

TEST(Transcript, EveryCommandWritesWhatTheTranscriptHolds)
{
    const std::string expected = readAll(transcriptFile);
    ASSERT_NE(expected, "") << transcriptFile;
    TempFolder tmp;
    makeInputs(tmp.path);
    std::string actual;
    std::istringstream in(expected);
    std::string command, expectedResult;
    auto finish = [&] {
        if (command.empty())
            return;
        const std::string result = runCase(command.substr(6), tmp.path);
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

} // namespace
} // namespace tepa::cli
