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
    : svc_(services), config_(std::move(config)) {
    const auto defs = allControls();
    controls.reserve(defs.size());
    for (const ControlDef* d : defs) {
        Control c;
        c.def = d;
        c.caption = std::string(d->caption);
        c.tag = std::string(d->tag);
        c.visible = d->visible;
        c.fore = d->fore;
        c.back = d->back;
        c.border = d->border;
        if (d->kind == Kind::List) c.listTop = d->box.top;  // the lists' page offset
        std::vector<int>& slots = index_[d->name];
        const size_t slot = static_cast<size_t>(d->index + 1);
        if (slots.size() <= slot) slots.resize(slot + 1, -1);
        slots[slot] = static_cast<int>(controls.size());
        controls.push_back(std::move(c));
    }
    for (Control& c : controls)
        if (!c.def->parent.empty()) c.parent = id(c.def->parent, c.def->parentIndex);
    for (int i = 0; i <= 20; ++i) lineIds_.push_back(id("nivel2", i));
    timer2Ids_ = lineIds_;
    for (auto [name, index] : {std::pair<std::string_view, int>{"orden", 3}, {"orden", 4}, {"estado", 4},
                               {"estado", 6}, {"estado", 7}, {"Shape1", -1}})
        timer1Ids_.push_back(id(name, index));
    if (Control* numbers = find("listmemory", 0))
        for (int n = 1; n <= 29; ++n) numbers->items.push_back((n < 10 ? "0" : "") + std::to_string(n));

    timers = {{"Timer1", 500, true}, {"Timer2", 150, true}, {"Timer4", 360, false}, {"Timer5", 900, false}};
    eng.clipboard = svc_.clipboard;
    left = config_.startLeftTw;
    top = config_.startTopTw;
    Form_Load();
    syncSeparator();
    applyGeometry();
    Form_Resize();
    // The clock shows the time from the first frame, not the layout's
    // design caption until the first tick of the status timer.
    Control* clock = find("estado", 4);
    if (clock->tag == "reloj" && svc_.regional) clock->caption = svc_.regional->timeText();
    publish();
}

void Calculadora::Form_Load() {
    // The window-level values; the colours and constants are fixed in the
    // engine and in rgb.h, the temperature carried between two clicks here.
    tempcelsius = 10;
    elapsedTicks = 0;
}

int Calculadora::id(std::string_view name, int index) const {
    auto it = index_.find(name);
    if (it == index_.end() || index < -1) return -1;
    const size_t slot = static_cast<size_t>(index + 1);
    return slot < it->second.size() ? it->second[slot] : -1;
}

const std::vector<int>* Calculadora::controlsOfTimer(std::string_view name) const {
    if (name == "Timer1") return &timer1Ids_;
    if (name == "Timer2") return &timer2Ids_;
    return nullptr;
}

bool Calculadora::displayStale() const {
    if (!shown_.valid || shown_.separator != eng.sep) return true;
    const Control* mode = find("estado", 11);
    return mode->caption != shown_.mode ||
           !std::equal(shown_.registers.begin(), shown_.registers.end(), eng.regs.cur.begin(), eng.regs.cur.end());
}

Control* Calculadora::find(std::string_view name, int index) {
    const int i = id(name, index);
    return i < 0 ? nullptr : &controls[static_cast<size_t>(i)];
}

const Control* Calculadora::find(std::string_view name, int index) const {
    const int i = id(name, index);
    return i < 0 ? nullptr : &controls[static_cast<size_t>(i)];
}

Timer* Calculadora::timer(std::string_view name) {
    for (Timer& t : timers)
        if (t.name == name) return &t;
    return nullptr;
}

char Calculadora::regionalSeparator() const {
    if (!svc_.regional) return eng.sep;
    return svc_.regional->decimalSeparator() == ',' ? ',' : '.';
}

void Calculadora::syncSeparator() { eng.sep = regionalSeparator(); }

void Calculadora::publish() {
    for (int i = 0; i <= 20; ++i) {
        Control* n = find("nivel", i);
        n->caption = eng.regs.cur[static_cast<size_t>(i)];
        n->tag = eng.regs.saved[static_cast<size_t>(i)];
    }
    find("estado", 2)->caption = eng.hyp;
    find("estado", 3)->caption = eng.angle;
    Control* led = find("estado", 7);
    led->caption = eng.err.indicator;
    led->back = eng.err.indicatorBack;
    find("error")->visible = eng.err.visible;
    find("numeroerror")->caption = eng.err.numero;
    find("descripcionerror")->caption = eng.err.descripcion;
    find("memoriaprincipal")->caption = eng.memoria;
    if (Control* list = find("listmemory", 1)) {
        if (list->items != eng.memoryList) list->items = eng.memoryList;
        if (list->selected >= static_cast<int>(list->items.size())) list->selected = -1;
    }
}

// ---------------------------------------------------------------- events

EventResult Calculadora::click(std::string_view name, int index) {
    const Control* c = find(name, index);
    if (!c) return EventResult::UnknownControl;
    syncSeparator();
    EventResult r = EventResult::Ok;
    if (name == "tecla") {
        eng.tecla_Click(index);
        // ENTER also shows the spare frame, which lies outside the window.
        if (index == 12) setPanel(6, true);
    } else if (name == "numero") {
        eng.numero_Click(index);
    } else if (name == "vcp") {
        eng.vcp_Click(index);
    } else if (name == "estado") {
        estado_Click(index);
    } else if (name == "monitor") {
        monitor_Click(index);
    } else if (name == "orden") {
        r = orden_Click(index);
    } else if (name == "MANEJO") {
        MANEJO_Click(index);
    } else if (name == "Label10") {
        Label10_Click(index);
    } else if (name == "nivel2") {
        nivel2_Click(index);
    } else if (name == "Label4") {
        ocultartodo();
    } else if (c->def->clickable) {
        r = EventResult::NotBuilt;
    }
    publish();
    return r;
}

EventResult Calculadora::move(std::string_view name, int index) {
    if (!find(name, index)) return EventResult::UnknownControl;
    // Hover effects belong to the panel lists.
    return EventResult::NotBuilt;
}

void Calculadora::Form_KeyPress(int code) {
    syncSeparator();
    eng.Form_KeyPress(code);
    publish();
}

bool Calculadora::tick(std::string_view name) {
    Timer* t = timer(name);
    if (!t) return false;
    if (!t->enabled) return true;
    syncSeparator();
    if (name == "Timer1") Timer1_Timer();
    if (name == "Timer2") Timer2_Timer();
    if (name == "Timer4") Timer4_Timer();
    if (name == "Timer5") Timer5_Timer();
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
            if (eng.hyp == "N")
                eng.hyp = "HYP";
            else if (eng.hyp == "HYP")
                eng.hyp = "N";
            break;
        case 3:
            if (eng.angle == "RAD")
                eng.angle = "DEG";
            else if (eng.angle == "DEG")
                eng.angle = "GRA";
            else if (eng.angle == "GRA")
                eng.angle = "RAD";
            break;
        case 4: {
            Control* c = find("estado", 4);
            if (c->tag == "reloj")
                c->tag = "minutaje";
            else if (c->tag == "minutaje")
                c->tag = "reloj";
            break;
        }
        case 11: {
            Control* c = find("estado", 11);
            if (c->caption == "X")
                c->caption = "9";
            else if (c->caption == "0")
                c->caption = "X";
            else if (c->caption.size() == 1 && c->caption[0] >= '1' && c->caption[0] <= '9')
                c->caption = std::string(1, static_cast<char>(c->caption[0] - 1));
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------- panels

void Calculadora::setPanel(int index, bool visible) {
    if (Control* p = find("pantalla", index)) p->visible = visible;
}

void Calculadora::ocultartodo() {
    for (int i = 0; i <= 9; ++i) setPanel(i, false);
}

void Calculadora::monitor_Click(int index) {
    ocultartodo();
    // There is no panel 10: its key lies outside the window.
    setPanel(index, true);
}

// ---------------------------------------------------------------- soft keys

int Calculadora::selectedLine() const {
    int s = 0;
    for (int i = 0; i <= 20; ++i)
        if (controls[static_cast<size_t>(lineIds_[static_cast<size_t>(i)])].fore == kSelectionRed) s = i;
    return s;
}

void Calculadora::pageStack(int direction) {
    int p = 0;
    for (int k = 0; k < 4; ++k) {
        Control* page = find("subpantalla", k);
        if (page->visible) p = k;
        page->visible = false;
    }
    const int next = p + direction;
    if (next >= 0 && next <= 3) find("subpantalla", next)->visible = true;
}

void Calculadora::moveSelected(int direction) {
    auto& r = eng.regs.cur;
    const int s = selectedLine();
    const int t = s + direction;
    if (t > 20 || t < 0) return;
    if (direction > 0 && r[static_cast<size_t>(t)].empty()) return;
    std::swap(r[static_cast<size_t>(s)], r[static_cast<size_t>(t)]);
    line(s).fore = kBlack;
    line(t).fore = kSelectionRed;
}

EventResult Calculadora::orden_Click(int index) {
    switch (index) {
        case 0:
            pageStack(-1);
            return EventResult::Ok;
        case 1:
            for (int k = 0; k < 4; ++k) find("subpantalla", k)->visible = false;
            return EventResult::Ok;
        case 2:
            pageStack(+1);
            return EventResult::Ok;
        case 3:
            moveSelected(+1);
            return EventResult::Ok;
        case 4:
            moveSelected(-1);
            return EventResult::Ok;
        case 5: {
            auto& r = eng.regs.cur;
            if (!r[0].empty() && !r[1].empty()) std::swap(r[0], r[1]);
            return EventResult::Ok;
        }
        case 11:
        case 12:
        case 18:
        case 29:
        case 60:
            // The panels' "OK" keys.
            setPanel(index == 11 ? 1 : index == 12 ? 2 : index == 18 ? 3 : index == 29 ? 4 : 9, false);
            return EventResult::Ok;
        case 53:
            if (Control* about = find("info", 1)) about->visible = false;
            setPanel(8, false);
            return EventResult::Ok;
        case 7:
        case 8:
        case 9:
        case 10:
        case 13:
        case 14:
        case 15:
        case 16:
        case 19:
        case 20:
        case 21:
        case 23:
        case 50:
        case 51:
        case 52:
        case 61:
        case 62:
        case 63:
        case 64:
        case 65:
        case 78:
        case 17:
        case 79:
        case 80:
        case 81:
        case 82:
            return EventResult::Ok;
        case 83:
            eng.err.visible = false;
            return EventResult::Ok;
        default:
            return EventResult::NotBuilt;
    }
}

// ---------------------------------------------------------------- line selection

void Calculadora::nivel2_Click(int index) {
    if (index < 0 || index > 20) return;
    for (int i = 0; i <= 20; ++i)
        if (i != index) line(i).fore = kBlack;
    Control& l = line(index);
    l.fore = l.fore == kSelectionRed ? kBlack : kSelectionRed;
}

// ---------------------------------------------------------------- timers

void Calculadora::Timer1_Timer() {
    // 1. The move keys read "UP" and "DWN" while a non-empty line is selected.
    Control* up = find("orden", 3);
    Control* down = find("orden", 4);
    for (int i = 0; i <= 20; ++i) {
        if (line(i).fore == kSelectionRed && !eng.regs.cur[static_cast<size_t>(i)].empty()) {
            up->caption = "UP";
            down->caption = "DWN";
            break;
        }
        if (!up->caption.empty()) {
            up->caption.clear();
            down->caption.clear();
        }
    }
    // 2. The error indicator goes back to green.
    eng.err.indicatorBack = kDisplayGreen;
    // 3. Elapsed time, counted in ticks.
    ++elapsedTicks;
    Control* clock = find("estado", 4);
    if (clock->tag == "reloj" && svc_.regional) clock->caption = svc_.regional->timeText();
    if (clock->tag == "minutaje") clock->caption = std::to_string(elapsedTicks / 120) + " MIN";
    // 6-8. Levels in use, up to the first gap; "DEL" when level 19 is taken.
    Control* levels = find("estado", 6);
    for (int i = 1; i <= 19; ++i) {
        if (eng.regs.cur[static_cast<size_t>(i)].empty()) {
            levels->caption = "L " + std::to_string(i - 1);
            break;
        }
    }
    levels->back = kDisplayGreen;
    if (!eng.regs.cur[19].empty()) {
        levels->back = kSelectionRed;
        levels->caption = "DEL";
    }
    // 9. The cursor blinks.
    Control* cursor = find("Shape1");
    cursor->visible = !cursor->visible;
}

void Calculadora::Timer2_Timer() {
    const std::string& mode = find("estado", 11)->caption;
    for (int i = 0; i <= 20; ++i) {
        Control& l = line(i);
        std::string t = displayText(eng.regs.cur[static_cast<size_t>(i)], mode, eng.sep);
        if (t != l.caption) l.caption = std::move(t);
    }
    shown_.valid = true;
    shown_.registers.assign(eng.regs.cur.begin(), eng.regs.cur.end());
    shown_.mode = mode;
    shown_.separator = eng.sep;
}

void Calculadora::Timer4_Timer() {
    ended = true;
    timer("Timer4")->enabled = false;
    if (svc_.window) svc_.window->quit();
}

void Calculadora::Timer5_Timer() {
    if (Control* notice = find("Label11")) notice->visible = false;
    setPanel(9, false);
    timer("Timer5")->enabled = false;
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
    for (int i = 1; i <= 3; ++i) find("Shape2", i)->fore = kDisplayGreen;
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
            find("pantallaoff")->visible = true;
            if (svc_.window) svc_.window->repaint();
            timer("Timer4")->enabled = true;
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
    // A failure to open the page is ignored.
    if (address && svc_.browser) (void)svc_.browser->open(*address);
}

}  // namespace morvane
