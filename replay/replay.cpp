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

bool tokenize(const std::string& line, std::vector<std::string>& tokens, std::vector<bool>& quoted,
              std::string& why, char decimal) {
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

bool Replay::query(const std::vector<std::string>& t, size_t from, size_t to, std::string& value,
                   std::string& why) {
    const size_t n = to - from;
    if (n == 0) {
        why = "missing query";
        return false;
    }
    const std::string& q = t[from];
    auto arg = [&](size_t k) -> const std::string& { return t[from + k]; };
    Calculadora& c = *calc;
    int idx = -1;
    if (q == "nivel" || q == "saved") {
        if (n != 2 || !toInt(arg(1), idx) || idx < 0 || idx > 20) {
            why = q + " needs a register 0 to 20";
            return false;
        }
        value = q == "nivel" ? c.eng.regs.cur[static_cast<size_t>(idx)] : c.eng.regs.saved[static_cast<size_t>(idx)];
        return true;
    }
    if (q == "caption" || q == "tag" || q == "visible" || q == "forecolor" || q == "backcolor" || q == "border" ||
        q == "items" || q == "selected" || q == "top") {
        if (n < 2 || n > 3 || (n == 3 && !toInt(arg(2), idx))) {
            why = q + " needs a control name and an optional index";
            return false;
        }
        const Control* ctl = c.find(arg(1), idx);
        if (!ctl) {
            why = "no control " + arg(1) + (idx >= 0 ? " " + std::to_string(idx) : "");
            return false;
        }
        if (q == "caption") value = ctl->text();
        if (q == "tag") value = ctl->tagText();
        if (q == "visible") value = boolText(ctl->visible);
        if (q == "forecolor") value = rgbText(ctl->fore);
        if (q == "backcolor") value = rgbText(ctl->back);
        if (q == "border") value = std::to_string(ctl->border);
        if (q == "items" || q == "selected" || q == "top") {
            if (ctl->def->kind != Kind::List) {
                why = arg(1) + " is not a list";
                return false;
            }
            if (q == "items") {
                value.clear();
                const auto& items = ctl->rows.items();
                for (size_t i = 0; i < items.size(); ++i) value += (i ? "\t" : "") + items[i];
            }
            if (q == "selected") value = std::to_string(ctl->selected);
            if (q == "top") value = std::to_string(ctl->listTop);
        }
        return true;
    }
    if (n == 1 && q == "clipboard") {
        value = clipboard.content;
        return true;
    }
    if (n == 1 && q == "printed") {
        value = std::to_string(printer.pages.size());
        return true;
    }
    if (n == 1 && q == "opened") {
        value.clear();
        for (size_t i = 0; i < browser.opened.size(); ++i) value += (i ? "\t" : "") + browser.opened[i];
        return true;
    }
    if (n == 2 && q == "window") {
        const std::string& w = arg(1);
        if (w == "height") value = std::to_string(c.height);
        else if (w == "width") value = std::to_string(c.width);
        else if (w == "left") value = std::to_string(c.left);
        else if (w == "top") value = std::to_string(c.top);
        else if (w == "topmost") value = boolText(c.topmost);
        else if (w == "minimized") value = boolText(c.minimized);
        else if (w == "ended") value = boolText(c.ended);
        else if (w == "tag") value = c.windowTag;
        else {
            why = "no window property " + w;
            return false;
        }
        return true;
    }
    if (n == 1 && q == "tempcelsius") {
        value = c.tempcelsiusText();
        return true;
    }
    if (n == 1 && q == "elapsed") {
        value = numberToText(c.elapsedMinutes(), c.separator());
        return true;
    }
    if (q == "page") {
        if (n != 3 || !toInt(arg(2), idx)) {
            why = "page needs a label name and index";
            return false;
        }
        const platform::PrintPage* page = c.panels().stackUtilities.page();
        if (!page) {
            why = "no print page has been composed";
            return false;
        }
        const platform::PrintText* label = page->find(arg(1), idx);
        if (!label) {
            why = "no label " + arg(1) + " " + arg(2) + " on the print page";
            return false;
        }
        value = label->text;
        return true;
    }
    why = "unknown query " + q;
    return false;
}

void Replay::line(const std::string& text, int number) {
    std::vector<std::string> t;
    std::vector<bool> quoted;
    std::string why;
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos || text[first] == '#') return;
    const char decimal = regional.separator == ',' ? ',' : '.';
    if (!tokenize(text, t, quoted, why, decimal)) return error(number, why);
    if (t.empty()) return;
    const std::string& cmd = t[0];
    Calculadora& c = *calc;
    const size_t n = t.size();
    auto needInt = [&](size_t k, int& v) { return k < n && toInt(t[k], v); };

    if (cmd == "print" || cmd == "expect") {
        size_t end = n;
        if (cmd == "expect") {
            if (n < 3 || !quoted[n - 1]) return error(number, "expect needs a query and a quoted value");
            end = n - 1;
        }
        std::string value;
        if (!query(t, 1, end, value, why)) return error(number, why);
        if (cmd == "print") {
            out_ << quote(value) << "\n";
            return;
        }
        if (value == t[n - 1]) {
            ++passed_;
        } else {
            std::string q;
            for (size_t i = 1; i < end; ++i) q += (i > 1 ? " " : "") + t[i];
            out_ << "FAIL line " << number << ": " << q << ": got " << quote(value) << ", expected "
                 << quote(t[n - 1]) << "\n";
            ++failed_;
        }
        return;
    }
    if (cmd == "click" || cmd == "move") {
        if (n < 2 || n > 4) return error(number, cmd + " needs a control");
        int idx = -1, item = Calculadora::kNoItem;
        if (n >= 3 && !needInt(2, idx)) return error(number, "bad index " + t[2]);
        if (n == 4 && (cmd != "click" || t[1] != "listmemory")) return error(number, "too many arguments");
        if (n == 4 && (!needInt(3, item) || item < 0)) return error(number, "bad item " + t[3]);
        EventResult r = cmd == "click" ? c.click(t[1], idx, item) : c.move(t[1], idx);
        if (r == EventResult::UnknownControl)
            return error(number, "no control " + t[1] + (idx >= 0 ? " " + std::to_string(idx) : ""));
        return;
    }
    if (cmd == "wheel") {
        int idx, steps;
        if (n != 4 || t[1] != "listmemory" || !needInt(2, idx) || !needInt(3, steps))
            return error(number, "wheel needs listmemory INDEX STEPS");
        if (c.wheel(t[1], idx, steps) == EventResult::UnknownControl)
            return error(number, "no control " + t[1] + " " + std::to_string(idx));
        return;
    }
    if (cmd == "key") {
        int code;
        if (n != 2 || !needInt(1, code)) return error(number, "key needs a character code");
        c.Form_KeyPress(code);
        return;
    }
    if (cmd == "type") {
        if (n != 2 || !quoted[1]) return error(number, "type needs a quoted text");
        for (int cp : codePoints(t[1])) c.Form_KeyPress(cp);
        return;
    }
    if (cmd == "tick") {
        int count = 1;
        if (n < 2 || n > 3 || (n == 3 && (!needInt(2, count) || count < 0)))
            return error(number, "tick needs a timer and an optional count");
        if (!c.timer(t[1])) return error(number, "no timer " + t[1]);
        for (int i = 0; i < count; ++i) c.tick(t[1]);
        return;
    }
    if (cmd == "press") {
        int x, y, b = 1;
        if (n < 3 || n > 4 || !needInt(1, x) || !needInt(2, y) || (n == 4 && !needInt(3, b)))
            return error(number, "press needs X Y [BUTTON]");
        c.Form_MouseDown(b, x, y);
        return;
    }
    if (cmd == "drag") {
        int x, y, b = 1;
        if (n < 3 || n > 4 || !needInt(1, x) || !needInt(2, y) || (n == 4 && !needInt(3, b)))
            return error(number, "drag needs SX SY [BUTTONS]");
        window.cursorX = x;
        window.cursorY = y;
        c.Form_MouseMove(b, x * kTwipsPerPixel - c.left, y * kTwipsPerPixel - c.top);
        return;
    }
    if (cmd == "clipboard") {
        if (n == 2 && !quoted[1] && t[1] == "fail") {
            clipboard.failing = true;
            return;
        }
        if (n != 2 || !quoted[1]) return error(number, "clipboard needs a quoted text or fail");
        clipboard.failing = false;
        clipboard.content = t[1];
        return;
    }
    if (cmd == "printer") {
        if (n != 2 || (t[1] != "ok" && t[1] != "fail")) return error(number, "printer needs ok or fail");
        printer.ok = t[1] == "ok";
        return;
    }
    if (cmd == "now") {
        if (n != 2 || !quoted[1] || !regional.set(t[1])) return error(number, "now needs \"YYYY-MM-DD HH:MM:SS\"");
        return;
    }
    if (cmd == "separator") {
        if (n != 2 || !quoted[1] || t[1].size() != 1) return error(number, "separator needs one quoted character");
        regional.separator = t[1][0];
        c.regionalChanged();
        return;
    }
    error(number, "unknown command " + cmd);
}

void Replay::run(std::istream& in) {
    std::string text;
    int number = 0;
    while (std::getline(in, text)) line(text, ++number);
    summary();
}

void Replay::summary() { out_ << passed_ << " passed, " << failed_ << " failed\n"; }

}  // namespace morvane
