#include "font_preload.h"

#include <dlfcn.h>

namespace morvane::platform {

FontConfigPreload::FontConfigPreload() {
    // FcInit loads the default configuration once per process; Qt's call
    // afterwards finds it loaded. Looked up in the process rather than
    // linked: Qt's GUI library brings fontconfig along.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"))) thread_ = std::thread([init] { init(); });
}

void FontConfigPreload::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace morvane::platform
