// The window model of the main window `Calculadora`: the control store of
// the whole window (captions, tags, visibility, colours, list rows), the
// timers, the window's own shape and position, and the event handlers. The
// Qt widgets only draw this state and forward events into it; the replay
// driver runs the same model with fake platform services.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "form/form.h"
#include "panels/panels.h"
#include "platform/services.h"
#include "window/layout.h"

namespace morvane {

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
    static constexpr int kCtrlC = 3, kCtrlV = 22, kCtrlZ = 26, kEscape = 27;
    void Form_KeyPress(int code);
    // Fires a timer once; a disabled timer's tick does nothing. False for an
    // unknown timer.
    bool tick(std::string_view timer);
    void Form_MouseDown(int button, int xTw, int yTw);
    void Form_MouseMove(int buttons, int xTw, int yTw);
    void Form_Resize();
    void restored();  // the window came back from minimised

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
    int pointAX = 0, pointAY = 0, pointBX = 0, pointBY = 0;  // screen pixels
    int regionW = 0, regionH = 0, regionR = 0;  // the last shape set

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
    void applyGeometry();

    Form form_;
    platform::Services svc_;
    Config config_;
    std::unique_ptr<panels::Panels> panels_;
    std::vector<int> lineIds_;  // nivel2(0..20)
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
    // Controls the handlers use, bound at start-up.
    struct Ids {
        int hyp, angle, clock, levels, led, decimals, up, down, cursor, error, numero, descripcion, cover, notice;
        int rings[3];
    } ids_{};
};

}  // namespace morvane
