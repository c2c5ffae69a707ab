// The skin's fills on the raster engine: gradients drawn as textures, and
// tall fills made in bands of device rows.
#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "window/qt/skin.h"
#include "window/qt/skin_parts.h"

namespace morvane {

namespace skin {

namespace {

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

}  // namespace

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

}  // namespace skin

// The raster engine hands a fill of more than about a hundred spans to its
// thread pool, and waking the pool (starting its threads, the first time)
// costs far more than filling a few thousand pixels. Tall fills are
// therefore made in bands of 30 device rows (with gradients in window
// coordinates, so that the bands join seamlessly): a row takes up to three
// spans, two soft edges and the inside, or two where a child widget cuts a
// hole into the painted region. A rectangle on whole device pixels is
// filled without antialiasing, by the engine's rectangle path.
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

}  // namespace morvane
