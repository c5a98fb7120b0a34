#include "core/productdata/InstallationCheck.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The problems found in the damaged installations of tests/data/productdata/
// damaged-installations.txt, compared with the "= " lines there. A new case is a "case:" block
// with its edits (GoldenCalls.h says how the file is checked and written, here by
// bin/test_productdata).

namespace tepa {
namespace {

using Lines = std::vector<std::string>;

std::optional<Lines>& file(InstallationFiles& f, const std::string& name)
{
    return name == "tepatext.txt"    ? f.texts
           : name == "freikon.txt"   ? f.freeTypes
           : name == "zwangskon.txt" ? f.forcedTypes
           : name == "bauhoehen.txt" ? f.heights
                                     : f.typeIndex;
}

void edit(InstallationFiles& f, const Lines& w)
{
    std::optional<Lines>& lines = file(f, w[1]);
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

TEST(ProductDataCheck, EmptyFolderReportsEveryFile)
{
    std::string files;
    for (const Problem& problem : checkInstallation(TEPA_TEST_DATA_DIR "/no-such-folder"))
        files += problem.file + ":" + std::to_string(problem.line) + " ";
    EXPECT_EQ(files, "tepatext.txt:0 freikon.txt:0 zwangskon.txt:0 bauhoehen.txt:0 konvektoren.txt:0 ");
}

} // namespace
} // namespace tepa
