// Benchmarks of the tool panels through the window model: one unit
// conversion, a hover move over a unit (with and without a change of
// colour), and the memory list's append, recall and paging with many stored
// values, which must not grow with the list.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/fake.h"
#include "window/model.h"

namespace {

using namespace morvane;

// " kilometer" to " meter" with 2 in the log: two clicks.
void BM_Conversion(benchmark::State& state) {
    platform::FakeServices f;
    Calculadora c(f.services(), {});
    c.click("monitor", 1);
    c.click("ctype", 2);
    for (auto _ : state) {
        c.eng.regs.log() = "2";
        c.click("unidad", 5);
        c.click("unidad", 0);
        benchmark::DoNotOptimize(c.eng.regs.log().data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Conversion);

// arg 0: the pointer stays over one unit (nothing changes colour);
// arg 1: it moves between two units (two labels change colour).
void BM_HoverUnit(benchmark::State& state) {
    platform::FakeServices f;
    Calculadora c(f.services(), {});
    c.click("monitor", 1);
    c.click("ctype", 2);
    const bool alternate = state.range(0) == 1;
    int i = 0;
    bool changed = false;
    for (auto _ : state) {
        c.move("unidad", alternate && (++i & 1) ? 6 : 5, &changed);
        benchmark::DoNotOptimize(changed);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HoverUnit)->ArgName("alternate")->Arg(0)->Arg(1);

Calculadora& listOf(platform::FakeServices& f, std::unique_ptr<Calculadora>& c, int n) {
    c = std::make_unique<Calculadora>(f.services(), Calculadora::Config{});
    for (int i = 0; i < n; ++i) {
        c->eng.regs.log() = std::to_string(i);
        c->click("tecla", 55);
    }
    c->click("monitor", 4);
    return *c;
}

// ">MEM" on a list of n values (the list grows by one each iteration).
void BM_MemoryAppend(benchmark::State& state) {
    platform::FakeServices f;
    std::unique_ptr<Calculadora> owner;
    Calculadora& c = listOf(f, owner, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        c.eng.regs.log() = "12.5";
        c.click("tecla", 55);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoryAppend)->ArgName("values")->Arg(100)->Arg(10000);

// A recall of the last value and two page keys, on a list of n values.
void BM_MemoryRecallAndPage(benchmark::State& state) {
    platform::FakeServices f;
    std::unique_ptr<Calculadora> owner;
    const int n = static_cast<int>(state.range(0));
    Calculadora& c = listOf(f, owner, n);
    for (auto _ : state) {
        c.click("listmemory", 1, n - 1);
        c.click("orden", 26);
        c.click("orden", 24);
        c.wheel("listmemory", 1, 1);
        benchmark::DoNotOptimize(c.eng.regs.log().data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoryRecallAndPage)->ArgName("values")->Arg(100)->Arg(10000);

}  // namespace
