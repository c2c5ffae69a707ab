#include "desktop_entry.h"

#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>

namespace morvane::platform {

void setDesktopEntry(QWidget* window, const QString& id) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return;
    const auto wid = static_cast<xcb_window_t>(window->winId());
    const char* names[] = {"UTF8_STRING", "_KDE_NET_WM_DESKTOP_FILE", "_GTK_APPLICATION_ID"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i) cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(names[i])), names[i]);
    xcb_atom_t atoms[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, cookies[i], nullptr)) {
            atoms[i] = r->atom;
            free(r);
        }
    }
    if (!atoms[0]) return;
    const QByteArray value = id.toUtf8();
    for (int i = 1; i < 3; ++i)
        if (atoms[i])
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, wid, atoms[i], atoms[0], 8,
                                static_cast<uint32_t>(value.size()), value.constData());
}

}  // namespace morvane::platform
