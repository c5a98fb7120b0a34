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

// Every command's output and refusal, compared with tests/data/cli-transcript.txt. Each
// "$ tepa ..." line there is run (arguments split at blanks, "..." for one with blanks); below it
// is what it wrote: "> " stdout, "! " stderr, "% no newline", "+ NAME SIZE HASH" for each file it
// made, its exit code. Other lines are comments. {tmp} stands for the folder below, {data} for
// tests/data; the default installation is {data}/install. For a new "$ tepa ..." line, run
// TEPA_WRITE_TRANSCRIPT=1 bin/test_cli --gtest_filter='Transcript.*' and review the diff.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

const fs::path dataDir = TEPA_TEST_DATA_DIR;
const fs::path transcriptFile = dataDir / "cli-transcript.txt";
const fs::path fixtureInstall = dataDir / "install";

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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
    for (auto i = line.find_first_not_of(' '); i < line.size(); i = line.find_first_not_of(' ', i)) {
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

// The inputs below {tmp}: the files of tests/data/cli-inputs and these.
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

// A refusal writes nothing to stdout (but check-data's report) and changes no file; the files a
// success made are reported and removed, so each case sees the same inputs.
std::string runCase(const std::string& command, const fs::path& tmp)
{
    const std::string tmpText = tmp.string(), dataText = dataDir.string();
    const std::string expanded = replaceAll(replaceAll(command, "{tmp}", tmpText), "{data}", dataText);
    // Printing runs in this process; print-program-test.sh checks the print program.
    Context context{fixtureInstall};
    context.print = runPrint;
    context.writePdf = writePrintoutPdf;
    std::ostringstream out, err;
    const auto before = snapshot(tmp);
    const int exitCode = run(splitArgs(expanded), out, err, context);
    const auto after = snapshot(tmp);
    std::string result = lines(">", out.str()) + lines("!", err.str());
    if (exitCode != ExitOk) {
        EXPECT_TRUE(out.str().empty() || command.find("check-data") != std::string::npos) << out.str();
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
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(">") || line.starts_with("!") || line.starts_with("+ ") ||
            line.starts_with("% ") || line.starts_with("exit "))
            continue; // a result, written anew below its command
        actual += line + "\n";
        if (line == "$ tepa" || line.starts_with("$ tepa "))
            actual += runCase(line.substr(6), tmp.path);
    }
    if (std::getenv("TEPA_WRITE_TRANSCRIPT"))
        std::ofstream(transcriptFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected) << "write the transcript anew and compare it with git diff";
}

} // namespace
} // namespace tepa::cli
