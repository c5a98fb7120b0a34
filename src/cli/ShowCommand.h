#pragma once

#include "core/model/ProjectRecord.h"

#include <ostream>

namespace tepa::cli {

// The whole record as one JSON object. Keys are the record's field names; strings are UTF-8,
// Booleans true/false, numbers with 17 significant digits. The unassigned byte ranges are not
// written.
void writeProjectJson(const ProjectRecord& record, std::ostream& out);

// A readable summary: project data, room data with units, and the entries in use of both lists.
void writeProjectSummary(const ProjectRecord& record, std::ostream& out);

} // namespace tepa::cli
