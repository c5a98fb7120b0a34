#include "core/productdata/ProductData.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tepa {

Result<std::vector<std::string>> checkedHeights(std::vector<std::string> lines)
{
    // The height is the leading number of the line; a line without one would offer a height of
    // 0 mm and rate with it.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
        const bool digitFirst = start < line.size() && line[start] >= '0' && line[start] <= '9';
        const double height = heightOfLine(line);
        if (!digitFirst || !std::isfinite(height) || height <= 0 || height >= std::numeric_limits<double>::max())
            return Error{std::string(HeightFileName) + ":" + std::to_string(i + 1) +
                         ": expected a height in mm at the start of the line, found \"" +
                         std::string(utf8Left(line.substr(start), 10)) + "\""};
    }
    return lines;
}

Result<std::vector<std::string>> loadHeights(const std::filesystem::path& dir)
{
    auto lines = readTextLines(dir / HeightFileName);
    if (!lines)
        return lines;
    return checkedHeights(std::move(lines).value());
}

double heightOfLine(std::string_view heightLine)
{
    return decimalValue(heightLine);
}

Result<OfferedHeights> offeredHeights(std::string_view typeName, const std::vector<std::string>& heightList)
{
    const series::HeightChoice choice = series::heightChoice(typeName);
    const std::size_t needed = choice.allLines ? choice.preselected : choice.line;
    if (needed >= heightList.size())
        return Error{listIndexMessage(needed)};
    if (choice.allLines)
        return OfferedHeights{heightList, choice.preselected};
    return OfferedHeights{{heightList[choice.line]}, 0};
}

Result<double> heightFactor(std::string_view typeName, std::string_view heightLine, char localeSeparator)
{
    // Series without a column of their own are rated at their catalogue height: factor 1.
    const std::size_t column = series::heightFactorColumn(typeName);
    if (column == 0)
        return 1.0;
    return localeFloat(utf8Mid(heightLine, column, series::HeightFactorWidth), localeSeparator);
}

} // namespace tepa
