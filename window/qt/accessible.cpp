#include "accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "controlwidget.h"
#include "mainwindow.h"
#include "platform/qt/atspi.h"

namespace morvane {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QAccessible::Role qtRole(AccessRole r) {
    switch (r) {
        case AccessRole::Button:
            return QAccessible::Button;
        case AccessRole::Line:
        case AccessRole::Text:
            return QAccessible::StaticText;
        case AccessRole::Group:
        case AccessRole::Panel:
            return QAccessible::Grouping;
        case AccessRole::Alert:
            return QAccessible::AlertMessage;
        case AccessRole::List:
            return QAccessible::List;
        case AccessRole::Hidden:
            break;
    }
    return QAccessible::NoRole;
}

// The widgets under w that a screen reader is told about: every child but
// the controls the model keeps silent.
QList<QWidget*> readerChildren(const QWidget* w) {
    QList<QWidget*> out;
    for (QObject* o : w->children()) {
        auto* child = qobject_cast<QWidget*>(o);
        if (!child || child->isWindow()) continue;
        if (auto* cw = dynamic_cast<ControlWidget*>(child))
            if (accessRole(cw->model(), cw->controlId()) == AccessRole::Hidden) continue;
        out.append(child);
    }
    return out;
}

// The children of an interface, as readerChildren gives them.
class ReaderWidget : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    int childCount() const override { return static_cast<int>(readerChildren(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> kids = readerChildren(widget());
        if (index < 0 || index >= kids.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(kids.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        return static_cast<int>(readerChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
    }
};

class ControlAccessible : public ReaderWidget {
public:
    explicit ControlAccessible(ControlWidget* w)
        : ReaderWidget(w, qtRole(accessRole(w->model(), w->controlId()))), w_(w) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return qs(accessName(w_->model(), w_->controlId()));
        if (t == QAccessible::Description) return qs(accessDescription(w_->model(), w_->controlId()));
        return QAccessibleWidget::text(t);
    }

    // A control the model shows is always "visible"; whether it shows now
    // (not hidden, not under a panel, inside the window) is "showing", and
    // the window tells the screen reader each time that changes. So a
    // reader's cached states never go stale.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = false;
        s.offscreen = !showing(w_->model(), w_->controlId());
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (w_->control().def->clickable) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && w_->control().def->clickable)
            w_->activate();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ControlWidget* w_;
};

// The window: a frame with the program's name (its title keeps the leading
// blank that the task bar shows).
class WindowAccessible : public ReaderWidget {
public:
    explicit WindowAccessible(QWidget* w) : ReaderWidget(w, QAccessible::Window) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->windowTitle().trimmed();
        return QAccessibleWidget::text(t);
    }
};

class StatusBarAccessible : public ReaderWidget {
public:
    explicit StatusBarAccessible(QWidget* w) : ReaderWidget(w, QAccessible::StatusBar) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        auto* frame = dynamic_cast<ControlWidget*>(widget()->parentWidget());
        s.invisible = false;
        s.offscreen = frame && !showing(frame->model(), frame->controlId());
        return s;
    }
};

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* w) : QAccessibleWidget(w, QAccessible::Notification), w_(w) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return w_->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = !w_->isVisible();
        s.offscreen = !w_->isVisible();
        return s;
    }

private:
    Announcer* w_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* w = dynamic_cast<ControlWidget*>(object)) return new ControlAccessible(w);
    if (auto* w = dynamic_cast<MainWindow*>(object)) return new WindowAccessible(w);
    if (auto* w = dynamic_cast<StatusBarWidget*>(object)) return new StatusBarAccessible(w);
    if (auto* w = dynamic_cast<Announcer*>(object)) return new AnnouncerAccessible(w);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = (QAccessible::installFactory(factory), true);
    (void)installed;
}

QString tooltipOf(const ControlDef& d) { return qs(accessDescription(d)); }

// A control's tooltip now: the one the model gave it, else its layout's.
QString tooltipOf(const Control& c) {
    return c.tip.empty() ? tooltipOf(*c.def) : QString::fromUtf8(c.tip.data(), static_cast<qsizetype>(c.tip.size()));
}

void tellShowing(QWidget* w, bool on) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent changed(w, on ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&changed);
    platform::atspiVisibleChanged(QAccessible::queryAccessibleInterface(w), on);
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    installAccessibility();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::say(const QString& text) {
    // A screen reader speaks a notification when it shows: showing it again
    // says the new text. Qt tells "showing"; the window tells "visible".
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
    if (isVisible()) {
        hide();
        platform::atspiVisibleChanged(self, false);
    }
    text_ = text;
    show();
    platform::atspiVisibleChanged(self, true);
}

}  // namespace morvane
