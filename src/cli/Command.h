#pragma once

#include "cli/Cli.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace tepa::cli {

enum ExitCode : int
{
    ExitOk = 0,
    ExitBadInput = 1,
    ExitUsage = 2,
};

// What a subcommand gets: its own arguments (the subcommand name, --data and its value removed),
// the installation folder and the two streams.
struct Invocation
{
    std::vector<std::string> args;
    std::filesystem::path dataDir;
    bool dataDirGiven = false;
    std::ostream& out;
    std::ostream& err;
    // How the command line was run (printing), when a command needs to know.
    const Context* context = nullptr;
};

// Options of one subcommand: "--name value" options and "--flag" switches, in any order, mixed
// with positional arguments (a negative number or a lone "-" is an argument). An unknown option,
// a missing value or a repeated option is a usage error with a message naming it. "--help" is
// known to every subcommand.
class OptionParser
{
public:
    OptionParser();
    ~OptionParser();
    OptionParser(const OptionParser&) = delete;
    OptionParser& operator=(const OptionParser&) = delete;

    // `name` is the long name ("--output"), optionally after a short one ("-o,--output").
    OptionParser& value(const std::string& name);
    OptionParser& flag(const std::string& name);

    // On failure returns false and sets error().
    bool parse(const std::vector<std::string>& args);

    // Sets values directly, as parse would from "--name value" (the cells of a batch line, which
    // need no parsing of their own). set returns false for a name that is not an option.
    void clearValues();
    bool set(const std::string& name, std::string value);

    bool has(const std::string& name) const;
    std::optional<std::string> get(const std::string& name) const;
    const std::vector<std::string>& positionals() const { return m_positionals; }
    const std::string& error() const { return m_error; }

private:
    std::unique_ptr<CLI::App> m_app;
    std::map<std::string, CLI::Option*> m_options; // by long name
    std::map<std::string, std::string> m_values;    // the options given, by long name
    std::vector<std::string> m_positionals;
    std::string m_error;
};

// The subcommands, one source file each.
int runShow(Invocation& call);
int runCheckData(Invocation& call);
int runRate(Invocation& call);
int runDewpoint(Invocation& call);
int runList(Invocation& call);
int runTechdata(Invocation& call);
int runSummary(Invocation& call);
int runSize(Invocation& call);
// Only in builds with Qt (not in fuzz builds): it lays out text with Qt's fonts.
int runPrint(Invocation& call);
// Writes a PDF file with Qt's PDF writer, in this process (see Context::writePdf).
Status writePrintoutPdf(const std::filesystem::path& file, const std::string& title,
                        const std::function<Status(PrintSurface&)>& layout);

} // namespace tepa::cli
