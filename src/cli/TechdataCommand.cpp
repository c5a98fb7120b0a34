#include "cli/Command.h"
#include "core/model/AtomicFile.h"
#include "core/model/ProjectFile.h"
#include "core/reports/TechnicalData.h"

#include <string_view>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage = "usage: tepa techdata PROJECT.kon [-o FILE]\n";
constexpr std::string_view Help =
    "usage: tepa techdata PROJECT.kon [-o FILE]\n"
    "\n"
    "Writes the project's technical data file exactly as saving in command-line\n"
    "mode does (Windows-1252, CR LF) and prints its name.\n"
    "\n"
    "  -o, --output FILE   the file to write; by default \"techdaten\" with the\n"
    "                      project file's extension, in the project file's folder\n"
    "  --help              this text\n";

} // namespace

int runTechdata(Invocation& call)
{
    // The short form is the usual one for an output file.
    OptionParser options;
    options.value("-o,--output");
    if (!options.parse(call.args)) {
        call.err << "tepa techdata: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Help;
        return ExitOk;
    }
    if (options.positionals().size() != 1) {
        call.err << Usage;
        return ExitUsage;
    }
    const std::filesystem::path projectFile = options.positionals().front();
    const std::optional<std::string> output = options.get("--output");
    if (output && output->empty()) {
        call.err << "tepa techdata: the output file name is empty\n" << Usage;
        return ExitUsage;
    }

    const auto project = loadProjectFile(projectFile);
    if (!project) {
        call.err << "tepa techdata: " << project.error() << '\n';
        return ExitBadInput;
    }
    const std::filesystem::path target =
        output ? std::filesystem::path(*output) : technicalDataFileFor(projectFile);
    if (Status allowed = refuseOverwritingInput(target, projectFile); !allowed) {
        call.err << "tepa techdata: " << allowed.error() << '\n';
        return ExitBadInput;
    }
    const Status written = WriteTechnicalData(target, *project);
    if (!written) {
        call.err << "tepa techdata: " << written.error() << '\n';
        return ExitBadInput;
    }
    call.out << target.string() << '\n';
    return ExitOk;
}

} // namespace tepa::cli
