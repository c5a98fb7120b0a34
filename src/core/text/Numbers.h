#pragma once

#include "core/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tepa {

// Decimal reading of product data fields, lengths and heights: leading blanks, optional sign,
// digits, optional "." and digits, optional exponent ("E"/"e", optional sign, digits). The
// separator is always the point, whatever the locale. Reading stops at the first character that
// does not fit; the value is then the number read up to there, scaled and signed ("1.25 " -> 1.25,
// "-5x" -> -5, "12,5" -> 12, "1.5E" -> 1.5). An empty or blank text gives 0.
struct DecimalReading
{
    double value = 0;
    // 1-based position of the first character that did not fit; 0 when the whole text was read.
    std::size_t stopPosition = 0;
};
DecimalReading readDecimal(std::string_view text);
inline double decimalValue(std::string_view text) { return readDecimal(text).value; }

// Whole-number reading for counts: optional blanks, sign, then decimal digits, or hexadecimal
// digits after "$" or "0x"/"0X". Anything else in the text, or a value outside int32, gives
// nothing.
std::optional<std::int32_t> readInteger(std::string_view text);

// Strict conversion of a whole field to a float, as for the height factors: leading and trailing
// blanks are allowed, the rest must be a number. The point and the given locale separator are
// both accepted as decimal separator, so data files read the same on every machine. Failure
// carries the message "'<text>' ist kein gültiger Gleitkommawert".
Result<double> localeFloat(std::string_view text, char localeSeparator = '.');

// The decimal separator of the process's current C locale ("." in the C locale).
char localeDecimalSeparator();

// Str(x:w:d): fixed point with d decimals, right-aligned in at least w characters. Halves are
// rounded away from zero on the exact binary value (412.5 -> "413", 0.125 with 2 decimals ->
// "0.13"). A value that rounds to zero is written without sign.
std::string strFixed(double x, int width, int decimals);
// Str(n:w) for whole numbers.
std::string strInt(long long n, int width);

// Fixed-point text with at most `precision` significant digits and `decimals` decimals: the value
// is first rounded to `precision` significant digits (halves away from zero), positions beyond
// them are written as 0 (1234.5678 with 4 and 2 -> "1235.00"). A value that needs more integer
// digits than `precision` is written in exponent form instead: the mantissa without trailing
// zeros, "E", the exponent with a sign only when negative and at least `decimals` digits
// (123456 with 3 and 0 -> "1.23E5").
std::string fixedDigits(double x, int precision, int decimals);

// Replaces every "," by "." so that either separator may be typed into a number field.
std::string commaToPoint(std::string_view text);

// Rounding to an integer with halves to the even neighbour (2.5 -> 2, 3.5 -> 4). A non-finite
// value gives 0; values beyond int64 are clamped.
std::int64_t roundHalfEven(double x);

} // namespace tepa
