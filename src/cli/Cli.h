#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace tepa::cli {

struct Context
{
    // The installation folder used when no --data is given.
    std::filesystem::path defaultDataDir;
};

// Runs one `tepa` command line (without the program name). Output goes to `out`, messages to
// `err`. Returns the exit code: 0 success, 1 bad input, 2 usage.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Context& context);

// The installed data folder of the command at `executable` (see findDataFolder): "data" beside
// it, then the data folder of the prefix it lies in, then the prefix it was built for.
std::filesystem::path defaultDataDir(const std::filesystem::path& executable);

// The absolute path of the running program; `argv0` only when the system cannot tell.
std::filesystem::path runningExecutable(const char* argv0);

} // namespace tepa::cli
