// The program's icon, painted from its shapes (window/icon.h): on the
// window, on the about page, on the print page and as the window icon.
#include <QIcon>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "window/icon.h"
#include "window/qt/skin.h"

namespace morvane {

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
