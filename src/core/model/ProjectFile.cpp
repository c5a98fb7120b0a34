#include "core/model/ProjectFile.h"

#include "core/model/ProjectCodec.h"
#include "core/text/TextFile.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace tepa {
namespace fs = std::filesystem;

namespace {

std::string fileError(const fs::path& file, const std::error_code& ec)
{
    return file.string() + ": " + ec.message();
}

// errno after a failed stream operation, where the library sets it; a generic I/O error
// otherwise.
std::error_code lastStreamError()
{
    const int code = errno != 0 ? errno : EIO;
    return {code, std::generic_category()};
}

// A name beside the target that no other file has; the random part keeps two saves into the
// same folder apart.
fs::path temporaryNameFor(const fs::path& file)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    const fs::path folder = file.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            folder / ("." + file.filename().string() + "." + std::to_string(random() % 1000000000) + ".tmp");
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec)
            return candidate;
    }
    return folder / ("." + file.filename().string() + ".tmp");
}

} // namespace

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
    const fs::path temporary = temporaryNameFor(file);

    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out)
        return Error{fileError(file, lastStreamError())};
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    std::error_code ec;
    if (out.fail()) {
        const auto writeError = lastStreamError();
        fs::remove(temporary, ec);
        return Error{fileError(file, writeError)};
    }

    if (fs::is_regular_file(file, ec))
        fs::permissions(temporary, fs::status(file, ec).permissions(), ec);
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Error{fileError(file, ec)};
    }
    return Done{};
}

} // namespace tepa
