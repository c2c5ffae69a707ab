// The value stack: lift, drop, snapshot, undo and clear over the 21
// registers, and the keypad's frame around them (snapshot first, "undo"
// without one, indices outside the keypad).
#include "engine/registers.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"

using morvane::Engine;
using morvane::Key;
using morvane::kRegisters;
using morvane::Registers;

namespace {

constexpr char kSeps[] = {'.', ','};

// Distinct texts in every register: "r0", "r1", ... (not numbers).
Registers tagged(const char* prefix = "r") {
    Registers r;
    for (int i = 0; i < kRegisters; ++i) r.cur[static_cast<size_t>(i)] = prefix + std::to_string(i);
    return r;
}

// Levels 1..n hold "1".."n" (level 1 = "1").
void fillLevels(Registers& r, int n) {
    for (int i = 1; i <= n; ++i) r.cur[static_cast<size_t>(i)] = std::to_string(i);
}

}  // namespace

TEST(Registers, StartEmpty) {
    const Registers r;
    for (int i = 0; i < kRegisters; ++i) {
        EXPECT_EQ(r.cur[static_cast<size_t>(i)], "") << i;
        EXPECT_EQ(r.saved[static_cast<size_t>(i)], "") << i;
    }
}

TEST(Enter, LiftsTheLogIntoLevel1) {
    for (char sep : kSeps) {
        Registers r;
        r.log() = "5";
        r.enter(sep);
        EXPECT_EQ(r.cur[1], "5");
        EXPECT_EQ(r.log(), "");
        EXPECT_EQ(r.cur[2], "");
        // The log's text moves as it is, separator and blanks included.
        r.log() = std::string("12") + sep;
        r.enter(sep);
        EXPECT_EQ(r.cur[1], std::string("12") + sep);
        EXPECT_EQ(r.cur[2], "5");
        r.log() = " 7 ";
        r.enter(sep);
        EXPECT_EQ(r.cur[1], " 7 ");
        EXPECT_EQ(r.cur[3], "5");
    }
}

TEST(Enter, OnAnEmptyLogCopiesLevel1) {
    for (char sep : kSeps) {
        Registers r;
        r.cur[1] = "5";
        r.cur[2] = "8";
        r.enter(sep);
        EXPECT_EQ(r.log(), "5");
        EXPECT_EQ(r.cur[1], "5");
        EXPECT_EQ(r.cur[2], "8");
        EXPECT_EQ(r.cur[3], "");
        // A second ENTER lifts the copy.
        r.enter(sep);
        EXPECT_EQ(r.log(), "");
        EXPECT_EQ(r.cur[1], "5");
        EXPECT_EQ(r.cur[2], "5");
        EXPECT_EQ(r.cur[3], "8");
    }
}

TEST(Enter, EmptyLogAndEmptyOrNonNumericLevel1ChangeNothing) {
    for (char sep : kSeps) {
        Registers r;
        r.enter(sep);
        for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], "") << i;

        Registers t = tagged();
        t.log().clear();  // log empty, level 1 "r1" is not a number
        const Registers before = t;
        t.enter(sep);
        EXPECT_EQ(t.cur, before.cur);

        // Level 1 empty but higher levels filled: still nothing.
        Registers u;
        u.cur[2] = "3";
        u.enter(sep);
        EXPECT_EQ(u.log(), "");
        EXPECT_EQ(u.cur[1], "");
        EXPECT_EQ(u.cur[2], "3");
    }
}

TEST(Enter, DiscardsALogThatIsNotANumber) {
    for (char sep : kSeps) {
        for (const char* typed : {"12E", "12E-", "-", "E", "abc", "1E309"}) {
            Registers r;
            r.log() = typed;
            r.cur[1] = "7";
            r.cur[2] = "9";
            r.enter(sep);
            EXPECT_EQ(r.log(), "7") << typed;  // dropped, then level 1 copied
            EXPECT_EQ(r.cur[1], "7") << typed;
            EXPECT_EQ(r.cur[2], "9") << typed;
            EXPECT_EQ(r.cur[3], "") << typed;
        }
        Registers e;
        e.log() = "12E";
        e.enter(sep);
        EXPECT_EQ(e.log(), "");
        EXPECT_EQ(e.cur[1], "");
    }
    // Numeric only with its own separator.
    Registers p;
    p.log() = "12,";
    p.enter('.');
    EXPECT_EQ(p.log(), "");
    EXPECT_EQ(p.cur[1], "");
    p.log() = "12,";
    p.enter(',');
    EXPECT_EQ(p.cur[1], "12,");
}

TEST(Enter, KeepsNineteenLevelsAndLeavesLevel20Alone) {
    for (char sep : kSeps) {
        Registers r;
        fillLevels(r, 19);
        r.cur[20] = "7";
        r.log() = "0";
        r.enter(sep);
        EXPECT_EQ(r.log(), "");
        EXPECT_EQ(r.cur[1], "0");
        for (int i = 2; i <= 19; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], std::to_string(i - 1)) << i;
        EXPECT_EQ(r.cur[20], "7");  // "19" is gone, not moved into level 20

        // An empty level 20 stays empty, however many lifts.
        Registers s;
        for (int n = 0; n < 30; ++n) {
            s.log() = std::to_string(n);
            s.enter(sep);
        }
        EXPECT_EQ(s.cur[1], "29");
        EXPECT_EQ(s.cur[19], "11");
        EXPECT_EQ(s.cur[20], "");
    }
}

TEST(Enter, LiftsOverANonNumericLevel1) {
    Registers r;
    r.cur[1] = "abc";
    r.log() = "4";
    r.enter('.');
    EXPECT_EQ(r.cur[1], "4");
    EXPECT_EQ(r.cur[2], "abc");
}

TEST(Retroceder, DropsLevelsAndEmptiesLevel20) {
    Registers r = tagged();
    r.retroceder();
    EXPECT_EQ(r.log(), "r0");  // the log is not touched
    for (int i = 1; i <= 19; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], "r" + std::to_string(i + 1)) << i;
    EXPECT_EQ(r.cur[20], "");
    // Level 20 holding "7": it reaches level 19.
    Registers s;
    s.cur[20] = "7";
    s.retroceder();
    EXPECT_EQ(s.cur[19], "7");
    EXPECT_EQ(s.cur[20], "");
    // On an empty stack nothing happens.
    Registers e;
    e.retroceder();
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(e.cur[static_cast<size_t>(i)], "") << i;
}

TEST(Snapshot, SavesAll21AndUndoRestoresThem) {
    Registers r = tagged();
    r.guardarpila();
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(r.saved[static_cast<size_t>(i)], "r" + std::to_string(i)) << i;
    for (auto& c : r.cur) c = "changed";
    r.restore();
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], "r" + std::to_string(i)) << i;
    // The saved texts stay; a second undo gives the same texts again.
    for (auto& c : r.cur) c.clear();
    r.restore();
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], "r" + std::to_string(i)) << i;
    EXPECT_EQ(r.saved, r.cur);
}

TEST(Snapshot, ReplacesEverySavedText) {
    Registers r = tagged("a");
    r.guardarpila();
    r.cur = tagged("b").cur;
    r.cur[3].clear();  // an emptied register is saved as empty
    r.guardarpila();
    for (int i = 0; i < kRegisters; ++i)
        EXPECT_EQ(r.saved[static_cast<size_t>(i)], i == 3 ? "" : "b" + std::to_string(i)) << i;
}

TEST(Snapshot, UndoBeforeAnySnapshotEmptiesEverything) {
    Registers r = tagged();
    r.restore();
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(r.cur[static_cast<size_t>(i)], "") << i;
}

TEST(Clear, EmptiesEveryCurrentTextButNoSavedText) {
    Registers r = tagged();
    r.guardarpila();
    r.clear();
    for (int i = 0; i < kRegisters; ++i) {
        EXPECT_EQ(r.cur[static_cast<size_t>(i)], "") << i;
        EXPECT_EQ(r.saved[static_cast<size_t>(i)], "r" + std::to_string(i)) << i;
    }
    r.restore();
    EXPECT_EQ(r.cur[20], "r20");
}

// ---------------------------------------------------------------- the keypad's frame

TEST(KeypadFrame, UndoAfterPlusTwice) {
    for (char sep : kSeps) {
        Engine e;
        e.sep = sep;
        e.regs.log() = "3";
        e.regs.cur[1] = "2";
        e.regs.cur[2] = "9";
        e.press(Key::Add);  // snapshot, log := 5, drop
        EXPECT_EQ(e.regs.log(), "5");
        EXPECT_EQ(e.regs.cur[1], "9");
        e.press(Key::Undo);
        EXPECT_EQ(e.regs.log(), "3");
        EXPECT_EQ(e.regs.cur[1], "2");
        EXPECT_EQ(e.regs.cur[2], "9");
        e.regs.log() += "1";  // typed after the undo: no snapshot
        e.press(Key::Undo);
        EXPECT_EQ(e.regs.log(), "3");
        EXPECT_EQ(e.regs.cur[1], "2");
        EXPECT_EQ(e.regs.cur[2], "9");
    }
}

TEST(KeypadFrame, UndoRemovesDigitsTypedAfterTheSnapshot) {
    Engine e;
    e.numero_Click(7);
    e.press(Key::Enter);  // snapshot with log "7"
    e.numero_Click(4);
    EXPECT_EQ(e.regs.log(), "4");
    EXPECT_EQ(e.regs.cur[1], "7");
    e.press(Key::Undo);
    EXPECT_EQ(e.regs.log(), "7");
    EXPECT_EQ(e.regs.cur[1], "");
}

TEST(KeypadFrame, UndoFirstEmptiesEveryRegister) {
    Engine e;
    e.numero_Click(1);
    e.numero_Click(2);
    e.press(Key::Undo);
    for (int i = 0; i < kRegisters; ++i) EXPECT_EQ(e.regs.cur[static_cast<size_t>(i)], "") << i;
}

TEST(KeypadFrame, IndicesOutsideTheKeypadOnlyTakeTheSnapshot) {
    for (int index : {-1, 66, 67, 1000, -32768, 32767}) {
        Engine e;
        e.regs.cur = tagged().cur;
        e.regs.log() = "8";
        const auto before = e.regs.cur;
        EXPECT_TRUE(e.tecla_Click(index)) << index;
        EXPECT_EQ(e.regs.cur, before) << index;
        EXPECT_EQ(e.regs.saved, before) << index;  // the snapshot comes first
        EXPECT_FALSE(e.err.visible) << index;
        EXPECT_EQ(e.err.indicator, "E ") << index;
    }
}
