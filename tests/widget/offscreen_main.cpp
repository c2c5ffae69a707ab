// The main of the widget test programs that run the window offscreen: a
// private runtime folder of mode 0700, as Qt wants it, and the offscreen
// plugin's two notices about masks and size hints kept out of the log.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {

void quietOffscreen(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (msg.contains(QLatin1String("does not support setting window masks")) ||
        msg.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(msg));
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR")) {
        QDir().mkpath(QString::fromLocal8Bit(dir));
        ::chmod(dir, 0700);
    }
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
