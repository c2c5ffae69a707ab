// The system clipboard, plain text.
#pragma once

#include <string>

namespace morvane::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const std::string& text) = 0;
    // False when the clipboard cannot be read. An empty clipboard reads "".
    virtual bool text(std::string& out) = 0;
    // The primary selection, which a middle click pastes (X11). False where
    // the platform has none or it could not be set.
    virtual bool setSelection(const std::string& text) = 0;
};

}  // namespace morvane::platform
