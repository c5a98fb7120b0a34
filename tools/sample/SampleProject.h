#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"

#include <filesystem>

namespace tepa::sample {

// The date the sample carries, so that making it again from unchanged data gives the same bytes.
inline constexpr const char* SampleDate = "02.06.2025";

// The sample project of the installation: one room heated by a free convector, a trench fan
// convector, a 2-pipe fan coil and a ceiling unit, and cooled by a 2-pipe fan coil, a 4-pipe
// low-speed fan coil and a ceiling unit, dual use off. Each entry is filled as the calculation
// window stores it: the choice (type, length, height, speed, count, return temperature), the
// copies of the type's data and fan lines, and the engine's results (K, n, Le, LpA, the
// return-temperature window, Q, m, dp, and the other mode's nominal rating for the series that
// can cool). Fails when the product data in `dataDir` cannot be read, lack one of the types, or
// give an operating point without a result.
Result<ProjectRecord> makeSampleProject(const std::filesystem::path& dataDir);

} // namespace tepa::sample
