#include "core/series/Series.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// The per-series answers for the calls in tests/data/series/series.txt (the file's head lists the
// calls; GoldenCalls.h says how the file is checked and written, here by bin/test_series).

namespace tepa::series {
namespace {

using test::numberText;

std::string result(const std::string& line)
{
    std::istringstream in(line);
    std::string call, name;
    in >> call >> name;
    const Series s = seriesOf(name);
    double a = 0, b = 0;
    in >> a >> b;
    std::ostringstream out;
    if (call == "series") {
        const HeightChoice h = heightChoice(name);
        out << "series " << static_cast<int>(s) << " fan " << hasSpeedFan(s) << " cools " << canCool(s)
            << " speeds " << numberText(minimumSpeed(s)) << ".." << numberText(fullSpeed(s)) << " cooling "
            << numberText(coolingSpeedRange(s).minimum) << ".." << numberText(coolingSpeedRange(s).maximum)
            << " heatingmax " << numberText(heatingSpeedRange(s).maximum) << " min% "
            << numberText(minimumPercent(s)) << " air " << numberText(primaryAirPerSize(name)) << " heights "
            << (h.allLines ? "all, preselected " + std::to_string(h.preselected)
                           : "line " + std::to_string(h.line))
            << " factorcolumn " << heightFactorColumn(name) << " fixed " << numberText(fixedHeight(s));
    } else if (call == "speed") { // TYPE rpm
        const double percent = percentFromSpeed(s, a);
        out << "% " << numberText(percent) << " cooling% " << numberText(coolingPercentFromSpeed(s, a))
            << " back " << numberText(speedFromPercent(s, percent));
    } else if (call == "airlimit") { // TYPE L
        out << numberText(coolingAirFlowLimit(name, a));
    } else if (call == "slowstep" || call == "airstep") { // previous wanted
        const bool slow = call == "slowstep";
        const double previous = std::stod(name);
        out << numberText(stepAlongLadder(slow ? wfwlSpeedLadder() : wnfAirLadder(), previous, a, !slow,
                                          slow ? 0.0001 : 0));
    } else if (call == "dwftext") { // rpm
        out << "\"" << dwfCoolingStageText(std::stod(name)) << "\"";
    } else if (call == "dwfstages") {
        for (double rpm : dwfStages())
            out << numberText(rpm) << (rpm == dwfStages().back() ? "" : " ");
    } else {
        ADD_FAILURE() << "unknown call " << call;
    }
    return out.str();
}

TEST(SeriesTable, AnswersAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/series/series.txt", result);
}

} // namespace
} // namespace tepa::series
