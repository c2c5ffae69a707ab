// Reading the font configuration (fontconfig's XML files and caches) takes
// a few milliseconds at the first text a program measures. It depends on
// nothing of the display, so it can run on a thread of its own while the
// application object connects to the display.
#pragma once

#include <thread>

namespace morvane::platform {

class FontConfigPreload {
public:
    // Starts the thread, when the process has fontconfig loaded (Qt's
    // font database on Linux).
    FontConfigPreload();
    ~FontConfigPreload() { wait(); }
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;
    // Waits for the thread; call it before the first font is looked up.
    void wait();

private:
    std::thread thread_;
};

}  // namespace morvane::platform
