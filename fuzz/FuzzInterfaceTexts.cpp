// Loads arbitrary bytes as the interface texts file "tepatext.txt": Windows-1252 conversion, line
// splitting and the removal of the 3-character line prefixes.
//
// The file goes through the real loader (written to a private temporary folder) and through the
// in-memory path; both must agree. Each text must be the file's line with at most its first three
// characters removed, whole characters only, and the prefix must come off exactly the lines of
// the numbered block: line 0 always, then each following line while it is not empty and its
// number is at most InterfaceTexts::LastStrippedLine.
#include "FuzzSupport.h"

#include "core/text/Encoding.h"
#include "core/text/InterfaceTexts.h"
#include "core/text/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tepa::fuzz::require;

const tepa::fuzz::TempFolder& folder()
{
    static const tepa::fuzz::TempFolder instance;
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    fuzz::writeFile(folder().path() / InterfaceTexts::FileName, bytes);
    const auto loaded = InterfaceTexts::load(folder().path());
    require(loaded.ok());

    const std::vector<std::string> raw = splitLines(cp1252ToUtf8(bytes));
    const InterfaceTexts texts = InterfaceTexts::fromRawLines(raw);
    require(loaded->lines() == texts.lines());
    require(texts.size() == raw.size());

    bool inBlock = true;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (i > 0 && (raw[i].empty() || i > InterfaceTexts::LastStrippedLine))
            inBlock = false;
        const std::string& text = texts.line(i);
        require(text.find_first_of("\r\n") == std::string::npos);
        require(fuzz::isCp1252Text(text));
        const std::string_view prefix = utf8Left(raw[i], inBlock ? 3 : 0);
        require(raw[i] == std::string(prefix) + text);
    }
    require(texts.line(raw.size()).empty());
    require(texts.line(static_cast<std::size_t>(-1)).empty());
    return 0;
}
