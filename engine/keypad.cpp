// The keypad: one row per key, and the two ways in. A click on a key runs
// its operation under the keypad's policy (an undo snapshot first, a
// failure reported on the error box); the keyboard's computing characters
// run the same operations under the keyboard's policy (a failure only turns
// the error indicator red).
#include <array>
#include <cmath>

#include "checked.h"
#include "engine.h"
#include "numtext.h"

namespace morvane {

// The operations of the keys, over the engine's registers and conversions.
struct Keypad {
    // x := F(x).
    template <double (*F)(double)>
    static void unary(Engine& e, const Operands& o) {
        e.regs.log() = e.text(F(e.value(o.x)));
    }
    // x := F(y, x), then the stack drops. The operands are read y first.
    template <double (*F)(double, double)>
    static void binary(Engine& e, const Operands& o) {
        const double y = e.value(o.y), x = e.value(o.x);
        e.regs.log() = e.text(F(y, x));
        e.regs.retroceder();
    }
    // The same, reading x first: where both operands fail, x's failure is
    // the one reported.
    template <double (*F)(double, double)>
    static void binaryXFirst(Engine& e, const Operands& o) {
        const double x = e.value(o.x), y = e.value(o.y);
        e.regs.log() = e.text(F(y, x));
        e.regs.retroceder();
    }
    // Types text at the end of the log.
    template <const char* Text>
    static void type(Engine& e, const Operands&) {
        e.append(Text);
    }
    template <const double* Value>
    static void constant(Engine& e, const Operands&) {
        e.regs.log() = e.text(*Value);
    }

    static void backspace(Engine& e, const Operands&) { e.backspace(); }
    static void undo(Engine& e, const Operands&) { e.regs.restore(); }
    static void clearStack(Engine& e, const Operands&) { e.regs.clear(); }
    static void enter(Engine& e, const Operands&) { e.regs.enter(e.sep); }
    static void decimalPoint(Engine& e, const Operands&) { e.decimalPoint(); }
    static void random(Engine& e, const Operands&) { e.regs.log() = singleToText(e.random01(), e.sep); }
    static void stackSum(Engine& e, const Operands&) { e.regs.log() = e.text(e.stackWalk(false)); }
    static void stackProduct(Engine& e, const Operands&) { e.regs.log() = e.text(e.stackWalk(true)); }
    static void memoryRecall(Engine& e, const Operands&) { e.regs.log() = e.memoria; }
    static void memoryAdd(Engine& e, const Operands& o) { e.memoryArithmetic(o, +1); }
    static void memorySubtract(Engine& e, const Operands& o) { e.memoryArithmetic(o, -1); }

    // The new text replaces the old: no clearing first, which a clipboard
    // bridge (XWayland's) can take for two owners at once.
    static void copy(Engine& e, const Operands&) {
        platform::Clipboard* c = e.clipboard;
        if (!c || !c->setText(e.regs.log())) throw Failure{kClipboardFailure};
    }
    // The clipboard's answer ends the key, at once or later.
    static void paste(Engine& e, const Operands&) { e.paste(); }
    // "min" and ">MEM" take only a number, and then empty the log.
    static void memoryStore(Engine& e, const Operands&) {
        std::string& log = e.regs.log();
        if (!isNumeric(log, e.sep)) return;
        e.memoria = log;
        log.clear();
    }
    static void toMemoryList(Engine& e, const Operands&) {
        std::string& log = e.regs.log();
        if (!isNumeric(log, e.sep)) return;
        e.memoryList.push(log);
        log.clear();
    }
    static void clearLog(Engine& e, const Operands&) {
        if (!e.regs.log().empty())
            e.regs.log().clear();
        else
            e.regs.retroceder();
    }

    static void sin(Engine& e, const Operands& o) { e.circular(o, std::sin, std::sinh); }
    static void cos(Engine& e, const Operands& o) { e.circular(o, std::cos, std::cosh); }
    static void tan(Engine& e, const Operands& o) { e.circular(o, std::tan, std::tanh); }
    static void asin(Engine& e, const Operands& o) { e.inverse(o, Key::Asin); }
    static void acos(Engine& e, const Operands& o) { e.inverse(o, Key::Acos); }
    static void atan(Engine& e, const Operands& o) { e.inverse(o, Key::Atan); }
    static void toRectangular(Engine& e, const Operands& o) { e.toRectangular(o); }
    static void toPolar(Engine& e, const Operands& o) { e.toPolar(o); }

    // The keyboard's "%" divides by 100 where the keypad's multiplies by 0.01.
    static void hundredth(Engine& e, const Operands& o) { e.regs.log() = e.text(e.value(o.x) / 100); }
};

namespace {

constexpr double kPesetasPerEuro = 166.386;
constexpr double kVatRate = 0.16;
// The price without VAT: 1 / 1.16, as the key has always written it.
constexpr double kNetOfVat = 0.862068965517241;

double add(double y, double x) { return y + x; }
double subtract(double y, double x) { return y - x; }
double times(double y, double x) { return x * y; }
double quotient(double y, double x) { return divide(y, x); }
double remainder(double y, double x) {
    const double q = std::trunc(divide(y, x));
    return chk(y - chk(x * q));
}
double power(double y, double x) {
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
double root(double y, double x) {
    if (y > 0) return chk(std::exp(chk(divide(1, x) * std::log(y))));
    if (y == 0) {
        if (x > 0) return 0;
        throw Failure{kDivisionByZero};
    }
    // The odd root of a negative number is the negative real root.
    if (!isOddInteger(x)) throw Failure{kInvalidArgument};
    return -chk(std::exp(chk(divide(1, x) * std::log(-y))));
}

double exp(double v) { return std::exp(v); }
double negate(double v) { return -v; }
double abs(double v) { return std::fabs(v); }
double square(double v) { return v * v; }
double reciprocal(double v) { return divide(1, v); }
double log10(double v) { return lnOf(v) / std::log(10.0); }
double percent(double v) { return v * 0.01; }
double factorial(double v) { return countingProduct(v); }
double vatAmount(double v) { return v * kVatRate; }
double withVat(double v) { return v * (1 + kVatRate); }
double withoutVat(double v) { return v * kNetOfVat; }
double toPesetas(double v) { return v * kPesetasPerEuro; }
double toEuros(double v) { return v / kPesetasPerEuro; }
double fix(double v) { return chk(100 * std::trunc(v)) / 100; }
double integer(double v) { return chk(100 * std::floor(v)) / 100; }
double fraction(double v) { return chk(chk(1000 * v) - chk(1000 * std::trunc(v))) / 1000; }
double tenPower(double v) { return std::exp(chk(v * std::log(10.0))); }

constexpr char kE[] = "E", kMinus[] = "-", kTwoZeros[] = "00", kThreeZeros[] = "000";
constexpr double kPi = Engine::kPi, kEuler = Engine::kE;

using K = Keypad;

// Every key of the keypad, in the order of its index. The caption is the
// label's own; the legend is painted on the key's face.
const KeyRow kRows[kKeys] = {
    {Key::Add, "", "+", "Add the LOG to level 1", "", K::binary<add>},
    {Key::Subtract, "", "−", "Subtract the LOG from level 1", "", K::binary<subtract>},
    {Key::Multiply, "", "×", "Multiply level 1 by the LOG", "", K::binaryXFirst<times>},
    {Key::Divide, "", "÷", "Divide level 1 by the LOG", "", K::binary<quotient>},
    {Key::Backspace, "", "←", "Delete last number in LOG", "", K::backspace},
    {Key::Undo, "undo", "", "undo: the stack before the last key (Ctrl+Z)", "", K::undo},
    {Key::ClearStack, "", "DEL", "Delete STACK content", "", K::clearStack},
    {Key::Ln, "ln", "", "ln: natural logarithm", "", K::unary<lnOf>},
    {Key::Exponent, "", "EEX", "EEX: type an exponent", "", K::type<kE>},
    {Key::Exp, "e^x", "", "e^x: e raised to x", "", K::unary<exp>},
    {Key::ChangeSign, "", "+/-", "+/-: change the sign", "", K::unary<negate>},
    {Key::Abs, "abs", "", "abs: absolute value", "", K::unary<abs>},
    {Key::Enter, "", "ENTER", "ENTER: push the LOG onto the stack", "", K::enter},
    {Key::LetterX, "X", "", "X: no function", "X key", nullptr},
    {Key::LetterY, "Y", "", "Y: no function", "Y key", nullptr},
    {Key::DecimalPoint, "", ".", "Decimal point", "", K::decimalPoint},
    {Key::ThreeZeros, "000", "", "000: type three zeros", "", K::type<kThreeZeros>},
    {Key::Pi, "PI", "", "PI: the number pi", "", K::constant<&kPi>},
    {Key::E, "e", "", "e: the number e", "e constant", K::constant<&kEuler>},
    {Key::Random, "RND", "", "Random number generator", "", K::random},
    {Key::Sin, "", "SIN", "SIN: sine, hyperbolic with HYP", "", K::sin},
    {Key::Asin, "asin", "", "asin: arc sine", "", K::asin},
    {Key::Cos, "", "COS", "COS: cosine, hyperbolic with HYP", "", K::cos},
    {Key::Acos, "acos", "", "acos: arc cosine", "", K::acos},
    {Key::Tan, "", "TAN", "TAN: tangent, hyperbolic with HYP", "", K::tan},
    {Key::Atan, "atan", "", "atan: arc tangent", "", K::atan},
    {Key::Sqrt, "", "√x", "Square root", "", K::unary<sqrtOf>},
    {Key::Square, "x2", "", "x2: square", "", K::unary<square>},
    {Key::Power, "", "y^x", "y^x: level 1 raised to x", "", K::binary<power>},
    {Key::Root, "y/x", "", "y/x: the x-th root of level 1", "", K::binary<root>},
    {Key::Reciprocal, "", "1/x", "1/x: reciprocal", "", K::unary<reciprocal>},
    {Key::Log10, "log", "", "log: common logarithm", "", K::unary<log10>},
    {Key::Percent, "%", "", "%: the LOG as a percentage", "", K::unary<percent>},
    {Key::StackSum, "++", "", "++: sum of the stack", "", K::stackSum},
    {Key::ExponentMinus, "E(-)", "", "Negative exponent", "", K::type<kMinus>},
    {Key::StackProduct, "xx", "", "xx: product of the stack", "", K::stackProduct},
    {Key::Remainder, "r a/b", "", "r a/b: remainder of level 1 divided by the LOG", "", K::binary<remainder>},
    {Key::Hyp, "hyp", "", "Hyperbolic function. Use in sin, asin, cos, acos, tan, atan.", "", nullptr},
    {Key::Factorial, "x!", "", "x!: factorial", "", K::unary<factorial>},
    {Key::ToRectangular, "x,y", "", "x,y: polar to rectangular", "", K::toRectangular},
    {Key::ToPolar, "r,a", "", "r,a: rectangular to polar", "", K::toPolar},
    {Key::VatAmount, "IVA", "", "IVA: VAT amount (16 %)", "", K::unary<vatAmount>},
    {Key::WithVat, "+", "", "+: price with VAT (16 %)", "+ VAT", K::unary<withVat>},
    {Key::EurosToPesetas, "pta", "", "pta: euros to pesetas", "", K::unary<toPesetas>},
    {Key::PesetasToEuros, "eur", "", "eur: pesetas to euros", "", K::unary<toEuros>},
    {Key::TwoZeros, "00", "", "00: type two zeros", "", K::type<kTwoZeros>},
    {Key::MemoryRecall, "MR", "", "MR: recall the memory into the LOG", "", K::memoryRecall},
    {Key::Copy, "cpy", "", "Copy the log to the clipboard", "", K::copy},
    {Key::Paste, "pst", "", "Paste the clipboard into the log", "", K::paste},
    {Key::MemoryAdd, "M+", "", "M+: add the LOG to the memory", "", K::memoryAdd},
    {Key::MemorySubtract, "M-", "", "M-: subtract the LOG from the memory", "", K::memorySubtract},
    {Key::Fix, "FIX", "", "FIX: integer part, truncated", "", K::unary<fix>},
    {Key::Int, "INT", "", "INT: integer part, rounded down", "", K::unary<integer>},
    {Key::Dec, "DEC", "", "DEC: fractional part", "", K::unary<fraction>},
    {Key::MemoryStore, "min", "", "min: store the LOG in the memory", "", K::memoryStore},
    {Key::ToMemoryList, ">MEM", "", "Save the LOG in MEM screen", "", K::toMemoryList},
    {Key::LetterSmallF, "f", "", "f: no function", "", nullptr},
    {Key::LetterA, "A", "", "A: no function", "A key", nullptr},
    {Key::LetterB, "B", "", "B: no function", "B key", nullptr},
    {Key::LetterC, "C", "", "C: no function", "C key", nullptr},
    {Key::LetterD, "D", "", "D: no function", "D key", nullptr},
    {Key::LetterE, "E", "", "E: no function", "E key", nullptr},
    {Key::LetterF, "F", "", "F: no function", "F key", nullptr},
    {Key::WithoutVat, "-", "", "-: price without VAT (16 %)", "- VAT", K::unary<withoutVat>},
    {Key::TenPower, "10^x", "", "10^x: 10 raised to x", "", K::unary<tenPower>},
    {Key::ClearLog, "del>", "", "Delete LOG content", "", K::clearLog},
};

// The keyboard's characters that act like a key: the same operation, under
// the keyboard's policy. Only the four operators take an undo snapshot.
struct KeyboardRow {
    int code;
    Key key;
    bool snapshot;
    KeyOperation own;  // the keyboard's own formula, where it differs from the key's
};

constexpr int kBackspaceCode = 8, kReturnCode = 13;

const KeyboardRow kKeyboard[] = {
    {',', Key::DecimalPoint, false, nullptr},   {'.', Key::DecimalPoint, false, nullptr},
    {'E', Key::Exponent, false, nullptr},       {'e', Key::Exponent, false, nullptr},
    {'_', Key::ExponentMinus, false, nullptr},  {'#', Key::ChangeSign, false, nullptr},
    {'S', Key::Square, false, nullptr},         {'s', Key::Square, false, nullptr},
    {'R', Key::Sqrt, false, nullptr},           {'r', Key::Sqrt, false, nullptr},
    {'<', Key::PesetasToEuros, false, nullptr}, {'>', Key::EurosToPesetas, false, nullptr},
    {'%', Key::Percent, false, K::hundredth},   {'I', Key::Reciprocal, false, nullptr},
    {'i', Key::Reciprocal, false, nullptr},     {kBackspaceCode, Key::Backspace, false, nullptr},
    {kReturnCode, Key::Enter, false, nullptr},  {'+', Key::Add, true, nullptr},
    {'-', Key::Subtract, true, nullptr},        {'*', Key::Multiply, true, nullptr},
    {'/', Key::Divide, true, nullptr},
};

}  // namespace

bool keyOf(int index, Key& key) {
    if (index < 0 || index >= kKeys) return false;
    key = static_cast<Key>(index);
    return true;
}

const KeyRow& keyRow(Key k) { return kRows[indexOf(k)]; }

void Engine::run(KeyOperation op) {
    // The operands as the key found them.
    const std::string x = regs.cur[0];
    const std::string y = regs.cur[1];
    op(*this, Operands{x, y});
}

// The keyboard's operations read their operands before they write any
// register: they need no copies.
void Engine::runInPlace(KeyOperation op) { op(*this, Operands{regs.cur[0], regs.cur[1]}); }

namespace {

// The keyboard's rows by character code.
const KeyboardRow* keyboardRow(int code) {
    static const auto byCode = [] {
        std::array<const KeyboardRow*, 128> t{};
        for (const KeyboardRow& k : kKeyboard) t[static_cast<size_t>(k.code)] = &k;
        return t;
    }();
    return code >= 0 && code < static_cast<int>(byCode.size()) ? byCode[static_cast<size_t>(code)] : nullptr;
}

}  // namespace

bool Engine::press(Key key) {
    // While "pst" waits for the clipboard the window model holds every key.
    if (pasting_) return false;
    if (key != Key::Undo) regs.guardarpila();
    const KeyOperation op = keyRow(key).operation;
    try {
        const unsigned long failures = err.failures;
        if (op) run(op);
        // "pst" ends with the clipboard's answer, which may come later.
        if (key == Key::Paste) return err.failures == failures;
        regs.keyDone();
        return true;
    } catch (const Failure& f) {
        // A failing key changes nothing: the registers and the snapshot are
        // as they were before it.
        regs.keyFailed();
        err.report(f.number);
        return false;
    }
}

bool Engine::tecla_Click(int index) {
    Key key;
    if (keyOf(index, key)) return press(key);
    if (pasting_) return false;
    // An index beyond the keypad still takes the snapshot, and does nothing.
    regs.guardarpila();
    regs.keyDone();
    return true;
}

void Engine::Form_KeyPress(int code) {
    if (pasting_) return;
    try {
        if (code >= '0' && code <= '9') {
            append(std::string(1, static_cast<char>(code)));
            return;
        }
        if (const KeyboardRow* k = keyboardRow(code)) {
            if (k->snapshot) regs.guardarpila();
            runInPlace(k->own ? k->own : keyRow(k->key).operation);
            regs.keyDone();
        }
    } catch (const Failure& f) {
        regs.keyFailed();
        err.quietFailure(f.number);
    }
}

}  // namespace morvane
