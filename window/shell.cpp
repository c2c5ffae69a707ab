// The window itself: its place on the screen, its rounded shape, the drag
// by its body and the title keys ("^", "_", "X"), and the two link keys.
#include <algorithm>
#include <cmath>

#include "model.h"

namespace morvane {

namespace {

// Rounds to the nearest integer, halves to even.
int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

void keepInside(int& left, int& top, int width, int height, const platform::ScreenArea& area) {
    auto along = [](int& pos, int size, int start, int extent) {
        pos = std::max(start, std::min(pos, start + extent - size));
    };
    along(left, width, area.left, area.width);
    along(top, height, area.top, area.height);
}

void Calculadora::keepOnScreen() {
    platform::ScreenArea area;
    if (svc_.window && svc_.window->availableArea(left, top, area)) keepInside(left, top, width, height, area);
}

void Calculadora::applyGeometry() {
    if (svc_.window) svc_.window->setGeometry(left, top, width, height);
}

void Calculadora::Form_Resize() {
    if (minimized) return;
    const float w = static_cast<float>(width) / kTwipsPerPixel;
    const float h = static_cast<float>(height) / kTwipsPerPixel;
    regionR = roundHalfEven(w / 17.0f);
    regionW = roundHalfEven(w);
    regionH = roundHalfEven(h);
    if (svc_.window) {
        svc_.window->setRoundRegion(regionW, regionH, regionR);
        svc_.window->repaint();
    }
}

void Calculadora::restored() {
    minimized = false;
    Form_Resize();
}

void Calculadora::Form_MouseDown(int button, int xTw, int yTw) {
    dragOriginX = xTw;
    dragOriginY = yTw;
    const bool systemMoves = button == 1 && svc_.window && !svc_.window->placesWindow();
    systemMove_ = systemMoves ? SystemMove::Waiting : SystemMove::Own;
}

void Calculadora::Form_MouseMove(int buttons, int xTw, int yTw) {
    for (int id : ids_.rings) form_.at(id).fore = kDisplayGreen;
    const bool leftDown = buttons == 1;
    // A window that the window system places is moved by it: once the
    // pointer has left the point where the button went down, the drag is
    // handed over; only where that fails does the program move it itself.
    if (leftDown && systemMove_ == SystemMove::Waiting) {
        if (std::abs(xTw - dragOriginX) < kDragSlopTw && std::abs(yTw - dragOriginY) < kDragSlopTw) {
            publish();
            return;
        }
        systemMove_ = svc_.window->startSystemMove() ? SystemMove::Handed : SystemMove::Own;
    }
    if (leftDown && systemMove_ == SystemMove::Handed) {
        windowTag = "1";  // a drag step, as the program's own
        publish();
        return;
    }
    auto readCursor = [&](int& x, int& y) {
        const bool ok = svc_.window && svc_.window->cursorPos(x, y);
        windowTag = ok ? "1" : "0";
    };
    if (leftDown) readCursor(pointAX, pointAY);
    const bool upward = pointBY - pointAY >= 1;
    if (top < 160 && upward) {
        top = 0;
        if (leftDown) left = pointAX * kTwipsPerPixel - dragOriginX;
        applyGeometry();
    } else if (leftDown) {
        top = pointAY * kTwipsPerPixel - dragOriginY;
        left = pointAX * kTwipsPerPixel - dragOriginX;
        applyGeometry();
        readCursor(pointBX, pointBY);
    }
    publish();
}

void Calculadora::MANEJO_Click(int index) {
    switch (index) {
        case 0:
            alwaysOnTop();
            break;
        case 1:
            minimized = true;
            if (svc_.window) svc_.window->minimize();
            break;
        case 2:
            form_.at(ids_.cover).visible = true;
            if (svc_.window) svc_.window->repaint();
            form_.requireTimer("Timer4").enabled = true;
            break;
        default:
            break;
    }
}

void Calculadora::alwaysOnTop() {
    platform::WindowSystem* ws = svc_.window;
    if (ws) ws->setVisible(false);
    const int keepLeft = left, keepTop = top;
    if (windowTag != "top") {
        windowTag = "top";
        topmost = true;
        if (ws) ws->setTopmost(true);
        height = kTopmostHeightTw;
    } else {
        // Any tag but "top" means not topmost; this one is the text that
        // un-pinning has always written, which the window tag query shows.
        windowTag = "hjoiuh";
        topmost = false;
        if (ws) ws->setTopmost(false);
        height = kTallHeightTw;
    }
    width = kWindowWidthTw;
    left = keepLeft;
    top = keepTop;
    keepOnScreen();
    applyGeometry();
    Form_Resize();
    if (ws) ws->setVisible(true);
}

void Calculadora::Label10_Click(int index) {
    const std::string* address = index == 0 ? &config_.homePage : index == 1 ? &config_.helpPage : nullptr;
    if (!address || !svc_.browser) return;
    // Each page opens at most once a second: a burst of clicks starts one
    // browser, not one each.
    long long& last = lastOpened_[index];
    const long long now = svc_.regional ? svc_.regional->clockMs() : 0;
    if (last != kNever && now - last < 1000 && now >= last) return;
    last = now;
    // A failure to open the page is ignored.
    (void)svc_.browser->open(*address);
}

}  // namespace morvane
