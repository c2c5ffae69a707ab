// morvane-icon-svg OUT.svg: writes the program's icon (window/icon.h) as a
// scalable SVG; the build renders the installed PNG icons from it.
#include <cstdio>

#include "window/icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvane-icon-svg OUT.svg\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string svg = morvane::iconSvg();
    const bool ok = std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}
