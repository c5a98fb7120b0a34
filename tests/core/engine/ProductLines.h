#pragma once

#include <string>
#include <string_view>

namespace tepa::engine::test {

// Writes `value` right-aligned into `width` columns from 1-based `column`, as the product data
// files hold their fields.
inline void put(std::string& line, std::size_t column, std::size_t width, std::string_view value)
{
    if (line.size() < column - 1 + width)
        line.resize(column - 1 + width, ' ');
    line.replace(column - 1, width, std::string(width - value.size(), ' ') + std::string(value));
}

// The fields of a type's data line, each at its column. `filler` fills every other column: a
// digit there makes any field read at a wrong column come out wrong.
struct DataFields
{
    std::string_view Km = "", nD = "", dHeat = "", XHeat = "", NHeat = "";
    std::string_view La = "", Lb = "", dCool = "", XCool = "", NCool = "";
};
inline std::string dataLine(const DataFields& f, char filler = ' ')
{
    std::string line(72, filler);
    put(line, 1, 6, f.Km);
    put(line, 8, 6, f.nD);
    put(line, 15, 4, f.dHeat);
    put(line, 23, 3, f.XHeat);
    put(line, 29, 1, f.NHeat);
    put(line, 41, 6, f.La);
    put(line, 48, 5, f.Lb);
    put(line, 57, 4, f.dCool);
    put(line, 65, 3, f.XCool);
    put(line, 71, 1, f.NCool);
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

// Data of a typical fan convector: coil of 12 mm tubes, 10 runs, one circuit (heating) and
// 15 mm, 8 runs, two circuits (cooling); free-convection law 10 W/K^1.3 per metre; sound level
// 30 dB per decade of speed from −50 dB at 1 rpm.
inline std::string typicalDataLine(char filler = ' ')
{
    return dataLine({.Km = "10.000",
                     .nD = "1.3000",
                     .dHeat = "12.0",
                     .XHeat = "10",
                     .NHeat = "1",
                     .La = "-50.00",
                     .Lb = "30.00",
                     .dCool = "15.0",
                     .XCool = "8",
                     .NCool = "2"},
                    filler);
}

} // namespace tepa::engine::test
