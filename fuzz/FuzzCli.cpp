// Runs `tepa` command lines made of arbitrary words through the real dispatcher and option
// parsers: show, list, check-data, rate (also --batch), dewpoint, summary, size, help and unknown
// commands.
//
// The input is the argument words, one per line. Each command runs in a private temporary folder
// that holds copies of the shipped installation ("data", also the default installation) and of
// the sample projects, so the words can name real files. A "/" in a word becomes "_" and ".."
// becomes "._", so no word reaches outside that folder; stdin is /dev/null, so nothing can wait
// on it. "techdata" writes a file by design and is left out.
//
// Checked: the exit code is 0, 1 or 2; a failure says why on stderr; a success shows no NaN or
// infinity; and no command changed anything in the folder.
#include "FuzzSupport.h"

#include "cli/Cli.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tepa::fuzz::require;

struct Stamp
{
    std::uintmax_t size;
    fs::file_time_type written;
    bool operator==(const Stamp&) const = default;
};
using Snapshot = std::map<fs::path, Stamp>;

Snapshot snapshot(const fs::path& root)
{
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry.path()] = {entry.is_regular_file() ? entry.file_size() : 0, entry.last_write_time()};
    return files;
}

struct Workspace
{
    tepa::fuzz::TempFolder folder;
    Snapshot before;

    Workspace()
    {
        const fs::path data = folder.path() / "data";
        fs::create_directory(data);
        for (const char* name :
             {"tepatext.txt", "freikon.txt", "zwangskon.txt", "bauhoehen.txt", "konvektoren.txt"})
            fs::copy_file(fs::path(TEPA_SOURCE_DATA_DIR) / name, data / name);
        fs::copy(fs::path(TEPA_TEST_DATA_DIR) / "install", folder.path() / "install");
        fs::copy_file(fs::path(TEPA_SOURCE_DATA_DIR) / "Beispiel.kon", folder.path() / "Beispiel.kon");
        for (const char* name : {"sample-project.kon", "new-project.kon"})
            fs::copy_file(fs::path(TEPA_TEST_DATA_DIR) / name, folder.path() / name);
        // Operating points for `rate --batch`: good lines, bad cells, quotes and short lines.
        std::ofstream(folder.path() / "points.csv", std::ios::binary)
            << "type,mode,length,speed,percent,airflow,stage,tv,ti,tr,massflow,output,air-in\r\n"
               "W1,,1000,,,,,75,20,65,,,\r\n\"WF2\",,,,50,,,70,20,,,900,\n"
               "WNF1,cooling,,,,60,,16,26,18,,,17\nDWF,,,,,,1000,60,20,\"50,5\",,,\n"
               "W1,,,,,,,x,20,65,,,\n\"W1,\nW1;75\n,,,,,,,,,,,,\n";
        std::ofstream(folder.path() / "points2.csv", std::ios::binary) << "tv;ti;type;tr\n75;20;W2;60\n";
        require(std::freopen("/dev/null", "r", stdin) != nullptr);
        before = snapshot(folder.path());
    }
};

// Runs the command line with the workspace as the current folder, so that words name its files.
// The fuzzer's own files (corpus, crash inputs) are named relative to the folder it was started
// in, so the change lasts for the call only.
class InWorkspace
{
public:
    explicit InWorkspace(const fs::path& folder)
        : m_previous(fs::current_path())
    {
        fs::current_path(folder);
    }
    ~InWorkspace() { fs::current_path(m_previous); }
    InWorkspace(const InWorkspace&) = delete;
    InWorkspace& operator=(const InWorkspace&) = delete;

private:
    fs::path m_previous;
};

Workspace& workspace()
{
    static Workspace instance;
    return instance;
}

std::string confined(std::string word)
{
    for (char& c : word)
        if (c == '/')
            c = '_';
    for (std::size_t at; (at = word.find("..")) != std::string::npos;)
        word[at + 1] = '_';
    return word;
}

std::vector<std::string> wordsOf(std::string_view input)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < input.size()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        words.push_back(confined(std::string(input.substr(start, end - start))));
        start = end + 1;
    }
    return words;
}

// The subcommand the dispatcher will pick: the first word that is not --data or its folder.
std::string_view commandOf(const std::vector<std::string>& words)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--data")
            ++i;
        else if (!words[i].starts_with("--data="))
            return words[i];
    }
    return {};
}

} // namespace

// A crash inside a command happens in the workspace, which the fuzzer would take as the folder for
// the crash input. Without an artifact prefix of the user's, it gets the folder it was started in.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    workspace();
    for (int i = 1; i < *argc; ++i) {
        const std::string_view arg = (*argv)[i];
        if (arg.starts_with("-artifact_prefix=") || arg.starts_with("-exact_artifact_path="))
            return 0;
    }
    static std::string prefix = "-artifact_prefix=" + (fs::current_path() / "").string();
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    args.push_back(prefix.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Workspace& ws = workspace();
    const auto words = wordsOf({reinterpret_cast<const char*>(data), size});
    if (commandOf(words) == "techdata")
        return 0;

    std::ostringstream out, err;
    int code = 0;
    {
        InWorkspace here(ws.folder.path());
        code = tepa::cli::run(words, out, err, tepa::cli::Context{ws.folder.path() / "data"});
    }
    require(code == 0 || code == 1 || code == 2);
    if (code != 0)
        require(!err.str().empty());
    // A number the user is shown is a number: what cannot be computed is refused or reported as
    // "no result", never printed as NaN or infinity ("null" in JSON).
    // File names are echoed as given, so a marker the input itself holds proves nothing.
    if (code == 0) {
        const std::string shown = out.str();
        for (const char* nonFinite : {"Nan", "+Inf", "-Inf", ": null", ":null"}) {
            const bool echoed = std::any_of(words.begin(), words.end(), [nonFinite](const std::string& w) {
                return w.find(nonFinite) != std::string::npos;
            });
            require(echoed || shown.find(nonFinite) == std::string::npos);
        }
    }
    require(snapshot(ws.folder.path()) == ws.before);
    return 0;
}
