// What a screen reader sees of the window: the roles, names, descriptions
// and states that the model gives (window/access.h), read from it each time
// they are asked for, so that they are never older than what the screen
// shows; the stack view's status line as a status bar; and the announcer,
// which a screen reader speaks at once each time it shows.
#pragma once

#include <QString>
#include <QWidget>

#include "window/model.h"

namespace morvane {

// Installs the interfaces of the main window and of the control widgets
// (once; later calls do nothing).
void installAccessibility();

// The tooltip of a control, which is also its accessible description.
QString tooltipOf(const ControlDef& d);
// The same for a control: its own tooltip where the program set one.
QString tooltipOf(const Control& c);

// Tells a screen reader that the widget came into view or left it: its
// "showing" and its "visible" states, both, so that a reader that caches
// them keeps them true.
void tellShowing(QWidget* w, bool on);

// The strip of the stack view's status line that holds its status keys:
// it draws nothing, and a screen reader reads it as a status bar.
class StatusBarWidget : public QWidget {
public:
    using QWidget::QWidget;
};

// A notification inside the status bar, which draws nothing: a screen
// reader speaks its text, without naming its role, each time it shows.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    // Shows the text (hidden first when it shows already).
    void say(const QString& text);
    const QString& text() const { return text_; }

private:
    QString text_;
};

}  // namespace morvane
