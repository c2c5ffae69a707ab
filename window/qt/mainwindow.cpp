#include "mainwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "accessible.h"
#include "controlwidget.h"
#include "skin.h"

namespace morvane {

namespace {

int buttonsOf(Qt::MouseButtons b) {
    int m = 0;
    if (b & Qt::LeftButton) m |= 1;
    if (b & Qt::RightButton) m |= 2;
    if (b & Qt::MiddleButton) m |= 4;
    return m;
}

}  // namespace

platform::IconPainter pageIconPainter() {
    return [](QPainter& p, const QRectF& r) {
        p.translate(r.topLeft());
        paintIcon(p, static_cast<int>(std::lround(std::min(r.width(), r.height()))));
    };
}

MainWindow::MainWindow(Calculadora::Config config, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), printer_(pageIconPainter()), windowSystem_(this) {
    installAccessibility();
    setWindowTitle(QStringLiteral(" Morvane"));
    windowSystem_.prepare();
    if (!windowSystem_.alphaCorners()) setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    const platform::Services services{.clipboard = &clipboard_,
                                      .regional = &regional_,
                                      .browser = &browser_,
                                      .printer = &printer_,
                                      .window = &windowSystem_};
    model_ = std::make_unique<Calculadora>(services, std::move(config));
    // A paste's text or a print's verdict comes later, from the event loop.
    model_->onAnswer = [this] { afterInput(); };
    build();
    for (const Timer& t : model_->form().timers) {
        auto* qt = new QTimer(this);
        qt->setObjectName(QString::fromUtf8(t.name.data(), static_cast<qsizetype>(t.name.size())));
        qt->setInterval(t.interval);
        qt->setTimerType(Qt::CoarseTimer);
        const std::string name(t.name);
        connect(qt, &QTimer::timeout, this, [this, name] {
            model_->tick(name);
            // The frequent ticks touch a handful of controls only.
            if (const std::vector<int>* ids = model_->controlsOfTimer(name)) {
                for (int id : *ids)
                    if (ControlWidget* w = widgets_[static_cast<size_t>(id)]) w->sync();
            } else {
                refresh();
            }
            syncTimers();
        });
        timers_.push_back(qt);
    }
    syncTimers();
    // The keyboard starts where the model puts it, on the log line.
    syncFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::build() {
    widgets_.assign(model_->form().controls.size(), nullptr);
    buildShown();
}

ControlWidget* MainWindow::ensureWidget(int id) {
    ControlWidget*& slot = widgets_[static_cast<size_t>(id)];
    if (slot) return slot;
    const Control& c = model_->form().controls[static_cast<size_t>(id)];
    // Controls that only hold values have no widget.
    if (c.def->role == Role::Storage) return nullptr;
    QWidget* parent = this;
    if (c.parent >= 0) {
        parent = ensureWidget(c.parent);
        if (!parent) return nullptr;
    }
    if (inStatusLine(*model_, id)) {
        // The status keys stand in a strip of their own at the top of the
        // stack view, which a screen reader reads as a status bar.
        if (!statusBar_) {
            statusBar_ = new StatusBarWidget(parent);
            int bottom = 0;
            for (size_t k = 0; k < model_->form().controls.size(); ++k)
                if (inStatusLine(*model_, static_cast<int>(k)))
                    bottom = std::max(bottom, model_->form().controls[k].def->box.bottom());
            statusBar_->setGeometry(0, 0, parent->width(), bottom / kTwipsPerPixel);
            statusBar_->lower();  // it draws nothing: whatever else lies there takes the pointer
            statusBar_->show();
            announcer_ = new Announcer(statusBar_);
        }
        parent = statusBar_;
    }
    slot = new ControlWidget(this, *model_, id, parent);
    // Keep the layout's stacking order: below the next sibling already made.
    for (size_t j = static_cast<size_t>(id) + 1; j < widgets_.size(); ++j) {
        if (widgets_[j] && widgets_[j]->parentWidget() == parent) {
            slot->stackUnder(widgets_[j]);
            break;
        }
    }
    return slot;
}

void MainWindow::buildShown() {
    // Parents come before their children in the tables, so one pass makes
    // whole shown subtrees.
    for (size_t i = 0; i < widgets_.size(); ++i) {
        if (widgets_[i]) continue;
        const Control& c = model_->form().controls[i];
        if (c.parent >= 0) {
            const ControlWidget* p = widgets_[static_cast<size_t>(c.parent)];
            if (!p || !model_->form().controls[static_cast<size_t>(c.parent)].visible) continue;
        }
        ensureWidget(static_cast<int>(i));
    }
}

ControlWidget* MainWindow::widgetFor(std::string_view name, int index) {
    const int id = model_->form().id(name, index);
    return id < 0 ? nullptr : ensureWidget(id);
}

const std::vector<ControlWidget*>& MainWindow::controlWidgets() {
    for (size_t i = 0; i < widgets_.size(); ++i) ensureWidget(static_cast<int>(i));
    return widgets_;
}

void MainWindow::syncTimers() {
    for (size_t i = 0; i < timers_.size(); ++i) {
        const Timer& t = model_->form().timers[i];
        // The display timer sleeps while it has nothing to rewrite: every
        // click and key runs the display refresh at once (afterInput).
        const bool on = t.enabled && (t.name != Calculadora::kDisplayTimer || model_->displayStale());
        if (on != timers_[i]->isActive()) {
            if (on)
                timers_[i]->start();
            else
                timers_[i]->stop();
        }
    }
}

void MainWindow::refresh() {
    buildShown();
    for (ControlWidget* w : widgets_)
        if (w) w->sync();
    syncTimers();
    syncFocus();
    syncReader();
}

void MainWindow::syncFocus() {
    const Focus f = model_->focus();
    const bool mark = model_->focusMarked();
    ControlWidget* now = f.id >= 0 ? ensureWidget(f.id) : nullptr;
    if (f != shownFocus_ || mark != shownMark_) {
        // The mark moves: both places are painted again.
        if (shownFocus_.id >= 0)
            if (ControlWidget* before = widgets_[static_cast<size_t>(shownFocus_.id)]) before->update();
        if (now) now->update();
        shownFocus_ = f;
        shownMark_ = mark;
    }
    if (now && QApplication::focusWidget() != now && isAncestorOf(now)) now->setFocus(Qt::OtherFocusReason);
}

void MainWindow::syncReader() {
    // A control a panel or the error box came over or left, or one shown
    // or hidden: a screen reader's cached states follow (each widget
    // keeps what it showed last, whether a reader listens yet or not).
    for (ControlWidget* w : widgets_)
        if (w) w->syncShowing();
    if (statusBar_) {
        const auto* frame = static_cast<ControlWidget*>(statusBar_->parentWidget());
        const bool now = showing(*model_, frame->controlId());
        if (now != statusBarShowing_) tellShowing(statusBar_, statusBarShowing_ = now);
    }
    if (!QAccessible::isActive()) {
        announced_ = model_->announcements();
        return;
    }
    if (announcer_ && model_->announcements() != announced_) {
        announced_ = model_->announcements();
        announcer_->say(QString::fromStdString(model_->announcement()));
    }
}

QString MainWindow::lastAnnouncement() const { return announcer_ ? announcer_->text() : QString(); }

void MainWindow::pointerPressed() {
    if (!model_->focusMarked()) return;
    model_->pointerUsed();
    syncFocus();
}

bool MainWindow::focusNextPrevChild(bool next) { return moveFocus(next); }

bool MainWindow::moveFocus(bool next) {
    model_->moveFocus(next ? FocusMove::Next : FocusMove::Previous);
    refresh();
    return true;
}

void MainWindow::afterInput() {
    model_->tick(Calculadora::kDisplayTimer);
    refresh();
}

void MainWindow::controlClicked(const Control& c, int item) {
    model_->click(c.def->name, c.def->index, item);
    afterInput();
}

void MainWindow::keyPressed(const ControlDef& key, bool down) {
    if (down)
        pressed_ = &key;
    else if (pressed_ == &key)
        pressed_ = nullptr;
    else
        return;
    const QRectF face = keyFace(key);
    if (!face.isEmpty()) update(face.toAlignedRect().adjusted(-1, -1, 1, 2));
}

void MainWindow::controlHovered(const Control& c) {
    bool changed = false;
    model_->move(c.def->name, c.def->index, &changed);
    if (changed) refresh();
}

void MainWindow::rowHovered(const Control& c, int item) {
    const unsigned long before = model_->announcements();
    model_->hoverRow(c.def->name, c.def->index, item);
    if (model_->announcements() != before) syncReader();
}

void MainWindow::controlWheeled(const Control& c, int steps) {
    model_->wheel(c.def->name, c.def->index, steps);
    refresh();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintSkin(p, height(), pressed_);
    if (windowSystem_.alphaCorners()) {
        // The rounded outline in per-pixel alpha: what lies outside it is
        // cleared, its edge pixels in part.
        const double w = windowSystem_.shapeWidth(), h = windowSystem_.shapeHeight();
        const double r = windowSystem_.shapeEllipse() / 2.0;
        QPainterPath outside;
        outside.addRect(QRectF(0, 0, width(), height()));
        QPainterPath shape;
        shape.addRoundedRect(QRectF(0, 0, w, h), r, r);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillPath(outside.subtracted(shape), Qt::black);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    int code = 0;
    const bool control = e->modifiers() & Qt::ControlModifier;
    // The focus keys: the arrows move the focus, Space presses the focused
    // control; the keyboard map keeps every other key.
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain) {
        switch (e->key()) {
            case Qt::Key_Left:
                model_->moveFocus(FocusMove::Left);
                refresh();
                return;
            case Qt::Key_Right:
                model_->moveFocus(FocusMove::Right);
                refresh();
                return;
            case Qt::Key_Up:
                model_->moveFocus(FocusMove::Up);
                refresh();
                return;
            case Qt::Key_Down:
                model_->moveFocus(FocusMove::Down);
                refresh();
                return;
            case Qt::Key_Space:
                model_->pressFocused();
                afterInput();
                return;
            default:
                break;
        }
    }
    switch (e->key()) {
        case Qt::Key_Escape:
            code = 27;
            break;
        // The control characters of Ctrl+C, Ctrl+V and Ctrl+Z, whatever
        // text the platform gives with them.
        case Qt::Key_C:
        case Qt::Key_V:
        case Qt::Key_Z:
            if (control) {
                code = e->key() == Qt::Key_C ? 3 : e->key() == Qt::Key_V ? 22 : 26;
                break;
            }
            code = e->text().isEmpty() ? 0 : e->text().at(0).unicode();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            code = 13;
            break;
        case Qt::Key_Backspace:
            code = 8;
            break;
        default:
            if (!e->text().isEmpty()) code = e->text().at(0).unicode();
    }
    if (code == 0) {
        QWidget::keyPressEvent(e);
        return;
    }
    model_->Form_KeyPress(code);
    afterInput();
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 4;
    model_->Form_MouseDown(button, static_cast<int>(p.x() * kTwipsPerPixel), static_cast<int>(p.y() * kTwipsPerPixel));
}

void MainWindow::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    model_->Form_MouseMove(buttonsOf(e->buttons()), static_cast<int>(p.x() * kTwipsPerPixel),
                           static_cast<int>(p.y() * kTwipsPerPixel));
    refresh();
}

void MainWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LocaleChange && model_) {
        regional_.reload();
        model_->regionalChanged();
        refresh();
    }
    if (e->type() == QEvent::WindowStateChange && model_ && model_->minimized &&
        !(windowState() & Qt::WindowMinimized)) {
        model_->restored();
        refresh();
    }
    QWidget::changeEvent(e);
}

}  // namespace morvane
