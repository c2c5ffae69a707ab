#include "accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "controlwidget.h"
#include "mainwindow.h"

namespace morvane {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

struct Text {
    std::string_view name;
    int index;
    std::string_view text;
};

// Names for keys whose legends would read alike, or say nothing, to a
// screen reader: the title keys' glyphs, the VAT keys beside the operators,
// the letters that stand twice, the two "HELP >" links.
constexpr Text kNames[] = {
    {"MANEJO", 0, "Always on top"},
    {"MANEJO", 1, "Minimise"},
    {"MANEJO", 2, "Close"},
    {"tecla", 42, "+ VAT"},
    {"tecla", 63, "- VAT"},
    {"tecla", 13, "X key"},
    {"tecla", 14, "Y key"},
    {"tecla", 18, "e constant"},
    {"tecla", 57, "A key"},
    {"tecla", 58, "B key"},
    {"tecla", 59, "C key"},
    {"tecla", 60, "D key"},
    {"tecla", 61, "E key"},
    {"tecla", 62, "F key"},
    {"vcp", 0, "V variations"},
    {"vcp", 1, "VR variations with repetition"},
    {"vcp", 2, "C combinations"},
    {"Label10", 1, "HELP > page"},
    {"monitor", 10, "HELP > screen"},
    {"monitor", 8, "INFO screen"},
    {"estado", 11, "Decimals"},
};

// Tooltips of ours for the display's keys and status labels that the layout
// leaves without one.
constexpr Text kTips[] = {
    {"estado", 0, "The display is on"},
    {"estado", 1, "STACK: hide every panel"},
    {"estado", 32, "R: fixed marker"},
};

std::string_view lookup(const Text* table, size_t n, const ControlDef& d) {
    for (size_t i = 0; i < n; ++i)
        if (table[i].name == d.name && table[i].index == d.index) return table[i].text;
    return {};
}

const Control& at(const Calculadora& m, int id) { return m.form().controls[static_cast<size_t>(id)]; }

// The control's box in window twips.
Box windowBox(const Calculadora& m, int id) {
    Box b = at(m, id).def->box;
    for (int p = at(m, id).parent; p >= 0; p = at(m, p).parent) {
        b.left += at(m, p).def->box.left;
        b.top += at(m, p).def->box.top;
    }
    return b;
}

bool contains(const Box& b, int x, int y) { return x >= b.left && x < b.right() && y >= b.top && y < b.bottom(); }

class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(ControlWidget* w) : QAccessibleWidget(w, roleOf(*w)), w_(w) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return accessibleName(w_->model(), w_->controlId());
        if (t == QAccessible::Description) {
            const Control& c = w_->control();
            if (c.def->name == "error") return qs(w_->model().form().find("descripcionerror")->caption);
            return tooltipOf(*c.def);
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const Calculadora& m = w_->model();
        bool shown = true;
        for (int id = w_->controlId(); id >= 0; id = at(m, id).parent) shown = shown && at(m, id).visible;
        s.invisible = !shown;
        s.offscreen = shown && !showing(m, w_->controlId());
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
    static QAccessible::Role roleOf(const ControlWidget& w) {
        const ControlDef& d = *w.control().def;
        // The error box is an alert: a screen reader announces it when it shows.
        if (d.name == "error") return QAccessible::AlertMessage;
        if (d.kind == Kind::Frame) return QAccessible::Grouping;
        if (d.kind == Kind::List) return QAccessible::List;
        if (d.kind != Kind::Label) return QAccessible::Graphic;
        // A display line is read as text; clicking it selects the level.
        if (d.name == "nivel2") return QAccessible::StaticText;
        return d.clickable ? QAccessible::Button : QAccessible::StaticText;
    }
    ControlWidget* w_;
};

// The window: a frame with the program's name (its title keeps the leading
// blank that the task bar shows).
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->windowTitle().trimmed();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* w = dynamic_cast<ControlWidget*>(object)) return new ControlAccessible(w);
    if (auto* w = dynamic_cast<MainWindow*>(object)) return new WindowAccessible(w);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = (QAccessible::installFactory(factory), true);
    (void)installed;
}

QString accessibleName(const Calculadora& m, int id) {
    const Control& c = at(m, id);
    const ControlDef& d = *c.def;
    if (d.name == "nivel2") {
        const QString value = c.caption.empty() ? QStringLiteral("empty") : qs(c.caption).trimmed();
        return (d.index == 0 ? QStringLiteral("Log: ") : QStringLiteral("Level %1: ").arg(d.index)) + value;
    }
    if (d.name == "error") return qs(m.form().find("numeroerror")->caption);
    const std::string_view named = lookup(kNames, std::size(kNames), d);
    if (!named.empty()) {
        // A label whose caption changes says its name and what it shows.
        if (d.name == "estado") return qs(named) + QStringLiteral(": ") + qs(c.caption).trimmed();
        return qs(named);
    }
    return qs(!c.caption.empty() || d.legend.empty() ? std::string_view(c.caption) : d.legend).trimmed();
}

QString tooltipOf(const ControlDef& d) {
    if (!d.tooltip.empty()) return qs(d.tooltip);
    if (d.name == "nivel2") return QStringLiteral("Level %1; a click selects it").arg(d.index);
    return qs(lookup(kTips, std::size(kTips), d));
}

bool showing(const Calculadora& m, int id) {
    for (int a = id; a >= 0; a = at(m, a).parent)
        if (!at(m, a).visible) return false;
    const Box b = windowBox(m, id);
    const int x = b.left + b.width / 2, y = b.top + b.height / 2;
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) return false;
    // A shown frame drawn later beside the control or beside one of its
    // frames lies above it.
    for (int a = id;;) {
        const int parent = at(m, a).parent;
        for (size_t s = static_cast<size_t>(a) + 1; s < m.form().controls.size(); ++s) {
            const Control& over = m.form().controls[s];
            if (over.parent != parent || over.def->kind != Kind::Frame || !over.visible) continue;
            if (contains(windowBox(m, static_cast<int>(s)), x, y)) return false;
        }
        if (parent < 0) return true;
        a = parent;
    }
}

}  // namespace morvane
