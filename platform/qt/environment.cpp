#include "environment.h"

#include <xcb/xcb.h>
#include <QByteArray>
#include <QtGlobal>
#include <string>
#include <vector>

namespace morvane::platform {

namespace {

struct Own {
    std::string name;
    QByteArray value;
};

std::vector<Own>& own() {
    static std::vector<Own> list;
    return list;
}

}  // namespace

void setOwnVariable(const char* name, const char* value) {
    if (qEnvironmentVariableIsSet(name)) return;
    qputenv(name, value);
    own().push_back({name, value});
}

namespace {

// Whether an X server accepts a connection on DISPLAY.
bool x11Answers() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const bool ok = c && !xcb_connection_has_error(c);
    if (c) xcb_disconnect(c);
    return ok;
}

}  // namespace

void choosePlatform() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    setOwnVariable("QT_QPA_PLATFORM", x11Answers() ? "xcb" : "wayland");
}

void withUserEnvironment(const std::function<void()>& f) {
    for (const Own& o : own()) qunsetenv(o.name.c_str());
    f();
    for (const Own& o : own()) qputenv(o.name.c_str(), o.value);
}

}  // namespace morvane::platform
