#include "access.h"

#include <algorithm>
#include <cstdlib>

#include "engine/format.h"
#include "panels/panels.h"
#include "window/model.h"

namespace morvane {

namespace {

struct Text {
    std::string_view name;
    int index;
    std::string_view text;
};

// Names for keys whose legends would read alike, or say nothing, to a
// screen reader: the title keys' glyphs, the VAT keys beside the operators,
// the letters that stand twice, the two "HELP >" links, the soft keys
// whose captions are arrows or blanks.
constexpr Text kNames[] = {
    {"MANEJO", 0, "Always on top"},
    {"MANEJO", 1, "Minimise"},
    {"MANEJO", 2, "Close"},
    {"tecla", 42, "+ VAT"},
    {"tecla", 63, "- VAT"},
    {"tecla", 13, "X key"},
    {"tecla", 14, "Y key"},
    {"tecla", 18, "e constant"},
    {"tecla", 57, "A key"},
    {"tecla", 58, "B key"},
    {"tecla", 59, "C key"},
    {"tecla", 60, "D key"},
    {"tecla", 61, "E key"},
    {"tecla", 62, "F key"},
    {"vcp", 0, "V variations"},
    {"vcp", 1, "VR variations with repetition"},
    {"vcp", 2, "C combinations"},
    {"Label10", 1, "HELP > page"},
    {"monitor", 10, "HELP > screen"},
    {"monitor", 8, "INFO screen"},
    {"orden", 0, "Previous page"},
    {"orden", 1, "Log line alone"},
    {"orden", 2, "Next page"},
    {"orden", 3, "Up"},
    {"orden", 4, "Down"},
    {"orden", 5, "Swap log and level 1"},
    {"orden", 24, "Previous page"},
    {"orden", 25, "First page"},
    {"orden", 26, "Next page"},
    {"orden", 27, "Remove"},
    {"orden", 28, "Clear"},
    {"orden", 49, "About"},
};

// Tooltips of ours for the display's keys and status labels that the layout
// leaves without one.
constexpr Text kTips[] = {
    {"estado", 0, "The display is on"},
    {"estado", 1, "STACK: hide every panel"},
    {"estado", 32, "R: fixed marker"},
};

// What the status keys' captions mean when heard.
struct StatusWords {
    int index;  // estado(index)
    std::string_view caption, words;
};
constexpr StatusWords kStatusWords[] = {
    {3, "DEG", "Degrees"},
    {3, "GRA", "Grads"},
    {3, "RAD", "Radians"},
    {2, "N", "Hyperbolic off"},
    {2, "HYP", "Hyperbolic on"},
    {11, "X", "Decimals: all"},
    {6, "DEL", "Levels in use: full"},
};

// Controls a screen reader is not told about: each says nothing that
// another control does not say already, or only decorates.
struct Silent {
    std::string_view name;
    int index;  // -1: every element
};
constexpr Silent kSilent[] = {
    {"Label1", -1},     // "1:" to "20:" beside the display lines, which say their level
    {"Label12", -1},    // "LOG" beside the log line, which says it is the log
    {"Label2", -1},     // the log's ">" prompt
    {"mem", -1},        // the panels' decorative numbers
    {"Line1", -1},      // the memory panel's rules
    {"listmemory", 0},  // the memory list's row numbers, which the stored values' rows say
    {"estado", 0},      // "ON" on each view's status line
    {"estado", 8},
    {"estado", 13},
    {"estado", 16},
    {"estado", 17},
    {"estado", 29},
    {"estado", 37},
    {"estado", 32},  // the fixed "R" marker
    {"estado", 7},   // the error indicator: state only, never shown
    {"nivel", -1},   // the registers, the main memory and the factor cells: storage
    {"memoriaprincipal", -1},
    {"conv", -1},
};

// The status keys that act when clicked; the other status labels only show.
constexpr int kActingStatus[] = {1, 2, 3, 4, 11};

// Each tool panel and the status label that carries its title.
struct PanelTitle {
    int panel;
    int title;  // estado(title)
};
constexpr PanelTitle kPanelTitles[] = {{1, 9}, {2, 12}, {3, 15}, {4, 18}, {8, 30}, {9, 36}};

std::string_view lookup(const Text* table, size_t n, const ControlDef& d) {
    for (size_t i = 0; i < n; ++i)
        if (table[i].name == d.name && table[i].index == d.index) return table[i].text;
    return {};
}

bool silent(const ControlDef& d) {
    for (const Silent& s : kSilent)
        if (s.name == d.name && (s.index < 0 || s.index == d.index)) return true;
    return false;
}

std::string trimmed(std::string_view s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

// A long text is heard by its end, as its line shows it.
std::string brief(std::string s) {
    constexpr size_t kMost = 64;
    if (s.size() <= kMost) return s;
    size_t from = s.size() - kMost;
    while (from < s.size() && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80) ++from;
    return "\u2026" + s.substr(from);
}

// A displayed number as heard: without the separator that ends every
// displayed number, unless it was typed into the log (register 0) last.
std::string spoken(const std::string& shown, const std::string& reg, int index, char sep) {
    std::string t = trimmed(shown);
    const bool typed = index == 0 && !reg.empty() && reg.back() == sep;
    if (!t.empty() && t.back() == sep && !typed) t.pop_back();
    return brief(std::move(t));
}

const panels::SoftKey* softKey(int index) {
    for (const panels::SoftKey& k : panels::softKeyTable())
        if (k.index == index) return &k;
    return nullptr;
}

int panelOf(const Calculadora& m, int id) {
    const ControlDef& d = *m.form().at(id).def;
    if (d.name != "pantalla") return -1;
    for (const PanelTitle& p : kPanelTitles)
        if (p.panel == d.index) return p.panel;
    return -1;
}

std::string panelTitle(const Calculadora& m, int panel) {
    for (const PanelTitle& p : kPanelTitles)
        if (p.panel == panel)
            if (const Control* c = m.form().find("estado", p.title)) return trimmed(c->caption);
    return {};
}

// The status key's caption as heard.
std::string statusWords(const Control& c) {
    const ControlDef& d = *c.def;
    for (const StatusWords& w : kStatusWords)
        if (w.index == d.index && w.caption == c.caption) return std::string(w.words);
    const std::string caption = trimmed(c.caption);
    if (d.index == 11) return "Decimals: " + caption;
    if (d.index == 6 && caption.rfind("L ", 0) == 0) return "Levels in use: " + caption.substr(2);
    if (d.index == 4 && c.tag == "minutaje") {
        const std::string minutes = caption.substr(0, caption.find(' '));
        return minutes + (minutes == "1" ? " minute" : " minutes") + " elapsed";
    }
    return caption;
}

// The outermost frame that holds the control, -1 for the window's own keys.
int areaOf(const Calculadora& m, int id) {
    int area = -1;
    for (int p = m.form().at(id).parent; p >= 0; p = m.form().at(p).parent) area = p;
    return area;
}

bool contains(const Box& b, int x, int y) { return x >= b.left && x < b.right() && y >= b.top && y < b.bottom(); }

int rowHeight(const ControlDef& d) { return d.rowHeight > 0 ? d.rowHeight : 150; }

// The part of a list box that shows: its clipping window's height.
Box listBox(const Calculadora& m, int id) {
    Box b = windowBox(m, id);
    const int parent = m.form().at(id).parent;
    if (parent >= 0) {
        const Box w = windowBox(m, parent);
        b.top = w.top;
        b.height = w.height;
    }
    return b;
}

Box rowBox(const Calculadora& m, int id, int item) {
    const Control& c = m.form().at(id);
    Box b = listBox(m, id);
    b.top += c.listTop + item * rowHeight(*c.def);
    b.height = rowHeight(*c.def);
    return b;
}

Box focusBox(const Calculadora& m, Focus f) {
    if (f.item >= 0) return rowBox(m, f.id, f.item);
    return m.form().at(f.id).def->kind == Kind::List ? listBox(m, f.id) : windowBox(m, f.id);
}

// The first row whose middle shows in its window, or -1 for no row.
int firstShownRow(const Calculadora& m, int id) {
    const Control& c = m.form().at(id);
    const int n = rowCount(m, id);
    const int row = rowHeight(*c.def);
    for (int i = 0; i < n; ++i)
        if (c.listTop + i * row + row / 2 >= 0) return i;
    return n > 0 ? 0 : -1;
}

Focus arrive(const Calculadora& m, int id) { return {id, firstShownRow(m, id)}; }

}  // namespace

int rowCount(const Calculadora& m, int id) {
    if (id < 0 || id >= static_cast<int>(m.form().controls.size())) return 0;
    const Control& c = m.form().at(id);
    return c.def->kind == Kind::List ? static_cast<int>(c.rows.items().size()) : 0;
}

Focus focusOn(const Calculadora& m, int id) { return arrive(m, id); }

int shownPanel(const Calculadora& m) {
    const std::vector<int>& panels = m.form().elements("pantalla");
    for (const PanelTitle& p : kPanelTitles) {
        const size_t i = static_cast<size_t>(p.panel);
        if (i < panels.size() && panels[i] >= 0 && m.form().at(panels[i]).visible) return p.panel;
    }
    return -1;
}

// ---------------------------------------------------------------- roles and names

AccessRole accessRole(const Calculadora& m, int id) {
    const Control& c = m.form().at(id);
    const ControlDef& d = *c.def;
    if (silent(d)) return AccessRole::Hidden;
    if (d.name == "orden") {
        const panels::SoftKey* k = softKey(d.index);
        return k && k->action ? AccessRole::Button : AccessRole::Hidden;
    }
    if (d.role == Role::DisplayLine) return AccessRole::Line;
    if (d.name == "error") return AccessRole::Alert;
    if (d.name == "estado") {
        const bool acts =
            std::find(std::begin(kActingStatus), std::end(kActingStatus), d.index) != std::end(kActingStatus);
        return acts && c.parent == m.form().id("pila") ? AccessRole::Button : AccessRole::Text;
    }
    switch (d.kind) {
        case Kind::Frame:
            return panelOf(m, id) >= 0 ? AccessRole::Panel : AccessRole::Group;
        case Kind::List:
            return AccessRole::List;
        case Kind::Shape:
        case Kind::Image:
            return AccessRole::Hidden;
        case Kind::Label:
            break;
    }
    return d.clickable ? AccessRole::Button : AccessRole::Text;
}

std::string accessName(const Calculadora& m, int id) {
    const Control& c = m.form().at(id);
    const ControlDef& d = *c.def;
    if (d.role == Role::DisplayLine) {
        const std::string& reg = m.eng.regs.cur[static_cast<size_t>(d.index)];
        std::string value = spoken(c.caption, reg, d.index, m.eng.sep);
        if (value.empty()) value = "empty";
        std::string name = (d.index == 0 ? std::string("Log: ") : "Level " + std::to_string(d.index) + ": ") + value;
        if (d.index == m.panels().stack.selected()) name += ", selected";
        return name;
    }
    if (d.name == "error") return m.form().find("numeroerror")->caption;
    if (d.name == "estado") return statusWords(c);
    if (const int p = panelOf(m, id); p >= 0) return panelTitle(m, p);
    if (d.kind == Kind::List) {
        // The list keeps the focus while the arrows move through its rows.
        const Focus& f = m.focus();
        return f.id == id && f.item >= 0 ? "Stored values, " + accessRowName(m, id, f.item) : "Stored values";
    }
    const std::string_view named = lookup(kNames, std::size(kNames), d);
    if (!named.empty()) return std::string(named);
    return trimmed(!c.caption.empty() || d.legend.empty() ? std::string_view(c.caption) : d.legend);
}

std::string accessRowName(const Calculadora& m, int id, int item) {
    const auto& items = m.form().at(id).rows.items();
    if (item < 0 || item >= static_cast<int>(items.size())) return {};
    return std::to_string(item + 1) + ": " + brief(items[static_cast<size_t>(item)]);
}

std::string accessDescription(const ControlDef& d) {
    if (!d.tooltip.empty()) return std::string(d.tooltip);
    if (d.role == Role::DisplayLine) return "Level " + std::to_string(d.index) + "; a click selects it";
    return std::string(lookup(kTips, std::size(kTips), d));
}

std::string accessDescription(const Calculadora& m, int id) {
    const Control& c = m.form().at(id);
    const ControlDef& d = *c.def;
    if (d.name == "error") return m.eng.err.descripcion;
    // A constant is heard with its value, as the log would receive it.
    if (d.name == "cons") return m.panels().constants.valueText(d.index);
    if (!c.tip.empty()) return std::string(c.tip);  // a tooltip the model gave it at run time
    return accessDescription(d);
}

bool inStatusLine(const Calculadora& m, int id) {
    const Control& c = m.form().at(id);
    return c.def->name == "estado" && c.parent >= 0 && c.parent == m.form().id("pila") &&
           accessRole(m, id) != AccessRole::Hidden;
}

// ---------------------------------------------------------------- showing

Box windowBox(const Calculadora& m, int id) {
    Box b = m.form().at(id).def->box;
    for (int p = m.form().at(id).parent; p >= 0; p = m.form().at(p).parent) {
        b.left += m.form().at(p).def->box.left;
        b.top += m.form().at(p).def->box.top;
    }
    return b;
}

bool showing(const Calculadora& m, int id) {
    for (int a = id; a >= 0; a = m.form().at(a).parent)
        if (!m.form().at(a).visible) return false;
    const Box b = windowBox(m, id);
    const int x = b.left + b.width / 2, y = b.top + b.height / 2;
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) return false;
    // A shown frame drawn later beside the control or beside one of its
    // frames lies above it.
    for (int a = id;;) {
        const int parent = m.form().at(a).parent;
        for (int s : m.form().framesIn(parent)) {
            if (s <= a || !m.form().at(s).visible) continue;
            if (contains(windowBox(m, s), x, y)) return false;
        }
        if (parent < 0) return true;
        a = parent;
    }
}

// ---------------------------------------------------------------- focus

bool focusable(const Calculadora& m, int id) {
    if (id < 0 || id >= static_cast<int>(m.form().controls.size())) return false;
    switch (accessRole(m, id)) {
        case AccessRole::Button:
        case AccessRole::Line:
        case AccessRole::List:
            return showing(m, id);
        default:
            return false;
    }
}

std::vector<int> focusOrder(const Calculadora& m) {
    struct Place {
        int id, x, y;
    };
    std::vector<Place> places;
    for (size_t i = 0; i < m.form().controls.size(); ++i) {
        const int id = static_cast<int>(i);
        if (!focusable(m, id)) continue;
        const Box b = focusBox(m, {id, -1});
        places.push_back({id, b.left, b.top + b.height / 2});
    }
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.y < b.y; });
    // Controls whose middles lie within a few pixels of the first of a row
    // share that row: a legend beside a key is read before it.
    constexpr int kRowSlack = 100;
    std::vector<int> order;
    for (size_t from = 0; from < places.size();) {
        size_t to = from + 1;
        while (to < places.size() && places[to].y - places[from].y <= kRowSlack) ++to;
        std::stable_sort(places.begin() + static_cast<long>(from), places.begin() + static_cast<long>(to),
                         [](const Place& a, const Place& b) { return a.x < b.x; });
        for (size_t i = from; i < to; ++i) order.push_back(places[i].id);
        from = to;
    }
    return order;
}

Focus moveFocus(const Calculadora& m, Focus from, FocusMove how) {
    const bool known = from.id >= 0 && from.id < static_cast<int>(m.form().controls.size());
    if (how == FocusMove::Next || how == FocusMove::Previous) {
        const std::vector<int> order = focusOrder(m);
        if (order.empty()) return from;
        const auto it = known ? std::find(order.begin(), order.end(), from.id) : order.end();
        const bool next = how == FocusMove::Next;
        if (it == order.end()) return arrive(m, next ? order.front() : order.back());
        const long i = it - order.begin(), n = static_cast<long>(order.size());
        return arrive(m, order[static_cast<size_t>(((next ? i + 1 : i - 1) % n + n) % n)]);
    }
    if (!known || !focusable(m, from.id)) return from;
    // Up and down go through a list's rows first.
    const bool vertical = how == FocusMove::Up || how == FocusMove::Down;
    if (vertical && from.item >= 0) {
        const int item = from.item + (how == FocusMove::Down ? 1 : -1);
        if (item >= 0 && item < rowCount(m, from.id)) return {from.id, item};
    }
    const Box b = focusBox(m, from);
    const int cx = b.left + b.width / 2, cy = b.top + b.height / 2;
    const int area = areaOf(m, from.id);
    // The nearest control in that direction whose box shares a row (or a
    // column) with this one; failing that, the nearest in that half-plane.
    long best = -1, bestScore = 0;
    bool bestInLine = false;
    for (size_t i = 0; i < m.form().controls.size(); ++i) {
        const int id = static_cast<int>(i);
        if (id == from.id || areaOf(m, id) != area || !focusable(m, id)) continue;
        const Box c = focusBox(m, {id, -1});
        const int x = c.left + c.width / 2, y = c.top + c.height / 2;
        long along = 0, across = 0;
        bool inLine = false;
        switch (how) {
            case FocusMove::Left:
            case FocusMove::Right:
                along = how == FocusMove::Right ? x - cx : cx - x;
                across = std::abs(y - cy);
                inLine = c.top < b.bottom() && c.bottom() > b.top;
                break;
            default:
                along = how == FocusMove::Down ? y - cy : cy - y;
                across = std::abs(x - cx);
                inLine = c.left < b.right() && c.right() > b.left;
                break;
        }
        // Out of line, only what lies more ahead than aside.
        if (along <= 0 || (!inLine && across > along)) continue;
        const long score = inLine ? along * 4 + across : along + 2 * across;
        if (best < 0 || (inLine && !bestInLine) || (inLine == bestInLine && score < bestScore)) {
            best = id;
            bestScore = score;
            bestInLine = inLine;
        }
    }
    if (best < 0) return from;
    const int to = static_cast<int>(best);
    if (rowCount(m, to) > 0) {
        // Into a list from above or below: its first or last shown row.
        const int first = firstShownRow(m, to);
        if (how == FocusMove::Up) {
            const Control& c = m.form().at(to);
            const int shown = windowBox(m, c.parent).height / rowHeight(*c.def);
            return {to, std::min(rowCount(m, to) - 1, first + shown - 1)};
        }
        return {to, first};
    }
    return {to, -1};
}

// ---------------------------------------------------------------- announcements

Glance glance(const Calculadora& m) {
    Glance g;
    g.regs = m.eng.regs.cur;
    g.reports = m.eng.err.reports;
    g.quietFailures = m.eng.err.quietFailures;
    g.panel = shownPanel(m);
    g.error = m.eng.err.visible;
    if (const Control* c = m.form().find("estado", 10)) g.prompt = c->caption;
    g.angle = m.eng.angle;
    g.hyperbolic = m.eng.hyperbolic;
    g.decimals = m.decimals;
    g.minutes = m.clockMode == Calculadora::ClockMode::Minutes;
    g.memoria = m.eng.memoria;
    g.stored = m.eng.memoryList.size();
    // The log's line when none is.
    g.selected = std::max(0, m.panels().stack.selected());
    return g;
}

std::string spokenValue(const Calculadora& m, int reg) {
    const std::string& t = m.eng.regs.cur[static_cast<size_t>(reg)];
    return spoken(displayText(t, m.decimals, m.eng.sep), t, reg, m.eng.sep);
}

namespace {

// The keys of the keyboard map that type into the log: the screen reader
// echoes each, so the log is not read back while a number is typed.
bool typing(int code) {
    return (code >= '0' && code <= '9') || code == '.' || code == ',' || code == 'E' || code == 'e' || code == '_';
}

std::string errorText(const std::string& number, const char* message) {
    return message ? number + ". " + message : number;
}

// What the registers say after they changed: the log, and level 1 when the
// levels moved and it holds something.
std::string stackText(const Calculadora& m, const Glance& before) {
    const auto& now = m.eng.regs.cur;
    bool levels = false, any = false;
    for (size_t i = 0; i < now.size(); ++i) {
        any = any || !now[i].empty();
        if (i > 0) levels = levels || now[i] != before.regs[i];
    }
    const std::string log = now[0].empty() ? std::string() : spokenValue(m, 0);
    if (levels) {
        if (!any) return "Stack empty";
        const std::string level1 = now[1].empty() ? "empty" : spokenValue(m, 1);
        if (log.empty()) return "Level 1: " + level1 + ", log empty";
        if (now[1].empty()) return log;
        return log + ", level 1: " + level1;
    }
    return log.empty() ? "Log empty" : log;
}

}  // namespace

std::string announcementAfter(const Calculadora& m, const Glance& before, Cause cause, int code) {
    const ErrorReport& err = m.eng.err;
    // The error box and a panel that come up take the focus inside: a
    // screen reader reads the box, or the panel's title, as the focus
    // enters, and the window need not say them again.
    const auto focusIn = [&m](int frame) {
        for (int a = m.focus().id; a >= 0; a = m.form().at(a).parent)
            if (a == frame) return true;
        return false;
    };
    if (err.reports != before.reports) {
        if (!before.error && focusIn(m.form().id("error"))) return {};
        return errorText(err.numero, err.descripcion.c_str());
    }
    if (err.quietFailures != before.quietFailures)
        return errorText("ERROR E-" + std::to_string(err.quietNumber), errorMessage(err.quietNumber));
    const Glance now = glance(m);
    if (now.panel >= 0 && now.panel != before.panel)
        return focusIn(m.form().id("pantalla", now.panel)) ? std::string() : panelTitle(m, now.panel);
    // A value put away in a memory: the log it came from is emptied.
    if (now.memoria != before.memoria) {
        std::string v = trimmed(m.eng.memoria);
        return "Memory: " + brief(v.empty() ? std::string("empty") : v);
    }
    if (now.stored > before.stored) return "Stored: " + brief(m.eng.memoryList.items().back());
    if (now.regs != before.regs) {
        if (cause == Cause::Key && typing(code)) return {};
        return stackText(m, before);
    }
    if (now.prompt != before.prompt && now.panel >= 0) return trimmed(now.prompt);
    if (now.angle != before.angle) return statusWords(*m.form().find("estado", 3));
    if (now.hyperbolic != before.hyperbolic) return statusWords(*m.form().find("estado", 2));
    if (now.decimals != before.decimals) return statusWords(*m.form().find("estado", 11));
    if (now.minutes != before.minutes) return now.minutes ? "Elapsed minutes" : "Time of day";
    if (now.stored < before.stored) return now.stored == 0 ? "No stored values" : "Removed";
    if (now.selected != before.selected)
        return now.selected > 0 ? "Level " + std::to_string(now.selected) + " selected" : "No level selected";
    return {};
}

}  // namespace morvane
