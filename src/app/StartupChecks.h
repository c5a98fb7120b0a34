#pragma once

#include "platform/Messages.h"

namespace tepa {

class TForm1;

// Interface text line that heads the list of faults found in the installation at start.
inline constexpr std::size_t InstallationFaultsTextLine = 277;

// Run once when the main window is up. Removes the temporary files that killed saves left in
// the project and temporary folders, and checks the installation data: damaged product data or
// texts are listed once in a message (the program still starts, so a planner can save his work).
void runStartupChecks(TForm1& form, platform::Messages& messages);

} // namespace tepa
