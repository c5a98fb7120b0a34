#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectReset.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace tepa {

void PrintTo(const ProjectRecord& record, std::ostream* out)
{
    *out << "{Title \"" << record.Title.text() << "\", RoomName \"" << record.RoomName.text()
         << "\", HeatingEntryCount " << record.HeatingEntryCount << ", CoolingEntryCount "
         << record.CoolingEntryCount << "}";
}

} // namespace tepa

namespace tepa::test {

ProjectRecord newProject()
{
    ProjectRecord record;
    resetForNewProject(record, "14.03.2025");
    return record;
}

ProjectRecord sampleProject()
{
    auto decoded = ProjectCodec::decode(readFileBytes(testDataDir() / "sample-project.kon"));
    if (!decoded)
        throw std::runtime_error(decoded.error());
    return *decoded;
}

std::filesystem::path testDataDir()
{
    return TEPA_TEST_DATA_DIR;
}

std::vector<std::byte> readFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + file.string());
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

void writeFileBytes(const std::filesystem::path& file, std::span<const std::byte> bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::byte> bytesOf(std::initializer_list<int> values)
{
    std::vector<std::byte> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}

TempDir::TempDir()
{
    std::random_device seed;
    m_path = std::filesystem::temp_directory_path() /
             ("tepa-model-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

} // namespace tepa::test
