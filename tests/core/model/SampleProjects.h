#pragma once

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectRecord.h"
#include "core/model/ProjectReset.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tepa {
// Failure messages show a record by its main fields, not as 16 kB of raw memory.
inline void PrintTo(const ProjectRecord& record, std::ostream* out)
{
    *out << "{Title \"" << record.Title.text() << "\", RoomName \"" << record.RoomName.text()
         << "\", HeatingEntryCount " << record.HeatingEntryCount << ", CoolingEntryCount "
         << record.CoolingEntryCount << "}";
}
} // namespace tepa

namespace tepa::test {

inline std::filesystem::path testDataDir()
{
    return TEPA_TEST_DATA_DIR;
}

inline std::vector<std::byte> readFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + file.string());
    const std::string chars{std::istreambuf_iterator<char>(in), {}};
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

inline void writeFileBytes(const std::filesystem::path& file, std::span<const std::byte> bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

// A new project as New leaves it, dated 14.03.2025 (tests/data/new-project.kon holds its image).
inline ProjectRecord newProject()
{
    ProjectRecord record;
    resetForNewProject(record, "14.03.2025");
    return record;
}

// tests/data/sample-project.kon: a filled room with two heating entries and one cooling entry.
inline ProjectRecord sampleProject()
{
    return ProjectCodec::decode(readFileBytes(testDataDir() / "sample-project.kon")).value();
}

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir
{
public:
    TempDir()
        : m_path(std::filesystem::temp_directory_path() / ("tepa-model-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tepa::test
