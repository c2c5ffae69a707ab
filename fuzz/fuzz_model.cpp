// libFuzzer target over the window model `Calculadora` with the in-memory
// platform services: the input bytes are decoded into a sequence of events
// (clicks, key presses, timer ticks, mouse events, clipboard texts, the
// pointer position, the regional separator, a printer that works or not),
// and after every event the register invariants are checked, after a
// print or a copy what it must have done, and after a failing click or key
// that it changed nothing, the undo snapshot included. A broken invariant
// prints what broke and the decoded events, then aborts, so libFuzzer keeps
// the input as a crash.
//
// Input format (see fuzz/README.md): byte 0 is the header (bit 0: the
// separator at start, 0 '.', 1 ','; the other bits seed the random-number
// key), then events, each an opcode byte and its argument bytes. Missing
// bytes at the end read as zero.
//
// Environment: MORVANE_FUZZ_TRACE=1 prints every event and the registers it
// leaves, for reading a reproduction.

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/numtext.h"
#include "platform/fake.h"
#include "window/model.h"

using namespace std::string_view_literals;

namespace {

using morvane::Calculadora;

}  // namespace

struct EventCount {
    unsigned long long events = 0, inputs = 0;
    ~EventCount();
};
EventCount& eventCount();

namespace {

constexpr int kMaxEvents = 200;    // events per input
constexpr size_t kRawMax = 255;    // a raw clipboard text
constexpr size_t kLongMax = 4096;  // a generated long clipboard text
constexpr int kLongTexts = 4;      // long texts per input; later ones are capped at kRawMax

// ---------------------------------------------------------------- input

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool more() const { return pos < size; }
    uint8_t u8() { return pos < size ? data[pos++] : 0; }
    uint16_t u16() {
        const uint16_t lo = u8();
        return static_cast<uint16_t>(lo | (u8() << 8));
    }
    int16_t s16() { return static_cast<int16_t>(u16()); }
    std::string bytes(size_t n) {
        n = std::min(n, size - pos);
        std::string s(reinterpret_cast<const char*>(data + pos), n);
        pos += n;
        return s;
    }
};

struct Target {
    std::string_view name;
    int index;
};

// Every clickable control of the layout, in the order of the model's controls.
const std::vector<Target>& clickables() {
    static const std::vector<Target> v = [] {
        morvane::platform::FakeClipboard clip;
        morvane::platform::FakeRegional regional;
        morvane::platform::FakeBrowser browser;
        morvane::platform::FakePrinter printer;
        morvane::platform::FakeWindowSystem ws;
        Calculadora c({&clip, &regional, &browser, &printer, &ws}, {});
        std::vector<Target> out;
        for (const morvane::Control& k : c.form().controls)
            if (k.def->clickable) out.push_back({k.def->name, k.def->index});
        if (out.empty()) {
            std::fprintf(stderr, "morvane-fuzz: the layout has no clickable control\n");
            std::abort();
        }
        return out;
    }();
    return v;
}

// Indices beyond the arrays, unknown names and controls that take no click.
constexpr Target kOdd[] = {
    {"tecla", 66},   {"tecla", -1},
    {"tecla", 1000}, {"tecla", -2147483647 - 1},
    {"numero", 10},  {"numero", -1},
    {"nivel2", 21},  {"nivel2", -1},
    {"estado", 5},   {"estado", 99},
    {"orden", 6},    {"orden", 84},
    {"orden", -1},   {"monitor", 0},
    {"monitor", 11}, {"MANEJO", 3},
    {"Label10", 2},  {"vcp", 3},
    {"vcp", -1},     {"nosuch", 0},
    {"", -1},        {"TECLA", 0},
    {"tecla ", 0},   {"nivel", 1},
    {"nivel", 0},    {"memoriaprincipal", -1},
    {"pila", -1},    {"error", -1},
    {"pantalla", 6}, {"Shape1", -1},
    {"Timer1", -1},  {"listmemory", 1},
    {"Label4", -1},  {"Label4", 0},
};

// Control arrays clicked by name and an index 0..99: the soft keys, the
// display lines, the status labels and the panels' lists among them.
constexpr std::string_view kArrays[] = {"orden",    "nivel2",    "estado", "vcp",   "monitor",
                                        "MANEJO",   "Label10",   "tecla",  "ctype", "unidad",
                                        "convtemp", "convtemp2", "mult",   "utype", "cons"};

// The keyboard map, digits twice over.
constexpr std::string_view kKeyMap = "01234567890123456789,.Ee_#SsRr<>%Ii+-*/\b\r\b\r"sv;

constexpr std::string_view kTimers[] = {"Timer2", "Timer2", "Timer2", "Timer1",  "Timer1",
                                        "Timer4", "Timer5", "Timer3", "imprimir"};

// PRINT, XLS and the stack-utilities panel's lines.
constexpr Target kPrintCopy[] = {{"Label13", -1}, {"Label14", -1}, {"funpila", 0},
                                 {"funpila", 4},  {"funpila", 3},  {"funpila", 6}};

// Clipboard texts worth trying as they are.
constexpr std::string_view kTexts[] = {
    ""sv,
    "0"sv,
    "1"sv,
    "-1"sv,
    "12"sv,
    "1.5"sv,
    "1,5"sv,
    "-0"sv,
    "+7"sv,
    " 42 "sv,
    "\t3\t"sv,
    "1E5"sv,
    "1e-5"sv,
    "1E"sv,
    "12E-"sv,
    "E5"sv,
    "-"sv,
    ","sv,
    "."sv,
    "12,"sv,
    "12."sv,
    ".5"sv,
    ",5"sv,
    "inf"sv,
    "-inf"sv,
    "INF"sv,
    "Infinity"sv,
    "nan"sv,
    "NaN"sv,
    "-nan"sv,
    "nan(0x1)"sv,
    "1.#INF"sv,
    "1E999"sv,
    "-1E999"sv,
    "1E-999"sv,
    "1E308"sv,
    "1E+308"sv,
    "-1E308"sv,
    "1.7976931348623157E308"sv,
    "1,7976931348623157E308"sv,
    "-1.7976931348623157E308"sv,
    "1.79769313486231E+308"sv,
    "1,79769313486231E+308"sv,
    "1.79769313486232E+308"sv,
    "2.2250738585072014E-308"sv,
    "4.9406564584124654E-324"sv,
    "4,9406564584124654E-324"sv,
    "5E-324"sv,
    "1E-400"sv,
    "9.99999999999999E+307"sv,
    "1E+15"sv,
    "999999999999999"sv,
    "123456789012345678901234567890"sv,
    "0.1"sv,
    "0,1"sv,
    "3.14159265358979"sv,
    "170"sv,
    "171"sv,
    "709.78"sv,
    "710"sv,
    "1E154"sv,
    "1E155"sv,
    "1.2.3"sv,
    "1,2,3"sv,
    "1 2"sv,
    "0x10"sv,
    "1e+"sv,
    "--1"sv,
    "+-1"sv,
    "1E2147483648"sv,
    "1E-2147483649"sv,
    "1E99999999999999999999"sv,
    "0E999999"sv,
    "\xd9\xa1\xd9\xa2"sv,
    "\xef\xbc\x91"sv,
    "\xc3\x91"sv,
    "\xff\xfe"sv,
    "\0"sv,
    "1\0"
    "2"sv,
    "12\n"sv,
    "12\r\n"sv,
    "99999999999999999999E-20"sv,
    "2"sv,
    "-2"sv,
    "-8"sv,
    "3"sv,
    "0.5"sv,
    "0,5"sv,
    "90"sv,
    "180"sv,
    "1E-10"sv,
    "1E10"sv,
    "-1E10"sv,
};

enum class Kind {
    Click,
    Key,
    Tick,
    ClipText,
    ClipFail,
    MouseDown,
    MouseMove,
    Cursor,
    Resize,
    Restored,
    Hover,
    Separator,
    ListClick,
    Wheel,
    Clock,
    Printer,
};

struct Event {
    Kind kind = Kind::Click;
    Target target{};
    int code = 0, a = 0, b = 0;
    std::string_view timer;
    std::string text;
};

struct Decoder {
    Reader in;
    int longTexts = 0;

    std::string clipText(char sep) {
        const uint8_t mode = in.u8();
        switch (mode % 4) {
            case 0:
                return std::string(kTexts[in.u8() % std::size(kTexts)]);
            case 1:
                return in.bytes(in.u8());
            case 2: {
                const uint16_t length = in.u16();
                size_t n = length % (kLongMax + 1);
                // Now and then a text at the register bound, or just past it.
                if (length >= 0xFFF8) n = morvane::kTextBound - 2 + (length & 3);
                if (longTexts >= kLongTexts) n = std::min(n, kRawMax);
                ++longTexts;
                const uint8_t shape = in.u8();
                std::string s;
                switch (shape % 5) {
                    case 0:  // a long run of nines
                        s.assign(n, '9');
                        break;
                    case 1:  // a tiny fraction
                        s = "0";
                        s += sep;
                        s.append(n, '0');
                        s += '1';
                        break;
                    case 2:  // a long integer with an exponent
                        s = "1";
                        s.append(n, '0');
                        s += "E-";
                        s += std::to_string(n);
                        break;
                    case 3: {  // a few bytes repeated
                        const std::string unit = in.bytes(1 + in.u8() % 8);
                        while (!unit.empty() && s.size() < n) s += unit;
                        break;
                    }
                    default:  // digits and separators
                        for (size_t i = 0; i < n; ++i) s += i % 7 == 3 ? sep : static_cast<char>('0' + i % 10);
                        break;
                }
                return s;
            }
            default: {
                std::string s(kTexts[in.u8() % std::size(kTexts)]);
                const uint8_t where = in.u8();
                const std::string extra = in.bytes(where % 8);
                return (where & 0x80) ? extra + s : s + extra;
            }
        }
    }

    // False at the end of the input.
    bool next(Event& e, char sep) {
        if (!in.more()) return false;
        const uint8_t op = in.u8();
        e = Event{};
        if (op < 70) {
            const int k = in.u8() % 70;
            e.target = {"tecla", k < 66 ? k : k == 66 ? 66 : k == 67 ? -1 : k == 68 ? 99 : 1000};
        } else if (op < 110) {
            e.target = {"numero", in.u8() % 10};
        } else if (op < 130) {
            const auto& c = clickables();
            e.target = c[in.u16() % c.size()];
        } else if (op < 140) {
            const uint8_t k = in.u8();
            e.target = {kArrays[k % std::size(kArrays)], in.u8() % 100};
        } else if (op < 180) {
            e.kind = Kind::Key;
            const uint8_t k = in.u8();
            e.code = k < 224 ? static_cast<unsigned char>(kKeyMap[k % kKeyMap.size()]) : in.u16();
        } else if (op < 200) {
            e.kind = Kind::Tick;
            e.timer = kTimers[in.u8() % std::size(kTimers)];
        } else if (op < 214) {
            e.kind = Kind::ClipText;
            e.text = clipText(sep);
        } else if (op < 217) {
            e.kind = Kind::ClipFail;
            e.code = in.u8() & 1;
        } else if (op < 223) {
            e.kind = Kind::MouseDown;
            e.code = in.u8();
            e.a = in.s16();
            e.b = in.s16();
        } else if (op < 231) {
            e.kind = Kind::MouseMove;
            e.code = in.u8() % 8;
            e.a = in.s16();
            e.b = in.s16();
        } else if (op < 236) {
            e.kind = Kind::Cursor;
            e.code = in.u8() & 1;
            e.a = in.s16();
            e.b = in.s16();
        } else if (op < 238) {
            e.kind = Kind::Resize;
        } else if (op < 240) {
            e.kind = Kind::Restored;
        } else if (op < 242) {
            e.kind = Kind::Hover;
            const auto& c = clickables();
            e.target = c[in.u16() % c.size()];
        } else if (op < 244) {
            e.kind = Kind::Separator;
        } else if (op < 248) {
            // A click on a memory list's row (a = -1: on no row).
            e.kind = Kind::ListClick;
            e.code = in.u8() & 1;
            const uint8_t item = in.u8();
            e.a = item == 255 ? Calculadora::kNoItem : item % 64;
        } else if (op < 250) {
            e.kind = Kind::Wheel;
            e.code = in.u8() & 1;
            e.a = static_cast<int8_t>(in.u8());
        } else if (op < 252) {
            // The clock moves by a signed number of seconds (a day at most).
            e.kind = Kind::Clock;
            e.a = in.s16() * 3;
        } else if (op < 254) {
            e.target = kOdd[in.u8() % std::size(kOdd)];
        } else if (op < 255) {
            e.kind = Kind::Printer;
            e.code = in.u8() & 1;
        } else {
            e.target = kPrintCopy[in.u8() % std::size(kPrintCopy)];
        }
        return true;
    }
};

// ---------------------------------------------------------------- printing

std::string shown(std::string_view t, size_t max = 96) {
    std::string s = "\"";
    for (size_t i = 0; i < t.size() && i < max; ++i) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            s += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            s += buf;
        }
    }
    s += '"';
    if (t.size() > max) s += "...(" + std::to_string(t.size()) + " bytes)";
    return s;
}

std::string describe(const Event& e, char sep) {
    switch (e.kind) {
        case Kind::Click:
            return "click " + std::string(e.target.name) + " " + std::to_string(e.target.index);
        case Kind::Key:
            return "key " + std::to_string(e.code) +
                   (e.code >= 0x20 && e.code < 0x7f ? " '" + std::string(1, static_cast<char>(e.code)) + "'" : "");
        case Kind::Tick:
            return "tick " + std::string(e.timer);
        case Kind::ClipText:
            return "clipboard " + shown(e.text);
        case Kind::ClipFail:
            return e.code ? "clipboard failing" : "clipboard working";
        case Kind::MouseDown:
            return "Form_MouseDown button " + std::to_string(e.code) + " at " + std::to_string(e.a) + "," +
                   std::to_string(e.b);
        case Kind::MouseMove:
            return "Form_MouseMove buttons " + std::to_string(e.code) + " at " + std::to_string(e.a) + "," +
                   std::to_string(e.b);
        case Kind::Cursor:
            return "cursor " + std::to_string(e.a) + "," + std::to_string(e.b) + (e.code ? " unreadable" : "");
        case Kind::Resize:
            return "Form_Resize";
        case Kind::Restored:
            return "restored";
        case Kind::Hover:
            return "move " + std::string(e.target.name) + " " + std::to_string(e.target.index);
        case Kind::Separator:
            return std::string("separator '") + (sep == '.' ? ',' : '.') + "'";
        case Kind::ListClick:
            return "click listmemory " + std::to_string(e.code) + (e.a >= 0 ? " " + std::to_string(e.a) : "");
        case Kind::Wheel:
            return "wheel listmemory " + std::to_string(e.code) + " " + std::to_string(e.a);
        case Kind::Clock:
            return "clock " + std::string(e.a >= 0 ? "+" : "") + std::to_string(e.a) + " s";
        case Kind::Printer:
            return e.code ? "printer fail" : "printer ok";
    }
    return "?";
}

bool trace() {
    static const bool on = [] {
        const char* v = std::getenv("MORVANE_FUZZ_TRACE");
        return v && *v && *v != '0';
    }();
    return on;
}

// ---------------------------------------------------------------- the run

// A plain number text read with strtod: a sign, digits with at most one
// separator, an optional exponent; false for anything else or a value
// beyond the double range.
bool plainNumber(const std::string& t, char sep, double& v) {
    std::string s;
    size_t i = 0;
    if (i < t.size() && t[i] == '-') s += t[i++];
    size_t digits = 0, seps = 0;
    for (; i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == sep); ++i) {
        if (t[i] == sep) {
            if (++seps > 1) return false;
            s += '.';
        } else {
            ++digits;
            s += t[i];
        }
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        s += 'e';
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) s += t[i++];
        size_t e = 0;
        for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i, ++e) s += t[i];
        if (!e) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    v = std::strtod(s.c_str(), nullptr);
    return !(errno == ERANGE && std::isinf(v));
}

bool hasInfNan(std::string_view t) {
    for (size_t i = 0; i + 3 <= t.size(); ++i) {
        auto low = [&](size_t k) { return static_cast<char>(t[i + k] | 0x20); };
        if ((low(0) == 'i' && low(1) == 'n' && low(2) == 'f') || (low(0) == 'n' && low(1) == 'a' && low(2) == 'n'))
            return true;
    }
    return false;
}

// Editing keys change the log's text as text: what they make of a pasted text
// still counts as pasted.
bool isEdit(const Event& e) {
    if (e.kind == Kind::Key)
        return (e.code >= '0' && e.code <= '9') || e.code == 'E' || e.code == 'e' || e.code == '_' || e.code == ',' ||
               e.code == '.' || e.code == 8;
    if (e.kind != Kind::Click) return false;
    if (e.target.name == "numero") return true;
    if (e.target.name != "tecla") return false;
    switch (e.target.index) {
        case 4:   // backspace
        case 8:   // EEX
        case 15:  // decimal point
        case 16:  // 000
        case 34:  // E(-)
        case 45:  // 00
            return true;
        default:
            return false;
    }
}

class Run {
public:
    Run(const uint8_t* data, size_t size) : data_(data), size_(size) {
        Reader head{data, size};
        const uint8_t h = head.u8();
        sep_ = (h & 1) ? ',' : '.';
        regional_.separator = sep_;
        calc_ = std::make_unique<Calculadora>(
            morvane::platform::Services{&clip_, &regional_, &browser_, &printer_, &ws_}, Calculadora::Config{});
        calc_->eng.reseed(h >> 1);
        check(-1, nullptr);
    }

    void go() {
        Decoder dec{{data_, size_, size_ ? 1u : 0u}};
        Event e;
        for (int n = 0; n < kMaxEvents && dec.next(e, sep_); ++n) {
            events_ = n;
            apply(e);
            if (trace()) {
                std::fprintf(stderr, "#%d %s\n", n, describe(e, prevSep_).c_str());
                dumpRegisters();
            }
            check(n, &e);
            ++eventCount().events;
        }
        ++eventCount().inputs;
    }

private:
    // Reference answers that do not use the code under test: the four
    // arithmetic keys against strtod of their operands and the double
    // operation, and undo against the snapshot it restores.
    void referenceClick(const Event& e, const std::array<std::string, morvane::kRegisters>& before,
                        const std::array<std::string, morvane::kRegisters>& snapshot, unsigned long reportsBefore) {
        if (e.target.name != "tecla") return;
        const auto& eng = calc_->eng;
        const bool failed = eng.err.reports != reportsBefore;
        const int k = e.target.index;
        if (k == 5) {
            if (eng.regs.cur != snapshot) refFailure_ = "undo did not give back the snapshot's texts";
            return;
        }
        if (k < 0 || k > 3) return;
        double x, y;
        if (!plainNumber(before[0], sep_, x) || !plainNumber(before[1], sep_, y)) return;
        const double r = k == 0 ? y + x : k == 1 ? y - x : k == 2 ? y * x : y / x;
        const bool defined = std::isfinite(r) && !(k == 3 && x == 0);
        if (!defined) {
            if (!failed)
                refFailure_ = "key " + std::to_string(k) + " on " + shown(before[1]) + " and " + shown(before[0]) +
                              " has no result but did not fail";
            else if (eng.regs.cur != before)
                refFailure_ = "a failing key changed the registers";
            return;
        }
        // Near the largest double the 15-digit text may not read back: either way is right.
        if (std::fabs(r) > 1.79769313486e308) return;
        if (failed) {
            refFailure_ = "key " + std::to_string(k) + " failed on " + shown(before[1]) + " and " + shown(before[0]);
            return;
        }
        double got;
        if (!plainNumber(eng.regs.cur[0], sep_, got)) {
            refFailure_ = "key " + std::to_string(k) + " wrote " + shown(eng.regs.cur[0]);
            return;
        }
        // 15 significant digits; subnormal results keep fewer.
        if (std::fabs(r) > 1e-290 && std::fabs(got - r) > 6e-15 * std::fabs(r))
            refFailure_ = "key " + std::to_string(k) + " on " + shown(before[1]) + " and " + shown(before[0]) +
                          " gave " + shown(eng.regs.cur[0]);
        for (int i = 1; i <= 19 && refFailure_.empty(); ++i)
            if (eng.regs.cur[static_cast<size_t>(i)] != before[static_cast<size_t>(i + 1)])
                refFailure_ = "the stack did not drop after key " + std::to_string(k);
    }

    void apply(const Event& e) {
        auto& regs = calc_->eng.regs;
        const std::string logBefore = regs.cur[0];
        prevSep_ = sep_;
        const unsigned long reportsBefore = calc_->eng.err.reports;
        // (l) What a click or a key press starts from: a failing one must
        // leave it all as it was, the undo snapshot included.
        const bool input = e.kind == Kind::Click || e.kind == Kind::Key || e.kind == Kind::ListClick;
        const unsigned long failuresBefore = calc_->eng.err.failures;
        Registers unchanged;
        if (input) unchanged = {regs.cur, regs.saved};
        switch (e.kind) {
            case Kind::Click: {
                const bool keypad = e.target.name == "tecla";
                std::array<std::string, morvane::kRegisters> before, snapshot;
                if (keypad) {
                    before = regs.cur;
                    snapshot = regs.saved;
                }
                const PrintCopyBefore printBefore = printCopyBefore();
                calc_->click(e.target.name, e.target.index);
                if (e.target.name == "Label13" || e.target.name == "Label14")
                    checkPrintCopy(e.target.name, printBefore);
                if (keypad) referenceClick(e, before, snapshot, reportsBefore);
                // The exchange keys move the log's text as it is into a level.
                if (e.target.name == "orden" && e.target.index >= 3 && e.target.index <= 5 && !logBefore.empty())
                    for (int i = 1; i < morvane::kRegisters; ++i)
                        if (regs.cur[static_cast<size_t>(i)] == logBefore) exchanged_.insert(logBefore);
                // "pst" takes the clipboard's text as it is.
                if (e.target.name == "tecla" && e.target.index == 48 && regs.cur[0] == clip_.content)
                    pasted_.insert(clip_.content);
                break;
            }
            case Kind::Key:
                calc_->Form_KeyPress(e.code);
                break;
            case Kind::Tick:
                calc_->tick(e.timer);
                break;
            case Kind::ClipText:
                clip_.content = e.text;
                break;
            case Kind::ClipFail:
                clip_.failing = e.code != 0;
                break;
            case Kind::MouseDown:
                calc_->Form_MouseDown(e.code, e.a, e.b);
                break;
            case Kind::MouseMove:
                calc_->Form_MouseMove(e.code, e.a, e.b);
                break;
            case Kind::Cursor:
                ws_.cursorX = e.a;
                ws_.cursorY = e.b;
                ws_.cursorOk = e.code == 0;
                break;
            case Kind::Resize:
                calc_->Form_Resize();
                break;
            case Kind::Restored:
                calc_->restored();
                break;
            case Kind::Hover:
                calc_->move(e.target.name, e.target.index);
                break;
            case Kind::ListClick:
                calc_->click("listmemory", e.code, e.a);
                break;
            case Kind::Wheel:
                calc_->wheel("listmemory", e.code, e.a);
                break;
            case Kind::Printer:
                printer_.ok = e.code == 0;
                break;
            case Kind::Clock: {
                long long t = regional_.second + 60LL * (regional_.minute + 60LL * regional_.hour) + e.a;
                t = ((t % 86400) + 86400) % 86400;
                regional_.hour = static_cast<int>(t / 3600);
                regional_.minute = static_cast<int>(t / 60 % 60);
                regional_.second = static_cast<int>(t % 60);
                break;
            }
            case Kind::Separator: {
                // Whatever is stored was written under the old separator.
                const auto& eng = calc_->eng;
                for (int i = 0; i < morvane::kRegisters; ++i) {
                    legacy_.insert(eng.regs.cur[static_cast<size_t>(i)]);
                    legacy_.insert(eng.regs.saved[static_cast<size_t>(i)]);
                }
                legacy_.insert(eng.memoria);
                for (const std::string& m : eng.memoryList.items()) legacy_.insert(m);
                sep_ = sep_ == '.' ? ',' : '.';
                regional_.separator = sep_;
                calc_->regionalChanged();
                for (std::string& g : goodRegister_) g.clear();
                goodMemory_ = "\x01";
                goodList_ = 0;
                break;
            }
        }
        if (isEdit(e) && pasted_.count(logBefore)) pasted_.insert(regs.cur[0]);
        if (input && calc_->eng.err.failures != failuresBefore) {
            if (regs.cur != unchanged.cur) fail(events_, "(l) failing key", "it changed the registers");
            if (regs.saved != unchanged.saved) fail(events_, "(l) failing key", "it replaced the undo snapshot");
        }
        // Every failure reported has one of the known numbers.
        const auto& err = calc_->eng.err;
        if (err.reports != reportsBefore) {
            static const int known[] = {5, 6, 7, 11, 13, 482, 521};
            if (std::find(std::begin(known), std::end(known), err.number) == std::end(known))
                refFailure_ = "a failure reported the unknown number " + std::to_string(err.number);
        }
    }

    struct Registers {
        std::array<std::string, morvane::kRegisters> cur, saved;
    };

    // What a print or a copy starts from.
    struct PrintCopyBefore {
        morvane::Registers regs;
        std::array<std::string, 21> lines;
        size_t pages;
        bool notice, timer5, panel9;
    };
    PrintCopyBefore printCopyBefore() {
        PrintCopyBefore b{calc_->eng.regs,
                          {},
                          printer_.pages.size(),
                          calc_->form().find("Label11")->visible,
                          calc_->form().timer("Timer5")->enabled,
                          calc_->form().find("pantalla", 9)->visible};
        for (int i = 0; i <= 20; ++i) b.lines[static_cast<size_t>(i)] = calc_->line(i).caption;
        return b;
    }

    // (k) PRINT and XLS never change a register, current or saved. A print
    // that reached the printer is one more page holding the display lines
    // and shows the notice; one that did not is error 482 and nothing else.
    // A copy puts the log, then levels 1, 2, ... up to the first empty
    // level, each followed by a tab, on the clipboard (nothing when the log
    // and level 1 are empty) and closes the panel; a failed one is error 521.
    void checkPrintCopy(std::string_view key, const PrintCopyBefore& b) {
        const auto& eng = calc_->eng;
        if (eng.regs.cur != b.regs.cur || eng.regs.saved != b.regs.saved)
            fail(events_, "(k) print/copy", std::string(key) + " changed a register");
        if (key == "Label13") {
            if (printer_.ok) {
                if (printer_.pages.size() != b.pages + 1)
                    fail(events_, "(k) print", "a print with a working printer did not reach it");
                const morvane::platform::PrintPage& page = printer_.pages.back();
                for (int i = 0; i <= 20; ++i) {
                    const auto* t = page.find("Label1", i);
                    if (!t || t->text != b.lines[static_cast<size_t>(i)])
                        fail(events_, "(k) print",
                             "Label1(" + std::to_string(i) + ") of the page is not the display line " +
                                 shown(b.lines[static_cast<size_t>(i)]));
                }
                if (!calc_->form().find("Label11")->visible) fail(events_, "(k) print", "no notice after a print");
            } else {
                if (printer_.pages.size() != b.pages) fail(events_, "(k) print", "a refused print was counted");
                if (eng.err.indicator != "E 482" || !eng.err.visible)
                    fail(events_, "(k) print", "a refused print is not error 482 but " + shown(eng.err.indicator));
                if (calc_->form().find("Label11")->visible != b.notice ||
                    calc_->form().timer("Timer5")->enabled != b.timer5)
                    fail(events_, "(k) print", "a refused print changed the notice or its timer");
            }
            return;
        }
        if (clip_.failing) {
            if (eng.err.indicator != "E 521" || !eng.err.visible)
                fail(events_, "(k) copy", "a failed copy is not error 521 but " + shown(eng.err.indicator));
            if (calc_->form().find("pantalla", 9)->visible != b.panel9)
                fail(events_, "(k) copy", "a failed copy moved the panel");
            return;
        }
        std::string want;
        const auto& r = b.regs.cur;
        if (!r[0].empty() || !r[1].empty()) {
            want = r[0] + '\t';
            for (size_t i = 1; i < r.size() && !r[i].empty(); ++i) want += r[i] + '\t';
        }
        if (clip_.content != want)
            fail(events_, "(k) copy", "the clipboard holds " + shown(clip_.content) + ", not " + shown(want));
        if (clip_.selection != want) fail(events_, "(k) copy", "the selection holds " + shown(clip_.selection));
        if (calc_->form().find("pantalla", 9)->visible)
            fail(events_, "(k) copy", "the panel is still open after a copy");
    }

    void check(int n, const Event* e) {
        const auto& eng = calc_->eng;
        if (!refFailure_.empty()) fail(n, "(i) reference", refFailure_);
        for (int i = 0; i < morvane::kRegisters; ++i)
            for (const auto* t : {&eng.regs.cur[static_cast<size_t>(i)], &eng.regs.saved[static_cast<size_t>(i)]})
                if (t->size() > morvane::kTextBound)
                    fail(n, "(j) bound",
                         "register " + std::to_string(i) + " holds " + std::to_string(t->size()) + " characters");
        // The model's separator follows the regional settings from the moment
        // they change.
        if (calc_->separator() != sep_)
            fail(n, "separator",
                 std::string("the model's separator is '") + calc_->separator() + "', the regional one '" + sep_ + "'");
        // A text found good stays good while the separator stays (the sets of
        // allowed texts only grow), so each slot is checked again only when
        // its text changed: long texts sit in the registers for many events.
        for (int i = 0; i < morvane::kRegisters; ++i) {
            for (int s = 0; s < 2; ++s) {
                const std::string& t =
                    s ? eng.regs.saved[static_cast<size_t>(i)] : eng.regs.cur[static_cast<size_t>(i)];
                std::string& good = goodRegister_[static_cast<size_t>(2 * i + s)];
                if (t == good) continue;
                const char* which = s ? "saved" : "current";
                if (i >= 1 && !t.empty() && !morvane::isNumeric(t, sep_) && !exchanged_.count(t) && !legacy_.count(t))
                    fail(n, "(a) level text",
                         "level " + std::to_string(i) + " (" + which + ") holds " + shown(t) +
                             ", not a number under '" + sep_ + "', and no exchange moved it there");
                if (hasInfNan(t) && !pasted_.count(t))
                    fail(n, "(b) inf/nan",
                         std::string(i == 0 ? "the log" : "level " + std::to_string(i)) + " (" + which + ") holds " +
                             shown(t) + ", which no paste brought");
                good = t;
            }
        }
        for (int i = 0; i <= 20; ++i) {
            const std::string& t = calc_->line(i).caption;
            std::string& good = goodLine_[static_cast<size_t>(i)];
            if (t == good) continue;
            if (hasInfNan(t) && !pasted_.count(t))
                fail(n, "(b) inf/nan", "display line nivel2(" + std::to_string(i) + ") shows " + shown(t));
            good = t;
        }
        if (eng.memoria != goodMemory_) {
            if (!morvane::isNumeric(eng.memoria, sep_) && !legacy_.count(eng.memoria))
                fail(n, "(c) memory",
                     "memoriaprincipal holds " + shown(eng.memoria) + ", not a number under '" + sep_ + "'");
            goodMemory_ = eng.memoria;
        }
        if (eng.memoryList.size() < goodList_) goodList_ = 0;
        for (; goodList_ < eng.memoryList.size(); ++goodList_) {
            const std::string& m = eng.memoryList.items()[goodList_];
            if (!morvane::isNumeric(m, sep_) && !legacy_.count(m))
                fail(n, "(c) memory list", "listmemory(1) holds " + shown(m) + ", not a number under '" + sep_ + "'");
        }
        checkPanels(n);
        if (e && e->kind == Kind::Tick && e->timer == "Timer2") {
            const std::string mode = calc_->form().find("estado", 11)->caption;
            for (int i = 0; i <= 20; ++i) {
                const std::string& reg = eng.regs.cur[static_cast<size_t>(i)];
                Shown& want = wantLine_[static_cast<size_t>(i)];
                if (!want.known || want.reg != reg || want.mode != mode || want.sep != sep_)
                    want = {true, reg, mode, sep_, morvane::displayText(reg, calc_->decimals, sep_)};
                if (calc_->line(i).caption != want.line)
                    fail(n, "(e) display line",
                         "nivel2(" + std::to_string(i) + ") shows " + shown(calc_->line(i).caption) +
                             ", the register " + shown(reg) + " under \"" + mode + "\" gives " + shown(want.line));
            }
        }
    }

    // The panels' state: one unit A at most, the lists at one offset that
    // paging and the wheel can reach, no infinity or NaN in the converter.
    void checkPanels(int n) {
        auto& p = calc_->panels();
        int marked = 0;
        for (int id : calc_->form().elements("unidad"))
            if (id >= 0 && calc_->form().at(id).border) ++marked;
        if (marked > 1) fail(n, "(f) unit A", std::to_string(marked) + " unit labels carry the border");
        const int top0 = calc_->form().find("listmemory", 0)->listTop,
                  top1 = calc_->form().find("listmemory", 1)->listTop;
        const int lowest = p.memory.lowestOffset();
        if (top0 != top1 || top0 > morvane::panels::MemoryList::kFirstPage || top0 < lowest || (top0 + 30) % 50 != 0)
            fail(n, "(g) list offset", "the lists stand at " + std::to_string(top0) + " and " + std::to_string(top1));
        const auto& t = p.converter.tempcelsius;
        if (!t.isText && !std::isfinite(t.value)) fail(n, "(h) tempcelsius", "holds a value that is not finite");
        for (double f : p.converter.factor)
            if (!std::isfinite(f)) fail(n, "(h) factor cell", "a factor cell holds a value that is not finite");
        for (int i = 0; i < 2; ++i) {
            const std::string& c = calc_->form().find("conv", i)->caption;
            if (hasInfNan(c)) fail(n, "(h) factor cell", "conv(" + std::to_string(i) + ") shows " + shown(c));
        }
    }

    [[noreturn]] void fail(int n, const char* what, const std::string& detail) {
        std::fprintf(stderr, "\nmorvane-fuzz: invariant %s broken %s: %s\n", what,
                     n < 0 ? "at start" : ("after event #" + std::to_string(n)).c_str(), detail.c_str());
        dumpRegisters();
        std::fprintf(stderr, "events (separator at start '%c'):\n", (data_[0] & 1) ? ',' : '.');
        Decoder dec{{data_, size_, size_ ? 1u : 0u}};
        Event e;
        char sep = (size_ && (data_[0] & 1)) ? ',' : '.';
        for (int k = 0; k <= n && dec.next(e, sep); ++k) {
            std::fprintf(stderr, "  #%d %s\n", k, describe(e, sep).c_str());
            if (e.kind == Kind::Separator) sep = sep == '.' ? ',' : '.';
        }
        std::fflush(stderr);
        std::abort();
    }

    void dumpRegisters() const {
        const auto& eng = calc_->eng;
        std::fprintf(stderr, "    sep '%c' log %s", sep_, shown(eng.regs.cur[0], 40).c_str());
        for (int i = 1; i <= 20; ++i)
            if (!eng.regs.cur[static_cast<size_t>(i)].empty())
                std::fprintf(stderr, " %d:%s", i, shown(eng.regs.cur[static_cast<size_t>(i)], 40).c_str());
        std::fprintf(stderr, " mem %s\n", shown(eng.memoria, 40).c_str());
    }

    const uint8_t* data_;
    size_t size_;
    char sep_ = '.', prevSep_ = '.';
    int events_ = -1;  // the event being applied
    morvane::platform::FakeClipboard clip_;
    morvane::platform::FakeRegional regional_;
    morvane::platform::FakeBrowser browser_;
    morvane::platform::FakePrinter printer_;
    morvane::platform::FakeWindowSystem ws_;
    std::unique_ptr<Calculadora> calc_;
    std::string refFailure_;           // what a reference answer found wrong in the last event
    std::set<std::string> exchanged_;  // log texts an exchange key may have moved into a level
    std::set<std::string> pasted_;     // texts that came from the clipboard, and edits of them in the log
    std::set<std::string> legacy_;     // texts stored before a separator switch
    // Texts already checked under the current separator (see check()). The
    // empty text is good everywhere.
    std::array<std::string, 2 * morvane::kRegisters> goodRegister_;
    std::array<std::string, 21> goodLine_;
    std::string goodMemory_ = "\x01";  // never a text of the memory: checked at start
    size_t goodList_ = 0;
    struct Shown {
        bool known = false;
        std::string reg, mode;
        char sep = '.';
        std::string line;
    };
    std::array<Shown, 21> wantLine_;  // the display line a register text gives
};

}  // namespace

// How many events and inputs the target has run, written when the process
// ends (libFuzzer ends with exit(), so this destructor runs), so that a
// run's size can be told in events rather than inputs.
EventCount::~EventCount() {
    if (inputs) std::fprintf(stderr, "morvane-fuzz: %llu events in %llu inputs\n", events, inputs);
}

EventCount& eventCount() {
    static EventCount count;
    return count;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Run run(data, size);
    run.go();
    return 0;
}
