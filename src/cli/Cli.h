#pragma once

#include "core/Result.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tepa {
class PrintSurface;
}

namespace tepa::cli {

struct Invocation;

struct Context
{
    // The installation folder used when no --data is given.
    std::filesystem::path defaultDataDir;
    // How `print` runs: in this process when set (the print program, tests), else through the
    // print program at `printProgram`, else not at all (builds without Qt).
    int (*print)(Invocation&) = nullptr;
    std::filesystem::path printProgram = {};
    // How `summary --pdf` writes its file: in this process when set (the print program, tests),
    // else through the print program as `print` does.
    Status (*writePdf)(const std::filesystem::path& file, const std::string& title,
                       const std::function<Status(PrintSurface&)>& layout) = nullptr;
};

// Runs one `tepa` command line (without the program name). Output goes to `out`, messages to
// `err`. Returns the exit code: 0 success, 1 bad input, 2 usage.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Context& context);

// The installed data folder of the command at `executable` (see findDataFolder): "data" beside
// it, then the data folder of the prefix it lies in, then the prefix it was built for.
std::filesystem::path defaultDataDir(const std::filesystem::path& executable);

// The print program installed beside the command at `executable`.
std::filesystem::path printProgramBeside(const std::filesystem::path& executable);

// Runs `command` (print, or summary for its PDF) through the print program: the command, --data
// naming `call.dataDir` and its arguments; what it writes is passed on to `call.out` and
// `call.err`, its exit code returned.
int runPrintProgram(const std::filesystem::path& program, std::string_view command, Invocation& call);

// The absolute path of the running program; `argv0` only when the system cannot tell.
std::filesystem::path runningExecutable(const char* argv0);

} // namespace tepa::cli
