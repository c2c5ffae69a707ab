// The icon written as SVG, for the build's tool (data/make_icon_svg.cpp);
// the program itself only paints the shapes.
#include <cstdio>

#include "icon.h"

namespace morvane {

namespace {

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
            defs +=
                "      <stop offset=\"0\" stop-color=\"" + hex(s.top) + "\"" + opacity("stop-opacity", s.top) + "/>\n";
            defs += "      <stop offset=\"1\" stop-color=\"" + hex(s.bottom) + "\"" +
                    opacity("stop-opacity", s.bottom) + "/>\n";
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
