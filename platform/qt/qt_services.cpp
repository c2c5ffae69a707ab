#include "qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDate>
#include <QDesktopServices>
#include <QLocale>
#include <QRegion>
#include <QScreen>
#include <QTime>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/environment.h"
#include "platform/screen.h"

#include "platform/qt/x11_selection.h"
#include "platform/qt/x11shape.h"

namespace morvane::platform {

QtClipboard::QtClipboard() = default;

QtClipboard::~QtClipboard() = default;

bool QtClipboard::setText(const std::string& text) {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c) return false;
    c->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool QtClipboard::setSelection(const std::string& text) {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c || !c->supportsSelection()) return false;
    c->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QClipboard::Selection);
    return true;
}

void QtClipboard::readText(size_t bound, TextReply reply) {
    QClipboard* c = QGuiApplication::clipboard();
    if (!c) return reply(Read::Failed, {});
    if (!c->ownsClipboard() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (!x11_ || !x11_->usable()) x11_ = X11SelectionReader::open(x11DisplayName());
        if (!x11_) return reply(Read::Failed, {});
        return x11_->read(bound, std::chrono::milliseconds(kClipboardWaitMs), std::move(reply));
    }
    const QByteArray text = c->text().toUtf8();
    if (static_cast<size_t>(text.size()) > bound) return reply(Read::TooLong, {});
    reply(Read::Text, std::string(text.constData(), static_cast<size_t>(text.size())));
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

std::string QtRegional::timeText() { return timeText(QTime::currentTime()); }

std::string QtRegional::shortDateText() { return shortDateText(QDate::currentDate()); }

std::string QtRegional::timeText(const QTime& t) const {
    return formats_->locale.toString(t, formats_->time).toStdString();
}

std::string QtRegional::shortDateText(const QDate& d) const {
    return formats_->locale.toString(d, QLocale::ShortFormat).toStdString();
}

long long QtRegional::clockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool QtBrowser::open(const std::string& address) {
    // The browser starts with the user's environment, not the settings the
    // program made for itself.
    bool ok = false;
    withUserEnvironment([&] { ok = QDesktopServices::openUrl(QUrl(QString::fromStdString(address))); });
    return ok;
}

void QtWindowSystem::setGeometry(int leftTw, int topTw, int widthTw, int heightTw) {
    if (!wayland_) w_->move(leftTw / kTwipsPerPixel, topTw / kTwipsPerPixel);
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

}  // namespace

void QtWindowSystem::prepare() {
    wayland_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (wayland_ || (qGuiApp->devicePixelRatio() > 1 && x11CompositorRunning())) {
        w_->setAttribute(Qt::WA_TranslucentBackground);
        alpha_ = true;
    }
}

bool QtWindowSystem::setDeviceShape(int wPx, int hPx, int rPx) {
    const double dpr = w_->devicePixelRatioF();
    if (dpr <= 1 || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    const int w = static_cast<int>(std::lround(wPx * dpr)), h = static_cast<int>(std::lround(hPx * dpr));
    const std::vector<int> insets = cornerInsets(w, h, rPx * dpr);
    const int corner = static_cast<int>(insets.size());
    std::vector<ShapeRow> rows;
    auto inset = [&](int y) { return insets[static_cast<size_t>(y)]; };
    for (int y = 0; y < corner; ++y) rows.push_back({inset(y), y, w - 2 * inset(y), 1});
    if (h > 2 * corner) rows.push_back({0, corner, w, h - 2 * corner});
    for (int y = corner - 1; y >= 0; --y) rows.push_back({inset(y), h - 1 - y, w - 2 * inset(y), 1});
    w_->clearMask();
    return x11SetShape(static_cast<unsigned long>(w_->winId()), rows);
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
    if (!keepsAbove()) return;
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

bool QtWindowSystem::availableArea(int xTw, int yTw, ScreenArea& area) {
    if (wayland_) return false;
    QScreen* screen = QGuiApplication::screenAt(QPoint(xTw / kTwipsPerPixel, yTw / kTwipsPerPixel));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    const QRect r = screen->availableGeometry();
    area = {r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel, r.height() * kTwipsPerPixel};
    return !r.isEmpty();
}

bool QtWindowSystem::startSystemMove() {
    QWindow* window = w_->windowHandle();
    return window && window->startSystemMove();
}

}  // namespace morvane::platform
