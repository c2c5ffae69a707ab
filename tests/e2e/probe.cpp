// morvane-e2e-probe: what the end-to-end scripts need to know about the
// window without looking into the running program.
//
//   morvane-e2e-probe box NAME [INDEX]
//       The control's box in window pixels, "W H X Y", computed from the
//       layout tables alone (its own box plus those of its frames).
//   morvane-e2e-probe boxes
//       The same for every control, one a line: "NAME INDEX W H X Y".
//   morvane-e2e-probe render OUT.png [--log TEXT] [--decimals D] [--panel N]
//                            [--notice] [--click NAME:INDEX]... [--error N] [--store VALUE]...
//                            [--log-line | --display] [OUT2.png ...]
//       For each OUT: builds the window offscreen, stores each VALUE in the
//       memory list as ">MEM" does from the log, puts TEXT into the log
//       register, sets the decimals indicator, shows panel N (with --notice,
//       the stack utilities with the print notice), clicks the controls
//       named in order, runs the
//       display refresh and writes a grab of the whole window (or, with
//       --log-line, of the log line less its last column; with --display, of
//       the display area), with --error N after the error report N, at the device
//       pixel ratio that QT_SCALE_FACTOR asks for (1 when unset).
//   morvane-e2e-probe page OUT.png [--log TEXT] [--level TEXT]... [--decimals D]
//                          [--at "YYYY-MM-DD HH:MM:SS"] [--dpi N]
//       The print page that PRINT makes of that stack (the log, then levels
//       1, 2, ...) in that decimals mode, dated by the system's formats at
//       the given local time, painted offscreen as an image of N dots per
//       inch (96 when unset) on a white page.
#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fake.h"
#include "window/layout.h"
#include "window/qt/mainwindow.h"

namespace {

using morvane::ControlDef;

const ControlDef* findDef(std::string_view name, int index) {
    for (const ControlDef* d : morvane::allControls())
        if (d->name == name && d->index == index) return d;
    return nullptr;
}

// A control's box in window pixels: its own box plus those of its frames.
bool windowBox(const ControlDef* d, int& w, int& h, int& x, int& y) {
    int left = d->box.left, top = d->box.top;
    for (const ControlDef* p = d; !p->parent.empty();) {
        p = findDef(p->parent, p->parentIndex);
        if (!p) return false;
        left += p->box.left;
        top += p->box.top;
    }
    const int t = morvane::kTwipsPerPixel;
    w = d->box.width / t;
    h = d->box.height / t;
    x = left / t;
    y = top / t;
    return true;
}

int box(int argc, char** argv) {
    if (argc < 3) return 2;
    const int index = argc > 3 ? std::atoi(argv[3]) : -1;
    const ControlDef* d = findDef(argv[2], index);
    int w, h, x, y;
    if (!d || !windowBox(d, w, h, x, y)) {
        std::fprintf(stderr, "no control %s(%d) in the layout\n", argv[2], index);
        return 1;
    }
    std::printf("%d %d %d %d\n", w, h, x, y);
    return 0;
}

// Every control of the layout, one a line: "NAME INDEX W H X Y".
int boxes() {
    for (const ControlDef* d : morvane::allControls()) {
        int w, h, x, y;
        if (windowBox(d, w, h, x, y))
            std::printf("%.*s %d %d %d %d %d\n", static_cast<int>(d->name.size()), d->name.data(), d->index, w, h, x,
                        y);
    }
    return 0;
}

void quietOffscreen(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (msg.contains(QLatin1String("does not support setting window masks")) ||
        msg.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(msg));
    if (type == QtFatalMsg) std::abort();
}

// The decimals that the status line shows as "X" or a digit.
morvane::Decimals decimalsOf(const std::string& caption) {
    return caption == "X" ? morvane::Decimals() : morvane::Decimals(std::atoi(caption.c_str()));
}

struct State {
    std::string out, log, decimals;
    std::vector<std::string> stored;
    std::vector<std::pair<std::string, int>> clicks;
    int panel = -1, error = -1;
    bool logLine = false, display = false, notice = false;
};

int render(int argc, char** argv) {
    std::vector<State> states;
    for (int i = 2; i < argc; ++i) {
        const char* a = argv[i];
        if (a[0] != '-' || a[1] != '-') {
            states.emplace_back();
            states.back().out = a;
            continue;
        }
        if (states.empty()) return 2;
        State& s = states.back();
        if (!std::strcmp(a, "--log-line")) {
            s.logLine = true;
            continue;
        }
        if (!std::strcmp(a, "--notice")) {
            s.notice = true;
            continue;
        }
        if (!std::strcmp(a, "--display")) {
            s.display = true;
            continue;
        }
        if (i + 1 >= argc) return 2;
        const char* v = argv[++i];
        if (!std::strcmp(a, "--log"))
            s.log = v;
        else if (!std::strcmp(a, "--decimals"))
            s.decimals = v;
        else if (!std::strcmp(a, "--panel"))
            s.panel = std::atoi(v);
        else if (!std::strcmp(a, "--error"))
            s.error = std::atoi(v);
        else if (!std::strcmp(a, "--store"))
            s.stored.push_back(v);
        else if (!std::strcmp(a, "--click") && std::strchr(v, ':'))
            s.clicks.emplace_back(std::string(v, std::strchr(v, ':')), std::atoi(std::strchr(v, ':') + 1));
        else
            return 2;
    }
    if (states.empty()) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    const double ratio =
        qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR") ? 1.0 : qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    for (const State& s : states) {
        morvane::MainWindow w(morvane::Calculadora::Config{});
        morvane::Calculadora& m = w.model();
        for (const std::string& v : s.stored) {
            m.eng.regs.cur[0] = v;
            m.click("tecla", 55);
        }
        m.eng.regs.cur[0] = s.log;
        if (!s.decimals.empty()) m.decimals = decimalsOf(s.decimals);
        if (s.panel >= 0) m.form().find("pantalla", s.panel)->visible = true;
        if (s.notice) {
            // What an accepted print shows.
            m.form().find("pantalla", 9)->visible = true;
            m.form().find("Label11")->visible = true;
        }
        for (const auto& [name, index] : s.clicks) m.click(name, index);
        m.publish();
        if (s.error >= 0) {
            m.eng.err.report(s.error);
            m.publish();
        }
        m.tick("Timer2");
        w.refresh();
        w.show();
        QPixmap shot = w.grab();
        if (shot.devicePixelRatio() != ratio) {
            std::fprintf(stderr, "grab at device pixel ratio %g, not %g\n", shot.devicePixelRatio(), ratio);
            return 1;
        }
        if (s.logLine) {
            // The log line without its last column, which the blinking
            // cursor bar covers.
            int lw, lh, lx, ly;
            if (!windowBox(findDef("nivel2", 0), lw, lh, lx, ly)) return 1;
            const QRect r(QPointF(lx * ratio, ly * ratio).toPoint(), QSizeF((lw - 1) * ratio, lh * ratio).toSize());
            shot = shot.copy(r);
        }
        if (s.display) {
            // The display area, without the log line's last column.
            int dw, dh, dx, dy;
            if (!windowBox(findDef("pila", -1), dw, dh, dx, dy)) return 1;
            const QRect r(QPointF(dx * ratio, dy * ratio).toPoint(), QSizeF(dw * ratio, dh * ratio).toSize());
            shot = shot.copy(r);
        }
        if (!shot.save(QString::fromStdString(s.out), "PNG")) return 1;
    }
    return 0;
}

// The regional settings of the system at a fixed local time.
class FixedClock : public morvane::platform::QtRegional {
public:
    QDateTime at;
    std::string timeText() override { return QtRegional::timeText(at.time()); }
    std::string shortDateText() override { return QtRegional::shortDateText(at.date()); }
};

// Keeps the page that reaches it.
class KeepPage : public morvane::platform::Printer {
public:
    morvane::platform::PrintPage page;
    void print(const morvane::platform::PrintPage& p, Reply reply) override {
        page = p;
        reply(true);
    }
};

int page(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* out = argv[2];
    std::vector<std::string> registers(1);
    std::string decimals;
    int dpi = 96;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    FixedClock clock;
    clock.at = QDateTime::currentDateTime();
    for (int i = 3; i + 1 < argc; i += 2) {
        const char* a = argv[i];
        const char* v = argv[i + 1];
        if (!std::strcmp(a, "--log"))
            registers[0] = v;
        else if (!std::strcmp(a, "--level"))
            registers.push_back(v);
        else if (!std::strcmp(a, "--decimals"))
            decimals = v;
        else if (!std::strcmp(a, "--at"))
            clock.at = QDateTime::fromString(QString::fromLocal8Bit(v), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else if (!std::strcmp(a, "--dpi"))
            dpi = std::atoi(v);
        else
            return 2;
    }
    if ((argc - 3) % 2 || !clock.at.isValid() || dpi <= 0 || registers.size() > 21) return 2;
    morvane::platform::FakeClipboard clipboard;
    KeepPage printer;
    morvane::platform::Services services;
    services.clipboard = &clipboard;
    services.regional = &clock;
    services.printer = &printer;
    // The page that the window's PRINT makes: the display lines refreshed,
    // then the key.
    morvane::Calculadora m(services, {});
    for (size_t i = 0; i < registers.size(); ++i) m.eng.regs.cur[i] = registers[i];
    if (!decimals.empty()) m.decimals = decimalsOf(decimals);
    m.tick("Timer2");
    m.click("Label13");
    if (printer.page.texts.empty()) return 1;
    const morvane::platform::PrintPage& p = printer.page;
    QImage img(qRound(p.width * dpi / 1440.0), qRound(p.height * dpi / 1440.0), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);  // the page ends within the last row
    {
        QPainter painter(&img);
        morvane::platform::paintPage(painter, p, morvane::pageIconPainter());
    }
    return img.save(QString::fromLocal8Bit(out), "PNG") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && !std::strcmp(argv[1], "box")) return box(argc, argv);
    if (argc >= 2 && !std::strcmp(argv[1], "boxes")) return boxes();
    if (argc >= 2 && !std::strcmp(argv[1], "render")) return render(argc, argv);
    if (argc >= 2 && !std::strcmp(argv[1], "page")) return page(argc, argv);
    std::fprintf(stderr,
                 "usage: %s box NAME [INDEX] | boxes | render OUT.png [--log T] [--decimals D] [--panel N] [--notice] "
                 "[--click NAME:INDEX]... [--error N] [--store VALUE]... [--log-line | --display] [OUT2.png ...] | "
                 "page OUT.png [--log T] [--level T]... [--decimals D] [--at \"YYYY-MM-DD HH:MM:SS\"] [--dpi N]\n",
                 argv[0]);
    return 2;
}
