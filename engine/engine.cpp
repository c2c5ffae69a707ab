#include "engine.h"

#include <chrono>
#include <cmath>

#include "format.h"
#include "platform/clipboard.h"
#include "numtext.h"

namespace morvane {

namespace {

// Any intermediate beyond the double range is an overflow.
double chk(double v) {
    if (std::isnan(v)) throw Failure{kInvalidArgument};
    if (std::isinf(v)) throw Failure{kOverflow};
    return v;
}

double divide(double a, double b) {
    if (b == 0) throw Failure{kDivisionByZero};
    return chk(a / b);
}

double lnOf(double v) {
    if (!(v > 0)) throw Failure{kInvalidArgument};
    return std::log(v);
}

double sqrtOf(double v) {
    if (v < 0) throw Failure{kInvalidArgument};
    return std::sqrt(v);
}

// The counting loop of the factorial and the combinatorics keys: multiplies
// 1 by 1, 2, 3, ... while the counter does not exceed the bound.
double countingProduct(double bound) {
    double r = 1;
    for (double k = 1; k <= bound; k += 1) r = chk(r * k);
    return r;
}

bool isOddInteger(double v) { return v == std::trunc(v) && std::fmod(v, 2.0) != 0; }

}  // namespace

Engine::Engine() {
    std::random_device rd;
    const auto t = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seq{rd(), rd(), static_cast<unsigned>(t), static_cast<unsigned>(t >> 32)};
    rng_.seed(seq);
}

double Engine::value(const std::string& t) const {
    double v = 0;
    switch (textToNumber(t, sep, v)) {
        case Conv::Ok:
            return v;
        case Conv::Overflow:
            throw Failure{kOverflow};
        default:
            throw Failure{kTypeMismatch};
    }
}

std::string Engine::text(double v) const {
    std::string t = numberToText(chk(v), sep);
    // The 15 digits of a value next to the largest double can round beyond
    // the range ("1.79769313486232E+308"): that text would not read back.
    if (std::fabs(v) >= 1e308 && !isNumeric(t, sep)) throw Failure{kOverflow};
    return t;
}

void Engine::append(std::string_view s) {
    if (regs.log().size() + s.size() > kTextBound) throw Failure{kTooLong};
    regs.log() += s;
}

void Engine::numero_Click(int digit) {
    if (pasting_ || digit < 0 || digit > 9) return;
    try {
        append(std::string(1, static_cast<char>('0' + digit)));
    } catch (const Failure& f) {
        err.report(f.number);
    }
}

void Engine::decimalPoint() {
    std::string t = formatDecimals(regs.log(), 0, sep);
    if (t.size() > kTextBound) throw Failure{kTooLong};
    regs.log() = std::move(t);
}

void Engine::backspace() {
    if (regs.log().empty()) throw Failure{kInvalidArgument};
    regs.log().pop_back();
}

bool Engine::tecla_Click(int index) {
    // While "pst" waits for the clipboard the window model holds every key.
    if (pasting_) return false;
    if (index != 5) regs.guardarpila();
    try {
        const std::string x = regs.cur[0];
        const std::string y = regs.cur[1];
        if (index == 48) {
            // The clipboard's answer ends the key, at once or later.
            const unsigned long failures = err.failures;
            paste();
            return err.failures == failures;
        }
        if (index >= 0 && index < kKeys) keyRow(index, x, y);
        regs.keyDone();
        return true;
    } catch (const Failure& f) {
        // A failing key changes nothing: the registers and the snapshot
        // are as they were before it.
        regs.keyFailed();
        err.report(f.number);
        return false;
    }
}

void Engine::paste() {
    if (!clipboard) throw Failure{kClipboardFailure};
    pasting_ = true;
    clipboard->readText(kTextBound, [this](platform::Clipboard::Read read, std::string text) {
        pasted(read, std::move(text));
    });
}

void Engine::pasted(platform::Clipboard::Read read, std::string text) {
    if (!pasting_) return;
    pasting_ = false;
    using Read = platform::Clipboard::Read;
    if (read == Read::Text && text.size() > kTextBound) read = Read::TooLong;
    if (read == Read::Text) {
        // The text as it is: a text that is not a number fails at the first
        // key that computes with it.
        regs.log() = std::move(text);
        regs.keyDone();
    } else {
        // Nothing came, or too much: the log keeps its text.
        regs.keyFailed();
        err.report(read == Read::TooLong ? kTooLong : kClipboardFailure);
    }
    if (answered) answered();
}

void Engine::keyRow(int index, const std::string& x, const std::string& y) {
    std::string& log = regs.log();
    switch (index) {
        case 0: {
            const double a = value(y), b = value(x);
            log = text(a + b);
            regs.retroceder();
            break;
        }
        case 1: {
            const double a = value(y), b = value(x);
            log = text(a - b);
            regs.retroceder();
            break;
        }
        case 2: {
            const double a = value(x), b = value(y);
            log = text(a * b);
            regs.retroceder();
            break;
        }
        case 3: {
            const double a = value(y), b = value(x);
            log = text(divide(a, b));
            regs.retroceder();
            break;
        }
        case 4:
            backspace();
            break;
        case 5:
            regs.restore();
            break;
        case 6:
            regs.clear();
            break;
        case 7:
            log = text(lnOf(value(x)));
            break;
        case 8:
            append("E");
            break;
        case 9:
            log = text(std::exp(value(x)));
            break;
        case 10:
            log = text(-value(x));
            break;
        case 11:
            log = text(std::fabs(value(x)));
            break;
        case 12:
            regs.enter(sep);
            break;
        case 15:
            decimalPoint();
            break;
        case 16:
            append("000");
            break;
        case 17:
            log = text(kPi);
            break;
        case 18:
            log = text(kE);
            break;
        case 19:
            log = singleToText(random01(), sep);
            break;
        case 20:
        case 21:
        case 22:
        case 23:
        case 24:
        case 25:
        case 39:
        case 40:
            trigKey(index, x, y);
            break;
        case 26:
            log = text(sqrtOf(value(x)));
            break;
        case 27: {
            const double v = value(x);
            log = text(v * v);
            break;
        }
        case 28: {
            const double b = value(y), e = value(x);
            const double r = power(b, e);
            regs.retroceder();
            regs.log() = text(r);
            break;
        }
        case 29: {
            const double b = value(y), e = value(x);
            const double r = root(b, e);
            regs.retroceder();
            regs.log() = text(r);
            break;
        }
        case 30:
            log = text(divide(1, value(x)));
            break;
        case 31: {
            const double ln10 = std::log(10.0);
            log = text(lnOf(value(x)) / ln10);
            break;
        }
        case 32:
            log = text(value(x) * 0.01);
            break;
        case 33:
            regs.log() = text(stackWalk(false));
            break;
        case 34:
            append("-");
            break;
        case 35:
            regs.log() = text(stackWalk(true));
            break;
        case 36: {
            const double a = value(y), b = value(x);
            const double q = std::trunc(divide(a, b));
            log = text(chk(a - chk(b * q)));
            regs.retroceder();
            break;
        }
        case 38:
            log = text(countingProduct(value(x)));
            break;
        case 41:
            log = text(value(x) * 0.16);
            break;
        case 42:
            log = text(value(x) * 1.16);
            break;
        case 43:
            log = text(value(x) * 166.386);
            break;
        case 44:
            log = text(value(x) / 166.386);
            break;
        case 45:
            append("00");
            break;
        case 46:
            log = memoria;
            break;
        case 47:
            // The new text replaces the old: no clearing first, which a
            // clipboard bridge (XWayland's) can take for two owners at once.
            if (!clipboard || !clipboard->setText(log)) throw Failure{kClipboardFailure};
            break;
        case 49:
        case 50: {
            const double m = value(memoria), v = value(x);
            memoria = text(index == 49 ? m + v : m - v);
            log.clear();
            break;
        }
        case 51:
            log = text(chk(100 * std::trunc(value(x))) / 100);
            break;
        case 52:
            log = text(chk(100 * std::floor(value(x))) / 100);
            break;
        case 53: {
            const double v = value(x);
            log = text(chk(chk(1000 * v) - chk(1000 * std::trunc(v))) / 1000);
            break;
        }
        case 54:
            if (isNumeric(log, sep)) {
                memoria = log;
                log.clear();
            }
            break;
        case 55:
            if (isNumeric(log, sep)) {
                memoryList.push_back(log);
                ++memoryVersion;
                log.clear();
            }
            break;
        case 63:
            log = text(value(x) * 0.862068965517241);
            break;
        case 64:
            log = text(std::exp(chk(value(x) * std::log(10.0))));
            break;
        case 65:
            if (!log.empty())
                log.clear();
            else
                regs.retroceder();
            break;
        default:  // 13, 14, 37, 56..62: no function
            break;
    }
}

double Engine::power(double y, double x) const {
    if (y > 0) return chk(std::exp(chk(x * std::log(y))));
    if (y == 0) {
        if (x > 0) return 0;
        if (x == 0) return 1;
        throw Failure{kDivisionByZero};
    }
    // A negative base has a real power only for an integer exponent.
    if (x != std::trunc(x)) throw Failure{kInvalidArgument};
    const double r = chk(std::exp(chk(x * std::log(-y))));
    return isOddInteger(x) ? -r : r;
}

double Engine::root(double y, double x) const {
    if (y > 0) {
        const double l = std::log(y);
        return chk(std::exp(chk(divide(1, x) * l)));
    }
    if (y == 0) {
        if (x > 0) return 0;
        throw Failure{kDivisionByZero};
    }
    // The odd root of a negative number is the negative real root.
    if (!isOddInteger(x)) throw Failure{kInvalidArgument};
    const double l = std::log(-y);
    return -chk(std::exp(chk(divide(1, x) * l)));
}

double Engine::stackWalk(bool product) {
    double acc = product ? 1 : 0;
    for (int i = 0; i <= 19; ++i) {
        if (!regs.cur[i].empty()) {
            const double v = value(regs.cur[i]);
            acc = chk(product ? acc * v : acc + v);
        }
        regs.cur[i].clear();
    }
    return acc;
}

float Engine::random01() {
    // 24 random bits: a float in [0, 1), never 1.
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void Engine::Form_KeyPress(int code) {
    if (pasting_) return;
    std::string& log = regs.log();
    try {
        if (code >= '0' && code <= '9') {
            append(std::string(1, static_cast<char>(code)));
            return;
        }
        switch (code) {
            case ',':
            case '.':
                decimalPoint();
                break;
            case 'E':
            case 'e':
                append("E");
                break;
            case '_':
                append("-");
                break;
            case '#':
                log = text(-value(log));
                break;
            case 'S':
            case 's': {
                const double v = value(log);
                log = text(v * v);
                break;
            }
            case 'R':
            case 'r':
                log = text(sqrtOf(value(log)));
                break;
            case '<':
                log = text(value(log) / 166.386);
                break;
            case '>':
                log = text(value(log) * 166.386);
                break;
            case '%':
                log = text(value(log) / 100);
                break;
            case 'I':
            case 'i':
                log = text(divide(1, value(log)));
                break;
            case 8:
                backspace();
                break;
            case 13:
                regs.enter(sep);
                break;
            case '+':
            case '-':
            case '*':
            case '/': {
                regs.guardarpila();
                const double yv = value(regs.cur[1]);
                const double xv = value(regs.cur[0]);
                double r = 0;
                if (code == '+') r = yv + xv;
                if (code == '-') r = yv - xv;
                if (code == '*') r = yv * xv;
                if (code == '/') r = divide(yv, xv);
                regs.log() = text(r);
                regs.retroceder();
                break;
            }
            default:
                break;
        }
        regs.keyDone();
    } catch (const Failure& f) {
        regs.keyFailed();
        err.quietFailure(f.number);
    }
}

void Engine::vcp_Click(int index) {
    if (pasting_ || index < 0 || index > 2) return;
    try {
        const double n = value(regs.cur[1]);
        const double k = value(regs.cur[0]);
        const double a = countingProduct(n - k);
        const double b = countingProduct(n);
        const double c = countingProduct(k);
        double r = 0;
        if (index == 0) r = divide(b, a);
        if (index == 1) r = chk(std::exp(chk(k * lnOf(n))));
        if (index == 2) r = divide(b, chk(a * c));
        const std::string t = text(r);
        regs.retroceder();
        regs.log() = t;
    } catch (const Failure&) {
        // silent
    }
}

void Engine::transformar(int mode) {
    double factor;
    if (angle == "DEG")
        factor = mode == 1 ? kPi / 180 : 180 / kPi;
    else if (angle == "GRA")
        factor = mode == 1 ? kPi / 200 : 200 / kPi;
    else
        return;
    if (mode != 1 && mode != 2) return;
    regs.log() = text(value(regs.log()) * factor);
}

void Engine::trigKey(int index, const std::string& x, const std::string& y) {
    std::string& log = regs.log();
    const bool hyperbolic = hyp == "HYP";
    const double halfPi = 2 * std::atan(1.0);
    switch (index) {
        case 20:
        case 22:
        case 24:
            if (hyperbolic) {
                const double v = value(x);
                const double r = index == 20 ? std::sinh(v) : index == 22 ? std::cosh(v) : std::tanh(v);
                log = text(r);
                hyp = "N";
            } else {
                transformar(1);
                const double a = value(regs.log());
                regs.log() = text(index == 20 ? std::sin(a) : index == 22 ? std::cos(a) : std::tan(a));
            }
            return;
        case 21:
        case 23:
        case 25: {
            const double v = value(x);
            if (hyperbolic) {
                double r;
                if (index == 21) {
                    r = std::asinh(v);
                } else if (index == 23) {
                    if (v < 1) throw Failure{kInvalidArgument};
                    r = std::acosh(v);
                } else {
                    if (v == 1) throw Failure{kDivisionByZero};
                    if (v <= -1 || v > 1) throw Failure{kInvalidArgument};
                    r = std::atanh(v);
                }
                log = text(r);
                hyp = "N";
                return;
            }
            double r;
            if (index == 25) {
                r = std::atan(v);
            } else {
                if (v > 1 || v < -1) throw Failure{kInvalidArgument};
                if (index == 21) {
                    r = v == 1 ? halfPi : v == -1 ? -halfPi : std::atan(v / std::sqrt(1 - v * v));
                } else {
                    r = v == 1 ? 0 : v == -1 ? 2 * halfPi : std::atan(-v / std::sqrt(1 - v * v)) + halfPi;
                }
            }
            log = text(r);
            transformar(2);
            return;
        }
        case 39: {
            transformar(1);
            const double a = value(regs.log());
            const double r = value(y);
            const std::string lv1 = text(std::cos(a) * r);
            const std::string lv0 = text(std::sin(a) * r);
            regs.cur[1] = lv1;
            regs.log() = lv0;
            return;
        }
        case 40: {
            // Adding zero turns a negative zero into zero, so the origin
            // has the angle 0 and the negative half axis the half turn.
            const double yv = value(y) + 0.0, xv = value(x) + 0.0;
            const double radius = std::sqrt(chk(chk(std::pow(yv, 2)) + chk(std::pow(xv, 2))));
            regs.cur[1] = text(radius);
            regs.log() = text(std::atan2(xv, yv));
            transformar(2);
            return;
        }
        default:
            return;
    }
}

}  // namespace morvane
