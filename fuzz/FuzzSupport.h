// Helpers shared by the fuzz targets.
#pragma once

#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tepa::fuzz {

// A broken invariant crashes the run, naming the line of the failed check.
inline void require(bool condition, int line = __builtin_LINE(), const char* file = __builtin_FILE())
{
    if (!condition) {
        std::fprintf(stderr, "%s:%d: check failed\n", file, line);
        std::abort();
    }
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A private temporary folder for the life of the process, removed at exit: targets that go
// through the file readers write their input here.
inline const std::filesystem::path& tempFolder()
{
    static const struct Folder
    {
        std::filesystem::path path;
        Folder()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "tepa-fuzz-XXXXXX").string();
            require(::mkdtemp(pattern.data()) != nullptr);
            path = pattern;
        }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path;
}

inline void writeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    require(static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))));
}

// Text read from an installation file is whole characters that Windows-1252 holds.
inline bool isCp1252Text(std::string_view utf8)
{
    return cp1252ToUtf8(utf8ToCp1252(utf8)) == utf8;
}

// A type load keeps the first matches up to its table's capacity, is cut exactly when more
// matched, and keeps every text within its length. True when it found types and kept them all.
inline bool checkLoad(const Result<TypeLoad>& load, const TypeTable& table, bool forced)
{
    if (!load)
        return false;
    const std::size_t capacity = forced ? MaxForcedTypesPerLoad : MaxFreeTypesPerLoad;
    require(load->names.size() == std::min(load->matchedCount, capacity));
    require(load->cut == (load->matchedCount > capacity));
    require(load->names.empty() || table.at(1).TypeCount == static_cast<std::int32_t>(load->names.size()));
    for (const auto& entry : table.entries)
        require(utf8Length(entry.Text) <= TypeTable::MaxTextLength);
    return !load->names.empty() && !load->cut;
}

} // namespace tepa::fuzz
