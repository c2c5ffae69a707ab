// Arithmetic that fails the way the keypad reports it: every intermediate
// beyond the double range is an overflow, an undefined one an invalid
// argument.
#pragma once

#include <cmath>

#include "errors.h"

namespace morvane {

inline double chk(double v) {
    if (std::isnan(v)) throw Failure{kInvalidArgument};
    if (std::isinf(v)) throw Failure{kOverflow};
    return v;
}

inline double divide(double a, double b) {
    if (b == 0) throw Failure{kDivisionByZero};
    return chk(a / b);
}

inline double lnOf(double v) {
    if (!(v > 0)) throw Failure{kInvalidArgument};
    return std::log(v);
}

inline double sqrtOf(double v) {
    if (v < 0) throw Failure{kInvalidArgument};
    return std::sqrt(v);
}

// The counting loop of the factorial and the combinatorics keys: multiplies
// 1 by 1, 2, 3, ... while the counter does not exceed the bound.
inline double countingProduct(double bound) {
    double r = 1;
    for (double k = 1; k <= bound; k += 1) r = chk(r * k);
    return r;
}

inline bool isOddInteger(double v) { return v == std::trunc(v) && std::fmod(v, 2.0) != 0; }

}  // namespace morvane
