#include "core/productdata/ProductData.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

// Valid lines that name their type's position j: the length 1000 + j mm, the coefficient Km = j,
// the first fan coefficient j.
std::string lengthLine(std::size_t j)
{
    return std::to_string(1000 + j);
}
std::string padded(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}
std::string dataLine(std::size_t j)
{
    return padded(std::to_string(j), 6) + "   1.30   15      2";
}
std::string fanLine(std::size_t j)
{
    return padded(std::to_string(j), 10) + "          2          3";
}
// A free-convection file in the reader's layout: heading, names, separator, length lines,
// separator, data lines. Length and data lines name their type's position so a test can see
// which file type landed in which entry.
Lines freeFile(const Lines& names, const std::string& separator = "")
{
    Lines lines{"Freie Konvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    lines.push_back(separator);
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back(lengthLine(j));
    lines.push_back("--");
    for (std::size_t j = 1; j <= names.size(); ++j)
        lines.push_back(dataLine(j));
    return lines;
}

// A forced-convection file: heading, names, then length, data and fan blocks without separators.
Lines forcedFile(const Lines& names)
{
    Lines lines{"Zwangskonvektion"};
    lines.insert(lines.end(), names.begin(), names.end());
    for (const auto line : {lengthLine, dataLine, fanLine})
        for (std::size_t j = 1; j <= names.size(); ++j)
            lines.push_back(line(j));
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

TEST(TypeLoad, CutsLongLinesToOneHundredCharactersAndSeparatesNamesByAnyLineWithoutW)
{
    // 'ä' is two bytes in UTF-8 and one character in the file.
    std::string name = "W1 ";
    for (int i = 0; i < 117; ++i)
        name += "ä";
    Lines lines = freeFile({name}, "Laengen 1-3");
    lines.back() = std::string(120, '7');
    TypeTable table;
    const auto load = selectFreeTypes(lines, TypeSelection{}, table);
    ASSERT_TRUE(load.ok()) << load.error();
    EXPECT_EQ(load->names, Lines{name.substr(0, 3 + 97 * 2)});
    EXPECT_EQ(table.at(2).Text, lengthLine(1));
    EXPECT_EQ(table.at(3).Text, std::string(100, '7'));
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
        lines = forced ? forcedFile(names) : freeFile(names);
    } else if (w[0] == "lines") {
        lines.assign(w.begin() + 2, w.end());
    } else if (w[0] == "damage") {
        lines = forced ? forcedFile({"WF1", "WF2"}) : freeFile({"W1", "W2"});
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

TEST(TypeLoad, MissingFileGivesTheOpenError)
{
    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/no-such-folder";
    TypeTable table;
    const auto load = loadForcedTypes(dir, TypeSelection{}, table);
    ASSERT_FALSE(load.ok());
    EXPECT_EQ(load.error(), "Datei " + (dir / ForcedTypeFileName).string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readAllTypes(dir, false).ok());
}

} // namespace
} // namespace tepa
