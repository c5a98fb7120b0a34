#include "core/productdata/InstallationCheck.h"
#include "core/productdata/ProductData.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Heights, type loads and the check of whole installations: the calls and damaged installations
// of tests/data/productdata, compared with the "= " lines there (GoldenCalls.h says how they are
// checked and written, here by bin/test_productdata).

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

std::string heightCall(const Lines& w)
{
    const std::string& call = w.at(0);
    if (call == "field")
        return test::numberText(fieldValue(w.at(1), std::stoul(w.at(2)), std::stoul(w.at(3))));
    if (call == "lengths") {
        std::string text;
        for (const std::string& field : lengthFields(w.at(1)))
            text += (text.empty() ? "\"" : " \"") + field + "\"";
        return text;
    }
    if (call == "height")
        return test::numberText(heightOfLine(w.at(1)));
    if (call == "factor") {
        const auto factor = heightFactor(w.at(1), w.at(2), w.size() > 3 ? w[3][0] : '.');
        return factor ? test::numberText(*factor) : "error " + factor.error();
    }
    if (call == "offered") {
        std::vector<std::string> list;
        for (std::size_t i = 0; i < std::stoul(w.at(2)); ++i)
            list.push_back("line " + std::to_string(i));
        const auto offered = offeredHeights(w.at(1), list);
        if (!offered)
            return "error " + offered.error();
        std::string text = offered->lines.size() == list.size() ? "all" : "";
        if (offered->lines.size() == 1)
            text = "\"" + offered->lines[0] + "\"";
        return text + ", preselected " + std::to_string(offered->preselected);
    }
    if (call == "heights") {
        const auto checked = checkedHeights(std::vector<std::string>(w.begin() + 1, w.end()));
        return checked
                   ? (*checked == std::vector<std::string>(w.begin() + 1, w.end()) ? "accepted" : "changed")
                   : "error " + checked.error();
    }
    ADD_FAILURE() << "unknown call " << call;
    return "";
}

// A type file as type-loads.txt's head describes it: each line names its type's position.
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

std::string typeLoadCall(const Lines& w)
{
    const bool forced = w.at(1) == "forced";
    Lines lines;
    TypeSelection selection;
    if (w[0] == "select" || w[0] == "table") {
        if (w.at(2) == "cooling")
            selection.HeatingMode = false;
        else if (w[2] != "-")
            selection.FreeTypeChosen = !forced, selection.ForcedTypeChosen = forced,
            selection.ChosenTypeRow = w[2];
        lines = typeFile(forced, Lines(w.begin() + 3, w.end()));
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
    const auto load =
        forced ? selectForcedTypes(lines, selection, table) : selectFreeTypes(lines, selection, table);
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

TEST(ProductData, AnswersAsTheGoldenFilesSayAndMissingFilesGiveTheOpenError)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/productdata/heights.txt",
                           [](const std::string& line) { return heightCall(test::callWords(line)); });
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/productdata/type-loads.txt",
                           [](const std::string& line) { return typeLoadCall(test::callWords(line)); });

    const std::filesystem::path dir = TEPA_TEST_DATA_DIR "/no-such-folder";
    TypeTable table;
    const auto load = loadForcedTypes(dir, TypeSelection{}, table);
    ASSERT_FALSE(load.ok());
    EXPECT_EQ(load.error(), "Datei " + (dir / ForcedTypeFileName).string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readAllTypes(dir, false).ok());
    EXPECT_EQ(loadHeights(dir).error(), "Datei " + (dir / "bauhoehen.txt").string() + " kann nicht geöffnet werden");
    std::string files; // the installation check reports every file
    for (const Problem& problem : checkInstallation(dir))
        files += problem.file + ":" + std::to_string(problem.line) + " ";
    EXPECT_EQ(files, "tepatext.txt:0 freikon.txt:0 zwangskon.txt:0 bauhoehen.txt:0 konvektoren.txt:0 ");
}

void edit(InstallationFiles& f, const Lines& w)
{
    const std::map<std::string, std::optional<Lines> InstallationFiles::*> files = {
        {"tepatext.txt", &InstallationFiles::texts},         {"freikon.txt", &InstallationFiles::freeTypes},
        {"zwangskon.txt", &InstallationFiles::forcedTypes},  {"bauhoehen.txt", &InstallationFiles::heights},
        {"konvektoren.txt", &InstallationFiles::typeIndex}};
    std::optional<Lines>& lines = f.*files.at(w[1]);
    const auto at = [&](std::size_t k) -> std::string& { return lines->at(std::stoul(w[k]) - 1); };
    if (w[0] == "overwrite") {
        std::string& line = at(2);
        const std::size_t column = std::stoul(w[3]) - 1;
        line.resize(std::max(line.size(), column + w[4].size()), ' ');
        line.replace(column, w[4].size(), w[4]);
    } else if (w[0] == "append") {
        at(2) += w[3];
    } else if (w[0] == "set") {
        at(2) = w[3];
    } else if (w[0] == "cut") {
        at(2).resize(std::stoul(w[3]));
    } else if (w[0] == "nul") {
        at(2).insert(std::stoul(w[3]) - 1, 1, '\0');
    } else if (w[0] == "erase") {
        lines->erase(lines->begin() + std::stol(w[2]) - 1);
    } else if (w[0] == "resize") {
        lines->resize(std::stoul(w[2]), w[3]);
    } else if (w[0] == "lines") {
        lines = Lines(w.begin() + 2, w.end());
    } else if (w[0] == "repeat") {
        const Lines once(lines->begin(), lines->begin() + std::stol(w[2]));
        *lines = once;
        lines->insert(lines->end(), once.begin(), once.end());
    } else if (w[0] == "missing") {
        lines.reset();
    } else {
        ADD_FAILURE() << "unknown edit " << w[0];
    }
}

TEST(ProductDataCheck, ReportsEachFaultAtItsFileAndLine)
{
    const InstallationFiles good = readInstallation(TEPA_TEST_DATA_DIR "/install");
    test::checkGoldenCases(
        TEPA_TEST_DATA_DIR "/productdata/damaged-installations.txt", [&](const Lines& edits) {
            InstallationFiles files = good;
            for (const std::string& line : edits) {
                SCOPED_TRACE(line);
                edit(files, test::callWords(line));
            }
            Lines problems;
            for (const Problem& p : checkInstallationFiles(files))
                problems.push_back(p.file + ":" + std::to_string(p.line) + ": " + p.message);
            return problems;
        });
}

} // namespace
} // namespace tepa
