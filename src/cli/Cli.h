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

// The installed data folder: "data" beside the executable when it holds the interface texts,
// otherwise the install prefix's data folder.
std::filesystem::path defaultDataDir(const std::filesystem::path& executable);

} // namespace tepa::cli
