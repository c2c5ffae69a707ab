// Which desktop entry the main window belongs to, told to the window
// system, so that a taskbar or dock shows the entry's name and icon for it.
#pragma once

class QWidget;
class QString;

namespace morvane::platform {

// On X11 the window carries the entry's id (without ".desktop") in
// _KDE_NET_WM_DESKTOP_FILE and _GTK_APPLICATION_ID, which KDE's and GNOME's
// shells read; elsewhere (Wayland) Qt passes QGuiApplication's desktop file
// name on by itself. Makes the window's native window.
void setDesktopEntry(QWidget* window, const QString& id);

}  // namespace morvane::platform
