#pragma once

#include "core/model/ProjectRecord.h"

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <span>
#include <vector>

namespace tepa {
// Failure messages show a record by its main fields, not as 16 kB of raw memory.
void PrintTo(const ProjectRecord& record, std::ostream* out);
} // namespace tepa

namespace tepa::test {

// A new project as New leaves it, dated 14.03.2025 (tests/data/new-project.kon holds its image).
ProjectRecord newProject();
// tests/data/sample-project.kon: a filled room with two heating entries and one cooling entry.
ProjectRecord sampleProject();

std::filesystem::path testDataDir();
std::vector<std::byte> readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, std::span<const std::byte> bytes);

std::vector<std::byte> bytesOf(std::initializer_list<int> values);

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tepa::test
