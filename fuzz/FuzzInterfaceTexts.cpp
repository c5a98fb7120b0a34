// Loads arbitrary bytes as the interface texts file "tepatext.txt": Windows-1252 conversion, line
// splitting and the removal of the 3-character line prefixes.
//
// The real loader (reading the file from a private temporary folder) and the in-memory path must
// agree. Each text is its line with whole characters only and without line breaks; the prefix
// comes off exactly the lines of the numbered block: line 0 always, then each following line
// while it is not empty and its number is at most InterfaceTexts::LastStrippedLine.
#include "FuzzSupport.h"

#include "core/text/InterfaceTexts.h"
#include "core/text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    using fuzz::require;
    fuzz::writeFile(fuzz::tempFolder() / InterfaceTexts::FileName, fuzz::bytesOf(data, size));
    const auto loaded = InterfaceTexts::load(fuzz::tempFolder());
    require(loaded.ok());
    const std::vector<std::string> raw = splitLines(cp1252ToUtf8(fuzz::bytesOf(data, size)));
    const InterfaceTexts texts = InterfaceTexts::fromRawLines(raw);
    require(loaded->lines() == texts.lines() && texts.size() == raw.size());

    bool inBlock = true;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        inBlock = inBlock && (i == 0 || (!raw[i].empty() && i <= InterfaceTexts::LastStrippedLine));
        const std::string& text = texts.line(i);
        require(text.find_first_of("\r\n") == std::string::npos && fuzz::isCp1252Text(text));
        require(raw[i] == std::string(utf8Left(raw[i], inBlock ? 3 : 0)) + text);
    }
    require(texts.line(raw.size()).empty() && texts.line(static_cast<std::size_t>(-1)).empty());
    return 0;
}
