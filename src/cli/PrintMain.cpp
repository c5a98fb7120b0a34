// tepa-print: the commands of tepa that draw with Qt, in a program of their own, the only part
// of tepa that loads Qt. `tepa-print print ARGS` is `tepa print ARGS`, `tepa-print summary ARGS`
// is `tepa summary ARGS` with its PDF written here; tepa starts it with --data naming the folder
// it resolved, so both read the same installation.
#include "cli/Cli.h"
#include "cli/Command.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || (args.front() != "print" && args.front() != "summary")) {
        std::cerr << "usage: tepa-print (print | summary) ARGS\n";
        return tepa::cli::ExitUsage;
    }
    tepa::cli::Context context{tepa::cli::defaultDataDir(tepa::cli::runningExecutable(argv[0]))};
    context.print = tepa::cli::runPrint;
    context.writePdf = tepa::cli::writePrintoutPdf;
    const int code = tepa::cli::run(args, std::cout, std::cerr, context);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        if (code == 0)
            std::cerr << "tepa print: the output could not be written completely\n";
        return 1;
    }
    return code;
}
