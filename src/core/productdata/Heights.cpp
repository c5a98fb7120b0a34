#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

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

Result<std::vector<std::string>> loadHeights(const std::filesystem::path& dir)
{
    return readTextLines(dir / HeightFileName);
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
