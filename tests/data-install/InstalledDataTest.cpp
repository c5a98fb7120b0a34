#include "SampleProject.h"

#include "core/model/ProjectCodec.h"
#include "core/productdata/InstallationCheck.h"
#include "core/productdata/ProductData.h"
#include "core/reports/ConvectorList.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

// The installation in data/ as the program ships it, compared with tests/data/installed-range.txt:
// each type with the series codes its name carries, the names its entries get and its lengths;
// each line of the type index with the types its pick lists; the sample project's bill of
// convectors. (The CLI transcript rates every type at the points a design uses.) After a change
// to the data or the engine, TEPA_WRITE_GOLDEN=1 bin/test_installation writes the file anew, to be
// reviewed with git diff. The rules every type must meet are checked on the way.

namespace tepa {
namespace {

// The installation folder the program ships with: data/ of the source tree, beside tests/.
std::filesystem::path installationDir()
{
    return std::filesystem::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

std::vector<TypeRecord> installedTypes(bool forced)
{
    auto types = readAllTypes(installationDir(), forced);
    EXPECT_TRUE(types) << types.error();
    return types ? std::move(types).value() : std::vector<TypeRecord>{};
}

// The names the calculation window gives an entry of a picked type: in heating the type line
// cut to the entry's 10 characters, in cooling the code before the first blank of the first 20
// characters.
std::string heatingEntryName(std::string_view typeName)
{
    return std::string(utf8Left(typeName, 10));
}
std::string coolingEntryName(std::string_view typeName)
{
    const std::string_view head = utf8Left(typeName, 20);
    return std::string(utf8Left(head.substr(0, head.find(' ')), 10));
}

std::vector<double> offeredLengths(const TypeRecord& type)
{
    std::vector<double> lengths;
    for (const std::string& field : lengthFields(type.lengthLine))
        lengths.push_back(decimalValue(field));
    return lengths;
}

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
    const std::string name = type.name, heating = heatingEntryName(name);
    std::string line = "  " + inQuotes(name) + " codes" + codesIn(name) + ", heating " + inQuotes(heating);
    EXPECT_EQ(codesIn(heating), codesIn(name));
    if (coolingSeries(name)) {
        const std::string cooling = coolingEntryName(name);
        EXPECT_EQ(codesIn(cooling), codesIn(name));
        EXPECT_EQ(heating.substr(0, heating.find_last_not_of(' ') + 1), cooling);
        line += ", cooling " + inQuotes(cooling);
    }
    // A type click with a single length takes it at once, without the height click that sets
    // the height factor by series code: every type offers two or more, in order.
    const std::vector<double> lengths = offeredLengths(type);
    EXPECT_GE(lengths.size(), 2u);
    EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
    line += ", lengths";
    for (double L : lengths)
        line += " " + std::to_string(static_cast<int>(L));
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
// types that can cool. W1..W4 lead the "W" pick as they lead the free file: a type click takes
// the height factor by list position (0 -> W1 ... 3 -> W4), the height click by series code.
std::string describeTypeIndex()
{
    const auto lines = loadConvectorTypeIndex(installationDir());
    EXPECT_TRUE(lines) << lines.error();
    std::string text = std::string(TypeIndexFileName) + "\n";
    std::set<std::string> picked, cooling;
    for (std::size_t i = FirstTypeIndexLine; lines && i < lines->size(); ++i) {
        SCOPED_TRACE((*lines)[i]);
        const TypeIndexLine entry = parseTypeIndexLine((*lines)[i]);
        text += "  " + std::to_string(i + 1) + " " + entry.kind + (entry.cooling ? "HW " : " ") +
                inQuotes(entry.shownName);
        // A trailing blank would be part of the filter. (Names shown twice and filters picking
        // more than a list holds are the installation check's.)
        EXPECT_NE(entry.chosenTypeRow.back(), ' ');
        for (bool heating : {true, false}) {
            if (entry.kind == 'O' || (!heating && !entry.cooling))
                continue; // "not yet available": the pick only shows a message
            const auto loaded = load(selectionOf(entry, heating), entry.kind == 'Z');
            EXPECT_TRUE(loaded) << loaded.error();
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

    // The sample project shipped with the installation must hold what the program computes from
    // the shipped data: after a change to the data or the engine it is made again with
    // make-sample. Its room heats and cools with the same 2-pipe coil and ceiling unit: the bill
    // of convectors orders them once, with the larger count.
    const auto sample = sample::makeSampleProject(installationDir());
    ASSERT_TRUE(sample) << sample.error();
    std::ifstream in(installationDir() / "Beispiel.kon", std::ios::binary);
    const std::string shipped{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(std::ranges::equal(ProjectCodec::encode(*sample), std::as_bytes(std::span(shipped))))
        << "data/Beispiel.kon is out of date: run make-sample data data/Beispiel.kon";
    actual += "Beispiel.kon\n";
    for (const std::string& line : convectorListLines(BuildConvectorList(*sample)))
        actual += "  " + line + "\n";

    std::ifstream golden(goldenFile, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(golden), {}};
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

} // namespace
} // namespace tepa
