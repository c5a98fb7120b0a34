#include "core/GoldenCalls.h"
#include "core/productdata/ProductData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

std::string result(const std::vector<std::string>& w)
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

// The heights and factors for the calls in tests/data/productdata/heights.txt (the file's head
// lists the calls; GoldenCalls.h says how the file is checked and written, here by
// bin/test_productdata).
TEST(Heights, AreReadAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/productdata/heights.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
}

} // namespace
} // namespace tepa
