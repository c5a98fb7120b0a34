#include "cli/Command.h"
#include "cli/Json.h"
#include "core/engine/AirSide.h"
#include "core/text/Numbers.h"

#include <string>
#include <utility>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage = "usage: tepa dewpoint --room C --humidity PCT [--json]\n";
constexpr std::string_view Help =
    "\n"
    "Dew point of room air, and the lowest cooling flow temperature that keeps the\n"
    "convector dry: dew point + 0.15 x (room temperature - dew point).\n"
    "\n"
    "  --room C         room air temperature\n"
    "  --humidity PCT   relative humidity, above 0 and at most 100\n"
    "  --json           the result as one JSON object {\"dewPoint\", \"limit\"}\n"
    "  --help           this text\n"
    "\n"
    "Numbers take a point or a comma as decimal separator. Exit code 0 on success, 1 for\n"
    "values without a dew point, 2 on a usage error.\n";

} // namespace

int runDewpoint(Invocation& call)
{
    OptionParser options;
    options.value("--room").value("--humidity").flag("--json").flag("--help");
    if (!options.parse(call.args)) {
        call.err << "tepa dewpoint: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Usage << Help;
        return ExitOk;
    }
    if (!options.positionals().empty() || !options.has("--room") || !options.has("--humidity")) {
        call.err << "tepa dewpoint: give --room and --humidity\n" << Usage;
        return ExitUsage;
    }

    // Strict reading: the whole text one finite number, point or comma as decimal separator.
    double roomTempC = 0, humidityPercent = 0;
    for (auto [name, value] : {std::pair{"--room", &roomTempC}, std::pair{"--humidity", &humidityPercent}}) {
        const std::string text = *options.get(name);
        const auto number = localeFloat(text, ',');
        if (!number) {
            call.err << "tepa dewpoint: " << name << ": '" << text << "' is not a number\n";
            return ExitBadInput;
        }
        *value = *number;
    }
    if (!(humidityPercent > 0 && humidityPercent <= 100)) {
        call.err << "tepa dewpoint: --humidity must be above 0 and at most 100 %\n";
        return ExitBadInput;
    }
    const engine::DewPointResult dew = engine::Taupunkt(roomTempC, humidityPercent);
    if (dew.status != 0) {
        call.err << "tepa dewpoint: no dew point for room air at " << strFixed(roomTempC, 0, 1) << " °C and "
                 << strFixed(humidityPercent, 0, 1) << " %\n";
        return ExitBadInput;
    }
    const double limitC = engine::dewPointFlowLimit(roomTempC, dew.dewPointC);

    if (options.has("--json")) {
        writeJson(call.out, Json{{"dewPoint", dew.dewPointC}, {"limit", limitC}});
    } else {
        call.out << "Room air " << strFixed(roomTempC, 0, 1) << " °C at " << strFixed(humidityPercent, 0, 1)
                 << " % relative humidity\n"
                 << "  Dew point                 " << strFixed(dew.dewPointC, 5, 1) << " °C\n"
                 << "  Lowest cooling flow temp  " << strFixed(limitC, 5, 1) << " °C\n";
    }
    return ExitOk;
}

} // namespace tepa::cli
