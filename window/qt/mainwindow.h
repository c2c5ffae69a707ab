// The Qt main window: a frameless, rounded widget that draws the skin and
// one child widget per control of the window model, and forwards every
// click, key press, mouse move and timer tick into the model.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_services.h"
#include "window/model.h"

namespace morvane {

class Announcer;
class ControlWidget;
class StatusBarWidget;

// The program's icon for the print page, as the window's own icon picture
// draws it.
platform::IconPainter pageIconPainter();

class MainWindow : public QWidget {
public:
    explicit MainWindow(Calculadora::Config config, QWidget* parent = nullptr);
    ~MainWindow() override;

    Calculadora& model() { return *model_; }
    // The widget of a control (made now if it was not yet), or nullptr for
    // storage-only controls. The contents of a frame hidden at start are
    // made when the frame is first shown.
    ControlWidget* widgetFor(std::string_view name, int index = -1);
    // Every control's widget by control id, all of them made.
    const std::vector<ControlWidget*>& controlWidgets();

    // Brings every widget up to the model's state; widgets whose state did
    // not change are left alone.
    void refresh();
    // After a handled click or key press: the display refresh runs at once,
    // so that the result is on screen in the same frame.
    void afterInput();

    void controlClicked(const Control& c, int item);
    // The pointer over a control whose array highlights under it: repaints
    // only when a colour or caption changed.
    void controlHovered(const Control& c);
    void controlWheeled(const Control& c, int steps);
    // The pointer over row `item` of a list box (Calculadora::kNoItem: none).
    void rowHovered(const Control& c, int item);
    // A key went down or came up under the pointer: the skin draws its face
    // held down.
    void keyPressed(const ControlDef& key, bool down);
    // Tab (next) or Shift+Tab: the focus moves along the model's order.
    bool moveFocus(bool next);
    // The pointer pressed a control: the focus mark goes.
    void pointerPressed();
    // What the announcer said last.
    QString lastAnnouncement() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;
    bool focusNextPrevChild(bool next) override;

private:
    void build();
    // Makes the widget of control `id` (and of its frames) if it is missing.
    ControlWidget* ensureWidget(int id);
    // Makes the missing widgets whose frames are shown now.
    void buildShown();
    void syncTimers();
    // Tells a screen reader what changed: the controls that came into view
    // or went out of it, the focus, the model's announcement.
    void syncReader();
    void syncFocus();

    platform::QtClipboard clipboard_;
    platform::QtRegional regional_;
    platform::QtBrowser browser_;
    platform::QtPrinter printer_;
    platform::QtWindowSystem windowSystem_;
    std::unique_ptr<Calculadora> model_;
    std::vector<ControlWidget*> widgets_;   // by control id (nullptr: none)
    std::vector<QTimer*> timers_;           // by model timer
    const ControlDef* pressed_ = nullptr;   // the key held down, if any
    StatusBarWidget* statusBar_ = nullptr;  // the stack view's status line
    Announcer* announcer_ = nullptr;
    bool statusBarShowing_ = true;
    unsigned long announced_ = 0;  // the model's announcements already said
    Focus shownFocus_;             // the focus as the widgets have it
    bool shownMark_ = false;
};

}  // namespace morvane
