#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"

#include <filesystem>

namespace tepa {

// Reads a project file: its first ProjectRecordSize bytes, decoded (and made safe) by
// ProjectCodec. A file that cannot be opened fails with the message of cannotOpenMessage; one
// shorter than a record, or a read error, with LoadingErrorMessage.
Result<ProjectRecord> loadProjectFile(const std::filesystem::path& file);

// Writes the record's image to a temporary file in the target's folder and renames it over the
// target only when the whole image was written, so a failed save leaves an existing file as it
// was and removes the temporary file. A replaced file keeps its permissions.
Status saveProjectFile(const std::filesystem::path& file, const ProjectRecord& record);

} // namespace tepa
