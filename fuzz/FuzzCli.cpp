// `tepa` command lines of arbitrary words (one per line), run in a private folder with copies of
// the shipped installation ("data"), sample projects and the command tests' inputs; no word
// reaches outside it ("/" and ".." are broken), "techdata" (which writes) is left out. Run it with
// an -artifact_prefix (as scripts/test.sh does). Checked: exit 0, 1 or 2, a failure says why, a
// success shows no NaN or infinity, and no file changed.
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
        fs::copy(tests / "cli-inputs", root, fs::copy_options::recursive); // rate batches, a building
        require(std::freopen("/dev/null", "r", stdin) != nullptr);
        return snapshot();
    }();
    return before;
}

} // namespace

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

    workspace();
    // The fuzzer's own files are named relative to the folder it was started in.
    const fs::path started = fs::current_path();
    fs::current_path(tepa::fuzz::tempFolder());
    std::ostringstream out, err;
    const int code = tepa::cli::run(words, out, err, tepa::cli::Context{tepa::fuzz::tempFolder() / "data"});
    fs::current_path(started);
    require((code == 0 || code == 1 || code == 2) && (code == 0 || !err.str().empty()));
    // No NaN or infinity ("null" in JSON) is shown, but in echoed file names.
    for (const char* nonFinite : {"Nan", "+Inf", "-Inf", ": null", ":null"})
        require(code != 0 || tepa::fuzz::bytesOf(data, size).find(nonFinite) != std::string_view::npos ||
                out.str().find(nonFinite) == std::string::npos);
    require(snapshot() == workspace());
    return 0;
}
