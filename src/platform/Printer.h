#pragma once

#include "core/Result.h"
#include "core/reports/PrintSurface.h"

#include <QString>

#include <functional>
#include <optional>

namespace tepa::platform {

// Draws one printout on the surface it is given. It may run more than once for one command
// (a preview, then the printer), so it must only read what it prints.
using PrintLayout = std::function<Status(PrintSurface&)>;

// The printer of the main window: printer selection, preview and the print job.
class Printer
{
public:
    virtual ~Printer() = default;
    // Nothing when the user cancelled (nothing was printed); otherwise the layout's outcome.
    // A failed layout prints nothing; the caller shows its message.
    virtual std::optional<Status> print(const QString& jobName, const PrintLayout& layout) = 0;
};

} // namespace tepa::platform
