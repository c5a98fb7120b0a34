#include "core/productdata/ProductData.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

namespace tepa {

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
