#include "replay.h"

#include <charconv>

#include "engine/numtext.h"

namespace morvane {

namespace {

bool toInt(const std::string& s, long long& v) {
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = b + s.size();
    if (*b == '+') ++b;
    auto r = std::from_chars(b, e, v);
    return r.ec == std::errc() && r.ptr == e;
}

bool toInt(const std::string& s, int& v) {
    long long w;
    if (!toInt(s, w) || w < -1000000000LL || w > 1000000000LL) return false;
    v = static_cast<int>(w);
    return true;
}

std::string boolText(bool b) { return b ? "true" : "false"; }

// Decodes UTF-8 into code points; a stray byte stands for itself.
std::vector<int> codePoints(const std::string& s) {
    std::vector<int> out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + static_cast<size_t>(n) > s.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        int cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<size_t>(n);
    }
    return out;
}

}  // namespace

bool tokenize(const std::string& line, std::vector<std::string>& tokens, std::vector<bool>& quoted, std::string& why,
              char decimal) {
    tokens.clear();
    quoted.clear();
    size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) return true;
        if (line[i] == '"') {
            std::string t;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= line.size()) break;
                    char e = line[i++];
                    if (e == 't')
                        t += '\t';
                    else if (e == 'n')
                        t += '\n';
                    else if (e == '"' || e == '\\')
                        t += e;
                    else if (e == 'd' && decimal)
                        t += decimal;
                    else {
                        why = std::string("unknown escape \\") + e;
                        return false;
                    }
                } else {
                    t += c;
                }
            }
            if (!closed) {
                why = "unterminated string";
                return false;
            }
            tokens.push_back(std::move(t));
            quoted.push_back(true);
        } else {
            size_t b = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '"') ++i;
            tokens.push_back(line.substr(b, i - b));
            quoted.push_back(false);
        }
    }
}

std::string quote(const std::string& v) {
    std::string o = "\"";
    for (char c : v) {
        switch (c) {
            case '\t':
                o += "\\t";
                break;
            case '\n':
                o += "\\n";
                break;
            case '"':
                o += "\\\"";
                break;
            case '\\':
                o += "\\\\";
                break;
            default:
                o += c;
        }
    }
    return o + "\"";
}

Replay::Replay(std::ostream& out, char separator) : out_(out) {
    regional.separator = separator;
    Calculadora::Config cfg;
    cfg.homePage = "file:///usr/share/morvane/web/index.htm";
    cfg.helpPage = "file:///usr/share/morvane/web/ayuda.htm";
    calc = std::make_unique<Calculadora>(fakes.services(), cfg);
}

void Replay::error(int number, const std::string& why) {
    out_ << "ERROR line " << number << ": " << why << "\n";
    ++failed_;
}

// ---------------------------------------------------------------- queries

namespace {

// What a query answers: the words after its name.
struct QueryArgs {
    const std::vector<std::string>& t;
    size_t from, to;  // the query's name is t[from]
    size_t size() const { return to - from; }
    const std::string& operator[](size_t k) const { return t[from + k]; }
};

using Answer = bool (*)(Replay&, const QueryArgs&, std::string& value, std::string& why);

bool registerText(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    int idx = -1;
    if (a.size() != 2 || !toInt(a[1], idx) || idx < 0 || idx > 20) {
        why = a[0] + " needs a register 0 to 20";
        return false;
    }
    const Registers& regs = r.calc->eng.regs;
    value = (a[0] == "nivel" ? regs.cur : regs.saved)[static_cast<size_t>(idx)];
    return true;
}

// The control that a query names by array name and optional index.
const Control* controlOf(Replay& r, const QueryArgs& a, std::string& why) {
    int idx = -1;
    if (a.size() < 2 || a.size() > 3 || (a.size() == 3 && !toInt(a[2], idx))) {
        why = a[0] + " needs a control name and an optional index";
        return nullptr;
    }
    const Control* c = r.calc->form().find(a[1], idx);
    if (!c) why = "no control " + a[1] + (idx >= 0 ? " " + std::to_string(idx) : "");
    return c;
}

template <std::string (*Read)(const Control&)>
bool control(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    const Control* c = controlOf(r, a, why);
    if (!c) return false;
    value = Read(*c);
    return true;
}

template <std::string (*Read)(const Control&)>
bool list(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    const Control* c = controlOf(r, a, why);
    if (!c) return false;
    if (c->def->kind != Kind::List) {
        why = a[1] + " is not a list";
        return false;
    }
    value = Read(*c);
    return true;
}

std::string joined(const std::vector<std::string>& items) {
    std::string v;
    for (size_t i = 0; i < items.size(); ++i) v += (i ? "\t" : "") + items[i];
    return v;
}

std::string captionOf(const Control& c) { return c.text(); }
std::string tagOf(const Control& c) { return c.tagText(); }
std::string visibleOf(const Control& c) { return boolText(c.visible); }
std::string foreOf(const Control& c) { return rgbText(c.fore); }
std::string backOf(const Control& c) { return rgbText(c.back); }
std::string borderOf(const Control& c) { return std::to_string(c.border); }
std::string itemsOf(const Control& c) { return joined(c.rows.items()); }
std::string selectedOf(const Control& c) { return std::to_string(c.selected); }
std::string topOf(const Control& c) { return std::to_string(c.listTop); }

// A query of one word answered by `Read`.
template <std::string (*Read)(Replay&)>
bool plain(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    if (a.size() != 1) {
        why = a[0] + " takes no arguments";
        return false;
    }
    value = Read(r);
    return true;
}

std::string clipboardText(Replay& r) { return r.clipboard.content; }
std::string printedPages(Replay& r) { return std::to_string(r.printer.pages.size()); }
std::string openedPages(Replay& r) { return joined(r.browser.opened); }
std::string pendingCelsius(Replay& r) { return r.calc->tempcelsiusText(); }
std::string elapsedMinutes(Replay& r) { return numberToText(r.calc->elapsedMinutes(), r.calc->separator()); }

bool windowProperty(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    const Calculadora& c = *r.calc;
    const struct {
        std::string_view name;
        std::string value;
    } properties[] = {
        {"height", std::to_string(c.height)}, {"width", std::to_string(c.width)},
        {"left", std::to_string(c.left)},     {"top", std::to_string(c.top)},
        {"topmost", boolText(c.topmost)},     {"minimized", boolText(c.minimized)},
        {"ended", boolText(c.ended)},         {"tag", c.windowTag},
    };
    if (a.size() == 2)
        for (const auto& p : properties)
            if (p.name == a[1]) {
                value = p.value;
                return true;
            }
    why = a.size() == 2 ? "no window property " + a[1] : "window needs a property";
    return false;
}

bool pageLabel(Replay& r, const QueryArgs& a, std::string& value, std::string& why) {
    int idx = -1;
    if (a.size() != 3 || !toInt(a[2], idx)) {
        why = "page needs a label name and index";
        return false;
    }
    const platform::PrintPage* page = r.calc->panels().stackUtilities.page();
    if (!page) {
        why = "no print page has been composed";
        return false;
    }
    const platform::PrintText* label = page->find(a[1], idx);
    if (!label) {
        why = "no label " + a[1] + " " + a[2] + " on the print page";
        return false;
    }
    value = label->text;
    return true;
}

const struct {
    std::string_view name;
    Answer answer;
} kQueries[] = {
    {"nivel", registerText},
    {"saved", registerText},
    {"caption", control<captionOf>},
    {"tag", control<tagOf>},
    {"visible", control<visibleOf>},
    {"forecolor", control<foreOf>},
    {"backcolor", control<backOf>},
    {"border", control<borderOf>},
    {"items", list<itemsOf>},
    {"selected", list<selectedOf>},
    {"top", list<topOf>},
    {"clipboard", plain<clipboardText>},
    {"printed", plain<printedPages>},
    {"opened", plain<openedPages>},
    {"tempcelsius", plain<pendingCelsius>},
    {"elapsed", plain<elapsedMinutes>},
    {"window", windowProperty},
    {"page", pageLabel},
};

}  // namespace

bool Replay::query(const std::vector<std::string>& t, size_t from, size_t to, std::string& value, std::string& why) {
    if (to == from) {
        why = "missing query";
        return false;
    }
    const QueryArgs args{t, from, to};
    for (const auto& q : kQueries)
        if (q.name == args[0]) return q.answer(*this, args, value, why);
    why = "unknown query " + args[0];
    return false;
}

// ---------------------------------------------------------------- commands

// One script line: its words, which of them were quoted, its number.
struct Replay::Line {
    const std::vector<std::string>& t;
    const std::vector<bool>& quoted;
    int number;
    size_t size() const { return t.size(); }
    bool integer(size_t k, int& v) const { return k < t.size() && toInt(t[k], v); }
};

// Each command returns why it could not be carried out, or "".
std::string Replay::check(const Line& l) {
    const size_t n = l.size();
    size_t end = n;
    if (l.t[0] == "expect") {
        if (n < 3 || !l.quoted[n - 1]) return "expect needs a query and a quoted value";
        end = n - 1;
    }
    std::string value, why;
    if (!query(l.t, 1, end, value, why)) return why;
    if (l.t[0] == "print") {
        out_ << quote(value) << "\n";
        return {};
    }
    if (value == l.t[n - 1]) {
        ++passed_;
        return {};
    }
    std::string q;
    for (size_t i = 1; i < end; ++i) q += (i > 1 ? " " : "") + l.t[i];
    out_ << "FAIL line " << l.number << ": " << q << ": got " << quote(value) << ", expected " << quote(l.t[n - 1])
         << "\n";
    ++failed_;
    return {};
}

std::string Replay::clickOrMove(const Line& l) {
    const size_t n = l.size();
    const std::string& cmd = l.t[0];
    if (n < 2 || n > 4) return cmd + " needs a control";
    int idx = -1, item = Calculadora::kNoItem;
    if (n >= 3 && !l.integer(2, idx)) return "bad index " + l.t[2];
    if (n == 4 && (cmd != "click" || l.t[1] != "listmemory")) return "too many arguments";
    if (n == 4 && (!l.integer(3, item) || item < 0)) return "bad item " + l.t[3];
    const EventResult r = cmd == "click" ? calc->click(l.t[1], idx, item) : calc->move(l.t[1], idx);
    if (r == EventResult::UnknownControl) return "no control " + l.t[1] + (idx >= 0 ? " " + std::to_string(idx) : "");
    return {};
}

std::string Replay::wheel(const Line& l) {
    int idx, steps;
    if (l.size() != 4 || l.t[1] != "listmemory" || !l.integer(2, idx) || !l.integer(3, steps))
        return "wheel needs listmemory INDEX STEPS";
    if (calc->wheel(l.t[1], idx, steps) == EventResult::UnknownControl)
        return "no control " + l.t[1] + " " + std::to_string(idx);
    return {};
}

std::string Replay::key(const Line& l) {
    int code;
    if (l.size() != 2 || !l.integer(1, code)) return "key needs a character code";
    calc->Form_KeyPress(code);
    return {};
}

std::string Replay::type(const Line& l) {
    if (l.size() != 2 || !l.quoted[1]) return "type needs a quoted text";
    for (int cp : codePoints(l.t[1])) calc->Form_KeyPress(cp);
    return {};
}

std::string Replay::tick(const Line& l) {
    const size_t n = l.size();
    int count = 1;
    if (n < 2 || n > 3 || (n == 3 && (!l.integer(2, count) || count < 0)))
        return "tick needs a timer and an optional count";
    if (!calc->form().timer(l.t[1])) return "no timer " + l.t[1];
    for (int i = 0; i < count; ++i) calc->tick(l.t[1]);
    return {};
}

std::string Replay::press(const Line& l) {
    const size_t n = l.size();
    int x, y, b = 1;
    if (n < 3 || n > 4 || !l.integer(1, x) || !l.integer(2, y) || (n == 4 && !l.integer(3, b)))
        return "press needs X Y [BUTTON]";
    calc->Form_MouseDown(b, x, y);
    return {};
}

std::string Replay::drag(const Line& l) {
    const size_t n = l.size();
    int x, y, b = 1;
    if (n < 3 || n > 4 || !l.integer(1, x) || !l.integer(2, y) || (n == 4 && !l.integer(3, b)))
        return "drag needs SX SY [BUTTONS]";
    window.cursorX = x;
    window.cursorY = y;
    calc->Form_MouseMove(b, x * kTwipsPerPixel - calc->left, y * kTwipsPerPixel - calc->top);
    return {};
}

std::string Replay::setClipboard(const Line& l) {
    if (l.size() == 2 && !l.quoted[1] && l.t[1] == "fail") {
        clipboard.failing = true;
        return {};
    }
    if (l.size() != 2 || !l.quoted[1]) return "clipboard needs a quoted text or fail";
    clipboard.failing = false;
    clipboard.content = l.t[1];
    return {};
}

std::string Replay::setPrinter(const Line& l) {
    if (l.size() != 2 || (l.t[1] != "ok" && l.t[1] != "fail")) return "printer needs ok or fail";
    printer.ok = l.t[1] == "ok";
    return {};
}

std::string Replay::now(const Line& l) {
    if (l.size() != 2 || !l.quoted[1] || !regional.set(l.t[1])) return "now needs \"YYYY-MM-DD HH:MM:SS\"";
    return {};
}

std::string Replay::separator(const Line& l) {
    if (l.size() != 2 || !l.quoted[1] || l.t[1].size() != 1) return "separator needs one quoted character";
    regional.separator = l.t[1][0];
    calc->regionalChanged();
    return {};
}

const Replay::Command Replay::kCommands[] = {
    {"print", &Replay::check},
    {"expect", &Replay::check},
    {"click", &Replay::clickOrMove},
    {"move", &Replay::clickOrMove},
    {"wheel", &Replay::wheel},
    {"key", &Replay::key},
    {"type", &Replay::type},
    {"tick", &Replay::tick},
    {"press", &Replay::press},
    {"drag", &Replay::drag},
    {"clipboard", &Replay::setClipboard},
    {"printer", &Replay::setPrinter},
    {"now", &Replay::now},
    {"separator", &Replay::separator},
};

void Replay::line(const std::string& text, int number) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos || text[first] == '#') return;
    std::vector<std::string> t;
    std::vector<bool> quoted;
    std::string why;
    const char decimal = regional.separator == ',' ? ',' : '.';
    if (!tokenize(text, t, quoted, why, decimal)) return error(number, why);
    if (t.empty()) return;
    for (const Command& c : kCommands) {
        if (c.name != t[0]) continue;
        why = (this->*c.run)(Line{t, quoted, number});
        if (!why.empty()) error(number, why);
        return;
    }
    error(number, "unknown command " + t[0]);
}

void Replay::run(std::istream& in) {
    std::string text;
    int number = 0;
    while (std::getline(in, text)) line(text, ++number);
    summary();
}

void Replay::summary() { out_ << passed_ << " passed, " << failed_ << " failed\n"; }

}  // namespace morvane
