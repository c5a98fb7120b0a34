#include "cli/Cli.h"

#include "cli/Command.h"
#include "core/productdata/DataFolder.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string_view>

namespace tepa::cli {
namespace {

struct Subcommand
{
    std::string_view name;
    int (*run)(Invocation&);
    std::string_view summary;
};

constexpr Subcommand subcommands[] = {
    {"show", runShow, "show PROJECT.kon [--json]      the project file as read"},
    {"check-data", runCheckData, "check-data [DIR]               check an installation folder"},
    {"rate", runRate, "rate --type NAME ...           rate one convector at an operating point"},
    {"dewpoint", runDewpoint, "dewpoint --room C --humidity PCT [--json]   dew point of room air"},
    {"list", runList, "list PROJECT.kon               the project's convector list"},
    {"summary", runSummary,
     "summary FILE... | DIR [--csv | --json | --pdf OUT.pdf]   rooms and convectors of a building"},
    {"size", runSize,
     "size --demand W --tv C --ti C (--tr C | --max-massflow KGH) ...   convectors that meet a demand"},
    {"techdata", runTechdata, "techdata PROJECT.kon [-o FILE] write the project's technical data file"},
    {"print", nullptr,
     "print PROJECT.kon (--list | --calc-data) [--letter-paper] --pdf OUT.pdf   a printout as PDF"},
};

void printUsage(std::ostream& out)
{
    out << "usage: tepa COMMAND [ARGS] [--data DIR]\n\ncommands:\n";
    for (const auto& command : subcommands)
        out << "  " << command.summary << '\n';
    out << "\n--data DIR names the installation folder (product data, interface texts).\n"
           "tepa COMMAND --help shows the options of one command.\n";
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Context& context)
{
    // --data may stand anywhere; take it out before the subcommand sees its arguments.
    CLI::App shared;
    shared.set_help_flag();
    shared.allow_windows_style_options(false);
    shared.allow_extras();
    std::string dataOption;
    CLI::Option* data = shared.add_option("--data", dataOption)->type_size(1)->expected(1)->multi_option_policy(
        CLI::MultiOptionPolicy::TakeLast);
    std::vector<std::string> reversed(args.rbegin(), args.rend()); // the parser takes them from the back
    try {
        shared.parse(reversed);
    } catch (const CLI::ParseError&) {
        err << "tepa: --data needs a folder\n";
        return ExitUsage;
    }
    const bool dataDirGiven = data->count() > 0;
    const std::filesystem::path dataDir = dataDirGiven ? std::filesystem::path(dataOption) : context.defaultDataDir;
    const std::vector<std::string> rest = shared.remaining();

    if (rest.empty()) {
        printUsage(err);
        return ExitUsage;
    }
    if (rest.front() == "--help" || rest.front() == "-h" || rest.front() == "help") {
        printUsage(out);
        return ExitOk;
    }
    for (const auto& command : subcommands) {
        if (rest.front() == command.name) {
            Invocation call{{rest.begin() + 1, rest.end()}, dataDir, dataDirGiven, out, err, &context};
            int code = ExitUsage;
            if (command.run != nullptr)
                code = command.run(call);
            else if (context.print != nullptr)
                code = context.print(call);
            else if (!context.printProgram.empty())
                code = runPrintProgram(context.printProgram, "print", call);
            else
                err << "tepa print: printing is not part of this build\n";
            // A full disk or a closed pipe shows only in the stream's state, often only when
            // the buffered rest is flushed: a cut-off output must not pass as a result.
            out.flush();
            if (!out) {
                err << "tepa " << command.name << ": the output could not be written completely\n";
                return ExitBadInput;
            }
            return code;
        }
    }
    err << "tepa: unknown command '" << rest.front() << "'\n";
    printUsage(err);
    return ExitUsage;
}

std::filesystem::path defaultDataDir(const std::filesystem::path& executable)
{
    return findDataFolder(executable.parent_path(), TEPA_INSTALLED_DATA_DIR);
}

std::filesystem::path printProgramBeside(const std::filesystem::path& executable)
{
    return executable.parent_path() / "tepa-print";
}

std::filesystem::path runningExecutable(const char* argv0)
{
    // Started through PATH, argv[0] is a bare name that says nothing about the folder; the
    // kernel's link names the file actually running, with any symbolic links resolved.
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && self.is_absolute())
        return self;
    return std::filesystem::absolute(argv0 ? argv0 : "tepa", ec);
}

} // namespace tepa::cli
