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

// The shipped installation in data/ against tests/data/installed-range.txt: each type's series
// codes, entry names and lengths; each type index line with the types its pick lists; the sample
// project's bill of convectors. TEPA_WRITE_GOLDEN=1 bin/test_installation writes it anew.

namespace tepa {
namespace {

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

// Both entry names keep every code of the name (or the engine would rate another series) and
// are the same code (or the bill of convectors would order a dual-use unit twice).
std::string describeType(const TypeRecord& type)
{
    SCOPED_TRACE(type.name);
    const std::string name = type.name, heating(utf8Left(name, 10)); // the heating entry's name
    std::string line = "  " + inQuotes(name) + " codes" + codesIn(name) + ", heating " + inQuotes(heating);
    EXPECT_EQ(codesIn(heating), codesIn(name));
    if (coolingSeries(name)) {
        // The cooling entry's name: the code before the first blank of the first 20 characters.
        const std::string_view head = utf8Left(name, 20);
        const std::string cooling(utf8Left(head.substr(0, head.find(' ')), 10));
        EXPECT_EQ(codesIn(cooling), codesIn(name));
        EXPECT_EQ(heating.substr(0, heating.find_last_not_of(' ') + 1), cooling);
        line += ", cooling " + inQuotes(cooling);
    }
    // A single length would skip the height click: every type offers two or more, in order.
    std::vector<double> lengths;
    for (const std::string& field : lengthFields(type.lengthLine))
        lengths.push_back(decimalValue(field));
    EXPECT_GE(lengths.size(), 2u);
    EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
    line += ", lengths";
    for (double L : lengths)
        line += " " + std::to_string(static_cast<int>(L));
    return line + "\n";
}

// A picked index line hands its filter to the free or forced type load, in heating and, for "HW"
// lines, in cooling. Every type can be picked; the cooling list offers exactly those that cool.
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
        // A trailing blank would be part of the filter.
        EXPECT_NE(entry.chosenTypeRow.back(), ' ');
        for (bool heating : {true, false}) {
            if (entry.kind == 'O' || (!heating && !entry.cooling))
                continue; // "not yet available": the pick only shows a message
            const TypeSelection selection{.FreeTypeChosen = entry.kind == 'F',
                                          .ForcedTypeChosen = entry.kind == 'Z',
                                          .ChosenTypeRow = entry.chosenTypeRow,
                                          .HeatingMode = heating};
            TypeTable table;
            const auto loaded = entry.kind == 'Z' ? loadForcedTypes(installationDir(), selection, table)
                                                  : loadFreeTypes(installationDir(), selection, table);
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

    // The shipped sample project holds what the program computes from the shipped data.
    const auto sample = sample::makeSampleProject(installationDir());
    ASSERT_TRUE(sample) << sample.error();
    std::ifstream in(installationDir() / "Beispiel.kon", std::ios::binary);
    const std::string shipped{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(std::ranges::equal(ProjectCodec::encode(*sample), std::as_bytes(std::span(shipped))))
        << "data/Beispiel.kon is out of date: run make-sample data data/Beispiel.kon";
    actual += "Beispiel.kon\n";
    for (const std::string& line : convectorListLines(BuildConvectorList(*sample)))
        actual += "  " + line + "\n";

    const std::filesystem::path goldenFile = TEPA_TEST_DATA_DIR "/installed-range.txt";
    std::ifstream golden(goldenFile, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(golden), {}};
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

} // namespace
} // namespace tepa
