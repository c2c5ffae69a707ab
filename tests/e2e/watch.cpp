// morvane-e2e-watch: how long a window leaves an area unpainted. Every
// PERIOD ms it covers the screen rectangle X Y W H (root coordinates) with a
// magenta window of its own, uncovers it again and times how long the area
// takes to show what it showed before: the window under it must repaint it,
// which a window whose event loop is held up cannot do.
//
//   morvane-e2e-watch X Y W H SECONDS [PERIOD]
//
// Covers begin for SECONDS; each is timed to its repaint, for 10 s at most.
// Writes one line per cover, "at=T ms=M" (T: ms since the start, M: the
// time to the repaint), and at the end "longest=M covers=N unrepainted=U"
// (U: covers still unpainted after 10 s). The area must not change by
// itself.
//
//   morvane-e2e-watch change X Y W H SECONDS
//
// Waits until the rectangle shows something else than when it started, and
// writes the moment as "changed=MS" in milliseconds since the epoch (the
// clock of `date +%s%N`); exits with 1 when nothing changed in time.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

}  // namespace

int main(int argc, char** argv) {
    const bool change = argc > 1 && !std::strcmp(argv[1], "change");
    if (change) {
        --argc;
        ++argv;
    }
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s [change] X Y W H SECONDS [PERIOD]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]), w = std::atoi(argv[3]), h = std::atoi(argv[4]);
    const double seconds = std::atof(argv[5]);
    const int period = argc > 6 ? std::atoi(argv[6]) : 100;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto grab = [&] {
        xcb_get_image_reply_t* r = xcb_get_image_reply(
            c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(x), static_cast<int16_t>(y),
                          static_cast<uint16_t>(w), static_cast<uint16_t>(h), ~0u),
            nullptr);
        std::string s;
        if (r)
            s.assign(reinterpret_cast<const char*>(xcb_get_image_data(r)),
                     static_cast<size_t>(xcb_get_image_data_length(r)));
        std::free(r);
        return s;
    };
    const Clock::time_point start = Clock::now();
    if (change) {
        const std::string first = grab();
        while (msSince(start) < seconds * 1000) {
            if (grab() != first) {
                const auto epoch = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::system_clock::now().time_since_epoch());
                std::printf("changed=%lld\n", static_cast<long long>(epoch.count()));
                xcb_disconnect(c);
                return 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        xcb_disconnect(c);
        return 1;
    }
    const xcb_window_t cover = xcb_generate_id(c);
    const uint32_t magenta = 0xff00ff;
    const uint32_t values[] = {magenta, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, cover, screen->root, static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(w), static_cast<uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    double longest = 0;
    int covers = 0, unrepainted = 0;
    while (msSince(start) < seconds * 1000) {
        const Clock::time_point cycle = Clock::now();
        const std::string before = grab();
        xcb_map_window(c, cover);
        xcb_flush(c);
        std::string now;
        // The server paints the cover's background itself.
        for (int i = 0; i < 200 && (now = grab()) == before; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        xcb_unmap_window(c, cover);
        xcb_flush(c);
        const Clock::time_point uncovered = Clock::now();
        bool repainted = false;
        // The last cover too is timed to its repaint, for 10 s at most.
        while (msSince(uncovered) < 10000) {
            if (grab() == before) {
                repainted = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const double ms = msSince(uncovered);
        longest = std::max(longest, ms);
        ++covers;
        if (!repainted) ++unrepainted;
        std::printf("at=%.0f ms=%.1f%s\n", std::chrono::duration<double, std::milli>(uncovered - start).count(), ms,
                    repainted ? "" : " unrepainted");
        std::fflush(stdout);
        const double rest = period - msSince(cycle);
        if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(rest));
    }
    std::printf("longest=%.0f covers=%d unrepainted=%d\n", longest, covers, unrepainted);
    xcb_disconnect(c);
    return 0;
}
