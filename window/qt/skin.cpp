#include "skin.h"

#include <QPainter>

#include "window/layout.h"

namespace morvane {

void paintSkin(QPainter& p, int windowHeightPx) {
    p.fillRect(0, 0, kSkinWidthPx, windowHeightPx, QColor(27, 28, 31));
    p.fillRect(0, 0, kSkinWidthPx, kSkinHeightPx, QColor(48, 49, 54));
}

void paintIcon(QPainter& p, int size) {
    p.fillRect(0, 0, size, size, QColor(48, 49, 54));
    p.fillRect(size / 6, size / 6, size * 2 / 3, size / 4, QColor(0, 192, 0));
}

}  // namespace morvane
