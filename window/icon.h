// The program's icon as data: filled rectangles, some with rounded corners
// and some with a vertical gradient, on a square of 32 units, painted in
// order. The window paints these shapes (its window icon, the picture
// Image1, the print page's icon) and the build writes them out as the
// scalable SVG from which the installed PNG icons are rendered, so that
// every copy of the icon is the same picture.
#pragma once

#include <string>
#include <vector>

namespace morvane {

struct IconColor {
    unsigned char r = 0, g = 0, b = 0, a = 255;
    bool operator==(const IconColor&) const = default;
};

struct IconShape {
    double x = 0, y = 0, w = 0, h = 0;  // units
    double radius = 0;                  // of the corners; 0 for square ones
    // The fill: `top` alone, or a vertical gradient from `top` at unit
    // `fromY` to `bottom` at unit `toY` when the two colours differ.
    IconColor top, bottom;
    double fromY = 0, toY = 0;
    bool gradient() const { return !(top == bottom); }
};

constexpr double kIconUnits = 32;

// The shapes, back to front.
const std::vector<IconShape>& iconShapes();

// The icon as a standalone SVG document, sizePx pixels square by default,
// whose user space is the 32-unit square (window/icon_svg.cpp, linked by
// the build's tool that writes the installed SVG).
std::string iconSvg(int sizePx = 256);

}  // namespace morvane
