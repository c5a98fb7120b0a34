#include "cli/Command.h"
#include "core/productdata/InstallationCheck.h"

namespace tepa::cli {
namespace {

void printHelp(std::ostream& out)
{
    out << "usage: tepa check-data [DIR]\n\n"
           "Checks the installation folder DIR (else the --data folder, else the installed one):\n"
           "the type files freikon.txt and zwangskon.txt, bauhoehen.txt, the interface texts\n"
           "tepatext.txt and the type index konvektoren.txt. Each problem is printed as\n"
           "FILE:LINE: message. Exit code 0 when the data are valid, 1 when not, 2 on a usage error.\n";
}

} // namespace

int runCheckData(Invocation& call)
{
    OptionParser options;
    options.flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa check-data: " << options.error() << '\n';
        return ExitUsage;
    }
    if (options.has("--help")) {
        printHelp(call.out);
        return ExitOk;
    }
    if (options.positionals().size() > 1) {
        call.err << "tepa check-data: one folder at most\n";
        return ExitUsage;
    }
    const std::filesystem::path dir =
        options.positionals().empty() ? call.dataDir : std::filesystem::path(options.positionals().front());

    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        call.err << "tepa check-data: " << dir.string() << " is not a folder\n";
        return ExitBadInput;
    }

    const auto problems = checkInstallation(dir);
    for (const auto& problem : problems) {
        call.out << (dir / problem.file).string() << ':';
        if (problem.line > 0)
            call.out << problem.line << ':';
        call.out << ' ' << problem.message << '\n';
    }
    if (!problems.empty()) {
        call.err << "tepa check-data: " << dir.string() << ": " << problems.size()
                 << (problems.size() == 1 ? " problem" : " problems") << " in the installation data\n";
        return ExitBadInput;
    }
    call.out << dir.string() << ": installation data valid\n";
    return ExitOk;
}

} // namespace tepa::cli
