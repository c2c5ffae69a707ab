// The keypad handler tecla_Click over the engine alone: every key's row, the
// error report of a failing key, the angle modes and the main memory. Every
// case runs with both regional separators; numbers below are written with a
// point and converted to the separator under test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <set>
#include <string>

#include "engine/engine.h"
#include "engine/numtext.h"
#include "platform/fake.h"

namespace morvane {

// Failure messages name a key by its index.
std::ostream& operator<<(std::ostream& o, Key k) { return o << "tecla(" << indexOf(k) << ")"; }

namespace {

const char* const kMsg5 =
    "Intenta realizar una operación matemática no válida, como una raiz o un logaritmo de un número negativo";
const char* const kMsg6 =
    "La operación que intenta realizar excede la capacidad de cálculo de la aplicación. Utilice números más "
    "pequeños.";
const char* const kMsg11 = "Ha intentado dividir por cero. Esta operación es incorrecta.";
const char* const kMsg13 = "Intenta realizar una operación sin haber introducido todos los parámetros requeridos";

using Texts = std::array<std::string, kRegisters>;

// The unit that the status line's caption names.
AngleUnit unitOf(const std::string& caption) {
    return caption == "GRA" ? AngleUnit::Grads : caption == "RAD" ? AngleUnit::Radians : AngleUnit::Degrees;
}

const char* message(int number) {
    switch (number) {
        case 5:
            return kMsg5;
        case 6:
            return kMsg6;
        case 11:
            return kMsg11;
        case 13:
            return kMsg13;
        case 7:
            return "El texto es demasiado largo: un registro admite como máximo 65536 caracteres.";
        case 521:
            return "No se ha podido usar el portapapeles del sistema.";
        default:
            return nullptr;
    }
}

class Keypad : public ::testing::TestWithParam<char> {
protected:
    Engine e;
    platform::FakeClipboard clip;

    void SetUp() override {
        e.sep = GetParam();
        e.clipboard = &clip;
    }

    // A number written with a point, in the separator under test.
    std::string n(std::string t) const {
        for (char& c : t)
            if (c == '.') c = e.sep;
        return t;
    }

    // Sets the log, level 1, level 2, ... (point-written) and empties the rest.
    void stack(std::initializer_list<const char*> texts) {
        e.regs.clear();
        int i = 0;
        for (const char* t : texts) e.regs.cur[static_cast<size_t>(i++)] = n(t);
    }

    // The log after pressing key with the log x (and level 1 y when given).
    std::string run(Key key, const char* x, const char* y = nullptr) {
        if (y)
            stack({x, y});
        else
            stack({x});
        EXPECT_TRUE(e.press(key)) << "key " << key << " x " << x;
        return e.regs.log();
    }

    // Presses key on the current registers, expects failure number, and
    // checks that nothing changed: no register, and not the undo snapshot
    // either (undo gives what it gave before the key).
    void fails(Key key, int number) {
        const Texts before = e.regs.cur;
        const Texts snapshot = e.regs.saved;
        const std::string memory = e.memoria;
        const auto list = e.memoryList;
        const std::string numero = e.err.numero, descripcion = e.err.descripcion;
        EXPECT_FALSE(e.press(key)) << "key " << key << " on log \"" << before[0] << "\"";
        EXPECT_EQ(e.err.indicator, "E " + std::to_string(number)) << "key " << key;
        if (const char* m = message(number)) {
            EXPECT_EQ(e.err.numero, "ERROR E-" + std::to_string(number)) << "key " << key;
            EXPECT_EQ(e.err.descripcion, m) << "key " << key;
        } else {
            // a number without a message of its own leaves the panel's texts
            EXPECT_EQ(e.err.numero, numero);
            EXPECT_EQ(e.err.descripcion, descripcion);
        }
        EXPECT_TRUE(e.err.visible);
        EXPECT_EQ(e.err.indicatorBack, kSelectionRed);
        EXPECT_EQ(e.regs.cur, before) << "key " << key << " changed a register";
        EXPECT_EQ(e.regs.saved, snapshot) << "key " << key << " replaced the undo snapshot";
        EXPECT_EQ(e.memoria, memory);
        EXPECT_EQ(e.memoryList.items(), list.items());
        e.err.visible = false;  // the OK soft key
    }

    void fails(Key key, std::initializer_list<const char*> texts, int number) {
        stack(texts);
        fails(key, number);
    }

    double logValue() const {
        double v = 0;
        EXPECT_EQ(textToNumber(e.regs.log(), e.sep, v), Conv::Ok) << e.regs.log();
        return v;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, Keypad, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

// ---------------------------------------------------------------- arithmetic

TEST_P(Keypad, BinaryArithmeticWritesTheLogThenDrops) {
    struct Case {
        Key key;
        const char *x, *y, *result;
    } cases[] = {
        {Key::Add, "2", "3", "5"},
        {Key::Subtract, "2", "3", "1"},
        {Key::Multiply, "2", "3", "6"},
        {Key::Divide, "2", "3", "1.5"},
        {Key::Divide, "3", "2", "0.666666666666667"},
        {Key::Add, "0.1", "0.2", "0.3"},
        {Key::Subtract, "-2.5", "1E20", "1E+20"},
        {Key::Remainder, "2", "7.5", "1.5"},
        {Key::Remainder, "3", "-7", "-1"},
        {Key::Remainder, "-3", "7", "1"},
        {Key::Remainder, "0.5", "2", "0"},
        {Key::Multiply, "1E200", "-1E100", "-1E+300"},
    };
    for (const Case& c : cases) {
        stack({c.x, c.y, "9", "8"});
        e.regs.cur[20] = "20";
        ASSERT_TRUE(e.press(c.key)) << c.key;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << ": " << c.y << " op " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "8");
        EXPECT_EQ(e.regs.cur[3], "");
        EXPECT_EQ(e.regs.cur[19], "20") << "the drop moves level 20 down";
        EXPECT_EQ(e.regs.cur[20], "");
        // undo brings back the operands
        ASSERT_TRUE(e.press(Key::Undo));
        EXPECT_EQ(e.regs.log(), n(c.x));
        EXPECT_EQ(e.regs.cur[1], n(c.y));
        EXPECT_EQ(e.regs.cur[20], "20");
    }
}

TEST_P(Keypad, BinaryArithmeticFailuresChangeNothing) {
    for (Key key : {Key::Add, Key::Subtract, Key::Multiply, Key::Divide, Key::Remainder}) {
        fails(key, {"2", ""}, kTypeMismatch);      // empty level 1
        fails(key, {"", "3"}, kTypeMismatch);      // empty log
        fails(key, {"12E-", "3"}, kTypeMismatch);  // half-typed number
        fails(key, {"2", "abc"}, kTypeMismatch);
    }
    fails(Key::Divide, {"0", "5"}, kDivisionByZero);
    fails(Key::Divide, {"0", "0"}, kDivisionByZero);
    fails(Key::Remainder, {"0", "5"}, kDivisionByZero);
    // results and intermediates beyond the double range
    fails(Key::Multiply, {"10", "1E308"}, kOverflow);
    fails(Key::Add, {"1.7E308", "1.7E308"}, kOverflow);
    fails(Key::Subtract, {"1.7E308", "-1.7E308"}, kOverflow);
    fails(Key::Divide, {"1E-10", "1E300"}, kOverflow);
    fails(Key::Remainder, {"1E-300", "1E300"}, kOverflow);  // y / x overflows before the trunc
    // A result within the range whose 15-digit text is not: it would not read back.
    fails(Key::Multiply, {"1.000000000000003", "1.79769313486231E308"}, kOverflow);
    stack({"1", "1.79769313486231E308"});
    ASSERT_TRUE(e.press(Key::Multiply));
    EXPECT_EQ(e.regs.log(), n("1.79769313486231E+308"));
}

// ---------------------------------------------------------------- powers and roots

TEST_P(Keypad, PowerAndRootGiveTheRealResult) {
    struct Case {
        Key key;
        const char *x, *y, *result;
    } cases[] = {
        {Key::Power, "10", "2", "1024"},  {Key::Power, "0.5", "2", "1.41421356237309"},
        {Key::Power, "2", "0", "0"},      {Key::Power, "0", "0", "1"},
        {Key::Power, "0", "5", "1"},      {Key::Power, "3", "-2", "-8"},
        {Key::Power, "4", "-2", "16"},    {Key::Power, "-3", "-2", "-0.125"},
        {Key::Power, "-2", "10", "0.01"}, {Key::Power, "1000", "1", "1"},
        {Key::Root, "3", "27", "3"},      {Key::Root, "2", "2.5", "1.58113883008419"},
        {Key::Root, "3", "-8", "-2"},     {Key::Root, "-3", "-8", "-0.5"},
        {Key::Root, "2", "0", "0"},       {Key::Root, "0.5", "3", "9"},
    };
    for (const Case& c : cases) {
        stack({c.x, c.y, "7"});
        ASSERT_TRUE(e.press(c.key)) << c.key << " " << c.y << " " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << " y=" << c.y << " x=" << c.x;
        EXPECT_EQ(e.regs.cur[1], "7") << "level 1 is consumed";
        EXPECT_EQ(e.regs.cur[2], "");
    }
}

TEST_P(Keypad, FailingPowerOrRootKeepsLevelOne) {
    fails(Key::Power, {"-1", "0", "7"}, kDivisionByZero);  // 0^x with x < 0
    fails(Key::Power, {"0.5", "-2", "7"}, kInvalidArgument);
    fails(Key::Power, {"-0.5", "-8", "7"}, kInvalidArgument);
    fails(Key::Power, {"400", "10", "7"}, kOverflow);
    fails(Key::Power, {"1E308", "10", "7"}, kOverflow);  // x * ln y itself overflows
    fails(Key::Power, {"1025", "-2", "7"}, kOverflow);   // a signed power beyond the range
    fails(Key::Power, {"2", "", "7"}, kTypeMismatch);
    fails(Key::Root, {"2", "-8", "7"}, kInvalidArgument);  // even root of a negative number
    fails(Key::Root, {"0.5", "-8", "7"}, kInvalidArgument);
    fails(Key::Root, {"0", "8", "7"}, kDivisionByZero);   // 1 / x
    fails(Key::Root, {"-2", "0", "7"}, kDivisionByZero);  // 0 to a negative power
    fails(Key::Root, {"0", "0", "7"}, kDivisionByZero);
    fails(Key::Root, {"1E-300", "10", "7"}, kOverflow);
    fails(Key::Root, {"3", "x", "7"}, kTypeMismatch);
}

TEST_P(Keypad, TinyPowersUnderflowToZero) {
    EXPECT_EQ(run(Key::Power, "-400", "10"), "0");
    EXPECT_EQ(run(Key::TenPower, "-400"), "0");
    EXPECT_EQ(run(Key::Exp, "-1000"), "0");
}

// ---------------------------------------------------------------- one-operand keys

TEST_P(Keypad, OneOperandKeysReplaceTheLogOnly) {
    struct Case {
        Key key;
        const char *x, *result;
    } cases[] = {
        {Key::Ln, "2", "0.693147180559945"},
        {Key::Ln, "1", "0"},
        {Key::Log10, "1000", "3"},
        {Key::Log10, "0.01", "-2"},
        {Key::Exp, "1", "2.71828182845905"},
        {Key::Exp, "0", "1"},
        {Key::Exp, "709.7", "1.65498402768026E+308"},
        {Key::TenPower, "3", "1000"},
        {Key::TenPower, "-2", "0.01"},
        {Key::TenPower, "308", "1.00000000000001E+308"},
        {Key::Sqrt, "2", "1.4142135623731"},
        {Key::Sqrt, "0", "0"},
        {Key::Sqrt, "6.25", "2.5"},
        {Key::Square, "-3", "9"},
        {Key::Square, "1E154", "1E+308"},
        {Key::Square, "0.5", "0.25"},
        {Key::Reciprocal, "4", "0.25"},
        {Key::Reciprocal, "-8", "-0.125"},
        {Key::Reciprocal, "3", "0.333333333333333"},
        {Key::ChangeSign, "5", "-5"},
        {Key::ChangeSign, "-2.5", "2.5"},
        {Key::ChangeSign, "0", "0"},
        {Key::Abs, "-2.5", "2.5"},
        {Key::Abs, "7", "7"},
        {Key::Percent, "50", "0.5"},
        {Key::Percent, "-3", "-0.03"},
        {Key::VatAmount, "100", "16"},
        {Key::WithVat, "100", "116"},
        {Key::WithoutVat, "116", "100"},
        {Key::WithoutVat, "100", "86.2068965517241"},
        {Key::WithoutVat, "4", "3.44827586206896"},  // the 15-digit factor, not 4 / 1.16
        {Key::EurosToPesetas, "1", "166.386"},
        {Key::EurosToPesetas, "2.5", "415.965"},
        {Key::PesetasToEuros, "166.386", "1"},
        {Key::PesetasToEuros, "1", "0.00601012104383782"},
        {Key::Factorial, "0", "1"},
        {Key::Factorial, "0.5", "1"},
        {Key::Factorial, "-3", "1"},
        {Key::Factorial, "1", "1"},
        {Key::Factorial, "3.7", "6"},
        {Key::Factorial, "5", "120"},
        {Key::Factorial, "170", "7.25741561530799E+306"},
        {Key::Fix, "3.7", "3"},
        {Key::Fix, "-3.7", "-3"},
        {Key::Fix, "-0.5", "0"},
        {Key::Fix, "1E300", "1E+300"},
        {Key::Fix, "-1E300", "-1E+300"},
        {Key::Int, "3.7", "3"},
        {Key::Int, "-3.7", "-4"},
        {Key::Int, "-0.5", "-1"},
        {Key::Int, "5", "5"},
        {Key::Int, "-1E300", "-1E+300"},
        {Key::Dec, "3.7", "0.7"},
        {Key::Dec, "-3.7", "-0.7"},
        {Key::Dec, "123.456", "0.456"},
        {Key::Dec, "5", "0"},
        {Key::Dec, "1E300", "0"},
        {Key::Dec, "-0.25", "-0.25"},
    };
    for (const Case& c : cases) {
        stack({c.x, "9", "8"});
        ASSERT_TRUE(e.press(c.key)) << "key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9") << "key " << c.key;
        EXPECT_EQ(e.regs.cur[2], "8") << "key " << c.key;
        EXPECT_EQ(e.regs.saved[0], n(c.x)) << "key " << c.key << " took no snapshot";
    }
}

TEST_P(Keypad, OneOperandFailures) {
    for (Key key : {Key::Ln, Key::Exp, Key::ChangeSign, Key::Abs, Key::Sqrt, Key::Square, Key::Reciprocal, Key::Log10,
                    Key::Percent, Key::Factorial, Key::VatAmount, Key::WithVat, Key::EurosToPesetas,
                    Key::PesetasToEuros, Key::Fix, Key::Int, Key::Dec, Key::WithoutVat, Key::TenPower}) {
        fails(key, {"", "9"}, kTypeMismatch);
        fails(key, {"abc", "9"}, kTypeMismatch);
        fails(key, {"1E", "9"}, kTypeMismatch);
        fails(key, {"inf", "9"}, kTypeMismatch);
        fails(key, {"nan", "9"}, kTypeMismatch);
        fails(key, {"1E400", "9"}, kOverflow);  // an operand beyond the range
    }
    fails(Key::Ln, {"0"}, kInvalidArgument);
    fails(Key::Ln, {"-1"}, kInvalidArgument);
    fails(Key::Log10, {"0"}, kInvalidArgument);
    fails(Key::Log10, {"-5"}, kInvalidArgument);
    fails(Key::Sqrt, {"-1"}, kInvalidArgument);
    fails(Key::Sqrt, {"-1E-300"}, kInvalidArgument);
    fails(Key::Reciprocal, {"0"}, kDivisionByZero);
    fails(Key::Reciprocal, {"-0"}, kDivisionByZero);
    fails(Key::Reciprocal, {"1E-320"}, kOverflow);  // a subnormal's reciprocal
    fails(Key::Exp, {"710"}, kOverflow);
    fails(Key::Exp, {"1000"}, kOverflow);
    fails(Key::TenPower, {"308.3"}, kOverflow);
    fails(Key::TenPower, {"1E308"}, kOverflow);
    fails(Key::TenPower, {"-1E308"}, kOverflow);  // x * ln 10 is beyond the range
    fails(Key::Square, {"1E155"}, kOverflow);
    fails(Key::Square, {"-1E155"}, kOverflow);
    fails(Key::Factorial, {"171"}, kOverflow);
    fails(Key::Factorial, {"1E308"}, kOverflow);
    fails(Key::Fix, {"1E307"}, kOverflow);   // 100 * trunc(x)
    fails(Key::Int, {"-1E307"}, kOverflow);  // 100 * floor(x)
    fails(Key::Dec, {"1E306"}, kOverflow);   // 1000 * x
    fails(Key::WithVat, {"1.6E308"}, kOverflow);
    fails(Key::EurosToPesetas, {"1E307"}, kOverflow);
}

// ---------------------------------------------------------------- stack sum and product

TEST_P(Keypad, StackSumWalksTheLogAndLevelsOneToNineteen) {
    stack({"1", "2", "", "4.5"});
    e.regs.cur[19] = "10";
    e.regs.cur[20] = "100";
    ASSERT_TRUE(e.press(Key::StackSum));
    EXPECT_EQ(e.regs.log(), n("17.5"));
    for (int i = 1; i <= 19; ++i) EXPECT_EQ(e.regs.cur[static_cast<size_t>(i)], "") << i;
    EXPECT_EQ(e.regs.cur[20], "100") << "level 20 is neither added nor emptied";

    e.regs.clear();
    for (int i = 0; i <= 19; ++i) e.regs.cur[static_cast<size_t>(i)] = std::to_string(i + 1);
    ASSERT_TRUE(e.press(Key::StackSum));
    EXPECT_EQ(e.regs.log(), "210");

    e.regs.clear();
    ASSERT_TRUE(e.press(Key::StackSum));
    EXPECT_EQ(e.regs.log(), "0");
}

TEST_P(Keypad, StackProductWalksTheSameRegisters) {
    stack({"2", "", "-1.5"});
    e.regs.cur[19] = "3";
    e.regs.cur[20] = "5";
    ASSERT_TRUE(e.press(Key::StackProduct));
    EXPECT_EQ(e.regs.log(), "-9");
    for (int i = 1; i <= 19; ++i) EXPECT_EQ(e.regs.cur[static_cast<size_t>(i)], "") << i;
    EXPECT_EQ(e.regs.cur[20], "5");

    e.regs.clear();
    ASSERT_TRUE(e.press(Key::StackProduct));
    EXPECT_EQ(e.regs.log(), "1");
}

TEST_P(Keypad, FailingStackWalkEmptiesNothing) {
    for (Key key : {Key::StackSum, Key::StackProduct}) {
        stack({"1", "2", "3", "4", "5", "abc", "7"});
        e.regs.cur[20] = "8";
        fails(key, kTypeMismatch);
        stack({"12E-", "2"});
        fails(key, kTypeMismatch);
    }
    fails(Key::StackSum, {"1.7E308", "1.7E308", "1"}, kOverflow);
    fails(Key::StackProduct, {"1E200", "1", "1E200"}, kOverflow);
}

// ---------------------------------------------------------------- constants and random numbers

TEST_P(Keypad, ConstantsAreTheWindowValuesWithoutLift) {
    for (const char* log : {"", "12E-", "7", "abc"}) {
        stack({log, "9"});
        ASSERT_TRUE(e.press(Key::Pi));
        EXPECT_EQ(e.regs.log(), n("3.14159265358979"));
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "");
        ASSERT_TRUE(e.press(Key::E));
        EXPECT_EQ(e.regs.log(), n("2.71828182845905"));
        EXPECT_EQ(e.regs.cur[1], "9");
    }
    // The constants are the 15-digit ones, so π reads back as the same double.
    EXPECT_EQ(logValue(), 2.71828182845905);
}

int significantDigits(std::string t) {
    const auto ex = t.find('E');
    if (ex != std::string::npos) t.erase(ex);
    std::string digits;
    for (char c : t)
        if (c >= '0' && c <= '9') digits += c;
    digits.erase(0, digits.find_first_not_of('0'));
    return static_cast<int>(digits.size());
}

TEST_P(Keypad, RandomNumbersAreSinglePrecisionInZeroOne) {
    std::set<std::string> seen;
    std::string previous;
    for (int i = 0; i < 2000; ++i) {
        stack({"abc", "9"});
        ASSERT_TRUE(e.press(Key::Random));
        const std::string t = e.regs.log();
        const double v = logValue();
        EXPECT_GE(v, 0.0) << t;
        EXPECT_LT(v, 1.0) << t;
        EXPECT_LE(significantDigits(t), 7) << t;
        EXPECT_EQ(t.find(e.sep == ',' ? '.' : ','), std::string::npos) << t;
        EXPECT_EQ(e.regs.cur[1], "9");
        seen.insert(t);
    }
    // 2000 draws from 2^24 values: nearly all distinct, never a stuck generator.
    EXPECT_GT(seen.size(), 1990u);
}

TEST_P(Keypad, TwoRandomPressesDiffer) {
    // Two windows started at the same moment, and two presses in a row.
    Engine other;
    other.sep = e.sep;
    ASSERT_TRUE(e.press(Key::Random));
    const std::string first = e.regs.log();
    ASSERT_TRUE(e.press(Key::Random));
    EXPECT_NE(e.regs.log(), first);
    ASSERT_TRUE(other.press(Key::Random));
    EXPECT_NE(other.regs.log(), first);
}

// ---------------------------------------------------------------- clipboard

TEST_P(Keypad, CopyAndPasteGoThroughTheClipboard) {
    stack({"12.5", "9"});
    clip.content = "old";
    ASSERT_TRUE(e.press(Key::Copy));
    EXPECT_EQ(clip.content, n("12.5"));
    EXPECT_EQ(e.regs.log(), n("12.5"));
    EXPECT_EQ(e.regs.cur[1], "9");

    stack({"12E-"});
    ASSERT_TRUE(e.press(Key::Copy));
    EXPECT_EQ(clip.content, "12E-") << "the log's text as it is";

    clip.content = n("2.5");
    stack({"7", "9"});
    ASSERT_TRUE(e.press(Key::Paste));
    EXPECT_EQ(e.regs.log(), n("2.5"));
    EXPECT_EQ(e.regs.cur[1], "9");
    ASSERT_TRUE(e.press(Key::Square));
    EXPECT_EQ(e.regs.log(), n("6.25"));

    // A non-number is pasted without complaint; the next computing key fails.
    clip.content = "hola mundo";
    ASSERT_TRUE(e.press(Key::Paste));
    EXPECT_EQ(e.regs.log(), "hola mundo");
    fails(Key::Sqrt, kTypeMismatch);
    EXPECT_EQ(e.regs.log(), "hola mundo");

    clip.content = "";
    ASSERT_TRUE(e.press(Key::Paste));
    EXPECT_EQ(e.regs.log(), "");
}

TEST_P(Keypad, ClipboardFailureHasANumberAndATextOfItsOwn) {
    clip.failing = true;
    stack({"5"});
    fails(Key::Copy, kClipboardFailure);
    EXPECT_EQ(e.err.numero, "ERROR E-521");
    EXPECT_EQ(e.err.descripcion, "No se ha podido usar el portapapeles del sistema.");
    // Not the texts of the report before it.
    fails(Key::Reciprocal, {"0"}, kDivisionByZero);
    stack({"5"});
    fails(Key::Paste, kClipboardFailure);
    EXPECT_EQ(e.err.numero, "ERROR E-521");
    EXPECT_EQ(e.err.descripcion, "No se ha podido usar el portapapeles del sistema.");
    EXPECT_EQ(e.err.indicator, "E 521");
}

TEST_P(Keypad, PrintFailureHasATextOfItsOwnAndAnUnknownNumberKeepsTheTexts) {
    e.err.report(kPrintFailure);
    EXPECT_EQ(e.err.indicator, "E 482");
    EXPECT_EQ(e.err.numero, "ERROR E-482");
    EXPECT_EQ(e.err.descripcion,
              "No se ha podido imprimir la pila: no hay ninguna impresora disponible o la impresora ha "
              "rechazado el trabajo.");
    e.err.report(999);
    EXPECT_EQ(e.err.indicator, "E 999");
    EXPECT_EQ(e.err.numero, "ERROR E-482");
}

// ---------------------------------------------------------------- keys without a function

TEST_P(Keypad, KeysWithoutAFunctionOnlyTakeTheSnapshot) {
    for (int key : {13, 14, 37, 56, 57, 58, 59, 60, 61, 62, -1, 66, 1000}) {
        stack({"3", "2"});
        ASSERT_TRUE(e.press(Key::Add));
        e.numero_Click(7);  // no snapshot: saved still holds the state before "+"
        ASSERT_EQ(e.regs.saved[0], n("3"));
        const Texts before = e.regs.cur;
        ASSERT_TRUE(e.tecla_Click(key)) << key;
        EXPECT_EQ(e.regs.cur, before) << key;
        EXPECT_EQ(e.regs.saved, before) << "key " << key << " replaces the snapshot";
        EXPECT_FALSE(e.err.visible);
        EXPECT_FALSE(e.hyperbolic);
        EXPECT_EQ(e.angle, AngleUnit::Degrees);
        EXPECT_EQ(e.memoria, "0");
    }
}

// ---------------------------------------------------------------- error report and undo

TEST_P(Keypad, ErrorReportAndUndo) {
    EXPECT_FALSE(e.err.visible);
    EXPECT_EQ(e.err.indicator, "E ");
    // 5 ENTER 4 ENTER, then 0: undo gives 5 in the log and 4 in level 1.
    stack({"4", "5"});
    ASSERT_TRUE(e.press(Key::Enter));
    e.numero_Click(0);
    fails(Key::Divide, kDivisionByZero);
    EXPECT_EQ(e.err.indicator, "E 11");
    EXPECT_EQ(e.err.numero, "ERROR E-11");
    EXPECT_EQ(e.err.descripcion, kMsg11);

    // A second failure while the panel is shown rewrites its texts.
    e.err.visible = true;
    EXPECT_FALSE(e.press(Key::Ln));  // ln 0
    EXPECT_TRUE(e.err.visible);
    EXPECT_EQ(e.err.numero, "ERROR E-5");
    EXPECT_EQ(e.err.descripcion, kMsg5);
    EXPECT_EQ(e.err.indicator, "E 5");

    // Typing after the failures and then undo: what undo gave before the
    // failing keys, the snapshot of the last key that did not fail.
    e.numero_Click(1);
    e.numero_Click(2);
    ASSERT_TRUE(e.press(Key::Undo));
    EXPECT_EQ(e.regs.log(), "4");
    EXPECT_EQ(e.regs.cur[1], "5");
    EXPECT_EQ(e.regs.cur[2], "");
    ASSERT_TRUE(e.press(Key::Undo));
    EXPECT_EQ(e.regs.log(), "4");

    fails(Key::Exp, {"1000"}, kOverflow);
    EXPECT_EQ(e.err.numero, "ERROR E-6");
    fails(Key::Add, {"2", ""}, kTypeMismatch);
    EXPECT_EQ(e.err.numero, "ERROR E-13");
    EXPECT_EQ(e.err.indicator, "E 13");
}

// ---------------------------------------------------------------- angle modes

TEST_P(Keypad, TransformarConvertsTheLogInPlace) {
    e.angle = unitOf("DEG");
    stack({"180", "9"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("3.14159265358979"));
    e.transformar(2);
    EXPECT_EQ(e.regs.log(), "180");
    e.transformar(3);
    EXPECT_EQ(e.regs.log(), "180");
    e.transformar(0);
    EXPECT_EQ(e.regs.log(), "180");
    EXPECT_EQ(e.regs.cur[1], "9");

    e.angle = unitOf("GRA");
    stack({"200"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("3.14159265358979"));
    e.transformar(2);
    EXPECT_EQ(e.regs.log(), "200");
    stack({"50"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("0.785398163397448"));

    e.angle = unitOf("RAD");
    stack({"1.50"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("1.50")) << "unchanged, not even rewritten";
    e.transformar(2);
    EXPECT_EQ(e.regs.log(), n("1.50"));
    stack({""});
    EXPECT_NO_THROW(e.transformar(1));

    e.angle = unitOf("DEG");
    stack({""});
    try {
        e.transformar(1);
        ADD_FAILURE() << "an empty log converts";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number, kTypeMismatch);
    }
    stack({"1E308"});
    try {
        e.transformar(2);
        ADD_FAILURE() << "1E308 degrees from radians is finite";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number, kOverflow);
    }
}

struct TrigCase {
    const char* unit;
    Key key;
    const char *x, *result;
};

TEST_P(Keypad, CircularFunctionsInEachUnit) {
    const TrigCase cases[] = {
        {"DEG", Key::Sin, "180", "3.23108914886517E-15"},
        {"DEG", Key::Sin, "30", "0.499999999999999"},
        {"DEG", Key::Cos, "60", "0.499999999999998"},
        {"DEG", Key::Tan, "45", "0.999999999999999"},
        {"DEG", Key::Cos, "0", "1"},
        {"DEG", Key::Sin, "1", "0.0174524064372835"},
        {"GRA", Key::Sin, "100", "1"},
        {"GRA", Key::Sin, "200", "3.23108914886517E-15"},
        {"RAD", Key::Sin, "1", "0.841470984807897"},
        {"RAD", Key::Sin, "0", "0"},
        {"DEG", Key::Asin, "0.5", "30"},
        {"DEG", Key::Acos, "0.5", "60.0000000000002"},
        {"GRA", Key::Acos, "0.5", "66.6666666666669"},
        {"RAD", Key::Acos, "0.5", "1.0471975511966"},
        {"DEG", Key::Asin, "1", "90.0000000000003"},
        {"DEG", Key::Asin, "-1", "-90.0000000000003"},
        {"GRA", Key::Asin, "1", "100"},
        {"RAD", Key::Asin, "1", "1.5707963267949"},
        {"DEG", Key::Acos, "1", "0"},
        {"DEG", Key::Acos, "-1", "180"},
        {"GRA", Key::Acos, "-1", "200"},
        {"RAD", Key::Acos, "-1", "3.14159265358979"},
        {"DEG", Key::Acos, "0", "90.0000000000003"},
        {"DEG", Key::Atan, "1", "45"},
        {"GRA", Key::Atan, "1", "50"},
        {"RAD", Key::Atan, "1", "0.785398163397448"},
        {"DEG", Key::Atan, "1E300", "90.0000000000003"},
        {"DEG", Key::Asin, "0", "0"},
    };
    for (const TrigCase& c : cases) {
        e.angle = unitOf(c.unit);
        stack({c.x, "9"});
        ASSERT_TRUE(e.press(c.key)) << c.unit << " key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << c.unit << " key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "");
        EXPECT_FALSE(e.hyperbolic);
    }
}

TEST_P(Keypad, CircularFailuresLeaveTheAngleUnconverted) {
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        e.angle = unitOf(unit);
        for (Key key :
             {Key::Sin, Key::Asin, Key::Cos, Key::Acos, Key::Tan, Key::Atan, Key::ToRectangular, Key::ToPolar}) {
            fails(key, {"", "2"}, kTypeMismatch);
            fails(key, {"x", "2"}, kTypeMismatch);
        }
        fails(Key::Asin, {"2"}, kInvalidArgument);
        fails(Key::Asin, {"-1.0000001"}, kInvalidArgument);
        fails(Key::Acos, {"1.5"}, kInvalidArgument);
        fails(Key::Acos, {"-2"}, kInvalidArgument);
        fails(Key::ToRectangular, {"30", ""}, kTypeMismatch);  // no radius: the angle stays in degrees
        fails(Key::ToRectangular, {"30", "r"}, kTypeMismatch);
        fails(Key::ToPolar, {"4", ""}, kTypeMismatch);
        fails(Key::ToPolar, {"1E200", "1"}, kOverflow);  // the squares overflow
        fails(Key::ToPolar, {"1", "-1E200"}, kOverflow);
    }
    e.angle = unitOf("DEG");
    fails(Key::Asin, {"-3"}, kInvalidArgument);
}

TEST_P(Keypad, PolarAndRectangular) {
    e.angle = unitOf("DEG");
    stack({"30", "2", "7"});
    ASSERT_TRUE(e.press(Key::ToRectangular));
    EXPECT_EQ(e.regs.cur[1], n("1.73205080756888"));
    EXPECT_EQ(e.regs.log(), n("0.999999999999999"));
    EXPECT_EQ(e.regs.cur[2], "7") << "no drop, no lift";
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.cur[1], "2");
    EXPECT_EQ(e.regs.log(), "30");
    EXPECT_EQ(e.regs.cur[2], "7");

    stack({"4", "3"});
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.cur[1], "5");
    EXPECT_EQ(e.regs.log(), n("53.130102354156"));

    // The full circle: the quadrant follows the signs of the components.
    struct Case {
        const char *x, *y, *angle;
    } quadrants[] = {
        {"4", "-3", "126.869897645844"},
        {"-4", "-3", "-126.869897645844"},
        {"-4", "3", "-53.130102354156"},
        {"4", "0", "90.0000000000003"},
        {"-4", "0", "-90.0000000000003"},
        {"0", "-3", "180"},
        {"0", "3", "0"},
        {"0", "0", "0"},
        {"-0", "-0", "0"},
        {"-0", "0", "0"},
        {"0", "-0", "0"},
        {"-0", "-3", "180"},
    };
    for (const Case& c : quadrants) {
        stack({c.x, c.y, "7"});
        ASSERT_TRUE(e.press(Key::ToPolar)) << c.x << " " << c.y;
        EXPECT_EQ(e.regs.log(), n(c.angle)) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(e.regs.cur[2], "7");
    }
    stack({"-4", "0"});
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.cur[1], "4");
    stack({"0", "0"});
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.cur[1], "0");

    e.angle = unitOf("GRA");
    stack({"1", "1"});
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.log(), "50");
    EXPECT_EQ(e.regs.cur[1], n("1.4142135623731"));
    stack({"4", "0"});
    ASSERT_TRUE(e.press(Key::ToPolar));
    EXPECT_EQ(e.regs.log(), "100");
}

TEST_P(Keypad, RectangularToPolarGivesBackWhatPolarToRectangularTook) {
    struct Unit {
        const char* name;
        double halfTurn;
    } units[] = {{"DEG", 180}, {"GRA", 200}, {"RAD", 3.14159265358979}};
    for (const Unit& u : units) {
        e.angle = unitOf(u.name);
        for (double f = -0.99; f <= 1.0; f += 0.0625) {  // angles in (-half turn, half turn]
            for (double radius : {2.0, 0.001, 12345.0}) {
                const double angle = f * u.halfTurn;
                e.regs.clear();
                e.regs.cur[0] = numberToText(angle, e.sep);
                e.regs.cur[1] = numberToText(radius, e.sep);
                ASSERT_TRUE(e.press(Key::ToRectangular));
                ASSERT_TRUE(e.press(Key::ToPolar));
                double r = 0, a = 0;
                ASSERT_EQ(textToNumber(e.regs.cur[1], e.sep, r), Conv::Ok);
                ASSERT_EQ(textToNumber(e.regs.cur[0], e.sep, a), Conv::Ok);
                EXPECT_NEAR(r, radius, radius * 1e-13) << u.name << " " << angle;
                EXPECT_NEAR(a, angle, u.halfTurn * 1e-13) << u.name << " radius " << radius;
            }
        }
        // and the half turn itself
        e.regs.clear();
        e.regs.cur[0] = numberToText(u.halfTurn, e.sep);
        e.regs.cur[1] = "2";
        ASSERT_TRUE(e.press(Key::ToRectangular));
        ASSERT_TRUE(e.press(Key::ToPolar));
        EXPECT_GT(logValue(), 0) << u.name << ": the half turn is positive";
        EXPECT_NEAR(logValue(), u.halfTurn, u.halfTurn * 1e-13);
    }
}

// ---------------------------------------------------------------- hyperbolic prefix

TEST_P(Keypad, HyperbolicPrefixIsOneShot) {
    struct Case {
        Key key;
        const char *x, *result;
    } cases[] = {
        {Key::Sin, "1", "1.1752011936438"},
        {Key::Cos, "1", "1.54308063481524"},
        {Key::Tan, "0.5", "0.46211715726001"},
        {Key::Asin, "1", "0.881373587019543"},
        {Key::Acos, "2", "1.31695789692482"},
        {Key::Acos, "1", "0"},
        {Key::Atan, "0.5", "0.549306144334055"},
        {Key::Sin, "1E-10", "1E-10"},
        {Key::Tan, "1000", "1"},
        {Key::Tan, "-1000", "-1"},
        {Key::Asin, "-1E10", "-23.7189981105004"},
        {Key::Cos, "709", "4.10920373077749E+307"},
        {Key::Atan, "-0.5", "-0.549306144334055"},
        {Key::Sin, "0", "0"},
    };
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        e.angle = unitOf(unit);
        for (const Case& c : cases) {
            stack({c.x, "9"});
            e.hyperbolic = true;
            ASSERT_TRUE(e.press(c.key)) << unit << " " << c.key << " " << c.x;
            EXPECT_EQ(e.regs.log(), n(c.result)) << unit << " key " << c.key << " x " << c.x;
            EXPECT_FALSE(e.hyperbolic) << "the prefix is used up";
            EXPECT_EQ(e.regs.cur[1], "9");
        }
    }
    // The next SIN of the same value is circular again.
    e.angle = unitOf("RAD");
    stack({"1"});
    e.hyperbolic = true;
    ASSERT_TRUE(e.press(Key::Sin));
    stack({"1"});
    ASSERT_TRUE(e.press(Key::Sin));
    EXPECT_EQ(e.regs.log(), n("0.841470984807897"));
}

TEST_P(Keypad, HyperbolicFailuresKeepThePrefix) {
    struct Case {
        Key key;
        const char* x;
        int number;
    } cases[] = {
        {Key::Acos, "0.5", kInvalidArgument}, {Key::Acos, "-2", kInvalidArgument}, {Key::Acos, "-1", kInvalidArgument},
        {Key::Atan, "1", kDivisionByZero},    {Key::Atan, "-1", kInvalidArgument}, {Key::Atan, "2", kInvalidArgument},
        {Key::Atan, "-2", kInvalidArgument},  {Key::Sin, "1000", kOverflow},       {Key::Sin, "-1000", kOverflow},
        {Key::Cos, "1000", kOverflow},        {Key::Cos, "-711", kOverflow},       {Key::Sin, "", kTypeMismatch},
        {Key::Tan, "abc", kTypeMismatch},     {Key::Asin, "", kTypeMismatch},
    };
    for (const Case& c : cases) {
        e.hyperbolic = true;
        fails(c.key, {c.x, "9"}, c.number);
        EXPECT_TRUE(e.hyperbolic) << "key " << c.key << " x " << c.x;
    }
}

TEST_P(Keypad, OtherKeysLeaveThePrefixAlone) {
    e.hyperbolic = true;
    for (Key key : {Key::Add, Key::ToRectangular, Key::ToPolar, Key::Ln, Key::Exp, Key::Pi, Key::LetterX}) {
        stack({"1", "2"});
        e.press(key);
        EXPECT_TRUE(e.hyperbolic) << key;
    }
}

// ---------------------------------------------------------------- main memory

TEST_P(Keypad, MainMemoryKeys) {
    e.regs.cur[1] = "9";
    ASSERT_TRUE(e.press(Key::MemoryRecall));
    EXPECT_EQ(e.regs.log(), "0");
    EXPECT_EQ(e.regs.cur[1], "9") << "nothing is lifted";

    e.regs.cur[0] = "5";
    ASSERT_TRUE(e.press(Key::MemoryAdd));
    EXPECT_EQ(e.memoria, "5");
    EXPECT_EQ(e.regs.log(), "");
    e.regs.cur[0] = n("2.5");
    ASSERT_TRUE(e.press(Key::MemorySubtract));
    EXPECT_EQ(e.memoria, n("2.5"));
    EXPECT_EQ(e.regs.log(), "");
    EXPECT_EQ(e.regs.saved[0], n("2.5")) << "the snapshot brings the log back";
    EXPECT_EQ(e.regs.cur[1], "9");

    fails(Key::MemoryAdd, {"", "9"}, kTypeMismatch);
    fails(Key::MemorySubtract, {"1E", "9"}, kTypeMismatch);
    EXPECT_EQ(e.memoria, n("2.5"));

    // "min" stores the text as it is.
    stack({"1.50", "9"});
    ASSERT_TRUE(e.press(Key::MemoryStore));
    EXPECT_EQ(e.memoria, n("1.50"));
    EXPECT_EQ(e.regs.log(), "");
    ASSERT_TRUE(e.press(Key::MemoryRecall));
    EXPECT_EQ(e.regs.log(), n("1.50"));
    ASSERT_TRUE(e.press(Key::MemoryAdd));  // 1.50 + 1.50
    EXPECT_EQ(e.memoria, "3");

    for (const char* t : {"", "1E", "-", "abc"}) {
        stack({t, "9"});
        const Texts before = e.regs.cur;
        ASSERT_TRUE(e.press(Key::MemoryStore)) << t;
        ASSERT_TRUE(e.press(Key::ToMemoryList)) << t;
        EXPECT_EQ(e.regs.cur, before) << t;
        EXPECT_EQ(e.memoria, "3");
        EXPECT_EQ(e.memoryList.size(), 0u);
    }

    stack({"7", "9"});
    ASSERT_TRUE(e.press(Key::ToMemoryList));
    stack({"2.50"});
    ASSERT_TRUE(e.press(Key::ToMemoryList));
    EXPECT_EQ(e.memoryList.items(), (std::vector<std::string>{"7", n("2.50")}));
    EXPECT_EQ(e.regs.log(), "");
    EXPECT_EQ(e.memoria, "3");

    // Overflow of the sum or difference writes nothing.
    stack({"1.7E308"});
    ASSERT_TRUE(e.press(Key::MemoryStore));
    fails(Key::MemoryAdd, {"1.7E308", "9"}, kOverflow);
    fails(Key::MemorySubtract, {"-1.7E308", "9"}, kOverflow);
    EXPECT_EQ(e.memoria, n("1.7E308"));
}

// ---------------------------------------------------------------- no register holds a non-number

// The table is looked up by the key's index: a row out of place would give
// one key another's texts and operation.
TEST(KeyTable, EveryRowStandsAtItsKeysIndex) {
    for (int i = 0; i < kKeys; ++i) {
        Key k;
        ASSERT_TRUE(keyOf(i, k));
        EXPECT_EQ(indexOf(keyRow(k).key), i);
    }
    Key k;
    EXPECT_FALSE(keyOf(kKeys, k));
    EXPECT_FALSE(keyOf(-1, k));
}

// The keyboard's computing characters run the keys' own operations, except
// "%": the keyboard divides by 100 where the key multiplies by 0.01, which
// differs in the last digit for some logs.
TEST_P(Keypad, TheKeyboardRunsTheKeysOperationsButDividesItsPercent) {
    struct Case {
        int code;
        Key key;
        const char *x, *y;
    } const cases[] = {
        {'#', Key::ChangeSign, "2.5", nullptr},
        {'S', Key::Square, "1.5", nullptr},
        {'r', Key::Sqrt, "2", nullptr},
        {'I', Key::Reciprocal, "3", nullptr},
        {'<', Key::PesetasToEuros, "1000", nullptr},
        {'>', Key::EurosToPesetas, "7", nullptr},
        {'+', Key::Add, "2", "5"},
        {'-', Key::Subtract, "2", "5"},
        {'*', Key::Multiply, "2", "5"},
        {'/', Key::Divide, "2", "5"},
    };
    for (const Case& c : cases) {
        const std::string keyed = run(c.key, c.x, c.y);
        if (c.y)
            stack({c.x, c.y});
        else
            stack({c.x});
        e.Form_KeyPress(c.code);
        EXPECT_EQ(e.regs.log(), keyed) << static_cast<char>(c.code);
    }
    EXPECT_EQ(run(Key::Percent, "764.91780155380752"), n("7.64917801553808"));
    stack({"764.91780155380752"});
    e.Form_KeyPress('%');
    EXPECT_EQ(e.regs.log(), n("7.64917801553807"));
}

TEST_P(Keypad, NoKeyWritesANonNumber) {
    const char* operands[] = {"",        "0",      "-0",     "1",   "-1",  "0.5", "2",    "1E308", "-1E308",
                              "1.7E308", "5E-324", "1E-308", "171", "710", "abc", "12E-", "1E400"};
    auto isBad = [](const std::string& t) {
        std::string l;
        for (char c : t) l += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return l.find("inf") != std::string::npos || l.find("nan") != std::string::npos;
    };
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        for (const char* prefix : {"N", "HYP"}) {
            for (int index = 0; index < kKeys; ++index) {
                const auto key = static_cast<Key>(index);
                // The entry keys append characters by design; RND and the
                // clipboard keys are covered on their own.
                if (key == Key::Backspace || key == Key::Exponent || key == Key::DecimalPoint ||
                    key == Key::ThreeZeros || key == Key::ExponentMinus || key == Key::TwoZeros || key == Key::Random ||
                    key == Key::Copy || key == Key::Paste)
                    continue;
                for (const char* x : operands) {
                    for (const char* y : operands) {
                        e.angle = unitOf(unit);
                        e.hyperbolic = std::string(prefix) == "HYP";
                        e.memoria = "0";
                        stack({x, y, "3"});
                        const Texts before = e.regs.cur;
                        const Texts snapshot = e.regs.saved;
                        e.press(key);
                        for (size_t i = 0; i < kRegisters; ++i) {
                            const std::string& t = e.regs.cur[i];
                            bool known = t.empty() || isNumeric(t, e.sep);
                            for (const auto& b : before) known = known || t == b;
                            for (const auto& b : snapshot) known = known || t == b;  // undo
                            EXPECT_TRUE(known && !isBad(t))
                                << unit << " " << prefix << " key " << key << " x \"" << x << "\" y \"" << y
                                << "\": register " << i << " holds \"" << t << "\"";
                        }
                        EXPECT_FALSE(isBad(e.memoria)) << key;
                        EXPECT_TRUE(isNumeric(e.memoria, e.sep)) << key << " " << e.memoria;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvane
