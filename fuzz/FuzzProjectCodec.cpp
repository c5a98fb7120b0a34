// Decodes arbitrary bytes as a project file. Whatever loads must be made safe (counts within the
// lists, numbers finite, strings within their lengths), must encode to an image that loads to
// the same image again, and must be printable as JSON and as a summary.
#include "FuzzSupport.h"

#include "cli/ShowCommand.h"
#include "core/model/ProjectCodec.h"

#include <cmath>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    using fuzz::require;
    const auto decoded = ProjectCodec::decode(std::as_bytes(std::span(data, size)));
    if (!decoded.ok())
        return 0;
    const ProjectRecord& r = *decoded;
    // A list may hold no entries only while its first entry is unused (its only entry deleted).
    for (const auto& [count, firstInUse] : {std::pair{r.HeatingEntryCount, r.HeatingEntries[0].InUse},
                                            std::pair{r.CoolingEntryCount, r.CoolingEntries[0].InUse}})
        require((count >= 1 || (count == 0 && !firstInUse)) && count <= 12);
    require(r.RoomCount == 1 && std::isfinite(r.HeatingDemand) && r.Title.raw()[0] <= 50);
    for (const auto& e : r.HeatingEntries)
        require(std::isfinite(e.Output) && std::isfinite(e.CoeffK) && std::isfinite(e.OutputStart) &&
                e.TypeText1.raw()[0] <= 80);

    const auto image = ProjectCodec::encode(r);
    const auto again = ProjectCodec::decode(image);
    require(image.size() == ProjectRecordSize && again.ok() && ProjectCodec::encode(*again) == image);
    std::ostringstream out;
    cli::writeProjectJson(r, out);
    cli::writeProjectSummary(r, out);
    return 0;
}
