#include "x11shape.h"

#ifdef MORVANE_X11_SHAPE
#include <qguiapplication_platform.h>
#include <QGuiApplication>
#include <string>
// Xlib's macros (None, Bool, Status ...) come after every other header.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#endif

namespace morvane::platform {

#ifdef MORVANE_X11_SHAPE

namespace {

Display* x11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

}  // namespace

// A compositing manager owns the screen's _NET_WM_CM_Sn selection.
bool x11CompositorRunning() {
    Display* d = x11Display();
    if (!d) return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(d));
    const Atom atom = XInternAtom(d, name.c_str(), False);
    return atom != None && XGetSelectionOwner(d, atom) != None;
}

const char* x11DisplayName() {
    Display* d = x11Display();
    return d ? DisplayString(d) : nullptr;
}

bool x11SetShape(unsigned long window, const std::vector<ShapeRow>& rows) {
    Display* d = x11Display();
    if (!d) return false;
    std::vector<XRectangle> rects;
    rects.reserve(rows.size());
    for (const ShapeRow& r : rows)
        rects.push_back(XRectangle{static_cast<short>(r.x), static_cast<short>(r.y),
                                   static_cast<unsigned short>(r.width), static_cast<unsigned short>(r.height)});
    XShapeCombineRectangles(d, static_cast<Window>(window), ShapeBounding, 0, 0, rects.data(),
                            static_cast<int>(rects.size()), ShapeSet, YXBanded);
    XFlush(d);
    return true;
}

#else

bool x11CompositorRunning() { return false; }
const char* x11DisplayName() { return nullptr; }
bool x11SetShape(unsigned long, const std::vector<ShapeRow>&) { return false; }

#endif

}  // namespace morvane::platform
