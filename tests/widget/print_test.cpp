// The print page as a printer receives it: painted into a PDF in memory
// and read back with pdftotext -bbox, every text of the page at its
// place within half a point and in its size, nothing else printed, and, on
// the page rendered by pdftoppm, the rule and the icon. Then the PRINT and
// XLS keys of the offscreen window: without a printer (CUPS_SERVER points
// at no scheduler) PRINT reports error 482 on the error panel; XLS puts the
// stack on the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "panels/printpage.h"
#include "platform/qt/qt_printer.h"
#include "window/qt/controlwidget.h"
#include "window/qt/mainwindow.h"

namespace morvane {
namespace {

// The page as the printer receives it, into a file.
bool writePdf(const platform::PrintPage& page, const QString& file) {
    const QByteArray pdf = platform::pagePdf(page, pageIconPainter());
    QFile f(file);
    return !pdf.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(pdf) == pdf.size();
}

struct Word {
    double xMin, yMin, xMax, yMax;  // points from the page's top left corner
    QString text;
    bool used = false;
};

// The words of a PDF's first page as pdftotext -bbox reads them; `title`
// receives the document's title.
std::vector<Word> wordsOf(const QString& pdf, QString* title = nullptr) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext -bbox failed (poppler-utils installed?): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    if (title) {
        static const QRegularExpression t(QStringLiteral("<title>([^<]*)</title>"));
        *title = t.match(html).captured(1);
    }
    static const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString t = m.captured(5);
        t.replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&lt;"), QLatin1String("<"));
        t.replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), t});
    }
    return words;
}

// The height pdftotext gives a line of Arial (ascent + descent), per point
// of font size.
double lineHeightPerPoint() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(2048);
    const QRawFont raw = QRawFont::fromFont(f);
    return (raw.ascent() + raw.descent()) / raw.pixelSize();
}

struct Stack {
    const char* name;
    std::array<std::string, 21> lines;
};
void PrintTo(const Stack& s, std::ostream* os) { *os << s.name; }

Stack stackOf(const char* name, std::initializer_list<std::pair<int, const char*>> filled) {
    Stack s{name, {}};
    for (auto [level, text] : filled) s.lines[static_cast<size_t>(level)] = text;
    return s;
}

class PrintPageTest : public ::testing::TestWithParam<Stack> {
protected:
    QTemporaryDir dir;
    QString pdf() const { return dir.filePath(QStringLiteral("page.pdf")); }
    platform::PrintPage page = panels::composePage(GetParam().lines, panels::dateLine("02/01/2026", "10:11:12"));

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(writePdf(page, pdf()));
    }
};

TEST_P(PrintPageTest, EveryTextStandsAtItsPlaceInItsSizeAndNothingElseIsPrinted) {
    QString title;
    std::vector<Word> words = wordsOf(pdf(), &title);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(title, QStringLiteral("Morvane stack"));
    const double perPoint = lineHeightPerPoint();
    int texts = 0;
    for (const platform::PrintText& t : page.texts) {
        const std::string label = t.name + "(" + std::to_string(t.index) + ") \"" + t.text + "\"";
        const QStringList tokens = QString::fromStdString(t.text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const double top = t.top / 20.0, left = t.left / 20.0, right = (t.left + t.width) / 20.0;
        if (tokens.isEmpty()) {
            // An empty label prints nothing inside its box.
            for (const Word& w : words)
                EXPECT_FALSE(w.xMax > left && w.xMin < right && w.yMax > top && w.yMin < top + t.height / 20.0)
                    << label << " holds " << w.text.toStdString();
            continue;
        }
        ++texts;
        // The run of words that spells the text nearest to its place.
        double bestError = 1e9;
        size_t best = 0;
        for (size_t i = 0; i + static_cast<size_t>(tokens.size()) <= words.size(); ++i) {
            bool same = true;
            for (qsizetype k = 0; k < tokens.size() && same; ++k) {
                const Word& w = words[i + static_cast<size_t>(k)];
                same = w.text == tokens[k] && std::abs(w.yMin - words[i].yMin) < 0.1;
            }
            if (!same) continue;
            const Word& first = words[i];
            const Word& last = words[i + static_cast<size_t>(tokens.size()) - 1];
            double x = 0;
            switch (t.align) {
                case platform::PrintText::Align::Left:
                    x = first.xMin - left;
                    break;
                case platform::PrintText::Align::Right:
                    x = last.xMax - right;
                    break;
                case platform::PrintText::Align::Center:
                    x = (first.xMin + last.xMax) / 2 - (left + right) / 2;
                    break;
            }
            const double error = std::max(std::abs(x), std::abs(first.yMin - top));
            if (error < bestError) {
                bestError = error;
                best = i;
            }
        }
        ASSERT_LT(bestError, 1e9) << label << " is not on the page";
        EXPECT_LE(bestError, 0.5) << label << " lies " << bestError << " pt from its place";
        const Word& w = words[best];
        EXPECT_NEAR((w.yMax - w.yMin) / perPoint, t.pt, 0.1) << label << " is not " << t.pt << " pt";
        for (qsizetype k = 0; k < tokens.size(); ++k) words[best + static_cast<size_t>(k)].used = true;
    }
    // The title, the date line, "20:" to "1:", ">", "LOG", the end line and
    // the values that are not empty.
    int values = 0;
    for (const std::string& v : GetParam().lines) values += !v.empty();
    EXPECT_EQ(texts, 25 + values);
    for (const Word& w : words) EXPECT_TRUE(w.used) << "stray text " << w.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Stacks, PrintPageTest,
    ::testing::Values(stackOf("some levels filled",
                              {{0, "12.5"}, {1, "3.14"}, {7, "123456789012345"}, {20, "-1.5E-300"}}),
                      stackOf("all empty", {})),
    [](const auto& info) { return std::string(info.index == 0 ? "SomeFilled" : "AllEmpty"); });

// The page rendered as a printer's driver would: the rule Line2 and the icon.
TEST(PrintPage, TheRuleIsALineAndTheIconIsThere) {
    QTemporaryDir dir;
    const platform::PrintPage page = panels::composePage({}, panels::dateLine("02/01/2026", "10:11:12"));
    ASSERT_TRUE(writePdf(page, dir.filePath(QStringLiteral("page.pdf"))));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
             dir.filePath(QStringLiteral("page.pdf")), dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(p.waitForFinished(20000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    const QImage img(dir.filePath(QStringLiteral("page.png")));
    ASSERT_EQ(img.size(), QSize(794, 1123));  // A4 at 96 dpi
    auto dark = [&](int x, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            if (qGray(img.pixel(x, y)) < 160) return true;
        return false;
    };
    // From (1920, 1740) to (5130, 1740) twips: x 128 to 342, y 116 pixels.
    for (int x = 129; x <= 341; ++x) EXPECT_TRUE(dark(x, 115, 116)) << "the rule has a gap at x " << x;
    for (int x : {124, 346}) EXPECT_FALSE(dark(x, 115, 116)) << "the rule goes on at x " << x;
    // The icon at (3240, 840), 465 twips square: 216, 56, 31 pixels; its
    // display is the display green.
    int green = 0, ink = 0;
    for (int y = 56; y < 87; ++y) {
        for (int x = 216; x < 247; ++x) {
            const QColor c = img.pixelColor(x, y);
            green += c.green() > 150 && c.red() < 60 && c.blue() < 60;
            ink += qGray(c.rgb()) < 200;
        }
    }
    EXPECT_GT(green, 40);
    EXPECT_GT(ink, 300);
}

// The page draws a register's text as stored, left to right, as the
// display does.
TEST(PrintPage, ValuesAreDrawnAsStoredLeftToRight) {
    auto image = [](const char* value) {
        std::array<std::string, 21> lines{};
        lines[0] = value;
        const platform::PrintPage page = panels::composePage(lines, panels::dateLine("02/01/2026", "10:11:12"));
        QImage img(794, 1123, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        img.fill(Qt::white);  // the page ends within the last column
        QPainter p(&img);
        platform::paintPage(p, page, pageIconPainter());
        return img;
    };
    const QImage plain = image("ab12");
    EXPECT_EQ(image("\u202Eab12"), plain);
    EXPECT_EQ(image("a\u2067b\u202B12"), plain);
    EXPECT_NE(image("\u05D01"), image("1\u05D0"));
}

// ------------------------------------------------------------ the window's keys

class PrintKeys : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> w;
    void SetUp() override {
        w = std::make_unique<MainWindow>(Calculadora::Config{});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void click(std::string_view name, int index = -1) {
        QWidget* cw = w->widgetFor(name, index);
        ASSERT_NE(cw, nullptr) << std::string(name);
        QTest::mouseClick(cw, Qt::LeftButton, {}, cw->rect().center());
    }
    QString shown(std::string_view name) { return QString::fromStdString(w->widgetFor(name)->control().caption); }
};

TEST_F(PrintKeys, PrintWithoutAPrinterShowsError482) {
    for (int d : {4, 2}) click("numero", d);
    click("Label13");
    // The verdict comes from the event loop, once the scheduler is found
    // missing.
    ControlWidget* panel = w->widgetFor("error");
    ASSERT_NE(panel, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(panel->isVisible(), 5000);
    EXPECT_TRUE(w->widgetFor("numeroerror")->isVisible());
    EXPECT_EQ(shown("numeroerror"), QStringLiteral("ERROR E-482"));
    EXPECT_EQ(shown("descripcionerror"),
              QStringLiteral("No se ha podido imprimir la pila: no hay ninguna impresora disponible o la "
                             "impresora ha rechazado el trabajo."));
    EXPECT_FALSE(w->model().form().find("Label11")->visible);
    EXPECT_EQ(w->model().eng.regs.cur[0], "42");
}

TEST_F(PrintKeys, CopyPutsTheRawStackOnTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    click("numero", 7);
    click("tecla", 12);  // ENTER
    click("numero", 2);
    click("tecla", 3);  // ÷: 3.5
    click("tecla", 12);
    click("numero", 1);
    click("Label14");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1\t3.5\t"));
    if (QGuiApplication::clipboard()->supportsSelection()) {
        EXPECT_EQ(QGuiApplication::clipboard()->text(QClipboard::Selection), QStringLiteral("1\t3.5\t"));
    }
}

// Copying puts the new text in place of the old in one change, with no
// clearing first: a clipboard bridge (XWayland's) may take a clear and a set
// in a row for two owners at once.
TEST_F(PrintKeys, CopyingReplacesTheClipboardInOneChange) {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral("before"));
    int changes = 0;
    QObject::connect(clip, &QClipboard::changed, w.get(), [&](QClipboard::Mode m) {
        if (m == QClipboard::Clipboard) ++changes;
    });
    click("numero", 7);
    click("tecla", 47);  // cpy
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clip->text(), QStringLiteral("7"));
    click("Label14");  // XLS
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(clip->text(), QStringLiteral("7\t"));
}

}  // namespace
}  // namespace morvane
