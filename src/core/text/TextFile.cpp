#include "core/text/TextFile.h"

#include "core/text/Encoding.h"

#include <fstream>
#include <iterator>

namespace tepa {

std::string cannotOpenMessage(const std::filesystem::path& file)
{
    return "Datei " + file.string() + " kann nicht geöffnet werden";
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

Result<std::vector<std::string>> readTextLines(const std::filesystem::path& file)
{
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return Error{cannotOpenMessage(file)};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Error{cannotOpenMessage(file)};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Error{cannotOpenMessage(file)};
    return splitLines(cp1252ToUtf8(bytes));
}

} // namespace tepa
