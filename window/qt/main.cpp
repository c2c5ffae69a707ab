// morvane: the calculator's window.
#include <QApplication>
#include <QFileInfo>
#include <QUrl>

#include "mainwindow.h"
#include "platform/qt/environment.h"

#ifndef MORVANE_HOME_PAGE
#define MORVANE_HOME_PAGE ""
#endif
#ifndef MORVANE_HELP_PAGE
#define MORVANE_HELP_PAGE ""
#endif
#ifndef MORVANE_INSTALL_WEB
#define MORVANE_INSTALL_WEB "/usr/local/share/morvane/web"
#endif

namespace {

// The address of one of the program's pages: the configured one, or the
// file beside the program (in the build tree), or where it is installed.
std::string pageAddress(const char* configured, const char* file) {
    if (configured[0]) return configured;
    for (const QString& dir : {QCoreApplication::applicationDirPath() + QStringLiteral("/web"),
                               QStringLiteral(MORVANE_INSTALL_WEB)}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(file);
        if (QFileInfo::exists(path)) return QUrl::fromLocalFile(path).toString().toStdString();
    }
    return QUrl::fromLocalFile(QStringLiteral(MORVANE_INSTALL_WEB "/") + QLatin1String(file)).toString().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    // Positioning, dragging and the topmost flag need X11; on Wayland run
    // through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        morvane::platform::setOwnVariable("QT_QPA_PLATFORM", "xcb");
    // The clock reads the local time twice a second; with TZ unset the C
    // library looks up the zone file at every read.
    morvane::platform::setOwnVariable("TZ", ":/etc/localtime");
    // The window repaints a few small labels at a time (the clock, the
    // cursor, a display line): plain image requests cost less than shared
    // memory with its completion events, idle and after a key alike.
    morvane::platform::setOwnVariable("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    morvane::Calculadora::Config config;
    config.homePage = pageAddress(MORVANE_HOME_PAGE, "index.htm");
    config.helpPage = pageAddress(MORVANE_HELP_PAGE, "ayuda.htm");
    morvane::MainWindow w(config);
    w.show();
    return app.exec();
}
