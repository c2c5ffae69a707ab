#include "numtext.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace morvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Decimal toDecimal(double v, int significant) {
    Decimal d;
    if (v == 0 || !std::isfinite(v)) {
        d.digits = "0";
        return d;
    }
    d.negative = std::signbit(v);
    // Scientific form with significant-1 fraction digits: "d.ddd...e+XX",
    // correctly rounded from the binary value.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, significant - 1);
    std::string_view s(buf, static_cast<size_t>(r.ptr - buf));
    size_t e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (isDigit(s[i])) d.digits.push_back(s[i]);
    int ex = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), ex);
    d.exp = ex;
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

std::string decimalToText(const Decimal& d, char sep) {
    if (d.digits == "0") return "0";
    std::string out;
    if (d.negative) out.push_back('-');
    const std::string& g = d.digits;
    const int n = static_cast<int>(g.size());
    if (d.exp >= -4 && d.exp <= 14) {
        if (d.exp < 0) {
            out += '0';
            out += sep;
            out.append(static_cast<size_t>(-d.exp - 1), '0');
            out += g;
        } else {
            int intDigits = d.exp + 1;
            for (int i = 0; i < intDigits; ++i) out += i < n ? g[static_cast<size_t>(i)] : '0';
            if (n > intDigits) {
                out += sep;
                out.append(g, static_cast<size_t>(intDigits), std::string::npos);
            }
        }
    } else {
        out += g[0];
        if (n > 1) {
            out += sep;
            out.append(g, 1, std::string::npos);
        }
        out += 'E';
        out += d.exp < 0 ? '-' : '+';
        int a = d.exp < 0 ? -d.exp : d.exp;
        if (a < 10) out += '0';
        out += std::to_string(a);
    }
    return out;
}

std::string numberToText(double v, char sep) { return decimalToText(toDecimal(v, 15), sep); }

std::string shortestText(double v, char sep) {
    if (v == 0 || !std::isfinite(v)) return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(r.ptr - buf));
    const size_t e = s.find('e');
    std::string g;
    for (size_t i = 0; i < e; ++i)
        if (isDigit(s[i])) g.push_back(s[i]);
    int ex = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), ex);
    std::string out = std::signbit(v) ? "-" : "";
    const int n = static_cast<int>(g.size());
    if (ex >= -4 && ex <= 15) {
        if (ex < 0) {
            out += '0';
            out += sep;
            out.append(static_cast<size_t>(-ex - 1), '0');
            out += g;
        } else {
            for (int i = 0; i <= ex; ++i) out += i < n ? g[static_cast<size_t>(i)] : '0';
            if (n > ex + 1) {
                out += sep;
                out.append(g, static_cast<size_t>(ex + 1), std::string::npos);
            }
        }
        return out;
    }
    out += g[0];
    if (n > 1) {
        out += sep;
        out.append(g, 1, std::string::npos);
    }
    return out + "E" + std::to_string(ex);
}

std::string singleToText(float v, char sep) {
    if (v == 0) return "0";
    // Shortest digits that read back as the same float, capped at 7.
    Decimal d = toDecimal(static_cast<double>(v), 7);
    return decimalToText(d, sep);
}

namespace {

// A number text read by its grammar, with a plain "." form for from_chars.
struct Scanned {
    std::string norm;
    bool negative = false;
    bool significant = false;  // a digit other than 0
    long long firstExp = 0;    // decimal exponent of the first significant digit, from the mantissa alone
    long long exponent = 0;    // the "E" part, bounded
};

// The sign and the digits with at most one separator; false without a digit.
bool scanMantissa(std::string_view s, size_t& i, char sep, Scanned& n) {
    if (s[i] == '+' || s[i] == '-') {
        n.negative = s[i] == '-';
        if (n.negative) n.norm.push_back('-');
        ++i;
    }
    int digits = 0, seps = 0;
    long long intDigits = 0, leadingFracZeros = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            ++digits;
            if (seps == 0) {
                if (n.significant || c != '0') {
                    n.significant = true;
                    ++intDigits;
                }
            } else if (!n.significant) {
                if (c == '0')
                    ++leadingFracZeros;
                else
                    n.significant = true;
            }
            n.norm.push_back(c);
        } else if (c == sep && seps == 0) {
            ++seps;
            n.norm.push_back('.');
        } else {
            break;
        }
    }
    n.firstExp = intDigits > 0 ? intDigits - 1 : -(leadingFracZeros + 1);
    return digits > 0;
}

// An optional "E" or "e", a sign and at least one digit.
bool scanExponent(std::string_view s, size_t& i, Scanned& n) {
    if (i >= s.size() || (s[i] != 'E' && s[i] != 'e')) return true;
    n.norm.push_back('e');
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        n.norm.push_back(s[i]);
        ++i;
    }
    int digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        ++digits;
        n.norm.push_back(s[i]);
        if (n.exponent < 1000000000LL) n.exponent = n.exponent * 10 + (s[i] - '0');
    }
    if (negative) n.exponent = -n.exponent;
    return digits > 0;
}

}  // namespace

Conv textToNumber(std::string_view t, char sep, double& out) {
    size_t b = 0, e = t.size();
    while (b < e && isBlank(t[b])) ++b;
    while (e > b && isBlank(t[e - 1])) --e;
    const std::string_view s = t.substr(b, e - b);
    if (s.empty()) return Conv::NotNumber;

    // The grammar is checked here; from_chars only converts.
    Scanned n;
    n.norm.reserve(s.size());
    size_t i = 0;
    if (!scanMantissa(s, i, sep, n) || !scanExponent(s, i, n) || i != s.size()) return Conv::NotNumber;
    const double zero = n.negative ? -0.0 : 0.0;
    if (!n.significant) {
        out = zero;
        return Conv::Ok;
    }
    double v = 0;
    const auto r = std::from_chars(n.norm.data(), n.norm.data() + n.norm.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        if (n.firstExp + n.exponent > 0) return Conv::Overflow;
        out = zero;  // too small for a double: reads as zero
        return Conv::Ok;
    }
    if (r.ec != std::errc() || r.ptr != n.norm.data() + n.norm.size()) return Conv::NotNumber;
    if (!std::isfinite(v)) return Conv::Overflow;
    out = v;
    return Conv::Ok;
}

bool isNumeric(std::string_view t, char sep) {
    double v;
    return textToNumber(t, sep, v) == Conv::Ok;
}

}  // namespace morvane
