#include "cli/Cli.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto executable = tepa::cli::runningExecutable(argv[0]);
    tepa::cli::Context context{tepa::cli::defaultDataDir(executable)};
    context.printProgram = tepa::cli::printProgramBeside(executable);
    const int code = tepa::cli::run(args, std::cout, std::cerr, context);
    // The standard output may hold buffered bytes that only now meet a full disk.
    // (A command that failed has said why already.)
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        if (code == 0)
            std::cerr << "tepa: the output could not be written completely\n";
        return 1;
    }
    return code;
}
