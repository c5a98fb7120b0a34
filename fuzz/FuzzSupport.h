// Helpers shared by the fuzz targets.
#pragma once

#include "core/text/Encoding.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tepa::fuzz {

// A broken invariant ends the run with a crash report and the input that caused it; the line of
// the failed check comes first.
inline void require(bool condition, int line = __builtin_LINE(), const char* file = __builtin_FILE())
{
    if (!condition) {
        std::fprintf(stderr, "%s:%d: check failed\n", file, line);
        std::abort();
    }
}

// A private folder under the system's temporary folder for the life of the process, removed at
// exit. Targets that go through the file readers write their input here, so a run never touches
// anything else.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tepa-fuzz-XXXXXX").string();
        require(::mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void writeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(static_cast<bool>(out));
}

// True when the text is well-formed UTF-8 of characters that Windows-1252 holds, as every text
// read from an installation file is: it survives a trip to the code page and back unchanged. A
// character cut in the middle of its bytes does not.
inline bool isCp1252Text(std::string_view utf8)
{
    return cp1252ToUtf8(utf8ToCp1252(utf8)) == utf8;
}

} // namespace tepa::fuzz
