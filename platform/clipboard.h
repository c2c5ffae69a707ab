// The system clipboard, plain text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace morvane::platform {

class Clipboard {
public:
    // What a read of the clipboard gave.
    enum class Read {
        Text,     // its text ("" for an empty clipboard)
        Failed,   // no text came: no answer, no text among its formats, a transfer that stalled
        TooLong,  // a text longer than the bound, refused as soon as its size was known
    };
    // Receives the outcome of a read, and the text with Read::Text.
    using TextReply = std::function<void(Read, std::string)>;

    virtual ~Clipboard() = default;
    // Puts the text on the clipboard in place of what it held; false when
    // it could not be set.
    virtual bool setText(const std::string& text) = 0;
    // Reads the clipboard's text, at most `bound` bytes of UTF-8. The reply
    // comes exactly once: at once, or later from the window's event loop
    // while the program goes on (a clipboard owner is another program,
    // which may be slow or never answer); it is bounded in time.
    virtual void readText(size_t bound, TextReply reply) = 0;
    // The primary selection, which a middle click pastes (X11). False where
    // the platform has none or it could not be set.
    virtual bool setSelection(const std::string& text) = 0;
};

}  // namespace morvane::platform
