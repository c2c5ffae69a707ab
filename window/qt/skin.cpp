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

#include <QBrush>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "window/layout.h"
#include "window/qt/skin_parts.h"

namespace morvane {

namespace {

using namespace skin;

// Where the parts of the picture lie, in pixels.
constexpr double kGrooveY = 217;
constexpr double kRimInset = 3.5;
constexpr double kEdgeShade = 16;  // width of the shading along each side
constexpr double kWindowWidthPx = static_cast<double>(kWindowWidthTw) / kTwipsPerPixel;
const QRectF kBezel(14, 42, 219, 159);
constexpr double kBezelRadius = 5;
const QRectF kDisplayArea(330 / kTw, 780 / kTw, 3045 / kTw, 2115 / kTw);

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

struct KeyFace {
    const ControlDef* def;
    QRectF rect;
    size_t style;  // by Face
    bool hasLegend;
    Legend legend;
};

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
        if (d.role == Role::Version) {
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
        if (k.hasLegend) paintLegend(p, k.legend, st.ink, top, dpr);
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
    if (k.hasLegend) paintLegend(p, k.legend, st.ink, top, dpr);
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

}  // namespace morvane
