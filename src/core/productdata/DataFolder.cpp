#include "core/productdata/DataFolder.h"

#include "core/text/InterfaceTexts.h"

#include <system_error>

namespace tepa {

std::filesystem::path findDataFolder(const std::filesystem::path& executableDir,
                                     const std::filesystem::path& builtInDir)
{
    const std::filesystem::path candidates[] = {
        executableDir / "data",
        executableDir / ".." / "share" / "tepa" / "data",
    };
    for (const auto& dir : candidates) {
        // An unreadable folder is passed over like a missing one.
        std::error_code ec;
        if (std::filesystem::is_regular_file(dir / InterfaceTexts::FileName, ec))
            return dir.lexically_normal();
    }
    return builtInDir;
}

} // namespace tepa
