#include "controlwidget.h"

#include <QAccessible>
#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "accessible.h"
#include "mainwindow.h"
#include "platform/qt/ltr_text.h"
#include "skin.h"

namespace morvane {

namespace {

QColor qcolor(Rgb c) { return QColor(static_cast<int>(red(c)), static_cast<int>(green(c)), static_cast<int>(blue(c))); }

// Twips to window pixels.
int px(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

// Small text at 100 %: drawn as Qt draws by default, with slight hinting
// (vertical only) at fractional glyph positions, a stem one pixel wide (the
// "i" and "l" of "kilometer", the "1" of "-15") falls between two pixel
// columns and shows as a grey block two pixels wide, and where it falls
// depends on the fractional advances before it (a leading blank of 2.5
// pixels moves a whole word by half a pixel). Full hinting puts every glyph
// on a whole pixel, but FreeType's TrueType interpreter ignores the font's
// horizontal instructions when it anti-aliases, so a stem may still
// straddle two columns; drawn in black and white it follows them, and every
// stem lies on whole pixels as the font's designers hinted it. That is how
// text of 9 pixels is drawn. At 8 pixels Liberation Sans loses colons,
// commas and letters in black and white: there the glyphs are fully hinted
// and anti-aliased.
Hinting hintingFor(double pt, double pxPerPt) {
    const long px = std::lround(pt * pxPerPt);
    return px == 9 ? Hinting::Crisp : px == 8 ? Hinting::Full : Hinting::Slight;
}

double pixelsPerPoint(const QWidget* w) { return w->devicePixelRatioF() * w->logicalDpiY() / 72.0; }

const QFont& fontFor(double pt, bool bold, double pxPerPt, int stretch) {
    // Narrowed letters keep Qt's own hinting: full hinting would keep their width.
    const Hinting hinting = stretch == 100 ? hintingFor(pt, pxPerPt) : Hinting::Slight;
    static std::map<std::tuple<int, bool, Hinting, int>, QFont> cache;
    const auto key = std::make_tuple(static_cast<int>(pt * 100 + 0.5), bold, hinting, stretch);
    auto it = cache.find(key);
    if (it == cache.end()) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(pt);
        f.setBold(bold);
        if (stretch != 100) f.setStretch(stretch);  // else left unset (0)
        if (hinting != Hinting::Slight) f.setHintingPreference(QFont::PreferFullHinting);
        if (hinting == Hinting::Crisp) f.setStyleStrategy(QFont::NoAntialias);
        it = cache.emplace(key, f).first;
    }
    return it->second;
}

FittedText fitToWidth(const QString& text, double pt, bool bold, double width, double minPt, int minStretch,
                      double pxPerPt) {
    auto fits = [&](const QFont& f) { return QFontMetricsF(f).horizontalAdvance(text) <= width; };
    // No character is narrower than a pixel: a text with more characters than
    // its line has pixels can only show its end, and only that end is
    // measured (a pasted text may be 65536 characters long).
    const qsizetype most = static_cast<qsizetype>(width) + 1;
    int stretch = 100;
    if (text.size() <= most) {
        for (double size = pt; size >= minPt - 1e-9; size -= 0.25) {
            const QFont& f = fontFor(size, bold, pxPerPt);
            if (fits(f)) return {f, text};
        }
        if (minStretch < 100) {
            // Narrower letters, from the width that the text needs.
            const double natural = QFontMetricsF(fontFor(minPt, bold, pxPerPt, 99)).horizontalAdvance(text);
            stretch = std::clamp(static_cast<int>(99 * width / std::max(natural, 1.0)), minStretch, 99);
            for (; stretch >= minStretch; --stretch) {
                const QFont& f = fontFor(minPt, bold, pxPerPt, stretch);
                if (fits(f)) return {f, text};
            }
            stretch = minStretch;
        }
    }
    const QFont& f = fontFor(minPt, bold, pxPerPt, stretch);
    const QString tail = text.size() > most ? QStringLiteral("\u2026") + text.right(most) : text;
    return {f, QFontMetricsF(f).elidedText(tail, Qt::ElideLeft, width)};
}

QString tipText(const std::string& text) {
    // Lines of 40 characters; of a text longer than 12 lines, the first and
    // the last 6 with a "…" between.
    constexpr qsizetype kLine = 40, kHalf = 6 * kLine;
    const std::string_view all(text);
    QString s;
    if (all.size() > 4 * 2 * kHalf) {
        s = QString::fromUtf8(all.substr(0, 4 * kHalf)).left(kHalf) + QStringLiteral("\u2026");
        s += QString::fromUtf8(all.substr(all.size() - 4 * kHalf)).right(kHalf);
    } else {
        s = QString::fromUtf8(all.data(), static_cast<qsizetype>(all.size()));
        if (s.size() > 2 * kHalf) s = s.left(kHalf) + QStringLiteral("\u2026") + s.right(kHalf);
    }
    QString out = QStringLiteral("<p style='white-space:pre'>");
    for (qsizetype i = 0; i < s.size(); i += kLine) {
        if (i) out += QStringLiteral("<br>");
        out += s.mid(i, kLine).toHtmlEscaped();
    }
    return out + QStringLiteral("</p>");
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
    return QStringLiteral("\u2026") +
           QString::fromUtf8(caption.data() + from, static_cast<qsizetype>(caption.size() - from));
}

// The gap the level labels keep from the display's edge, in pixels.
constexpr int kLabelMargin = 3;
// The gap before the text of a list row, in pixels.
constexpr int kRowIndent = 2;

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
    const QString tip = tooltipOf(c);
    if (!tip.isEmpty()) {
        setToolTip(tip);
        setAccessibleDescription(tip);
    }
    // The keyboard reaches keys, display lines and lists (the model says
    // where Tab and the arrows go); a click does not move the focus.
    const AccessRole role = accessRole(model, id);
    if (role == AccessRole::Button || role == AccessRole::Line || role == AccessRole::List)
        setFocusPolicy(Qt::TabFocus);
    silent_ = role == AccessRole::Hidden;
    readerShowing_ = showing(model, id);
    readerName_ = QString::fromStdString(accessName(model, id));
    readerDescription_ = QString::fromStdString(accessDescription(model, id));
    for (int i = 0; i < kRegisters && !line_; ++i) line_ = &model.line(i) == &c;
    if (d.role == Role::DisplayLine) {
        // The cursor bar stands beside the log's right end and the prompt
        // over its left end; the text keeps one pixel clear of both.
        if (const Control* bar = model.form().inFrame(c.parent, Role::CursorBar))
            cursorGap_ = std::max(0, (d.box.right() - bar->def->box.left) / kTwipsPerPixel + 1);
        if (const Control* prompt = model.form().inFrame(c.parent, Role::LogPrompt))
            promptGap_ = std::max(0, (prompt->def->box.right() - d.box.left) / kTwipsPerPixel + 1);
    }
    if (d.role == Role::LevelLabel) {
        int left = d.box.left;
        for (int p = c.parent; p >= 0 && model.form().at(p).def->role == Role::StackPage; p = model.form().at(p).parent)
            left += model.form().at(p).def->box.left;
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
        dirty = true;
    }
    if (!silent_ && QAccessible::isActive()) {
        // A screen reader's cached name and description follow the model's.
        const QString name = QString::fromStdString(accessName(model_, id_));
        const QString description = QString::fromStdString(accessDescription(model_, id_));
        if (name != readerName_) {
            QAccessibleEvent changed(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
        if (description != readerDescription_) {
            QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        }
        readerName_ = name;
        readerDescription_ = description;
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

void ControlWidget::syncShowing() {
    if (silent_) return;
    const bool now = showing(model_, id_);
    if (now == readerShowing_) return;
    readerShowing_ = now;
    tellShowing(this, now);
}

namespace {

// The focus mark, painted over everything else of the control once its
// painting ends, while the keyboard has moved the focus.
struct FocusMarkAtEnd {
    QPainter& p;
    const ControlWidget& w;
    ~FocusMarkAtEnd() {
        const Calculadora& m = w.model();
        const Focus& f = m.focus();
        if (!m.focusMarked() || f.id != w.controlId()) return;
        QRectF r(w.rect());
        const Control& c = w.control();
        if (f.item >= 0) {
            const int rowTw = c.def->rowHeight > 0 ? c.def->rowHeight : MemoryListRowTw;
            r = QRectF(0, (c.listTop + f.item * rowTw) / kTwipsPerPixel, w.width(), rowTw / kTwipsPerPixel);
        }
        paintFocusMark(p, r);
    }
};

}  // namespace

void ControlWidget::paintEvent(QPaintEvent*) {
    const Control& c = control();
    QPainter p(this);
    const FocusMarkAtEnd mark{p, *this};
    switch (c.def->kind) {
        case Kind::Frame:
            fillBanded(p, QRectF(rect()), qcolor(c.back), devicePixelRatioF());
            return;
        case Kind::Shape:
            paintShape(p, c);
            return;
        case Kind::Image:
            paintIcon(p, std::min(width(), height()));
            return;
        case Kind::List:
            paintList(p, c);
            return;
        case Kind::Label:
            paintLabel(p, c);
            return;
    }
}

void ControlWidget::paintShape(QPainter& p, const Control& c) {
    if (!c.visible) return;
    if (c.def->opaque) {
        p.fillRect(rect(), qcolor(c.back));
    } else {
        p.setPen(QPen(qcolor(c.fore), 1));
        p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
    }
}

void ControlWidget::paintList(QPainter& p, const Control& c) {
    p.fillRect(rect(), qcolor(c.back));
    const auto& items = c.rows.items();
    const int rowTw = c.def->rowHeight > 0 ? c.def->rowHeight : MemoryListRowTw;
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
        const FittedText row = rowText(static_cast<int>(i));
        p.setFont(row.font);
        p.drawText(r.adjusted(kRowIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, row.text);
    }
}

void ControlWidget::paintLabel(QPainter& p, const Control& c) {
    const ControlDef& d = *c.def;
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
    // A selected display line is marked by more than its colour.
    if (line_ && c.fore == kSelectionRed) {
        const QRect b = rect().adjusted(promptGap_, 0, -cursorGap_, 0);
        paintSelectionMark(p, b, qcolor(c.fore));
    }
    if (c.caption.empty()) return;
    const double scale = pixelsPerPoint(this);
    const QFont& font = fontFor(d.pt, d.bold, scale);
    // A key held down carries its caption down with it.
    QRect box = pressed_ ? rect().translated(0, 1) : rect();
    if (d.role == Role::DisplayLine) box.adjust(promptGap_, 0, -cursorGap_, 0);
    const FittedText& shown = fitCaption(c, box.width(), font, scale);
    if (shown.font.pointSizeF() != font.pointSizeF()) {
        // A smaller size sits on the same baseline.
        box.translate(0, qRound(QFontMetricsF(font).ascent() - QFontMetricsF(shown.font).ascent()));
    }
    p.setFont(shown.font);
    p.setPen(qcolor(c.fore));
    int flags = Qt::AlignTop;
    flags |= d.align == Align::Center ? Qt::AlignHCenter : d.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    if (d.wrap) flags |= Qt::TextWordWrap;
    p.setLayoutDirection(Qt::LeftToRight);
    p.drawText(box, flags, platform::drawnLeftToRight(shown.text));
}

// What a caption shows is worked out once for its text and width: the
// cursor's blink repaints the log line twice a second.
const FittedText& ControlWidget::fitCaption(const Control& c, int boxWidth, const QFont& font, double scale) {
    const ControlDef& d = *c.def;
    if (fitted_ && fittedWidth_ == boxWidth && fittedScale_ == scale) return *fitted_;
    // A register's text is drawn as stored: the bidirectional controls a
    // pasted text may hold are not obeyed.
    const QString text = captionText(c.caption, d.minPt > 0 ? width() : -1);
    fitted_ = FittedText{font, platform::withoutBidiControls(text)};
    fittedWidth_ = boxWidth;
    fittedScale_ = scale;
    if (d.minPt > 0) {
        // A value wider than its line shrinks rather than lose digits (the
        // log's text ends before the cursor bar beside it), a status label
        // shrinks and narrows.
        const QString whole = fitted_->text;
        *fitted_ = fitToWidth(whole, d.pt, d.bold, boxWidth, d.minPt, d.minStretch, scale);
        reduced_ = fitted_->text != whole || fitted_->font.pointSizeF() != d.pt || fitted_->font.stretch() > 0;
    } else if (d.role == Role::LevelLabel && leftInDisplay_ < kLabelMargin) {
        // A level label keeps clear of the display's edge.
        *fitted_ =
            fitToWidth(fitted_->text, d.pt, d.bold, width() - (kLabelMargin - leftInDisplay_), kMinLinePt, 100, scale);
    }
    return *fitted_;
}

bool ControlWidget::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    // A list row, or a caption drawn smaller or cut, shows its whole text.
    const Control& c = control();
    const auto* help = static_cast<QHelpEvent*>(e);
    QString whole;
    if (c.def->kind == Kind::List && c.def->minPt > 0) {
        const int item = itemAt(help->pos().y());
        if (item != Calculadora::kNoItem) whole = tipText(c.rows.items()[static_cast<size_t>(item)]);
    } else if (c.def->minPt > 0 && fitted_ && reduced_) {
        whole = tipText(c.caption);
        if (!toolTip().isEmpty())
            whole = QStringLiteral("<p>") + toolTip().toHtmlEscaped() + QStringLiteral("</p>") + whole;
    }
    if (whole.isEmpty()) return QWidget::event(e);
    QToolTip::showText(help->globalPos(), whole, this, rect());
    return true;
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    // A label takes its own mouse events: it is not part of the drag surface.
    e->accept();
    window_->pointerPressed();
    if (e->button() == Qt::LeftButton && control().def->clickable) {
        held_ = true;
        setPressed(true);
    }
}

FittedText ControlWidget::rowText(int item) const {
    const ControlDef& d = *control().def;
    const double scale = pixelsPerPoint(this);
    const std::string& text = control().rows.items()[static_cast<size_t>(item)];
    FittedText row{fontFor(d.pt, d.bold, scale), captionText(text, d.minPt > 0 ? width() : -1)};
    if (d.minPt > 0) row = fitToWidth(row.text, d.pt, d.bold, width() - kRowIndent, d.minPt, d.minStretch, scale);
    return row;
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
    // Hover highlights follow the pointer; other labels ignore it. A list's
    // rows are read as the pointer comes to them.
    if (!e->buttons() && model_.hovers(control().def->name)) window_->controlHovered(control());
    if (!e->buttons() && control().def->kind == Kind::List)
        window_->rowHovered(control(), itemAt(static_cast<int>(e->position().y())));
}

bool ControlWidget::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab on the focused control: the window moves the focus.
    // Qt asks a frame that hides with the focus inside it too: the model
    // has put the focus elsewhere already, and the window gives it there.
    if (hasFocus()) return window_->moveFocus(next);
    return true;
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
