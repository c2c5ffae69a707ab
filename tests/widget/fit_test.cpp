// What a new user reads, offscreen: long values in the memory list and the
// display lines, the clock in 12- and 24-hour formats and a long one, their
// tooltips with the whole text, the mark of the selected line, and small
// text on whole pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <cmath>
#include <set>

#include "tests/widget/shown_window.h"
#include "window/layout.h"

namespace morvane {
namespace {

class FitTest : public ShownWindow {
protected:
    void TearDown() override { QToolTip::hideText(); }
    // Draws the window as it is now, so that every widget has worked out
    // what it shows.
    QImage drawn(QWidget* cw) {
        w->refresh();
        return cw->grab().toImage();
    }
    // The tooltip that the pointer resting at p over cw brings up.
    QString tooltipAt(QWidget* cw, QPoint p) {
        // The last tooltip goes at once (hideText() lets it fade).
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String("qtooltip_label")) t->hide();
        QHelpEvent help(QEvent::ToolTip, p, cw->mapToGlobal(p));
        QApplication::sendEvent(cw, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(FitTest, MemoryRowsShrinkThenShowTheirEndWithTheExponentAndTheWholeValueOnHover) {
    const std::string big = "-1.23456789012346E+15", digits = "123456789012345678901234", small = "2.5";
    for (const std::string& v : {big, digits, small}) {
        m().eng.regs.log() = v;
        m().click("tecla", 55);  // >MEM
    }
    m().click("monitor", 4);
    w->afterInput();
    ControlWidget* list = widget("listmemory", 1);
    drawn(list);
    const double width = list->width() - 2;
    // The exponent is never cut: a row either holds the whole value in a
    // smaller size, no smaller than 6 points, or its end after a "…".
    const FittedText first = list->rowText(0), second = list->rowText(1), third = list->rowText(2);
    for (const FittedText& row : {first, second}) {
        EXPECT_GE(row.font.pointSizeF(), kMinSmallPt);
        EXPECT_LE(QFontMetricsF(row.font).horizontalAdvance(row.text), width) << qPrintable(row.text);
    }
    EXPECT_TRUE(first.text == QString::fromStdString(big) ||
                (first.text.startsWith(QChar(0x2026)) && first.text.endsWith(QStringLiteral("E+15"))))
        << qPrintable(first.text);
    EXPECT_TRUE(second.text.startsWith(QChar(0x2026)) && second.text.endsWith(QStringLiteral("78901234")))
        << qPrintable(second.text);
    EXPECT_EQ(second.font.pointSizeF(), kMinSmallPt);
    EXPECT_EQ(third.text, QStringLiteral("2.5"));
    EXPECT_EQ(third.font.pointSizeF(), 6.75);
    // Rows are 10 pixels high from -2: the pointer on a row shows its whole
    // value; off the rows, nothing.
    EXPECT_TRUE(tooltipAt(list, QPoint(20, 3)).contains(QString::fromStdString(big)));
    EXPECT_TRUE(tooltipAt(list, QPoint(20, 13)).contains(QString::fromStdString(digits)));
    EXPECT_TRUE(tooltipAt(list, QPoint(20, 23)).contains(QStringLiteral("2.5")));
    EXPECT_EQ(tooltipAt(list, QPoint(20, 60)), QString());
}

TEST_F(FitTest, TheClockFitsTheTimeInTwelveAndTwentyFourHourFormatsAndALongOne) {
    ControlWidget* clock = widget("estado", 4);
    Control& c = *m().form().find("estado", 4);
    struct Case {
        const char* time;
        bool smaller;
    };
    for (const Case& k : {Case{"23:59:03", false}, Case{"11:59:03 PM", true}, Case{"11:59:03 p. m.", true},
                          Case{"\u00e0 23:59:03 heures, temps universel", true}}) {
        SCOPED_TRACE(k.time);
        c.caption = k.time;
        drawn(clock);
        const FittedText* shown = clock->shown();
        ASSERT_NE(shown, nullptr);
        if (std::string(k.time).size() < 25) {
            EXPECT_EQ(shown->text, QString::fromUtf8(k.time));  // whole: no hour or "M" cut
        } else {
            EXPECT_TRUE(shown->text.startsWith(QChar(0x2026)));  // beyond the smallest and narrowest
        }
        EXPECT_LE(QFontMetricsF(shown->font).horizontalAdvance(shown->text), clock->width());
        EXPECT_GE(shown->font.pointSizeF(), kMinSmallPt);
        EXPECT_TRUE(shown->font.stretch() == 0 || shown->font.stretch() >= kMinStatusStretch);  // 0: unset
        // Drawn smaller or narrower, it tells the whole time on hover.
        const QString tip = tooltipAt(clock, clock->rect().center());
        EXPECT_EQ(tip.contains(QString::fromUtf8(k.time).toHtmlEscaped()), k.smaller) << qPrintable(tip);
        EXPECT_TRUE(tip.contains(QStringLiteral("Time/Spent time"))) << qPrintable(tip);
    }
}

TEST_F(FitTest, ADisplayLineDrawnSmallerOrCutShowsItsWholeTextOnHover) {
    ControlWidget* log = widget("nivel2", 0);
    m().eng.regs.log() = "123";
    m().tick("Timer2");
    drawn(log);
    EXPECT_EQ(tooltipAt(log, log->rect().center()), QStringLiteral("The LOG"));
    m().eng.regs.log() = "123456789012345678901234";
    m().tick("Timer2");
    drawn(log);
    QString tip = tooltipAt(log, log->rect().center());
    EXPECT_TRUE(tip.startsWith(QStringLiteral("<p>The LOG</p>")) &&
                tip.contains(QString::fromStdString(log->control().caption)) && log->control().caption.size() == 25)
        << qPrintable(tip);
    // A level line too; a text of 65536 characters shows its beginning and
    // end in lines of 40.
    m().eng.regs.cur[1] = std::string(65535, '7') + "1";
    m().tick("Timer2");
    ControlWidget* level = widget("nivel2", 1);
    drawn(level);
    tip = tooltipAt(level, level->rect().center());
    EXPECT_TRUE(tip.contains(QStringLiteral("Level 1"))) << qPrintable(tip.left(80));
    EXPECT_TRUE(tip.contains(QString(40, QLatin1Char('7')) + QStringLiteral("<br>")));
    EXPECT_TRUE(QString(tip)
                    .remove(QStringLiteral("<br>"))
                    .endsWith(QString::fromStdString(level->control().caption).right(10) + QStringLiteral("</p>")))
        << level->control().caption.substr(level->control().caption.size() - 10);
    EXPECT_LT(tip.size(), 1000);
}

TEST_F(FitTest, TheSelectedLineIsUnderlinedInItsColour) {
    m().eng.regs.cur[1] = "42";
    m().eng.regs.cur[2] = "43";
    m().tick("Timer2");
    ControlWidget* one = widget("nivel2", 1);
    ControlWidget* two = widget("nivel2", 2);
    auto underline = [&](ControlWidget* line) {
        // The last two rows, across the line, in the text colour.
        const QImage img = drawn(line);
        const double r = img.devicePixelRatio();
        int marked = 0, total = 0;
        for (int x = 4; x < line->width() - 4; x += 3) {
            for (int y : {line->height() - 2, line->height() - 1}) {
                ++total;
                if (img.pixelColor(QPoint(x, y) * r) == QColor(192, 0, 0)) ++marked;
            }
        }
        return marked == total;
    };
    EXPECT_FALSE(underline(one));
    QTest::mouseClick(one, Qt::LeftButton, {}, one->rect().center());
    EXPECT_EQ(one->control().fore, kSelectionRed);
    EXPECT_TRUE(underline(one));
    EXPECT_FALSE(underline(two));
    // The layout's colours stay: the line's background is the display green.
    EXPECT_EQ(drawn(one).pixelColor(QPoint(3, 2) * drawn(one).devicePixelRatio()), QColor(0, 192, 0));
    QTest::mouseClick(one, Qt::LeftButton, {}, one->rect().center());
    EXPECT_FALSE(underline(one));
}

TEST_F(FitTest, SmallTextLiesOnWholePixels) {
    if (pixelsPerPoint(w.get()) != 96.0 / 72) GTEST_SKIP() << "at 100 % only";
    // 6.75 points, 9 pixels: every stem of " kilometer" (the "i" and "l" of
    // which were a grey block) is drawn in the text's colour on the line's
    // background, nothing between.
    m().click("monitor", 1);
    m().click("ctype", 2);
    w->afterInput();
    ControlWidget* km = widget("unidad", 5);
    ASSERT_EQ(km->control().caption, " kilometer");
    const QImage img = drawn(km);
    std::set<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) colours.insert(img.pixel(x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 192, 0), qRgb(0, 0, 0)}));
    // 6 points, 8 pixels (the exponents of the multipliers): each glyph
    // starts on a whole pixel.
    QTextLayout layout(QStringLiteral("-15 Femto"), fontFor(6, true));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (QPointF at : run.positions()) EXPECT_EQ(at.x(), std::round(at.x()));
}

}  // namespace
}  // namespace morvane
