// Benchmarks of the work behind every key and every display tick: the number
// texts, the display refresh of the 21 registers, the clock tick, a stream
// of key events through the window model, and XLS of a full stack.
//
// Each benchmark walks a whole input set per iteration and reports items per
// second, so "items_per_second" reads as conversions, refreshes or events per
// second; the time column is for the whole set.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/numtext.h"
#include "platform/fake.h"
#include "window/model.h"

namespace {

using namespace morvane;

char sepOf(const benchmark::State& state) { return state.range(0) == 0 ? '.' : ','; }

// A spread of finite doubles: small integers, short decimals, full-precision
// values over the whole exponent range (fixed and exponent notation), both
// signs, zeros, subnormals and the range ends.
const std::vector<double>& doubleSpread() {
    static const std::vector<double> values = [] {
        std::vector<double> v;
        std::mt19937_64 rng(20240601);
        std::uniform_real_distribution<double> mantissa(1.0, 10.0);
        std::uniform_int_distribution<int> exponent(-307, 307);
        std::uniform_int_distribution<int> small(-5, 16);
        for (int i = 0; i < 128; ++i) v.push_back(i * 37 - 1000);              // integers
        for (int i = 1; i <= 128; ++i) v.push_back(i / 8.0 - (i % 3) * 0.01);  // short decimals
        for (int i = 0; i < 256; ++i) {
            const double m = mantissa(rng) * std::pow(10.0, small(rng));  // fixed notation mostly
            v.push_back(i % 2 ? -m : m);
        }
        for (int i = 0; i < 256; ++i) {
            const double m = mantissa(rng) * std::pow(10.0, exponent(rng));  // exponent notation mostly
            v.push_back(i % 2 ? -m : m);
        }
        for (int i = 1; i <= 64; ++i) v.push_back(1.0 / (i * 3.0 + 4));  // repeating fractions
        v.insert(v.end(), {0.0, -0.0, 1e-320, -4.9e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
                           -1.7976931348623157e308, 1e15, 99999999999999.9, 0.0001, 0.00009999999999999});
        return v;
    }();
    return values;
}

std::string withSep(std::string t, char sep) {
    for (char& c : t)
        if (c == '.') c = sep;
    return t;
}

// Texts as they reach textToNumber: the registers' own texts (the spread
// written back), texts typed on the keyboard, and the failures (not a number,
// overflow).
std::vector<std::string> textSpread(char sep) {
    std::vector<std::string> v;
    for (double d : doubleSpread()) v.push_back(numberToText(d, sep));
    for (const char* t : {"12",
                          "12.",
                          ".5",
                          "-0.001",
                          " 3 ",
                          "1e5",
                          "1E-300",
                          "2.5E+308",
                          "1E-400",
                          "007",
                          "123456789012345678901234567890",
                          "0.000000000000000000001",
                          "-4.5e-3",
                          "12a",
                          "",
                          "-",
                          "E5",
                          "1.2.3",
                          "1E",
                          "+",
                          "--1",
                          "1E+",
                          "NaN",
                          "inf"})
        v.push_back(withSep(t, sep));
    return v;
}

void BM_numberToText(benchmark::State& state) {
    const char sep = sepOf(state);
    const auto& values = doubleSpread();
    for (auto _ : state)
        for (double d : values) benchmark::DoNotOptimize(numberToText(d, sep));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_numberToText)->ArgName("comma")->Arg(0)->Arg(1);

void BM_textToNumber(benchmark::State& state) {
    const char sep = sepOf(state);
    const auto texts = textSpread(sep);
    for (auto _ : state) {
        for (const std::string& t : texts) {
            double v = 0;
            benchmark::DoNotOptimize(textToNumber(t, sep, v));
            benchmark::DoNotOptimize(v);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_textToNumber)->ArgName("comma")->Arg(0)->Arg(1);

// ---------------------------------------------------------------- the window model

using Fakes = platform::FakeServices;

// Fills the log and all 20 levels with long texts (15 significant digits,
// mostly fixed notation, so that the decimals indicator has work to do).
void fillRegisters(Calculadora& c) {
    for (int i = 0; i <= 20; ++i) {
        const double v = (i % 2 ? -1.0 : 1.0) * std::pow(10.0, -3 + i * 17 / 20) / 7.0;
        c.eng.regs.cur[static_cast<size_t>(i)] = numberToText(v, c.separator());
    }
    c.eng.regs.cur[7] = "-1.23456789012345E+200";
    c.eng.regs.cur[13] = "9.87654321098765E-150";
    c.publish();
}

// One display refresh (Timer2) of 21 full registers. Arg 0: decimals "X";
// 1: decimals "2"; 2: the indicator alternates X / 2, so every line's caption
// changes at every tick.
void BM_Timer2Tick(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    fillRegisters(c);
    const int variant = static_cast<int>(state.range(0));
    // With two decimals nearly every line differs from its register text.
    c.decimals = Decimals(2);
    c.tick("Timer2");
    int formatted = 0;
    for (int i = 0; i <= 20; ++i) formatted += c.line(i).caption != c.eng.regs.cur[static_cast<size_t>(i)];
    if (formatted < 15) state.SkipWithError("the lines show their texts unformatted");
    c.decimals = variant == 1 ? Decimals(2) : Decimals();
    c.tick("Timer2");
    bool flip = false;
    for (auto _ : state) {
        if (variant == 2) c.decimals = (flip = !flip) ? Decimals(2) : Decimals();
        c.tick("Timer2");
        benchmark::DoNotOptimize(c.line(20).caption.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(variant == 0 ? "decimals X" : variant == 1 ? "decimals 2" : "X/2 alternating");
}
BENCHMARK(BM_Timer2Tick)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2);

// The half-second tick (clock, levels indicator, cursor blink) with 21 full
// registers.
void BM_Timer1Tick(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    fillRegisters(c);
    for (auto _ : state) {
        c.tick("Timer1");
        benchmark::DoNotOptimize(c.form().find("estado", 4)->caption.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Timer1Tick);

// publish(): the tail of every event handler and tick.
void BM_publish(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    fillRegisters(c);
    for (auto _ : state) {
        c.publish();
        benchmark::DoNotOptimize(c.form().controls.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_publish);

// The typed session: "12.5" ENTER "3" * ENTER "7" + ENTER "4" - ENTER "9" /
// ENTER, over and over. The stack grows by one level per round and stays full
// once 19 levels are taken.
const char kSession[] = "12.5\r3*\r7+\r4-\r9/\r";

// Range 0: 0 = the handler alone, 1 = handler and the display refresh that
// the window runs after every input (Timer2 at once).
void BM_KeyStream_FormKeyPress(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    const bool refresh = state.range(0) != 0;
    int64_t events = 0;
    for (auto _ : state) {
        for (const char* k = kSession; *k; ++k) {
            c.Form_KeyPress(*k == '\r' ? 13 : *k);
            if (refresh) c.tick("Timer2");
        }
        events += sizeof kSession - 1;
    }
    if (c.eng.regs.cur[19].empty() && state.iterations() > 20)
        state.SkipWithError("the session did not fill the stack");
    state.SetItemsProcessed(events);
}
BENCHMARK(BM_KeyStream_FormKeyPress)->ArgName("refresh")->Arg(0)->Arg(1);

// The same session on the keypad: numero(d), tecla(15) ".", tecla(12) ENTER,
// tecla(0..3) + - * /.
void BM_KeyStream_Click(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    const bool refresh = state.range(0) != 0;
    struct Press {
        const char* name;
        int index;
    };
    std::vector<Press> presses;
    for (const char* k = kSession; *k; ++k) {
        switch (*k) {
            case '\r':
                presses.push_back({"tecla", 12});
                break;
            case '.':
                presses.push_back({"tecla", 15});
                break;
            case '+':
                presses.push_back({"tecla", 0});
                break;
            case '-':
                presses.push_back({"tecla", 1});
                break;
            case '*':
                presses.push_back({"tecla", 2});
                break;
            case '/':
                presses.push_back({"tecla", 3});
                break;
            default:
                presses.push_back({"numero", *k - '0'});
                break;
        }
    }
    // One unmeasured round: every key of the session must have its handler.
    for (const Press& p : presses)
        if (c.click(p.name, p.index) != EventResult::Ok) state.SkipWithError("a key of the session is not handled");
    int64_t events = 0;
    for (auto _ : state) {
        for (const Press& p : presses) {
            c.click(p.name, p.index);
            if (refresh) c.tick("Timer2");
        }
        events += static_cast<int64_t>(presses.size());
    }
    if (c.eng.regs.cur[19].empty() && state.iterations() > 20)
        state.SkipWithError("the session did not fill the stack");
    state.SetItemsProcessed(events);
}
BENCHMARK(BM_KeyStream_Click)->ArgName("refresh")->Arg(0)->Arg(1);

// XLS on a full stack: the tab-separated row of 21 long register texts put on
// the (fake) clipboard, through the key's handler.
void BM_XlsFullStack(benchmark::State& state) {
    Fakes f;
    Calculadora c(f.services(), {});
    fillRegisters(c);
    if (c.click("Label14") != EventResult::Ok ||
        std::count(f.clipboard.content.begin(), f.clipboard.content.end(), '\t') != 21)
        state.SkipWithError("XLS did not copy 21 registers");
    for (auto _ : state) {
        c.click("Label14");
        benchmark::DoNotOptimize(f.clipboard.content.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_XlsFullStack);

}  // namespace

BENCHMARK_MAIN();
