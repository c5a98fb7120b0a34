#include "cli/Command.h"

namespace tepa::cli {

// Placeholder until the command is written; it is replaced in this same series of changes.
int runRate(Invocation& call)
{
    call.err << "tepa: 'rate' is not available yet\n";
    return ExitUsage;
}

} // namespace tepa::cli
