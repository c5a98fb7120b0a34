#include "core/productdata/InstallationCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tepa {

void PrintTo(const Problem& problem, std::ostream* out)
{
    *out << problem.file << ':' << problem.line << ": " << problem.message;
}

namespace {

using Lines = std::vector<std::string>;

const InstallationFiles& goodInstallation()
{
    static const InstallationFiles files = readInstallation(TEPA_TEST_DATA_DIR "/install");
    return files;
}

// Writes `text` over the line from 1-based `column`, extending the line with blanks if needed.
void overwrite(std::string& line, std::size_t column, const std::string& text)
{
    if (line.size() < column - 1 + text.size())
        line.resize(column - 1 + text.size(), ' ');
    line.replace(column - 1, text.size(), text);
}

struct Expected
{
    const char* file;
    std::size_t line;
    const char* fragment;
};

// Fixture lines (0-based) used below. freikon.txt: names 1-6 (W1 .. WX), lengths 8-13, data
// 15-20. zwangskon.txt: names 1-12 (WF1, WF2, WF3, WFs, WFW-2L, WFW-4L, WFWL-2L, WFWL-4L,
// WNF1-3, DWF), lengths 13-24, data 25-36, fan 37-48. bauhoehen.txt: 18 lines, line 6 is 180 mm.
// konvektoren.txt: types from line 5 ("F ... W", WM, WX, "Z ... WF", WFs, WFW-2L, WFW-4L,
// WFWL-2L, WFWL-4L, WNF, DWF, one "O").
struct Case
{
    const char* what;
    std::function<void(InstallationFiles&)> change;
    std::vector<Expected> expected;
};

const std::vector<Case>& cases()
{
    static const std::vector<Case> all = {
        {"the good installation", [](InstallationFiles&) {}, {}},
        {"left-aligned Km",
         [](InstallationFiles& f) { overwrite((*f.freeTypes)[15], 1, "4.50  "); },
         {{"freikon.txt", 16,
           "data line of \"W1\": Km (columns 1-6) is not a right-aligned number: \"4.50  \""}}},
        {"data line beyond 80 characters",
         [](InstallationFiles& f) { (*f.freeTypes)[20] += "   Ausfuehrung Edelstahl"; },
         {{"freikon.txt", 21, "data line of \"WX\" has 95 characters; a project entry keeps 80"}}},
        {"length in the last column is not read",
         [](InstallationFiles& f) { (*f.freeTypes)[12] = "0800 1000 1"; },
         {{"freikon.txt", 13, "\"1\" at column 11 is not read"}}},
        {"no free types",
         [](InstallationFiles& f) {
             *f.freeTypes = {"Freie Konvektion", "", "x"};
         },
         {{"freikon.txt", 2, "no type names"},
          {"konvektoren.txt", 6, "filter \"W\" (from column 12) selects no type of freikon.txt"},
          {"konvektoren.txt", 7, "selects no type of freikon.txt"},
          {"konvektoren.txt", 8, "selects no type of freikon.txt"}}},
        {"fan field empty",
         [](InstallationFiles& f) { overwrite((*f.forcedTypes)[48], 23, "          "); },
         {{"zwangskon.txt", 49, "fan line of \"DWF Deckengeraet\": nF (columns 23-32) is empty"}}},
        {"cooling type without cooling tube",
         [](InstallationFiles& f) { overwrite((*f.forcedTypes)[29], 57, "    "); },
         {{"zwangskon.txt", 30,
           "data line of \"WFW-2L Zweileiter\": cooling tube diameter (columns 57-60) is empty"}}},
        {"cooling type name without blank",
         [](InstallationFiles& f) {
             (*f.forcedTypes)[6] = "WFW-4L_Vierleiter";
             (*f.typeIndex)[11] = "ZHW        WFW-4L_Vierleiter";
         },
         {{"zwangskon.txt", 7,
           "type \"WFW-4L_Vierleiter\" can cool but has no blank in its first 20 characters"}}},
        {"cooling type code past column 10",
         [](InstallationFiles& f) {
             (*f.forcedTypes)[6] = "WFW-4L-Lang Vierleiter";
             (*f.typeIndex)[11] = "ZHW        WFW-4L-Lang Vierleiter";
         },
         {{"zwangskon.txt", 7,
           "type \"WFW-4L-Lang Vierleiter\": its code (up to the first blank) must fill at most "
           "columns 1-10"}}},
        {"two index lines showing one name",
         [](InstallationFiles& f) { (*f.typeIndex)[13] = "ZHW        WFWL-2L Vierleiter"; },
         {{"konvektoren.txt", 14, "the type list shows \"WFWL-2L\" (columns 11-21) already for line 13"},
          {"konvektoren.txt", 14, "filter \"WFWL-2L Vierleiter\" (from column 12) selects no type"}}},
        {"height factor with comma",
         [](InstallationFiles& f) { overwrite((*f.heights)[6], 19, "1,00"); },
         {{"bauhoehen.txt", 7, "factor of \"W2\" (columns 19-23) is not a number: \"1,00 \""}}},
        {"texts cut short",
         [](InstallationFiles& f) { f.texts->resize(200); },
         {{"tepatext.txt", 200, "the file has 200 lines; the program uses texts 0 to 289 (lines 1 to 290)"}}},
        {"empty text after the used lines", [](InstallationFiles& f) { f.texts->push_back(""); }, {}},
        {"a text missing shifts the numbers",
         [](InstallationFiles& f) {
             // A line more at the end keeps the file long enough: only the shift is at fault.
             f.texts->erase(f.texts->begin() + 100);
             f.texts->push_back("290");
         },
         {{"tepatext.txt", 101, "text 100 has the number \"101\""}}},
        {"a text cut to 2 characters",
         [](InstallationFiles& f) { (*f.texts)[40].resize(2); },
         {{"tepatext.txt", 41, "text 40 is shorter than its 3-character prefix"}}},
        {"a NUL byte in a text",
         [](InstallationFiles& f) { (*f.texts)[100].insert(5, 1, '\0'); },
         {{"tepatext.txt", 101, "a NUL byte at column 6"}}},
        {"a file repeated after its end",
         [](InstallationFiles& f) {
             const Lines once(f.freeTypes->begin(), f.freeTypes->begin() + 21);
             *f.freeTypes = once;
             f.freeTypes->insert(f.freeTypes->end(), once.begin(), once.end());
         },
         {{"freikon.txt", 22, "repeats the first line of the file"}}},
        {"a coefficient beyond the range of numbers",
         [](InstallationFiles& f) { overwrite((*f.freeTypes)[16], 1, " 1e999"); },
         {{"freikon.txt", 17, "Km (columns 1-6) is not a right-aligned number: \" 1e999\""}}},
        {"unknown kind",
         [](InstallationFiles& f) { (*f.typeIndex)[5][0] = 'X'; },
         {{"konvektoren.txt", 6, "expected the kind \"O\", \"F\" or \"Z\" at column 1, found \"X\""}}},
        {"filter naming no type",
         [](InstallationFiles& f) { (*f.typeIndex)[9] = "Z          WFS"; },
         {{"konvektoren.txt", 10, "filter \"WFS\" (from column 12) selects no type of zwangskon.txt"}}},
        {"heating-only series offered for cooling",
         [](InstallationFiles& f) { (*f.typeIndex)[8] = "ZHW        WF"; },
         {{"konvektoren.txt", 9,
           "marked \"HW\" for cooling, but filter \"WF\" (from column 12) selects \"WF1\""}}},
        {"index beyond line 100",
         [](InstallationFiles& f) { f.typeIndex->resize(102, "O          WZ"); },
         {{"konvektoren.txt", 101, "the type list can pick lines up to line 100 only"}}},
        {"missing type file",
         [](InstallationFiles& f) { f.forcedTypes.reset(); },
         {{"zwangskon.txt", 0, "missing or unreadable"}}},
    };
    return all;
}

TEST(ProductDataCheck, ReportsEachFaultAtItsFileAndLine)
{
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.what);
        InstallationFiles files = goodInstallation();
        c.change(files);
        const auto problems = checkInstallationFiles(files);
        ASSERT_EQ(problems.size(), c.expected.size()) << ::testing::PrintToString(problems);
        for (std::size_t i = 0; i < problems.size(); ++i) {
            SCOPED_TRACE(::testing::PrintToString(problems[i]));
            EXPECT_EQ(problems[i].file, c.expected[i].file);
            EXPECT_EQ(problems[i].line, c.expected[i].line);
            EXPECT_NE(problems[i].message.find(c.expected[i].fragment), std::string::npos);
        }
    }
}

TEST(ProductDataCheck, EmptyFolderReportsEveryFile)
{
    const auto problems = checkInstallation(TEPA_TEST_DATA_DIR "/no-such-folder");
    std::vector<std::string> files;
    for (const auto& problem : problems) {
        files.push_back(problem.file);
        EXPECT_EQ(problem.line, 0u);
    }
    EXPECT_EQ(files, (std::vector<std::string>{"tepatext.txt", "freikon.txt", "zwangskon.txt",
                                               "bauhoehen.txt", "konvektoren.txt"}));
}

} // namespace
} // namespace tepa
