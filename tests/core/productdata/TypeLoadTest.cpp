#include "core/productdata/ProductData.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

// A type file in the reader's layout: heading, names, then a length line (1000 + j mm), a data
// line (Km = j) and for forced convection a fan line (c1 = j) per type j, the free file's blocks
// after an empty line and "--". Each line names its type's position, so a test can see which
// file type landed in which entry.
Lines typeFile(bool forced, const Lines& names)
{
    Lines lines{forced ? "Zwangskonvektion" : "Freie Konvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    const char* formats[] = {"%zu", "%6zu   1.30   15      2", "%10zu          2          3"};
    for (std::size_t block = 0; block < (forced ? 3 : 2); ++block) {
        if (!forced)
            lines.push_back(block == 0 ? "" : "--");
        for (std::size_t j = 1; j <= names.size(); ++j) {
            char line[40];
            std::snprintf(line, sizeof line, formats[block], block == 0 ? 1000 + j : j);
            lines.push_back(line);
        }
    }
    return lines;
}

Result<TypeLoad> select(bool forced, const Lines& lines, const TypeSelection& selection, TypeTable& table)
{
    return forced ? selectForcedTypes(lines, selection, table) : selectFreeTypes(lines, selection, table);
}

TypeSelection filter(bool forced, const std::string& row)
{
    TypeSelection s;
    s.FreeTypeChosen = !forced;
    s.ForcedTypeChosen = forced;
    s.ChosenTypeRow = row;
    return s;
}

// One call of tests/data/productdata/type-loads.txt (the file's head lists the calls).
std::string result(const Lines& w)
{
    const bool forced = w.at(1) == "forced";
    Lines lines;
    TypeSelection selection;
    if (w[0] == "select" || w[0] == "table") {
        if (w.at(2) == "cooling")
            selection.HeatingMode = false;
        else if (w[2] != "-")
            selection = filter(forced, w[2]);
        const Lines names(w.begin() + 3, w.end());
        lines = typeFile(forced, names);
    } else if (w[0] == "lines") {
        lines.assign(w.begin() + 2, w.end());
    } else if (w[0] == "damage") {
        lines = typeFile(forced, forced ? Lines{"WF1", "WF2"} : Lines{"W1", "W2"});
        std::string& line = lines.at(std::stoul(w.at(2)));
        const std::size_t column = std::stoul(w.at(3)) - 1;
        line.resize(std::max(line.size(), column + w.at(4).size()), ' ');
        line.replace(column, w[4].size(), w[4]);
    } else {
        ADD_FAILURE() << "unknown call " << w[0];
    }
    TypeTable table;
    for (std::size_t k = 1; k <= TypeTable::Size; ++k)
        table.at(k) = {"old", 5};
    const auto load = select(forced, lines, selection, table);
    if (!load) {
        std::string text = "error " + load.error();
        if (table.at(1).Text != "old" || table.at(1).TypeCount != 5)
            text += "; the table changed";
        if (typesFromLines(lines, forced).ok())
            text += "; all types read";
        for (std::size_t j : {1, 2}) {
            const Status checked = checkTypeNumbers(lines, j, forced);
            text += "; type " + std::to_string(j) + ": " +
                    (checked.ok() ? "sound" : checked.error() == load.error() ? "the same" : checked.error());
        }
        return text;
    }
    std::string text = "taken";
    for (const std::string& name : load->names)
        text += " \"" + name + "\"";
    text += " of " + std::to_string(load->matchedCount) + (load->cut ? ", cut" : "");
    // The last block ends exactly at the table's last entry when the table is full.
    const std::size_t last = (forced ? 4 : 3) * load->names.size();
    if (w[0] == "table") {
        text += "; " + std::to_string(table.FileTypeCount) + " in the file; entries:";
        for (std::size_t k = 1; k <= last + 1; ++k)
            text += " \"" + table.at(k).Text + "\" (" + std::to_string(table.at(k).TypeCount) + ")";
    } else if (last > 0)
        text += "; entry " + std::to_string(last) + ": \"" + table.at(last).Text + "\"";
    return text;
}

// The type loads of the calls in tests/data/productdata/type-loads.txt (GoldenCalls.h says how
// the file is checked and written, here by bin/test_productdata).
TEST(TypeLoad, SelectsAndRefusesAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/productdata/type-loads.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
}

TEST(ProductData, MissingFilesGiveTheOpenError)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/no-such-folder";
    TypeTable table;
    const auto load = loadForcedTypes(dir, TypeSelection{}, table);
    ASSERT_FALSE(load.ok());
    EXPECT_EQ(load.error(), "Datei " + (dir / ForcedTypeFileName).string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readAllTypes(dir, false).ok());
    EXPECT_EQ(loadHeights(dir).error(), "Datei " + (dir / "bauhoehen.txt").string() + " kann nicht geöffnet werden");
}

} // namespace
} // namespace tepa
