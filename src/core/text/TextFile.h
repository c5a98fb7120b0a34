#pragma once

#include "core/Result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tepa {

// Reads a Windows-1252 text file into UTF-8 lines. A line ends at CR, LF or CR LF; a final line
// end does not start another line. Lines are kept as they stand (no trimming).
// Failure: "Datei <name> kann nicht geöffnet werden".
Result<std::vector<std::string>> readTextLines(const std::filesystem::path& file);
// The same splitting for text already in memory (UTF-8 or bytes alike).
std::vector<std::string> splitLines(std::string_view text);

// The message for a file that cannot be opened, as the user sees it.
std::string cannotOpenMessage(const std::filesystem::path& file);

} // namespace tepa
