#include "InstallationData.h"

#include "core/productdata/InstallationCheck.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
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

TEST(InstallationFolder, DataFilesAreWindowsTextWithCrLf)
{
    // The program reads the files as Windows-1252 with CR LF line ends, as they are shipped.
    for (const char* name : {FreeTypeFileName, ForcedTypeFileName, HeightFileName, TypeIndexFileName}) {
        SCOPED_TRACE(name);
        std::ifstream in(installationDir() / name, std::ios::binary);
        ASSERT_TRUE(in);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
            }
            if (bytes[i] == '\r') {
                ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
            }
        }
    }
}

TEST(InstallationFolder, HoldsTheWholeProductRange)
{
    auto names = [](bool forced) {
        std::vector<std::string> list;
        for (const TypeRecord& type : installedTypes(forced))
            list.push_back(type.name);
        return list;
    };
    // W1..W4 lead the free file: the type click takes the height factor by list position, and an
    // unfiltered list must put them at positions 0..3 (see TypeIndexTest).
    EXPECT_EQ(names(false), (std::vector<std::string>{"W1", "W2", "W3", "W4", "WM", "WX"}));
    EXPECT_EQ(names(true),
              (std::vector<std::string>{"WF1", "WF2", "WF3", "WFs", "WFW-2L Zweileiter", "WFW-4L Vierleiter",
                                        "WFWL-2L Zweileiter", "WFWL-4L Vierleiter", "WNF1 Primaerluft",
                                        "WNF2 Primaerluft", "WNF3 Primaerluft", "DWF Deckengeraet"}));
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

TEST(TypeNames, CarryExactlyTheCodesOfTheirSeries)
{
    // Containment is part of the naming ("WFWL" is also "WFW" and "WF", "DWF" is also "WF"), but a
    // name must not pick up the code of a series it does not belong to. The entry keeps the name
    // cut to 10 characters in heating and up to its first blank in cooling; both must keep every
    // code, or the engine would rate the entry as another series.
    // clang-format off
    const std::map<std::string, std::set<std::string>> expected = {
        {"W1", {"W1"}}, {"W2", {"W2"}}, {"W3", {"W3"}}, {"W4", {"W4"}}, {"WM", {"WM"}}, {"WX", {"WX"}},
        {"WF1", {"WF", "WF1"}}, {"WF2", {"WF", "WF2"}}, {"WF3", {"WF", "WF3"}}, {"WFs", {"WF", "WFs"}},
        {"WFW-2L Zweileiter",  {"WF", "WFW", "WFW-2L"}},
        {"WFW-4L Vierleiter",  {"WF", "WFW", "WFW-4L"}},
        {"WFWL-2L Zweileiter", {"WF", "WFW", "WFWL", "WFWL-2L"}},
        {"WFWL-4L Vierleiter", {"WF", "WFW", "WFWL", "WFWL-4L"}},
        {"WNF1 Primaerluft", {"WNF", "WNF1"}},
        {"WNF2 Primaerluft", {"WNF", "WNF2"}},
        {"WNF3 Primaerluft", {"WNF", "WNF3"}},
        {"DWF Deckengeraet", {"WF", "DWF"}},
    };
    // clang-format on
    for (bool forced : {false, true}) {
        for (const TypeRecord& type : installedTypes(forced)) {
            SCOPED_TRACE(type.name);
            const auto it = expected.find(type.name);
            ASSERT_NE(it, expected.end()) << "a type without expected codes";
            EXPECT_EQ(codesIn(type.name), it->second);
            EXPECT_EQ(codesIn(test::heatingEntryName(type.name)), it->second);
            if (coolingSeries(type.name)) {
                EXPECT_NE(utf8Left(type.name, 20).find(' '), std::string_view::npos);
                EXPECT_EQ(codesIn(test::coolingEntryName(type.name)), it->second);
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

TEST(ConstructionHeights, RiseWithTheirFactorsFromTheStandardHeight)
{
    const std::vector<std::string>& lines = installedHeights();
    // Line 1 is the standard height: the one offered to every series without a height list and
    // the one preselected for W1..W4.
    ASSERT_GE(lines.size(), 16u);
    const std::size_t columns[] = {10, 19, 28, 37};
    for (std::size_t c = 0; c < 4; ++c) {
        SCOPED_TRACE(columns[c]);
        // Factor 1 at the standard height, so a type rated there gets the same output whether its
        // factor comes from its column or is the 1 of the series without one.
        const auto standard = localeFloat(utf8Mid(lines[1], columns[c], 5));
        ASSERT_TRUE(standard);
        EXPECT_EQ(*standard, 1.0);
        double previous = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto factor = localeFloat(utf8Mid(lines[i], columns[c], 5));
            ASSERT_TRUE(factor) << "line " << i;
            // A deeper casing draws more air through the fins: more output, never less.
            EXPECT_GT(*factor, previous) << "line " << i;
            EXPECT_GE(*factor, 0.5) << "line " << i;
            EXPECT_LE(*factor, 2.5) << "line " << i;
            previous = *factor;
        }
    }
    double previousHeight = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double height = heightOfLine(lines[i]);
        EXPECT_GT(height, previousHeight) << "line " << i;
        previousHeight = height;
    }
    // The fan coils' single heights: the 2-pipe/4-pipe coils and primary-air units (line 8) are
    // lower casings than the low-speed coils (line 15), whose larger coil needs the depth.
    EXPECT_GE(heightOfLine(lines[8]), 200);
    EXPECT_GT(heightOfLine(lines[15]), heightOfLine(lines[8]));
}

} // namespace
} // namespace tepa
