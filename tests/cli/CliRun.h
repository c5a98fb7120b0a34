#pragma once

#include "cli/Cli.h"
#include "cli/Command.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace tepa::cli::test {

namespace fs = std::filesystem;

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

// Runs `tepa ARGS...` with `dataDir` as the default installation folder.
inline Outcome runTepa(const std::vector<std::string>& args, const fs::path& dataDir = {})
{
    std::ostringstream out, err;
    // Printing runs in this process; the print program is checked as a program of its own.
    Context context{dataDir};
    context.print = runPrint;
    context.writePdf = writePrintoutPdf;
    const int code = run(args, out, err, context);
    return {code, out.str(), err.str()};
}

inline Outcome runCommand(const std::string& command, std::vector<std::string> args, const fs::path& dataDir = {})
{
    args.insert(args.begin(), command);
    return runTepa(args, dataDir);
}

inline std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh folder of its own in the system's temporary folder, removed with the object.
class TempFolder
{
public:
    explicit TempFolder(const std::string& prefix)
        : m_path(fs::temp_directory_path() / (prefix + std::to_string(std::random_device()())))
    {
        fs::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

} // namespace tepa::cli::test
