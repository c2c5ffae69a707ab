#include "model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/format.h"
#include "engine/numtext.h"

namespace morvane {

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
    ids_.errorOk = form_.require("orden", 83);
    for (int i = 0; i < 3; ++i) ids_.rings[i] = form_.require("Shape2", i + 1);
    timer2Ids_ = lineIds_;
    timer1Ids_ = {ids_.up, ids_.down, ids_.clock, ids_.levels, ids_.led, ids_.cursor};

    // The last one is the print page's own timer: it runs while the page exists.
    form_.timers = {{"Timer1", 500, true},
                    {"Timer2", 150, true},
                    {"Timer4", 360, false},
                    {"Timer5", 900, false},
                    {"imprimir", 1000, false}};
    eng.clipboard = svc_.clipboard;
    eng.answered = [this] { answered(); };
    left = config_.startLeftTw;
    top = config_.startTopTw;
    regionalChanged();
    shownSep_ = eng.sep;  // every register and display line starts empty
    panels_ = std::make_unique<panels::Panels>(panels::Context{form_, eng, svc_}, config_.homePage);
    keepOnScreen();
    applyGeometry();
    Form_Resize();
    // Without keep-above the "^" key changes the window's height only, and
    // says so.
    if (svc_.window && !svc_.window->keepsAbove()) form_.at("MANEJO", 0).tip = kNoKeepAboveTip;
    // The clock shows the time from the first frame, not the layout's
    // design caption until the first tick of the status timer.
    if (svc_.regional) form_.at(ids_.clock).caption = svc_.regional->timeText();
    publish();
    // The keyboard starts on the log line: a screen reader's "where am I"
    // reads the log's value.
    focus_ = {lineIds_[0], -1};
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
    const Control* c = form_.find(name, index);
    if (!c) return EventResult::UnknownControl;
    if (mustWait())
        waiting_.push_back({Waiting::Kind::Click, c->def->name, index, item});
    else
        runClick(name, index, item);
    return EventResult::Ok;
}

namespace {

// Counts a handler in progress: an answer that comes inside one (a fake's,
// at once) is shown with the handler's own result.
struct Handling {
    explicit Handling(int& n) : n_(n) { ++n_; }
    ~Handling() { --n_; }
    int& n_;
};

}  // namespace

void Calculadora::runClick(std::string_view name, int index, int item) {
    Handling h(handling_);
    ++inputs_;
    // What the window looked like before: for this event's announcement,
    // and for an answer that comes later.
    answerBefore_ = glance(*this);
    if (const WindowRoute* r = windowRoute(name))
        r->click(*this, eng, index);
    else
        panels_->click(name, index, item);
    publish();
    afterEvent(answerBefore_, Cause::Click);
}

// An answer that came after its event: shown, then the events that waited
// for it act in their order, until one of them waits again.
void Calculadora::answered() {
    if (handling_) return;
    ++inputs_;  // the registers may have changed
    publish();
    // Heard as what the event that waited for it changed.
    afterEvent(answerBefore_, Cause::Other);
    runWaiting();
    if (onAnswer) onAnswer();
}

void Calculadora::runWaiting() {
    while (!waiting_.empty() && !eng.pasting()) {
        const Waiting w = waiting_.front();
        waiting_.pop_front();
        switch (w.kind) {
            case Waiting::Kind::Click:
                runClick(w.name, w.index, w.value);
                break;
            case Waiting::Kind::Key:
                runKeyPress(w.value);
                break;
            case Waiting::Kind::Wheel:
                panels_->memory.wheel(w.value);
                break;
        }
    }
}

EventResult Calculadora::move(std::string_view name, int index, bool* changed) {
    const int id = form_.id(name, index);
    if (id < 0) return EventResult::UnknownControl;
    bool c = false;
    panels_->move(name, index, c);
    if (changed) *changed = c;
    // An entry of a panel's list says what it is when the pointer comes to
    // it; a constant says its value too.
    if (hovers(name) && hovered_ != Focus{id, -1}) {
        hovered_ = {id, -1};
        std::string say = accessName(*this, id);
        if (name == "cons") say += ": " + panels_->constants.valueText(index);
        announce(std::move(say));
    }
    return EventResult::Ok;
}

EventResult Calculadora::hoverRow(std::string_view name, int index, int item) {
    const int id = form_.id(name, index);
    if (id < 0) return EventResult::UnknownControl;
    if (item >= 0 && item < rowCount(*this, id) && accessRole(*this, id) == AccessRole::List &&
        hovered_ != Focus{id, item}) {
        hovered_ = {id, item};
        announce(accessRowName(*this, id, item));
    }
    return EventResult::Ok;
}

EventResult Calculadora::wheel(std::string_view name, int index, int steps) {
    if (name != "listmemory" || !form_.find(name, index)) return EventResult::UnknownControl;
    if (mustWait())
        waiting_.push_back({Waiting::Kind::Wheel, "listmemory", index, steps});
    else
        panels_->memory.wheel(steps);
    return EventResult::Ok;
}

void Calculadora::Form_KeyPress(int code) {
    if (mustWait())
        waiting_.push_back({Waiting::Kind::Key, {}, -1, code});
    else
        runKeyPress(code);
}

void Calculadora::runKeyPress(int code) {
    Handling h(handling_);
    ++inputs_;
    // What the window looked like before: for this event's announcement,
    // and for an answer that comes later.
    answerBefore_ = glance(*this);
    // Enter is the ENTER key whatever has the focus; on the error box's
    // "OK" it closes the box as well, as Esc and Space do.
    if (code == kReturn && eng.err.visible && focus_.id == ids_.errorOk) eng.err.visible = false;
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
    afterEvent(answerBefore_, Cause::Key, code);
}

bool Calculadora::tick(std::string_view name) {
    Timer* t = form_.timer(name);
    if (!t) return false;
    if (!t->enabled) return true;
    const int panelBefore = shownPanel(*this);
    const bool errorBefore = eng.err.visible;
    if (name == "Timer1") Timer1_Timer();
    if (name == "Timer2") Timer2_Timer();
    if (name == "Timer4") Timer4_Timer();
    if (name == "Timer5") Timer5_Timer();
    if (name == "imprimir") panels_->stackUtilities.imprimir_Timer();
    publish();
    settleFocus(panelBefore, errorBefore);
    return true;
}

// ---------------------------------------------------------------- focus and announcements

void Calculadora::announce(std::string text) {
    if (text.empty()) return;
    announcement_ = std::move(text);
    ++announcements_;
}

void Calculadora::afterEvent(const Glance& before, Cause cause, int code) {
    settleFocus(before.panel, before.error);
    announce(announcementAfter(*this, before, cause, code));
}

bool Calculadora::inside(const Focus& f, int frame) const {
    for (int a = f.id; a >= 0; a = form_.at(a).parent)
        if (a == frame) return true;
    return false;
}

void Calculadora::settleFocus(int panelBefore, bool errorBefore) {
    // The error box takes the focus onto its "OK" and gives it back.
    if (eng.err.visible && !errorBefore) {
        if (!inside(focus_, ids_.error)) errorReturn_ = focus_;
        if (focusable(*this, ids_.errorOk)) focus_ = {ids_.errorOk, -1};
    } else if (!eng.err.visible && errorBefore && inside(focus_, ids_.error)) {
        focus_ = errorReturn_;
    }
    // So does a panel, onto its first entry, and back to where the focus
    // was when it opened.
    const int panel = shownPanel(*this);
    if (panel >= 0 && panel != panelBefore) {
        const int frame = panelIds_[static_cast<size_t>(panel)];
        const bool inPanel = panelBefore >= 0 && inside(focus_, panelIds_[static_cast<size_t>(panelBefore)]);
        if (!inPanel && !inside(focus_, frame)) panelReturn_ = focus_;
        for (int id : focusOrder(*this)) {
            if (inside({id, -1}, frame)) {
                focus_ = focusOn(*this, id);
                break;
            }
        }
    } else if (panel < 0 && panelBefore >= 0 && inside(focus_, panelIds_[static_cast<size_t>(panelBefore)])) {
        focus_ = panelReturn_;
    }
    if (!focusable(*this, focus_.id)) {
        // A focus that went out of sight goes to the first control of the
        // view it was in (a panel's new table), else to the log line, else
        // to the first control there is.
        int area = -1;
        for (int a = focus_.id; a >= 0; a = form_.at(a).parent)
            if (form_.at(a).parent < 0 && form_.at(a).def->kind == Kind::Frame) area = a;
        const std::vector<int> order = focusOrder(*this);
        auto first = std::find_if(order.begin(), order.end(), [&](int id) {
            return area >= 0 && inside({id, -1}, area);
        });
        if (first == order.end() && focusable(*this, lineIds_[0]))
            first = std::find(order.begin(), order.end(), lineIds_[0]);
        if (first == order.end()) first = order.begin();
        focus_ = first == order.end() ? Focus{} : focusOn(*this, *first);
    }
    const int rows = rowCount(*this, focus_.id);
    if (focus_.item >= rows) focus_.item = rows - 1;
    if (focus_.item < 0 && rows > 0) focus_ = focusOn(*this, focus_.id);
}

void Calculadora::moveFocus(FocusMove how) {
    const Focus from = focus_;
    focus_ = morvane::moveFocus(*this, focus_, how);
    focusMarked_ = true;
    showFocusedRow();
    // A row of a list is read by the window: the list keeps the focus.
    if (focus_ != from && focus_.item >= 0) announce(accessRowName(*this, focus_.id, focus_.item));
}

void Calculadora::showFocusedRow() {
    if (focus_.item < 0) return;
    const Control& list = form_.at(focus_.id);
    const int rowTw = list.def->rowHeight > 0 ? list.def->rowHeight : 150;
    const int window = list.parent >= 0 ? form_.at(list.parent).def->box.height : 0;
    for (int guard = 0; guard < 1000; ++guard) {
        const int middle = form_.at(focus_.id).listTop + focus_.item * rowTw + rowTw / 2;
        const int steps = middle < 0 ? -1 : middle >= window ? 1 : 0;
        const int before = form_.at(focus_.id).listTop;
        if (steps == 0) return;
        panels_->memory.wheel(steps);
        if (form_.at(focus_.id).listTop == before) return;
    }
}

void Calculadora::pressFocused() {
    if (focus_.id < 0) return;
    const ControlDef& d = *form_.at(focus_.id).def;
    click(d.name, d.index, focus_.item);
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
    if (index >= 0 && index < static_cast<int>(panelIds_.size()))
        form_.at(panelIds_[static_cast<size_t>(index)]).visible = visible;
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

}  // namespace morvane
