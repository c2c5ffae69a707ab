// The calculator's skin, drawn in code from the layout tables.
#pragma once

class QBrush;
class QPainter;
class QRectF;

namespace morvane {

struct ControlDef;

// Paints the skin (247 x 505 pixels at the top-left corner) and the window
// background below it, for a window of the given height in pixels. The key
// `pressed` (a keypad row, or nullptr) is drawn held down: its top lowered
// onto its foot and darker.
void paintSkin(QPainter& p, int windowHeightPx, const ControlDef* pressed = nullptr);

// The face the skin paints under a keypad key, in window pixels; an empty
// rectangle for a key without one.
QRectF keyFace(const ControlDef& d);

// Fills r in bands of a few dozen device rows: the raster engine would hand
// one tall fill to its thread pool.
void fillBanded(QPainter& p, const QRectF& r, const QBrush& b, double dpr);

// The program's icon, drawn into a square of the given size.
void paintIcon(QPainter& p, int size);

}  // namespace morvane
