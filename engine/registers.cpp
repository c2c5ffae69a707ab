#include "registers.h"

#include "numtext.h"

namespace morvane {

void Registers::enter(char sep) {
    if (!isNumeric(cur[0], sep)) cur[0].clear();
    if (cur[0].empty()) {
        // ENTER on an empty log copies level 1 into it; no level moves.
        if (isNumeric(cur[1], sep)) cur[0] = cur[1];
        return;
    }
    for (int i = 19; i >= 2; --i) cur[i] = cur[i - 1];
    cur[1] = cur[0];
    cur[0].clear();
}

void Registers::retroceder() {
    for (int i = 1; i <= 19; ++i) cur[i] = cur[i + 1];
    cur[20].clear();
}

void Registers::guardarpila() {
    // The replaced snapshot is moved aside, not copied: texts may be 65536
    // characters long.
    replaced_.swap(saved);
    took_ = true;
    saved = cur;
}

void Registers::keyDone() {
    if (!took_) return;
    took_ = false;
    for (std::string& s : replaced_) std::string().swap(s);
}

void Registers::keyFailed() {
    if (!took_) return;
    took_ = false;
    cur = saved;
    saved.swap(replaced_);
    for (std::string& s : replaced_) std::string().swap(s);
}

void Registers::restore() { cur = saved; }

void Registers::clear() {
    for (auto& r : cur) r.clear();
}

}  // namespace morvane
