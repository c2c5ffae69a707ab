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
    // The list row under window pixel row y, or Calculadora::kNoItem.
    int itemAt(int y) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    MainWindow* window_;
    Calculadora& model_;
    int id_;
    // What was last drawn.
    std::string caption_;
    Rgb fore_ = 0, back_ = 0;
    int border_ = 0;
    unsigned itemsVersion_ = 0;
    size_t itemCount_ = 0;
    int wheelRest_ = 0;  // wheel angle not yet a whole row
    int selected_ = -1, listTop_ = 0;
};

// A list row's height when the layout gives none.
constexpr int MemoryListRowTw = 150;

// The font of a layout row: Arial at its size, bold or not.
const QFont& fontFor(double pt, bool bold);

}  // namespace morvane
