#include "qt_printer.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

namespace morvane::platform {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kRuleWidthTw = 15;

int alignmentOf(PrintText::Align a) {
    switch (a) {
        case PrintText::Align::Center:
            return Qt::AlignHCenter;
        case PrintText::Align::Right:
            return Qt::AlignRight;
        case PrintText::Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

void paintPage(QPainter& p, const PrintPage& page, const IconPainter& icon) {
    QPaintDevice* device = p.device();
    if (!device) return;
    const double sx = device->logicalDpiX() / kTwipsPerInch;
    const double sy = device->logicalDpiY() / kTwipsPerInch;
    auto box = [&](int left, int top, int width, int height) {
        return QRectF(left * sx, top * sy, width * sx, height * sy);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(box(0, 0, page.width, page.height), Qt::white);
    for (const PrintIcon& i : page.icons) {
        if (!icon) continue;
        p.save();
        icon(p, box(i.left, i.top, i.width, i.height));
        p.restore();
    }
    p.setPen(QPen(Qt::black, kRuleWidthTw * sy, Qt::SolidLine, Qt::FlatCap));
    for (const PrintLine& l : page.lines) p.drawLine(QPointF(l.x1 * sx, l.y1 * sy), QPointF(l.x2 * sx, l.y2 * sy));
    // Point sizes follow the device's own resolution, so a font is the same
    // size on paper, in a PDF and in an image of the page.
    QFont font(QStringLiteral("Arial"));
    font.setHintingPreference(QFont::PreferNoHinting);
    p.setPen(Qt::black);
    for (const PrintText& t : page.texts) {
        if (t.text.empty()) continue;
        font.setPointSizeF(t.pt);
        font.setBold(t.bold);
        p.setFont(font);
        p.drawText(box(t.left, t.top, t.width, t.height),
                   Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip | alignmentOf(t.align),
                   QString::fromUtf8(t.text.data(), static_cast<qsizetype>(t.text.size())));
    }
    p.restore();
}

bool QtPrinter::paintOn(QPrinter& printer, const PrintPage& page) {
    printer.setDocName(QString::fromStdString(page.docName));
    // Positions are taken from the paper's corner, not from the printable area.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QSizeF(page.width / 20.0, page.height / 20.0), QPageSize::Point, QString(),
                                  QPageSize::FuzzyMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter p;
    if (!p.begin(&printer)) return false;
    paintPage(p, page, icon_);
    return p.end();
}

bool QtPrinter::print(const PrintPage& page) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    // Without a print system behind it a QPrinter falls back to writing a
    // PDF, which is not a print.
    if (printer.outputFormat() != QPrinter::NativeFormat) return false;
    return paintOn(printer, page);
}

bool QtPrinter::printToPdf(const PrintPage& page, const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return paintOn(printer, page);
}

}  // namespace morvane::platform
