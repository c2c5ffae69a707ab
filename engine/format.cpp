#include "format.h"

#include "numtext.h"

namespace morvane {

std::string formatDecimals(std::string_view t, int n, char sep) {
    double v;
    if (t.empty() || textToNumber(t, sep, v) != Conv::Ok) return std::string(t);
    Decimal d = toDecimal(v, 15);
    // Digits as an integer part and a fraction part of the exact decimal.
    std::string intPart, frac;
    if (d.digits == "0") {
        intPart = "0";
    } else if (d.exp >= 0) {
        const size_t k = static_cast<size_t>(d.exp) + 1;
        intPart = d.digits.substr(0, k);
        if (intPart.size() < k) intPart.append(k - intPart.size(), '0');
        if (d.digits.size() > k) frac = d.digits.substr(k);
    } else {
        intPart = "0";
        frac.assign(static_cast<size_t>(-d.exp - 1), '0');
        frac += d.digits;
    }
    if (frac.size() > static_cast<size_t>(n)) {
        const bool up = frac[static_cast<size_t>(n)] >= '5';
        frac.resize(static_cast<size_t>(n));
        if (up) {
            // Carry through the kept decimals, then the integer digits.
            int i = static_cast<int>(frac.size()) - 1;
            for (; i >= 0; --i) {
                if (frac[static_cast<size_t>(i)] == '9') {
                    frac[static_cast<size_t>(i)] = '0';
                } else {
                    ++frac[static_cast<size_t>(i)];
                    break;
                }
            }
            if (i < 0) {
                int j = static_cast<int>(intPart.size()) - 1;
                for (; j >= 0; --j) {
                    if (intPart[static_cast<size_t>(j)] == '9') {
                        intPart[static_cast<size_t>(j)] = '0';
                    } else {
                        ++intPart[static_cast<size_t>(j)];
                        break;
                    }
                }
                if (j < 0) intPart.insert(intPart.begin(), '1');
            }
        }
    }
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out;
    // A negative value that rounds to zero is shown without its sign.
    const bool zero = frac.empty() && intPart.find_first_not_of('0') == std::string::npos;
    if (d.negative && !zero) out += '-';
    out += intPart;
    out += sep;
    out += frac;
    return out;
}

std::string displayText(std::string_view t, Decimals decimals, char sep) {
    const size_t e = t.find_first_of("Ee");
    if (e != std::string_view::npos && e >= 1) return std::string(t);
    return formatDecimals(t, decimals.all() ? 10 : decimals.count(), sep);
}

}  // namespace morvane
