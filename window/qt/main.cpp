// morvane: the calculator's window.
#include <QApplication>

#include "mainwindow.h"

#ifndef MORVANE_HOME_PAGE
#define MORVANE_HOME_PAGE ""
#endif
#ifndef MORVANE_HELP_PAGE
#define MORVANE_HELP_PAGE ""
#endif

int main(int argc, char** argv) {
    // Positioning, dragging and the topmost flag need X11; on Wayland run
    // through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    morvane::Calculadora::Config config;
    config.homePage = MORVANE_HOME_PAGE;
    config.helpPage = MORVANE_HELP_PAGE;
    morvane::MainWindow w(config);
    w.show();
    return app.exec();
}
