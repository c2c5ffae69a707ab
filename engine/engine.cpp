#include "engine.h"

#include <chrono>
#include <cmath>

#include "checked.h"
#include "format.h"
#include "numtext.h"
#include "platform/clipboard.h"

namespace morvane {

Engine::Engine() {
    std::random_device rd;
    const auto t = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
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

void Engine::paste() {
    if (!clipboard) throw Failure{kClipboardFailure};
    pasting_ = true;
    clipboard->readText(kTextBound,
                        [this](platform::Clipboard::Read read, std::string text) { pasted(read, std::move(text)); });
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

// M+ and M-: the memory plus or minus the log; the log empties.
void Engine::memoryArithmetic(const Operands& o, int sign) {
    const double m = value(memoria), v = value(o.x);
    memoria = text(sign > 0 ? m + v : m - v);
    regs.log().clear();
}

float Engine::random01() {
    // 24 random bits: a float in [0, 1), never 1.
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
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

}  // namespace morvane
