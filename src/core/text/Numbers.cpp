#include "core/text/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>

namespace tepa {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Parses a cleaned number text ("-12.5e3", no "+", at least one mantissa digit) exactly.
double parseClean(const std::string& clean)
{
    double value = 0;
    auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; decide by the exponent.
        const auto e = clean.find_first_of("eE");
        const bool negative = !clean.empty() && clean.front() == '-';
        const bool tiny = e != std::string::npos && clean[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
        if (negative)
            value = -value;
    }
    (void)ptr;
    return value;
}

// Writes |x| exactly enough to round at `decimals` places: the decimal expansion with 25 more
// digits. A double that is not an exact tie at that place differs from the tie within 17
// significant digits, so 25 extra digits always tell a tie from a near-tie.
std::string longExpansion(double magnitude, int decimals)
{
    std::string buffer(400 + decimals + 30, '\0');
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                std::chars_format::fixed, decimals + 25);
    buffer.resize(result.ptr - buffer.data());
    return buffer;
}

// Rounds the non-negative decimal text `expansion` (digits, ".", digits) at `decimals` places,
// halves away from zero. Returns digits with the point at its place ("413", "0.13").
std::string roundExpansion(const std::string& expansion, int decimals)
{
    const auto point = expansion.find('.');
    std::string intPart = expansion.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : expansion.substr(point + 1);
    frac.resize(std::max<std::size_t>(frac.size(), decimals + 1), '0');
    const bool roundUp = frac[decimals] >= '5';
    std::string digits = intPart + frac.substr(0, decimals);
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    const std::size_t intDigits = digits.size() - decimals;
    std::string text = digits.substr(0, intDigits);
    if (decimals > 0)
        text += "." + digits.substr(intDigits);
    return text;
}

bool allZeroDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '.'; });
}

std::string nonFiniteText(double x)
{
    if (std::isnan(x))
        return "Nan";
    return x > 0 ? "+Inf" : "-Inf";
}

std::string padLeft(std::string text, int width)
{
    if (width > 0 && static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

DecimalReading readDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    std::string clean;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            clean += '-';
        ++i;
    }
    bool mantissaDigits = false;
    while (i < text.size() && isDigit(text[i])) {
        clean += text[i++];
        mantissaDigits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        clean += '.';
        while (i < text.size() && isDigit(text[i])) {
            clean += text[i++];
            mantissaDigits = true;
        }
    }
    // The exponent counts only with at least one digit; "1.5E" and "1.5E+" read as 1.5.
    if (mantissaDigits && i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            if (text[j] == '-')
                exponent += '-';
            ++j;
        }
        std::size_t digitsStart = j;
        std::string expDigits;
        while (j < text.size() && isDigit(text[j]))
            expDigits += text[j++];
        // Without exponent digits the "E" itself is the first unfit character.
        if (j > digitsStart) {
            // Keep huge exponents parseable; they overflow to the largest value anyway.
            if (expDigits.size() > 6)
                expDigits = "999999";
            clean += exponent + expDigits;
            i = j;
        }
    }

    DecimalReading reading;
    reading.stopPosition = i < text.size() ? i + 1 : 0;
    if (mantissaDigits) {
        if (clean.front() == '.' || (clean.size() > 1 && clean[0] == '-' && clean[1] == '.'))
            clean.insert(clean.front() == '-' ? 1 : 0, "0");
        reading.value = parseClean(clean);
    } else if (text.find_first_not_of(' ') == std::string_view::npos) {
        reading.stopPosition = 0;
    } else if (reading.stopPosition == 0) {
        // A sign or point alone is no number: the text ended where a digit was due.
        reading.stopPosition = text.size() + 1;
    }
    return reading;
}

std::optional<std::int32_t> readInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, magnitude, base);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

Result<double> localeFloat(std::string_view text, char localeSeparator)
{
    const Error failure{"'" + std::string(text) + "' ist kein gültiger Gleitkommawert"};
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return failure;
    const auto last = text.find_last_not_of(' ');
    std::string body(text.substr(first, last - first + 1));
    bool separatorSeen = false;
    for (char& c : body) {
        if (c == '.' || c == localeSeparator) {
            if (separatorSeen)
                return failure;
            separatorSeen = true;
            c = '.';
        }
    }
    const DecimalReading reading = readDecimal(body);
    // The whole field must be the number: no blank inside, nothing after it, at least one digit.
    if (reading.stopPosition != 0 || body.find(' ') != std::string::npos ||
        body.find_first_of("0123456789") == std::string::npos)
        return failure;
    const auto e = body.find_first_of("eE");
    if (e != std::string::npos && body.find_first_of("0123456789", 0) > e)
        return failure;
    if (!std::isfinite(reading.value))
        return failure;
    return reading.value;
}

char localeDecimalSeparator()
{
    try {
        return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
        return '.';
    }
}

std::string strFixed(double x, int width, int decimals)
{
    if (!std::isfinite(x))
        return padLeft(nonFiniteText(x), width);
    decimals = std::clamp(decimals, 0, 60);
    std::string text = roundExpansion(longExpansion(std::fabs(x), decimals), decimals);
    if (std::signbit(x) && !allZeroDigits(text))
        text.insert(0, "-");
    return padLeft(std::move(text), width);
}

std::string strInt(long long n, int width)
{
    return padLeft(std::to_string(n), width);
}

std::string fixedDigits(double x, int precision, int decimals)
{
    if (!std::isfinite(x))
        return nonFiniteText(x);
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    const double magnitude = std::fabs(x);
    if (magnitude == 0)
        return strFixed(0.0, 0, decimals);

    // Significant digits of |x| rounded to `precision` places, halves away from zero, and the
    // decimal exponent: |x| ~ 0.d1d2d3... * 10^exponent.
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 40).ptr;
    std::string sci(buffer, end); // d.ddd...e+XX
    const auto ePos = sci.find('e');
    int exponent = std::atoi(sci.c_str() + ePos + 1) + 1;
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    // 40 digits after the first are more than any tie test needs (see longExpansion).
    std::string rounded = roundExpansion(digits.substr(0, 1) + "." + digits.substr(1), precision - 1);
    rounded.erase(std::remove(rounded.begin(), rounded.end(), '.'), rounded.end());
    if (rounded.size() > static_cast<std::size_t>(precision)) {
        // 9.99 -> 10.0: one more integer digit.
        rounded.pop_back();
        ++exponent;
    }

    const bool negative = std::signbit(x);
    if (exponent > precision) {
        // Too many integer digits for the precision: exponent form, trailing zeros dropped.
        while (rounded.size() > 1 && rounded.back() == '0')
            rounded.pop_back();
        std::string text = negative ? "-" : "";
        text += rounded.substr(0, 1);
        if (rounded.size() > 1)
            text += "." + rounded.substr(1);
        const int e = exponent - 1;
        std::string expDigits = std::to_string(std::abs(e));
        if (static_cast<int>(expDigits.size()) < decimals)
            expDigits.insert(0, decimals - expDigits.size(), '0');
        return text + "E" + (e < 0 ? "-" : "") + expDigits;
    }

    // Fixed form of the rounded value: place the digits around the point, zero-fill, then round
    // once more at `decimals` places (halves away from zero).
    std::string plain;
    if (exponent <= 0)
        plain = "0." + std::string(-exponent, '0') + rounded;
    else
        plain = rounded.substr(0, std::min<std::size_t>(exponent, rounded.size())) +
                std::string(exponent > static_cast<int>(rounded.size()) ? exponent - rounded.size() : 0, '0') +
                "." + (static_cast<int>(rounded.size()) > exponent ? rounded.substr(exponent) : "");
    std::string text = roundExpansion(plain, decimals);
    if (negative && !allZeroDigits(text))
        text.insert(0, "-");
    return text;
}

std::string commaToPoint(std::string_view text)
{
    std::string result(text);
    std::replace(result.begin(), result.end(), ',', '.');
    return result;
}

std::int64_t roundHalfEven(double x)
{
    if (!std::isfinite(x))
        return 0;
    const double r = std::nearbyint(x); // default rounding mode: ties to even
    if (r >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

} // namespace tepa
