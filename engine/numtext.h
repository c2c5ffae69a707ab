// Number texts: the three conversions every computing key uses.
//
// Registers hold numbers as text. A double is written with at most 15
// significant digits, in fixed notation for decimal exponents -4..14 and in
// mantissa/exponent form otherwise; texts are read back with a strict grammar.
// The decimal separator is always a parameter (the regional one): nothing here
// depends on the process locale.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

enum class Conv { Ok, NotNumber, Overflow };

// Writes v (finite) with at most 15 significant digits. Zero, negative zero
// included, is "0".
std::string numberToText(double v, char sep);

// Writes a single-precision value with at most 7 significant digits, with the
// same notation rules (used by the random-number key).
std::string singleToText(float v, char sep);

// Writes v (finite) with the fewest digits that read back as v: fixed
// notation for decimal exponents -4..15, otherwise the digits, "E" and the
// exponent without a plus sign or leading zeros ("1E28", "6,241509744511526E18").
// The converter shows its factors this way.
std::string shortestText(double v, char sep);

// Reads t: optional blanks, optional sign, digits with at most one separator
// (at least one digit), optional exponent "E"/"e" with optional sign and at
// least one digit, optional blanks. Values beyond the double range are an
// overflow; values too small for a double read as zero (or as the subnormal).
Conv textToNumber(std::string_view t, char sep, double& out);

// True exactly when textToNumber would succeed.
bool isNumeric(std::string_view t, char sep);

// The 15-significant-digit decimal form of a finite, non-zero value:
// digits without trailing zeros (at least one) and the decimal exponent of the
// first digit, so that |v| ~ 0.d1d2d3... x 10^(exp+1).
struct Decimal {
    bool negative = false;
    std::string digits;  // "0" for zero
    int exp = 0;         // decimal exponent of the first digit
};
Decimal toDecimal(double v, int significant = 15);

// Writes a decimal form with the notation rules of numberToText.
std::string decimalToText(const Decimal& d, char sep);

}  // namespace morvane
