// The platform services the window model uses. Plain C++ interfaces: the
// Qt implementation lives in platform/qt, the in-memory fakes in fake.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clipboard.h"

namespace morvane::platform {

// The system clock and the regional settings.
class Regional {
public:
    virtual ~Regional() = default;
    virtual char decimalSeparator() = 0;      // ',' or '.'
    virtual std::string timeText() = 0;       // the time of day, with seconds
    virtual std::string shortDateText() = 0;  // the short date
    // A clock in milliseconds that only moves forward while the program
    // runs: for spacing events in time.
    virtual long long clockMs() = 0;
};

class Browser {
public:
    virtual ~Browser() = default;
    virtual bool open(const std::string& address) = 0;
};

// One composed print page, in twips from the page's top left corner. The
// model composes it from its layout table; a printer paints it.
struct PrintText {
    std::string name;  // the label's array name ("Label1", "Label2")
    int index = -1;    // its index, -1 for none
    std::string text;
    int left = 0, top = 0, width = 0, height = 0;
    double pt = 9;  // Arial, points
    bool bold = false;
    enum class Align { Left, Center, Right } align = Align::Left;
};
struct PrintLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct PrintIcon {  // the program's icon
    int left = 0, top = 0, width = 0, height = 0;
};
struct PrintPage {
    std::string docName;        // the print job's name
    int width = 0, height = 0;  // the page's extent in twips
    std::vector<PrintText> texts;
    std::vector<PrintLine> lines;
    std::vector<PrintIcon> icons;
    // The text of label name(index), or nullptr.
    const PrintText* find(const std::string& name, int index) const {
        for (const PrintText& t : texts)
            if (t.name == name && t.index == index) return &t;
        return nullptr;
    }
    PrintText* find(const std::string& name, int index) {
        return const_cast<PrintText*>(static_cast<const PrintPage&>(*this).find(name, index));
    }
};

class Printer {
public:
    // Receives whether the default printer accepted the job.
    using Reply = std::function<void(bool accepted)>;
    virtual ~Printer() = default;
    // Sends one page, as it is now, to the default printer. The reply comes
    // exactly once: at once, or later from the window's event loop while the
    // program goes on (a print system may be slow or hang); it is bounded in
    // time. False in it: there is no printer, it refused the job, or it did
    // not answer in time.
    virtual void print(const PrintPage& page, Reply reply) = 0;
};

// A part of the screen, in twips.
struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
};

// The window system, for the main window. Positions and sizes in twips
// unless the name says pixels.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Where a window system that places windows itself (placesWindow()
    // false) is asked for the size only.
    virtual void setGeometry(int leftTw, int topTw, int widthTw, int heightTw) = 0;
    // The rounded shape: a rectangle of w x h pixels with corner ellipse r x r.
    virtual void setRoundRegion(int wPx, int hPx, int rPx) = 0;
    virtual void setTopmost(bool on) = 0;
    virtual void setVisible(bool on) = 0;
    virtual void minimize() = 0;
    virtual void repaint() = 0;
    virtual void quit() = 0;
    // The pointer's screen position in pixels; false when it cannot be read.
    virtual bool cursorPos(int& xPx, int& yPx) = 0;
    // The part of the screen holding the point (x, y) that windows may
    // cover (the screen less its panels), or of the main screen when no
    // screen holds it; false when no screen is known or the program does
    // not place its window.
    virtual bool availableArea(int xTw, int yTw, ScreenArea& area) = 0;
    // Whether the program places and moves its window itself, as on X11; a
    // Wayland compositor places every window and moves one only on request.
    virtual bool placesWindow() = 0;
    // Hands the drag in progress (the left button is held) to the window
    // system, which moves the window until the button is released; false
    // when it cannot.
    virtual bool startSystemMove() = 0;
    // Whether the window system can keep the window above the others.
    virtual bool keepsAbove() = 0;
};

struct Services {
    Clipboard* clipboard = nullptr;
    Regional* regional = nullptr;
    Browser* browser = nullptr;
    Printer* printer = nullptr;
    WindowSystem* window = nullptr;
};

}  // namespace morvane::platform
