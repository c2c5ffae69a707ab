#include "environment.h"

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

void withUserEnvironment(const std::function<void()>& f) {
    for (const Own& o : own()) qunsetenv(o.name.c_str());
    f();
    for (const Own& o : own()) qputenv(o.name.c_str(), o.value);
}

}  // namespace morvane::platform
