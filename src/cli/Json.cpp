#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tepa::cli {

std::string jsonNumber(double number)
{
    if (!std::isfinite(number))
        return "null";
    // to_chars is independent of the C locale, which a GUI toolkit may have changed.
    char buffer[40];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 17).ptr;
    return std::string(buffer, end);
}

std::string jsonQuoted(std::string_view utf8)
{
    std::string text = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                text += buffer;
            } else {
                text += static_cast<char>(c);
            }
        }
    }
    return text + "\"";
}

JsonWriter::JsonWriter(std::ostream& out)
    : m_out(out)
{
}

void JsonWriter::newline()
{
    m_out << '\n' << std::string(2 * m_levels.size(), ' ');
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_levels.empty()) {
        if (!m_levels.back().empty)
            m_out << ',';
        m_levels.back().empty = false;
        newline();
    }
}

JsonWriter& JsonWriter::beginObject()
{
    beforeValue();
    m_out << '{';
    m_levels.push_back({false, true});
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty)
        newline();
    m_out << '}';
    if (m_levels.empty())
        m_out << '\n';
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    beforeValue();
    m_out << '[';
    m_levels.push_back({true, true});
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty)
        newline();
    m_out << ']';
    if (m_levels.empty())
        m_out << '\n';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    beforeValue();
    m_out << jsonQuoted(name) << ": ";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(double number)
{
    beforeValue();
    m_out << jsonNumber(number);
    return *this;
}

JsonWriter& JsonWriter::value(int number)
{
    return value(static_cast<long long>(number));
}

JsonWriter& JsonWriter::value(long long number)
{
    beforeValue();
    m_out << number;
    return *this;
}

JsonWriter& JsonWriter::value(bool flag)
{
    beforeValue();
    m_out << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view utf8)
{
    beforeValue();
    m_out << jsonQuoted(utf8);
    return *this;
}

JsonWriter& JsonWriter::null()
{
    beforeValue();
    m_out << "null";
    return *this;
}

} // namespace tepa::cli
