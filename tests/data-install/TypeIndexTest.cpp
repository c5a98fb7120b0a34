#include "InstallationData.h"

#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

// Each line of konvektoren.txt, picked in the room data panel, must list exactly the types of
// its series in the calculation window. The pick hands the line from column 12 on to the type
// load as the filter, with the free or forced flag by the line's first character.

namespace tepa {
namespace {

using Names = std::vector<std::string>;
using test::installationDir;

const std::vector<std::string>& typeIndex()
{
    static const std::vector<std::string> lines = [] {
        auto read = loadConvectorTypeIndex(installationDir());
        return read ? std::move(read).value() : std::vector<std::string>{};
    }();
    return lines;
}

struct Pick
{
    std::size_t line;
    char kind;
    bool cooling;          // "HW": offered in cooling and for dual use
    std::string shownName; // column 11 and the type code
    Names listed;          // the type list the pick fills, in order
};

// clang-format off
const Pick picks[] = {
    {5,  'F', false, " W",        {"W1", "W2", "W3", "W4"}},
    {6,  'F', false, " WM",       {"WM"}},
    {7,  'F', false, " WX",       {"WX"}},
    {8,  'Z', false, " WF",       {"WF1", "WF2", "WF3"}},
    {9,  'Z', false, " WFs",      {"WFs"}},
    {10, 'Z', true,  " WFW-2L",   {"WFW-2L    Zweileiter"}},
    {11, 'Z', true,  " WFW-4L",   {"WFW-4L    Vierleiter"}},
    {12, 'Z', true,  " WFWL-2L",  {"WFWL-2L   Zweileiter"}},
    {13, 'Z', true,  " WFWL-4L",  {"WFWL-4L   Vierleiter"}},
    {14, 'Z', true,  " WNF",      {"WNF1      Primaerluft", "WNF2      Primaerluft", "WNF3      Primaerluft"}},
    {15, 'Z', true,  " DWF",      {"DWF       Deckengeraet"}},
    {16, 'O', false, " WS",       {}},
};
// clang-format on

// The selection a pick makes (a pick clears both flags, then sets the one of the line's kind).
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

TEST(TypeIndex, EachPickListsExactlyItsSeries)
{
    const auto& lines = typeIndex();
    ASSERT_EQ(lines.size(), FirstTypeIndexLine + std::size(picks));
    std::set<std::string> picked, cooling, shown;
    for (const Pick& pick : picks) {
        SCOPED_TRACE(lines[pick.line]);
        const TypeIndexLine entry = parseTypeIndexLine(lines[pick.line]);
        EXPECT_EQ(entry.kind, pick.kind);
        EXPECT_EQ(entry.cooling, pick.cooling);
        EXPECT_EQ(entry.shownName, pick.shownName);
        // The type list must tell every entry from every other.
        EXPECT_TRUE(shown.insert(entry.shownName).second);
        // The filter runs to the end of the line: a trailing blank would be part of it.
        EXPECT_NE(entry.chosenTypeRow.back(), ' ');
        if (pick.kind == 'O')
            continue; // "not yet available": the pick only shows a message
        // Heating always; the "HW" lines are also in the cooling list and there load in cooling.
        for (bool heating : {true, false}) {
            if (!heating && !pick.cooling)
                continue;
            const auto loaded = load(selectionOf(entry, heating), entry.kind == 'Z');
            ASSERT_TRUE(loaded) << loaded.error();
            EXPECT_EQ(loaded->names, pick.listed) << (heating ? "heating" : "cooling");
            EXPECT_FALSE(loaded->cut);
            picked.insert(loaded->names.begin(), loaded->names.end());
            if (!heating)
                cooling.insert(loaded->names.begin(), loaded->names.end());
        }
    }
    // Every type can be picked, and the cooling list offers exactly the types that can cool.
    for (bool forced : {false, true})
        for (const TypeRecord& type : test::installedTypes(forced)) {
            EXPECT_EQ(picked.count(type.name), 1u) << type.name;
            EXPECT_EQ(cooling.count(type.name), coolingSeries(type.name) ? 1u : 0u) << type.name;
        }
    EXPECT_EQ(cooling.size(), 8u);
}

TEST(TypeIndex, TypeClickFactorByListPositionMatchesTheSeriesFactor)
{
    // A type click takes the height factor from the column of its list position (0 -> W1 ... 3 ->
    // W4); the height click takes it from the series code. Both the "W" pick and an unfiltered
    // load list W1..W4 at positions 0..3, so both give the same factor at every height.
    const std::size_t columnOfPosition[] = {10, 19, 28, 37};
    const TypeIndexLine wPick = parseTypeIndexLine(typeIndex().at(5));
    for (const TypeSelection& selection : {selectionOf(wPick, true), TypeSelection{}}) {
        const auto loaded = load(selection, false);
        ASSERT_TRUE(loaded);
        ASSERT_GE(loaded->names.size(), 4u);
        for (std::size_t position = 0; position < 4; ++position) {
            const std::string& name = loaded->names[position];
            for (const std::string& line : test::installedHeights()) {
                SCOPED_TRACE(name + " at " + line);
                const auto byPosition = localeFloat(utf8Mid(line, columnOfPosition[position], 5));
                const auto byCode = heightFactor(name, line);
                ASSERT_TRUE(byPosition);
                ASSERT_TRUE(byCode);
                EXPECT_EQ(*byPosition, *byCode);
            }
        }
    }
}

} // namespace
} // namespace tepa
