// The platform services on Qt.
#pragma once

#include <memory>

#include "platform/services.h"

class QDate;
class QTime;
class QWidget;
class QString;

namespace morvane::platform {

class X11SelectionReader;

// Qt's clipboard for writing, and for reading where Qt holds the text (the
// program's own copy) or fetches it itself (Wayland, offscreen). On X11 the
// text of another program is read without waiting for it (see
// x11_selection.h): within kClipboardWaitMs, or not at all.
class QtClipboard : public Clipboard {
public:
    static constexpr int kClipboardWaitMs = 1500;
    QtClipboard();
    ~QtClipboard() override;
    bool setText(const std::string& text) override;
    void readText(size_t bound, TextReply reply) override;
    bool setSelection(const std::string& text) override;

private:
    std::unique_ptr<X11SelectionReader> x11_;
};

// The regional settings, read once and again whenever the locale changes.
class QtRegional : public Regional {
public:
    QtRegional();
    void reload();
    char decimalSeparator() override { return separator_; }
    std::string timeText() override;
    std::string shortDateText() override;
    // The same formats for a given time and date.
    std::string timeText(const QTime& t) const;
    std::string shortDateText(const QDate& d) const;
    long long clockMs() override;

private:
    char separator_ = '.';
    struct Formats;
    std::shared_ptr<Formats> formats_;
};

class QtBrowser : public Browser {
public:
    bool open(const std::string& address) override;
};

// The main window's native side: geometry, shape, the topmost flag.
//
// The rounded shape is a mask in window pixels, except above one device
// pixel a window pixel on X11: there, with a compositor running, the window
// has an alpha channel and its painter cuts the corners with per-pixel
// alpha (see alphaCorners()); without one, the shape is set in device
// pixels on the native window.
//
// On Wayland a mask sets only where the window takes input: the corners
// are always cut in per-pixel alpha. There the compositor places the
// window, moves it on request (startSystemMove) and keeps no window above
// the others, so no position is ever asked for and the topmost flag is
// left alone.
class QtWindowSystem : public WindowSystem {
public:
    explicit QtWindowSystem(QWidget* window) : w_(window) {}
    // Chooses how the corners are cut; called before the window's native
    // side is made (it may ask for an alpha channel).
    void prepare();
    // Whether the window's painter cuts the corners itself; the shape to
    // cut is the last one set.
    bool alphaCorners() const { return alpha_; }
    int shapeWidth() const { return shapeW_; }
    int shapeHeight() const { return shapeH_; }
    int shapeEllipse() const { return shapeR_; }
    void setGeometry(int leftTw, int topTw, int widthTw, int heightTw) override;
    void setRoundRegion(int wPx, int hPx, int rPx) override;
    void setTopmost(bool on) override;
    void setVisible(bool on) override;
    void minimize() override;
    void repaint() override;
    void quit() override;
    bool cursorPos(int& xPx, int& yPx) override;
    bool availableArea(int xTw, int yTw, ScreenArea& area) override;
    bool placesWindow() override { return !wayland_; }
    bool startSystemMove() override;
    bool keepsAbove() override { return !wayland_; }

private:
    bool setDeviceShape(int wPx, int hPx, int rPx);

    QWidget* w_;
    bool wayland_ = false;
    bool alpha_ = false;
    int shapeW_ = 0, shapeH_ = 0, shapeR_ = 0;
};

// The regional decimal separator of a locale's decimal point: ',' or '.',
// anything else falling back to '.'.
char separatorOf(const QString& decimalPoint);

}  // namespace morvane::platform
