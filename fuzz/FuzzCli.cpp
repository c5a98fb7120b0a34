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

#include <map>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tepa::fuzz::require;

// Every file of the folder with its size and time of writing.
std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> snapshot()
{
    std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(tepa::fuzz::tempFolder()))
        files[entry.path()] = {entry.is_regular_file() ? entry.file_size() : 0, entry.last_write_time()};
    return files;
}

// The workspace, filled once; what it held before any command ran.
const auto& workspace()
{
    static const auto before = [] {
        const fs::path root = tepa::fuzz::tempFolder(), source = TEPA_SOURCE_DATA_DIR,
                       tests = TEPA_TEST_DATA_DIR;
        fs::create_directory(root / "data");
        for (const char* name :
             {"tepatext.txt", "freikon.txt", "zwangskon.txt", "bauhoehen.txt", "konvektoren.txt"})
            fs::copy_file(source / name, root / "data" / name);
        fs::copy(tests / "install", root / "install");
        for (const fs::path& project :
             {source / "Beispiel.kon", tests / "sample-project.kon", tests / "new-project.kon"})
            fs::copy_file(project, root / project.filename());
        // Operating points for `rate --batch`: good lines, bad cells, quotes and short lines.
        tepa::fuzz::writeFile(
            root / "points.csv",
            "type,mode,length,speed,percent,airflow,stage,tv,ti,tr,massflow,output,air-in\r\n"
            "W1,,1000,,,,,75,20,65,,,\r\n\"WF2\",,,,50,,,70,20,,,900,\n"
            "WNF1,cooling,,,,60,,16,26,18,,,17\nDWF,,,,,,1000,60,20,\"50,5\",,,\n"
            "W1,,,,,,,x,20,65,,,\n\"W1,\nW1;75\n,,,,,,,,,,,,\n");
        tepa::fuzz::writeFile(root / "points2.csv", "tv;ti;type;tr\n75;20;W2;60\n");
        require(std::freopen("/dev/null", "r", stdin) != nullptr);
        return snapshot();
    }();
    return before;
}

} // namespace

// A crash inside a command happens in the workspace, which the fuzzer would take as the folder for
// the crash input. Without an artifact prefix of the user's, it gets the folder it was started in.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    workspace();
    static std::vector<char*> args(*argv, *argv + *argc);
    static std::string prefix = "-artifact_prefix=" + (fs::current_path() / "").string();
    const auto chosen = [](std::string_view arg) {
        return arg.starts_with("-artifact_prefix=") || arg.starts_with("-exact_artifact_path=");
    };
    if (std::none_of(args.begin() + 1, args.end(), chosen)) {
        args.insert(args.end(), {prefix.data(), nullptr});
        *argc = static_cast<int>(args.size()) - 1;
        *argv = args.data();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words;
    std::istringstream lines{std::string(tepa::fuzz::bytesOf(data, size))};
    for (std::string word; std::getline(lines, word);) {
        std::replace(word.begin(), word.end(), '/', '_');
        for (std::size_t at; (at = word.find("..")) != std::string::npos;)
            word[at + 1] = '_';
        words.push_back(word);
    }
    // The subcommand the dispatcher will pick: the first word that is not --data or its folder.
    auto command = words.begin();
    while (command != words.end() && (*command == "--data" || command->starts_with("--data=")))
        command += *command == "--data" && command + 1 != words.end() ? 2 : 1;
    if (command != words.end() && *command == "techdata")
        return 0;

    // The words name the workspace's files; the fuzzer's own files are named relative to the
    // folder it was started in, so the change of folder lasts for the call only.
    const fs::path started = fs::current_path();
    fs::current_path(tepa::fuzz::tempFolder());
    std::ostringstream out, err;
    const int code = tepa::cli::run(words, out, err, tepa::cli::Context{tepa::fuzz::tempFolder() / "data"});
    fs::current_path(started);
    require((code == 0 || code == 1 || code == 2) && (code == 0 || !err.str().empty()));
    // A number the user is shown is a number: what cannot be computed is refused or reported as
    // "no result", never printed as NaN or infinity ("null" in JSON). File names are echoed as
    // given, so a marker the input itself holds proves nothing.
    for (const char* nonFinite : {"Nan", "+Inf", "-Inf", ": null", ":null"})
        require(code != 0 || tepa::fuzz::bytesOf(data, size).find(nonFinite) != std::string_view::npos ||
                out.str().find(nonFinite) == std::string::npos);
    require(snapshot() == workspace());
    return 0;
}
