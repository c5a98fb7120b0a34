#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"

#include <filesystem>

namespace tepa {

// Reads a project file: its first ProjectRecordSize bytes, decoded (and made safe) by
// ProjectCodec. A file that cannot be opened fails with the message of cannotOpenMessage; one
// shorter than a record, or a read error, with LoadingErrorMessage.
Result<ProjectRecord> loadProjectFile(const std::filesystem::path& file);

// Writes the record's image through writeFileAtomically: a failed save leaves an existing file as
// it was; links are followed, read-only and hard-linked targets refused (see AtomicFile.h).
Status saveProjectFile(const std::filesystem::path& file, const ProjectRecord& record);

} // namespace tepa
