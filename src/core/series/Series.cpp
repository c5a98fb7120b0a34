#include "core/series/Series.h"

#include <array>
#include <cmath>

namespace tepa::series {

bool hasCode(std::string_view typeName, std::string_view code)
{
    return typeName.find(code) != std::string_view::npos;
}

Series seriesOf(std::string_view typeName)
{
    if (hasCode(typeName, "WNF"))
        return Series::Wnf;
    if (hasCode(typeName, "DWF"))
        return Series::Dwf;
    if (hasCode(typeName, "WFWL"))
        return Series::Wfwl;
    if (hasCode(typeName, "WFW"))
        return Series::Wfw;
    if (hasCode(typeName, "WFs"))
        return Series::WfS;
    if (hasCode(typeName, "WF"))
        return Series::Wf;
    return Series::None;
}

bool hasSpeedFan(Series s)
{
    return s != Series::None && s != Series::Wnf;
}

bool canCool(Series s)
{
    return s == Series::Wnf || s == Series::Wfw || s == Series::Wfwl || s == Series::Dwf;
}

double minimumSpeed(Series s)
{
    switch (s) {
    case Series::Wf:
    case Series::WfS:
    case Series::Wfw:
    case Series::Dwf:
        return 700;
    case Series::Wfwl:
        return 345;
    case Series::None:
    case Series::Wnf:
        break;
    }
    return 0;
}

double fullSpeed(Series s)
{
    switch (s) {
    case Series::Wf:
    case Series::Dwf:
        return 1400;
    case Series::WfS:
    case Series::Wfw:
        return 1600;
    case Series::Wfwl:
        return 1150;
    case Series::None:
    case Series::Wnf:
        break;
    }
    return 0;
}

double percentFromSpeed(Series s, double speedRpm)
{
    const double full = fullSpeed(s);
    return full == 0 ? 0 : speedRpm / (full / 100);
}

double speedFromPercent(Series s, double percent)
{
    return percent * fullSpeed(s) / 100;
}

SpeedRange coolingSpeedRange(Series s)
{
    if (s == Series::Wfwl)
        return {minimumSpeed(s), fullSpeed(s)};
    return {700, 1600};
}

double coolingPercentFromSpeed(Series s, double speedRpm)
{
    return speedRpm / (coolingSpeedRange(s).maximum / 100);
}

SpeedRange heatingSpeedRange(Series s)
{
    const double full = fullSpeed(s);
    return {0, full == 0 ? 1400 : full};
}

double minimumPercent(Series s)
{
    // Whole percentages are typed: 700 of 1600 rpm is 43.75 %, which the field takes as 44.
    if (s == Series::Wfwl)
        return 30;
    const double full = fullSpeed(s);
    return full == 0 ? 0 : std::ceil(minimumSpeed(s) / full * 100);
}

namespace {
constexpr std::array<double, 7> WfwlSpeeds{345, 517.5, 575, 632.5, 747.5, 862.5, 1150};
constexpr std::array<double, 10> WnfAirFlows{0, 30, 60, 90, 120, 150, 180, 210, 240, 280};
constexpr std::array<double, 4> DwfStages{0, 700, 1000, 1400};
} // namespace

std::span<const double> wfwlSpeedLadder()
{
    return WfwlSpeeds;
}

std::span<const double> wnfAirLadder()
{
    return WnfAirFlows;
}

double stepAlongLadder(
    std::span<const double> ladder, double previous, double wanted, bool downOnEqual, double tolerance)
{
    if (ladder.empty())
        return wanted;
    if (wanted > previous + tolerance) {
        for (double step : ladder)
            if (step > previous + tolerance)
                return step;
        return ladder.back();
    }
    if (wanted < previous - tolerance || downOnEqual) {
        for (std::size_t i = ladder.size(); i-- > 0;)
            if (ladder[i] < previous - tolerance)
                return ladder[i];
        return ladder.front();
    }
    return previous;
}

std::span<const double> dwfStages()
{
    return DwfStages;
}

std::string_view dwfCoolingStageText(double speedRpm)
{
    switch (std::llround(speedRpm)) {
    case 700:
        return " 50";
    case 1000:
        return " 72";
    case 1400:
        return "100";
    default:
        return {};
    }
}

double primaryAirPerSize(std::string_view typeName)
{
    // A later size code wins, as the sizes are tested in order.
    double air = 0;
    if (hasCode(typeName, "WNF1"))
        air = 180;
    if (hasCode(typeName, "WNF2"))
        air = 240;
    if (hasCode(typeName, "WNF3"))
        air = 280;
    return air;
}

double coolingAirFlowLimit(std::string_view typeName, double lengthMm)
{
    constexpr double endPiecesMm = 350;
    return (lengthMm - endPiecesMm) / 1000 * primaryAirPerSize(typeName);
}

HeightChoice heightChoice(std::string_view typeName)
{
    constexpr std::size_t defaultLine = 1, fanLine = 8, lowFanLine = 15;
    const Series s = seriesOf(typeName);
    if (s == Series::Wfwl)
        return {false, lowFanLine, 0};
    if (s == Series::Wfw || s == Series::Wnf)
        return {false, fanLine, 0};
    for (std::string_view code : {"W1", "W2", "W3", "W4"})
        if (hasCode(typeName, code))
            return {true, 0, 1};
    return {false, defaultLine, 0};
}

double fixedHeight(Series s)
{
    return s == Series::Dwf ? 500 : 0;
}

std::size_t heightFactorColumn(std::string_view typeName)
{
    struct SeriesColumn
    {
        std::string_view code;
        std::size_t column;
    };
    constexpr SeriesColumn columns[] = {{"W1", 10}, {"W2", 19}, {"W3", 28}, {"W4", 37}};
    std::size_t column = 0;
    for (const auto& c : columns)
        if (hasCode(typeName, c.code))
            column = c.column;
    for (std::string_view code : {"WM", "WX", "WF", "WNF"})
        if (hasCode(typeName, code))
            column = 0;
    return column;
}

} // namespace tepa::series
