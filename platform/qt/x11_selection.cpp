#include "x11_selection.h"

#include <xcb/xcb.h>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <string>

namespace morvane::platform {

namespace {

using Read = Clipboard::Read;

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!r) return XCB_NONE;
    const xcb_atom_t a = r->atom;
    std::free(r);
    return a;
}

// A reply of xcb, freed with it.
template <typename T>
struct Reply {
    T* r;
    explicit Reply(T* p) : r(p) {}
    ~Reply() { std::free(r); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* operator->() const { return r; }
    explicit operator bool() const { return r != nullptr; }
};

}  // namespace

// One read at a time, as a small state machine fed by the connection's
// events. A window of its own receives each read's answer: an answer that
// comes after its read ended (a slow owner) finds that window gone.
struct X11SelectionReader::State {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t clipboard = XCB_NONE, utf8 = XCB_NONE, incr = XCB_NONE, property = XCB_NONE;
    std::unique_ptr<QSocketNotifier> notifier;
    QTimer deadline;

    enum class Step { Idle, Converting, Incremental } step = Step::Idle;
    xcb_window_t window = XCB_NONE;  // the requestor of the read in progress
    xcb_atom_t target = XCB_NONE;
    xcb_atom_t incoming = XCB_NONE;  // the property an incremental transfer fills
    size_t bound = 0;
    std::string text;
    Clipboard::TextReply reply;

    ~State() {
        notifier.reset();  // before its descriptor closes
        if (c) xcb_disconnect(c);
    }

    bool broken() const { return !c || xcb_connection_has_error(c); }

    // Handles every event the connection holds: those read from the socket
    // now and those queued while a reply was awaited.
    void pump() {
        while (!broken()) {
            xcb_generic_event_t* e = xcb_poll_for_event(c);
            if (!e) break;
            handle(e);
            std::free(e);
        }
        if (broken() && step != Step::Idle) finish(Read::Failed, {});
    }

    void start(size_t limitBytes, std::chrono::milliseconds limit, Clipboard::TextReply r) {
        Reply<xcb_get_selection_owner_reply_t> owner(
            xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr));
        if (!owner) return r(Read::Failed, {});
        // No owner: the clipboard is empty.
        if (owner->owner == XCB_NONE) return r(Read::Text, {});
        window = xcb_generate_id(c);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        bound = limitBytes;
        text.clear();
        reply = std::move(r);
        deadline.start(limit);
        convert(utf8);
    }

    void convert(xcb_atom_t t) {
        target = t;
        step = Step::Converting;
        xcb_convert_selection(c, window, clipboard, t, property, XCB_CURRENT_TIME);
        xcb_flush(c);
        pump();
    }

    void handle(xcb_generic_event_t* e) {
        switch (e->response_type & 0x7f) {
            case XCB_SELECTION_NOTIFY: {
                const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(e);
                if (step != Step::Converting || n->requestor != window || n->selection != clipboard ||
                    n->target != target)
                    return;
                if (n->property == XCB_NONE) {
                    // Refused: the owner may still have Latin-1 text.
                    if (target == utf8)
                        convert(XCB_ATOM_STRING);
                    else
                        finish(Read::Failed, {});
                    return;
                }
                answer(n->property);
                return;
            }
            case XCB_PROPERTY_NOTIFY: {
                const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
                if (step == Step::Incremental && p->window == window && p->atom == incoming &&
                    p->state == XCB_PROPERTY_NEW_VALUE)
                    chunk();
                return;
            }
            default:
                return;
        }
    }

    // The owner's answer in a property of the window. At most the bound
    // and one word more is read: a longer text shows in what is left over.
    void answer(xcb_atom_t prop) {
        const uint32_t words = static_cast<uint32_t>(bound / 4 + 1);
        Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, words), nullptr));
        if (!r) return finish(Read::Failed, {});
        const auto* value = static_cast<const char*>(xcb_get_property_value(r.r));
        const size_t length = static_cast<size_t>(xcb_get_property_value_length(r.r));
        if (r->type == incr) {
            // An incremental transfer; its value is a lower bound on the size.
            uint32_t announced = 0;
            if (r->format == 32 && length >= 4) std::memcpy(&announced, value, 4);
            if (announced > bound) return finish(Read::TooLong, {});
            incoming = prop;
            step = Step::Incremental;
            // Deleting the property asks for the first chunk.
            xcb_delete_property(c, window, prop);
            xcb_flush(c);
            return;
        }
        xcb_delete_property(c, window, prop);
        xcb_flush(c);
        if (!textType(r->type) || r->format != 8) return finish(Read::Failed, {});
        if (length + r->bytes_after > bound) return finish(Read::TooLong, {});
        text.assign(value, length);
        done();
    }

    // One chunk of an incremental transfer; an empty one ends it.
    void chunk() {
        const size_t room = bound - text.size();
        const uint32_t words = static_cast<uint32_t>(room / 4 + 1);
        Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
            c, xcb_get_property(c, 1, window, incoming, XCB_GET_PROPERTY_TYPE_ANY, 0, words), nullptr));
        if (!r) return finish(Read::Failed, {});
        const size_t length = static_cast<size_t>(xcb_get_property_value_length(r.r));
        if (length + r->bytes_after > room) return finish(Read::TooLong, {});
        if (length == 0) return done();
        if (!textType(r->type) || r->format != 8) return finish(Read::Failed, {});
        text.append(static_cast<const char*>(xcb_get_property_value(r.r)), length);
    }

    bool textType(xcb_atom_t type) const { return type == utf8 || type == XCB_ATOM_STRING; }

    void done() {
        std::string t;
        t.swap(text);
        if (target == XCB_ATOM_STRING) {
            // Latin-1, which can grow in UTF-8.
            const QByteArray u = QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size())).toUtf8();
            if (static_cast<size_t>(u.size()) > bound) return finish(Read::TooLong, {});
            t.assign(u.constData(), static_cast<size_t>(u.size()));
        }
        finish(Read::Text, std::move(t));
    }

    // Ends the read and replies. The state is clean before the reply, which
    // may start the next read at once.
    void finish(Read result, std::string t) {
        deadline.stop();
        if (window != XCB_NONE && !broken()) {
            xcb_destroy_window(c, window);
            xcb_flush(c);
        }
        window = XCB_NONE;
        step = Step::Idle;
        std::string().swap(text);
        Clipboard::TextReply r = std::move(reply);
        reply = nullptr;
        if (r) r(result, std::move(t));
    }
};

X11SelectionReader::X11SelectionReader() : s_(std::make_unique<State>()) {}

X11SelectionReader::~X11SelectionReader() = default;

std::unique_ptr<X11SelectionReader> X11SelectionReader::open(const char* display) {
    std::unique_ptr<X11SelectionReader> r(new X11SelectionReader);
    State& s = *r->s_;
    int screen = 0;
    s.c = xcb_connect(display, &screen);
    if (s.broken()) return nullptr;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(s.c));
    for (int i = 0; i < screen && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return nullptr;
    s.root = it.data->root;
    s.clipboard = intern(s.c, "CLIPBOARD");
    s.utf8 = intern(s.c, "UTF8_STRING");
    s.incr = intern(s.c, "INCR");
    s.property = intern(s.c, "MORVANE_SELECTION");
    if (s.clipboard == XCB_NONE || s.utf8 == XCB_NONE || s.incr == XCB_NONE || s.property == XCB_NONE) return nullptr;
    s.notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(s.c), QSocketNotifier::Read);
    QObject::connect(s.notifier.get(), &QSocketNotifier::activated, [&s] { s.pump(); });
    s.deadline.setSingleShot(true);
    s.deadline.setTimerType(Qt::PreciseTimer);
    // No answer, or a transfer that stalled, within the limit.
    QObject::connect(&s.deadline, &QTimer::timeout, [&s] { s.finish(Read::Failed, {}); });
    return r;
}

bool X11SelectionReader::usable() const { return !s_->broken(); }

void X11SelectionReader::read(size_t bound, std::chrono::milliseconds limit, Clipboard::TextReply reply) {
    State& s = *s_;
    if (s.step != State::Step::Idle) s.finish(Read::Failed, {});
    if (s.broken()) return reply(Read::Failed, {});
    s.start(bound, limit, std::move(reply));
}

}  // namespace morvane::platform
