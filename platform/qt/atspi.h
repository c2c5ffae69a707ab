// What Qt's bridge to AT-SPI (the Linux accessibility bus) leaves untold.
#pragma once

class QAccessibleInterface;

namespace morvane::platform {

// Tells every AT-SPI client that the object's "visible" state is now `on`.
// Qt reports "visible" and "showing" as one state but sends only
// "showing" changes, so a client's cache (Orca's) would keep the
// "visible" it first saw: an object first met hidden would never read as
// visible again. Does nothing without an accessibility bus.
void atspiVisibleChanged(QAccessibleInterface* object, bool on);

}  // namespace morvane::platform
