// The pieces the skin is painted from, shared by its files: the key grid
// (skin_grid.cpp), the legends (skin_legend.cpp) and the fills
// (skin_fill.cpp). Not for use outside the skin.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <string_view>
#include <utility>
#include <vector>

#include "window/layout.h"

class QBrush;
class QPainter;

namespace morvane::skin {

constexpr double kTw = kTwipsPerPixel;

// A box of twips in window pixels.
QRectF pixels(int left, int top, int width, int height);
// The face under a key, from its label box; an empty rectangle when the
// label lies in no row of the grid.
QRectF faceRect(const ControlDef& d);

// Rounds a coordinate to the device's pixel grid.
double snap(double v, double dpr);

QFont legendFont(int px, bool bold = true, double spacing = 0);

enum class Glyph { Text, Plus, Minus, Times, Divide, Back, Point, Root, Power };

// One run of text of a painted legend, placed relative to the legend's
// origin (the baseline of its first run). (QStaticText would be faster, but
// Qt 6.4 misplaces it under a device pixel ratio.)
struct Run {
    QString text;
    QFont font;
    QPointF at;  // baseline, relative to the origin
};

struct Legend {
    Glyph glyph = Glyph::Text;
    std::vector<Run> runs;
    QRectF ink;  // relative to the origin
};

// The legend of a face's text.
Legend makeLegend(std::string_view text);
void drawRun(QPainter& p, const Run& r, QPointF origin);
// Paints a legend in `ink`, centred on the face's top surface.
void paintLegend(QPainter& p, const Legend& g, const QColor& ink, const QRectF& surface, double dpr);

// A linear gradient, drawn as a texture: the raster engine keeps a colour
// table of 12 KB for every gradient brush it has drawn, for as long as the
// program runs, and the skin's two dozen gradients would hold 300 KB of
// tables for a few thousand pixels of colour. A texture of one texel per
// device pixel along the gradient holds the same colours, interpolated as
// the engine interpolates them (between premultiplied stops, at each
// pixel's centre), and lives only while it is drawn.
struct Gradient {
    std::vector<std::pair<double, QColor>> stops;
    bool horizontal = false;
    // In window coordinates from `from` to `to`; otherwise across each
    // rectangle that is filled.
    bool window = false;
    double from = 0, to = 1;
};

// The gradient's brush for filling r, at the device pixel ratio dpr.
QBrush brushFor(const Gradient& g, const QRectF& r, double dpr);

}  // namespace morvane::skin
