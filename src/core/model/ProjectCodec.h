#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"

#include <cstddef>
#include <span>
#include <vector>

namespace tepa {

// The one message a project image too short for a record gets, as the user sees it.
inline constexpr const char* LoadingErrorMessage = "Loading - Error";

// Conversion between ProjectRecord and its 15858-byte file image (layout in ProjectLayout.h).
class ProjectCodec
{
public:
    // Reads the first ProjectRecordSize bytes into a fresh record; bytes after them are ignored.
    // A shorter buffer fails with LoadingErrorMessage. The record is made safe to work with:
    // a length byte above its field's maximum counts as the maximum, a non-finite double as 0,
    // HeatingEntryCount and CoolingEntryCount are limited to 1..MaxEntries (0 stays 0 when the
    // list's first entry is free, as after deleting its only entry) and RoomCount is 1.
    // Everything else, the unassigned ranges and the bytes beyond each string's length included,
    // is kept as it stands, so a valid image encodes back to the same bytes.
    static Result<ProjectRecord> decode(std::span<const std::byte> image);

    // The record's image, exactly ProjectRecordSize bytes.
    static std::vector<std::byte> encode(const ProjectRecord& record);
};

} // namespace tepa
