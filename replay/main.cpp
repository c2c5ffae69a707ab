// morvane-replay [SCRIPT]: scripted events and checks against the window model.
#include <fstream>
#include <iostream>

#include "replay.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: morvane-replay [SCRIPT]\n";
        return 2;
    }
    morvane::Replay replay(std::cout);
    if (argc == 2) {
        std::ifstream in(argv[1]);
        if (!in) {
            std::cerr << "morvane-replay: cannot read " << argv[1] << "\n";
            return 2;
        }
        replay.run(in);
    } else {
        replay.run(std::cin);
    }
    return replay.failed() == 0 ? 0 : 1;
}
