// morvane-replay [--separator C] [SCRIPT]: scripted events and checks
// against the window model. --separator sets the regional decimal separator
// at start, so that one script runs under both.
#include <cstring>
#include <fstream>
#include <iostream>

#include "replay.h"

int main(int argc, char** argv) {
    char separator = '.';
    int arg = 1;
    if (arg < argc && std::strcmp(argv[arg], "--separator") == 0) {
        if (arg + 1 >= argc || std::strlen(argv[arg + 1]) != 1) {
            std::cerr << "morvane-replay: --separator needs one character\n";
            return 2;
        }
        separator = argv[arg + 1][0];
        arg += 2;
    }
    if (argc - arg > 1) {
        std::cerr << "usage: morvane-replay [--separator C] [SCRIPT]\n";
        return 2;
    }
    morvane::Replay replay(std::cout, separator);
    if (arg < argc) {
        std::ifstream in(argv[arg]);
        if (!in) {
            std::cerr << "morvane-replay: cannot read " << argv[arg] << "\n";
            return 2;
        }
        replay.run(in);
    } else {
        replay.run(std::cin);
    }
    return replay.failed() == 0 ? 0 : 1;
}
