#include "controlwidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <functional>
#include <map>

#include "mainwindow.h"
#include "skin.h"

namespace morvane {

namespace {

QColor qcolor(Rgb c) { return QColor(static_cast<int>(red(c)), static_cast<int>(green(c)), static_cast<int>(blue(c))); }

size_t hashItems(const std::vector<std::string>& items) {
    size_t h = items.size();
    for (const auto& s : items) h = h * 1000003u ^ std::hash<std::string>{}(s);
    return h;
}

}  // namespace

// What a screen reader sees of a control: a key is a button it can press,
// a display line or legend without a handler is static text.
class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(ControlWidget* w)
        : QAccessibleWidget(w, roleOf(w->control())), w_(w) {}

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
    static QAccessible::Role roleOf(const Control& c) {
        if (c.def->kind == Kind::Frame) return QAccessible::Grouping;
        if (c.def->kind == Kind::List) return QAccessible::List;
        if (c.def->kind != Kind::Label) return QAccessible::Graphic;
        return c.def->clickable ? QAccessible::Button : QAccessible::StaticText;
    }
    ControlWidget* w_;
};

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
    if (auto* w = dynamic_cast<ControlWidget*>(object)) return new ControlAccessible(w);
    return nullptr;
}

const QFont& fontFor(double pt, bool bold) {
    static std::map<std::pair<int, bool>, QFont> cache;
    const int key = static_cast<int>(pt * 100 + 0.5);
    auto it = cache.find({key, bold});
    if (it == cache.end()) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(pt);
        f.setBold(bold);
        it = cache.emplace(std::make_pair(key, bold), f).first;
    }
    return it->second;
}

ControlWidget::ControlWidget(MainWindow* window, Calculadora& model, int id, QWidget* parent)
    : QWidget(parent), window_(window), model_(model), id_(id) {
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleFactory), true);
    (void)factoryInstalled;
    const Control& c = control();
    const ControlDef& d = *c.def;
    setGeometry(d.box.left / kTwipsPerPixel, d.box.top / kTwipsPerPixel, d.box.width / kTwipsPerPixel,
                d.box.height / kTwipsPerPixel);
    setObjectName(QString::fromUtf8(d.name.data(), static_cast<qsizetype>(d.name.size())) +
                  (d.index >= 0 ? QStringLiteral("_%1").arg(d.index) : QString()));
    if (d.kind == Kind::Shape) setAttribute(Qt::WA_TransparentForMouseEvents);
    setMouseTracking(true);
    // Frames paint their own background (see paintEvent); Qt need not
    // paint what lies under them.
    if (d.kind == Kind::Frame) setAttribute(Qt::WA_OpaquePaintEvent);
    if (!d.tooltip.empty()) {
        const QString tip = QString::fromUtf8(d.tooltip.data(), static_cast<qsizetype>(d.tooltip.size()));
        setToolTip(tip);
        setAccessibleDescription(tip);
    }
    const std::string_view name = !d.caption.empty() ? d.caption : d.legend;
    QString accessible = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).trimmed();
    if (!accessible.isEmpty()) setAccessibleName(accessible);
    caption_ = c.caption;
    fore_ = c.fore;
    back_ = c.back;
    border_ = c.border;
    itemsHash_ = hashItems(c.items);
    selected_ = c.selected;
    listTop_ = c.listTop;
    visible_ = c.visible;
    setVisible(widgetShown(c));
}

const Control& ControlWidget::control() const { return model_.controls[static_cast<size_t>(id_)]; }

// A shape lets the mouse through, so whether its widget is shown changes
// nothing under the pointer: a shape comes and goes (the log's blinking
// cursor) by being painted or not. Showing a widget would cost a round trip
// to the X server for the pointer's position at every blink.
bool ControlWidget::widgetShown(const Control& c) { return c.visible || c.def->kind == Kind::Shape; }

void ControlWidget::sync() {
    const Control& c = control();
    if (widgetShown(c) != isVisibleTo(parentWidget())) setVisible(widgetShown(c));
    bool dirty = false;
    if (c.visible != visible_) {
        visible_ = c.visible;
        dirty = true;
    }
    if (c.caption != caption_) {
        caption_ = c.caption;
        if (c.def->legend.empty()) setAccessibleName(QString::fromStdString(c.caption).trimmed());
        dirty = true;
    }
    if (c.fore != fore_ || c.back != back_ || c.border != border_) {
        fore_ = c.fore;
        border_ = c.border;
        back_ = c.back;
        dirty = true;
    }
    if (c.def->kind == Kind::List) {
        const size_t h = hashItems(c.items);
        if (h != itemsHash_ || c.selected != selected_ || c.listTop != listTop_) {
            itemsHash_ = h;
            selected_ = c.selected;
            listTop_ = c.listTop;
            dirty = true;
        }
    }
    if (dirty && isVisible()) update();
}

void ControlWidget::paintEvent(QPaintEvent*) {
    const Control& c = control();
    const ControlDef& d = *c.def;
    QPainter p(this);
    switch (d.kind) {
        case Kind::Frame:
            fillBanded(p, QRectF(rect()), qcolor(c.back), devicePixelRatioF());
            return;
        case Kind::Shape:
            if (!c.visible) return;
            if (d.opaque) {
                p.fillRect(rect(), qcolor(c.back));
            } else {
                p.setPen(QPen(qcolor(c.fore), 1));
                p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
            }
            return;
        case Kind::Image:
            paintIcon(p, std::min(width(), height()));
            return;
        case Kind::List: {
            p.fillRect(rect(), qcolor(c.back));
            p.setFont(fontFor(d.pt, d.bold));
            const int row = p.fontMetrics().height();
            const int y0 = c.listTop / kTwipsPerPixel;
            for (size_t i = 0; i < c.items.size(); ++i) {
                const QRect r(0, y0 + static_cast<int>(i) * row, width(), row);
                if (r.bottom() < 0) continue;
                if (r.top() > height()) break;
                if (static_cast<int>(i) == c.selected) {
                    p.fillRect(r, QColor(0, 0, 128));
                    p.setPen(Qt::white);
                } else {
                    p.setPen(qcolor(c.fore));
                }
                p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(c.items[i]));
            }
            return;
        }
        case Kind::Label:
            break;
    }
    if (d.opaque) fillBanded(p, QRectF(rect()), qcolor(c.back), devicePixelRatioF());
    if (c.border) {
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
    }
    if (c.caption.empty()) return;
    p.setFont(fontFor(d.pt, d.bold));
    p.setPen(qcolor(c.fore));
    int flags = Qt::AlignTop;
    flags |= d.align == Align::Center ? Qt::AlignHCenter : d.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    if (d.wrap) flags |= Qt::TextWordWrap;
    p.drawText(rect(), flags, QString::fromUtf8(c.caption.data(), static_cast<qsizetype>(c.caption.size())));
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    // A label takes its own mouse events: it is not part of the drag surface.
    e->accept();
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint())) return;
    window_->controlClicked(control());
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

void ControlWidget::activate() { window_->controlClicked(control()); }

}  // namespace morvane
