#include "PictureNames.h"

#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"

#include <algorithm>
#include <cctype>

namespace tepa::pictures {

std::string pictureNameOfIndexLine(std::string_view line)
{
    // The main window takes the picture name from the shown name: its first character (column
    // 11, a blank in every index line) is dropped and the name ends at the next blank.
    const std::string shown = parseTypeIndexLine(line).shownName;
    const std::string_view rest = utf8Mid(shown, 2, shown.size());
    return std::string(rest.substr(0, rest.find(' ')));
}

std::vector<std::string> pictureNamesOfIndex(const std::vector<std::string>& lines)
{
    std::vector<std::string> names;
    for (std::size_t i = FirstTypeIndexLine; i < lines.size(); ++i) {
        std::string name = pictureNameOfIndexLine(lines[i]);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> plannedTypeNames()
{
    return {"W",  "WM", "WX", "WF",  "WFs", "WFW", "WFWL", "WNF",  "DWF", "W1",
            "W2", "W3", "W4", "WF1", "WF2", "WF3", "WNF1", "WNF2", "WNF3"};
}

PictureSpec pictureSpecFor(std::string_view typeName)
{
    struct Series
    {
        std::string_view code;
        Drawing drawing;
    };
    // clang-format off
    static constexpr Series series[] = {
        {"WNF", Drawing::PrimaryAir},
        {"DWF", Drawing::FixedStageFan},
        {"WFWL", Drawing::FanCoilLowSpeed},
        {"WFW", Drawing::FanCoil},
        {"WFs", Drawing::SlimFanTrench},
        {"WF", Drawing::FanTrench},
        {"WM", Drawing::FreeTrenchMedium},
        {"WX", Drawing::FreeTrenchLarge},
        {"W", Drawing::FreeTrench},
    };
    // clang-format on
    PictureSpec look;
    for (const Series& s : series) {
        const std::size_t at = typeName.find(s.code);
        if (at == std::string_view::npos)
            continue;
        look.drawing = s.drawing;
        std::string_view rest = typeName.substr(at + s.code.size());
        if (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front())))
            look.sizeNumber = rest.front() - '0';
        if (rest.size() >= 2 && rest[0] == '-' && (rest[1] == '2' || rest[1] == '4'))
            look.pipeCount = rest[1] - '0';
        break;
    }
    return look;
}

} // namespace tepa::pictures
