#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tepa {
namespace {

TEST(DecimalReading, ReadsTheNumberUpToTheFirstUnfitCharacter)
{
    struct Case
    {
        const char* text;
        double value;
        std::size_t stop; // 1-based position of the first unfit character, 0 = all read
    };
    // clang-format off
    const Case cases[] = {
        {"1.25",    1.25,  0},
        {"1.25 ",   1.25,  5},   // left-aligned field: scaled value, not 125
        {"12,5",    12,    3},   // the comma is no separator here
        {"1.5E",    1.5,   4},   // exponent without digits is not part of the number
        {"2.5E-1x", 0.25,  7},
        {"-.5",     -0.5,  0},
        {"    ",    0,     0},
        {"-",       0,     2},
        {"180      1.00", 180, 4},  // leading height of a height line
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        const DecimalReading r = readDecimal(c.text);
        EXPECT_DOUBLE_EQ(r.value, c.value);
        EXPECT_EQ(r.stopPosition, c.stop);
    }
}

TEST(DecimalReading, IsCorrectlyRoundedAndSurvivesHugeExponents)
{
    EXPECT_EQ(decimalValue("0.1"), 0.1); // the double nearest 0.1, not an accumulated sum
    EXPECT_EQ(decimalValue("2.2250738585072014e-308"), std::numeric_limits<double>::min());
    EXPECT_EQ(decimalValue("1e99999999"), std::numeric_limits<double>::max());
    EXPECT_EQ(decimalValue("1e-400"), 0.0);
}

TEST(IntegerReading, AcceptsDecimalAndHexCountsOnly)
{
    struct Case
    {
        const char* text;
        std::optional<std::int32_t> value;
    };
    // clang-format off
    const Case cases[] = {
        {" 3", 3},    {"-4", -4},    {"$1F", 31},      {"0x1f", 31},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt}, {"", std::nullopt}, {"12 ", std::nullopt}, {"0x", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(readInteger(c.text), c.value);
    }
}

TEST(LocaleFloat, AcceptsPointAndLocaleSeparatorForTheWholeFieldOnly)
{
    EXPECT_DOUBLE_EQ(localeFloat("1,05", ',').value(), 1.05);
    EXPECT_DOUBLE_EQ(localeFloat(" 0.95 ", ',').value(), 0.95);
    for (const char* text : {"   ", "1.0x", "1 0", "1,05", "1e"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        auto r = localeFloat(text, '.');
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error(), std::string("'") + text + "' ist kein gültiger Gleitkommawert");
    }
}

TEST(StrFixed, RoundsHalvesAwayFromZeroOnTheExactBinaryValue)
{
    struct Case
    {
        double x;
        int width, decimals;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {412.5,    0, 0, "413"},     // exact half: away from zero (printf would give 412)
        {-412.5,   0, 0, "-413"},
        {2.675,    0, 2, "2.67"},    // binary value lies just below 2.675
        {-0.04,    4, 1, " 0.0"},    // rounds to zero: no sign
        {999.96,   0, 1, "1000.0"},
        {12345.6,  3, 0, "12346"},   // width is a minimum
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " width " << c.width << " decimals " << c.decimals);
        EXPECT_EQ(strFixed(c.x, c.width, c.decimals), c.text);
    }
}

TEST(FixedDigits, RoundsToSignificantDigitsThenWritesTheDecimals)
{
    struct Case
    {
        double x;
        int precision, decimals;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {1234.5678, 4, 2, "1235.00"},   // digits beyond the precision are written as 0
        {0.0123456, 3, 4, "0.0123"},
        {-412.5,    3, 0, "-413"},      // half away from zero at the third digit
        {99.95,     3, 1, "100.0"},     // binary value just above 99.95: rounds up to 100
        {999.6,     3, 0, "1E3"},       // rounds to 1000: four integer digits > 3
        {-123456,   3, 2, "-1.23E05"},  // exponent with at least `decimals` digits
        {-0.0001,   3, 1, "0.0"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " precision " << c.precision << " decimals " << c.decimals);
        EXPECT_EQ(fixedDigits(c.x, c.precision, c.decimals), c.text);
    }
}

TEST(NumberText, NonFiniteValuesCommasAndEvenHalves)
{
    EXPECT_EQ(strFixed(std::nan(""), 5, 1), "  Nan");
    EXPECT_EQ(strFixed(HUGE_VAL, 0, 0), "+Inf");
    EXPECT_EQ(strInt(123, 2), "123");
    EXPECT_EQ(commaToPoint("1,2,3"), "1.2.3");
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
}

} // namespace
} // namespace tepa
