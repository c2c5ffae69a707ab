// The text of the X11 CLIPBOARD selection, read on a connection of its own
// and driven by the window's event loop: the window never waits for the
// selection's owner, another program that may be slow, stalled or hung.
#pragma once

#include <chrono>
#include <memory>

#include "platform/clipboard.h"

namespace morvane::platform {

class X11SelectionReader {
public:
    // A reader on the named display (nullptr: $DISPLAY); nullptr when the
    // display cannot be opened.
    static std::unique_ptr<X11SelectionReader> open(const char* display);
    ~X11SelectionReader();

    // Asks the owner for the text (UTF8_STRING, else STRING) and replies
    // once, from the event loop, within `limit`: Text (the empty text when
    // the selection has no owner), TooLong as soon as the owner tells a size
    // beyond `bound` bytes (a property's size or an incremental transfer's
    // announced size, or once the chunks received pass it), Failed when the
    // owner does not answer, offers no text, or a transfer stalls. A read
    // started while another runs ends that one as failed.
    void read(size_t bound, std::chrono::milliseconds limit, Clipboard::TextReply reply);

    // Whether the connection still works (a broken one is made anew).
    bool usable() const;

private:
    X11SelectionReader();
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace morvane::platform
