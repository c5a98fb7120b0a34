#include "cli/Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    tepa::cli::Context context{tepa::cli::defaultDataDir(tepa::cli::runningExecutable(argv[0]))};
    return tepa::cli::run(args, std::cout, std::cerr, context);
}
