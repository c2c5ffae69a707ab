// The window's shape on X11, in device pixels, whether a compositing manager
// runs there, and the display's name: Xlib kept to one file, away from its
// macros.
#pragma once

#include <vector>

namespace morvane::platform {

struct ShapeRow {
    int x, y, width, height;  // device pixels
};

// Whether a compositing manager runs on the X11 display; false off X11.
bool x11CompositorRunning();

// The name of the X11 display the application uses, for a connection of
// the program's own to the same display; nullptr when unknown (then
// $DISPLAY names it) or off X11.
const char* x11DisplayName();

// Sets the native window's shape to these rows; false off X11 (nothing set).
bool x11SetShape(unsigned long window, const std::vector<ShapeRow>& rows);

}  // namespace morvane::platform
