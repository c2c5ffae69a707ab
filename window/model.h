// The window model of the main window `Calculadora`: every control's state
// (captions, tags, visibility, colours), the timers, the window's own shape
// and position, and the event handlers. The Qt widgets only draw this state
// and forward events into it; the replay driver runs the same model with
// fake platform services.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/engine.h"
#include "platform/services.h"
#include "window/layout.h"

namespace morvane {

struct Control {
    const ControlDef* def = nullptr;
    int parent = -1;  // id of the containing frame, -1 for the window
    std::string caption, tag;
    bool visible = true;
    Rgb fore = kBlack, back = kDisplayGreen;
    int border = 0;
    // List boxes.
    std::vector<std::string> items;
    int selected = -1;
    int listTop = 0;
};

struct Timer {
    std::string_view name;
    int interval = 0;  // ms
    bool enabled = false;
};

enum class EventResult {
    Ok,
    UnknownControl,  // no such control
    NotBuilt,        // the control exists but its handler does not yet
};

class Calculadora {
public:
    struct Config {
        std::string homePage;  // address of index.htm
        std::string helpPage;  // address of ayuda.htm
        int startLeftTw = 1500, startTopTw = 1500;
    };

    Calculadora(platform::Services services, Config config);

    // ---- events ----
    EventResult click(std::string_view name, int index = -1);
    EventResult move(std::string_view name, int index);
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
    std::vector<Control> controls;
    std::vector<Timer> timers;

    Control* find(std::string_view name, int index = -1);
    const Control* find(std::string_view name, int index = -1) const;
    int id(std::string_view name, int index = -1) const;  // -1 when absent
    Timer* timer(std::string_view name);
    // The controls that a tick of this timer may change (all of them for a
    // timer with no list), so that a view refreshes only those.
    const std::vector<int>* controlsOfTimer(std::string_view name) const;
    // True while a tick of the display timer would rewrite a display line:
    // a register, the decimals setting or the separator changed since its
    // last tick. A view may leave the timer asleep while this is false.
    bool displayStale() const;

    // The window.
    int left = 0, top = 0, width = kWindowWidthTw, height = kStartHeightTw;  // twips
    bool topmost = false, minimized = false, ended = false;
    std::string windowTag;
    double tempcelsius = 0;
    long long elapsedTicks = 0;  // Timer1 ticks; elapsed minutes = ticks / 120
    double elapsedMinutes() const { return static_cast<double>(elapsedTicks) / 120.0; }
    int dragOriginX = 0, dragOriginY = 0;  // twips
    int pointAX = 0, pointAY = 0, pointBX = 0, pointBY = 0;  // screen pixels
    int regionW = 0, regionH = 0, regionR = 0;  // the last shape set

    char separator() const { return eng.sep; }
    // The regional separator now: ',' or '.', anything else falling back to '.'.
    char regionalSeparator() const;

    // The levels' display lines, by register index.
    Control& line(int i) { return controls[static_cast<size_t>(lineIds_[static_cast<size_t>(i)])]; }

    // Copies the engine's state into the controls it owns (registers, modes,
    // the error report, the memory). Every event handler ends with it.
    void publish();

private:
    void Form_Load();
    void estado_Click(int index);
    void monitor_Click(int index);
    EventResult orden_Click(int index);
    void MANEJO_Click(int index);
    void Label10_Click(int index);
    void nivel2_Click(int index);
    void ocultartodo();
    void alwaysOnTop();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void pageStack(int direction);
    void moveSelected(int direction);
    int selectedLine() const;
    void setPanel(int index, bool visible);
    void syncSeparator();
    void applyGeometry();

    platform::Services svc_;
    Config config_;
    // Control ids by array name, then by index + 1 (slot 0 for no index).
    std::unordered_map<std::string_view, std::vector<int>> index_;
    std::vector<int> lineIds_;  // nivel2(0..20)
    std::vector<int> timer1Ids_, timer2Ids_;
    // What the display timer last formatted.
    struct Shown {
        bool valid = false;
        std::vector<std::string> registers;
        std::string mode;
        char separator = 0;
    } shown_;
};

}  // namespace morvane
