#pragma once

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Printer.h"
#include "platform/Settings.h"
#include "platform/Shell.h"

namespace tepa::platform {

// The platform services the windows use, handed to them at construction.
struct Services
{
    Settings& settings;
    Messages& messages;
    FileDialogs& dialogs;
    Shell& shell;
    // Windows built without a printer have no print commands to run.
    Printer* printer = nullptr;
};

} // namespace tepa::platform
