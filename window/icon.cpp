#include "icon.h"

namespace morvane {

namespace {

std::vector<IconShape> makeShapes() {
    auto plain = [](double x, double y, double w, double h, double radius, IconColor c) {
        return IconShape{x, y, w, h, radius, c, c, 0, 0};
    };
    std::vector<IconShape> v;
    // The case: its shadow, its dark outline and the body, lit from above.
    v.push_back(plain(4.5, 1.5, 24, 30, 3.5, {0, 0, 0, 90}));
    v.push_back(plain(4, 1, 24, 30, 3.5, {10, 10, 12}));
    v.push_back(IconShape{5, 2, 22, 28, 2.5, {84, 86, 94}, {40, 41, 46}, 1, 31});
    // The display in its bezel, with a number in the log line.
    v.push_back(plain(7, 4, 18, 8, 0, {10, 12, 12}));
    v.push_back(plain(8, 5, 16, 6, 0, {0, 192, 0}));
    v.push_back(plain(15, 8, 8, 2, 0, {0, 60, 0}));
    // The keys: three columns of digits and a column of operators under
    // the red delete key.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            IconColor c = col == 3 ? IconColor{112, 128, 152} : IconColor{232, 230, 222};
            if (row == 0 && col == 3) c = {184, 88, 66};
            v.push_back(plain(7 + col * 5, 14 + row * 4, 4, 3, 0, c));
        }
    }
    return v;
}

}  // namespace

const std::vector<IconShape>& iconShapes() {
    static const std::vector<IconShape> shapes = makeShapes();
    return shapes;
}

}  // namespace morvane
