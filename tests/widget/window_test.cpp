// The Qt window offscreen: the widgets made from the layout tables, where
// they sit, what they show and say to a screen reader, how clicks and key
// presses reach the window model, the rounded shape and the grab of the
// display.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "window/layout.h"
#include "window/qt/accessible.h"
#include "window/qt/controlwidget.h"
#include "window/qt/mainwindow.h"
#include "window/qt/skin.h"

// Readable texts in failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QColor& c, std::ostream* os) {
    *os << "RGB(" << c.red() << "," << c.green() << "," << c.blue() << ")";
}
void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
}
void PrintTo(const QSize& z, std::ostream* os) { *os << z.width() << "x" << z.height(); }
void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << "," << p.y() << ")"; }

namespace morvane {
namespace {

// Warnings other than the offscreen plugin's two about masks and size
// hints; a test fails when it leaves any.
QStringList& unexpectedMessages() {
    static QStringList list;
    return list;
}

void messageHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (msg.contains(QLatin1String("does not support setting window masks")) ||
        msg.contains(QLatin1String("propagateSizeHints")) || msg.contains(QLatin1String("does not support raise()")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(msg));
    if (type != QtDebugMsg && type != QtInfoMsg) unexpectedMessages().append(msg);
    if (type == QtFatalMsg) std::abort();
}

struct Place {
    const char* name;
    int index;
    int left, top, width, height;  // twips, within the containing frame
};

// Where the keys and legends lie (window coordinates, twips).
const Place kWindowPlaces[] = {
    {"tecla", 0, 3060, 6900, 345, 225},
    {"tecla", 1, 3060, 6360, 345, 225},
    {"tecla", 2, 3060, 5790, 345, 255},
    {"tecla", 3, 3060, 5220, 345, 225},
    {"tecla", 4, 3120, 4680, 345, 195},
    {"tecla", 5, 2490, 4500, 465, 165},
    {"tecla", 6, 2550, 4680, 345, 195},
    {"tecla", 7, 1980, 3540, 345, 195},
    {"tecla", 8, 1950, 4680, 375, 195},
    {"tecla", 9, 1980, 3330, 375, 165},
    {"tecla", 10, 1410, 4680, 375, 195},
    {"tecla", 11, 1380, 4500, 375, 135},
    {"tecla", 12, 270, 4650, 945, 285},
    {"tecla", 13, 510, 7860, 225, 165},
    {"tecla", 14, 750, 8010, 195, 165},
    {"tecla", 15, 1620, 6900, 435, 285},
    {"tecla", 16, 960, 5010, 285, 165},
    {"tecla", 17, 2280, 6960, 465, 225},
    {"tecla", 18, 2400, 6690, 255, 195},
    {"tecla", 19, 1620, 6750, 375, 165},
    {"tecla", 20, 270, 4110, 345, 255},
    {"tecla", 21, 240, 3930, 345, 135},
    {"tecla", 22, 840, 4140, 345, 195},
    {"tecla", 23, 810, 3930, 345, 135},
    {"tecla", 24, 1410, 4140, 345, 195},
    {"tecla", 25, 1380, 3930, 375, 135},
    {"tecla", 26, 1980, 4140, 345, 195},
    {"tecla", 27, 1980, 3930, 315, 135},
    {"tecla", 28, 2550, 4140, 345, 195},
    {"tecla", 29, 2520, 3900, 345, 165},
    {"tecla", 30, 3120, 4140, 345, 195},
    {"tecla", 31, 3120, 3900, 345, 165},
    {"tecla", 32, 960, 6720, 405, 165},
    {"tecla", 33, 3060, 6720, 315, 165},
    {"tecla", 34, 3030, 6150, 345, 165},
    {"tecla", 35, 3210, 5580, 285, 195},
    {"tecla", 36, 3030, 5040, 375, 165},
    {"tecla", 37, 2880, 8100, 375, 225},
    {"tecla", 38, 3000, 5580, 255, 165},
    {"tecla", 39, 2520, 3540, 345, 195},
    {"tecla", 40, 2550, 3330, 315, 165},
    {"tecla", 41, 3330, 7890, 345, 225},
    {"tecla", 42, 3330, 7740, 195, 165},
    {"tecla", 43, 2880, 7890, 375, 225},
    {"tecla", 44, 2880, 7740, 375, 165},
    {"tecla", 45, 1650, 5010, 225, 165},
    {"tecla", 46, 300, 6360, 345, 195},
    {"tecla", 47, 3090, 3540, 375, 195},
    {"tecla", 48, 3090, 3330, 375, 195},
    {"tecla", 49, 240, 6150, 285, 195},
    {"tecla", 50, 480, 6150, 285, 195},
    {"tecla", 51, 1080, 6150, 405, 165},
    {"tecla", 52, 2460, 6150, 375, 165},
    {"tecla", 53, 1770, 6150, 315, 165},
    {"tecla", 54, 330, 5580, 345, 165},
    {"tecla", 55, 240, 5790, 435, 165},
    {"tecla", 56, 150, 7800, 225, 195},
    {"tecla", 57, 1200, 5580, 195, 165},
    {"tecla", 58, 1920, 5580, 165, 165},
    {"tecla", 59, 2610, 5580, 165, 165},
    {"tecla", 60, 1230, 5010, 165, 165},
    {"tecla", 61, 1920, 5010, 165, 165},
    {"tecla", 62, 2580, 5010, 195, 165},
    {"tecla", 63, 3480, 7710, 195, 225},
    {"tecla", 64, 1980, 4500, 315, 165},
    {"tecla", 65, 3120, 4500, 345, 195},
    {"numero", 7, 900, 5190, 495, 285},
    {"numero", 8, 1590, 5190, 495, 285},
    {"numero", 9, 2280, 5190, 495, 285},
    {"numero", 4, 900, 5760, 495, 285},
    {"numero", 5, 1590, 5730, 495, 315},
    {"numero", 6, 2280, 5760, 495, 285},
    {"numero", 1, 900, 6330, 495, 285},
    {"numero", 2, 1620, 6330, 465, 285},
    {"numero", 3, 2280, 6330, 465, 285},
    {"numero", 0, 930, 6930, 435, 255},
    {"vcp", 0, 240, 5040, 195, 195},
    {"vcp", 2, 450, 5040, 195, 195},
    {"vcp", 1, 210, 5250, 465, 195},
    {"monitor", 9, 210, 3540, 405, 165},
    {"monitor", 3, 780, 3540, 435, 165},
    {"monitor", 1, 1350, 3540, 405, 165},
    {"monitor", 2, 750, 3330, 465, 165},
    {"monitor", 4, 1350, 3330, 405, 165},
    {"monitor", 10, 3300, 8100, 465, 165},
    {"MANEJO", 0, 2820, 150, 195, 165},
    {"MANEJO", 1, 3030, 150, 225, 165},
    {"MANEJO", 2, 3270, 180, 195, 165},
    {"Shape2", 1, 2820, 150, 195, 195},
    {"Shape2", 2, 3030, 150, 195, 195},
    {"Shape2", 3, 3270, 150, 195, 195},
    {"Label10", 0, 2550, 7290, 465, 165},
    {"Label10", 1, 1050, 7770, 465, 165},
    {"Label13", -1, 240, 6750, 405, 165},
    {"Label14", -1, 210, 6960, 435, 195},
    {"Label15", -1, 1710, 3060, 1665, 165},
    {"NumeroDeVersión", -1, 1440, 150, 795, 195},
    {"Image1", -1, 1500, 7710, 480, 480},
    {"bloqueo1", -1, 1980, 7740, 405, 405},
    {"pila", -1, 330, 780, 3045, 2115},
    {"pantallaoff", -1, 330, 780, 3045, 2115},
    {"pantalla", 0, 1260, 8940, 255, 285},
    {"pantalla", 1, 330, 780, 3045, 2115},
    {"pantalla", 2, 330, 780, 3045, 2115},
    {"pantalla", 3, 330, 780, 3045, 2115},
    {"pantalla", 4, 330, 780, 3045, 2115},
    {"pantalla", 8, 330, 780, 3045, 2115},
    {"pantalla", 9, 330, 780, 3045, 2115},
};

// The display's controls, within their frames.
const Place kFramePlaces[] = {
    {"estado", 0, 0, 0, 285, 150},
    {"estado", 1, 330, 0, 510, 150},
    {"estado", 3, 870, 0, 315, 150},
    {"estado", 2, 1230, 0, 360, 150},
    {"estado", 32, 1680, 0, 150, 150},
    {"estado", 11, 1830, 0, 150, 150},
    {"estado", 6, 2040, 0, 315, 150},
    {"estado", 4, 2430, 0, 570, 150},
    {"estado", 7, 1920, 1860, 285, 150},
    {"subpantalla", 0, -90, 240, 3015, 1335},
    {"subpantalla", 1, -90, 240, 3015, 1335},
    {"subpantalla", 2, -90, 240, 3015, 1335},
    {"subpantalla", 3, -90, 240, 3015, 1335},
    {"Label2", -1, 360, 1560, 180, 240},
    {"Label12", -1, 60, 1650, 315, 165},
    {"nivel2", 0, 360, 1590, 2565, 255},
    {"Shape1", -1, 2910, 1620, 75, 195},
    {"estado", 8, 0, 0, 285, 150},
    {"estado", 9, 300, 0, 1050, 150},
    {"estado", 10, 1350, 0, 1755, 150},
    {"estado", 13, 0, 0, 285, 150},
    {"estado", 12, 300, 0, 840, 150},
    {"estado", 16, 0, 0, 285, 150},
    {"estado", 15, 300, 0, 870, 150},
    {"estado", 14, 1170, 0, 1815, 150},
    {"estado", 17, 0, 0, 285, 150},
    {"estado", 18, 300, 0, 1620, 150},
    {"estado", 29, 0, 0, 285, 150},
    {"estado", 30, 300, 0, 1170, 180},
    {"estado", 31, 1140, 0, 1875, 150},
    {"estado", 37, 0, 0, 285, 150},
    {"estado", 36, 300, 0, 1470, 150},
    {"estado", 19, 900, 0, 2085, 150},
    {"estado", 25, 1560, 0, 1425, 150},
};

QRect pixels(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

QString label(const ControlDef& d) {
    return QString::fromUtf8(d.name.data(), static_cast<qsizetype>(d.name.size())) +
           (d.index >= 0 ? QStringLiteral("(%1)").arg(d.index) : QString());
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The colour of an image at a point given in window pixels.
QColor at(const QImage& img, QPoint p) { return img.pixelColor(p * img.devicePixelRatio()); }

class WindowTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> w;

    void SetUp() override {
        unexpectedMessages().clear();
        w = std::make_unique<MainWindow>(Calculadora::Config{"file:///nowhere/index.htm", "file:///nowhere/ayuda.htm"});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    void TearDown() override {
        w.reset();
        EXPECT_TRUE(unexpectedMessages().isEmpty()) << qPrintable(unexpectedMessages().join(QLatin1Char('\n')));
    }

    Calculadora& m() { return w->model(); }

    ControlWidget* widget(std::string_view name, int index = -1) {
        ControlWidget* cw = w->widgetFor(name, index);
        EXPECT_NE(cw, nullptr) << std::string(name) << "(" << index << ") has no widget";
        return cw;
    }

    // The window's own timers stopped, so that nothing but the input under
    // test changes the display.
    void stopTimers() {
        for (QTimer* t : w->findChildren<QTimer*>()) t->stop();
    }

    static void click(QWidget* cw, Qt::MouseButton button = Qt::LeftButton) {
        ASSERT_NE(cw, nullptr);
        QTest::mouseClick(cw, button, {}, cw->rect().center());
    }

    // A widget's rectangle in window pixels.
    QRect inWindow(const QWidget* cw) const { return QRect(cw->mapTo(w.get(), QPoint(0, 0)), cw->size()); }

    // The layout row's box in window twips, from its own box and its frames'.
    Box windowBox(const ControlDef& d) const {
        Box b = d.box;
        for (const ControlDef* p = &d; !p->parent.empty();) {
            const Control* pc = m_const().form().find(p->parent, p->parentIndex);
            if (!pc) break;
            p = pc->def;
            b.left += p->box.left;
            b.top += p->box.top;
        }
        return b;
    }
    const Calculadora& m_const() const { return w->model(); }

    QString accessibleText(QWidget* cw, QAccessible::Text t) const {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(cw);
        return a ? a->text(t) : QString();
    }
};

// ------------------------------------------------------------ placement

TEST_F(WindowTest, EveryVisualControlHasAWidgetAtItsTablePositionInItsFrame) {
    const auto& widgets = w->controlWidgets();
    ASSERT_EQ(widgets.size(), m().form().controls.size());
    int made = 0;
    for (size_t i = 0; i < m().form().controls.size(); ++i) {
        const ControlDef& d = *m().form().controls[i].def;
        ControlWidget* cw = widgets[i];
        if (d.role == Role::Storage) {
            EXPECT_EQ(cw, nullptr) << qPrintable(label(d)) << " only holds a value, yet has a widget";
            continue;
        }
        ASSERT_NE(cw, nullptr) << qPrintable(label(d)) << " has no widget";
        ++made;
        EXPECT_EQ(cw, w->widgetFor(d.name, d.index)) << qPrintable(label(d));
        EXPECT_EQ(cw->controlId(), static_cast<int>(i));
        // Positions in whole pixels, 15 twips a pixel.
        for (int v : {d.box.left, d.box.top, d.box.width, d.box.height})
            EXPECT_EQ(v % kTwipsPerPixel, 0) << qPrintable(label(d)) << " is not on the pixel grid";
        if (d.kind == Kind::List) {
            // A list box fills its clipping window's height; its rows move.
            const ControlDef& window = *m().form().controls[static_cast<size_t>(m().form().controls[i].parent)].def;
            EXPECT_EQ(cw->geometry(), pixels(d.box.left, 0, d.box.width, window.box.height)) << qPrintable(label(d));
        } else {
            EXPECT_EQ(cw->geometry(), pixels(d.box.left, d.box.top, d.box.width, d.box.height)) << qPrintable(label(d));
        }
        QWidget* frame = d.parent.empty() ? static_cast<QWidget*>(w.get()) : w->widgetFor(d.parent, d.parentIndex);
        EXPECT_NE(frame, nullptr) << qPrintable(label(d));
        // The stack view's status keys stand in its status strip, at its top left.
        QWidget* holder = cw->parentWidget();
        if (dynamic_cast<StatusBarWidget*>(holder)) {
            EXPECT_EQ(holder->pos(), QPoint(0, 0)) << qPrintable(label(d));
            holder = holder->parentWidget();
        }
        EXPECT_EQ(holder, frame) << qPrintable(label(d)) << " is not inside " << std::string(d.parent);
    }
    EXPECT_GT(made, 200);
}

TEST_F(WindowTest, KeysAndLegendsLieWhereTheWindowLayoutPutsThem) {
    for (const Place& p : kWindowPlaces) {
        ControlWidget* cw = widget(p.name, p.index);
        if (!cw) continue;
        EXPECT_EQ(inWindow(cw), pixels(p.left, p.top, p.width, p.height)) << p.name << "(" << p.index << ")";
    }
    for (const Place& p : kFramePlaces) {
        ControlWidget* cw = widget(p.name, p.index);
        if (!cw) continue;
        EXPECT_EQ(cw->geometry(), pixels(p.left, p.top, p.width, p.height)) << p.name << "(" << p.index << ")";
    }
    // The log line sits 46 px from the window's left, 158 px from its top.
    EXPECT_EQ(inWindow(widget("nivel2", 0)), QRect(46, 158, 171, 17));
    // Each page holds five levels, the highest on top, 18 px apart.
    for (int level = 1; level <= 20; ++level) {
        ControlWidget* line = widget("nivel2", level);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->parentWidget(), w->widgetFor("subpantalla", (level - 1) / 5)) << "level " << level;
        EXPECT_EQ(line->geometry(), pixels(450, (4 - (level - 1) % 5) * 270, 2565, 255)) << "level " << level;
    }
    // The soft keys of the stack view: one row at top 1920 of the view.
    for (int i = 0; i <= 5; ++i) {
        ControlWidget* key = widget("orden", i);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->parentWidget(), w->widgetFor("pila"));
        EXPECT_EQ(key->y(), 1920 / kTwipsPerPixel);
        EXPECT_EQ(key->height(), 150 / kTwipsPerPixel);
    }
    // "INFO" sits in the bottom legend row, left of "WEB >".
    const QRect info = inWindow(widget("monitor", 8)), web = inWindow(widget("Label10", 0));
    EXPECT_EQ(info.top(), 7290 / kTwipsPerPixel);
    EXPECT_LE(info.right(), web.left());
}

TEST_F(WindowTest, ControlsOfTheStartHeightLieInsideTheWindow) {
    ASSERT_EQ(w->size(), QSize(246, 502));
    const QRect window(QPoint(0, 0), w->size());
    for (ControlWidget* cw : w->controlWidgets()) {
        if (!cw) continue;
        const ControlDef& d = *cw->control().def;
        const Box b = windowBox(d);
        if (b.top >= kStartHeightTw) continue;
        EXPECT_TRUE(window.contains(inWindow(cw))) << qPrintable(label(d)) << " reaches outside the window";
    }
}

TEST_F(WindowTest, LowerStripShowsOnlyInTheTallWindowAndTheOutsideNever) {
    const QRect tall(0, 0, 246, kTallHeightTw / kTwipsPerPixel);
    for (const ControlDef& d : lowerStripLayout()) {
        ControlWidget* cw = widget(d.name, d.index);
        if (!cw) continue;
        const QRect r = inWindow(cw);
        // Below the start and the always-on-top heights ...
        EXPECT_GE(r.top(), kTopmostHeightTw / kTwipsPerPixel) << qPrintable(label(d));
        // ... and, for the strip's own labels (not the contents of the small
        // panel 9), at least partly inside the tall one.
        if (d.parent.empty()) {
            EXPECT_TRUE(tall.intersects(r)) << qPrintable(label(d));
        }
    }
    for (const ControlDef& d : outsideLayout()) {
        if (d.role == Role::Storage) continue;
        ControlWidget* cw = widget(d.name, d.index);
        if (!cw) continue;
        EXPECT_FALSE(tall.intersects(inWindow(cw))) << qPrintable(label(d)) << " shows in the tall window";
    }
    // "hyp" and the second "HELP >" lie at top 8100, below every height.
    EXPECT_GE(inWindow(widget("tecla", 37)).top(), 8100 / kTwipsPerPixel);
    EXPECT_GE(inWindow(widget("monitor", 10)).top(), 8100 / kTwipsPerPixel);
}

// Pairs of clickable controls whose boxes the layout makes overlap; a click
// in the shared pixels goes to the one drawn above.
const std::set<std::pair<std::string, std::string>> kLayoutOverlaps = {
    {"tecla(16)", "tecla(60)"},  // "000" and "D", 1 px
    {"tecla(35)", "tecla(38)"},  // "x!" and "xx", 3 px
    {"tecla(49)", "tecla(50)"},  // "M+" and "M-", 3 px
    {"tecla(4)", "tecla(65)"},   // "del>" dips into the ← key
    {"numero(5)", "tecla(58)"},  // the 5 key starts 1 px above its face, under "B"
    {"tecla(15)", "tecla(19)"},  // "RND" and the decimal point, 1 px
    // The lower strip: "eur"/"pta" and "IVA", "+", "-".
    {"tecla(43)", "tecla(44)"},
    {"tecla(41)", "tecla(42)"},
    {"tecla(42)", "tecla(63)"},
    {"tecla(41)", "tecla(63)"},
    // The display's views.
    {"estado(7)", "orden(3)"},  // the hidden error indicator over the soft keys
    {"estado(7)", "orden(4)"},
    {"estado(30)", "estado(31)"},        // "INFO" and "MORVANE 4.0"
    {"estado(19)", "estado(25)"},        // the spare frame's two labels
    {"listmemory(0)", "listmemory(1)"},  // the memory list's two columns, 1 px
};

// The region a control belongs to: its frame, or for the window's own
// controls the layout table that places it (title band, display, keypad,
// lower strip, outside).
const void* regionOf(const ControlDef& d) {
    if (!d.parent.empty()) return nullptr;
    for (const auto* table :
         {&titleBandLayout(), &displayLayout(), &keypadLayout(), &lowerStripLayout(), &outsideLayout()})
        if (&d >= table->data() && &d < table->data() + table->size()) return table;
    return nullptr;
}

TEST_F(WindowTest, NoTwoClickableControlsOfOneRegionOverlapUnlessTheLayoutMakesThem) {
    std::map<std::pair<QWidget*, const void*>, std::vector<ControlWidget*>> byFrame;
    for (ControlWidget* cw : w->controlWidgets())
        if (cw && cw->control().def->clickable)
            byFrame[{cw->parentWidget(), regionOf(*cw->control().def)}].push_back(cw);
    std::set<std::pair<std::string, std::string>> found;
    for (auto& [frame, keys] : byFrame)
        for (size_t a = 0; a < keys.size(); ++a)
            for (size_t b = a + 1; b < keys.size(); ++b) {
                if (!keys[a]->geometry().intersects(keys[b]->geometry())) continue;
                std::string x = label(*keys[a]->control().def).toStdString();
                std::string y = label(*keys[b]->control().def).toStdString();
                if (y < x) std::swap(x, y);
                found.insert({x, y});
            }
    for (const auto& p : found) EXPECT_TRUE(kLayoutOverlaps.count(p)) << p.first << " overlaps " << p.second;
    for (const auto& p : kLayoutOverlaps)
        EXPECT_TRUE(found.count(p)) << p.first << " and " << p.second << " no longer overlap";
}

TEST_F(WindowTest, EveryVisibleClickableControlCanBeReachedAtItsMiddle) {
    // Except where the layout makes two overlap, the middle of every key
    // belongs to that key: no legend, frame or picture lies over it.
    for (ControlWidget* cw : w->controlWidgets()) {
        if (!cw || !cw->control().def->clickable || !cw->isVisible()) continue;
        const QRect r = inWindow(cw);
        if (!QRect(QPoint(0, 0), w->size()).contains(r.center())) continue;
        QWidget* hit = w->childAt(r.center());
        EXPECT_EQ(hit, cw) << qPrintable(label(*cw->control().def)) << " is covered by "
                           << (hit ? qPrintable(hit->objectName()) : "nothing");
    }
}

// ------------------------------------------------------------ start state

TEST_F(WindowTest, StartStateShowsTheStackViewAndHidesThePanels) {
    struct Expect {
        const char* name;
        int index;
        bool visible;
    };
    const Expect expected[] = {
        {"pila", -1, true},        {"subpantalla", 0, true},  {"estado", 6, true},        {"estado", 4, true},
        {"nivel2", 0, true},       {"nivel2", 1, true},       {"nivel2", 5, true},        {"Shape1", -1, true},
        {"Label2", -1, true},      {"estado", 11, true},      {"estado", 3, true},        {"estado", 2, true},
        {"pantalla", 5, true},  // the empty panel, outside the window
        {"pantalla", 0, false},    {"pantalla", 1, false},    {"pantalla", 2, false},     {"pantalla", 3, false},
        {"pantalla", 4, false},    {"pantalla", 6, false},    {"pantalla", 7, false},     {"pantalla", 8, false},
        {"pantalla", 9, false},    {"error", -1, false},      {"pantallaoff", -1, false}, {"subpantalla", 1, false},
        {"subpantalla", 2, false}, {"subpantalla", 3, false}, {"estado", 7, false},       {"bloqueo1", -1, false},
        {"nivel2", 6, false},      {"nivel2", 20, false},
    };
    for (const Expect& e : expected) {
        ControlWidget* cw = widget(e.name, e.index);
        if (!cw) continue;
        EXPECT_EQ(cw->isVisibleTo(w.get()), e.visible) << e.name << "(" << e.index << ")";
    }
    for (const char* later : {"Label11", "calendario"}) {
        const int index = std::string(later) == "calendario" ? 0 : -1;
        if (ControlWidget* cw = w->widgetFor(later, index)) {
            EXPECT_FALSE(cw->isVisibleTo(w.get())) << later;
        }
    }
    // The window shows exactly what the model holds.
    for (ControlWidget* cw : w->controlWidgets())
        if (cw) {
            EXPECT_EQ(cw->isVisibleTo(cw->parentWidget()), ControlWidget::widgetShown(cw->control()))
                << qPrintable(cw->objectName());
        }
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" Morvane"));
    EXPECT_EQ(w->pos(), QPoint(100, 100));
}

TEST_F(WindowTest, PanelKeysShowOnePanelAtATimeOverTheStackView) {
    const QPoint middle = inWindow(widget("pila")).center();
    click(widget("monitor", 1));  // COV
    EXPECT_TRUE(widget("pantalla", 1)->isVisible());
    QWidget* hit = w->childAt(middle);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == widget("pantalla", 1) || widget("pantalla", 1)->isAncestorOf(hit));
    click(widget("monitor", 4));  // MEM
    EXPECT_FALSE(widget("pantalla", 1)->isVisible());
    EXPECT_TRUE(widget("pantalla", 4)->isVisible());
    click(widget("monitor", 9));  // STK: the stack utilities, over the display like the others
    for (int i : {1, 2, 3, 4, 8}) EXPECT_FALSE(widget("pantalla", i)->isVisible()) << i;
    EXPECT_TRUE(widget("pantalla", 9)->isVisible());
    hit = w->childAt(middle);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == widget("pantalla", 9) || widget("pantalla", 9)->isAncestorOf(hit));
    // What it holds is seen whole: its lines lie inside it and inside the window.
    const QRect panel = inWindow(widget("pantalla", 9));
    for (auto [name, index] : {std::pair<const char*, int>{"aux", 22},
                               {"funpila", 0},
                               {"funpila", 4},
                               {"Label3", -1},
                               {"estado", 36},
                               {"orden", 60}}) {
        ControlWidget* cw = widget(name, index);
        ASSERT_NE(cw, nullptr) << name;
        EXPECT_TRUE(cw->isVisible()) << name << "(" << index << ")";
        EXPECT_TRUE(panel.contains(inWindow(cw))) << name << "(" << index << ")";
    }
    click(widget("estado", 1));  // "STACK" hides panels 1 to 9
    EXPECT_FALSE(widget("pantalla", 9)->isVisibleTo(w.get()));
    for (int i = 0; i <= 9; ++i) EXPECT_FALSE(widget("pantalla", i)->isVisibleTo(w.get())) << i;
}

// ------------------------------------------------------------ texts

struct Texts {
    const char* name;
    int index;
    const char* accessibleName;  // caption or painted legend, or a name that tells it apart
    const char* tooltip;         // the layout's own, where it gives one
};

const Texts kTexts[] = {
    {"numero", 7, "7", ""},
    {"numero", 0, "0", ""},
    {"tecla", 12, "ENTER", ""},
    {"tecla", 20, "SIN", ""},
    {"tecla", 22, "COS", ""},
    {"tecla", 24, "TAN", ""},
    {"tecla", 26, "√x", ""},
    {"tecla", 28, "y^x", ""},
    {"tecla", 30, "1/x", ""},
    {"tecla", 0, "+", ""},
    {"tecla", 1, "−", ""},
    {"tecla", 2, "×", ""},
    {"tecla", 3, "÷", ""},
    {"tecla", 10, "+/-", ""},
    {"tecla", 8, "EEX", ""},
    {"tecla", 15, ".", ""},
    {"tecla", 4, "←", "Delete last number in LOG"},
    {"tecla", 6, "DEL", "Delete STACK content"},
    {"tecla", 5, "undo", ""},
    {"tecla", 17, "PI", ""},
    {"tecla", 19, "RND", "Random number generator"},
    {"tecla", 34, "E(-)", "Negative exponent"},
    {"tecla", 37, "hyp", "Hyperbolic function. Use in sin, asin, cos, acos, tan, atan."},
    {"tecla", 47, "cpy", "Copy the log to the clipboard"},
    {"tecla", 48, "pst", "Paste the clipboard into the log"},
    {"tecla", 55, ">MEM", "Save the LOG in MEM screen"},
    {"tecla", 65, "del>", "Delete LOG content"},
    {"tecla", 41, "IVA", ""},
    {"tecla", 63, "- VAT", ""},
    {"vcp", 0, "V variations", ""},
    {"vcp", 1, "VR variations with repetition", ""},
    {"vcp", 2, "C combinations", ""},
    {"monitor", 9, "STK", "STACK screen"},
    {"monitor", 3, "CON", "Show CONSTANTS screen"},
    {"monitor", 1, "COV", "Show CONVERT screen"},
    {"monitor", 2, "MUL", "Show MULTIPLE screen"},
    {"monitor", 4, "MEM", "Show MEMORY screen"},
    {"monitor", 8, "INFO screen", ""},
    {"monitor", 10, "HELP > screen", "Shows the help screen"},
    {"MANEJO", 0, "Always on top", "Always on top"},
    {"MANEJO", 1, "Minimise", "Minimize"},
    {"MANEJO", 2, "Close", "Close"},
    {"Label10", 0, "WEB >", "Morvane official website"},
    {"Label10", 1, "HELP > page", "Morvane official website"},
    {"Label13", -1, "PRINT", "Prints the STACK"},
    {"Label14", -1, "XLS", "Copy STACK to clipboard (EXEL format)"},
    {"Label15", -1, "ADVANCED ACTIVE LCD", "The LCD is active. You can clic over status bar or stack."},
    {"estado", 0, "ON", ""},
    {"estado", 1, "STACK", ""},
    {"estado", 3, "Degrees", "Mode DEG/RAD/GRA"},
    {"estado", 2, "Hyperbolic off", "Normal/Hiperbolic"},
    {"estado", 32, "R", ""},
    {"estado", 11, "Decimals: all", "Number of decimals"},
    {"estado", 6, "Levels in use: 0", "Stack levels in use"},
    {"estado", 4, nullptr, "Time/Spent time"},  // the time, from the start
    {"estado", 7, "E", "Error LED"},
    {"Label2", -1, ">", "The LOG"},
    {"Label12", -1, "LOG", ""},
    {"NumeroDeVersión", -1, "5 Standard", ""},
};

TEST_F(WindowTest, KeysCarryTheirCaptionTooltipAndAccessibleTexts) {
    for (const Texts& t : kTexts) {
        ControlWidget* cw = widget(t.name, t.index);
        if (!cw) continue;
        const QString where = QStringLiteral("%1(%2)").arg(QLatin1String(t.name)).arg(t.index);
        const QString name =
            t.accessibleName ? QString::fromUtf8(t.accessibleName) : QString::fromStdString(cw->control().caption);
        EXPECT_EQ(accessibleText(cw, QAccessible::Name), name) << qPrintable(where);
        if (*t.tooltip) {
            EXPECT_EQ(cw->toolTip(), QString::fromUtf8(t.tooltip)) << qPrintable(where);
            EXPECT_EQ(accessibleText(cw, QAccessible::Description), QString::fromUtf8(t.tooltip)) << qPrintable(where);
        }
    }
    EXPECT_EQ(widget("nivel2", 0)->toolTip(), QStringLiteral("The LOG"));
    // Captions as the layout gives them at start.
    EXPECT_EQ(widget("estado", 6)->control().caption, "L 0");
    EXPECT_EQ(widget("orden", 0)->control().caption, "<<");
    EXPECT_EQ(widget("orden", 1)->control().caption, " 1:");
    EXPECT_EQ(widget("orden", 2)->control().caption, ">>");
    EXPECT_EQ(widget("orden", 5)->control().caption, "0-1");
    EXPECT_EQ(widget("numeroerror")->control().caption, "ERROR");
    EXPECT_EQ(widget("descripcionerror")->control().caption, "Descripción del error.");
}

// Inside a tool panel or the error box: the panels' tables give their own
// texts.
bool inPanel(const Calculadora& m, const Control& c) {
    for (int p = c.parent; p >= 0; p = m.form().controls[static_cast<size_t>(p)].parent) {
        const std::string_view n = m.form().controls[static_cast<size_t>(p)].def->name;
        if (n == "pantalla" || n == "error") return true;
    }
    return false;
}

TEST_F(WindowTest, EveryKeyAndStatusLabelIsNamedApartAndHasATooltipThatDescribesIt) {
    std::map<QString, std::string> names;  // as heard: case and minus signs alike
    for (ControlWidget* cw : w->controlWidgets()) {
        if (!cw) continue;
        const Control& c = cw->control();
        const ControlDef& d = *c.def;
        if (!d.clickable || inPanel(m(), c)) continue;
        const QString shown = qs(!d.caption.empty() ? d.caption : d.legend).trimmed();
        if (shown.isEmpty() && d.name != "nivel2") continue;  // a blank soft key
        const QString name = accessibleText(cw, QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << qPrintable(label(d));
        QString heard = name.toLower();
        heard.replace(QChar(0x2212), QLatin1Char('-'));
        const auto [it, fresh] = names.emplace(heard, label(d).toStdString());
        EXPECT_TRUE(fresh) << qPrintable(label(d)) << " reads " << qPrintable(name) << " like " << it->second;
        // The layout's own tooltip where it gives one, else one of ours.
        EXPECT_FALSE(cw->toolTip().isEmpty()) << qPrintable(label(d)) << " has no tooltip";
        if (!d.tooltip.empty()) {
            EXPECT_EQ(cw->toolTip(), qs(d.tooltip)) << qPrintable(label(d));
        }
        EXPECT_EQ(accessibleText(cw, QAccessible::Description), cw->toolTip()) << qPrintable(label(d));
        // Every key with a painted face says what it is.
        if (d.face != Face::None) {
            EXPECT_FALSE(shown.isEmpty()) << qPrintable(label(d)) << " has neither caption nor legend";
        }
    }
    EXPECT_GT(names.size(), 100u);
    EXPECT_EQ(widget("vcp", 0)->toolTip(), QStringLiteral("V: variations of n taken k at a time"));
    EXPECT_EQ(widget("tecla", 51)->toolTip(), QStringLiteral("FIX: integer part, truncated"));
    EXPECT_EQ(accessibleText(widget("tecla", 42), QAccessible::Name), QStringLiteral("+ VAT"));
    EXPECT_EQ(accessibleText(widget("tecla", 0), QAccessible::Name), QStringLiteral("+"));
}

TEST_F(WindowTest, AccessibleNamesFollowCaptionsThatChange) {
    // A screen reader reads the mode the indicator shows now.
    click(widget("estado", 11));
    EXPECT_EQ(widget("estado", 11)->control().caption, "9");
    EXPECT_EQ(accessibleText(widget("estado", 11), QAccessible::Name), QStringLiteral("Decimals: 9"));
    click(widget("estado", 3));
    EXPECT_EQ(accessibleText(widget("estado", 3), QAccessible::Name), QStringLiteral("Grads"));
    click(widget("estado", 2));
    EXPECT_EQ(accessibleText(widget("estado", 2), QAccessible::Name), QStringLiteral("Hyperbolic on"));
    // The log line says the value it shows, as it is heard.
    click(widget("numero", 7));
    EXPECT_EQ(accessibleText(widget("nivel2", 0), QAccessible::Name), QStringLiteral("Log: 7"));
}

TEST_F(WindowTest, AScreenReaderCanPressTheKeys) {
    stopTimers();
    QAccessibleInterface* seven = QAccessible::queryAccessibleInterface(widget("numero", 7));
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven->role(), QAccessible::Button);
    QAccessibleActionInterface* action = seven->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
    QAccessibleInterface* enter = QAccessible::queryAccessibleInterface(widget("tecla", 12));
    EXPECT_EQ(enter->text(QAccessible::Name), QStringLiteral("ENTER"));
    enter->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m().eng.regs.cur[1], "7");
    // The display line reads the value it shows.
    QAccessibleInterface* line = QAccessible::queryAccessibleInterface(widget("nivel2", 1));
    EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("Level 1: 7"));
    QAccessibleInterface* legend = QAccessible::queryAccessibleInterface(widget("Label15"));
    EXPECT_EQ(legend->role(), QAccessible::StaticText);
    EXPECT_TRUE(legend->actionInterface() == nullptr || legend->actionInterface()->actionNames().isEmpty() ||
                !legend->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

TEST_F(WindowTest, ArialResolvesToAMetricCompatibleFace) {
    const QFont& f = fontFor(9.75, true);
    const QString family = QFontInfo(f).family();
    EXPECT_TRUE(family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans"))
        << "Arial resolves to " << qPrintable(family) << " (install fonts-liberation)";
    // Arial's digits at 9.75 pt: 72 px for ten of them (DejaVu Sans: 83).
    EXPECT_EQ(QFontMetrics(fontFor(9.75, false)).horizontalAdvance(QStringLiteral("0123456789")), 72);
}

// ------------------------------------------------------------ input

TEST_F(WindowTest, ClickingAKeyChangesTheModelAndTheDisplayAtOnce) {
    stopTimers();
    ControlWidget* log = widget("nivel2", 0);
    ASSERT_NE(log, nullptr);
    const QImage before = log->grab().toImage();
    click(widget("numero", 7));
    EXPECT_EQ(m().eng.regs.cur[0], "7");
    EXPECT_EQ(log->control().caption, "7.");  // no display tick ran
    EXPECT_NE(log->grab().toImage(), before) << "the log line was not repainted";
    click(widget("numero", 5));
    click(widget("tecla", 12));  // ENTER
    EXPECT_EQ(m().eng.regs.cur[1], "75");
    EXPECT_EQ(m().eng.regs.cur[0], "");
    EXPECT_EQ(widget("nivel2", 1)->control().caption, "75.");
    EXPECT_EQ(log->control().caption, "");
    EXPECT_EQ(log->grab().toImage(), before);
    click(widget("numero", 2));
    click(widget("tecla", 2));  // ×
    EXPECT_EQ(m().eng.regs.cur[0], "150");
    EXPECT_EQ(m().eng.regs.cur[1], "");
    EXPECT_EQ(log->control().caption, "150.");
    // The decimals label reformats at once too.
    click(widget("numero", 1));  // 1501
    click(widget("numero", 3));  // 15013
    click(widget("tecla", 12));  // ENTER
    click(widget("numero", 7));
    click(widget("tecla", 3));  // 15013 ÷ 7 = 2144.71428571429
    EXPECT_EQ(log->control().caption, "2144.7142857143");
    click(widget("estado", 11));  // 9
    click(widget("estado", 11));  // 8
    EXPECT_EQ(log->control().caption, "2144.71428571");
}

TEST_F(WindowTest, OnlyALeftClickReleasedOnTheKeyCounts) {
    stopTimers();
    ControlWidget* seven = widget("numero", 7);
    ASSERT_NE(seven, nullptr);
    click(seven, Qt::RightButton);
    EXPECT_EQ(m().eng.regs.cur[0], "");
    // Pressed on the key, released beside it: no click.
    QTest::mousePress(seven, Qt::LeftButton, {}, seven->rect().center());
    QTest::mouseRelease(seven, Qt::LeftButton, {}, QPoint(seven->width() + 5, seven->height() / 2));
    EXPECT_EQ(m().eng.regs.cur[0], "");
    click(seven);
    EXPECT_EQ(m().eng.regs.cur[0], "7");
}

// The mean lightness of a part of the window as it is drawn now.
double lightness(MainWindow& w, const QRect& r) {
    const QImage img = w.grab(r).toImage();
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) sum += img.pixelColor(x, y).lightnessF();
    return sum / (img.width() * img.height());
}

TEST_F(WindowTest, AKeyLooksPressedWhileThePointerHoldsItAndActsOnlyWhenReleasedOnIt) {
    stopTimers();
    ControlWidget* seven = widget("numero", 7);
    ASSERT_NE(seven, nullptr);
    const QRect face = keyFace(*seven->control().def).toAlignedRect();
    ASSERT_FALSE(face.isEmpty());
    const QImage up = w->grab(face).toImage();
    const double light = lightness(*w, face);
    QTest::mousePress(seven, Qt::LeftButton, {}, seven->rect().center());
    EXPECT_TRUE(seven->pressed());
    EXPECT_LT(lightness(*w, face), light - 0.02) << "the face is not drawn held down";
    // Off the key the face comes up; released there, the key does not act.
    QTest::mouseMove(seven, QPoint(seven->width() + 5, seven->height() / 2));
    EXPECT_FALSE(seven->pressed());
    QTest::mouseRelease(seven, Qt::LeftButton, {}, QPoint(seven->width() + 5, seven->height() / 2));
    EXPECT_EQ(m().eng.regs.cur[0], "");
    EXPECT_EQ(w->grab(face).toImage(), up);
    // A legend key (no face of its own) darkens under the pointer too.
    ControlWidget* undo = widget("tecla", 5);
    const QRect legend = inWindow(undo);
    const double before = lightness(*w, legend);
    QTest::mousePress(undo, Qt::LeftButton, {}, undo->rect().center());
    EXPECT_LT(lightness(*w, legend), before - 0.02);
    QTest::mouseRelease(undo, Qt::LeftButton, {}, undo->rect().center());
    EXPECT_FALSE(undo->pressed());
    EXPECT_NEAR(lightness(*w, legend), before, 1e-9);
}

TEST_F(WindowTest, KeyPressesReachTheKeyboardTable) {
    stopTimers();
    QTest::keyClicks(w.get(), QStringLiteral("2"));
    QTest::keyClick(w.get(), Qt::Key_Return);
    QTest::keyClicks(w.get(), QStringLiteral("3"));
    QTest::keyClicks(w.get(), QStringLiteral("+"));
    EXPECT_EQ(m().eng.regs.cur[0], "5");
    EXPECT_EQ(m().eng.regs.cur[1], "");
    EXPECT_EQ(widget("nivel2", 0)->control().caption, "5.");  // at once
    // The keypad's Enter lifts too; "-" subtracts; Backspace edits the log.
    QTest::keyClick(w.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m().eng.regs.cur[1], "5");
    QTest::keyClicks(w.get(), QStringLiteral("12"));
    QTest::keyClick(w.get(), Qt::Key_Backspace);
    EXPECT_EQ(m().eng.regs.cur[0], "1");
    QTest::keyClicks(w.get(), QStringLiteral("-"));
    EXPECT_EQ(m().eng.regs.cur[0], "4");
    EXPECT_EQ(widget("nivel2", 0)->control().caption, "4.");
    // Ctrl+C, Ctrl+V and Ctrl+Z are "cpy", "pst" and "undo".
    QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("4"));
    QGuiApplication::clipboard()->setText(QStringLiteral("2.5"));
    QTest::keyClick(w.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m().eng.regs.cur[0], "2.5");
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m().eng.regs.cur[0], "4");
    // Keys without a character do nothing.
    QTest::keyClick(w.get(), Qt::Key_F1);
    QTest::keyClick(w.get(), Qt::Key_Shift);
    QTest::keyClick(w.get(), Qt::Key_Left);
    EXPECT_EQ(m().eng.regs.cur[0], "4");
    EXPECT_EQ(m().eng.regs.cur[1], "");
}

TEST_F(WindowTest, TheKeyboardMovesAFocusMarkThatThePointerTakesAway) {
    stopTimers();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    // Keys go where Qt sends them: to the widget with the focus.
    const auto key = [](int k) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k)); };
    ControlWidget* log = widget("nivel2", 0);
    ControlWidget* previous = widget("orden", 0);
    ControlWidget* alone = widget("orden", 1);
    EXPECT_EQ(QApplication::focusWidget(), log);
    const QImage plain = previous->grab().toImage();
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), previous);
    EXPECT_NE(previous->grab().toImage(), plain) << "the focused key carries no mark";
    key(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), alone);
    EXPECT_EQ(previous->grab().toImage(), plain) << "the mark stays where the focus left";
    // The keyboard map acts on the log whatever has the focus; Space
    // presses the focused key, Enter stays ENTER.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    key(Qt::Key_Return);
    EXPECT_EQ(m().eng.regs.cur[1], "7");
    EXPECT_TRUE(widget("subpantalla", 0)->isVisible());
    key(Qt::Key_Space);  // " 1:": the log's line alone
    EXPECT_FALSE(widget("subpantalla", 0)->isVisible());
    key(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), previous);
    // A click takes the mark away and leaves the focus.
    const QImage marked = previous->grab().toImage();
    click(widget("numero", 1));
    EXPECT_EQ(QApplication::focusWidget(), previous);
    EXPECT_NE(previous->grab().toImage(), marked);
    EXPECT_EQ(previous->grab().toImage(), plain);
}

TEST_F(WindowTest, TheTallWindowsStripResponds) {
    // At the start height a point of the "+" (with VAT) legend lies outside.
    ControlWidget* plus = widget("tecla", 42);
    ASSERT_NE(plus, nullptr);
    const QPoint p = inWindow(plus).center();
    EXPECT_EQ(w->childAt(p), nullptr);
    click(widget("MANEJO", 0));  // always on top: 504 px
    EXPECT_EQ(w->size(), QSize(246, 504));
    EXPECT_EQ(w->childAt(p), nullptr);
    click(widget("MANEJO", 0));  // not on top: 539 px, the strip shows
    EXPECT_EQ(w->size(), QSize(246, 539));
    EXPECT_EQ(w->pos(), QPoint(100, 100));
    QWidget* hit = w->childAt(p);
    ASSERT_EQ(hit, plus);
    m().eng.regs.cur[0] = "100";
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(w.get(), p));
    EXPECT_EQ(m().eng.regs.cur[0], "116");
}

// ------------------------------------------------------------ shape

// Checks that a region is the rectangle w x h with corners rounded to the
// given radius: every pixel whose centre lies clearly inside the arc is in,
// every one clearly outside is out.
void expectRoundedRect(const QRegion& region, int w, int h, double radius) {
    ASSERT_EQ(region.boundingRect(), QRect(0, 0, w, h));
    int checked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            bool in = true;
            if ((px < radius || px > w - radius) && (py < radius || py > h - radius)) {
                // In a corner square: inside the quarter circle.
                const double d =
                    std::hypot(px - (px < radius ? radius : w - radius), py - (py < radius ? radius : h - radius));
                if (std::abs(d - radius) < 0.75) continue;  // on the arc: either way
                in = d < radius;
            }
            ++checked;
            if (region.contains(QPoint(x, y)) != in)
                ADD_FAILURE() << "pixel (" << x << "," << y << ") " << (in ? "missing" : "not cut away");
        }
    EXPECT_GT(checked, w * h - 4 * 16);
    // Left and right, top and bottom alike.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool in = region.contains(QPoint(x, y));
            EXPECT_EQ(region.contains(QPoint(w - 1 - x, y)), in) << x << "," << y;
            EXPECT_EQ(region.contains(QPoint(x, h - 1 - y)), in) << x << "," << y;
            EXPECT_EQ(region.contains(QPoint(w - 1 - x, h - 1 - y)), in) << x << "," << y;
        }
}

TEST_F(WindowTest, WindowIsCutToARoundedRectangleAtEveryHeight) {
    // The corner ellipse is 246 / 17 = 14 pixels: a radius of 7.
    expectRoundedRect(w->mask(), 246, 502, 7);
    EXPECT_FALSE(w->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(w->mask().contains(QPoint(3, 0)));
    EXPECT_TRUE(w->mask().contains(QPoint(7, 0)));
    EXPECT_TRUE(w->mask().contains(QPoint(0, 7)));
    click(widget("MANEJO", 0));
    expectRoundedRect(w->mask(), 246, 504, 7);
    click(widget("MANEJO", 0));
    expectRoundedRect(w->mask(), 246, 539, 7);
}

// ------------------------------------------------------------ drawing

TEST_F(WindowTest, GrabOfTheDisplayRendersAtTheDevicePixelRatio) {
    const double ratio =
        qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR") ? 1.0 : qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    ControlWidget* pila = widget("pila");
    ASSERT_NE(pila, nullptr);
    m().eng.regs.cur[0] = "-1.5E+20";
    m().eng.regs.cur[1] = "0.333333333333333";
    m().tick("Timer2");
    w->refresh();
    const QPixmap shot = pila->grab();
    EXPECT_EQ(shot.devicePixelRatio(), ratio);
    EXPECT_EQ(shot.size(), QSize(203, 141) * ratio);
    const QImage img = shot.toImage();
    ASSERT_FALSE(img.isNull());
    // The log line holds dark text on the display green.
    const QRect log = widget("nivel2", 0)->geometry();
    int dark = 0;
    for (int y = log.top() * ratio; y < (log.bottom() + 1) * ratio; ++y)
        for (int x = log.left() * ratio; x < (log.right() + 1) * ratio; ++x)
            if (img.pixelColor(x, y).lightness() < 60) ++dark;
    EXPECT_GT(dark, 20 * ratio * ratio);
    const QPixmap whole = w->grab();
    EXPECT_EQ(whole.size(), QSize(246, 502) * ratio);
}

// The first and last columns, in window pixels, that hold any ink on the
// display green within r; (-1, -1) when there is none.
std::pair<int, int> inkColumns(MainWindow& w, const QRect& r) {
    const QImage img = w.grab(r).toImage();
    const double ratio = img.devicePixelRatio();
    int first = -1, last = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixelColor(x, y) != QColor(0, 192, 0)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    if (first < 0) return {-1, -1};
    return {r.left() + static_cast<int>(first / ratio), r.left() + static_cast<int>(last / ratio)};
}

TEST_F(WindowTest, DisplayLinesShowWholeValuesClearOfTheCursorAndTheEdge) {
    stopTimers();
    ControlWidget* log = widget("nivel2", 0);
    const QRect line = inWindow(log), cursor = inWindow(widget("Shape1")), prompt = inWindow(widget("Label2"));
    m().form().find("Shape1")->visible = m().form().find("Label2")->visible = false;  // not the text's ink
    auto show = [&](const std::string& text) {
        m().eng.regs.cur[0] = text;
        m().tick("Timer2");
        w->refresh();
        return fitToWidth(QString::fromStdString(log->control().caption), 9.75, true,
                          cursor.left() - prompt.right() - 3);
    };
    // A 24-digit number (shown with a trailing point) shrinks into its line,
    // whole, between the prompt and the cursor bar.
    const FittedText fitted = show("123456789012345678901234");
    EXPECT_LT(fitted.font.pointSizeF(), 9.75);
    EXPECT_EQ(fitted.text, QString::fromStdString(log->control().caption));
    const auto [first, last] = inkColumns(*w, line);
    EXPECT_GT(first, prompt.right()) << "the number is cut at the left or runs under the prompt";
    EXPECT_LT(last, cursor.left()) << "the cursor bar covers the last character";
    // A typed log too long even for the smallest size shows its end after a mark.
    const FittedText end = show(std::string(60, '7') + "1");
    EXPECT_EQ(end.font.pointSizeF(), kMinLinePt);
    EXPECT_TRUE(end.text.startsWith(QChar(0x2026)) &&
                end.text.endsWith(QString::fromStdString(log->control().caption).right(20)))
        << qPrintable(end.text);
    // A pasted text at the register bound shows its end the same way.
    const FittedText huge = show(std::string(65535, '7') + "1");
    EXPECT_TRUE(huge.text.startsWith(QChar(0x2026)) && huge.text.endsWith(QStringLiteral("7771")));
    EXPECT_LE(QFontMetricsF(huge.font).horizontalAdvance(huge.text), cursor.left() - prompt.right() - 3);
    // The level labels keep a margin from the display's edge ("10:" and
    // "20:" are the widest).
    const QRect display = inWindow(widget("pila"));
    for (int page : {1, 3}) {
        m().form().find("subpantalla", page)->visible = true;
        w->refresh();
        const int left = inkColumns(*w, inWindow(widget("Label1", page * 5 + 4)).intersected(display)).first;
        EXPECT_GE(left - display.left(), 2) << "the label of level " << page * 5 + 5 << " touches the edge";
    }
}

// A register's text is drawn as stored, left to right: the bidirectional
// controls a pasted text may hold are not obeyed, and the letters of a
// right-to-left script keep their stored order. The register keeps its text.
TEST_F(WindowTest, DisplayLinesDrawRegisterTextsAsStoredLeftToRight) {
    stopTimers();
    const QRect line = inWindow(widget("nivel2", 0));
    m().form().find("Shape1")->visible = false;
    auto image = [&](const QString& text) {
        m().eng.regs.cur[0] = text.toStdString();
        m().tick("Timer2");
        w->refresh();
        return w->grab(line).toImage();
    };
    const QImage plain = image(QStringLiteral("ab12"));
    for (char16_t control : {u'\u202E', u'\u202B', u'\u2067', u'\u200F', u'\u061C'})
        EXPECT_EQ(image(QChar(control) + QStringLiteral("ab12")), plain) << std::hex << int(control);
    EXPECT_EQ(image(QStringLiteral("ab\u202E12")), plain);
    EXPECT_EQ(image(QStringLiteral("\u2066ab\u202E1\u202C2\u2069")), plain);
    // Obeyed, the bidirectional algorithm would show both as "1" then alef.
    EXPECT_NE(image(QStringLiteral("\u05D01")), image(QStringLiteral("1\u05D0")));
    image(QStringLiteral("\u202Eab12"));
    EXPECT_EQ(m().eng.regs.cur[0], "\u202Eab12");
}

TEST_F(WindowTest, ColoursOfTheLayoutReachTheScreen) {
    stopTimers();
    const QImage img = w->grab().toImage();
    auto colourAt = [&](std::string_view name, int index, QPoint inside) {
        ControlWidget* cw = widget(name, index);
        return cw ? at(img, inWindow(cw).topLeft() + inside) : QColor();
    };
    const QColor displayGreen(0, 192, 0), darkGreen(0, 128, 0);
    EXPECT_EQ(colourAt("pila", -1, {100, 14}), displayGreen);  // between the status line and page 0
    EXPECT_EQ(colourAt("estado", 0, {0, 9}), darkGreen);       // "ON", bottom-left pixel
    EXPECT_EQ(colourAt("estado", 6, {0, 9}), displayGreen);    // "L 0"
    EXPECT_EQ(colourAt("orden", 3, {10, 5}), darkGreen);       // a blank soft key
    EXPECT_EQ(colourAt("nivel2", 1, {10, 8}), displayGreen);   // an empty level line
    // Text colour: black normally, the selection red once the line is clicked.
    m().eng.regs.cur[0] = "888";
    m().tick("Timer2");
    w->refresh();
    auto reddestAndDarkest = [&](QColor& reddest, QColor& darkest) {
        ControlWidget* line = widget("nivel2", 0);
        const QImage g = line->grab().toImage();
        reddest = darkest = displayGreen;
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x) {
                const QColor c = g.pixelColor(x, y);
                if (c.red() - c.green() > reddest.red() - reddest.green()) reddest = c;
                if (c.lightness() < darkest.lightness()) darkest = c;
            }
    };
    QColor reddest, darkest;
    reddestAndDarkest(reddest, darkest);
    EXPECT_LT(darkest.lightness(), 30);
    EXPECT_LT(reddest.red(), 60);
    click(widget("nivel2", 0));
    EXPECT_EQ(widget("nivel2", 0)->control().fore, kSelectionRed);
    reddestAndDarkest(reddest, darkest);
    EXPECT_GE(reddest.red(), 150);
    EXPECT_LE(reddest.green(), 40);
    // The close key's dark cover over the display.
    click(widget("MANEJO", 2));
    EXPECT_TRUE(widget("pantallaoff")->isVisible());
    const QImage closed = w->grab().toImage();
    EXPECT_EQ(at(closed, inWindow(widget("pila")).center()), QColor(0, 64, 0));
}

TEST_F(WindowTest, CloseKeyEndsTheProgram360MillisecondsLater) {
    // The close key's timer, by its name in the model.
    QTimer* close = w->findChild<QTimer*>(QStringLiteral("Timer4"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->interval(), 360);
    EXPECT_FALSE(close->isActive());
    click(widget("MANEJO", 2));
    EXPECT_TRUE(close->isActive());
    EXPECT_FALSE(m().ended);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m().ended; }, 2000));
    EXPECT_FALSE(close->isActive());
}

}  // namespace
}  // namespace morvane

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    // A private runtime folder of mode 0700, as Qt wants it.
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR")) {
        QDir().mkpath(QString::fromLocal8Bit(dir));
        ::chmod(dir, 0700);
    }
    qInstallMessageHandler(morvane::messageHandler);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
