// `tepa rate` and the calculation window rate an entry alike: a convector designed in the window
// and the same convector rated by the command show the same output, mass flow, pressure drop and
// sound level.
#include "CalcWindowFixture.h"

#include "cli/Cli.h"
#include "core/series/Series.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::test {
namespace {

using RateMatchesWindow = CalcWindowFixture;

std::string number(double x)
{
    std::ostringstream out;
    out.precision(17);
    out << x;
    return out.str();
}

TEST_F(RateMatchesWindow, ForTheSameEntry)
{
    struct Case
    {
        const char* menu;
        const char* type;
        int lengthRow;
        int heightRow; // -1: the height the window preselects
        int speed = 0; // the fan bar moved there, rpm
        bool stage1000 = false;
    };
    // Free convectors at two height factors, a fan, a slow fan and a staged unit.
    const Case cases[] = {
        {"FreieKonvektion1", "W1", 0, -1},           {"FreieKonvektion1", "W3", 2, 3},
        {"FreieZwangsKonv1", "WF2", 1, -1, 1100},    {"FreieZwangsKonv1", "WFW-2L", 0, -1, 1450},
        {"FreieZwangsKonv1", "WFWL-2L", 1, -1, 690}, {"FreieZwangsKonv1", "DWF", 0, -1, 0, true},
    };
    create().show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        session.Project.HeatingEntryCount = 1;
        session.HeatingEntryIndex = 1;
        doStep({"choose", c.type, "length", "row", std::to_string(c.lengthRow), "from", c.menu, "height", "row",
                c.heightRow < 0 ? "" : std::to_string(c.heightRow)});
        if (c.speed)
            control<QScrollBar>("DrehzahlBar4")->setValue(c.speed);
        if (c.stage1000)
            control<QRadioButton>("RadioButton3")->click();
        const HeatingEntry& e = heating(1);
        ASSERT_TRUE(e.InUse);

        std::vector<std::string> args = {"rate",   "--data", FixtureInstallDir.string(),
                                         "--type", c.type,   "--json"};
        const std::pair<const char*, double> values[] = {
            {"--length", e.Length}, {"--height", e.Height}, {"--tv", 75},
            {"--ti", 20},           {"--tr", e.ReturnTemp},
        };
        for (const auto& [option, value] : values)
            args.insert(args.end(), {option, number(value)});
        if (!e.FreeConvection) {
            args.insert(args.end(), {series::isStaged(c.type) ? "--stage" : "--speed",
                                     series::isStaged(c.type) ? std::to_string(std::lround(e.FanSpeed))
                                                              : number(e.FanSpeed)});
        }
        std::ostringstream out, err;
        ASSERT_EQ(cli::run(args, out, err, cli::Context{FixtureInstallDir}), 0) << err.str();
        const nlohmann::json rated = nlohmann::json::parse(out.str());
        EXPECT_DOUBLE_EQ(rated["heightFactor"].get<double>(), e.HeightFactor);
        EXPECT_NEAR(rated["output"].get<double>(), e.Output, 1e-9 * e.Output);
        EXPECT_NEAR(rated["massFlow"].get<double>(), e.MassFlow, 1e-9 * e.MassFlow);
        EXPECT_NEAR(rated["pressureDrop"].get<double>(), e.PressureDrop, 1e-9 * e.PressureDrop + 1e-9);
        EXPECT_NEAR(rated["soundLevel"].get<double>(), e.SoundLevel, 1e-9);
    }
}

} // namespace
} // namespace tepa::test
