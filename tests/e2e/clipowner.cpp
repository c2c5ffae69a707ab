// morvane-e2e-clipowner: takes the X CLIPBOARD selection and answers the
// requests for it as a badly behaved (or a good) program would.
//
//   morvane-e2e-clipowner dead           never answers anything
//   morvane-e2e-clipowner targets        answers TARGETS (UTF8_STRING among
//                                        them), never the text itself
//   morvane-e2e-clipowner stall          starts an incremental transfer of a
//                                        short text, sends one chunk, stops
//   morvane-e2e-clipowner slow MS TEXT   answers every request MS ms late
//   morvane-e2e-clipowner big BYTES [LOWER]
//                                        holds BYTES digits, sent in chunks
//                                        of 256 KB, announcing LOWER bytes as
//                                        the transfer's size (default BYTES)
//   morvane-e2e-clipowner text TEXT [CHUNK]
//                                        holds TEXT; with CHUNK, sends it
//                                        incrementally in chunks of CHUNK bytes
//
// Prints "ready" once it owns the selection, then one line per request
// ("request TARGET") and, for transfers, "sent N" with the bytes sent so
// far; ends when killed.
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_connection_t* c;
xcb_atom_t clipboardAtom, targetsAtom, utf8Atom, incrAtom;

xcb_atom_t intern(const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    if (!r) std::exit(1);
    const xcb_atom_t a = r->atom;
    std::free(r);
    return a;
}

std::string atomName(xcb_atom_t a) {
    xcb_get_atom_name_reply_t* r = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, a), nullptr);
    if (!r) return "?";
    std::string n(xcb_get_atom_name_name(r), static_cast<size_t>(xcb_get_atom_name_name_length(r)));
    std::free(r);
    return n;
}

void notify(const xcb_selection_request_event_t& q, xcb_atom_t property) {
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = q.time;
    n.requestor = q.requestor;
    n.selection = q.selection;
    n.target = q.target;
    n.property = property;
    xcb_send_event(c, 0, q.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&n));
    xcb_flush(c);
}

// The text of `big`: digits, made chunk by chunk.
struct Source {
    std::string text;  // a text held whole
    size_t size = 0;   // or a generated one of this size
    bool generated = false;
    std::string piece(size_t from, size_t n) const {
        if (!generated) return text.substr(from, n);
        std::string s(std::min(n, size - std::min(size, from)), '7');
        return s;
    }
    size_t length() const { return generated ? size : text.size(); }
};

// An incremental transfer in progress.
struct Transfer {
    bool active = false;
    xcb_window_t window = 0;
    xcb_atom_t property = 0, type = 0;
    size_t sent = 0;
    bool finished = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s dead | targets | stall | slow MS TEXT | big BYTES [LOWER] | text TEXT [CHUNK]\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    Source source;
    size_t chunk = 0, announced = 0;
    int delayMs = 0;
    if (mode == "slow" && argc >= 4) {
        delayMs = std::atoi(argv[2]);
        source.text = argv[3];
    } else if (mode == "big" && argc >= 3) {
        source.generated = true;
        source.size = std::strtoull(argv[2], nullptr, 10);
        announced = argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : source.size;
        chunk = 256 * 1024;
    } else if (mode == "text" && argc >= 3) {
        source.text = argv[2];
        chunk = argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : 0;
        announced = source.text.size();
    } else if (mode == "stall") {
        source.text = std::string(3000, '1');
        chunk = 1000;
        announced = source.text.size();
    } else if (mode != "dead" && mode != "targets") {
        std::fprintf(stderr, "clipowner: unknown mode %s\n", mode.c_str());
        return 2;
    }

    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipowner: no X display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    clipboardAtom = intern("CLIPBOARD");
    targetsAtom = intern("TARGETS");
    utf8Atom = intern("UTF8_STRING");
    incrAtom = intern("INCR");
    xcb_set_selection_owner(c, w, clipboardAtom, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboardAtom), nullptr);
    if (!owner || owner->owner != w) {
        std::fprintf(stderr, "clipowner: could not take the clipboard\n");
        return 1;
    }
    std::free(owner);
    std::printf("ready\n");
    std::fflush(stdout);
    // A hung program: no event is ever read.
    if (mode == "dead")
        for (;;) pause();

    struct Late {
        Clock::time_point due;
        xcb_selection_request_event_t q;
    };
    std::deque<Late> late;
    Transfer t;

    auto answer = [&](const xcb_selection_request_event_t& q) {
        const xcb_atom_t property = q.property ? q.property : q.target;
        if (q.target == targetsAtom) {
            const xcb_atom_t list[] = {targetsAtom, utf8Atom, XCB_ATOM_STRING};
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, q.requestor, property, XCB_ATOM_ATOM, 32, 3, list);
            notify(q, property);
            return;
        }
        if (q.target != utf8Atom && q.target != XCB_ATOM_STRING) return notify(q, XCB_NONE);
        if (mode == "targets") return;  // the text never comes
        if (chunk == 0 || source.length() <= chunk) {
            const std::string s = source.piece(0, source.length());
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, q.requestor, property, q.target, 8,
                                static_cast<uint32_t>(s.size()), s.data());
            notify(q, property);
            std::printf("sent %zu\n", s.size());
            std::fflush(stdout);
            return;
        }
        // Incremental: the size announced, then a chunk after each deletion.
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, q.requestor, XCB_CW_EVENT_MASK, &events);
        const uint32_t lower = static_cast<uint32_t>(std::min<size_t>(announced, 0xffffffffu));
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, q.requestor, property, incrAtom, 32, 1, &lower);
        notify(q, property);
        t = Transfer{true, q.requestor, property, q.target, 0, false};
    };

    const int fd = xcb_get_file_descriptor(c);
    for (;;) {
        int timeout = -1;
        if (!late.empty())
            timeout = static_cast<int>(std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::milliseconds>(late.front().due - Clock::now()).count()));
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, timeout);
        while (!late.empty() && late.front().due <= Clock::now()) {
            answer(late.front().q);
            late.pop_front();
        }
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            switch (e->response_type & 0x7f) {
                case XCB_SELECTION_REQUEST: {
                    const auto& q = *reinterpret_cast<xcb_selection_request_event_t*>(e);
                    std::printf("request %s\n", atomName(q.target).c_str());
                    std::fflush(stdout);
                    if (delayMs > 0)
                        late.push_back({Clock::now() + std::chrono::milliseconds(delayMs), q});
                    else
                        answer(q);
                    break;
                }
                case XCB_PROPERTY_NOTIFY: {
                    const auto& n = *reinterpret_cast<xcb_property_notify_event_t*>(e);
                    if (!t.active || n.window != t.window || n.atom != t.property || n.state != XCB_PROPERTY_DELETE)
                        break;
                    if (t.finished) {
                        t.active = false;
                        break;
                    }
                    // A stalled transfer sends its first chunk only.
                    if (mode == "stall" && t.sent > 0) break;
                    const std::string s = source.piece(t.sent, chunk);
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, t.window, t.property, t.type, 8,
                                        static_cast<uint32_t>(s.size()), s.data());
                    xcb_flush(c);
                    t.sent += s.size();
                    t.finished = s.empty();
                    std::printf("sent %zu\n", t.sent);
                    std::fflush(stdout);
                    break;
                }
                default:
                    break;
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c)) return 1;
    }
}
