#include "cli/Command.h"
#include "cli/Json.h"
#include "core/engine/AirSide.h"
#include "core/engine/FanSetting.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/Rating.h"
#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::cli {
namespace {

using engine::contains;
using engine::DwfStage;
using engine::Given;
using engine::Mode;

constexpr std::string_view Usage =
    "usage: tepa rate --type NAME [--mode heating|cooling] [--length MM] [--height MM]\n"
    "                 [--speed RPM | --percent P | --airflow M3H | --stage 0|700|1000|1400]\n"
    "                 --tv C --ti C (--tr C | --massflow KGH | --output W) [--air-in C] [--json]\n";

constexpr std::string_view Help =
    "\n"
    "Rates one convector at an operating point, as the calculation window does.\n"
    "\n"
    "  --type NAME      a type of freikon.txt (free convection) or zwangskon.txt (fan\n"
    "                   convection): the whole type line or its text before the first blank\n"
    "  --mode MODE      heating (default) or cooling; cooling for the series WFW, WNF, DWF\n"
    "  --length MM      one of the type's offered lengths (default: the first)\n"
    "  --height MM      one of the type's offered construction heights (default: the one the\n"
    "                   calculation window preselects)\n"
    "  --speed RPM      fan speed\n"
    "  --percent P      fan setting in percent of the series' full speed (not WNF, DWF)\n"
    "  --airflow M3H    primary air flow of a WNF unit\n"
    "  --stage S        fan stage of a DWF unit: 0, 700, 1000 or 1400 (default 0)\n"
    "                   Without a fan setting a fan convector is rated with its fan off.\n"
    "  --tv C           flow temperature\n"
    "  --ti C           room temperature\n"
    "  --tr C           return temperature\n"
    "  --massflow KGH   water mass flow (heating only)\n"
    "  --output W       heating output (heating only)\n"
    "  --air-in C       primary air temperature of a WNF unit in cooling (default 16)\n"
    "  --json           the result as one JSON object\n"
    "  --help           this text\n"
    "\n"
    "Numbers take a point or a comma as decimal separator. Exit code 0 on success, 1 when\n"
    "an input is not valid for the type, 2 on a usage error.\n";

// Primary air entering a "WNF" unit when none is given, as in a new project's room data [°C].
constexpr double DefaultAirInletC = 16;

// A command line turned down: the message for stderr and the exit code.
struct Refusal
{
    ExitCode code;
    std::string message;
};

// The operating point the command line asks for, resolved against the product data.
struct Request
{
    Mode mode = Mode::Heating;
    TypeRecord type;
    bool free = false;    // a type of freikon.txt
    std::string typeName; // as the calculation window stores it; the engine's series tests run on it
    double lengthMm = 0;
    double heightMm = 0;
    double heightFactor = 1;
    double speedRpm = 0;
    DwfStage stage = DwfStage::Off;
    double airFlowM3PerH = 0; // primary air of a "WNF" unit (heating: what the speed came from)
    bool airFlowGiven = false;
    double Tv = 0, Ti = 0;
    Given given = Given::ReturnTemp;
    double givenValue = 0;
    double airInletC = DefaultAirInletC;
};

bool isCooling(const Request& r)
{
    return r.mode == Mode::Cooling;
}
bool isWnf(const Request& r)
{
    return contains(r.typeName, "WNF");
}
bool isDwf(const Request& r)
{
    return contains(r.typeName, "DWF");
}
// A "WNF" unit cools with its primary air alone; the water side is not rated.
bool airSideCooling(const Request& r)
{
    return isCooling(r) && isWnf(r);
}

// Shortest text that reads back as the same number ("800", "1250.5").
std::string plainNumber(double x)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    return std::string(buffer, end);
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const auto& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

// Option values are read strictly: the whole text one finite number, with a point or a comma
// as decimal separator whatever the machine's locale.
std::optional<Refusal> readNumber(const OptionParser& options, const std::string& name, double& value)
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

std::string_view textBeforeBlank(std::string_view text)
{
    return text.substr(0, text.find(' '));
}

// The type name the calculation window stores for a picked type line: in heating the line cut
// to the field's 10 characters; in cooling only the type code, the text before the first blank
// within the first 20 characters (the whole line cut to 10 when there is no such blank).
std::string entryTypeName(std::string_view typeLine, Mode mode)
{
    constexpr std::size_t nameField = 10;
    if (mode == Mode::Heating)
        return std::string(utf8Left(typeLine, nameField));
    const std::string_view head = utf8Left(typeLine, 20);
    const auto blank = head.find(' ');
    if (blank == std::string_view::npos)
        return std::string(utf8Left(typeLine, nameField));
    return std::string(utf8Left(head.substr(0, blank), nameField));
}

// Finds the type among all types of both type files, free-convection types first.
std::optional<Refusal> findType(const std::filesystem::path& dir, const std::string& name, Request& r)
{
    std::vector<std::string> known;
    for (bool forced : {false, true}) {
        const auto lines = readTextLines(dir / (forced ? ForcedTypeFileName : FreeTypeFileName));
        if (!lines)
            return Refusal{ExitBadInput, lines.error()};
        const auto types = typesFromLines(*lines, forced);
        if (!types)
            return Refusal{ExitBadInput, types.error()};
        for (std::size_t k = 0; k < types->size(); ++k) {
            const TypeRecord& type = (*types)[k];
            if (type.name == name || textBeforeBlank(type.name) == name) {
                // Damaged numbers would rate as 0 W; the type is refused with its file and line.
                if (Status valid = checkTypeNumbers(*lines, k + 1, forced); !valid)
                    return Refusal{ExitBadInput, valid.error()};
                r.type = type;
                r.free = !forced;
                r.typeName = entryTypeName(type.name, r.mode);
                return std::nullopt;
            }
            known.emplace_back(textBeforeBlank(type.name));
        }
    }
    return Refusal{ExitBadInput, "unknown type '" + name + "'; known types: " + joined(known)};
}

std::optional<Refusal> chooseLength(const OptionParser& options, Request& r)
{
    std::vector<double> offered;
    for (const std::string& field : lengthFields(r.type.lengthLine))
        offered.push_back(decimalValue(field));
    r.lengthMm = offered.front();
    if (!options.has("--length"))
        return std::nullopt;
    double wanted = 0;
    if (auto refusal = readNumber(options, "--length", wanted))
        return refusal;
    for (double length : offered)
        if (length == wanted) {
            r.lengthMm = length;
            return std::nullopt;
        }
    std::vector<std::string> texts;
    for (double length : offered)
        texts.push_back(plainNumber(length));
    return Refusal{ExitBadInput, "length " + plainNumber(wanted) + " mm is not offered for " + r.type.name +
                                     "; offered lengths (mm): " + joined(texts)};
}

// The construction height as the calculation window offers and preselects it, and its factor on
// the free-convection output (heating only; cooling rates every height with factor 1).
std::optional<Refusal> chooseHeight(const OptionParser& options, const std::filesystem::path& dir, Request& r)
{
    std::optional<double> wanted;
    if (options.has("--height")) {
        double value = 0;
        if (auto refusal = readNumber(options, "--height", value))
            return refusal;
        wanted = value;
    }

    // The ceiling unit is built in one height only.
    constexpr double dwfHeightMm = 500;
    if (isDwf(r)) {
        if (wanted && *wanted != dwfHeightMm)
            return Refusal{ExitBadInput, "height " + plainNumber(*wanted) + " mm is not offered for " +
                                             r.type.name + "; offered heights (mm): 500"};
        r.heightMm = dwfHeightMm;
        r.heightFactor = 1;
        return std::nullopt;
    }

    const auto heightList = loadHeights(dir);
    if (!heightList)
        return Refusal{ExitBadInput, heightList.error()};
    const auto offered = offeredHeights(r.type.name, *heightList);
    if (!offered)
        return Refusal{ExitBadInput, std::string(HeightFileName) + ": " + offered.error()};

    const std::string* line = &offered->lines[offered->preselected];
    if (wanted) {
        line = nullptr;
        for (const std::string& candidate : offered->lines)
            if (heightOfLine(candidate) == *wanted) {
                line = &candidate;
                break;
            }
        if (line == nullptr) {
            std::vector<std::string> texts;
            for (const std::string& candidate : offered->lines)
                texts.push_back(plainNumber(heightOfLine(candidate)));
            return Refusal{ExitBadInput, "height " + plainNumber(*wanted) + " mm is not offered for " +
                                             r.type.name + "; offered heights (mm): " + joined(texts)};
        }
    }
    r.heightMm = heightOfLine(*line);
    r.heightFactor = 1;
    if (!isCooling(r)) {
        const auto factor = heightFactor(r.typeName, *line, localeDecimalSeparator());
        if (!factor)
            return Refusal{ExitBadInput, std::string(HeightFileName) + ": " + factor.error()};
        r.heightFactor = *factor;
    }
    return std::nullopt;
}

// Fan speed from the fan option that fits the series. The percentage is of the series' full
// speed: 1600 rpm for "WFs" and "WFW", 1150 for "WFWL", 1400 for the others. A "WNF" unit is set
// by its primary air flow; in heating the flow stands for a fan speed by two fitted laws, one
// below and one from 75 m³/h; in cooling the air itself carries the output.
std::optional<Refusal> chooseFan(const OptionParser& options, Request& r)
{
    const bool speed = options.has("--speed"), percent = options.has("--percent");
    const bool airflow = options.has("--airflow"), stage = options.has("--stage");
    if (r.free && (speed || percent || airflow || stage))
        return Refusal{ExitBadInput, r.type.name + " is a free convector and takes no fan setting "
                                                   "(--speed, --percent, --airflow, --stage)"};
    if (stage && !isDwf(r))
        return Refusal{ExitBadInput, "--stage is the fan stage of the DWF series; " + r.type.name +
                                         " takes --speed or --percent"};
    if (airflow && !isWnf(r))
        return Refusal{ExitBadInput, "--airflow is the primary air of the WNF series; " + r.type.name +
                                         " takes --speed or --percent"};
    if (isDwf(r) && (speed || percent))
        return Refusal{ExitBadInput, r.type.name + " runs at fixed fan stages: --stage 0, 700, 1000 or 1400"};
    if (isWnf(r) && percent)
        return Refusal{ExitBadInput, r.type.name + " is set by its primary air: --airflow M3H"};
    if (airSideCooling(r) && speed)
        return Refusal{ExitBadInput,
                       "in cooling " + r.type.name + " is set by its primary air: --airflow M3H"};

    if (!speed && !percent && !airflow && !stage)
        return std::nullopt; // fan off
    const std::string given = speed ? "--speed" : percent ? "--percent" : airflow ? "--airflow" : "--stage";
    double value = 0;
    if (auto refusal = readNumber(options, given, value))
        return refusal;
    if (value < 0)
        return Refusal{ExitBadInput, given + " must not be negative"};

    if (speed) {
        r.speedRpm = value;
    } else if (percent) {
        r.speedRpm = engine::speedFromPercent(r.typeName, value);
    } else if (airflow) {
        r.airFlowM3PerH = value;
        r.airFlowGiven = true;
        if (!isCooling(r))
            r.speedRpm = engine::speedFromPrimaryAir(value);
    } else if (stage) {
        struct StageSpeed
        {
            double rpm;
            DwfStage stage;
        };
        constexpr StageSpeed stages[] = {{0, DwfStage::Off},
                                         {700, DwfStage::Rpm700},
                                         {1000, DwfStage::Rpm1000},
                                         {1400, DwfStage::Rpm1400}};
        const StageSpeed* chosen = nullptr;
        for (const StageSpeed& candidate : stages)
            if (candidate.rpm == value)
                chosen = &candidate;
        if (chosen == nullptr)
            return Refusal{ExitBadInput, "--stage must be 0, 700, 1000 or 1400"};
        r.stage = chosen->stage;
        r.speedRpm = chosen->rpm;
    }
    // A huge setting is a finite number whose speed is not; the table would show it as infinite.
    if (!std::isfinite(r.speedRpm))
        return Refusal{ExitBadInput, given + " " + plainNumber(value) + " gives no fan speed"};
    return std::nullopt;
}

// Everything but the product data: usage first, then the values.
std::optional<Refusal> readOperatingPoint(const OptionParser& options, Request& r)
{
    if (!options.positionals().empty())
        return Refusal{ExitUsage, "unexpected argument '" + options.positionals().front() + "'"};
    for (const char* name : {"--type", "--tv", "--ti"})
        if (!options.has(name))
            return Refusal{ExitUsage, std::string("missing ") + name};
    int waterOptions = 0;
    for (const char* name : {"--tr", "--massflow", "--output"})
        waterOptions += options.has(name);
    if (waterOptions != 1)
        return Refusal{ExitUsage, "give exactly one of --tr, --massflow, --output"};
    int fanOptions = 0;
    for (const char* name : {"--speed", "--percent", "--airflow", "--stage"})
        fanOptions += options.has(name);
    if (fanOptions > 1)
        return Refusal{ExitUsage, "give at most one of --speed, --percent, --airflow, --stage"};

    const std::string mode = options.get("--mode").value_or("heating");
    if (mode != "heating" && mode != "cooling")
        return Refusal{ExitBadInput, "--mode must be heating or cooling, not '" + mode + "'"};
    r.mode = mode == "heating" ? Mode::Heating : Mode::Cooling;

    if (isCooling(r) && !options.has("--tr"))
        return Refusal{ExitBadInput, "cooling is rated from a return temperature: give --tr"};
    if (auto refusal = readNumber(options, "--tv", r.Tv))
        return refusal;
    if (auto refusal = readNumber(options, "--ti", r.Ti))
        return refusal;
    if (auto refusal = readNumber(options, "--air-in", r.airInletC))
        return refusal;
    const struct
    {
        const char* name;
        Given given;
    } givens[] = {{"--tr", Given::ReturnTemp}, {"--massflow", Given::MassFlow}, {"--output", Given::Output}};
    for (const auto& g : givens)
        if (options.has(g.name)) {
            r.given = g.given;
            if (auto refusal = readNumber(options, g.name, r.givenValue))
                return refusal;
        }
    return std::nullopt;
}

std::optional<Refusal> resolve(const OptionParser& options, const std::filesystem::path& dir, Request& r)
{
    if (auto refusal = readOperatingPoint(options, r))
        return refusal;
    if (auto refusal = findType(dir, *options.get("--type"), r))
        return refusal;
    if (isCooling(r) && !engine::Kuehltyp(r.type.name))
        return Refusal{ExitBadInput, r.type.name + " does not cool; the series WFW, WNF and DWF do"};
    if (options.has("--air-in") && !airSideCooling(r))
        return Refusal{ExitBadInput, "--air-in is the primary air temperature of a WNF unit in cooling"};
    if (auto refusal = chooseFan(options, r))
        return refusal;
    if (auto refusal = chooseLength(options, r))
        return refusal;
    return chooseHeight(options, dir, r);
}

engine::OperatingPoint rate(const Request& r)
{
    engine::OperatingPoint point =
        engine::rateConvector({.type = {r.typeName, r.type.dataLine, r.type.fanLine},
                               .mode = r.mode,
                               .freeConvection = r.free,
                               .lengthMm = r.lengthMm,
                               .heightFactor = r.heightFactor,
                               .speedRpm = r.speedRpm,
                               .stage = r.stage,
                               .Tv = r.Tv,
                               .Ti = r.Ti,
                               .given = r.given,
                               .givenValue = r.givenValue});
    if (airSideCooling(r)) {
        // The primary air enters at its own temperature and leaves at room temperature.
        const engine::AirOutputResult air = engine::Luftleistung(
            {.inletTempC = r.airInletC, .outletTempC = r.Ti, .airFlowM3PerH = r.airFlowM3PerH});
        point.returnTempC = r.givenValue;
        point.outputW = air.outputW;
        point.status = air.status;
    }
    return point;
}

Json resultJson(const Request& r, const engine::OperatingPoint& p)
{
    Json json;
    json["type"] = r.typeName;
    json["mode"] = isCooling(r) ? "cooling" : "heating";
    json["free"] = r.free;
    json["length"] = r.lengthMm;
    json["height"] = r.heightMm;
    json["heightFactor"] = r.heightFactor;
    json["speed"] = r.speedRpm;
    json["K"] = p.coefficients.characteristic.K;
    json["n"] = p.coefficients.characteristic.n;
    json["soundLevel"] = p.coefficients.soundLevelDb;
    json["effectiveLength"] = p.coefficients.effectiveLengthMm;
    json["flowTemp"] = r.Tv;
    json["roomTemp"] = r.Ti;
    json["returnTemp"] = p.returnTempC;
    json["massFlow"] = p.massFlowKgPerH;
    json["output"] = p.outputW;
    json["pressureDrop"] = p.pressureDropPa;
    json["status"] = p.status;
    json["laminarFlow"] = p.laminarFlow;
    json["pressureDropHigh"] = p.highPressureDrop;
    if (!isCooling(r)) {
        Json& limits = json["limits"];
        limits["returnTempMin"] = p.limits.returnTempStart;
        limits["returnTempMax"] = p.limits.returnTempEnd;
        limits["massFlowMin"] = p.limits.massFlowStart;
        limits["massFlowMax"] = p.limits.massFlowEnd;
        limits["outputMin"] = p.limits.outputStart;
        limits["outputMax"] = p.limits.outputEnd;
        limits["status"] = p.limits.status;
    }
    return json;
}

std::string padRight(std::string_view text, std::size_t width)
{
    const std::size_t length = utf8Length(text);
    return std::string(text) + std::string(length < width ? width - length : 0, ' ');
}

void writeRow(std::ostream& out, std::string_view label, const std::string& value, std::string_view unit = "")
{
    const std::size_t length = utf8Length(value);
    out << "  " << padRight(label, 20) << std::string(length < 10 ? 10 - length : 0, ' ') << value
        << (unit.empty() ? "" : " ") << unit << '\n';
}

void writeTable(std::ostream& out, const Request& r, const engine::OperatingPoint& p)
{
    const auto& c = p.coefficients;
    out << r.typeName;
    if (r.typeName != r.type.name)
        out << " (" << r.type.name << ')';
    out << ", " << (isCooling(r) ? "cooling" : "heating") << ", "
        << (r.free ? "free convection" : "fan convector") << '\n';
    writeRow(out, "Length", strFixed(r.lengthMm, 0, 0), "mm");
    writeRow(out, "Height", strFixed(r.heightMm, 0, 0), "mm");
    writeRow(out, "Height factor", strFixed(r.heightFactor, 0, 2));
    if (isDwf(r))
        writeRow(out, "Fan stage", strFixed(r.speedRpm, 0, 0), "rpm");
    else if (isWnf(r) && (r.airFlowGiven || airSideCooling(r)))
        writeRow(out, "Primary air", fixedDigits(r.airFlowM3PerH, 6, 1), "m³/h");
    if (airSideCooling(r))
        writeRow(out, "Primary air inlet", strFixed(r.airInletC, 0, 1), "°C");
    else if (!r.free && !isDwf(r))
        writeRow(out, "Fan speed", fixedDigits(r.speedRpm, 6, 1), "rpm");
    writeRow(out, "Effective length", strFixed(c.effectiveLengthMm, 0, 0), "mm");
    if (!airSideCooling(r)) {
        writeRow(out, "K", fixedDigits(c.characteristic.K, 5, 3), "W/K^n");
        writeRow(out, "n", strFixed(c.characteristic.n, 0, 3));
        if (!r.free)
            writeRow(out, "Sound level", strFixed(c.soundLevelDb, 0, 1), "dB(A)");
    }
    writeRow(out, "Flow temperature", strFixed(r.Tv, 0, 1), "°C");
    writeRow(out, "Room temperature", strFixed(r.Ti, 0, 1), "°C");
    if (!airSideCooling(r)) {
        writeRow(out, "Return temperature", strFixed(p.returnTempC, 0, 1), "°C");
        writeRow(out, "Mass flow", fixedDigits(p.massFlowKgPerH, 7, 1), "kg/h");
    }
    writeRow(out, isCooling(r) ? "Cooling output" : "Heating output", fixedDigits(p.outputW, 7, 1), "W");
    if (!airSideCooling(r))
        writeRow(out, "Pressure drop", fixedDigits(p.pressureDropPa, 7, 0), "Pa");

    if (!isCooling(r)) {
        out << "Admissible window (mass flow 5 to 750 kg/h)\n";
        writeRow(out, "Return temperature",
                 strFixed(p.limits.returnTempStart, 0, 1) + " to " + strFixed(p.limits.returnTempEnd, 0, 1),
                 "°C");
        writeRow(out, "Mass flow",
                 fixedDigits(p.limits.massFlowStart, 7, 1) + " to " + fixedDigits(p.limits.massFlowEnd, 7, 1),
                 "kg/h");
        writeRow(out, "Heating output",
                 fixedDigits(p.limits.outputStart, 7, 1) + " to " + fixedDigits(p.limits.outputEnd, 7, 1),
                 "W");
        if (p.limits.status != 0)
            out << "Warning: no admissible window: one 1 K step of the return temperature crosses the "
                   "whole mass flow range\n";
    }
    if (airSideCooling(r))
        out << "Note: a primary-air unit cools with its primary air; the water side is not rated\n";
    if (p.laminarFlow)
        out << "Warning: laminar flow in the tubes (Reynolds number below 2320): too little water flow\n";
    if (p.highPressureDrop)
        out << "Warning: pressure drop above 100 kPa: hard to balance in the water circuit\n";
    if (p.status != 0)
        out << "Warning: no result at this point (status 1)\n";
}

} // namespace

int runRate(Invocation& call)
{
    OptionParser options;
    for (const char* name : {"--type", "--mode", "--length", "--height", "--speed", "--percent", "--airflow",
                             "--stage", "--tv", "--ti", "--tr", "--massflow", "--output", "--air-in"})
        options.value(name);
    options.flag("--json").flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa rate: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Usage << Help;
        return ExitOk;
    }

    Request request;
    if (auto refusal = resolve(options, call.dataDir, request)) {
        call.err << "tepa rate: " << refusal->message << '\n';
        if (refusal->code == ExitUsage)
            call.err << Usage;
        return refusal->code;
    }
    const engine::OperatingPoint point = rate(request);
    if (options.has("--json"))
        writeJson(call.out, resultJson(request, point));
    else
        writeTable(call.out, request, point);
    return ExitOk;
}

} // namespace tepa::cli
