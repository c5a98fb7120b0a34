#pragma once

#include <filesystem>

namespace tepa {

// The installation data folder of a program in `executableDir`: the first of
//   <executableDir>/data                  (a build tree or an unpacked copy)
//   <executableDir>/../share/tepa/data    (an install prefix, wherever it was unpacked)
// that holds the interface texts, otherwise `builtInDir` (the prefix the program was built for).
// Both the application and the command use it, so they agree on where their data are.
std::filesystem::path findDataFolder(const std::filesystem::path& executableDir,
                                     const std::filesystem::path& builtInDir);

} // namespace tepa
