#include "cli/Command.h"

namespace tepa::cli {

// Placeholder until the command is written; it is replaced in this same series of changes.
int runCheckData(Invocation& call)
{
    call.err << "tepa: 'check-data' is not available yet\n";
    return ExitUsage;
}

} // namespace tepa::cli
