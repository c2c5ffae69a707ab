// The window model of the main window `Calculadora`: the control store of
// the whole window (captions, tags, visibility, colours, list rows), the
// timers, the window's own shape and position, and the event handlers. The
// Qt widgets only draw this state and forward events into it; the replay
// driver runs the same model with fake platform services.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "form/form.h"
#include "panels/panels.h"
#include "platform/services.h"
#include "window/access.h"
#include "window/layout.h"

namespace morvane {

// Where a window of width x height twips at (left, top) goes so that it
// lies wholly inside the area: moved in along each axis where it sticks out;
// where it is larger than the area, its left or top edge at the area's, so
// that its top-left corner stays on the screen.
void keepInside(int& left, int& top, int width, int height, const platform::ScreenArea& area);

enum class EventResult {
    Ok,
    UnknownControl,  // no such control
};

class Calculadora {
public:
    struct Config {
        std::string homePage;  // address of index.htm
        std::string helpPage;  // address of ayuda.htm
        int startLeftTw = 1500, startTopTw = 1500;
    };

    static constexpr int kNoItem = -1;

    Calculadora(platform::Services services, Config config);

    // The window's controls: what the widgets draw and the scripts query.
    Form& form() { return form_; }
    const Form& form() const { return form_; }

    // ---- events ----
    // A click on name(index); on a list box, on row `item` (kNoItem: on no row).
    EventResult click(std::string_view name, int index = -1, int item = kNoItem);
    // The pointer moves over name(index). `changed` tells whether anything
    // on screen changed (a hover colour, a caption).
    EventResult move(std::string_view name, int index, bool* changed = nullptr);
    // True when a handler takes the clicks of array `name`.
    bool handles(std::string_view name) const;
    // True when the elements of array `name` answer the pointer's moves.
    bool hovers(std::string_view name) const { return panels_->hovers(name); }
    // The mouse wheel over list box listmemory(index), by `steps` rows.
    EventResult wheel(std::string_view name, int index, int steps);
    // The keyboard: the keypad's characters, and Esc, Ctrl+C, Ctrl+V, Ctrl+Z.
    static constexpr int kCtrlC = 3, kReturn = 13, kCtrlV = 22, kCtrlZ = 26, kEscape = 27;
    // The display timer, which rewrites the display lines from the registers.
    static constexpr std::string_view kDisplayTimer = "Timer2";
    void Form_KeyPress(int code);
    // Fires a timer once; a disabled timer's tick does nothing. False for an
    // unknown timer.
    bool tick(std::string_view timer);
    void Form_MouseDown(int button, int xTw, int yTw);
    void Form_MouseMove(int buttons, int xTw, int yTw);
    void Form_Resize();
    void restored();  // the window came back from minimised

    // ---- the keyboard focus and what a screen reader hears ----
    // Tab, Shift+Tab and the arrow keys move the focus (accessible.h says
    // where); from then on the focused control carries its mark.
    void moveFocus(FocusMove how);
    // Space: the focused control (a list's focused row) is clicked.
    void pressFocused();
    // The pointer pressed a control: the focus mark goes, the focus stays.
    void pointerUsed() { focusMarked_ = false; }
    // The pointer over row `item` of list box name(index) (kNoItem: no row).
    EventResult hoverRow(std::string_view name, int index, int item);
    const Focus& focus() const { return focus_; }
    bool focusMarked() const { return focusMarked_; }
    // What a screen reader should hear after the last event that had
    // something to say, and how many such texts there were so far.
    const std::string& announcement() const { return announcement_; }
    unsigned long announcements() const { return announcements_; }

    // ---- state ----
    Engine eng;
    // The display's decimals, and what the clock label shows.
    Decimals decimals;
    enum class ClockMode { Time, Minutes } clockMode = ClockMode::Time;

    // The controls that a tick of this timer may change (all of them for a
    // timer with no list), so that a view refreshes only those.
    const std::vector<int>* controlsOfTimer(std::string_view name) const;
    // True while a tick of the display timer would rewrite a display line:
    // a register (through a click or a key press), the decimals setting or
    // the separator changed since its last tick. A view may leave the timer
    // asleep while this is false.
    bool displayStale() const;

    // The window.
    int left = 0, top = 0, width = kWindowWidthTw, height = kStartHeightTw;  // twips
    bool topmost = false, minimized = false, ended = false;
    std::string windowTag;
    long long elapsedTicks = 0;  // Timer1 ticks; elapsed minutes = ticks / 120
    double elapsedMinutes() const { return static_cast<double>(elapsedTicks) / 120.0; }
    int dragOriginX = 0, dragOriginY = 0;  // twips
    // A drag of a window that the window system moves (Wayland) goes to it
    // once the pointer has moved this far from where the button went down.
    static constexpr int kDragSlopTw = 3 * kTwipsPerPixel;
    int pointAX = 0, pointAY = 0, pointBX = 0, pointBY = 0;  // screen pixels
    int regionW = 0, regionH = 0, regionR = 0;               // the last shape set

    char separator() const { return eng.sep; }
    // The regional settings changed: the decimal separator is read again.
    void regionalChanged();

    // The levels' display lines, by register index.
    Control& line(int i) { return form_.at(lineIds_[static_cast<size_t>(i)]); }

    panels::Panels& panels() { return *panels_; }
    const panels::Panels& panels() const { return *panels_; }
    // The pending Celsius value as the driver shows it: a number text, or
    // the text kept as it is.
    std::string tempcelsiusText() const;

    // Copies the engine's small state (modes, the error report) into the
    // controls that show it. The registers, the main memory and the memory
    // list are not copied: their controls read the engine's texts.
    void publish();

    // Called after an answer of the platform that came after its event (a
    // paste's text, a print's verdict) changed the model, outside any
    // handler: the view shows the change.
    std::function<void()> onAnswer;
    // Clicks, key presses and wheel turns that came while "pst" waited for
    // the clipboard: they act, in their order, once the paste has ended.
    size_t waitingEvents() const { return waiting_.size(); }

private:
    // The window's own arrays and their click handlers; the panels' arrays
    // are routed by the panels.
    struct WindowRoute {
        std::string_view name;
        void (*click)(Calculadora&, Engine&, int index);
    };
    static const WindowRoute* windowRoute(std::string_view name);
    void estado_Click(int index);
    void monitor_Click(int index);
    void MANEJO_Click(int index);
    void Label10_Click(int index);
    void ocultartodo();
    void alwaysOnTop();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void setPanel(int index, bool visible);
    // Whether an event must wait for the paste in progress (or for the
    // events that already wait).
    bool mustWait() const { return eng.pasting() || !waiting_.empty(); }
    void runClick(std::string_view name, int index, int item);
    void runKeyPress(int code);
    void answered();
    void runWaiting();
    void applyGeometry();
    // After an event: the focus follows the error box and the panels, and
    // the announcement of what changed is made.
    void afterEvent(const Glance& before, Cause cause, int code = 0);
    void settleFocus(int panelBefore, bool errorBefore);
    void announce(std::string text);
    // Scrolls the memory list until the focused row shows.
    void showFocusedRow();
    bool inside(const Focus& f, int frame) const;
    // Moves the window into the free part of its screen.
    void keepOnScreen();

    Form form_;
    platform::Services svc_;
    Config config_;
    std::unique_ptr<panels::Panels> panels_;
    std::vector<int> lineIds_;   // nivel2(0..20)
    std::vector<int> panelIds_;  // pantalla(0..9)
    std::vector<int> timer1Ids_, timer2Ids_;
    const std::vector<int> noIds_;
    // What the display lines show: the register texts, decimals mode and
    // separator of the last display tick.
    std::array<std::string, kRegisters> shownText_;
    Decimals shownMode_;
    unsigned long reportsShown_ = ~0UL;  // the error reports that publish() has shown; none yet
    char shownSep_ = '.';
    // Clicks and key presses so far, and the answer of displayStale() about
    // the registers after the last of them it looked at.
    unsigned long long inputs_ = 0;
    mutable unsigned long long inputsChecked_ = 0;
    mutable bool registersChanged_ = false;
    static constexpr long long kNever = -(1LL << 62);
    long long lastOpened_[2] = {kNever, kNever};  // when each link last opened its page
    Focus focus_;
    Focus errorReturn_, panelReturn_;  // where the focus goes back when the error box or a panel goes
    bool focusMarked_ = false;
    std::string announcement_;
    unsigned long announcements_ = 0;
    Focus hovered_;  // the last list entry or row under the pointer
    // Events held while a paste waits. The name is the layout's own, which
    // lives as long as the program.
    struct Waiting {
        enum class Kind { Click, Key, Wheel } kind;
        std::string_view name;
        int index = -1, value = 0;  // value: the list row, the key code or the wheel's steps
    };
    std::deque<Waiting> waiting_;
    Glance answerBefore_;  // the window before the last click or key
    int handling_ = 0;     // handlers in progress
    // The drag since the last button press on a window that the window
    // system moves: not yet started, handed to the window system, or moved
    // by the program because the window system could not.
    enum class SystemMove { Waiting, Handed, Own } systemMove_ = SystemMove::Own;
    // Controls the handlers use, bound at start-up.
    struct Ids {
        int hyp, angle, clock, levels, led, decimals, up, down, cursor, error, numero, descripcion, cover, notice,
            errorOk;
        int rings[3];
    } ids_{};
};

}  // namespace morvane
