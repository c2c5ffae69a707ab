#include "qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDate>
#include <QDesktopServices>
#include <QLocale>
#include <QRegion>
#include <QTime>
#include <QUrl>
#include <QWidget>
#include <cmath>
#include <string>
#include <vector>

#include "window/layout.h"

#ifdef MORVANE_X11_SHAPE
#include <QtGui/qguiapplication_platform.h>
// Xlib's macros (None, Bool, Status ...) come last, after every other header.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#endif

namespace morvane::platform {

bool QtClipboard::clear() {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c) return false;
    c->clear();
    return true;
}

bool QtClipboard::setText(const std::string& text) {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c) return false;
    c->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool QtClipboard::text(std::string& out) {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c) return false;
    out = c->text().toStdString();
    return true;
}

char separatorOf(const QString& decimalPoint) {
    if (decimalPoint == QStringLiteral(",")) return ',';
    return '.';
}

struct QtRegional::Formats {
    QLocale locale;
    QString time;
};

QtRegional::QtRegional() { reload(); }

void QtRegional::reload() {
    auto f = std::make_shared<Formats>();
    f->locale = QLocale::system();
    // The system's time format, with seconds even where the short format has none.
    f->time = f->locale.timeFormat(QLocale::ShortFormat);
    if (!f->time.contains(QLatin1Char('s'))) {
        const qsizetype m = f->time.lastIndexOf(QLatin1String("mm"));
        if (m >= 0) f->time.insert(m + 2, QLatin1String(":ss"));
    }
    separator_ = separatorOf(f->locale.decimalPoint());
    formats_ = std::move(f);
}

std::string QtRegional::timeText() { return formats_->locale.toString(QTime::currentTime(), formats_->time).toStdString(); }

std::string QtRegional::shortDateText() {
    return formats_->locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

bool QtBrowser::open(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

void QtWindowSystem::setGeometry(int leftTw, int topTw, int widthTw, int heightTw) {
    w_->move(leftTw / kTwipsPerPixel, topTw / kTwipsPerPixel);
    w_->setFixedSize(widthTw / kTwipsPerPixel, heightTw / kTwipsPerPixel);
}

namespace {

// A rounded rectangle w x h with corner ellipse r x r as rows of pixels:
// the inset of each corner row, top row first, so that both sides and both
// ends are exactly symmetric.
std::vector<int> cornerInsets(int w, int h, double r) {
    std::vector<int> insets;
    const double a = r / 2.0;  // corner radius
    const int corner = static_cast<int>(std::ceil(a));
    for (int y = 0; y < corner && y < h / 2; ++y) {
        const double dy = a - (y + 0.5);
        const double dx = a - std::sqrt(std::max(0.0, a * a - dy * dy));
        insets.push_back(std::min(static_cast<int>(std::lround(dx)), w / 2));
    }
    return insets;
}

#ifdef MORVANE_X11_SHAPE
Display* x11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// A compositing manager owns the screen's _NET_WM_CM_Sn selection.
bool compositorRunning(Display* d) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(d));
    const Atom atom = XInternAtom(d, name.c_str(), False);
    return atom != None && XGetSelectionOwner(d, atom) != None;
}
#endif

}  // namespace

void QtWindowSystem::prepare() {
#ifdef MORVANE_X11_SHAPE
    Display* d = x11Display();
    if (d && qGuiApp->devicePixelRatio() > 1 && compositorRunning(d)) {
        w_->setAttribute(Qt::WA_TranslucentBackground);
        alpha_ = true;
    }
#endif
}

bool QtWindowSystem::setDeviceShape(int wPx, int hPx, int rPx) {
#ifdef MORVANE_X11_SHAPE
    Display* d = x11Display();
    const double dpr = w_->devicePixelRatioF();
    if (!d || dpr <= 1) return false;
    const int w = static_cast<int>(std::lround(wPx * dpr)), h = static_cast<int>(std::lround(hPx * dpr));
    std::vector<XRectangle> rows;
    const std::vector<int> insets = cornerInsets(w, h, rPx * dpr);
    const int corner = static_cast<int>(insets.size());
    auto row = [&](int x, int y, int width, int height) {
        rows.push_back(XRectangle{static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(width),
                                  static_cast<unsigned short>(height)});
    };
    for (int y = 0; y < corner; ++y) row(insets[static_cast<size_t>(y)], y, w - 2 * insets[static_cast<size_t>(y)], 1);
    if (h > 2 * corner) row(0, corner, w, h - 2 * corner);
    for (int y = corner - 1; y >= 0; --y)
        row(insets[static_cast<size_t>(y)], h - 1 - y, w - 2 * insets[static_cast<size_t>(y)], 1);
    w_->clearMask();
    XShapeCombineRectangles(d, static_cast<Window>(w_->winId()), ShapeBounding, 0, 0, rows.data(),
                            static_cast<int>(rows.size()), ShapeSet, YXBanded);
    XFlush(d);
    return true;
#else
    (void)wPx, (void)hPx, (void)rPx;
    return false;
#endif
}

void QtWindowSystem::setRoundRegion(int wPx, int hPx, int rPx) {
    shapeW_ = wPx;
    shapeH_ = hPx;
    shapeR_ = rPx;
    if (alpha_) {
        // The painter cuts the corners.
        w_->clearMask();
        w_->update();
        return;
    }
    if (setDeviceShape(wPx, hPx, rPx)) {
        w_->update();
        return;
    }
    QRegion region;
    const std::vector<int> insets = cornerInsets(wPx, hPx, rPx);
    const int corner = static_cast<int>(insets.size());
    for (int y = 0; y < corner; ++y) {
        const int inset = insets[static_cast<size_t>(y)];
        region += QRect(inset, y, wPx - 2 * inset, 1);
        region += QRect(inset, hPx - 1 - y, wPx - 2 * inset, 1);
    }
    region += QRect(0, corner, wPx, std::max(0, hPx - 2 * corner));
    w_->setMask(region);
    w_->update();
}

void QtWindowSystem::setTopmost(bool on) {
    const QPoint pos = w_->pos();
    const bool wasVisible = w_->isVisible();
    w_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    w_->move(pos);
    if (wasVisible) w_->show();
}

void QtWindowSystem::setVisible(bool on) {
    // Hiding and showing again around a change of height would flash the
    // window; the change is applied in place instead.
    if (on && !w_->isVisible()) w_->show();
}

void QtWindowSystem::minimize() { w_->showMinimized(); }

void QtWindowSystem::repaint() { w_->update(); }

void QtWindowSystem::quit() { QApplication::quit(); }

bool QtWindowSystem::cursorPos(int& xPx, int& yPx) {
    const QPoint p = QCursor::pos();
    xPx = p.x();
    yPx = p.y();
    return true;
}

}  // namespace morvane::platform
