#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tepa {

// The technical data file: the room's heating and cooling design as a tab-separated text that
// the program which started this one in command-line mode reads back. Its labels (odd spellings
// included), tabs, units and number widths are what that reader expects, so they are fixed.

// The file's bytes: Windows-1252, every line ended by CR LF. A list is written when its flag is
// set or its first entry is in use; heating first, then cooling. Line breaks and tabs in the room
// and type names are written as blanks, so the lines and fields stay as the reader expects.
std::string TechnicalDataBytes(const ProjectRecord& project);

// Where the file goes for a project file: the project file's folder, then "techdaten" with the
// project file's extension ("/p/Haus.kon" -> "/p/techdaten.kon", "Haus" -> "techdaten"). A name
// without a folder stays relative, so the file lands beside the project file in the current
// folder.
std::filesystem::path technicalDataFileFor(const std::filesystem::path& projectFile);

// Whether a file starting with `start` is a technical data file: after its empty lines, its first
// line is the heading "Technische Daten:". A project file starts with a length byte of at most 50
// and can never look like that.
bool isTechnicalDataImage(std::string_view start);

// Writes the file through a temporary file in the target's folder, renamed over the target once
// it is complete: a failure leaves an existing file as it was. The error names the target and the
// system's reason.
Status WriteTechnicalData(const std::filesystem::path& file, const ProjectRecord& project);

} // namespace tepa
