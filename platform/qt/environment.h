// Environment variables the program sets for itself (the platform plugin,
// the time zone, X11 options). Programs it starts, such as the browser, get
// the user's own values back.
#pragma once

#include <functional>

namespace morvane::platform {

// Sets name to value for this process, remembering the user's value (or
// that there was none). Only where the user set nothing: a user's choice
// stays untouched and is not recorded.
void setOwnVariable(const char* name, const char* value);

// Chooses the platform plugin where the user chose none: in a Wayland
// session XWayland where an X server answers (keeping a window above the
// others needs X11), else Wayland itself; elsewhere Qt's own choice.
void choosePlatform();

// Runs f with the user's own values of the variables set above, then sets
// them again.
void withUserEnvironment(const std::function<void()>& f);

}  // namespace morvane::platform
