// Decodes arbitrary bytes as a project file. Whatever loads must be made safe (counts within the
// lists, numbers finite, strings within their lengths), must encode to an image that loads to
// the same image again, and must be printable as JSON.
#include "cli/ShowCommand.h"
#include "core/model/ProjectCodec.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    const auto decoded = ProjectCodec::decode(std::as_bytes(std::span(data, size)));
    if (!decoded.ok())
        return 0;

    const ProjectRecord& r = *decoded;
    // A list may hold no entries only while its first entry is unused (its only entry deleted).
    const auto countInRange = [](std::int32_t count, bool firstInUse) {
        return (count >= 1 || (count == 0 && !firstInUse)) && count <= 12;
    };
    const bool countsInRange = countInRange(r.HeatingEntryCount, r.HeatingEntries[0].InUse) &&
                               countInRange(r.CoolingEntryCount, r.CoolingEntries[0].InUse) && r.RoomCount == 1;
    if (!countsInRange || !std::isfinite(r.HeatingDemand) || r.Title.raw()[0] > 50)
        std::abort();
    for (const auto& e : r.HeatingEntries)
        if (!std::isfinite(e.Output) || !std::isfinite(e.CoeffK) || !std::isfinite(e.OutputStart) ||
            e.TypeText1.raw()[0] > 80)
            std::abort();

    const auto image = ProjectCodec::encode(*decoded);
    if (image.size() != ProjectRecordSize)
        std::abort();
    const auto again = ProjectCodec::decode(image);
    if (!again.ok() || ProjectCodec::encode(*again) != image)
        std::abort();

    std::ostringstream json;
    cli::writeProjectJson(*decoded, json);
    std::ostringstream summary;
    cli::writeProjectSummary(*decoded, summary);
    return 0;
}
