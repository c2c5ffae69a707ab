// The print page: composed from 21 full display lines by the PRINT key and
// painted into a PDF in memory (what the print system receives),
// and the same page painted into an image. Qt runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "engine/numtext.h"
#include "panels/printpage.h"
#include "platform/fake.h"
#include "platform/qt/qt_printer.h"
#include "window/model.h"
#include "window/qt/mainwindow.h"

namespace {

using namespace morvane;

// Keeps the last page that reaches it.
class KeepPage : public platform::Printer {
public:
    platform::PrintPage page;
    void print(const platform::PrintPage& p, Reply reply) override {
        page = p;
        reply(true);
    }
};

// A model whose 21 display lines hold long texts, as after a busy session.
struct FullStack {
    platform::FakeServices fakes;
    KeepPage printer;
    std::unique_ptr<Calculadora> calc;
    FullStack() {
        platform::Services s = fakes.services();
        s.printer = &printer;
        calc = std::make_unique<Calculadora>(s, Calculadora::Config{});
        for (int i = 0; i <= 20; ++i)
            calc->eng.regs.cur[static_cast<size_t>(i)] =
                numberToText((i % 2 ? -1.0 : 1.0) * std::pow(10.0, -3 + i * 17 / 20) / 7.0, '.');
        calc->eng.regs.cur[7] = "-1.23456789012345E+200";
        calc->tick("Timer2");
    }
};

// The PRINT key's composition alone (the model's handler with a printer that
// keeps the page).
void BM_PrintCompose(benchmark::State& state) {
    FullStack f;
    for (auto _ : state) {
        f.calc->click("Label13");
        benchmark::DoNotOptimize(f.printer.page.texts.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintCompose);

// Composing and painting the page into a PDF in memory: the work PRINT does
// on the window's thread before the scheduler is asked.
void BM_PrintPagePdf(benchmark::State& state) {
    FullStack f;
    qsizetype bytes = 0;
    for (auto _ : state) {
        f.calc->click("Label13");
        bytes = platform::pagePdf(f.printer.page, pageIconPainter()).size();
        if (!bytes) state.SkipWithError("no PDF was made");
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintPagePdf)->Unit(benchmark::kMillisecond);

// The same page painted into an A4 image at 96 dpi.
void BM_PrintPageImage(benchmark::State& state) {
    FullStack f;
    f.calc->click("Label13");
    QImage img(794, 1123, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    for (auto _ : state) {
        QPainter p(&img);
        platform::paintPage(p, f.printer.page, pageIconPainter());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintPageImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
