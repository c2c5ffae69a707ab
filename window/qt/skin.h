// The calculator's skin, drawn in code from the layout tables.
#pragma once

class QBrush;
class QColor;
class QIcon;
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

// The mark of a selected display line besides its colour: a rule of two
// pixels in that colour along the bottom of the line's box.
void paintSelectionMark(QPainter& p, const QRectF& line, const QColor& colour);

// Fills r in bands of a few dozen device rows: the raster engine would hand
// one tall fill to its thread pool.
void fillBanded(QPainter& p, const QRectF& r, const QBrush& b, double dpr);

// Draws a rounded rectangle filled with b in bands of device rows, for
// the same reason as fillBanded.
void roundedBanded(QPainter& p, const QRectF& r, double radius, const QBrush& b, double dpr);

// The keyboard focus mark: a dotted ring, black over white, inside r, seen
// on every face and background of the skin.
void paintFocusMark(QPainter& p, const QRectF& r);

// The program's icon (window/icon.h), drawn into a square of the given
// size at the origin, or into the largest square centred in r.
void paintIcon(QPainter& p, int size);
void paintIcon(QPainter& p, const QRectF& r);
// The window icon: the same picture, painted at 16, 32, 48 and 64 pixels.
QIcon windowIcon();

}  // namespace morvane
