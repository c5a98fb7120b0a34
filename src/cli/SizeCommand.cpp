#include "cli/Command.h"
#include "cli/Json.h"
#include "core/series/Series.h"
#include "core/sizing/Sizing.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::cli {
namespace {

using engine::Mode;
using sizing::Candidate;
using sizing::SettingKind;

constexpr std::string_view Usage =
    "usage: tepa size --demand W --tv C --ti C (--tr C | --max-massflow KGH) [--mode heating|cooling]\n"
    "                 [--humidity PCT] [--air-in C] [--series CODE,...] [--max-length MM]\n"
    "                 [--height MM] [--max-sound DBA] [--max-dp PA] [--max-count N] [--no-fan]\n"
    "                 [--limit N] [--json]\n";

constexpr std::string_view Help =
    "\n"
    "Lists the convectors of the installed range that meet a room's demand, best first:\n"
    "fewest units, then shortest total length, then lowest sound level. Every type, offered\n"
    "length and height and every fan setting of its series (speed steps of 10 %, the WFWL\n"
    "steps, the DWF stages, the WNF primary-air steps) is rated as the calculation window\n"
    "rates an entry and kept only inside the windows the window allows.\n"
    "\n"
    "  --demand W        heat or cooling demand of the room\n"
    "  --mode MODE       heating (default) or cooling\n"
    "  --tv C            flow temperature\n"
    "  --ti C            room temperature\n"
    "  --tr C            return temperature of every unit\n"
    "  --max-massflow KGH  heating: the largest water mass flow of one unit; each unit runs at\n"
    "                    this flow or at the end of its admissible window, the lower of both\n"
    "  --humidity PCT    cooling: relative humidity of the room air (default 50), for the\n"
    "                    dew-point check of the flow temperature\n"
    "  --air-in C        cooling: primary air temperature of WNF units (default 16)\n"
    "  --series CODES    only types whose name contains one of these codes (\"WFW,DWF\")\n"
    "  --max-length MM   longest nominal length\n"
    "  --height MM       this construction height only\n"
    "  --max-sound DBA   highest sound level of one unit\n"
    "  --max-dp PA       highest water-side pressure drop of one unit\n"
    "  --max-count N     most units of one type, 1 to 99 (default 15)\n"
    "  --no-fan          free convection only: fans off, no primary air\n"
    "  --limit N         list the first N candidates (default 20)\n"
    "  --json            the result as one JSON object\n"
    "  --help            this text\n"
    "\n"
    "Numbers take a point or a comma as decimal separator. Exit code 0 on success (also when\n"
    "no convector fits), 1 when a value is not valid, 2 on a usage error.\n";

constexpr int DefaultListed = 20;
constexpr int MostUnits = 99;

struct Refusal
{
    ExitCode code;
    std::string message;
};

std::optional<Refusal>
readNumber(const OptionParser& options, const std::string& name, std::optional<double>& value)
{
    const auto text = options.get(name);
    if (!text)
        return std::nullopt;
    const auto number = localeFloat(*text, ',');
    if (!number)
        return Refusal{ExitBadInput, name + ": '" + *text + "' is not a number"};
    value = *number;
    return std::nullopt;
}

std::optional<Refusal>
readPositive(const OptionParser& options, const std::string& name, std::optional<double>& value)
{
    if (auto refusal = readNumber(options, name, value))
        return refusal;
    if (value && !(*value > 0))
        return Refusal{ExitBadInput, name + " must be above 0"};
    return std::nullopt;
}

std::optional<Refusal>
readCount(const OptionParser& options, const std::string& name, int highest, int& value)
{
    const auto text = options.get(name);
    if (!text)
        return std::nullopt;
    int number = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (ec != std::errc() || end != text->data() + text->size() || number < 1 || number > highest)
        return Refusal{ExitBadInput,
                       name + ": '" + *text + "' is not a whole number from 1 to " + std::to_string(highest)};
    value = number;
    return std::nullopt;
}

std::vector<std::string> splitCodes(const std::string& text)
{
    std::vector<std::string> codes;
    std::istringstream in(text);
    for (std::string code; std::getline(in, code, ',');)
        codes.push_back(code);
    if (!text.empty() && text.back() == ',')
        codes.emplace_back();
    return codes;
}

std::optional<Refusal> readRequest(const OptionParser& options, sizing::Request& r, int& listed)
{
    if (!options.positionals().empty())
        return Refusal{ExitUsage, "unexpected argument '" + options.positionals().front() + "'"};
    for (const char* name : {"--demand", "--tv", "--ti"})
        if (!options.has(name))
            return Refusal{ExitUsage, std::string("missing ") + name};
    if (options.has("--tr") == options.has("--max-massflow"))
        return Refusal{ExitUsage, "give exactly one of --tr, --max-massflow"};

    const std::string mode = options.get("--mode").value_or("heating");
    if (mode != "heating" && mode != "cooling")
        return Refusal{ExitBadInput, "--mode must be heating or cooling, not '" + mode + "'"};
    r.mode = mode == "heating" ? Mode::Heating : Mode::Cooling;
    const bool heating = r.mode == Mode::Heating;
    if (!heating && options.has("--max-massflow"))
        return Refusal{ExitBadInput, "--max-massflow: cooling is rated from a return temperature; give --tr"};
    for (const char* name : {"--humidity", "--air-in"})
        if (heating && options.has(name))
            return Refusal{ExitBadInput, std::string(name) + " belongs to cooling (--mode cooling)"};

    std::optional<double> demand, tv, ti, humidity, airIn;
    if (auto refusal = readPositive(options, "--demand", demand))
        return refusal;
    for (auto [name, value] : {std::pair{"--tv", &tv}, std::pair{"--ti", &ti}, std::pair{"--air-in", &airIn}})
        if (auto refusal = readNumber(options, name, *value))
            return refusal;
    if (auto refusal = readNumber(options, "--tr", r.returnTempC))
        return refusal;
    if (auto refusal = readPositive(options, "--max-massflow", r.maxMassFlowKgPerH))
        return refusal;
    if (auto refusal = readNumber(options, "--humidity", humidity))
        return refusal;
    r.demandW = *demand;
    r.flowTempC = *tv;
    r.roomTempC = *ti;
    r.humidityPercent = humidity.value_or(r.humidityPercent);
    r.airInletC = airIn.value_or(r.airInletC);
    if (!(r.humidityPercent > 0 && r.humidityPercent <= 100))
        return Refusal{ExitBadInput, "--humidity must be above 0 and at most 100 %"};
    if (heating && !(r.flowTempC > r.roomTempC))
        return Refusal{ExitBadInput,
                       "--tv: in heating the flow temperature must lie above the room temperature"};
    if (!heating && !(r.flowTempC < r.roomTempC))
        return Refusal{ExitBadInput,
                       "--tv: in cooling the flow temperature must lie below the room temperature"};

    sizing::Constraints& c = r.constraints;
    if (auto text = options.get("--series")) {
        c.series = splitCodes(*text);
        for (const std::string& code : c.series)
            if (code.empty() || code.find(' ') != std::string::npos)
                return Refusal{ExitBadInput,
                               "--series: '" + *text + "' is no list of series codes (\"WFW,DWF\")"};
    }
    if (auto refusal = readPositive(options, "--max-length", c.maxLengthMm))
        return refusal;
    if (auto refusal = readPositive(options, "--height", c.heightMm))
        return refusal;
    if (auto refusal = readNumber(options, "--max-sound", c.maxSoundDb))
        return refusal;
    if (auto refusal = readPositive(options, "--max-dp", c.maxPressureDropPa))
        return refusal;
    if (auto refusal = readCount(options, "--max-count", MostUnits, c.maxCount))
        return refusal;
    c.fanAllowed = !options.has("--no-fan");
    listed = DefaultListed;
    return readCount(options, "--limit", 1000000, listed);
}

// A series code the range does not know would silently find nothing.
std::optional<Refusal> checkSeries(const sizing::Catalog& catalog, const sizing::Request& r)
{
    for (const std::string& code : r.constraints.series) {
        bool known = false;
        for (const auto* types : {&catalog.freeTypes, &catalog.forcedTypes})
            for (const TypeRecord& type : *types)
                known = known || series::hasCode(sizing::entryTypeName(type.name, r.mode), code);
        if (!known)
            return Refusal{ExitBadInput,
                           "--series: no type of the installed range belongs to '" + code + "'"};
    }
    return std::nullopt;
}

std::string settingText(const Candidate& c)
{
    switch (c.setting) {
    case SettingKind::None:
        return "free";
    case SettingKind::Stage:
        return c.speedRpm > 0 ? "stage " + strFixed(c.speedRpm, 0, 0) : "fan off";
    case SettingKind::AirFlow:
        return c.airFlowM3PerH > 0 ? strFixed(c.airFlowM3PerH, 0, 0) + " m³/h" : "no air";
    case SettingKind::Speed:
        break;
    }
    if (c.speedRpm <= 0)
        return "fan off";
    return strFixed(series::percentFromSpeed(series::seriesOf(c.typeName), c.speedRpm), 0, 0) + " % " +
           strFixed(c.speedRpm, 0, 0) + " rpm";
}

std::vector<std::string> warningsOf(const Candidate& c)
{
    std::vector<std::string> w;
    if (c.laminarFlow)
        w.emplace_back("laminarFlow");
    if (c.highPressureDrop)
        w.emplace_back("pressureDropHigh");
    if (c.lowMassFlow)
        w.emplace_back("lowMassFlow");
    return w;
}

std::string warningText(const Candidate& c)
{
    std::string text;
    const auto add = [&text](std::string_view word) {
        text += (text.empty() ? "" : ", ") + std::string(word);
    };
    if (c.laminarFlow)
        add("laminar flow");
    if (c.highPressureDrop)
        add("pressure drop above 100 kPa");
    if (c.lowMassFlow)
        add("mass flow below 50 kg/h");
    return text;
}

std::string padded(std::string_view text, std::size_t width, bool right)
{
    const std::size_t length = utf8Length(text);
    const std::string fill(length < width ? width - length : 0, ' ');
    return right ? fill + std::string(text) : std::string(text) + fill;
}

void writeText(std::ostream& out, const sizing::Request& r, const sizing::Outcome& o, int listed)
{
    const bool heating = r.mode == Mode::Heating;
    out << (heating ? "Heating " : "Cooling ") << strFixed(r.demandW, 0, 0) << " W, flow "
        << strFixed(r.flowTempC, 0, 1) << " °C, room " << strFixed(r.roomTempC, 0, 1) << " °C, ";
    if (r.returnTempC)
        out << "return " << strFixed(*r.returnTempC, 0, 1) << " °C";
    else
        out << "at most " << strFixed(*r.maxMassFlowKgPerH, 0, 1) << " kg/h per unit";
    out << '\n';
    if (!heating && o.flowBelowDewPointLimit)
        out << "Warning: the flow temperature lies below " << strFixed(o.dewPointLimitC, 0, 1)
            << " °C, the lowest that keeps the convectors dry (dew point " << strFixed(o.dewPointC, 0, 1)
            << " °C)\n";
    if (o.candidates.empty()) {
        out << "No convector of the installed range meets the demand within these limits.\n";
        return;
    }
    const std::size_t shown = std::min<std::size_t>(o.candidates.size(), static_cast<std::size_t>(listed));
    out << o.candidates.size() << " candidates, best first";
    if (shown < o.candidates.size())
        out << "; the first " << shown << " shown";
    out << '\n';
    out << "   # Type        Length Height Setting              Units  Q/unit W  Total W  Tr °C  m kg/h"
           "    dp Pa  LpA dB(A)  Warnings\n";
    for (std::size_t i = 0; i < shown; ++i) {
        const Candidate& c = o.candidates[i];
        out << padded(std::to_string(i + 1), 4, true) << ' ' << padded(c.typeName, 10, false) << ' '
            << padded(strFixed(c.lengthMm, 0, 0), 7, true) << padded(strFixed(c.heightMm, 0, 0), 7, true)
            << ' ' << padded(settingText(c), 20, false) << padded(std::to_string(c.count), 6, true)
            << padded(strFixed(c.outputW, 0, 0), 10, true) << padded(strFixed(c.totalW, 0, 0), 9, true)
            << padded(strFixed(c.returnTempC, 0, 1), 7, true)
            << padded(strFixed(c.massFlowKgPerH, 0, 1), 8, true)
            << padded(strFixed(c.pressureDropPa, 0, 0), 9, true)
            << padded(strFixed(c.soundLevelDb, 0, 1), 11, true);
        const std::string warnings = warningText(c);
        out << (warnings.empty() ? "" : "  " + warnings) << '\n';
    }
}

Json candidateJson(const Candidate& c)
{
    Json j;
    j["type"] = c.typeName;
    j["typeLine"] = c.typeLine;
    j["free"] = c.free;
    j["length"] = c.lengthMm;
    j["height"] = c.heightMm;
    j["heightFactor"] = c.heightFactor;
    j["setting"] = settingText(c);
    j["speed"] = c.speedRpm;
    j["airFlow"] = c.airFlowM3PerH;
    j["count"] = c.count;
    j["output"] = c.outputW;
    j["total"] = c.totalW;
    j["returnTemp"] = c.returnTempC;
    j["massFlow"] = c.massFlowKgPerH;
    j["pressureDrop"] = c.pressureDropPa;
    j["soundLevel"] = c.soundLevelDb;
    j["warnings"] = warningsOf(c);
    return j;
}

void writeJsonResult(std::ostream& out, const sizing::Request& r, const sizing::Outcome& o, int listed)
{
    Json j;
    j["mode"] = r.mode == Mode::Heating ? "heating" : "cooling";
    j["demand"] = r.demandW;
    j["flowTemp"] = r.flowTempC;
    j["roomTemp"] = r.roomTempC;
    if (r.returnTempC)
        j["returnTemp"] = *r.returnTempC;
    else
        j["maxMassFlow"] = *r.maxMassFlowKgPerH;
    if (r.mode == Mode::Cooling) {
        j["dewPoint"] = o.dewPointC;
        j["dewPointLimit"] = o.dewPointLimitC;
        j["flowBelowDewPointLimit"] = o.flowBelowDewPointLimit;
    }
    j["found"] = o.candidates.size();
    Json& list = j["candidates"] = Json::array();
    for (std::size_t i = 0; i < o.candidates.size() && i < static_cast<std::size_t>(listed); ++i)
        list.push_back(candidateJson(o.candidates[i]));
    writeJson(out, j);
}

} // namespace

int runSize(Invocation& call)
{
    OptionParser options;
    for (const char* name :
         {"--demand", "--mode", "--tv", "--ti", "--tr", "--max-massflow", "--humidity", "--air-in",
          "--series", "--max-length", "--height", "--max-sound", "--max-dp", "--max-count", "--limit"})
        options.value(name);
    options.flag("--no-fan").flag("--json").flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa size: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Usage << Help;
        return ExitOk;
    }
    sizing::Request request;
    int listed = DefaultListed;
    if (auto refusal = readRequest(options, request, listed)) {
        call.err << "tepa size: " << refusal->message << '\n';
        if (refusal->code == ExitUsage)
            call.err << Usage;
        return refusal->code;
    }
    const auto catalog = sizing::loadCatalog(call.dataDir, localeDecimalSeparator());
    if (!catalog) {
        call.err << "tepa size: " << catalog.error() << '\n';
        return ExitBadInput;
    }
    if (auto refusal = checkSeries(*catalog, request)) {
        call.err << "tepa size: " << refusal->message << '\n';
        return refusal->code;
    }
    const sizing::Outcome outcome = sizing::size(*catalog, request);
    if (options.has("--json"))
        writeJsonResult(call.out, request, outcome, listed);
    else
        writeText(call.out, request, outcome, listed);
    return ExitOk;
}

} // namespace tepa::cli
