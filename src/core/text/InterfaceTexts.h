#pragma once

#include "core/Result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tepa {

// Every caption and message of the program is a line of "tepatext.txt", addressed by its
// 0-based line number. Each line starts with a 3-character prefix (a line number, for the
// translators) that is removed while loading.
class InterfaceTexts
{
public:
    static constexpr const char* FileName = "tepatext.txt";
    // The prefix is stripped from line 0 onwards while the next line exists, is not empty and
    // has a number of at most this value; lines after the first empty line keep their prefix.
    static constexpr std::size_t LastStrippedLine = 300;

    InterfaceTexts() = default;
    // Lines as read from the file, prefixes still on.
    static InterfaceTexts fromRawLines(std::vector<std::string> rawLines);
    static Result<InterfaceTexts> load(const std::filesystem::path& programDir);

    // Line n, or an empty text when the file has no such line.
    const std::string& line(std::size_t n) const;
    std::size_t size() const { return m_lines.size(); }
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

// Removes the 3-character prefix by the rule above.
void stripPrefixes(std::vector<std::string>& lines);

} // namespace tepa
