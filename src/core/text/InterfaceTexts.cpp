#include "core/text/InterfaceTexts.h"

#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

namespace tepa {

void stripPrefixes(std::vector<std::string>& lines)
{
    constexpr std::size_t prefixLength = 3;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t prefixBytes = utf8Left(lines[i], prefixLength).size();
        lines[i].erase(0, prefixBytes);
        // The translators end the numbered block with an empty line; what follows is kept as
        // written. The check looks at the next line before touching it, so the loop never runs
        // past the last line.
        const std::size_t next = i + 1;
        if (next >= lines.size() || lines[next].empty() || next > InterfaceTexts::LastStrippedLine)
            break;
    }
}

InterfaceTexts InterfaceTexts::fromRawLines(std::vector<std::string> rawLines)
{
    InterfaceTexts texts;
    stripPrefixes(rawLines);
    texts.m_lines = std::move(rawLines);
    return texts;
}

Result<InterfaceTexts> InterfaceTexts::load(const std::filesystem::path& programDir)
{
    auto lines = readTextLines(programDir / FileName);
    if (!lines)
        return Error{lines.error()};
    return fromRawLines(std::move(lines).value());
}

const std::string& InterfaceTexts::line(std::size_t n) const
{
    static const std::string empty;
    return n < m_lines.size() ? m_lines[n] : empty;
}

} // namespace tepa
