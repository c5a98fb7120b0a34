#include "core/model/ProjectFile.h"

#include "core/model/AtomicFile.h"
#include "core/model/ProjectCodec.h"
#include "core/text/TextFile.h"

#include <fstream>
#include <string>
#include <vector>

namespace tepa {
namespace fs = std::filesystem;

Result<ProjectRecord> loadProjectFile(const fs::path& file)
{
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return Error{cannotOpenMessage(file)};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Error{cannotOpenMessage(file)};

    std::vector<char> bytes(ProjectRecordSize);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return Error{LoadingErrorMessage};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ProjectCodec::decode(std::as_bytes(std::span(bytes)));
}

Status saveProjectFile(const fs::path& file, const ProjectRecord& record)
{
    const std::vector<std::byte> image = ProjectCodec::encode(record);
    return writeFileAtomically(
        file, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

} // namespace tepa
