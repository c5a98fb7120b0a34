#pragma once

#include "cli/Cli.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli::test {

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

// Runs `tepa COMMAND ARGS...` with `dataDir` as the default installation folder.
inline Outcome runCommand(const std::string& command,
                          std::vector<std::string> args,
                          const std::filesystem::path& dataDir = {})
{
    args.insert(args.begin(), command);
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{dataDir});
    return {code, out.str(), err.str()};
}

} // namespace tepa::cli::test
