#include "core/productdata/ProductData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace tepa {
namespace {

TEST(TypeLengthLine, TakesFourCharacterFieldsWhileTheStartLiesBeforeTheEnd)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> fields;
    };
    // clang-format off
    const Case cases[] = {
        {"0800 1000 1200",  {"0800", "1000", "1200"}},
        {"0800 1000 1",     {"0800", "1000"}},          // a field in the last column is not taken
        {"0800 1000 12",    {"0800", "1000", "12"}},    // one before it is, however short
        {"0800 1",          {"0800"}},
        {"ab",              {"ab"}},
        {"",                {""}},                      // one empty length
        {"\x80\x80",         {""}},                      // stray trail bytes start no field
        {"1100 1ä00 2000",  {"1100", "1ä00", "2000"}},  // columns count characters, not bytes
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("line \"") + c.line + "\"");
        EXPECT_EQ(lengthFields(c.line), c.fields);
    }
}

// Words of a call line; "..." holds blanks.
std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
        } else if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            result.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const std::size_t end = std::min(line.find(' ', i), line.size());
            result.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return result;
}

std::string number(double x)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", x);
    return text;
}

std::string result(const std::vector<std::string>& w)
{
    const std::string& call = w.at(0);
    if (call == "field")
        return number(fieldValue(w.at(1), std::stoul(w.at(2)), std::stoul(w.at(3))));
    if (call == "height")
        return number(heightOfLine(w.at(1)));
    if (call == "factor") {
        const auto factor = heightFactor(w.at(1), w.at(2), w.size() > 3 ? w[3][0] : '.');
        return factor ? number(*factor) : "error " + factor.error();
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
        return checked ? (*checked == std::vector<std::string>(w.begin() + 1, w.end()) ? "accepted" : "changed")
                       : "error " + checked.error();
    }
    ADD_FAILURE() << "unknown call " << call;
    return "";
}

// The heights and factors for the calls in tests/data/productdata/heights.txt, compared byte for
// byte with the "= " line after each call (the file's head lists the calls). A new case is a call
// line; TEPA_WRITE_GOLDEN=1 bin/test_productdata writes its "= " line, to be checked by hand
// before it is committed.
TEST(Heights, AreReadAsTheGoldenFileSays)
{
    const std::string goldenFile = TEPA_TEST_DATA_DIR "/productdata/heights.txt";
    std::ifstream in(goldenFile, std::ios::binary);
    ASSERT_TRUE(in) << goldenFile;
    std::string expected, actual, line;
    while (std::getline(in, line)) {
        expected += line + "\n";
        if (line.starts_with("= "))
            continue;
        actual += line + "\n";
        if (!line.empty() && !line.starts_with("#")) {
            SCOPED_TRACE(line);
            actual += "= " + result(words(line)) + "\n";
        }
    }
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

TEST(HeightList, MissingFileGivesTheOpenError)
{
    const auto missing = loadHeights(TEPA_TEST_DATA_DIR "/no-such-folder");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("bauhoehen.txt kann nicht geöffnet werden"), std::string::npos);
}

} // namespace
} // namespace tepa
