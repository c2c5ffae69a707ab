#include "icon.h"

#include <cstdio>

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

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

std::string hex(IconColor c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

std::string opacity(const char* attribute, IconColor c) {
    if (c.a == 255) return {};
    return std::string(" ") + attribute + "=\"" + number(c.a / 255.0) + "\"";
}

}  // namespace

const std::vector<IconShape>& iconShapes() {
    static const std::vector<IconShape> shapes = makeShapes();
    return shapes;
}

std::string iconSvg(int sizePx) {
    const std::string size = std::to_string(sizePx);
    std::string defs, body;
    int gradients = 0;
    for (const IconShape& s : iconShapes()) {
        std::string fill;
        if (s.gradient()) {
            const std::string id = "g" + std::to_string(gradients++);
            defs += "    <linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" +
                    number(s.fromY) + "\" x2=\"0\" y2=\"" + number(s.toY) + "\">\n";
            defs += "      <stop offset=\"0\" stop-color=\"" + hex(s.top) + "\"" + opacity("stop-opacity", s.top) + "/>\n";
            defs += "      <stop offset=\"1\" stop-color=\"" + hex(s.bottom) + "\"" + opacity("stop-opacity", s.bottom) +
                    "/>\n";
            defs += "    </linearGradient>\n";
            fill = "url(#" + id + ")\"";
        } else {
            fill = hex(s.top) + "\"" + opacity("fill-opacity", s.top);
        }
        body += "  <rect x=\"" + number(s.x) + "\" y=\"" + number(s.y) + "\" width=\"" + number(s.w) + "\" height=\"" +
                number(s.h) + "\"";
        if (s.radius > 0) body += " rx=\"" + number(s.radius) + "\"";
        body += " fill=\"" + fill + "/>\n";
    }
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + size + "\" height=\"" + size + "\" viewBox=\"0 0 " +
           number(kIconUnits) + " " + number(kIconUnits) + "\">\n";
    svg += "  <title>Morvane</title>\n";
    if (!defs.empty()) svg += "  <defs>\n" + defs + "  </defs>\n";
    svg += body;
    svg += "</svg>\n";
    return svg;
}

}  // namespace morvane
