#include "qt_printer.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QTimer>
#include <atomic>

#include "platform/qt/cups_queue.h"
#include "platform/qt/ltr_text.h"

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
    p.setLayoutDirection(Qt::LeftToRight);
    for (const PrintText& t : page.texts) {
        if (t.text.empty()) continue;
        font.setPointSizeF(t.pt);
        font.setBold(t.bold);
        p.setFont(font);
        const QString text = QString::fromUtf8(t.text.data(), static_cast<qsizetype>(t.text.size()));
        p.drawText(box(t.left, t.top, t.width, t.height),
                   Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip | alignmentOf(t.align),
                   drawnLeftToRight(withoutBidiControls(text)));
    }
    p.restore();
}

QByteArray pagePdf(const PrintPage& page, const IconPainter& icon) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    QPdfWriter pdf(&buffer);
    pdf.setTitle(QString::fromStdString(page.docName));
    pdf.setCreator(QStringLiteral("Morvane"));
    pdf.setResolution(1200);
    // Positions are taken from the paper's corner: no margins.
    pdf.setPageSize(
        QPageSize(QSizeF(page.width / 20.0, page.height / 20.0), QPageSize::Point, QString(), QPageSize::FuzzyMatch));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&pdf)) return {};
    paintPage(p, page, icon);
    if (!p.end()) return {};
    return bytes;
}

QtPrinter::QtPrinter(IconPainter icon) : icon_(std::move(icon)) {}

// The queue goes first: its thread may still hand a verdict to context_.
QtPrinter::~QtPrinter() { queue_.reset(); }

void QtPrinter::print(const PrintPage& page, Reply reply) {
    if (waiting_ >= kMostWaiting) return reply(false);
    QByteArray pdf = pagePdf(page, icon_);
    if (pdf.isEmpty()) return reply(false);
    if (!queue_) queue_ = std::make_unique<CupsQueue>();
    ++waiting_;
    // The first of the scheduler's verdict and the deadline answers.
    struct Waiting {
        Reply reply;
        bool answered = false;
        std::shared_ptr<std::atomic<bool>> abandoned = std::make_shared<std::atomic<bool>>(false);
    };
    auto w = std::make_shared<Waiting>();
    w->reply = std::move(reply);
    auto answer = [this, w](bool accepted) {
        if (w->answered) return;
        w->answered = true;
        --waiting_;
        if (!accepted) *w->abandoned = true;
        w->reply(accepted);
    };
    // A scheduler that does not answer is a refusal, even should its thread
    // still be held up somewhere.
    QTimer::singleShot(kAnswerWaitMs + 250, &context_, [answer] { answer(false); });
    CupsQueue::Job job;
    job.pdf.assign(pdf.constData(), static_cast<size_t>(pdf.size()));
    job.title = page.docName;
    job.deadline = CupsQueue::Clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
    job.abandoned = w->abandoned;
    QObject* context = &context_;
    job.done = [context, answer](bool accepted) {
        QMetaObject::invokeMethod(
            context, [answer, accepted] { answer(accepted); }, Qt::QueuedConnection);
    };
    queue_->submit(std::move(job));
}

}  // namespace morvane::platform
