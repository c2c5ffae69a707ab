#include "model.h"

#include <algorithm>
#include <cmath>

#include "engine/format.h"
#include "engine/numtext.h"

namespace morvane {

namespace {

// Rounds to the nearest integer, halves to even.
int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

Calculadora::Calculadora(platform::Services services, Config config)
    : form_(allControls()), svc_(services), config_(std::move(config)) {
    for (int i = 0; i <= 20; ++i) {
        lineIds_.push_back(form_.require("nivel2", i));
        // The registers and their undo snapshot are the engine's.
        Control& reg = form_.at("nivel", i);
        reg.captionSource = &eng.regs.cur[static_cast<size_t>(i)];
        reg.tagSource = &eng.regs.saved[static_cast<size_t>(i)];
    }
    form_.at("memoriaprincipal").captionSource = &eng.memoria;
    for (int p = 0; p <= 9; ++p) panelIds_.push_back(form_.require("pantalla", p));
    ids_.hyp = form_.require("estado", 2);
    ids_.angle = form_.require("estado", 3);
    ids_.clock = form_.require("estado", 4);
    ids_.levels = form_.require("estado", 6);
    ids_.led = form_.require("estado", 7);
    ids_.decimals = form_.require("estado", 11);
    ids_.up = form_.require("orden", 3);
    ids_.down = form_.require("orden", 4);
    ids_.cursor = form_.require("Shape1");
    ids_.error = form_.require("error");
    ids_.numero = form_.require("numeroerror");
    ids_.descripcion = form_.require("descripcionerror");
    ids_.cover = form_.require("pantallaoff");
    ids_.notice = form_.require("Label11");
    for (int i = 0; i < 3; ++i) ids_.rings[i] = form_.require("Shape2", i + 1);
    timer2Ids_ = lineIds_;
    timer1Ids_ = {ids_.up, ids_.down, ids_.clock, ids_.levels, ids_.led, ids_.cursor};

    // The last one is the print page's own timer: it runs while the page exists.
    form_.timers = {{"Timer1", 500, true}, {"Timer2", 150, true}, {"Timer4", 360, false}, {"Timer5", 900, false},
              {"imprimir", 1000, false}};
    eng.clipboard = svc_.clipboard;
    left = config_.startLeftTw;
    top = config_.startTopTw;
    regionalChanged();
    shownSep_ = eng.sep;  // every register and display line starts empty
    panels_ = std::make_unique<panels::Panels>(panels::Context{form_, eng, svc_}, config_.homePage);
    applyGeometry();
    Form_Resize();
    // The clock shows the time from the first frame, not the layout's
    // design caption until the first tick of the status timer.
    if (svc_.regional) form_.at(ids_.clock).caption = svc_.regional->timeText();
    publish();
}

const std::vector<int>* Calculadora::controlsOfTimer(std::string_view name) const {
    if (name == "Timer1") return &timer1Ids_;
    if (name == "Timer2") return &timer2Ids_;
    if (name == "imprimir") return &noIds_;  // the page is never on screen
    return nullptr;
}

// The regional settings own the separator; the engine keeps a copy, taken
// at start and whenever the settings change. Anything but a comma is taken
// for the point.
void Calculadora::regionalChanged() {
    if (svc_.regional) eng.sep = svc_.regional->decimalSeparator() == ',' ? ',' : '.';
}

std::string Calculadora::tempcelsiusText() const {
    const auto& t = panels_->converter.tempcelsius;
    return t.isText ? t.text : numberToText(t.value, eng.sep);
}

void Calculadora::publish() {
    // After every event: a text is written only where it changed.
    auto show = [](std::string& shown, std::string_view text) {
        if (shown != text) shown.assign(text);
    };
    show(form_.at(ids_.hyp).caption, eng.hyperbolic ? "HYP" : "N");
    show(form_.at(ids_.angle).caption, angleCaption(eng.angle));
    const char decimalsCaption[2] = {decimals.all() ? 'X' : static_cast<char>('0' + decimals.count()), 0};
    show(form_.at(ids_.decimals).caption, decimalsCaption);
    show(form_.at(ids_.clock).tag, clockMode == ClockMode::Time ? "reloj" : "minutaje");
    Control& led = form_.at(ids_.led);
    led.back = eng.err.indicatorBack;
    form_.at(ids_.error).visible = eng.err.visible;
    // The report's texts change only with a report.
    if (eng.err.reports != reportsShown_) {
        reportsShown_ = eng.err.reports;
        show(led.caption, eng.err.indicator);
        show(form_.at(ids_.numero).caption, eng.err.numero);
        show(form_.at(ids_.descripcion).caption, eng.err.descripcion);
    }
}

// ---------------------------------------------------------------- events

const Calculadora::WindowRoute* Calculadora::windowRoute(std::string_view name) {
    static const WindowRoute routes[] = {
        {"tecla",
         [](Calculadora& c, Engine& e, int i) {
             e.tecla_Click(i);
             // ENTER also shows the spare frame, which lies outside the window.
             if (i == indexOf(Key::Enter)) c.setPanel(6, true);
         }},
        {"numero", [](Calculadora&, Engine& e, int i) { e.numero_Click(i); }},
        {"vcp", [](Calculadora&, Engine& e, int i) { e.vcp_Click(i); }},
        {"estado", [](Calculadora& c, Engine&, int i) { c.estado_Click(i); }},
        {"monitor", [](Calculadora& c, Engine&, int i) { c.monitor_Click(i); }},
        {"MANEJO", [](Calculadora& c, Engine&, int i) { c.MANEJO_Click(i); }},
        {"Label10", [](Calculadora& c, Engine&, int i) { c.Label10_Click(i); }},
        {"Label4", [](Calculadora& c, Engine&, int) { c.ocultartodo(); }},
    };
    for (const WindowRoute& r : routes)
        if (r.name == name) return &r;
    return nullptr;
}

bool Calculadora::handles(std::string_view name) const { return windowRoute(name) || panels_->handles(name); }

EventResult Calculadora::click(std::string_view name, int index, int item) {
    if (!form_.find(name, index)) return EventResult::UnknownControl;
    ++inputs_;
    if (const WindowRoute* r = windowRoute(name))
        r->click(*this, eng, index);
    else
        panels_->click(name, index, item);
    publish();
    return EventResult::Ok;
}

EventResult Calculadora::move(std::string_view name, int index, bool* changed) {
    if (!form_.find(name, index)) return EventResult::UnknownControl;
    bool c = false;
    panels_->move(name, index, c);
    if (changed) *changed = c;
    return EventResult::Ok;
}

EventResult Calculadora::wheel(std::string_view name, int index, int steps) {
    if (name != "listmemory" || !form_.find(name, index)) return EventResult::UnknownControl;
    panels_->memory.wheel(steps);
    return EventResult::Ok;
}

void Calculadora::Form_KeyPress(int code) {
    ++inputs_;
    // Control characters that the keyboard table leaves free: Esc closes
    // the error box as its "OK" does; Ctrl+C, Ctrl+V and Ctrl+Z run "cpy",
    // "pst" and "undo" exactly as their clicks do, error reports included.
    switch (code) {
        case kEscape:
            eng.err.visible = false;
            break;
        case kCtrlC:
            eng.press(Key::Copy);
            break;
        case kCtrlV:
            eng.press(Key::Paste);
            break;
        case kCtrlZ:
            eng.press(Key::Undo);
            break;
        default:
            eng.Form_KeyPress(code);
            break;
    }
    publish();
}

bool Calculadora::tick(std::string_view name) {
    Timer* t = form_.timer(name);
    if (!t) return false;
    if (!t->enabled) return true;
    if (name == "Timer1") Timer1_Timer();
    if (name == "Timer2") Timer2_Timer();
    if (name == "Timer4") Timer4_Timer();
    if (name == "Timer5") Timer5_Timer();
    if (name == "imprimir") panels_->stackUtilities.imprimir_Timer();
    publish();
    return true;
}

// ---------------------------------------------------------------- status line

void Calculadora::estado_Click(int index) {
    switch (index) {
        case 1:
            for (int i = 1; i <= 9; ++i) setPanel(i, false);
            break;
        case 2:
            eng.hyperbolic = !eng.hyperbolic;
            break;
        case 3:
            eng.angle = nextAngle(eng.angle);
            break;
        case 4:
            clockMode = clockMode == ClockMode::Time ? ClockMode::Minutes : ClockMode::Time;
            break;
        case 11:
            decimals = decimals.next();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------- panels

void Calculadora::setPanel(int index, bool visible) {
    if (index >= 0 && index < static_cast<int>(panelIds_.size())) form_.at(panelIds_[static_cast<size_t>(index)]).visible = visible;
}

void Calculadora::ocultartodo() {
    for (int i = 0; i <= 9; ++i) setPanel(i, false);
}

void Calculadora::monitor_Click(int index) {
    ocultartodo();
    // There is no panel 10: its key lies outside the window.
    setPanel(index, true);
}

// ---------------------------------------------------------------- timers

void Calculadora::Timer1_Timer() {
    // The move keys read "UP" and "DWN" while a non-empty line is selected.
    const int selected = panels_->stack.selected();
    const bool movable = selected != panels::StackKeys::kNone && !eng.regs.cur[static_cast<size_t>(selected)].empty();
    form_.at(ids_.up).caption = movable ? "UP" : "";
    form_.at(ids_.down).caption = movable ? "DWN" : "";
    // The error indicator goes back to green.
    eng.err.indicatorBack = kDisplayGreen;
    // Elapsed time, counted in ticks.
    ++elapsedTicks;
    Control& clock = form_.at(ids_.clock);
    if (clockMode == ClockMode::Time && svc_.regional) clock.caption = svc_.regional->timeText();
    if (clockMode == ClockMode::Minutes) clock.caption = std::to_string(elapsedTicks / 120) + " MIN";
    // Levels in use, up to the first gap; "DEL" when level 19 is taken.
    Control& levels = form_.at(ids_.levels);
    for (int i = 1; i <= 19; ++i) {
        if (eng.regs.cur[static_cast<size_t>(i)].empty()) {
            levels.caption = "L " + std::to_string(i - 1);
            break;
        }
    }
    levels.back = kDisplayGreen;
    if (!eng.regs.cur[19].empty()) {
        levels.back = kSelectionRed;
        levels.caption = "DEL";
    }
    // The cursor blinks.
    Control& cursor = form_.at(ids_.cursor);
    cursor.visible = !cursor.visible;
}

bool Calculadora::displayStale() const {
    if (decimals != shownMode_ || eng.sep != shownSep_) return true;
    // The registers change only in the handlers of clicks and key presses:
    // between two of them the answer stands, and the window asks twice a
    // second, with texts of up to 65536 characters to compare.
    if (inputsChecked_ != inputs_) {
        inputsChecked_ = inputs_;
        registersChanged_ = false;
        for (size_t i = 0; i < kRegisters && !registersChanged_; ++i)
            registersChanged_ = eng.regs.cur[i] != shownText_[i];
    }
    return registersChanged_;
}

void Calculadora::Timer2_Timer() {
    // Only the lines whose register, decimals mode or separator changed since
    // the last tick are formatted again: a long text costs once.
    const bool all = decimals != shownMode_ || eng.sep != shownSep_;
    for (size_t i = 0; i < kRegisters; ++i) {
        const std::string& reg = eng.regs.cur[i];
        if (!all && reg == shownText_[i]) continue;
        Control& l = line(static_cast<int>(i));
        std::string t = displayText(reg, decimals, eng.sep);
        if (t != l.caption) l.caption = std::move(t);
        shownText_[i] = reg;
    }
    shownMode_ = decimals;
    shownSep_ = eng.sep;
    inputsChecked_ = inputs_;
    registersChanged_ = false;
}

void Calculadora::Timer4_Timer() {
    ended = true;
    form_.requireTimer("Timer4").enabled = false;
    if (svc_.window) svc_.window->quit();
}

void Calculadora::Timer5_Timer() {
    form_.at(ids_.notice).visible = false;
    setPanel(9, false);
    form_.requireTimer("Timer5").enabled = false;
}

// ---------------------------------------------------------------- the window

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

void Calculadora::Form_MouseDown(int /*button*/, int xTw, int yTw) {
    dragOriginX = xTw;
    dragOriginY = yTw;
}

void Calculadora::Form_MouseMove(int buttons, int /*xTw*/, int /*yTw*/) {
    for (int id : ids_.rings) form_.at(id).fore = kDisplayGreen;
    const bool leftDown = buttons == 1;
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
