// The value stack: 21 text registers, each with a current and a saved text.
// Register 0 is the log (the entry line and the result register); 1..20 are
// the stack levels. A lift fills levels 1..19; level 20 is only ever written
// by the undo restore and the exchange keys.
#pragma once

#include <array>
#include <string>

namespace morvane {

constexpr int kRegisters = 21;

struct Registers {
    std::array<std::string, kRegisters> cur;    // captions
    std::array<std::string, kRegisters> saved;  // tags: the undo snapshot

    std::string& log() { return cur[0]; }
    const std::string& log() const { return cur[0]; }

    void enter(char sep);   // lift
    void retroceder();      // drop
    void guardarpila();     // snapshot
    void restore();         // undo
    void clear();           // DEL
};

}  // namespace morvane
