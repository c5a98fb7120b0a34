#pragma once

#include "core/text/Encoding.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tepa {

// A length-prefixed text field of the project record: byte 0 holds the length (0..N), bytes 1..N
// the characters in Windows-1252. All N+1 bytes are kept as they stand, including the ones
// beyond the length: an unchanged project must save to exactly the bytes it was read from.
template <std::size_t N> class FixedString
{
    static_assert(N >= 1 && N <= 255, "the length must fit its length byte");

public:
    static constexpr std::size_t MaxLength = N;
    static constexpr std::size_t EncodedSize = N + 1;

    // Characters in use. A length byte above N (which only a damaged file can bring) counts as N.
    std::size_t length() const { return std::min<std::size_t>(m_bytes[0], N); }
    bool empty() const { return m_bytes[0] == 0; }

    // The characters in use as Windows-1252 bytes.
    std::string_view bytes() const { return {reinterpret_cast<const char*>(m_bytes.data()) + 1, length()}; }
    std::string text() const { return cp1252ToUtf8(bytes()); }

    // Takes UTF-8 text, converts it to Windows-1252 and cuts it to N characters. Every character
    // becomes one byte, so the cut counts characters as the user sees them. The bytes beyond the
    // new length keep what they held.
    void setText(std::string_view utf8)
    {
        const std::string encoded = utf8ToCp1252(utf8);
        const std::size_t count = std::min(encoded.size(), N);
        std::copy_n(encoded.begin(), count, reinterpret_cast<char*>(m_bytes.data()) + 1);
        m_bytes[0] = static_cast<std::uint8_t>(count);
    }

    // Empties the field by its length byte only: the bytes beyond stay as a loaded file brought
    // them, so an unchanged project saves back byte for byte.
    void clear() { m_bytes[0] = 0; }

    // Empties the whole field, contents included, so that no text of an earlier project is left
    // in the bytes of a new one.
    void wipe() { m_bytes.fill(0); }

    // The whole field image (length byte first) for the codec.
    std::array<std::uint8_t, N + 1>& raw() { return m_bytes; }
    const std::array<std::uint8_t, N + 1>& raw() const { return m_bytes; }

    friend bool operator==(const FixedString&, const FixedString&) = default;

private:
    std::array<std::uint8_t, N + 1> m_bytes{};
};

} // namespace tepa
