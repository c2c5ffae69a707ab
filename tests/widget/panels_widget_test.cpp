// The tool panels on screen, offscreen: where their controls lie, what
// shows at start, hover and the unit-A marker as the pointer gives them, and
// the memory list's rows inside their clipping window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "tests/widget/shown_window.h"

namespace morvane {
namespace {

struct Place {
    const char* name;
    int index;
    int left, top, width, height;  // twips, in the window
};

// Display area at 330,780; unit tables at 90,390 of it; constant lists at
// 90,360; the memory list's window at 0,420 of its frame at 120,180.
const Place kPlaces[] = {
    {"ctype", 0, 660, 1200, 1215, 195},      {"ctype", 5, 660, 2250, 1215, 195},
    {"ctype", 7, 2100, 1410, 1215, 195},     {"estado", 10, 1680, 780, 1755, 150},
    {"aux", 3, 630, 930, 2715, 165},         {"unidad", 27, 480, 1170, 1365, 195},
    {"unidad", 14, 1890, 2430, 1365, 195},   {"unidad", 41, 480, 1170, 1365, 195},
    {"unidad", 30, 1890, 2010, 1365, 195},   {"convtemp", 0, 480, 1410, 1365, 195},
    {"convtemp2", 3, 1890, 2040, 1365, 195}, {"Label5", -1, 1710, 1230, 495, 165},
    {"mult", 0, 630, 990, 885, 195},         {"mult", 15, 2100, 2460, 885, 195},
    {"mult", 8, 2100, 990, 885, 195},        {"utype", 0, 660, 1200, 2475, 195},
    {"utype", 3, 630, 1830, 2475, 195},      {"cons", 0, 420, 1140, 2895, 195},
    {"cons", 40, 420, 2400, 2895, 195},      {"estado", 14, 1500, 780, 1815, 150},
    {"Picture1", -1, 450, 1380, 2895, 1155}, {"orden", 78, 390, 2700, 465, 150},
    {"orden", 23, 900, 2700, 420, 150},      {"orden", 27, 1860, 2700, 465, 150},
};

class PanelsTest : public ShownWindow {
protected:
    void showPanel(int p) {
        m().click("monitor", p);
        w->afterInput();
    }
    void clickAt(QWidget* cw, QPoint p) {
        QTest::mouseClick(cw, Qt::LeftButton, {}, p);
        QApplication::processEvents();
    }
    QColor pixel(QWidget* cw, QPoint p) {
        const QImage img = w->grab().toImage();
        return img.pixelColor(cw->mapTo(w.get(), p) * img.devicePixelRatio());
    }
};

TEST_F(PanelsTest, EveryPanelControlLiesWhereItsTablePutsIt) {
    for (const Place& p : kPlaces) {
        ControlWidget* cw = widget(p.name, p.index);
        if (!cw) continue;
        const QRect got(cw->mapTo(w.get(), QPoint(0, 0)), cw->size());
        const QRect want(p.left / 15, p.top / 15, p.width / 15, p.height / 15);
        EXPECT_EQ(got, want) << p.name << "(" << p.index << ")";
    }
}

TEST_F(PanelsTest, TablesAndPagesStartHidden) {
    showPanel(1);
    for (int k = 0; k <= 7; ++k) EXPECT_FALSE(widget("subconvert", k)->isVisible()) << k;
    EXPECT_TRUE(widget("ctype", 7)->isVisible());
    EXPECT_FALSE(widget("ctype", 8)->isVisible());
    EXPECT_FALSE(widget("ctype", 9)->isVisible());
    showPanel(3);
    for (int g = 0; g <= 6; ++g) EXPECT_FALSE(widget("subconstant", g)->isVisible()) << g;
    showPanel(8);
    EXPECT_FALSE(widget("info", 1)->isVisible());
    EXPECT_TRUE(widget("saludo")->isVisible());
    EXPECT_TRUE(widget("saludo")->control().caption.find("file:///nowhere/index.htm") != std::string::npos);
}

TEST_F(PanelsTest, HoverFollowsThePointerAndRepaintsOnlyOnAChange) {
    showPanel(1);
    m().click("ctype", 2);
    w->afterInput();
    ControlWidget* a = widget("unidad", 3);
    ControlWidget* b = widget("unidad", 4);
    QTest::mouseMove(a, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(pixel(a, QPoint(60, 6)), QColor(0, 255, 0));
    QTest::mouseMove(b, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(pixel(a, QPoint(60, 6)), QColor(0, 192, 0));
    EXPECT_EQ(pixel(b, QPoint(60, 6)), QColor(0, 255, 0));

    // A further move over the same unit changes no colour: no repaint.
    struct Painted : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } painted;
    for (int id : m().form().elements("unidad"))
        if (id >= 0)
            if (QWidget* u = w->controlWidgets()[static_cast<size_t>(id)]) u->installEventFilter(&painted);
    QTest::mouseMove(b, QPoint(9, 6));
    QApplication::processEvents();
    EXPECT_EQ(painted.paints, 0);
}

TEST_F(PanelsTest, UnitAIsMarkedByAVisibleBorder) {
    showPanel(1);
    m().click("ctype", 2);
    w->afterInput();
    ControlWidget* km = widget("unidad", 5);
    EXPECT_EQ(pixel(km, QPoint(0, 6)), QColor(0, 192, 0));
    clickAt(km, QPoint(40, 6));
    EXPECT_EQ(km->control().border, 1);
    EXPECT_EQ(pixel(km, QPoint(0, 6)), QColor(0, 0, 0));
}

TEST_F(PanelsTest, TheMemoryListDrawsAndTakesItsRowsAtThePageOffset) {
    for (int v = 1; v <= 12; ++v) {
        m().eng.regs.log() = std::to_string(v * 11);
        m().click("tecla", 55);
    }
    showPanel(4);
    ControlWidget* contents = widget("listmemory", 1);
    ControlWidget* window = widget("Picture1");
    // The list lies inside its window, which clips it.
    EXPECT_EQ(contents->parentWidget(), window);
    EXPECT_EQ(contents->height(), window->height());
    // Rows are 10 pixels high from the offset of -2: the second row's middle
    // is at 13; a click there recalls the second value.
    clickAt(contents, QPoint(20, 13));
    EXPECT_EQ(m().eng.regs.log(), "22");
    // One page down (1150 twips) the same point lands on the tenth value.
    showPanel(4);
    m().click("orden", 26);
    w->afterInput();
    clickAt(contents, QPoint(20, 13));
    EXPECT_EQ(m().eng.regs.log(), "110");
    // The number column recalls the content column's selection.
    showPanel(4);
    clickAt(widget("listmemory", 0), QPoint(5, 50));
    EXPECT_EQ(m().eng.regs.log(), "110");
    // The wheel moves both columns by a row a notch.
    showPanel(4);
    QWheelEvent down(QPointF(20, 20), contents->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -240), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(contents, &down);
    EXPECT_EQ(m().form().find("listmemory", 0)->listTop, -1180 - 300);
    EXPECT_EQ(m().form().find("listmemory", 1)->listTop, -1180 - 300);
}

}  // namespace
}  // namespace morvane
