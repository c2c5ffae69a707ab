// The printer on Qt: a composed page painted onto any paint device, and the
// system's default printer that receives it.
#pragma once

#include <functional>

#include "platform/services.h"

class QPainter;
class QPrinter;
class QRectF;
class QString;

namespace morvane::platform {

// Draws the program's icon into a rectangle of device units.
using IconPainter = std::function<void(QPainter&, const QRectF&)>;

// Paints the page onto the device that `p` is active on, from the page's top
// left corner: device units = twips x resolution / 1440, where the
// resolution is the device's own (a printer's dots per inch, an image's
// dots per metre). A white page, its texts in Arial at their point sizes
// (served by Liberation Sans where Arial is absent), each at the top of its
// box and never cut off, its rules as lines 15 twips wide (a pixel at 96 dpi),
// its icons by `icon`.
void paintPage(QPainter& p, const PrintPage& page, const IconPainter& icon);

class QtPrinter : public Printer {
public:
    explicit QtPrinter(IconPainter icon) : icon_(std::move(icon)) {}
    // One page on the default printer; false when there is none, or when it
    // did not take the page (the painter did not begin or end).
    bool print(const PrintPage& page) override;
    // The same page into a PDF file, as the printer would receive it.
    bool printToPdf(const PrintPage& page, const QString& file);

private:
    bool paintOn(QPrinter& printer, const PrintPage& page);
    IconPainter icon_;
};

}  // namespace morvane::platform
