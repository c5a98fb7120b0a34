#include "cli/Command.h"
#include "cli/Json.h"
#include "core/engine/AirSide.h"
#include "core/engine/FanSetting.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/Rating.h"
#include "core/productdata/ProductData.h"
#include "core/series/Series.h"
#include "core/sizing/Sizing.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <variant>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::cli {
namespace {

using engine::DwfStage;
using engine::Given;
using engine::Mode;

constexpr std::string_view Usage =
    "usage: tepa rate --type NAME [--mode heating|cooling] [--length MM] [--height MM]\n"
    "                 [--speed RPM | --percent P | --airflow M3H | --stage 0|700|1000|1400]\n"
    "                 --tv C --ti C (--tr C | --massflow KGH | --output W) [--air-in C] [--json]\n"
    "       tepa rate --batch FILE|- [--json]\n";

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
    "  --batch FILE     rates one operating point per line of FILE (\"-\": standard input): a\n"
    "                   CSV file whose first line names the options above as its columns\n"
    "                   (\"type,tv,ti,tr\", comma or semicolon separated; an empty cell leaves\n"
    "                   the option out). Writes one CSV line per point (with --json one JSON\n"
    "                   object per line) with its line number; a point that cannot be rated\n"
    "                   gets its reason, naming line and column, in the error column.\n"
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
    std::string option = {}; // the option whose value is refused, when it is one
};

// The product data a rating reads, loaded once per command: a batch rates many points from it.
struct Catalog
{
    explicit Catalog(std::filesystem::path folder)
        : dir(std::move(folder))
    {
    }
    std::filesystem::path dir;
    std::optional<Refusal> typesError[2]; // free, forced
    bool typesLoaded[2] = {false, false};
    std::vector<std::string> lines[2];
    std::vector<TypeRecord> types[2];
    std::optional<Refusal> heightsError;
    bool heightsLoaded = false;
    std::vector<std::string> heights;
    // The machine's decimal separator, as the height list's factors are read with it; asked
    // once, as asking reads the locale's files.
    char decimalSeparator = localeDecimalSeparator();
};

std::optional<Refusal> loadTypes(Catalog& catalog, bool forced)
{
    if (catalog.typesLoaded[forced])
        return catalog.typesError[forced];
    catalog.typesLoaded[forced] = true;
    auto lines = readTextLines(catalog.dir / (forced ? ForcedTypeFileName : FreeTypeFileName));
    if (!lines)
        return catalog.typesError[forced] = Refusal{ExitBadInput, lines.error()};
    auto types = typesFromLines(*lines, forced);
    if (!types)
        return catalog.typesError[forced] = Refusal{ExitBadInput, types.error()};
    catalog.lines[forced] = std::move(*lines);
    catalog.types[forced] = std::move(*types);
    return std::nullopt;
}

std::optional<Refusal> loadHeightList(Catalog& catalog)
{
    if (catalog.heightsLoaded)
        return catalog.heightsError;
    catalog.heightsLoaded = true;
    auto heights = loadHeights(catalog.dir);
    if (!heights)
        return catalog.heightsError = Refusal{ExitBadInput, heights.error()};
    catalog.heights = std::move(*heights);
    return std::nullopt;
}

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
    return series::isPrimaryAir(r.typeName);
}
bool isDwf(const Request& r)
{
    return series::isStaged(r.typeName);
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
        return Refusal{ExitBadInput, name + ": '" + *text + "' is not a number", name};
    value = *number;
    return std::nullopt;
}

std::string_view textBeforeBlank(std::string_view text)
{
    return text.substr(0, text.find(' '));
}

// Finds the type among all types of both type files, free-convection types first.
std::optional<Refusal> findType(Catalog& catalog, const std::string& name, Request& r)
{
    std::vector<std::string> known;
    for (bool forced : {false, true}) {
        if (auto refusal = loadTypes(catalog, forced))
            return refusal;
        const auto& lines = catalog.lines[forced];
        const auto& types = catalog.types[forced];
        for (std::size_t k = 0; k < types.size(); ++k) {
            const TypeRecord& type = types[k];
            if (type.name == name || textBeforeBlank(type.name) == name) {
                // Damaged numbers would rate as 0 W; the type is refused with its file and line.
                if (Status valid = checkTypeNumbers(lines, k + 1, forced); !valid)
                    return Refusal{ExitBadInput, valid.error()};
                r.type = type;
                r.free = !forced;
                r.typeName = sizing::entryTypeName(type.name, r.mode);
                return std::nullopt;
            }
            known.emplace_back(textBeforeBlank(type.name));
        }
    }
    return Refusal{ExitBadInput, "unknown type '" + name + "'; known types: " + joined(known), "--type"};
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
    return Refusal{ExitBadInput,
                   "length " + plainNumber(wanted) + " mm is not offered for " + r.type.name +
                       "; offered lengths (mm): " + joined(texts),
                   "--length"};
}

// The construction height as the calculation window offers and preselects it, and its factor on
// the free-convection output (heating only; cooling rates every height with factor 1).
std::optional<Refusal> chooseHeight(const OptionParser& options, Catalog& catalog, Request& r)
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
                                             r.type.name + "; offered heights (mm): 500",
                           "--height"};
        r.heightMm = dwfHeightMm;
        r.heightFactor = 1;
        return std::nullopt;
    }

    if (auto refusal = loadHeightList(catalog))
        return refusal;
    const auto offered = offeredHeights(r.type.name, catalog.heights);
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
            return Refusal{ExitBadInput,
                           "height " + plainNumber(*wanted) + " mm is not offered for " + r.type.name +
                               "; offered heights (mm): " + joined(texts),
                           "--height"};
        }
    }
    r.heightMm = heightOfLine(*line);
    r.heightFactor = 1;
    if (!isCooling(r)) {
        const auto factor = heightFactor(r.typeName, *line, catalog.decimalSeparator);
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
        return Refusal{ExitBadInput, "--mode must be heating or cooling, not '" + mode + "'", "--mode"};
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

std::optional<Refusal> resolve(const OptionParser& options, Catalog& catalog, Request& r)
{
    if (auto refusal = readOperatingPoint(options, r))
        return refusal;
    if (auto refusal = findType(catalog, *options.get("--type"), r))
        return refusal;
    if (isCooling(r) && !engine::Kuehltyp(r.type.name))
        return Refusal{ExitBadInput, r.type.name + " does not cool; the series WFW, WNF and DWF do", "--mode"};
    if (options.has("--air-in") && !airSideCooling(r))
        return Refusal{ExitBadInput, "--air-in is the primary air temperature of a WNF unit in cooling"};
    if (auto refusal = chooseFan(options, r))
        return refusal;
    if (auto refusal = chooseLength(options, r))
        return refusal;
    return chooseHeight(options, catalog, r);
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

// ---- Batch rating: one operating point per line of a CSV file, one result per line. ----

// The options a batch column may name, without their dashes.
constexpr const char* PointOptions[] = {"type", "mode",     "length", "height", "speed",
                                        "percent", "airflow", "stage", "tv",     "ti",
                                        "tr",   "massflow", "output", "air-in"};

// The cells of one line. Separator `separator`; a cell in double quotes may hold the separator
// and doubled quotes. Blanks around a cell are dropped. An unclosed quote gives the column where
// it opened as a negative number.
std::variant<std::vector<std::string>, int> csvCells(std::string_view line, char separator)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    int quoteColumn = 0;
    bool cellQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"' && !cellQuoted && cells.back().find_first_not_of(" \t") == std::string::npos) {
            quoted = cellQuoted = true;
            quoteColumn = static_cast<int>(cells.size());
            cells.back().clear(); // blanks before the quote
        } else if (c == separator) {
            cells.emplace_back();
            cellQuoted = false;
        } else if (!cellQuoted) {
            cells.back() += c;
        }
    }
    if (quoted)
        return -quoteColumn;
    for (std::string& cell : cells) {
        const auto first = cell.find_first_not_of(" \t");
        cell = first == std::string::npos ? std::string() : cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
    }
    return cells;
}

std::string csvCell(const std::string& text, char separator)
{
    if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// The columns of a result line, as the JSON result names them (the limits' status as
// "limitsStatus"); every line has them all, empty where a result has none.
constexpr const char* ResultColumns[] = {
    "type",          "mode",          "free",        "length",      "height",       "heightFactor",
    "speed",         "K",             "n",           "soundLevel",  "effectiveLength", "flowTemp",
    "roomTemp",      "returnTemp",    "massFlow",    "output",      "pressureDrop", "status",
    "laminarFlow",   "pressureDropHigh", "returnTempMin", "returnTempMax", "massFlowMin", "massFlowMax",
    "outputMin",     "outputMax",     "limitsStatus"};

std::string csvValue(const Json& value, char separator)
{
    if (value.is_number_float())
        return std::isfinite(value.get<double>()) ? plainNumber(value.get<double>()) : std::string();
    if (value.is_string())
        return csvCell(value.get<std::string>(), separator);
    return value.dump();
}

class BatchRating
{
public:
    BatchRating(Invocation& call, OptionParser& options, bool json)
        : m_call(call), m_options(options), m_json(json), m_catalog(call.dataDir)
    {
    }

    // Checks the header; on a fault says why (naming line 1 and the column) and returns false.
    bool readHeader(std::string_view line)
    {
        m_separator = line.find(';') != std::string_view::npos && line.find(',') == std::string_view::npos ? ';' : ',';
        auto cells = csvCells(line, m_separator);
        if (auto* column = std::get_if<int>(&cells))
            return refuseHeader(-*column, "the quotation mark is not closed");
        m_columns = std::get<std::vector<std::string>>(cells);
        for (std::size_t k = 0; k < m_columns.size(); ++k) {
            std::string& name = m_columns[k];
            if (name.starts_with("--"))
                name.erase(0, 2);
            bool known = false;
            for (const char* option : PointOptions)
                known = known || name == option;
            if (!known) {
                std::string names;
                for (const char* option : PointOptions)
                    names += (names.empty() ? "" : ", ") + std::string(option);
                return refuseHeader(k + 1, "'" + name + "' is not an option of rate; columns: " + names);
            }
            for (std::size_t j = 0; j < k; ++j)
                if (m_columns[j] == name)
                    return refuseHeader(k + 1, "'" + name + "' is named twice");
        }
        if (!m_json) {
            m_call.out << "line";
            for (const char* column : ResultColumns)
                m_call.out << m_separator << column;
            m_call.out << m_separator << "error\n";
        }
        return true;
    }

    // Rates the point of one line and writes its result or its error.
    void rateLine(std::size_t number, std::string_view line)
    {
        auto cells = csvCells(line, m_separator);
        if (auto* column = std::get_if<int>(&cells))
            return writeError(number, -*column, "the quotation mark is not closed");
        const auto& values = std::get<std::vector<std::string>>(cells);
        if (values.size() != m_columns.size())
            return writeError(number, 0, std::to_string(values.size()) + " fields where the header names " +
                                             std::to_string(m_columns.size()));
        m_options.clearValues();
        for (std::size_t k = 0; k < values.size(); ++k)
            if (!values[k].empty())
                m_options.set("--" + m_columns[k], values[k]);
        Request request;
        if (auto refusal = resolve(m_options, m_catalog, request))
            return writeError(number, columnOf(*refusal), refusal->message);
        writeResult(number, resultJson(request, rate(request)));
    }

private:
    bool refuseHeader(std::size_t column, const std::string& message)
    {
        m_call.err << "tepa rate: line 1, column " << column << ": " << message << '\n';
        return false;
    }

    // The column of the option a refusal concerns: the one it names, else the first one its
    // message names.
    int columnOf(const Refusal& refusal) const
    {
        for (std::size_t k = 0; k < m_columns.size(); ++k)
            if ("--" + m_columns[k] == refusal.option)
                return static_cast<int>(k + 1);
        std::size_t best = std::string::npos;
        int column = 0;
        for (std::size_t k = 0; k < m_columns.size(); ++k) {
            const auto at = refusal.message.find("--" + m_columns[k]);
            if (at < best) {
                best = at;
                column = static_cast<int>(k + 1);
            }
        }
        return column;
    }

    void writeError(std::size_t number, int column, const std::string& message)
    {
        const std::string where =
            "line " + std::to_string(number) + (column > 0 ? ", column " + std::to_string(column) : "");
        if (m_json) {
            m_call.out << jsonLine(Json{{"line", number}, {"error", where + ": " + message}}) << '\n';
            return;
        }
        m_call.out << number << std::string(std::size(ResultColumns), m_separator) << m_separator
                   << csvCell(where + ": " + message, m_separator) << '\n';
    }

    void writeResult(std::size_t number, Json result)
    {
        if (m_json) {
            Json line{{"line", number}};
            line.update(result);
            m_call.out << jsonLine(line) << '\n';
            return;
        }
        m_call.out << number;
        for (const char* column : ResultColumns) {
            m_call.out << m_separator;
            const std::string name = column;
            if (name == "limitsStatus") {
                if (result.contains("limits"))
                    m_call.out << csvValue(result["limits"]["status"], m_separator);
            } else if (result.contains(name)) {
                m_call.out << csvValue(result[name], m_separator);
            } else if (result.contains("limits") && result["limits"].contains(name)) {
                m_call.out << csvValue(result["limits"][name], m_separator);
            }
        }
        m_call.out << m_separator << '\n';
    }

    Invocation& m_call;
    OptionParser& m_options;
    bool m_json;
    Catalog m_catalog;
    char m_separator = ',';
    std::vector<std::string> m_columns;
};

int runBatch(Invocation& call, OptionParser& options, const std::string& source)
{
    std::string text;
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        // A folder opens like a file here and fails only on reading, with an exception.
        std::error_code ec;
        bool readable = !std::filesystem::is_directory(source, ec);
        std::ifstream in;
        if (readable) {
            in.open(source, std::ios::binary);
            try {
                if (in)
                    text.assign(std::istreambuf_iterator<char>(in), {});
            } catch (const std::ios_base::failure&) {
                readable = false;
            }
        }
        if (!readable || (!in && !in.eof())) {
            call.err << "tepa rate: --batch " << source << ": the file cannot be read\n";
            return ExitBadInput;
        }
    }
    BatchRating batch(call, options, options.has("--json"));
    std::size_t number = 0;
    std::size_t begin = 0;
    bool header = true;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + begin, end - begin);
        begin = end + 1;
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos && !header)
            continue; // blank lines are passed over (and counted)
        if (header) {
            if (!batch.readHeader(line))
                return ExitBadInput;
            header = false;
            continue;
        }
        batch.rateLine(number, line);
    }
    if (header) {
        call.err << "tepa rate: --batch " << source << ": no header line naming the columns\n";
        return ExitBadInput;
    }
    return ExitOk;
}

} // namespace

int runRate(Invocation& call)
{
    OptionParser options;
    for (const char* name : {"--type", "--mode", "--length", "--height", "--speed", "--percent", "--airflow",
                             "--stage", "--tv", "--ti", "--tr", "--massflow", "--output", "--air-in"})
        options.value(name);
    options.value("--batch").flag("--json").flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa rate: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Usage << Help;
        return ExitOk;
    }
    if (const auto batch = options.get("--batch")) {
        for (const char* option : PointOptions)
            if (options.has("--" + std::string(option))) {
                call.err << "tepa rate: --batch takes the operating points from its file; --" << option
                         << " is a column there\n"
                         << Usage;
                return ExitUsage;
            }
        if (!options.positionals().empty()) {
            call.err << "tepa rate: unexpected argument '" << options.positionals().front() << "'\n" << Usage;
            return ExitUsage;
        }
        return runBatch(call, options, *batch);
    }

    Request request;
    Catalog catalog(call.dataDir);
    if (auto refusal = resolve(options, catalog, request)) {
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
