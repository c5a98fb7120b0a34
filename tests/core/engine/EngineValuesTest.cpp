#include "core/engine/AirSide.h"
#include "core/engine/FanSetting.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/NearbyPower.h"
#include "core/engine/NominalRating.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/Rating.h"
#include "core/engine/WaterSide.h"

#include "ProductLines.h"
#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <type_traits>
#include <string>
#include <vector>

// The engine's values for the calls in tests/data/engine/engine-values.txt (its head lists the
// calls); a new result is checked by hand against a worked calculation before it is committed.

namespace tepa::engine {
namespace {

// Product lines by name. A '9' in every column outside the fields makes a field read one column
// off come out wrong.
const std::map<std::string, std::string> productLines = {
    {"data9", test::typicalDataLine('9')},
    {"data", test::typicalDataLine()},
    {"none", ""},
    {"fan", test::fanLine("0.0200000", "0.6000000", "1.2000000", '9')},     // c1, c2, nF
    {"wfsfan", test::fanLine("0.8850000", "0.5000000", "1.1000000", '9')},
    {"hugefan", test::fanLine("1E400", "1", "1")}, // c1 beyond the range of a double
};

// "name value" pairs, seven significant digits.
template <class... T> std::string out(const T&... pairs)
{
    std::string text;
    const auto put = [&text](const auto& x) {
        if constexpr (std::is_convertible_v<decltype(x), const char*>)
            text += std::string(text.empty() ? "" : " ") + x;
        else
            text += " " + tepa::test::numberText(static_cast<double>(x), 7);
    };
    (put(pairs), ...);
    return text;
}

std::string call(const std::vector<std::string>& w)
{
    const auto num = [&](std::size_t k) { return std::stod(w.at(k)); };
    const auto mode = [&](std::size_t k) { return w.at(k) == "cooling" ? Mode::Cooling : Mode::Heating; };
    const auto line = [&](std::size_t k) -> const std::string& { return productLines.at(w.at(k)); };
    const std::string& f = w.at(0);
    if (f == "heat" || f == "cool") {
        const Characteristic c{num(1), num(2)};
        const WaterPoint p{num(3), num(4), num(5)};
        const OutputResult r = f == "heat" ? Heizleistung(c, p) : Kuehlleistung(c, p, num(6));
        return out("Q", r.outputW, "m", r.massFlowKgPerH, "status", r.status);
    }
    if (f == "fromflow") {
        const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom({num(1), num(2)}, {num(3), num(4), num(5)});
        return out("Tr", r.returnTempC, "Q", r.outputW, "status", r.status, "steps", r.iterations);
    }
    if (f == "fromoutput") {
        const ReturnFromOutputResult r = Ruecklauf_aus_Leistung({num(1), num(2)}, {num(3), num(4), num(5)});
        return out("Tr", r.returnTempC, "m", r.massFlowKgPerH, "status", r.status);
    }
    if (f == "limits") {
        const ReturnLimits r = Ruecklaufgrenzen({num(1), num(2)}, {num(3), num(4)});
        return out("TrStart", r.returnTempStart, "mStart", r.massFlowStart, "TrEnd", r.returnTempEnd, "mEnd",
                   r.massFlowEnd, "QEnd", r.outputEnd, "status", r.status);
    }
    if (f == "forced") {
        ConvectorSetting in{.typeName = w.at(1), .lengthMm = num(2), .speedRpm = num(3), .dataLine = line(5),
                            .fanLine = line(6), .mode = mode(4)};
        for (std::size_t k = 7; k < w.size(); ++k) {
            const std::string option = w[k].substr(0, w[k].find('='));
            const double value = std::stod(w[k].substr(w[k].find('=') + 1));
            if (option == "stage")
                in.stage = value == 700 ? DwfStage::Rpm700 : value == 1000 ? DwfStage::Rpm1000 : DwfStage::Rpm1400;
            else if (option == "free")
                in.freeConvection = value != 0;
            else
                in.heightFactor = value;
        }
        const ConvectorCoefficients r = Zwangskennwerte(in);
        return out("K", r.characteristic.K, "n", r.characteristic.n, "LpA", r.soundLevelDb, "Le",
                   r.effectiveLengthMm, "status", r.status);
    }
    if (f == "dp") {
        const bool at = w.size() > 6; // the water's temperatures, else 75/65
        const PressureDropResult r =
            Druckverlust({.massFlowKgPerH = num(2), .lengthMm = num(3), .Tv = at ? num(6) : 75,
                          .Tr = at ? num(7) : 65, .typeName = w.at(1), .dataLine = line(5), .mode = mode(4)});
        return out("dp", r.pressureDropPa, "Re", r.reynoldsNumber, "tube", r.tubeLengthMm, "laminar",
                   r.laminarFlow, "high", r.highPressureDrop, "status", r.status);
    }
    if (f == "warn")
        return out("laminar", isLaminar(num(1)), "high", isHighPressureDrop(num(2)));
    if (f == "air") {
        const AirOutputResult r = Luftleistung({num(1), num(2), num(3)});
        return out("Q", r.outputW, "status", r.status);
    }
    if (f == "dew") {
        const DewPointResult r = Taupunkt(num(1), num(2));
        return out("Td", r.dewPointC, "status", r.status);
    }
    if (f == "dewlimit")
        return out("limit", dewPointFlowLimit(num(1), num(2)));
    if (f == "display") {
        OtherModeRating r;
        r.kind = mode(1) == Mode::Heating ? RatingKind::Heating : RatingKind::Cooling;
        r.pressureDropPa = num(2);
        return "\"" + ratingDisplay(r).Label88 + "\"";
    }
    if (f == "other") {
        const OtherModeRating r = otherModeRating(
            {.typeName = w.at(1), .lengthMm = num(2), .dataLine = line(4), .fanLine = line(5), .currentMode = mode(3)});
        const RatingDisplay shown = ratingDisplay(r);
        return out("box", r.showBox, "kind", static_cast<int>(r.kind), "Q", r.outputW, "m", r.massFlowKgPerH,
                   "LpA", r.soundLevelDb, "dp", r.pressureDropPa, "status", r.status, "caption",
                   r.captions.Label93, "red", r.captions.colour == RatingColour::Red) +
               " shown \"" + shown.Label86 + "\" \"" + shown.Label88 + "\" \"" + shown.Label90 + "\" \"" +
               shown.Label92 + "\"";
    }
    if (f == "rate") {
        const std::string& given = w.at(5);
        const bool heating = mode(4) == Mode::Heating;
        const OperatingPoint r = rateConvector(
            {.type = {w.at(1), line(6), line(7)}, .mode = mode(4), .lengthMm = num(2), .speedRpm = num(3),
             .Tv = heating ? 75.0 : 16.0, .Ti = heating ? 20.0 : 26.0,
             .given = given == "m" ? Given::MassFlow : given == "Q" ? Given::Output : Given::ReturnTemp,
             .givenValue = num(8)});
        if (r.status != 0) // a point without result holds nothing to read
            return out("status", r.status);
        return out("Tr", r.returnTempC, "m", r.massFlowKgPerH, "Q", r.outputW, "dp", r.pressureDropPa,
                   "TrStart", r.limits.returnTempStart, "TrEnd", r.limits.returnTempEnd, "status", r.status);
    }
    if (f == "fanspeed")
        return out("rpm", speedFromPercent(w.at(1), num(2)));
    if (f == "primaryair")
        return out("rpm", speedFromPrimaryAir(num(1)));
    if (f == "cools")
        return out("cools", Kuehltyp(w.at(1)), "rating", nominalSpeed(w.at(1)).value_or(0));
    ADD_FAILURE() << "unknown call " << f;
    return "";
}

TEST(EngineValues, OfEveryRuleFamilyAreTheGoldenOnesAndNearbyPowerMatchesStdPow)
{
    tepa::test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/engine/engine-values.txt",
                           [](const std::string& line) { return call(tepa::test::callWords(line)); });

    // Arguments creeping by 0.1 % (series from an anchor), stepping by 3 % and jumping by 50 %
    // (too far for the series), alternating between two sides as the iteration does.
    for (double n : {0.7, 0.9621, 1.0, 1.3, 1.473, 2.0, 3.5, 12.0}) {
        SCOPED_TRACE(n);
        NearbyPower power(n);
        double x = 0.5;
        for (int i = 0; i < 3000; ++i) {
            x *= i % 100 == 99 ? 1.5 : i % 7 == 0 ? 1.03 : 1.001;
            const double arg = i % 2 ? x : x * 1.002;
            const double expected = std::pow(arg, n);
            ASSERT_NEAR(power(arg), expected, 4e-15 * expected) << arg;
        }
    }
}

} // namespace
} // namespace tepa::engine
