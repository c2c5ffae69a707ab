// The legends that the skin paints on the key faces: a few drawn as glyphs
// (the operators, the arrow, the point, the radical), the rest as runs of
// text centred on the face.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <map>

#include "window/qt/skin_parts.h"

namespace morvane::skin {

namespace {

// The radical of the square-root legend: its width before the x and its
// height above the baseline.
constexpr double kRootWidth = 6.5, kRootHeight = 7.5;

}  // namespace

QFont legendFont(int px, bool bold, double spacing) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(bold);
    if (spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

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

// Rounds a coordinate to the device's pixel grid.
double snap(double v, double dpr) { return std::round(v * dpr) / dpr; }

void paintLegend(QPainter& p, const Legend& g, const QColor& ink, const QRectF& surface, double dpr) {
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

}  // namespace morvane::skin
