#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

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
};

// Runs one `tepa` command line (without the program name). Output goes to `out`, messages to
// `err`. Returns the exit code: 0 success, 1 bad input, 2 usage.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Context& context);

// The installed data folder of the command at `executable` (see findDataFolder): "data" beside
// it, then the data folder of the prefix it lies in, then the prefix it was built for.
std::filesystem::path defaultDataDir(const std::filesystem::path& executable);

// The print program installed beside the command at `executable`.
std::filesystem::path printProgramBeside(const std::filesystem::path& executable);

// Runs `print` through the print program: its arguments after --data naming `call.dataDir`; what
// it writes is passed on to `call.out` and `call.err`, its exit code returned.
int runPrintProgram(const std::filesystem::path& program, Invocation& call);

// The absolute path of the running program; `argv0` only when the system cannot tell.
std::filesystem::path runningExecutable(const char* argv0);

} // namespace tepa::cli
