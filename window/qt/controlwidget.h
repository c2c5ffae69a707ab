// One control of the layout on screen: a label, frame, shape, image or
// list drawn from its model state.
#pragma once

#include <QWidget>
#include <optional>

#include "window/model.h"

namespace morvane {

class MainWindow;

// A caption as a line shows it: its font and its text.
struct FittedText {
    QFont font;
    QString text;
};

// Device pixels per point of a widget: its device pixel ratio times its
// logical dots per inch over 72.
double pixelsPerPoint(const QWidget* w);

class ControlWidget : public QWidget {
public:
    ControlWidget(MainWindow* window, Calculadora& model, int id, QWidget* parent);

    const Control& control() const;
    const Calculadora& model() const { return model_; }
    int controlId() const { return id_; }
    // Applies the model's state; repaints only what changed.
    void sync();
    // A click on the control, as a screen reader's press action gives it.
    void activate();
    // Tells a screen reader when the control comes into view or leaves it.
    void syncShowing();
    // Whether the key looks held down: the pointer pressed it and is on it.
    bool pressed() const { return pressed_; }
    // The list row under window pixel row y, or Calculadora::kNoItem.
    int itemAt(int y) const;
    // What the caption shows, as last drawn (nullptr before it is drawn),
    // and what a list row shows.
    const FittedText* shown() const { return fitted_ ? &*fitted_ : nullptr; }
    FittedText rowText(int item) const;
    // Whether the control's widget is shown for the model's state: as the
    // control is, or always for a shape, which is painted only while the
    // control is visible.
    static bool widgetShown(const Control& c);

protected:
    bool event(QEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void hideEvent(QHideEvent*) override;
    bool focusNextPrevChild(bool next) override;
    void wheelEvent(QWheelEvent*) override;

private:
    void paintShape(QPainter& p, const Control& c);
    void paintList(QPainter& p, const Control& c);
    void paintLabel(QPainter& p, const Control& c);
    const FittedText& fitCaption(const Control& c, int boxWidth, const QFont& font, double scale);
    void setPressed(bool on);

    MainWindow* window_;
    Calculadora& model_;
    int id_;
    // What was last drawn.
    std::string caption_;
    std::optional<FittedText> fitted_;  // what the caption shows, worked out for fittedWidth_
    int fittedWidth_ = 0;
    double fittedScale_ = 0;
    bool reduced_ = false;  // ... in a smaller or narrower font, or only its end
    bool visible_ = true;
    Rgb fore_ = 0, back_ = 0;
    int border_ = 0;
    unsigned itemsVersion_ = 0;
    size_t itemCount_ = 0;
    int wheelRest_ = 0;  // wheel angle not yet a whole row
    int selected_ = -1, listTop_ = 0;
    int cursorGap_ = 0;      // the log line: pixels kept clear for the cursor bar
    int promptGap_ = 0;      // ... and for the prompt
    int leftInDisplay_ = 0;  // a level label: its left edge from the display's, pixels
    bool line_ = false;      // a display line
    bool held_ = false;      // the left button went down on this key
    bool pressed_ = false;   // ... and the pointer is on it
    // What a screen reader was last told.
    bool silent_ = false;  // not in its tree at all
    bool readerShowing_ = false;
    QString readerName_, readerDescription_;
};

// A list row's height when the layout gives none.
constexpr int MemoryListRowTw = 150;

// How text is hinted: as Qt does by default (slight hinting, fractional
// positions), fully (glyphs on whole pixels), or fully in black and white
// (every stem on whole pixels too).
enum class Hinting { Slight, Full, Crisp };
// The hinting of text of that size on a device of `pxPerPt` pixels a point:
// small text at 100 % is hinted fully.
Hinting hintingFor(double pt, double pxPerPt);

// The font of a layout row: Arial at its size, bold or not, with letters at
// `stretch` percent of their width, for a device of `pxPerPt` pixels a
// point, hinted as hintingFor says.
const QFont& fontFor(double pt, bool bold, double pxPerPt = 96.0 / 72, int stretch = 100);

// A text drawn into a width: in the row's own size when it fits, else in
// the largest smaller size of the same font, down to minPt, that fits; then
// at minPt with narrower letters, down to minStretch percent; if not even
// that fits, its end, after a mark that more stands before it.
FittedText fitToWidth(const QString& text, double pt, bool bold, double width, double minPt = kMinLinePt,
                      int minStretch = 100, double pxPerPt = 96.0 / 72);

// The text of a caption or list row for a tooltip: broken into lines, and
// of a very long one its beginning and end.
QString tipText(const std::string& text);

}  // namespace morvane
