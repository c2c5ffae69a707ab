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
namespace {

constexpr int kPlus = 0, kMinus = 1, kTimes = 2, kDivide = 3, kUndo = 5, kDel = 6, kLn = 7, kExp = 9,
              kChs = 10, kAbs = 11, kEnter = 12, kPiKey = 17, kEKey = 18, kRnd = 19, kSin = 20, kAsin = 21,
              kCos = 22, kAcos = 23, kTan = 24, kAtan = 25, kSqrt = 26, kSquare = 27, kPow = 28, kRoot = 29,
              kRecip = 30, kLog = 31, kPercent = 32, kSum = 33, kProduct = 35, kMod = 36, kFact = 38, kToRect = 39,
              kToPolar = 40, kVat = 41, kGross = 42, kPta = 43, kEur = 44, kMr = 46, kCpy = 47, kPst = 48,
              kMplus = 49, kMminus = 50, kFix = 51, kInt = 52, kDec = 53, kMin = 54, kToList = 55, kNet = 63,
              kTenPow = 64;

const char* const kMsg5 =
    "Intenta realizar una operación matemática no válida, como una raiz o un logaritmo de un número negativo";
const char* const kMsg6 =
    "La operación que intenta realizar excede la capacidad de cálculo de la aplicación. Utilice números más "
    "pequeños.";
const char* const kMsg11 = "Ha intentado dividir por cero. Esta operación es incorrecta.";
const char* const kMsg13 = "Intenta realizar una operación sin haber introducido todos los parámetros requeridos";

using Texts = std::array<std::string, kRegisters>;

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
    std::string run(int key, const char* x, const char* y = nullptr) {
        if (y)
            stack({x, y});
        else
            stack({x});
        EXPECT_TRUE(e.tecla_Click(key)) << "key " << key << " x " << x;
        return e.regs.log();
    }

    // Presses key on the current registers, expects failure number, and
    // checks that nothing changed: no register, and not the undo snapshot
    // either (undo gives what it gave before the key).
    void fails(int key, int number) {
        const Texts before = e.regs.cur;
        const Texts snapshot = e.regs.saved;
        const std::string memory = e.memoria;
        const auto list = e.memoryList;
        const std::string numero = e.err.numero, descripcion = e.err.descripcion;
        EXPECT_FALSE(e.tecla_Click(key)) << "key " << key << " on log \"" << before[0] << "\"";
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
        EXPECT_EQ(e.memoryList, list);
        e.err.visible = false;  // the OK soft key
    }

    void fails(int key, std::initializer_list<const char*> texts, int number) {
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
        int key;
        const char *x, *y, *result;
    } cases[] = {
        {kPlus, "2", "3", "5"},          {kMinus, "2", "3", "1"},        {kTimes, "2", "3", "6"},
        {kDivide, "2", "3", "1.5"},      {kDivide, "3", "2", "0.666666666666667"},
        {kPlus, "0.1", "0.2", "0.3"},    {kMinus, "-2.5", "1E20", "1E+20"},
        {kMod, "2", "7.5", "1.5"},       {kMod, "3", "-7", "-1"},        {kMod, "-3", "7", "1"},
        {kMod, "0.5", "2", "0"},         {kTimes, "1E200", "-1E100", "-1E+300"},
    };
    for (const Case& c : cases) {
        stack({c.x, c.y, "9", "8"});
        e.regs.cur[20] = "20";
        ASSERT_TRUE(e.tecla_Click(c.key)) << c.key;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << ": " << c.y << " op " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "8");
        EXPECT_EQ(e.regs.cur[3], "");
        EXPECT_EQ(e.regs.cur[19], "20") << "the drop moves level 20 down";
        EXPECT_EQ(e.regs.cur[20], "");
        // undo brings back the operands
        ASSERT_TRUE(e.tecla_Click(kUndo));
        EXPECT_EQ(e.regs.log(), n(c.x));
        EXPECT_EQ(e.regs.cur[1], n(c.y));
        EXPECT_EQ(e.regs.cur[20], "20");
    }
}

TEST_P(Keypad, BinaryArithmeticFailuresChangeNothing) {
    for (int key : {kPlus, kMinus, kTimes, kDivide, kMod}) {
        fails(key, {"2", ""}, kTypeMismatch);      // empty level 1
        fails(key, {"", "3"}, kTypeMismatch);      // empty log
        fails(key, {"12E-", "3"}, kTypeMismatch);  // half-typed number
        fails(key, {"2", "abc"}, kTypeMismatch);
    }
    fails(kDivide, {"0", "5"}, kDivisionByZero);
    fails(kDivide, {"0", "0"}, kDivisionByZero);
    fails(kMod, {"0", "5"}, kDivisionByZero);
    // results and intermediates beyond the double range
    fails(kTimes, {"10", "1E308"}, kOverflow);
    fails(kPlus, {"1.7E308", "1.7E308"}, kOverflow);
    fails(kMinus, {"1.7E308", "-1.7E308"}, kOverflow);
    fails(kDivide, {"1E-10", "1E300"}, kOverflow);
    fails(kMod, {"1E-300", "1E300"}, kOverflow);  // y / x overflows before the trunc
    // A result within the range whose 15-digit text is not: it would not read back.
    fails(kTimes, {"1.000000000000003", "1.79769313486231E308"}, kOverflow);
    stack({"1", "1.79769313486231E308"});
    ASSERT_TRUE(e.tecla_Click(kTimes));
    EXPECT_EQ(e.regs.log(), n("1.79769313486231E+308"));
}

// ---------------------------------------------------------------- powers and roots

TEST_P(Keypad, PowerAndRootGiveTheRealResult) {
    struct Case {
        int key;
        const char *x, *y, *result;
    } cases[] = {
        {kPow, "10", "2", "1024"},      {kPow, "0.5", "2", "1.41421356237309"},
        {kPow, "2", "0", "0"},          {kPow, "0", "0", "1"},
        {kPow, "0", "5", "1"},          {kPow, "3", "-2", "-8"},
        {kPow, "4", "-2", "16"},        {kPow, "-3", "-2", "-0.125"},
        {kPow, "-2", "10", "0.01"},     {kPow, "1000", "1", "1"},
        {kRoot, "3", "27", "3"},        {kRoot, "2", "2.5", "1.58113883008419"},
        {kRoot, "3", "-8", "-2"},       {kRoot, "-3", "-8", "-0.5"},
        {kRoot, "2", "0", "0"},         {kRoot, "0.5", "3", "9"},
    };
    for (const Case& c : cases) {
        stack({c.x, c.y, "7"});
        ASSERT_TRUE(e.tecla_Click(c.key)) << c.key << " " << c.y << " " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << " y=" << c.y << " x=" << c.x;
        EXPECT_EQ(e.regs.cur[1], "7") << "level 1 is consumed";
        EXPECT_EQ(e.regs.cur[2], "");
    }
}

TEST_P(Keypad, FailingPowerOrRootKeepsLevelOne) {
    fails(kPow, {"-1", "0", "7"}, kDivisionByZero);  // 0^x with x < 0
    fails(kPow, {"0.5", "-2", "7"}, kInvalidArgument);
    fails(kPow, {"-0.5", "-8", "7"}, kInvalidArgument);
    fails(kPow, {"400", "10", "7"}, kOverflow);
    fails(kPow, {"1E308", "10", "7"}, kOverflow);  // x * ln y itself overflows
    fails(kPow, {"1025", "-2", "7"}, kOverflow);   // a signed power beyond the range
    fails(kPow, {"2", "", "7"}, kTypeMismatch);
    fails(kRoot, {"2", "-8", "7"}, kInvalidArgument);   // even root of a negative number
    fails(kRoot, {"0.5", "-8", "7"}, kInvalidArgument);
    fails(kRoot, {"0", "8", "7"}, kDivisionByZero);     // 1 / x
    fails(kRoot, {"-2", "0", "7"}, kDivisionByZero);    // 0 to a negative power
    fails(kRoot, {"0", "0", "7"}, kDivisionByZero);
    fails(kRoot, {"1E-300", "10", "7"}, kOverflow);
    fails(kRoot, {"3", "x", "7"}, kTypeMismatch);
}

TEST_P(Keypad, TinyPowersUnderflowToZero) {
    EXPECT_EQ(run(kPow, "-400", "10"), "0");
    EXPECT_EQ(run(kTenPow, "-400"), "0");
    EXPECT_EQ(run(kExp, "-1000"), "0");
}

// ---------------------------------------------------------------- one-operand keys

TEST_P(Keypad, OneOperandKeysReplaceTheLogOnly) {
    struct Case {
        int key;
        const char *x, *result;
    } cases[] = {
        {kLn, "2", "0.693147180559945"},   {kLn, "1", "0"},
        {kLog, "1000", "3"},               {kLog, "0.01", "-2"},
        {kExp, "1", "2.71828182845905"},   {kExp, "0", "1"},
        {kExp, "709.7", "1.65498402768026E+308"},
        {kTenPow, "3", "1000"},            {kTenPow, "-2", "0.01"},
        {kTenPow, "308", "1.00000000000001E+308"},
        {kSqrt, "2", "1.4142135623731"},   {kSqrt, "0", "0"},
        {kSqrt, "6.25", "2.5"},
        {kSquare, "-3", "9"},              {kSquare, "1E154", "1E+308"},
        {kSquare, "0.5", "0.25"},
        {kRecip, "4", "0.25"},             {kRecip, "-8", "-0.125"},
        {kRecip, "3", "0.333333333333333"},
        {kChs, "5", "-5"},                 {kChs, "-2.5", "2.5"},       {kChs, "0", "0"},
        {kAbs, "-2.5", "2.5"},             {kAbs, "7", "7"},
        {kPercent, "50", "0.5"},           {kPercent, "-3", "-0.03"},
        {kVat, "100", "16"},               {kGross, "100", "116"},
        {kNet, "116", "100"},              {kNet, "100", "86.2068965517241"},
        {kNet, "4", "3.44827586206896"},  // the 15-digit factor, not 4 / 1.16
        {kPta, "1", "166.386"},            {kPta, "2.5", "415.965"},
        {kEur, "166.386", "1"},            {kEur, "1", "0.00601012104383782"},
        {kFact, "0", "1"},                 {kFact, "0.5", "1"},          {kFact, "-3", "1"},
        {kFact, "1", "1"},                 {kFact, "3.7", "6"},          {kFact, "5", "120"},
        {kFact, "170", "7.25741561530799E+306"},
        {kFix, "3.7", "3"},                {kFix, "-3.7", "-3"},         {kFix, "-0.5", "0"},
        {kFix, "1E300", "1E+300"},         {kFix, "-1E300", "-1E+300"},
        {kInt, "3.7", "3"},                {kInt, "-3.7", "-4"},         {kInt, "-0.5", "-1"},
        {kInt, "5", "5"},                  {kInt, "-1E300", "-1E+300"},
        {kDec, "3.7", "0.7"},              {kDec, "-3.7", "-0.7"},       {kDec, "123.456", "0.456"},
        {kDec, "5", "0"},                  {kDec, "1E300", "0"},         {kDec, "-0.25", "-0.25"},
    };
    for (const Case& c : cases) {
        stack({c.x, "9", "8"});
        ASSERT_TRUE(e.tecla_Click(c.key)) << "key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << "key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9") << "key " << c.key;
        EXPECT_EQ(e.regs.cur[2], "8") << "key " << c.key;
        EXPECT_EQ(e.regs.saved[0], n(c.x)) << "key " << c.key << " took no snapshot";
    }
}

TEST_P(Keypad, OneOperandFailures) {
    for (int key : {kLn, kExp, kChs, kAbs, kSqrt, kSquare, kRecip, kLog, kPercent, kFact, kVat, kGross, kPta,
                    kEur, kFix, kInt, kDec, kNet, kTenPow}) {
        fails(key, {"", "9"}, kTypeMismatch);
        fails(key, {"abc", "9"}, kTypeMismatch);
        fails(key, {"1E", "9"}, kTypeMismatch);
        fails(key, {"inf", "9"}, kTypeMismatch);
        fails(key, {"nan", "9"}, kTypeMismatch);
        fails(key, {"1E400", "9"}, kOverflow);  // an operand beyond the range
    }
    fails(kLn, {"0"}, kInvalidArgument);
    fails(kLn, {"-1"}, kInvalidArgument);
    fails(kLog, {"0"}, kInvalidArgument);
    fails(kLog, {"-5"}, kInvalidArgument);
    fails(kSqrt, {"-1"}, kInvalidArgument);
    fails(kSqrt, {"-1E-300"}, kInvalidArgument);
    fails(kRecip, {"0"}, kDivisionByZero);
    fails(kRecip, {"-0"}, kDivisionByZero);
    fails(kRecip, {"1E-320"}, kOverflow);  // a subnormal's reciprocal
    fails(kExp, {"710"}, kOverflow);
    fails(kExp, {"1000"}, kOverflow);
    fails(kTenPow, {"308.3"}, kOverflow);
    fails(kTenPow, {"1E308"}, kOverflow);
    fails(kTenPow, {"-1E308"}, kOverflow);  // x * ln 10 is beyond the range
    fails(kSquare, {"1E155"}, kOverflow);
    fails(kSquare, {"-1E155"}, kOverflow);
    fails(kFact, {"171"}, kOverflow);
    fails(kFact, {"1E308"}, kOverflow);
    fails(kFix, {"1E307"}, kOverflow);   // 100 * trunc(x)
    fails(kInt, {"-1E307"}, kOverflow);  // 100 * floor(x)
    fails(kDec, {"1E306"}, kOverflow);   // 1000 * x
    fails(kGross, {"1.6E308"}, kOverflow);
    fails(kPta, {"1E307"}, kOverflow);
}

// ---------------------------------------------------------------- stack sum and product

TEST_P(Keypad, StackSumWalksTheLogAndLevelsOneToNineteen) {
    stack({"1", "2", "", "4.5"});
    e.regs.cur[19] = "10";
    e.regs.cur[20] = "100";
    ASSERT_TRUE(e.tecla_Click(kSum));
    EXPECT_EQ(e.regs.log(), n("17.5"));
    for (int i = 1; i <= 19; ++i) EXPECT_EQ(e.regs.cur[static_cast<size_t>(i)], "") << i;
    EXPECT_EQ(e.regs.cur[20], "100") << "level 20 is neither added nor emptied";

    e.regs.clear();
    for (int i = 0; i <= 19; ++i) e.regs.cur[static_cast<size_t>(i)] = std::to_string(i + 1);
    ASSERT_TRUE(e.tecla_Click(kSum));
    EXPECT_EQ(e.regs.log(), "210");

    e.regs.clear();
    ASSERT_TRUE(e.tecla_Click(kSum));
    EXPECT_EQ(e.regs.log(), "0");
}

TEST_P(Keypad, StackProductWalksTheSameRegisters) {
    stack({"2", "", "-1.5"});
    e.regs.cur[19] = "3";
    e.regs.cur[20] = "5";
    ASSERT_TRUE(e.tecla_Click(kProduct));
    EXPECT_EQ(e.regs.log(), "-9");
    for (int i = 1; i <= 19; ++i) EXPECT_EQ(e.regs.cur[static_cast<size_t>(i)], "") << i;
    EXPECT_EQ(e.regs.cur[20], "5");

    e.regs.clear();
    ASSERT_TRUE(e.tecla_Click(kProduct));
    EXPECT_EQ(e.regs.log(), "1");
}

TEST_P(Keypad, FailingStackWalkEmptiesNothing) {
    for (int key : {kSum, kProduct}) {
        stack({"1", "2", "3", "4", "5", "abc", "7"});
        e.regs.cur[20] = "8";
        fails(key, kTypeMismatch);
        stack({"12E-", "2"});
        fails(key, kTypeMismatch);
    }
    fails(kSum, {"1.7E308", "1.7E308", "1"}, kOverflow);
    fails(kProduct, {"1E200", "1", "1E200"}, kOverflow);
}

// ---------------------------------------------------------------- constants and random numbers

TEST_P(Keypad, ConstantsAreTheWindowValuesWithoutLift) {
    for (const char* log : {"", "12E-", "7", "abc"}) {
        stack({log, "9"});
        ASSERT_TRUE(e.tecla_Click(kPiKey));
        EXPECT_EQ(e.regs.log(), n("3.14159265358979"));
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "");
        ASSERT_TRUE(e.tecla_Click(kEKey));
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
        ASSERT_TRUE(e.tecla_Click(kRnd));
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
    ASSERT_TRUE(e.tecla_Click(kRnd));
    const std::string first = e.regs.log();
    ASSERT_TRUE(e.tecla_Click(kRnd));
    EXPECT_NE(e.regs.log(), first);
    ASSERT_TRUE(other.tecla_Click(kRnd));
    EXPECT_NE(other.regs.log(), first);
}

// ---------------------------------------------------------------- clipboard

TEST_P(Keypad, CopyAndPasteGoThroughTheClipboard) {
    stack({"12.5", "9"});
    clip.content = "old";
    ASSERT_TRUE(e.tecla_Click(kCpy));
    EXPECT_EQ(clip.content, n("12.5"));
    EXPECT_EQ(e.regs.log(), n("12.5"));
    EXPECT_EQ(e.regs.cur[1], "9");

    stack({"12E-"});
    ASSERT_TRUE(e.tecla_Click(kCpy));
    EXPECT_EQ(clip.content, "12E-") << "the log's text as it is";

    clip.content = n("2.5");
    stack({"7", "9"});
    ASSERT_TRUE(e.tecla_Click(kPst));
    EXPECT_EQ(e.regs.log(), n("2.5"));
    EXPECT_EQ(e.regs.cur[1], "9");
    ASSERT_TRUE(e.tecla_Click(kSquare));
    EXPECT_EQ(e.regs.log(), n("6.25"));

    // A non-number is pasted without complaint; the next computing key fails.
    clip.content = "hola mundo";
    ASSERT_TRUE(e.tecla_Click(kPst));
    EXPECT_EQ(e.regs.log(), "hola mundo");
    fails(kSqrt, kTypeMismatch);
    EXPECT_EQ(e.regs.log(), "hola mundo");

    clip.content = "";
    ASSERT_TRUE(e.tecla_Click(kPst));
    EXPECT_EQ(e.regs.log(), "");
}

TEST_P(Keypad, ClipboardFailureHasANumberAndATextOfItsOwn) {
    clip.failing = true;
    stack({"5"});
    fails(kCpy, kClipboardFailure);
    EXPECT_EQ(e.err.numero, "ERROR E-521");
    EXPECT_EQ(e.err.descripcion, "No se ha podido usar el portapapeles del sistema.");
    // Not the texts of the report before it.
    fails(kRecip, {"0"}, kDivisionByZero);
    stack({"5"});
    fails(kPst, kClipboardFailure);
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
        ASSERT_TRUE(e.tecla_Click(kPlus));
        e.numero_Click(7);  // no snapshot: saved still holds the state before "+"
        ASSERT_EQ(e.regs.saved[0], n("3"));
        const Texts before = e.regs.cur;
        ASSERT_TRUE(e.tecla_Click(key)) << key;
        EXPECT_EQ(e.regs.cur, before) << key;
        EXPECT_EQ(e.regs.saved, before) << "key " << key << " replaces the snapshot";
        EXPECT_FALSE(e.err.visible);
        EXPECT_EQ(e.hyp, "N");
        EXPECT_EQ(e.angle, "DEG");
        EXPECT_EQ(e.memoria, "0");
    }
}

// ---------------------------------------------------------------- error report and undo

TEST_P(Keypad, ErrorReportAndUndo) {
    EXPECT_FALSE(e.err.visible);
    EXPECT_EQ(e.err.indicator, "E ");
    // 5 ENTER 4 ENTER, then 0: undo gives 5 in the log and 4 in level 1.
    stack({"4", "5"});
    ASSERT_TRUE(e.tecla_Click(kEnter));
    e.numero_Click(0);
    fails(kDivide, kDivisionByZero);
    EXPECT_EQ(e.err.indicator, "E 11");
    EXPECT_EQ(e.err.numero, "ERROR E-11");
    EXPECT_EQ(e.err.descripcion, kMsg11);

    // A second failure while the panel is shown rewrites its texts.
    e.err.visible = true;
    EXPECT_FALSE(e.tecla_Click(kLn));  // ln 0
    EXPECT_TRUE(e.err.visible);
    EXPECT_EQ(e.err.numero, "ERROR E-5");
    EXPECT_EQ(e.err.descripcion, kMsg5);
    EXPECT_EQ(e.err.indicator, "E 5");

    // Typing after the failures and then undo: what undo gave before the
    // failing keys, the snapshot of the last key that did not fail.
    e.numero_Click(1);
    e.numero_Click(2);
    ASSERT_TRUE(e.tecla_Click(kUndo));
    EXPECT_EQ(e.regs.log(), "4");
    EXPECT_EQ(e.regs.cur[1], "5");
    EXPECT_EQ(e.regs.cur[2], "");
    ASSERT_TRUE(e.tecla_Click(kUndo));
    EXPECT_EQ(e.regs.log(), "4");

    fails(kExp, {"1000"}, kOverflow);
    EXPECT_EQ(e.err.numero, "ERROR E-6");
    fails(kPlus, {"2", ""}, kTypeMismatch);
    EXPECT_EQ(e.err.numero, "ERROR E-13");
    EXPECT_EQ(e.err.indicator, "E 13");
}

// ---------------------------------------------------------------- angle modes

TEST_P(Keypad, TransformarConvertsTheLogInPlace) {
    e.angle = "DEG";
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

    e.angle = "GRA";
    stack({"200"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("3.14159265358979"));
    e.transformar(2);
    EXPECT_EQ(e.regs.log(), "200");
    stack({"50"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("0.785398163397448"));

    e.angle = "RAD";
    stack({"1.50"});
    e.transformar(1);
    EXPECT_EQ(e.regs.log(), n("1.50")) << "unchanged, not even rewritten";
    e.transformar(2);
    EXPECT_EQ(e.regs.log(), n("1.50"));
    stack({""});
    EXPECT_NO_THROW(e.transformar(1));

    e.angle = "DEG";
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
    int key;
    const char *x, *result;
};

TEST_P(Keypad, CircularFunctionsInEachUnit) {
    const TrigCase cases[] = {
        {"DEG", kSin, "180", "3.23108914886517E-15"},
        {"DEG", kSin, "30", "0.499999999999999"},
        {"DEG", kCos, "60", "0.499999999999998"},
        {"DEG", kTan, "45", "0.999999999999999"},
        {"DEG", kCos, "0", "1"},
        {"DEG", kSin, "1", "0.0174524064372835"},
        {"GRA", kSin, "100", "1"},
        {"GRA", kSin, "200", "3.23108914886517E-15"},
        {"RAD", kSin, "1", "0.841470984807897"},
        {"RAD", kSin, "0", "0"},
        {"DEG", kAsin, "0.5", "30"},
        {"DEG", kAcos, "0.5", "60.0000000000002"},
        {"GRA", kAcos, "0.5", "66.6666666666669"},
        {"RAD", kAcos, "0.5", "1.0471975511966"},
        {"DEG", kAsin, "1", "90.0000000000003"},
        {"DEG", kAsin, "-1", "-90.0000000000003"},
        {"GRA", kAsin, "1", "100"},
        {"RAD", kAsin, "1", "1.5707963267949"},
        {"DEG", kAcos, "1", "0"},
        {"DEG", kAcos, "-1", "180"},
        {"GRA", kAcos, "-1", "200"},
        {"RAD", kAcos, "-1", "3.14159265358979"},
        {"DEG", kAcos, "0", "90.0000000000003"},
        {"DEG", kAtan, "1", "45"},
        {"GRA", kAtan, "1", "50"},
        {"RAD", kAtan, "1", "0.785398163397448"},
        {"DEG", kAtan, "1E300", "90.0000000000003"},
        {"DEG", kAsin, "0", "0"},
    };
    for (const TrigCase& c : cases) {
        e.angle = c.unit;
        stack({c.x, "9"});
        ASSERT_TRUE(e.tecla_Click(c.key)) << c.unit << " key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.log(), n(c.result)) << c.unit << " key " << c.key << " x " << c.x;
        EXPECT_EQ(e.regs.cur[1], "9");
        EXPECT_EQ(e.regs.cur[2], "");
        EXPECT_EQ(e.hyp, "N");
    }
}

TEST_P(Keypad, CircularFailuresLeaveTheAngleUnconverted) {
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        e.angle = unit;
        for (int key : {kSin, kAsin, kCos, kAcos, kTan, kAtan, kToRect, kToPolar}) {
            fails(key, {"", "2"}, kTypeMismatch);
            fails(key, {"x", "2"}, kTypeMismatch);
        }
        fails(kAsin, {"2"}, kInvalidArgument);
        fails(kAsin, {"-1.0000001"}, kInvalidArgument);
        fails(kAcos, {"1.5"}, kInvalidArgument);
        fails(kAcos, {"-2"}, kInvalidArgument);
        fails(kToRect, {"30", ""}, kTypeMismatch);  // no radius: the angle stays in degrees
        fails(kToRect, {"30", "r"}, kTypeMismatch);
        fails(kToPolar, {"4", ""}, kTypeMismatch);
        fails(kToPolar, {"1E200", "1"}, kOverflow);  // the squares overflow
        fails(kToPolar, {"1", "-1E200"}, kOverflow);
    }
    e.angle = "DEG";
    fails(kAsin, {"-3"}, kInvalidArgument);
}

TEST_P(Keypad, PolarAndRectangular) {
    e.angle = "DEG";
    stack({"30", "2", "7"});
    ASSERT_TRUE(e.tecla_Click(kToRect));
    EXPECT_EQ(e.regs.cur[1], n("1.73205080756888"));
    EXPECT_EQ(e.regs.log(), n("0.999999999999999"));
    EXPECT_EQ(e.regs.cur[2], "7") << "no drop, no lift";
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.cur[1], "2");
    EXPECT_EQ(e.regs.log(), "30");
    EXPECT_EQ(e.regs.cur[2], "7");

    stack({"4", "3"});
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.cur[1], "5");
    EXPECT_EQ(e.regs.log(), n("53.130102354156"));

    // The full circle: the quadrant follows the signs of the components.
    struct Case {
        const char *x, *y, *angle;
    } quadrants[] = {
        {"4", "-3", "126.869897645844"}, {"-4", "-3", "-126.869897645844"}, {"-4", "3", "-53.130102354156"},
        {"4", "0", "90.0000000000003"},  {"-4", "0", "-90.0000000000003"},  {"0", "-3", "180"},
        {"0", "3", "0"},                 {"0", "0", "0"},                   {"-0", "-0", "0"},
        {"-0", "0", "0"},                {"0", "-0", "0"},                  {"-0", "-3", "180"},
    };
    for (const Case& c : quadrants) {
        stack({c.x, c.y, "7"});
        ASSERT_TRUE(e.tecla_Click(kToPolar)) << c.x << " " << c.y;
        EXPECT_EQ(e.regs.log(), n(c.angle)) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(e.regs.cur[2], "7");
    }
    stack({"-4", "0"});
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.cur[1], "4");
    stack({"0", "0"});
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.cur[1], "0");

    e.angle = "GRA";
    stack({"1", "1"});
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.log(), "50");
    EXPECT_EQ(e.regs.cur[1], n("1.4142135623731"));
    stack({"4", "0"});
    ASSERT_TRUE(e.tecla_Click(kToPolar));
    EXPECT_EQ(e.regs.log(), "100");
}

TEST_P(Keypad, RectangularToPolarGivesBackWhatPolarToRectangularTook) {
    struct Unit {
        const char* name;
        double halfTurn;
    } units[] = {{"DEG", 180}, {"GRA", 200}, {"RAD", 3.14159265358979}};
    for (const Unit& u : units) {
        e.angle = u.name;
        for (double f = -0.99; f <= 1.0; f += 0.0625) {  // angles in (-half turn, half turn]
            for (double radius : {2.0, 0.001, 12345.0}) {
                const double angle = f * u.halfTurn;
                e.regs.clear();
                e.regs.cur[0] = numberToText(angle, e.sep);
                e.regs.cur[1] = numberToText(radius, e.sep);
                ASSERT_TRUE(e.tecla_Click(kToRect));
                ASSERT_TRUE(e.tecla_Click(kToPolar));
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
        ASSERT_TRUE(e.tecla_Click(kToRect));
        ASSERT_TRUE(e.tecla_Click(kToPolar));
        EXPECT_GT(logValue(), 0) << u.name << ": the half turn is positive";
        EXPECT_NEAR(logValue(), u.halfTurn, u.halfTurn * 1e-13);
    }
}

// ---------------------------------------------------------------- hyperbolic prefix

TEST_P(Keypad, HyperbolicPrefixIsOneShot) {
    struct Case {
        int key;
        const char *x, *result;
    } cases[] = {
        {kSin, "1", "1.1752011936438"},     {kCos, "1", "1.54308063481524"},
        {kTan, "0.5", "0.46211715726001"},  {kAsin, "1", "0.881373587019543"},
        {kAcos, "2", "1.31695789692482"},   {kAcos, "1", "0"},
        {kAtan, "0.5", "0.549306144334055"}, {kSin, "1E-10", "1E-10"},
        {kTan, "1000", "1"},                {kTan, "-1000", "-1"},
        {kAsin, "-1E10", "-23.7189981105004"}, {kCos, "709", "4.10920373077749E+307"},
        {kAtan, "-0.5", "-0.549306144334055"}, {kSin, "0", "0"},
    };
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        e.angle = unit;
        for (const Case& c : cases) {
            stack({c.x, "9"});
            e.hyp = "HYP";
            ASSERT_TRUE(e.tecla_Click(c.key)) << unit << " " << c.key << " " << c.x;
            EXPECT_EQ(e.regs.log(), n(c.result)) << unit << " key " << c.key << " x " << c.x;
            EXPECT_EQ(e.hyp, "N") << "the prefix is used up";
            EXPECT_EQ(e.regs.cur[1], "9");
        }
    }
    // The next SIN of the same value is circular again.
    e.angle = "RAD";
    stack({"1"});
    e.hyp = "HYP";
    ASSERT_TRUE(e.tecla_Click(kSin));
    stack({"1"});
    ASSERT_TRUE(e.tecla_Click(kSin));
    EXPECT_EQ(e.regs.log(), n("0.841470984807897"));
}

TEST_P(Keypad, HyperbolicFailuresKeepThePrefix) {
    struct Case {
        int key;
        const char* x;
        int number;
    } cases[] = {
        {kAcos, "0.5", kInvalidArgument},  {kAcos, "-2", kInvalidArgument},   {kAcos, "-1", kInvalidArgument},
        {kAtan, "1", kDivisionByZero},     {kAtan, "-1", kInvalidArgument},   {kAtan, "2", kInvalidArgument},
        {kAtan, "-2", kInvalidArgument},   {kSin, "1000", kOverflow},         {kSin, "-1000", kOverflow},
        {kCos, "1000", kOverflow},         {kCos, "-711", kOverflow},         {kSin, "", kTypeMismatch},
        {kTan, "abc", kTypeMismatch},      {kAsin, "", kTypeMismatch},
    };
    for (const Case& c : cases) {
        e.hyp = "HYP";
        fails(c.key, {c.x, "9"}, c.number);
        EXPECT_EQ(e.hyp, "HYP") << "key " << c.key << " x " << c.x;
    }
}

TEST_P(Keypad, OtherKeysLeaveThePrefixAlone) {
    e.hyp = "HYP";
    for (int key : {kPlus, kToRect, kToPolar, kLn, kExp, kPiKey, 13}) {
        stack({"1", "2"});
        e.tecla_Click(key);
        EXPECT_EQ(e.hyp, "HYP") << key;
    }
}

// ---------------------------------------------------------------- main memory

TEST_P(Keypad, MainMemoryKeys) {
    e.regs.cur[1] = "9";
    ASSERT_TRUE(e.tecla_Click(kMr));
    EXPECT_EQ(e.regs.log(), "0");
    EXPECT_EQ(e.regs.cur[1], "9") << "nothing is lifted";

    e.regs.cur[0] = "5";
    ASSERT_TRUE(e.tecla_Click(kMplus));
    EXPECT_EQ(e.memoria, "5");
    EXPECT_EQ(e.regs.log(), "");
    e.regs.cur[0] = n("2.5");
    ASSERT_TRUE(e.tecla_Click(kMminus));
    EXPECT_EQ(e.memoria, n("2.5"));
    EXPECT_EQ(e.regs.log(), "");
    EXPECT_EQ(e.regs.saved[0], n("2.5")) << "the snapshot brings the log back";
    EXPECT_EQ(e.regs.cur[1], "9");

    fails(kMplus, {"", "9"}, kTypeMismatch);
    fails(kMminus, {"1E", "9"}, kTypeMismatch);
    EXPECT_EQ(e.memoria, n("2.5"));

    // "min" stores the text as it is.
    stack({"1.50", "9"});
    ASSERT_TRUE(e.tecla_Click(kMin));
    EXPECT_EQ(e.memoria, n("1.50"));
    EXPECT_EQ(e.regs.log(), "");
    ASSERT_TRUE(e.tecla_Click(kMr));
    EXPECT_EQ(e.regs.log(), n("1.50"));
    ASSERT_TRUE(e.tecla_Click(kMplus));  // 1.50 + 1.50
    EXPECT_EQ(e.memoria, "3");

    for (const char* t : {"", "1E", "-", "abc"}) {
        stack({t, "9"});
        const Texts before = e.regs.cur;
        ASSERT_TRUE(e.tecla_Click(kMin)) << t;
        ASSERT_TRUE(e.tecla_Click(kToList)) << t;
        EXPECT_EQ(e.regs.cur, before) << t;
        EXPECT_EQ(e.memoria, "3");
        EXPECT_TRUE(e.memoryList.empty());
    }

    stack({"7", "9"});
    ASSERT_TRUE(e.tecla_Click(kToList));
    stack({"2.50"});
    ASSERT_TRUE(e.tecla_Click(kToList));
    EXPECT_EQ(e.memoryList, (std::vector<std::string>{"7", n("2.50")}));
    EXPECT_EQ(e.regs.log(), "");
    EXPECT_EQ(e.memoria, "3");

    // Overflow of the sum or difference writes nothing.
    stack({"1.7E308"});
    ASSERT_TRUE(e.tecla_Click(kMin));
    fails(kMplus, {"1.7E308", "9"}, kOverflow);
    fails(kMminus, {"-1.7E308", "9"}, kOverflow);
    EXPECT_EQ(e.memoria, n("1.7E308"));
}

// ---------------------------------------------------------------- no register holds a non-number

TEST_P(Keypad, NoKeyWritesANonNumber) {
    const char* operands[] = {"",       "0",      "-0",      "1",    "-1",      "0.5",   "2",
                              "1E308",  "-1E308", "1.7E308", "5E-324", "1E-308", "171", "710",
                              "abc",    "12E-",   "1E400"};
    auto isBad = [](const std::string& t) {
        std::string l;
        for (char c : t) l += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return l.find("inf") != std::string::npos || l.find("nan") != std::string::npos;
    };
    for (const char* unit : {"DEG", "GRA", "RAD"}) {
        for (const char* prefix : {"N", "HYP"}) {
            for (int key = 0; key < kKeys; ++key) {
                // The entry keys append characters by design; RND and the
                // clipboard keys are covered on their own.
                if (key == 4 || key == 8 || key == 15 || key == 16 || key == 34 || key == 45 || key == kRnd ||
                    key == kCpy || key == kPst)
                    continue;
                for (const char* x : operands) {
                    for (const char* y : operands) {
                        e.angle = unit;
                        e.hyp = prefix;
                        e.memoria = "0";
                        stack({x, y, "3"});
                        const Texts before = e.regs.cur;
                        const Texts snapshot = e.regs.saved;
                        e.tecla_Click(key);
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
