// One control of the layout on screen: a label, frame, shape, image or
// list drawn from its model state.
#pragma once

#include <QWidget>

#include "window/model.h"

namespace morvane {

class MainWindow;

class ControlWidget : public QWidget {
public:
    ControlWidget(MainWindow* window, Calculadora& model, int id, QWidget* parent);

    const Control& control() const;
    int controlId() const { return id_; }
    // Applies the model's state; repaints only what changed.
    void sync();
    // A click on the control, as a screen reader's press action gives it.
    void activate();
    // Whether the control's widget is shown for the model's state: as the
    // control is, or always for a shape, which is painted only while the
    // control is visible.
    static bool widgetShown(const Control& c);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    MainWindow* window_;
    Calculadora& model_;
    int id_;
    // What was last drawn.
    std::string caption_;
    bool visible_ = true;
    Rgb fore_ = 0, back_ = 0;
    int border_ = 0;
    size_t itemsHash_ = 0;
    int selected_ = -1, listTop_ = 0;
};

// The font of a layout row: Arial at its size, bold or not.
const QFont& fontFor(double pt, bool bold);

}  // namespace morvane
