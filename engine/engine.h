// The calculation engine: registers, number entry, the keypad, angle modes,
// the error report and the main memory. Everything is text in, text out: a
// key reads register texts, computes in double precision and writes texts.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "errors.h"
#include "keys.h"
#include "memory.h"
#include "modes.h"
#include "platform/clipboard.h"
#include "registers.h"

namespace morvane {

// No register text is ever longer: no real number text comes near it, and
// nothing can take the window hostage with a huge text.
constexpr size_t kTextBound = 65536;

class Engine {
public:
    Engine();

    // The window constants, each the double nearest to its 15-digit decimal.
    static constexpr double kPi = 3.14159265358979;
    static constexpr double kE = 2.71828182845905;

    Registers regs;
    AngleUnit angle = AngleUnit::Degrees;
    bool hyperbolic = false;    // the prefix "HYP" of the next trigonometric key
    std::string memoria = "0";  // the main memory
    StoredValues memoryList;
    ErrorReport err;
    char sep = '.';  // the regional decimal separator
    platform::Clipboard* clipboard = nullptr;
    // Called after an answer that comes after its key (the clipboard's text
    // for "pst", a printer's verdict) has been applied: the window model
    // shows it and runs the events that waited for it.
    std::function<void()> answered;

    // Digit keys numero(0..9): append the digit; no snapshot.
    void numero_Click(int digit);
    // A keypad key: the snapshot (unless "undo"), then the key's operation.
    // A failing key changes nothing, its snapshot included, and reports the
    // failure. Returns true when the key ran to its end without a failure
    // (for a "pst" whose answer comes later, when the read of the clipboard
    // began).
    bool press(Key key);
    // A click on tecla(index).
    bool tecla_Click(int index);
    // The keyboard map; a failing key changes nothing and only turns the
    // error indicator red.
    void Form_KeyPress(int code);
    // True from "pst" until the clipboard's answer: the key has not ended,
    // and no other key may act before it has (the window model holds them).
    bool pasting() const { return pasting_; }
    // Combinatorics keys " V", " VR", " C"; failures are silent.
    void vcp_Click(int index);
    // Angle conversion of the log: 1 to radians, 2 from radians.
    void transformar(int mode);

    // Conversions that fail the way the keypad reports them.
    double value(const std::string& t) const;  // 13 not a number, 6 overflow
    std::string text(double v) const;          // 6 beyond range, 5 undefined

    void reseed(std::uint64_t seed) { rng_.seed(static_cast<std::mt19937::result_type>(seed)); }

private:
    friend struct Keypad;
    // Runs an operation on the operands as they are now; throws Failure.
    void run(KeyOperation op);
    void runInPlace(KeyOperation op);
    // "pst" in two steps: the key asks the clipboard; its answer writes the
    // log, or fails the key.
    void paste();
    void pasted(platform::Clipboard::Read read, std::string text);
    void decimalPoint();
    // Appends to the log; throws Failure{kTooLong} past the bound.
    void append(std::string_view s);
    void backspace();
    double stackWalk(bool product);
    void memoryArithmetic(const Operands& o, int sign);
    float random01();
    void circular(const Operands& o, double (*f)(double), double (*hyperbolicF)(double));
    void inverse(const Operands& o, Key key);
    void toRectangular(const Operands& o);
    void toPolar(const Operands& o);

    std::mt19937 rng_;
    bool pasting_ = false;
};

}  // namespace morvane
