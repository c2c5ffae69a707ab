// The window's shape on X11, in device pixels, and whether a compositing
// manager runs there: Xlib kept to one file, away from its macros.
#pragma once

#include <vector>

namespace morvane::platform {

struct ShapeRow {
    int x, y, width, height;  // device pixels
};

// Whether a compositing manager runs on the X11 display; false off X11.
bool x11CompositorRunning();

// Sets the native window's shape to these rows; false off X11 (nothing set).
bool x11SetShape(unsigned long window, const std::vector<ShapeRow>& rows);

}  // namespace morvane::platform
