#include "InstallationData.h"

#include "core/productdata/InstallationCheck.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace tepa {

void PrintTo(const Problem& problem, std::ostream* out)
{
    *out << problem.file << ':' << problem.line << ": " << problem.message;
}

namespace {

using test::installationDir;
using test::installedHeights;
using test::installedTypes;

TEST(InstallationFolder, PassesTheInstallationCheck)
{
    const std::vector<Problem> problems = checkInstallation(installationDir());
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

// The series codes the engine and the windows test for, each a substring test on the name.
const std::vector<std::string> seriesCodes = {
    "W1",  "W2",   "W3",     "W4",     "WM",      "WX",      "WF",  "WF1",  "WF2",  "WF3",  "WFs",
    "WFW", "WFWL", "WFW-2L", "WFW-4L", "WFWL-2L", "WFWL-4L", "WNF", "WNF1", "WNF2", "WNF3", "DWF",
};

std::set<std::string> codesIn(std::string_view name)
{
    std::set<std::string> found;
    for (const std::string& code : seriesCodes)
        if (name.find(code) != std::string_view::npos)
            found.insert(code);
    return found;
}

TEST(TypeNames, TheWholeRangeInOrderWithExactlyTheCodesOfEachSeries)
{
    // W1..W4 lead the free file: the type click takes the height factor by list position, and an
    // unfiltered list must put them at positions 0..3 (see TypeIndexTest). Containment is part of
    // the naming ("WFWL" is also "WFW" and "WF", "DWF" is also "WF"), but a name must not pick up
    // the code of a series it does not belong to. The entry keeps the name cut to 10 characters
    // in heating and up to its first blank in cooling; both must keep every code, or the engine
    // would rate the entry as another series, and both must be the code padded with blanks, or
    // the bill of convectors would order a unit of both lists twice.
    using Codes = std::set<std::string>;
    // clang-format off
    const std::vector<std::pair<std::string, Codes>> expected[2] = {
        {{"W1", {"W1"}}, {"W2", {"W2"}}, {"W3", {"W3"}}, {"W4", {"W4"}}, {"WM", {"WM"}}, {"WX", {"WX"}}},
        {{"WF1", {"WF", "WF1"}}, {"WF2", {"WF", "WF2"}}, {"WF3", {"WF", "WF3"}}, {"WFs", {"WF", "WFs"}},
         {"WFW-2L    Zweileiter", {"WF", "WFW", "WFW-2L"}}, {"WFW-4L    Vierleiter", {"WF", "WFW", "WFW-4L"}},
         {"WFWL-2L   Zweileiter", {"WF", "WFW", "WFWL", "WFWL-2L"}},
         {"WFWL-4L   Vierleiter", {"WF", "WFW", "WFWL", "WFWL-4L"}},
         {"WNF1      Primaerluft", {"WNF", "WNF1"}}, {"WNF2      Primaerluft", {"WNF", "WNF2"}},
         {"WNF3      Primaerluft", {"WNF", "WNF3"}}, {"DWF       Deckengeraet", {"WF", "DWF"}}},
    };
    // clang-format on
    for (bool forced : {false, true}) {
        const auto& types = installedTypes(forced);
        ASSERT_EQ(types.size(), expected[forced].size());
        for (std::size_t i = 0; i < types.size(); ++i) {
            const auto& [name, codes] = expected[forced][i];
            EXPECT_EQ(types[i].name, name);
            EXPECT_EQ(codesIn(name), codes) << name;
            EXPECT_EQ(codesIn(test::heatingEntryName(name)), codes) << name;
            if (coolingSeries(name)) {
                EXPECT_EQ(codesIn(test::coolingEntryName(name)), codes) << name;
                const std::string heating = test::heatingEntryName(name);
                EXPECT_EQ(heating.substr(0, heating.find_last_not_of(' ') + 1), test::coolingEntryName(name));
            }
        }
    }
}

TEST(TypeLengths, EverySeriesOffersTheLengthsItsLawsKnow)
{
    for (bool forced : {false, true}) {
        for (const TypeRecord& type : installedTypes(forced)) {
            SCOPED_TRACE(type.name);
            const std::vector<double> lengths = test::offeredLengths(type);
            // A type click with a single length takes it at once, without the height click that
            // sets the height factor by series code; with two or more a length click follows.
            EXPECT_GE(lengths.size(), 2u);
            EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
            const std::string_view name = type.name;
            auto has = [name](std::string_view code) { return name.find(code) != std::string_view::npos; };
            if (has("WFW")) {
                // The fan-coil laws scale the 1250 mm unit to 2000 and 2750 mm only.
                EXPECT_EQ(lengths, (std::vector<double>{1250, 2000, 2750}));
            } else if (has("DWF")) {
                EXPECT_EQ(lengths, (std::vector<double>{1100, 1800}));
            } else if (has("WF") && !has("WFs")) {
                // The fan count is tabulated for these finned lengths (casing minus 400 mm).
                const std::set<double> finned = {850, 1150, 1450, 1750, 2050, 2350, 2650, 2950};
                for (double L : lengths)
                    EXPECT_EQ(finned.count(L - 400), 1u) << L;
            } else {
                // Free convectors and the other fan series lose up to 480 mm of casing ends
                // without fins; at least half a metre of finned length must remain.
                for (double L : lengths)
                    EXPECT_GE(L, 480 + 500) << L;
            }
        }
    }
}

} // namespace
} // namespace tepa
