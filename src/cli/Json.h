#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::cli {

// A small streaming JSON writer: objects and arrays nest, commas and indentation are managed.
// Numbers are written with 17 significant digits so that a double reads back exactly; a
// non-finite number is written as null.
class JsonWriter
{
public:
    explicit JsonWriter(std::ostream& out);

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // Key of the next value inside an object.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(double number);
    JsonWriter& value(int number);
    JsonWriter& value(long long number);
    JsonWriter& value(bool flag);
    JsonWriter& value(std::string_view utf8);
    JsonWriter& value(const char* utf8) { return value(std::string_view(utf8)); }
    JsonWriter& null();

    // Shorthand for key(name).value(v).
    template <class T>
    JsonWriter& field(std::string_view name, const T& v)
    {
        key(name);
        return value(v);
    }

private:
    void beforeValue();
    void newline();

    std::ostream& m_out;
    struct Level
    {
        bool array;
        bool empty;
    };
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

std::string jsonNumber(double number);
std::string jsonQuoted(std::string_view utf8);

} // namespace tepa::cli
