#include "cli/Command.h"
#include "core/model/ProjectFile.h"
#include "core/reports/ConvectorList.h"

#include <string_view>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage = "usage: tepa list PROJECT.kon\n";
constexpr std::string_view Help = "usage: tepa list PROJECT.kon\n"
                                  "\n"
                                  "Prints the project's convector list as the program shows it, without its\n"
                                  "heading: one line per type, height and length with the number of units.\n"
                                  "A project without named entries prints nothing.\n"
                                  "\n"
                                  "  --help   this text\n";

} // namespace

int runList(Invocation& call)
{
    OptionParser options;
    options.flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa list: " << options.error() << '\n' << Usage;
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

    const auto project = loadProjectFile(options.positionals().front());
    if (!project) {
        call.err << "tepa list: " << project.error() << '\n';
        return ExitBadInput;
    }
    for (const std::string& line : convectorListLines(BuildConvectorList(*project)))
        call.out << line << '\n';
    return ExitOk;
}

} // namespace tepa::cli
