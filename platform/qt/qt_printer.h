// The printer on Qt: a composed page painted onto any paint device, as a
// PDF in memory, and the system's default printer that receives it.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "platform/services.h"

class QByteArray;
class QPainter;
class QRectF;

namespace morvane::platform {

class CupsQueue;

// Draws the program's icon into a rectangle of device units.
using IconPainter = std::function<void(QPainter&, const QRectF&)>;

// Paints the page onto the device that `p` is active on, from the page's top
// left corner: device units = twips x resolution / 1440, where the
// resolution is the device's own (a PDF's 1200 dots per inch, an image's
// dots per metre). A white page, its texts in Arial at their point sizes
// (served by Liberation Sans where Arial is absent), each at the top of its
// box, never cut off and drawn left to right as stored, its rules as lines
// 15 twips wide (a pixel at 96 dpi), its icons by `icon`.
void paintPage(QPainter& p, const PrintPage& page, const IconPainter& icon);

// The page as a one-page PDF at 1200 dpi, titled with the page's document
// name: what the printer receives. Empty when it could not be made.
QByteArray pagePdf(const PrintPage& page, const IconPainter& icon);

// The default printer, through CUPS. The page is made into a PDF at once
// (what is printed is the page as it was at the moment of printing); the
// scheduler is asked on a thread of its own (cups_queue.h), and its verdict
// comes back on the window's thread: accepted, refused, or no answer
// within kAnswerWaitMs, which is a refusal.
class QtPrinter : public Printer {
public:
    static constexpr int kAnswerWaitMs = 8000;
    // Pages that may wait for the printer's verdict at one time; a page
    // beyond them is refused at once.
    static constexpr int kMostWaiting = 8;

    explicit QtPrinter(IconPainter icon);
    ~QtPrinter() override;
    void print(const PrintPage& page, Reply reply) override;

private:
    IconPainter icon_;
    int waiting_ = 0;
    QObject context_;  // verdicts are delivered while it lives
    std::unique_ptr<CupsQueue> queue_;
};

}  // namespace morvane::platform
