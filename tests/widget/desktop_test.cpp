// The window as a desktop sees it, offscreen: the icon it paints is the
// picture of the installed SVG icon; the display timer sleeps while the
// display already shows the registers; the log's cursor blinks by painting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>

#include "window/qt/controlwidget.h"
#include "window/qt/mainwindow.h"
#include "window/qt/skin.h"

namespace morvane {
namespace {

// Root mean square difference of two images' premultiplied channels, 0..1.
double rmse(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (x.size() != y.size()) return 1;
    double sum = 0;
    for (int j = 0; j < x.height(); ++j) {
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            for (int shift : {0, 8, 16, 24}) {
                const double d = (((p >> shift) & 0xFF) - static_cast<double>((q >> shift) & 0xFF)) / 255.0;
                sum += d * d;
            }
        }
    }
    return std::sqrt(sum / (4.0 * x.width() * x.height()));
}

QImage painted(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintIcon(p, size);
    return img;
}

TEST(Icon, WhatTheWindowPaintsIsThePictureOfTheInstalledSvg) {
    // The build renders the PNGs from the SVG with librsvg; Qt paints the
    // same shapes. Antialiasing differs a little at edges: 0.001 to 0.004
    // here, where square corners for round ones give 0.03 to 0.05 and a
    // gradient upside down 0.04.
    for (int size : {16, 32, 64, 256}) {
        const QString png = QStringLiteral(MORVANE_ICON_DIR "/%1x%1/apps/org.morvane.Morvane.png").arg(size);
        const QImage installed(png);
        ASSERT_FALSE(installed.isNull()) << qPrintable(png);
        EXPECT_LT(rmse(painted(size), installed), 0.01) << size << " px";
    }
    // The picture is centred in a rectangle that is not square.
    QImage wide(96, 64, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::transparent);
    QPainter p(&wide);
    paintIcon(p, QRectF(0, 0, 96, 64));
    p.end();
    EXPECT_EQ(wide.copy(16, 0, 64, 64), painted(64));
    EXPECT_EQ(qAlpha(wide.pixel(8, 32)), 0);
}

TEST(Icon, TheWindowIconHoldsTheSizesItIsGivenIn) {
    const QIcon icon = windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), painted(32));
}

class WindowTimers : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> w;
    void SetUp() override {
        w = std::make_unique<MainWindow>(Calculadora::Config{"file:///nowhere/index.htm", "file:///nowhere/ayuda.htm"});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    // A model timer's Qt timer runs under the model timer's name.
    bool running(const char* name) const { return w->findChild<QTimer*>(QString::fromLatin1(name))->isActive(); }
    bool asleep() const { return !running("Timer2"); }
};

TEST_F(WindowTimers, DisplayTimerSleepsWhileTheDisplayShowsTheRegisters) {
    Calculadora& m = w->model();
    EXPECT_TRUE(m.form().timer("Timer2")->enabled);
    // The first tick formats the lines; then there is nothing to rewrite.
    ASSERT_TRUE(QTest::qWaitFor([&] { return asleep(); }, 2000));
    EXPECT_TRUE(running("Timer1"));
    // A key runs the display refresh at once: the timer need not wake.
    QTest::keyClicks(w.get(), QStringLiteral("7.125"));
    EXPECT_EQ(m.line(0).caption, "7.125");
    EXPECT_TRUE(asleep());
    // A display setting that changes with no input behind it: the status
    // timer's next tick finds the display stale and wakes the display timer,
    // whose tick shows the log anew and puts it to sleep again.
    m.decimals = Decimals(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return running("Timer2"); }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return asleep(); }, 2000));
    EXPECT_EQ(m.line(0).caption, "7.13");
}

TEST_F(WindowTimers, TheCursorBlinksByBeingPaintedOrNot) {
    for (QTimer* t : w->findChildren<QTimer*>()) t->stop();
    Calculadora& m = w->model();
    ControlWidget* cursor = w->widgetFor("Shape1");
    ASSERT_NE(cursor, nullptr);
    const QRect r(cursor->mapTo(w.get(), QPoint(0, 0)), cursor->size());
    auto cursorShown = [&] {
        const QImage img = w->grab(r).toImage();
        return img.pixelColor(img.width() / 2, img.height() / 2) == QColor(Qt::black);
    };
    ASSERT_TRUE(m.form().find("Shape1")->visible);
    EXPECT_TRUE(cursorShown());
    for (bool visible : {false, true, false}) {
        m.tick("Timer1");
        w->refresh();
        ASSERT_EQ(m.form().find("Shape1")->visible, visible);
        // The widget stays shown: showing a widget would ask the X server
        // where the pointer is at every blink.
        EXPECT_TRUE(cursor->isVisible());
        EXPECT_EQ(cursorShown(), visible);
    }
}

}  // namespace
}  // namespace morvane
