// morvane: the calculator's window.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <functional>

#include "mainwindow.h"
#include "platform/qt/desktop_entry.h"
#include "platform/qt/environment.h"
#include "platform/qt/font_preload.h"
#include "skin.h"

#ifndef MORVANE_HOME_PAGE
#define MORVANE_HOME_PAGE ""
#endif
#ifndef MORVANE_HELP_PAGE
#define MORVANE_HELP_PAGE ""
#endif
#ifndef MORVANE_WEB_FROM_BIN
#define MORVANE_WEB_FROM_BIN "../share/morvane/web"
#endif
#ifndef MORVANE_VERSION
#define MORVANE_VERSION ""
#endif
#ifndef MORVANE_APP_ID
#define MORVANE_APP_ID "morvane"
#endif

namespace {

// The address of one of the program's pages: the configured one, or the
// file in the folder "web" beside the program (the build tree), or the one
// installed at the data folder's place relative to the program, so that an
// installation under any prefix, or moved elsewhere, finds its own pages.
std::string pageAddress(const char* configured, const char* file) {
    if (configured[0]) return configured;
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString installed =
        QDir::cleanPath(bin.filePath(QStringLiteral(MORVANE_WEB_FROM_BIN "/") + QLatin1String(file)));
    const QString beside = bin.filePath(QStringLiteral("web/") + QLatin1String(file));
    const QString& path = QFileInfo::exists(beside) ? beside : installed;
    return QUrl::fromLocalFile(path).toString().toStdString();
}

enum class Start { Window, Exit, Fail };

// The command line, read before the application object exists: --help and
// --version answer on the terminal with no display. Qt's own options for
// graphical programs (-platform, -display, -style, ...) are let through
// for QApplication, which takes them out of argv itself.
Start readCommandLine(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Morvane, a scientific calculator in Reverse Polish Notation."));
    // Qt's options are words after a single dash, as in "-platform xcb".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
                             "qwindowtitle", "title", "qwindowicon", "icon", "display", "name", "visual", "style",
                             "stylesheet", "session", "qmljsdebugger"}) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    if (!parser.parse(args) || !parser.positionalArguments().isEmpty()) {
        const QString why = parser.positionalArguments().isEmpty()
                                ? parser.errorText()
                                : QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first());
        std::fprintf(stderr, "morvane: %s\nTry 'morvane --help' for the options.\n", qPrintable(why));
        return Start::Fail;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version)) {
        // A core application object, which needs no display, gives the
        // usage line the program's name; process() prints and exits with 0.
        QCoreApplication app(argc, argv);
        parser.process(app);
        return Start::Exit;
    }
    return Start::Window;
}

// Runs a task once, after the window's first frame: the task is queued
// when the window receives its first paint event, and the frame is flushed
// to the screen before the event loop comes round to it.
class AfterFirstFrame : public QObject {
public:
    AfterFirstFrame(QWidget* window, std::function<void()> task) : task_(std::move(task)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, task_);
        }
        return false;
    }

private:
    std::function<void()> task_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("morvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    // With no arguments there is nothing to read (and the parser's code
    // need not be loaded).
    switch (argc > 1 ? readCommandLine(argc, argv) : Start::Window) {
        case Start::Exit:
            return 0;
        case Start::Fail:
            return 2;
        case Start::Window:
            break;
    }
    // Keeping the window above the others needs X11: on Wayland through
    // XWayland where it runs, else natively.
    morvane::platform::choosePlatform();
    // The clock reads the local time twice a second; with TZ unset the C
    // library looks up the zone file at every read.
    morvane::platform::setOwnVariable("TZ", ":/etc/localtime");
    // The window repaints a few small labels at a time (the clock, the
    // cursor, a display line): plain image requests cost less than shared
    // memory with its completion events, idle and after a key alike.
    morvane::platform::setOwnVariable("QT_XCB_NO_MITSHM", "1");
    // The font configuration loads while the application connects to the
    // display; the first paint measures text.
    morvane::platform::FontConfigPreload fonts;
    QApplication app(argc, argv);
    // The taskbar matches the window to its desktop entry and shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
    morvane::Calculadora::Config config;
    config.homePage = pageAddress(MORVANE_HOME_PAGE, "index.htm");
    config.helpPage = pageAddress(MORVANE_HELP_PAGE, "ayuda.htm");
    fonts.wait();
    morvane::MainWindow w(config);
    // The icon and the desktop entry's name go to the window system once the
    // first frame is out: nothing on screen waits for them, and a taskbar
    // takes them up when they change. Then the free pages that start-up
    // left inside the heap (the font configuration's parsing, Qt's set-up,
    // the skin's measuring) go back to the system: about 200 KB.
    AfterFirstFrame later(&w, [&w] {
        morvane::platform::setDesktopEntry(&w, QStringLiteral(MORVANE_APP_ID));
        QGuiApplication::setWindowIcon(morvane::windowIcon());
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    });
    w.show();
    return app.exec();
}
