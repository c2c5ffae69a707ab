// The keypad's 66 keys by name. A key's number is its index in the control
// array tecla(0..65), which the layout and the scripts use; everywhere else
// a key is called by its name. One table row per key carries what belongs
// to it: the texts that the layout shows, its tooltip and accessible name,
// and its operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

class Engine;

enum class Key : std::uint8_t {
    Add = 0,
    Subtract = 1,
    Multiply = 2,
    Divide = 3,
    Backspace = 4,
    Undo = 5,
    ClearStack = 6,
    Ln = 7,
    Exponent = 8,
    Exp = 9,
    ChangeSign = 10,
    Abs = 11,
    Enter = 12,
    LetterX = 13,
    LetterY = 14,
    DecimalPoint = 15,
    ThreeZeros = 16,
    Pi = 17,
    E = 18,
    Random = 19,
    Sin = 20,
    Asin = 21,
    Cos = 22,
    Acos = 23,
    Tan = 24,
    Atan = 25,
    Sqrt = 26,
    Square = 27,
    Power = 28,
    Root = 29,
    Reciprocal = 30,
    Log10 = 31,
    Percent = 32,
    StackSum = 33,
    ExponentMinus = 34,
    StackProduct = 35,
    Remainder = 36,
    Hyp = 37,  // a legend outside the window: the status line's "HYP" sets the prefix
    Factorial = 38,
    ToRectangular = 39,
    ToPolar = 40,
    VatAmount = 41,
    WithVat = 42,
    EurosToPesetas = 43,
    PesetasToEuros = 44,
    TwoZeros = 45,
    MemoryRecall = 46,
    Copy = 47,
    Paste = 48,
    MemoryAdd = 49,
    MemorySubtract = 50,
    Fix = 51,
    Int = 52,
    Dec = 53,
    MemoryStore = 54,
    ToMemoryList = 55,
    LetterSmallF = 56,
    LetterA = 57,
    LetterB = 58,
    LetterC = 59,
    LetterD = 60,
    LetterE = 61,
    LetterF = 62,
    WithoutVat = 63,
    TenPower = 64,
    ClearLog = 65,
};

constexpr int kKeys = 66;  // tecla(0..65)

constexpr int indexOf(Key k) { return static_cast<int>(k); }
// The key of tecla(index); false outside 0..65.
bool keyOf(int index, Key& key);

// The log's and level 1's texts as the key found them: a key reads these
// copies even where it has changed the registers in between.
struct Operands {
    const std::string& x;  // the log
    const std::string& y;  // level 1
};

// A key's operation; throws Failure.
using KeyOperation = void (*)(Engine&, const Operands&);

struct KeyRow {
    Key key;
    std::string_view caption;  // the label's own caption ("" where the face carries the text)
    std::string_view legend;   // painted on the key's face
    std::string_view tooltip;
    std::string_view accessible;  // what a screen reader calls it, where its text would not do
    KeyOperation operation;       // nullptr: no function
};

// The row of key k.
const KeyRow& keyRow(Key k);

}  // namespace morvane
