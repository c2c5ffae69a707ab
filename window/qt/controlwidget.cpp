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

// Twips to window pixels.
int px(int twips) { return twips / kTwipsPerPixel; }

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
    if (d.kind == Kind::List && c.parent >= 0) {
        // A list box fills its clipping window's height and draws its rows
        // at the list's offset inside that window.
        const ControlDef& window = *model.at(c.parent).def;
        setGeometry(px(d.box.left), 0, px(d.box.width), px(window.box.height));
    } else {
        setGeometry(px(d.box.left), px(d.box.top), px(d.box.width), px(d.box.height));
    }
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
    itemsVersion_ = c.rows.version();
    itemCount_ = c.rows.items().size();
    selected_ = c.selected;
    listTop_ = c.listTop;
    setVisible(c.visible);
}

const Control& ControlWidget::control() const { return model_.controls[static_cast<size_t>(id_)]; }

void ControlWidget::sync() {
    const Control& c = control();
    if (c.visible != isVisibleTo(parentWidget())) setVisible(c.visible);
    bool dirty = false;
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
        const unsigned v = c.rows.version();
        if (v != itemsVersion_ || c.rows.items().size() != itemCount_ || c.selected != selected_ ||
            c.listTop != listTop_) {
            itemsVersion_ = v;
            itemCount_ = c.rows.items().size();
            selected_ = c.selected;
            listTop_ = c.listTop;
            dirty = true;
        }
    }
    if (dirty && c.visible) update();
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
            const auto& items = c.rows.items();
            const int rowTw = d.rowHeight > 0 ? d.rowHeight : MemoryListRowTw;
            // Only the rows inside the window are drawn: the list may be long.
            const long long firstTw = -static_cast<long long>(c.listTop);
            const size_t first = firstTw > 0 ? static_cast<size_t>(firstTw / rowTw) : 0;
            for (size_t i = first; i < items.size(); ++i) {
                const long long topTw = c.listTop + static_cast<long long>(i) * rowTw;
                const int y = static_cast<int>(topTw / kTwipsPerPixel);
                if (y > height()) break;
                const QRect r(0, y, width(), px(rowTw));
                if (static_cast<int>(i) == c.selected) {
                    p.fillRect(r, QColor(0, 0, 128));
                    p.setPen(Qt::white);
                } else {
                    p.setPen(qcolor(c.fore));
                }
                p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           QString::fromUtf8(items[i].data(), static_cast<qsizetype>(items[i].size())));
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

int ControlWidget::itemAt(int y) const {
    const Control& c = control();
    if (c.def->kind != Kind::List) return Calculadora::kNoItem;
    const int rowTw = c.def->rowHeight > 0 ? c.def->rowHeight : MemoryListRowTw;
    const long long tw = static_cast<long long>(y) * kTwipsPerPixel - c.listTop;
    if (tw < 0) return Calculadora::kNoItem;
    const long long item = tw / rowTw;
    return item < static_cast<long long>(c.rows.items().size()) ? static_cast<int>(item) : Calculadora::kNoItem;
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint())) return;
    window_->controlClicked(control(), itemAt(static_cast<int>(e->position().y())));
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    // Hover highlights follow the pointer; other labels ignore it.
    if (!e->buttons() && model_.hovers(control().def->name)) window_->controlHovered(control());
}

void ControlWidget::wheelEvent(QWheelEvent* e) {
    if (control().def->kind != Kind::List) {
        QWidget::wheelEvent(e);
        return;
    }
    e->accept();
    wheelRest_ += e->angleDelta().y();
    const int steps = wheelRest_ / 120;  // one notch, one row
    wheelRest_ -= steps * 120;
    // A turn away from the user moves back towards the first entries.
    if (steps) window_->controlWheeled(control(), -steps);
}

void ControlWidget::activate() { window_->controlClicked(control(), Calculadora::kNoItem); }

}  // namespace morvane
