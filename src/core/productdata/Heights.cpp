#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tepa {
namespace {

bool contains(std::string_view text, std::string_view code)
{
    return text.find(code) != std::string_view::npos;
}

// The height lines that only one series offers.
constexpr std::size_t DefaultHeightLine = 1;
constexpr std::size_t FanHeightLine = 8;     // "WFW" and "WNF"
constexpr std::size_t LowFanHeightLine = 15; // "WFWL"

} // namespace

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
    auto single = [&heightList](std::size_t line) -> Result<OfferedHeights> {
        if (line >= heightList.size())
            return Error{listIndexMessage(line)};
        return OfferedHeights{{heightList[line]}, 0};
    };
    if (contains(typeName, "WFW") || contains(typeName, "WNF"))
        return single(contains(typeName, "WFWL") ? LowFanHeightLine : FanHeightLine);
    if (contains(typeName, "W1") || contains(typeName, "W2") || contains(typeName, "W3") ||
        contains(typeName, "W4")) {
        // The second line is the usual height of these series and comes preselected.
        constexpr std::size_t preselected = 1;
        if (preselected >= heightList.size())
            return Error{listIndexMessage(preselected)};
        return OfferedHeights{heightList, preselected};
    }
    return single(DefaultHeightLine);
}

Result<double> heightFactor(std::string_view typeName, std::string_view heightLine, char localeSeparator)
{
    struct SeriesColumn
    {
        std::string_view code;
        std::size_t column;
    };
    constexpr SeriesColumn factorColumns[] = {{"W1", 10}, {"W2", 19}, {"W3", 28}, {"W4", 37}};
    constexpr std::size_t factorWidth = 5;

    // Series without a column of their own are rated at their catalogue height: factor 1. The
    // fan and special series are tested last, so their codes win over a size code in the name.
    std::optional<std::string_view> field;
    for (const auto& series : factorColumns)
        if (contains(typeName, series.code))
            field = utf8Mid(heightLine, series.column, factorWidth);
    for (std::string_view code : {"WM", "WX", "WF", "WNF"})
        if (contains(typeName, code))
            field.reset();
    if (!field)
        return 1.0;
    return localeFloat(*field, localeSeparator);
}

} // namespace tepa
