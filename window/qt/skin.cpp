// The calculator's skin: a hand-held calculator drawn with QPainter from the
// layout tables. Everything is vectors and text drawn at the device's own
// resolution, so the picture stays crisp at any device pixel ratio.
//
// The picture, top to bottom: a case with a faint rim along its top and
// sides; a lighter upper plate with the name "MORVANE" and the title keys'
// beds; a recessed bezel around the display area; a groove; the keypad,
// where every clickable key of the keypad table stands on a face of its
// kind, with the key's legend painted on it when the key has no caption;
// and below the skin the window's plain background (the lower strip of the
// tall window).
#include "skin.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "window/icon.h"
#include "window/layout.h"

namespace morvane {

namespace {

constexpr double kTw = kTwipsPerPixel;

// ---------------------------------------------------------------- geometry

// The key grid. Faces are placed on it from the label boxes: a label picks
// the row its centre lies in and the columns its edges lie in.
struct Band {
    int top, height;  // twips
};
constexpr std::array<Band, 3> kUpperRows{{{3495, 270}, {4080, 300}, {4650, 300}}};
constexpr std::array<Band, 4> kLowerRows{{{5175, 345}, {5745, 345}, {6315, 345}, {6885, 345}}};
// Upper block: six columns, pitch 570, 480 wide.
constexpr int kUpperLeft = 195, kUpperPitch = 570, kUpperWidth = 480, kUpperColumns = 6;
// Lower block: the narrow column, three digit columns and the operators.
constexpr std::array<Band, 5> kLowerColumns{{{195, 480}, {855, 570}, {1545, 570}, {2235, 570}, {2925, 600}}};
// The narrow keys are shorter than the digits and top-aligned with them.
constexpr int kNarrowHeight = 300;

// Where the parts of the picture lie, in pixels.
constexpr double kGrooveY = 217;
constexpr double kRimInset = 3.5;
constexpr double kEdgeShade = 16;  // width of the shading along each side
constexpr double kWindowWidthPx = static_cast<double>(kWindowWidthTw) / kTwipsPerPixel;
const QRectF kBezel(14, 42, 219, 159);
constexpr double kBezelRadius = 5;
const QRectF kDisplayArea(330 / kTw, 780 / kTw, 3045 / kTw, 2115 / kTw);

QRectF pixels(int left, int top, int width, int height) {
    return QRectF(left / kTw, top / kTw, width / kTw, height / kTw);
}

int upperColumnOf(double x) {
    const int k = static_cast<int>(std::lround((x - kUpperLeft - kUpperWidth / 2.0) / kUpperPitch));
    return std::clamp(k, 0, kUpperColumns - 1);
}

int lowerColumnOf(double x) {
    int best = 0;
    double bestDistance = 1e9;
    for (int k = 0; k < static_cast<int>(kLowerColumns.size()); ++k) {
        const double centre = kLowerColumns[k].top + kLowerColumns[k].height / 2.0;
        if (std::abs(x - centre) < bestDistance) {
            bestDistance = std::abs(x - centre);
            best = k;
        }
    }
    return best;
}

// The face under a key, from its label box; an empty rectangle when the
// label lies in no row of the grid.
QRectF faceRect(const ControlDef& d) {
    const Box& b = d.box;
    const double cy = b.top + b.height / 2.0;
    for (const Band& row : kUpperRows) {
        if (cy < row.top || cy >= row.top + row.height) continue;
        const int first = upperColumnOf(b.left);
        const int last = std::max(first, upperColumnOf(b.right()));
        const int left = kUpperLeft + first * kUpperPitch;
        const int right = kUpperLeft + last * kUpperPitch + kUpperWidth;
        return pixels(left, row.top, right - left, row.height);
    }
    for (const Band& row : kLowerRows) {
        if (cy < row.top || cy >= row.top + row.height) continue;
        const int k = lowerColumnOf(b.left + b.width / 2.0);
        const Band& col = kLowerColumns[static_cast<size_t>(k)];
        const int height = d.face == Face::Narrow ? kNarrowHeight : row.height;
        return pixels(col.top, row.top, col.height, height);
    }
    return {};
}

// ---------------------------------------------------------------- styles

struct FaceStyle {
    QColor top, bottom;  // the key's top surface
    QColor skirt;        // its front side
    QColor ink;          // painted legend
    double skirtPx;
    int sheen;  // alpha of the highlight along the top edge
};

const FaceStyle& styleOf(Face f) {
    static const FaceStyle mode{{76, 86, 105}, {56, 64, 80}, {34, 39, 50}, {255, 255, 192}, 2.5, 70};
    static const FaceStyle function{{98, 100, 108}, {74, 76, 82}, {44, 45, 50}, {250, 250, 250}, 3, 70};
    static const FaceStyle enter{{108, 112, 123}, {80, 84, 94}, {48, 51, 58}, {250, 250, 250}, 3, 75};
    static const FaceStyle del{{184, 88, 66}, {146, 62, 48}, {94, 38, 30}, {255, 255, 255}, 3, 90};
    static const FaceStyle digit{{242, 240, 234}, {208, 206, 198}, {146, 144, 136}, {24, 24, 24}, 3.5, 200};
    static const FaceStyle op{{114, 129, 152}, {86, 98, 118}, {55, 63, 79}, {255, 255, 255}, 3, 80};
    static const FaceStyle narrow{{72, 74, 80}, {54, 56, 61}, {33, 34, 38}, {250, 250, 250}, 3, 55};
    switch (f) {
        case Face::Mode:
            return mode;
        case Face::Enter:
            return enter;
        case Face::Delete:
            return del;
        case Face::Digit:
            return digit;
        case Face::Operator:
            return op;
        case Face::Narrow:
            return narrow;
        case Face::Function:
        case Face::None:
            break;
    }
    return function;
}

constexpr size_t kFaceKinds = static_cast<size_t>(Face::Narrow) + 1;  // the values of Face

// The radical of the square-root legend: its width before the x and its
// height above the baseline.
constexpr double kRootWidth = 6.5, kRootHeight = 7.5;

QFont legendFont(int px, bool bold = true, double spacing = 0) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(bold);
    if (spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

// ---------------------------------------------------------------- legends

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

QRectF inkOf(const Run& r) {
    QPainterPath path;
    path.addText(r.at, r.font, r.text);
    return path.boundingRect();
}

void drawRun(QPainter& p, const Run& r, QPointF origin) {
    p.setFont(r.font);
    p.drawText(origin + r.at, r.text);
}

Legend makeLegend(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    Legend g;
    if (s == QStringLiteral("+"))
        g.glyph = Glyph::Plus;
    else if (s == QStringLiteral("\u2212") || s == QStringLiteral("-"))
        g.glyph = Glyph::Minus;
    else if (s == QStringLiteral("\u00d7"))
        g.glyph = Glyph::Times;
    else if (s == QStringLiteral("\u00f7"))
        g.glyph = Glyph::Divide;
    else if (s == QStringLiteral("\u2190"))
        g.glyph = Glyph::Back;
    else if (s == QStringLiteral("."))
        g.glyph = Glyph::Point;
    if (g.glyph != Glyph::Text) return g;

    const QFont small = legendFont(9);
    if (s.size() == 1 && s.at(0).isDigit()) {
        g.runs.push_back(Run{s, legendFont(14), {0, 0}});
    } else if (s == QStringLiteral("\u221ax")) {
        // The radical is drawn as a stroke; only the x is text.
        g.glyph = Glyph::Root;
        g.runs.push_back(Run{QStringLiteral("x"), small, {kRootWidth, 0}});
    } else if (s == QStringLiteral("y^x")) {
        g.glyph = Glyph::Power;
        const double yw = QFontMetricsF(small).horizontalAdvance(QStringLiteral("y"));
        g.runs.push_back(Run{QStringLiteral("y"), small, {0, 0}});
        g.runs.push_back(Run{QStringLiteral("x"), legendFont(7), {yw + 0.5, -4}});
    } else if (s == QStringLiteral("ENTER")) {
        g.runs.push_back(Run{s, legendFont(9, true, 1.2), {0, 0}});
    } else {
        QString shown = s;
        shown.replace(QStringLiteral("+/-"), QStringLiteral("+/\u2212"));
        g.runs.push_back(Run{shown, small, {0, 0}});
    }
    QRectF ink;
    for (const Run& r : g.runs) ink = ink.united(inkOf(r));
    if (g.glyph == Glyph::Root) ink = ink.united(QRectF(0, -kRootHeight, kRootWidth, kRootHeight + 0.6));
    if (g.glyph == Glyph::Text) {
        // Legends of one font share a baseline: centred across by their own
        // ink, up and down by the ink of the font's digits or capitals.
        // (Measured once per font: outlines of ten digits are not cheap.)
        const Run& r = g.runs.front();
        static std::map<QString, QRectF> lines;
        const QString sample = s.at(0).isDigit() ? QStringLiteral("0123456789") : QStringLiteral("HEX");
        const QString key = r.font.key() + QLatin1Char('|') + sample;
        auto it = lines.find(key);
        if (it == lines.end()) it = lines.emplace(key, inkOf(Run{sample, r.font, {0, 0}})).first;
        const QRectF line = it->second.translated(r.at);
        ink.setTop(line.top());
        ink.setBottom(line.bottom());
    }
    g.ink = ink;
    return g;
}

// ---------------------------------------------------------------- the skin

struct KeyFace {
    const ControlDef* def;
    QRectF rect;
    size_t style;  // by Face
    bool hasLegend;
    Legend legend;
};

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

// The premultiplied colour at t in 0..1.
QRgb colourAt(const Gradient& g, double t) {
    t = std::clamp(t, 0.0, 1.0);
    size_t i = 1;
    while (i + 1 < g.stops.size() && g.stops[i].first < t) ++i;
    const auto& [t0, c0] = g.stops[i - 1];
    const auto& [t1, c1] = g.stops[i];
    const double f = t1 > t0 ? std::clamp((t - t0) / (t1 - t0), 0.0, 1.0) : 0.0;
    const QRgb a = qPremultiply(c0.rgba()), b = qPremultiply(c1.rgba());
    auto mix = [f](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
    return qRgba(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)), mix(qAlpha(a), qAlpha(b)));
}

// The gradient's brush for filling r.
QBrush brushFor(const Gradient& g, const QRectF& r, double dpr) {
    const double lo = g.horizontal ? r.left() : r.top(), hi = g.horizontal ? r.right() : r.bottom();
    const double start = g.window ? g.from : lo, end = g.window ? g.to : hi;
    const int first = static_cast<int>(std::floor(lo * dpr));
    const int n = std::max(1, static_cast<int>(std::ceil(hi * dpr)) - first);
    QImage strip(g.horizontal ? n : 1, g.horizontal ? 1 : n, QImage::Format_ARGB32_Premultiplied);
    for (int k = 0; k < n; ++k) {
        const double at = (first + k + 0.5) / dpr;
        const QRgb c = colourAt(g, end > start ? (at - start) / (end - start) : 0.0);
        strip.setPixel(g.horizontal ? k : 0, g.horizontal ? 0 : k, c);
    }
    QBrush b(strip);
    QTransform t;
    if (g.horizontal)
        t.translate(first / dpr, 0);
    else
        t.translate(0, first / dpr);
    t.scale(1 / dpr, 1 / dpr);
    b.setTransform(t);
    return b;
}

struct SkinData {
    std::vector<KeyFace> faces;
    std::vector<QRectF> titleKeys;  // the rings' insides
    Run brand;
    Gradient plate, keypad, leftEdge, rightEdge, bezel, bezelShade, bezelSides, lipTop, lipBottom;
    std::array<Gradient, kFaceKinds> top, skirt;
};

// A gradient down each rectangle filled.
Gradient verticalGradient(std::initializer_list<std::pair<double, QColor>> stops) {
    return Gradient{stops, false, false};
}

// A gradient in window coordinates, along x or y.
Gradient windowGradient(bool horizontal, double from, double to,
                        std::initializer_list<std::pair<double, QColor>> stops) {
    return Gradient{stops, horizontal, true, from, to};
}

SkinData build() {
    SkinData s;
    for (const ControlDef& d : keypadLayout()) {
        if (!d.clickable || d.face == Face::None) continue;
        const QRectF r = faceRect(d);
        if (r.isEmpty()) continue;
        KeyFace k{&d, r, static_cast<size_t>(d.face), d.caption.empty() && !d.legend.empty(), {}};
        if (k.hasLegend) k.legend = makeLegend(d.legend);
        s.faces.push_back(std::move(k));
    }
    double baseline = 0;
    for (const ControlDef& d : titleBandLayout()) {
        if (d.kind == Kind::Shape) s.titleKeys.push_back(pixels(d.box.left, d.box.top, d.box.width, d.box.height));
        if (d.name == "NumeroDeVersión") {
            // The name sits on the version label's baseline (a label draws
            // its caption from the top of its box).
            QFont f(QStringLiteral("Arial"));
            f.setPointSizeF(d.pt);
            f.setBold(d.bold);
            baseline = d.box.top / kTw + QFontMetrics(f).ascent();
        }
    }
    s.brand = Run{QStringLiteral("MORVANE"), legendFont(10, true, 2.2), {15, baseline}};

    s.plate = windowGradient(false, 0, kGrooveY, {{0, QColor(74, 76, 82)}, {1, QColor(56, 57, 63)}});
    s.keypad = windowGradient(false, kGrooveY, kSkinHeightPx, {{0, QColor(50, 51, 56)}, {1, QColor(36, 37, 41)}});
    s.leftEdge = windowGradient(true, 0, kEdgeShade, {{0, QColor(0, 0, 0, 64)}, {1, QColor(0, 0, 0, 0)}});
    s.rightEdge = windowGradient(true, kWindowWidthPx - kEdgeShade, kWindowWidthPx,
                                 {{0, QColor(0, 0, 0, 0)}, {1, QColor(0, 0, 0, 64)}});
    s.bezel = windowGradient(false, kBezel.top(), kBezel.bottom(), {{0, QColor(14, 15, 17)}, {1, QColor(30, 31, 35)}});
    s.bezelSides = windowGradient(false, kBezel.top(), kBezel.bottom(),
                                  {{0, QColor(0, 0, 0, 60)}, {1, QColor(255, 255, 255, 22)}});
    s.lipTop = verticalGradient({{0, QColor(0, 0, 0, 96)}, {1, QColor(0, 0, 0, 64)}});
    s.lipBottom = verticalGradient({{0, QColor(255, 255, 255, 18)}, {1, QColor(255, 255, 255, 30)}});
    s.bezelShade = verticalGradient({{0, QColor(0, 0, 0, 110)}, {1, QColor(0, 0, 0, 0)}});
    for (size_t f = 0; f < kFaceKinds; ++f) {
        const FaceStyle& st = styleOf(static_cast<Face>(f));
        s.top[f] = verticalGradient({{0, st.top}, {1, st.bottom}});
        s.skirt[f] = verticalGradient({{0, st.skirt.lighter(112)}, {1, st.skirt.darker(118)}});
    }
    return s;
}

const SkinData& data() {
    static const SkinData s = build();
    return s;
}

// Rounds a coordinate to the device's pixel grid.
double snap(double v, double dpr) { return std::round(v * dpr) / dpr; }

void paintLegend(QPainter& p, const KeyFace& k, const QRectF& surface, double dpr) {
    const Legend& g = k.legend;
    const QColor ink = styleOf(static_cast<Face>(k.style)).ink;
    const QPointF c = surface.center();
    const double x = snap(c.x(), dpr), y = snap(c.y(), dpr);
    switch (g.glyph) {
        case Glyph::Plus:
            p.fillRect(QRectF(x - 5, y - 1, 10, 2), ink);
            p.fillRect(QRectF(x - 1, y - 5, 2, 4), ink);
            p.fillRect(QRectF(x - 1, y + 1, 2, 4), ink);
            return;
        case Glyph::Minus:
            p.fillRect(QRectF(x - 5, y - 1, 10, 2), ink);
            return;
        case Glyph::Divide:
            p.fillRect(QRectF(x - 5, y - 1, 10, 2), ink);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawEllipse(QPointF(x, y - 4), 1.3, 1.3);
            p.drawEllipse(QPointF(x, y + 4), 1.3, 1.3);
            return;
        case Glyph::Times: {
            p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::FlatCap));
            const double a = 3.6;
            const QLineF lines[] = {{c.x() - a, c.y() - a, c.x() + a, c.y() + a},
                                    {c.x() - a, c.y() + a, c.x() + a, c.y() - a}};
            p.drawLines(lines, 2);
            return;
        }
        case Glyph::Back: {
            // An arrow 14 wide: a 2-pixel shaft and a filled head.
            p.fillRect(QRectF(x - 3, y - 1, 10, 2), ink);
            const QPointF head[] = {{x - 7.5, y}, {x - 2, y - 4.5}, {x - 2, y + 4.5}};
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPolygon(head, 3);
            return;
        }
        case Glyph::Point:
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawEllipse(QPointF(x, y + 0.5), 1.8, 1.8);
            return;
        case Glyph::Text:
        case Glyph::Root:
        case Glyph::Power:
            break;
    }
    const QPointF origin(snap(c.x() - g.ink.center().x(), dpr), snap(c.y() - g.ink.center().y(), dpr));
    if (g.glyph == Glyph::Root) {
        // The vinculum on a pixel row of its own, over the x.
        const double bar = snap(origin.y() - kRootHeight, dpr) + 0.5 / dpr;
        const double end = g.ink.right() + 0.6;
        const QPointF stroke[] = {origin + QPointF(0.2, -3.2),
                                  origin + QPointF(1.6, -4.0),
                                  origin + QPointF(3.3, 0.3),
                                  {origin.x() + kRootWidth - 0.9, bar},
                                  {origin.x() + end, bar}};
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(stroke, 5);
    }
    p.setPen(ink);
    for (const Run& r : g.runs) drawRun(p, r, origin);
}

void paintFace(QPainter& p, const SkinData& s, const KeyFace& k, double dpr, bool pressed) {
    const QRectF r = k.rect;
    const FaceStyle& st = styleOf(static_cast<Face>(k.style));
    if (pressed) {
        // Held down: the top sinks onto the foot, shaded, and catches no light.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 8, 10, 235));
        p.drawRoundedRect(r, 3, 3);
        const QRectF foot = r.adjusted(1, 1, -1, -1);
        p.setBrush(brushFor(s.skirt[k.style], foot, dpr));
        p.drawRoundedRect(foot, 2.2, 2.2);
        const double sink = std::max(1.0, st.skirtPx - 1);
        const QRectF top = r.adjusted(1.5, 1 + sink, -1.5, -1);
        p.setBrush(brushFor(s.top[k.style], top, dpr));
        p.drawRoundedRect(top, 2.2, 2.2);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawRoundedRect(top, 2.2, 2.2);
        p.fillRect(QRectF(r.left() + 3, top.top(), r.width() - 6, 1 / dpr), QColor(0, 0, 0, 70));
        if (k.hasLegend) paintLegend(p, k, top, dpr);
        return;
    }
    // The shadow the key casts on the case, below its foot.
    p.fillRect(QRectF(r.left() + 1, r.bottom(), r.width() - 2, 1), QColor(0, 0, 0, 80));
    p.fillRect(QRectF(r.left() + 2, r.bottom() + 1, r.width() - 4, 1), QColor(0, 0, 0, 34));
    // The key's outline and its front side.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 8, 10, 225));
    p.drawRoundedRect(r, 3, 3);
    const QRectF skirt = r.adjusted(1, 1, -1, -1);
    p.setBrush(brushFor(s.skirt[k.style], skirt, dpr));
    p.drawRoundedRect(skirt, 2.2, 2.2);
    // The top surface, a little narrower than the key's foot.
    const QRectF top = r.adjusted(1.5, 1, -1.5, -(1 + st.skirtPx));
    p.setBrush(brushFor(s.top[k.style], top, dpr));
    p.drawRoundedRect(top, 2.2, 2.2);
    // Light catching the back edge of the top surface, shade at its front.
    const double line = 1 / dpr;
    p.fillRect(QRectF(r.left() + 3, top.top(), r.width() - 6, line), QColor(255, 255, 255, st.sheen));
    p.fillRect(QRectF(r.left() + 3, snap(top.bottom(), dpr) - line, r.width() - 6, line), QColor(0, 0, 0, 40));
    if (k.hasLegend) paintLegend(p, k, top, dpr);
}

void paintBody(QPainter& p, const SkinData& s, double dpr) {
    // The upper plate, a shade lighter, and the keypad below the groove.
    auto fillGradient = [&](const QRectF& r, const Gradient& g) { fillBanded(p, r, brushFor(g, r, dpr), dpr); };
    fillGradient(QRectF(0, 0, kSkinWidthPx, kGrooveY), s.plate);
    fillGradient(QRectF(0, kGrooveY, kSkinWidthPx, kSkinHeightPx - kGrooveY), s.keypad);
    // The case rounds away at its sides.
    fillGradient(QRectF(0, 0, kEdgeShade, kSkinHeightPx), s.leftEdge);
    fillGradient(QRectF(kWindowWidthPx - kEdgeShade, 0, kEdgeShade, kSkinHeightPx), s.rightEdge);
    p.fillRect(QRectF(0, kGrooveY, kSkinWidthPx, 1), QColor(0, 0, 0, 130));
    p.fillRect(QRectF(0, kGrooveY + 1, kSkinWidthPx, 1), QColor(255, 255, 255, 20));
    // The case's edge catches the light along the top.
    p.fillRect(QRectF(0, 0, kSkinWidthPx, 1), QColor(255, 255, 255, 34));

    // The rim: a fine groove along the top and the sides, a dark line with
    // a lit one inside it.
    const double w = kWindowWidthPx, in = kRimInset, rr = 4;
    const QColor dark(0, 0, 0, 95), lit(255, 255, 255, 22);
    const double sideTop = in + rr;
    fillBanded(p, QRectF(in - 0.5, sideTop, 1, kSkinHeightPx - sideTop), dark, dpr);
    fillBanded(p, QRectF(in + 0.5, sideTop + 1, 1, kSkinHeightPx - sideTop - 1), lit, dpr);
    fillBanded(p, QRectF(w - in - 0.5, sideTop, 1, kSkinHeightPx - sideTop), dark, dpr);
    p.fillRect(QRectF(in + rr, in - 0.5, w - 2 * (in + rr), 1), dark);
    p.fillRect(QRectF(in + rr + 1, in + 0.5, w - 2 * (in + rr) - 1, 1), lit);
    QPainterPath corners;
    corners.moveTo(in, sideTop);
    corners.arcTo(QRectF(in, in, 2 * rr, 2 * rr), 180, -90);
    corners.moveTo(w - in - rr, in);
    corners.arcTo(QRectF(w - in - 2 * rr, in, 2 * rr, 2 * rr), 90, -90);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(corners);
    QPainterPath inner;
    inner.moveTo(in + 1, sideTop + 1);
    inner.arcTo(QRectF(in + 1, in + 1, 2 * rr, 2 * rr), 180, -90);
    p.setPen(QPen(lit, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(inner);
}

void paintTitle(QPainter& p, const SkinData& s) {
    for (const QRectF& r : s.titleKeys) {
        p.fillRect(r.adjusted(0, 1, 1, 1), QColor(255, 255, 255, 16));
        p.fillRect(r, QColor(0, 0, 0, 70));
    }
    p.setPen(QColor(0, 0, 0, 110));
    drawRun(p, s.brand, {0, 1});
    p.setPen(QColor(212, 214, 220));
    drawRun(p, s.brand, {0, 0});
}

void paintBezel(QPainter& p, const SkinData& s, double dpr) {
    // Recessed: the case's lip is shaded above the opening and lit below it.
    // Only the lip's edges show, so it is drawn as its top and bottom caps
    // and its sides (shaded with gradients: the raster engine gives tall
    // shapes of one colour to its thread pool).
    const double r = kBezelRadius + 1;
    const QRectF lip = kBezel.adjusted(-1, -1, 1, 1);
    p.setPen(Qt::NoPen);
    auto roundedRect = [&](const QRectF& rect, const Gradient& g, double radius) {
        roundedBanded(p, rect, radius, brushFor(g, rect, dpr), dpr);
    };
    roundedRect(QRectF(lip.left(), lip.top(), lip.width(), 2 * r + 2), s.lipTop, r);
    roundedRect(QRectF(lip.left(), lip.bottom() - 2 * r - 2, lip.width(), 2 * r + 2), s.lipBottom, r);
    const QRectF side(lip.left(), lip.top() + r, 1, lip.height() - 2 * r);
    const QBrush sides = brushFor(s.bezelSides, side, dpr);
    fillBanded(p, side, sides, dpr);
    fillBanded(p, side.translated(lip.width() - 1, 0), sides, dpr);
    roundedRect(kBezel, s.bezel, kBezelRadius);
    // The shadow the lip casts into the well.
    roundedRect(QRectF(kBezel.left(), kBezel.top(), kBezel.width(), 6), s.bezelShade, kBezelRadius);
    // The glass's edge around the display.
    const QRectF glass = kDisplayArea.adjusted(-2, -2, 2, 2);
    fillBanded(p, glass.adjusted(0, 0, 0, 1), QColor(255, 255, 255, 14), dpr);
    fillBanded(p, glass, QColor(0, 0, 0, 150), dpr);
    fillBanded(p, kDisplayArea.adjusted(-1, -1, 1, 1), QColor(0, 40, 0), dpr);
}

void paintStrip(QPainter& p, int windowHeightPx) {
    if (windowHeightPx <= kSkinHeightPx) return;
    const QRectF strip(0, kSkinHeightPx, kSkinWidthPx, windowHeightPx - kSkinHeightPx);
    fillBanded(p, strip, QColor(27, 28, 31), p.device() ? p.device()->devicePixelRatioF() : 1.0);
    p.fillRect(QRectF(0, kSkinHeightPx, kSkinWidthPx, 1), QColor(10, 10, 12));
    p.fillRect(QRectF(0, kSkinHeightPx + 1, kSkinWidthPx, 1), QColor(255, 255, 255, 12));
}

}  // namespace

// The raster engine hands a fill of more than about a hundred spans to its
// thread pool, and waking the pool (starting its threads, the first time)
// costs far more than filling a few thousand pixels. Tall fills are
// therefore made in bands of 30 device rows (with gradients in window
// coordinates, so that the bands join seamlessly): a row takes up to three
// spans, two soft edges and the inside, or two where a child widget cuts a
// hole into the painted region. A rectangle on whole device pixels is
// filled without antialiasing, by the engine's rectangle path.
void paintFocusMark(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QRectF ring = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(ring);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(ring);
    p.restore();
}

void fillBanded(QPainter& p, const QRectF& r, const QBrush& b, double dpr) {
    auto whole = [dpr](double v) { return std::abs(v * dpr - std::round(v * dpr)) < 1e-6; };
    const bool onPixels = whole(r.left()) && whole(r.top()) && whole(r.right()) && whole(r.bottom());
    constexpr int bandRows = 30;
    const bool antialiased = p.testRenderHint(QPainter::Antialiasing);
    if (onPixels) p.setRenderHint(QPainter::Antialiasing, false);
    // Bands meet on whole device rows, so that no seam shows between them.
    const double band = bandRows / dpr;
    double y = r.top();
    while (y < r.bottom()) {
        const double next = std::min(r.bottom(), (std::floor(y / band + 1e-9) + 1) * band);
        p.fillRect(QRectF(r.left(), y, r.width(), next - y), b);
        y = next;
    }
    if (onPixels) p.setRenderHint(QPainter::Antialiasing, antialiased);
}

void roundedBanded(QPainter& p, const QRectF& r, double radius, const QBrush& b, double dpr) {
    // A rounded corner's rows take several spans each (one for every
    // pixel of partial cover): bands of 16 device rows.
    const double band = 16 / dpr;
    p.setBrush(b);
    for (double y = std::floor(r.top() * dpr) / dpr; y < r.bottom(); y += band) {
        p.save();
        p.setClipRect(QRectF(r.left() - 1, y, r.width() + 2, band), Qt::IntersectClip);
        p.drawRoundedRect(r, radius, radius);
        p.restore();
    }
}

void paintSelectionMark(QPainter& p, const QRectF& line, const QColor& colour) {
    // Below the baseline and the comma's tail, clear of the line beneath.
    p.fillRect(QRectF(line.left() + 2, line.bottom() - 2, line.width() - 4, 2), colour);
}

QRectF keyFace(const ControlDef& d) {
    for (const KeyFace& k : data().faces)
        if (k.def == &d) return k.rect;
    return {};
}

void paintSkin(QPainter& p, int windowHeightPx, const ControlDef* pressed) {
    const SkinData& s = data();
    const double dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintBody(p, s, dpr);
    paintTitle(p, s);
    paintBezel(p, s, dpr);
    for (const KeyFace& k : s.faces) paintFace(p, s, k, dpr, k.def == pressed);
    paintStrip(p, windowHeightPx);
    p.restore();
}

void paintIcon(QPainter& p, int size) { paintIcon(p, QRectF(0, 0, size, size)); }

void paintIcon(QPainter& p, const QRectF& r) {
    const double side = std::min(r.width(), r.height());
    if (side <= 0) return;
    auto qcolor = [](IconColor c) { return QColor(c.r, c.g, c.b, c.a); };
    const QPointF origin(r.center().x() - side / 2, r.center().y() - side / 2);
    // On the raster engine in strips of at most 30 device rows, for the
    // thread pool's sake (see fillBanded): each shape is antialiased, up to
    // three spans a row. A printer or PDF gets the shapes whole.
    const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    const double dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const double strip = raster ? 30 / dpr : side;
    for (double top = 0; top < side; top += strip) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        if (raster)
            p.setClipRect(QRectF(origin.x(), origin.y() + top, side, std::min(strip, side - top)), Qt::IntersectClip);
        p.translate(origin);
        p.scale(side / kIconUnits, side / kIconUnits);
        p.setPen(Qt::NoPen);
        for (const IconShape& s : iconShapes()) {
            if (s.gradient()) {
                QLinearGradient g(0, s.fromY, 0, s.toY);
                g.setColorAt(0, qcolor(s.top));
                g.setColorAt(1, qcolor(s.bottom));
                p.setBrush(g);
            } else {
                p.setBrush(qcolor(s.top));
            }
            const QRectF shape(s.x, s.y, s.w, s.h);
            if (s.radius > 0)
                p.drawRoundedRect(shape, s.radius, s.radius);
            else
                p.drawRect(shape);
        }
        p.restore();
    }
}

QIcon windowIcon() {
    // Painted once at each size that the window system is given
    // (_NET_WM_ICON holds each of them); Qt scales these for other sizes.
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paintIcon(p, size);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace morvane
