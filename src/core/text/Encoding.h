#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tepa {

// The installation's text files and the project file hold Windows-1252; the program works in
// UTF-8. The five byte values that Windows-1252 leaves undefined map to the C1 control code
// points of the same number, so every byte sequence survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);
// Characters outside Windows-1252, and malformed UTF-8, become `replacement`.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?');

// Character-based access to UTF-8 text, for fixed-column fields and length limits. Positions
// count characters (code points), not bytes.
std::size_t utf8Length(std::string_view utf8);
// Up to `count` characters from 1-based character position `position`; empty past the end.
std::string_view utf8Mid(std::string_view utf8, std::size_t position, std::size_t count);
// The first `count` characters.
std::string_view utf8Left(std::string_view utf8, std::size_t count);

} // namespace tepa
