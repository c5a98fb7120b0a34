#pragma once

#include <string>
#include <string_view>
#include <tuple>

namespace tepa::engine::test {

// Writes `value` right-aligned into `width` columns from 1-based `column`, as the product data
// files hold their fields.
inline void put(std::string& line, std::size_t column, std::size_t width, std::string_view value)
{
    line.replace(column - 1, width, std::string(width - value.size(), ' ') + std::string(value));
}

// Data line of a typical fan convector, each field at its column: free-convection law Km 10
// W/K^1.3 per metre; heating coil of 12 mm tubes, 10 runs, one circuit; sound level 30 dB per
// decade of speed from −50 dB at 1 rpm; cooling coil 15 mm, 8 runs, two circuits. `filler`
// fills every other column: a digit there makes any field read at a wrong column come out wrong.
inline std::string typicalDataLine(char filler = ' ')
{
    std::string line(72, filler);
    const std::tuple<std::size_t, std::size_t, std::string_view> fields[] = {
        {1, 6, "10.000"},  {8, 6, "1.3000"},                // Km, nD
        {15, 4, "12.0"},   {23, 3, "10"},    {29, 1, "1"},  // heating tube diameter, runs, circuits
        {41, 6, "-50.00"}, {48, 5, "30.00"},                // La, Lb
        {57, 4, "15.0"},   {65, 3, "8"},     {71, 1, "2"}}; // cooling tube diameter, runs, circuits
    for (const auto& [column, width, value] : fields)
        put(line, column, width, value);
    return line;
}

// Fan line: c1, c2 and nF in 10-character fields at columns 1, 12 and 23.
inline std::string fanLine(std::string_view c1, std::string_view c2, std::string_view nF, char filler = ' ')
{
    std::string line(32, filler);
    put(line, 1, 10, c1);
    put(line, 12, 10, c2);
    put(line, 23, 10, nF);
    return line;
}

} // namespace tepa::engine::test
