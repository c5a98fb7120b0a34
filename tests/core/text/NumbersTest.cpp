#include "core/text/Numbers.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Numbers read and written for the calls in tests/data/text/numbers.txt (the file's head lists
// the calls; GoldenCalls.h says how the file is checked and written, here by bin/test_text).

namespace tepa {
namespace {

// The call's name, then its text argument in quotes or its number arguments.
std::string result(const std::vector<std::string>& w)
{
    const std::string& name = w.at(0);
    const std::string& text = w.at(1);
    const auto n = [&](std::size_t k) { return std::stod(w.at(k)); };
    const auto i = [&](std::size_t k) { return static_cast<int>(n(k)); };
    if (name == "decimal") {
        const DecimalReading r = readDecimal(text);
        return test::numberText(r.value, 17) + " stop " + std::to_string(r.stopPosition);
    }
    if (name == "integer") {
        const auto r = readInteger(text);
        return r ? std::to_string(*r) : "none";
    }
    if (name == "float" || name == "commafloat") {
        const auto r = localeFloat(text, name == "float" ? '.' : ',');
        return r ? test::numberText(*r, 17) : "error " + r.error();
    }
    if (name == "fixed")
        return "\"" + strFixed(n(1), i(2), i(3)) + "\"";
    if (name == "digits")
        return "\"" + fixedDigits(n(1), i(2), i(3)) + "\"";
    if (name == "int")
        return "\"" + strInt(static_cast<long long>(n(1)), i(2)) + "\"";
    if (name == "point")
        return "\"" + commaToPoint(text) + "\"";
    if (name == "halfeven")
        return std::to_string(roundHalfEven(n(1)));
    ADD_FAILURE() << "unknown call " << name;
    return "";
}

TEST(Numbers, ReadAndWrittenAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/text/numbers.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
}

} // namespace
} // namespace tepa
