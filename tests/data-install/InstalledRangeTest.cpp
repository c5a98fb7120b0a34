#include "InstallationData.h"
#include "SampleProject.h"

#include "core/model/ProjectCodec.h"
#include "core/productdata/InstallationCheck.h"
#include "core/reports/ConvectorList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

// The range the installation in data/ offers, compared with tests/data/installed-range.txt: each
// type with the series codes its name carries, the names its entries get and its lengths; each
// line of the type index with the types its pick lists; the sample project's bill of
// convectors. After a change to the data, TEPA_WRITE_GOLDEN=1 bin/test_installation writes the
// file anew, to be reviewed with git diff. The rules every type must meet are checked here.

namespace tepa {
namespace {

using test::installationDir;
using test::installedTypes;

const std::filesystem::path goldenFile = TEPA_TEST_DATA_DIR "/installed-range.txt";

// The series codes the engine and the windows test for, each a substring test on the name.
const std::vector<std::string> seriesCodes = {
    "W1",  "W2",   "W3",     "W4",     "WM",      "WX",      "WF",  "WF1",  "WF2",  "WF3",  "WFs",
    "WFW", "WFWL", "WFW-2L", "WFW-4L", "WFWL-2L", "WFWL-4L", "WNF", "WNF1", "WNF2", "WNF3", "DWF",
};

std::string codesIn(std::string_view name)
{
    std::string found;
    for (const std::string& code : seriesCodes)
        if (name.find(code) != std::string_view::npos)
            found += " " + code;
    return found;
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// A type's names and lengths. The entry keeps the name cut to 10 characters in heating and up to
// its first blank in cooling; both must keep every code of the name, or the engine would rate
// the entry as another series, and both must be the code padded with blanks, or the bill of
// convectors would order a unit of both lists twice.
std::string describeType(const TypeRecord& type)
{
    SCOPED_TRACE(type.name);
    const std::string name = type.name, heating = test::heatingEntryName(name);
    std::string line = "  " + inQuotes(name) + " codes" + codesIn(name) + ", heating " + inQuotes(heating);
    EXPECT_EQ(codesIn(heating), codesIn(name));
    if (coolingSeries(name)) {
        const std::string cooling = test::coolingEntryName(name);
        EXPECT_EQ(codesIn(cooling), codesIn(name));
        EXPECT_EQ(heating.substr(0, heating.find_last_not_of(' ') + 1), cooling);
        line += ", cooling " + inQuotes(cooling);
    }
    // A type click with a single length takes it at once, without the height click that sets
    // the height factor by series code: every type offers two or more, in order.
    const std::vector<double> lengths = test::offeredLengths(type);
    EXPECT_GE(lengths.size(), 2u);
    EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
    line += ", lengths";
    for (double L : lengths) {
        line += " " + std::to_string(static_cast<int>(L));
        // The fan count of the trench fan convectors is tabulated for these finned lengths
        // (casing minus 400 mm). Free convectors and the other fan series lose up to 480 mm of
        // casing ends without fins and keep at least half a metre of fins. The fan coils and
        // ceiling units have laws of their own for the lengths the file above holds.
        const std::set<double> finned = {850, 1150, 1450, 1750, 2050, 2350, 2650, 2950};
        const std::string codes = codesIn(name);
        if (codes == " WF WF1" || codes == " WF WF2" || codes == " WF WF3") {
            EXPECT_EQ(finned.count(L - 400), 1u) << L;
        } else if (codes.find("WFW") == std::string::npos && codes.find("DWF") == std::string::npos) {
            EXPECT_GE(L, 480 + 500) << L;
        }
    }
    return line + "\n";
}

TypeSelection selectionOf(const TypeIndexLine& entry, bool heatingMode)
{
    TypeSelection s;
    s.FreeTypeChosen = entry.kind == 'F';
    s.ForcedTypeChosen = entry.kind == 'Z';
    s.ChosenTypeRow = entry.chosenTypeRow;
    s.HeatingMode = heatingMode;
    return s;
}

Result<TypeLoad> load(const TypeSelection& selection, bool forced)
{
    TypeTable table;
    return forced ? loadForcedTypes(installationDir(), selection, table)
                  : loadFreeTypes(installationDir(), selection, table);
}

// Each line of the type index, picked in the room data panel, hands the line from column 12 on
// to the type load as the filter, free or forced by its first character, in heating and, for
// the "HW" lines, in cooling. Every type can be picked, and the cooling list offers exactly the
// types that can cool.
std::string describeTypeIndex()
{
    const auto lines = loadConvectorTypeIndex(installationDir());
    EXPECT_TRUE(lines) << lines.error();
    std::string text = std::string(TypeIndexFileName) + "\n";
    std::set<std::string> shown, picked, cooling;
    for (std::size_t i = FirstTypeIndexLine; lines && i < lines->size(); ++i) {
        SCOPED_TRACE((*lines)[i]);
        const TypeIndexLine entry = parseTypeIndexLine((*lines)[i]);
        text += "  " + std::to_string(i + 1) + " " + entry.kind + (entry.cooling ? "HW " : " ") +
                inQuotes(entry.shownName);
        // The type list must tell every entry from every other; a trailing blank would be part
        // of the filter.
        EXPECT_TRUE(shown.insert(entry.shownName).second);
        EXPECT_NE(entry.chosenTypeRow.back(), ' ');
        for (bool heating : {true, false}) {
            if (entry.kind == 'O' || (!heating && !entry.cooling))
                continue; // "not yet available": the pick only shows a message
            const auto loaded = load(selectionOf(entry, heating), entry.kind == 'Z');
            EXPECT_TRUE(loaded) << loaded.error();
            EXPECT_FALSE(loaded->cut);
            text += heating ? " heating:" : " cooling:";
            for (const std::string& name : loaded->names) {
                text += " " + inQuotes(name);
                picked.insert(name);
                if (!heating)
                    cooling.insert(name);
            }
        }
        text += "\n";
    }
    for (bool forced : {false, true})
        for (const TypeRecord& type : installedTypes(forced)) {
            EXPECT_EQ(picked.count(type.name), 1u) << type.name;
            EXPECT_EQ(cooling.count(type.name), coolingSeries(type.name) ? 1u : 0u) << type.name;
        }
    return text;
}

TEST(InstalledRange, IsWhatTheGoldenFileHolds)
{
    for (const Problem& p : checkInstallation(installationDir()))
        ADD_FAILURE() << p.file << ':' << p.line << ": " << p.message;
    std::string actual;
    for (bool forced : {false, true}) {
        actual += std::string(forced ? ForcedTypeFileName : FreeTypeFileName) + "\n";
        for (const TypeRecord& type : installedTypes(forced))
            actual += describeType(type);
    }
    actual += describeTypeIndex();

    // The sample room heats and cools with the same 2-pipe coil and ceiling unit: the bill of
    // convectors orders them once, with the larger count.
    const auto sample = sample::makeSampleProject(installationDir());
    ASSERT_TRUE(sample) << sample.error();
    actual += "Beispiel.kon\n";
    for (const std::string& line : convectorListLines(BuildConvectorList(*sample)))
        actual += "  " + line + "\n";

    std::ifstream in(goldenFile, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(in), {}};
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

// The sample project shipped with the installation must hold what the program computes from the
// shipped data: after a change to the data or the engine it is made again with make-sample.
TEST(InstalledRange, SampleProjectIsWhatMakeSampleCalculates)
{
    std::ifstream in(installationDir() / "Beispiel.kon", std::ios::binary);
    const std::string shipped{std::istreambuf_iterator<char>(in), {}};
    const auto made = sample::makeSampleProject(installationDir());
    ASSERT_TRUE(made) << made.error();
    const std::vector<std::byte> bytes = ProjectCodec::encode(*made);
    EXPECT_TRUE(std::ranges::equal(bytes, std::as_bytes(std::span(shipped))))
        << "data/Beispiel.kon is out of date: run make-sample data data/Beispiel.kon";
}

// A type click takes the height factor from the column of its list position (0 -> W1 ... 3 ->
// W4); the height click takes it from the series code. Both the "W" pick and an unfiltered load
// list W1..W4 at positions 0..3, so both give the same factor at every height.
TEST(InstalledRange, TypeClickFactorByListPositionMatchesTheSeriesFactor)
{
    const std::size_t columnOfPosition[] = {10, 19, 28, 37};
    const TypeSelection wPick = selectionOf(parseTypeIndexLine("F          W"), true);
    for (const TypeSelection& selection : {wPick, TypeSelection{}}) {
        const auto loaded = load(selection, false);
        ASSERT_TRUE(loaded);
        ASSERT_GE(loaded->names.size(), 4u);
        for (std::size_t position = 0; position < 4; ++position) {
            const std::string& name = loaded->names[position];
            for (const std::string& line : test::installedHeights()) {
                SCOPED_TRACE(name + " at " + line);
                const auto byPosition = localeFloat(utf8Mid(line, columnOfPosition[position], 5));
                const auto byCode = heightFactor(name, line);
                ASSERT_TRUE(byPosition && byCode);
                EXPECT_EQ(*byPosition, *byCode);
            }
        }
    }
}

} // namespace
} // namespace tepa
