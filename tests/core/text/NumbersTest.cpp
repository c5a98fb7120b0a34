#include "core/text/Numbers.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Numbers read and written for the calls in tests/data/text/numbers.txt (the file's head lists
// the calls; GoldenCalls.h says how the file is checked and written, here by bin/test_text).

namespace tepa {
namespace {

// The call's name, then its text argument in quotes (if any), then its number arguments.
struct Call
{
    std::string name, text;
    std::vector<double> numbers;
};

Call parse(const std::string& line)
{
    Call call;
    call.name = line.substr(0, line.find(' '));
    std::size_t rest = call.name.size();
    if (const std::size_t open = line.find('"'); open != std::string::npos) {
        const std::size_t close = line.rfind('"');
        call.text = line.substr(open + 1, close - open - 1);
        rest = close + 1;
    }
    const std::string numbers = line.substr(rest);
    char* at = const_cast<char*>(numbers.c_str());
    for (char* end = at;; at = end) {
        const double value = std::strtod(at, &end);
        if (end == at)
            break;
        call.numbers.push_back(value);
    }
    return call;
}

std::string exact(double x)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

std::string result(const Call& c)
{
    const auto n = [&](std::size_t k) { return c.numbers.at(k); };
    const auto i = [&](std::size_t k) { return static_cast<int>(c.numbers.at(k)); };
    if (c.name == "decimal") {
        const DecimalReading r = readDecimal(c.text);
        return exact(r.value) + " stop " + std::to_string(r.stopPosition);
    }
    if (c.name == "integer") {
        const auto r = readInteger(c.text);
        return r ? std::to_string(*r) : "none";
    }
    if (c.name == "float" || c.name == "commafloat") {
        const auto r = localeFloat(c.text, c.name == "float" ? '.' : ',');
        return r ? exact(*r) : "error " + r.error();
    }
    if (c.name == "fixed")
        return "\"" + strFixed(n(0), i(1), i(2)) + "\"";
    if (c.name == "digits")
        return "\"" + fixedDigits(n(0), i(1), i(2)) + "\"";
    if (c.name == "int")
        return "\"" + strInt(static_cast<long long>(n(0)), i(1)) + "\"";
    if (c.name == "point")
        return "\"" + commaToPoint(c.text) + "\"";
    if (c.name == "halfeven")
        return std::to_string(roundHalfEven(n(0)));
    ADD_FAILURE() << "unknown call " << c.name;
    return "";
}

TEST(Numbers, ReadAndWrittenAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/text/numbers.txt",
                           [](const std::string& line) { return result(parse(line)); });
}

} // namespace
} // namespace tepa
