#include "controlwidget.h"

#include <QAccessible>
#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <functional>
#include <map>

#include "accessible.h"
#include "mainwindow.h"
#include "skin.h"

namespace morvane {

namespace {

QColor qcolor(Rgb c) { return QColor(static_cast<int>(red(c)), static_cast<int>(green(c)), static_cast<int>(blue(c))); }

// Twips to window pixels.
int px(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

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

FittedText fitToWidth(const QString& text, double pt, bool bold, double width) {
    // No character is narrower than a pixel: a text with more characters than
    // its line has pixels can only show its end, and only that end is
    // measured (a pasted text may be 65536 characters long).
    const qsizetype most = static_cast<qsizetype>(width) + 1;
    if (text.size() <= most) {
        for (double size = pt; size >= kMinLinePt - 1e-9; size -= 0.25) {
            const QFont& f = fontFor(size, bold);
            if (QFontMetricsF(f).horizontalAdvance(text) <= width) return {f, text};
        }
    }
    const QFont& f = fontFor(kMinLinePt, bold);
    const QString tail = text.size() > most ? QStringLiteral("\u2026") + text.right(most) : text;
    return {f, QFontMetricsF(f).elidedText(tail, Qt::ElideLeft, width)};
}

namespace {

// A caption as Qt text. A display line shows at most its last `pixels` + 1
// characters (none is narrower than a pixel), so of a longer caption only
// the end is converted, after a "…": a pasted text may be 65536 characters.
QString captionText(const std::string& caption, int pixels) {
    const size_t most = pixels < 0 ? caption.size() : 4 * (static_cast<size_t>(pixels) + 1);  // UTF-8: 4 bytes at most
    if (caption.size() <= most) return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    size_t from = caption.size() - most;
    while (from < caption.size() && (static_cast<unsigned char>(caption[from]) & 0xC0) == 0x80) ++from;
    return QStringLiteral("\u2026") + QString::fromUtf8(caption.data() + from, static_cast<qsizetype>(caption.size() - from));
}

// The gap the level labels keep from the display's edge, in pixels.
constexpr int kLabelMargin = 3;

}  // namespace

ControlWidget::ControlWidget(MainWindow* window, Calculadora& model, int id, QWidget* parent)
    : QWidget(parent), window_(window), model_(model), id_(id) {
    installAccessibility();
    const Control& c = control();
    const ControlDef& d = *c.def;
    if (d.kind == Kind::List && c.parent >= 0) {
        // A list box fills its clipping window's height and draws its rows
        // at the list's offset inside that window.
        const ControlDef& window = *model.form().at(c.parent).def;
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
    const QString tip = tooltipOf(d);
    if (!tip.isEmpty()) {
        setToolTip(tip);
        setAccessibleDescription(tip);
    }
    if (d.name == "nivel2" && d.index == 0) {
        // The cursor bar stands beside the log's right end and the prompt
        // over its left end; the text keeps one pixel clear of both.
        if (const Control* bar = model.form().find("Shape1"); bar && bar->parent == c.parent)
            cursorGap_ = std::max(0, (d.box.right() - bar->def->box.left) / kTwipsPerPixel + 1);
        if (const Control* prompt = model.form().find("Label2"); prompt && prompt->parent == c.parent)
            promptGap_ = std::max(0, (prompt->def->box.right() - d.box.left) / kTwipsPerPixel + 1);
    }
    if (d.name == "Label1") {
        int left = d.box.left;
        for (int p = c.parent; p >= 0 && model.form().controls[static_cast<size_t>(p)].def->name == "subpantalla";
             p = model.form().controls[static_cast<size_t>(p)].parent)
            left += model.form().controls[static_cast<size_t>(p)].def->box.left;
        leftInDisplay_ = left / kTwipsPerPixel;
    }
    caption_ = c.caption;
    fore_ = c.fore;
    back_ = c.back;
    border_ = c.border;
    itemsVersion_ = c.rows.version();
    itemCount_ = c.rows.items().size();
    selected_ = c.selected;
    listTop_ = c.listTop;
    visible_ = c.visible;
    setVisible(widgetShown(c));
}

const Control& ControlWidget::control() const { return model_.form().controls[static_cast<size_t>(id_)]; }

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
        fitted_.reset();
        // A screen reader hears the log's new value (its name holds it).
        if (c.def->name == "nivel2" && c.def->index == 0 && QAccessible::isActive()) {
            QAccessibleEvent changed(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
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
    if (pressed_ && d.face == Face::None) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, d.opaque ? 90 : 110));
        p.drawRoundedRect(QRectF(rect()), 2, 2);
    }
    if (c.border) {
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
    }
    if (c.caption.empty()) return;
    const QFont& font = fontFor(d.pt, d.bold);
    // A key held down carries its caption down with it.
    QRect box = pressed_ ? rect().translated(0, 1) : rect();
    if (d.name == "nivel2") box.adjust(promptGap_, 0, -cursorGap_, 0);
    // What a line shows is worked out once for its caption: the cursor's
    // blink repaints the log line twice a second.
    if (!fitted_ || fittedWidth_ != box.width()) {
        fitted_ = FittedText{font, captionText(c.caption, d.name == "nivel2" ? width() : -1)};
        fittedWidth_ = box.width();
        if (d.name == "nivel2") {
            // A value wider than its line shrinks rather than lose digits, and
            // the log's text ends before the cursor bar beside it.
            *fitted_ = fitToWidth(fitted_->text, d.pt, d.bold, box.width());
        } else if (d.name == "Label1" && leftInDisplay_ < kLabelMargin) {
            // A level label keeps clear of the display's edge.
            *fitted_ = fitToWidth(fitted_->text, d.pt, d.bold, width() - (kLabelMargin - leftInDisplay_));
        }
    }
    const FittedText& shown = *fitted_;
    if (shown.font.pointSizeF() != font.pointSizeF()) {
        // A smaller size sits on the same baseline.
        box.translate(0, qRound(QFontMetricsF(font).ascent() - QFontMetricsF(shown.font).ascent()));
    }
    p.setFont(shown.font);
    p.setPen(qcolor(c.fore));
    int flags = Qt::AlignTop;
    flags |= d.align == Align::Center ? Qt::AlignHCenter : d.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    if (d.wrap) flags |= Qt::TextWordWrap;
    p.drawText(box, flags, shown.text);
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    // A label takes its own mouse events: it is not part of the drag surface.
    e->accept();
    if (e->button() == Qt::LeftButton && control().def->clickable) {
        held_ = true;
        setPressed(true);
    }
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
    if (e->button() != Qt::LeftButton) return;
    const bool act = held_ && rect().contains(e->position().toPoint());
    held_ = false;
    setPressed(false);
    if (act) window_->controlClicked(control(), itemAt(static_cast<int>(e->position().y())));
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    // A held key comes up while the pointer is off it, as a button does.
    if (held_) setPressed(rect().contains(e->position().toPoint()));
    // Hover highlights follow the pointer; other labels ignore it.
    if (!e->buttons() && model_.hovers(control().def->name)) window_->controlHovered(control());
}

void ControlWidget::hideEvent(QHideEvent*) {
    held_ = false;
    setPressed(false);
}

void ControlWidget::setPressed(bool on) {
    if (on == pressed_) return;
    pressed_ = on;
    // The skin draws a key's face; the widget draws its caption and, for a
    // key without a face, the shade of a key held down.
    window_->keyPressed(*control().def, on);
    update();
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
