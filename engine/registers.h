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

    void enter(char sep);  // lift
    void retroceder();     // drop
    void guardarpila();    // snapshot
    void restore();        // undo
    void clear();          // DEL

    // A key that fails changes nothing at all, its undo snapshot included.
    // guardarpila() keeps the snapshot it replaces until the key ends (a key
    // takes one snapshot at most): keyDone() forgets it, keyFailed() puts
    // the registers back as they were before the key and the replaced
    // snapshot back in place. A key that took no snapshot wrote nothing
    // before it failed, so keyFailed() leaves its registers as they are.
    void keyDone();
    void keyFailed();

private:
    std::array<std::string, kRegisters> replaced_;
    bool took_ = false;  // the key in progress took a snapshot
};

}  // namespace morvane
