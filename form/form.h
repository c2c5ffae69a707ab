// The control store that the window and the panels share: every control of
// the window by array name and index, with its layout row and its state
// (caption, tag, visibility, colours, border, list items), and the timers.
// Standard library only.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/rgb.h"
#include "platform/screen.h"

namespace morvane {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

enum class Kind {
    Label,  // a caption (transparent or opaque)
    Frame,  // a container with a background (picture box)
    Shape,  // a rectangle outline (rings, the cursor bar)
    Image,  // the icon picture
    List,   // a list box
};

enum class Align { Left, Center, Right };

// What the skin paints under a clickable key.
enum class Face {
    None,      // a legend printed on the body, or a display control
    Mode,      // blue-grey panel keys under the display
    Function,  // grey function keys
    Enter,     // the wide ENTER key
    Delete,    // the red DEL and backspace keys
    Digit,     // cream digit keys, ".", "PI"
    Operator,  // blue operator keys
    Narrow,    // the narrow keys of the left column
};

// The smallest sizes a caption too wide for its box is drawn in (points): a
// display line, and the small texts of the status lines and the memory list
// (the smallest that the layout itself uses).
constexpr double kMinLinePt = 6.75;
constexpr double kMinSmallPt = 6;
// How narrow a status label's letters may get, in percent of their width.
constexpr int kMinStatusStretch = 50;

// What a control is, beyond its kind: the widgets draw it and the screen
// reader hears it by this, never by its name.
enum class Role {
    Plain,        // nothing the widgets treat apart
    Storage,      // holds a value that another control shows (a register, the main memory, a factor)
    DisplayLine,  // a stack level or the log, drawn from its register
    LevelLabel,   // a level's number beside its line
    LogPrompt,    // the ">" over the log line's left end
    CursorBar,    // the blinking bar at the log line's right end
    StackPage,    // a page of five stack levels
    Version,      // the version label whose baseline the skin's name sits on
};

// One row of a layout table. Positions are left, top, width, height in
// twips relative to the containing frame (the window when `parent` is empty).
struct ControlDef {
    std::string_view name;
    int index = -1;  // -1: not an array element
    Kind kind = Kind::Label;
    std::string_view parent = {};  // containing frame's name ("" = window)
    int parentIndex = -1;
    Box box{};
    std::string_view caption = {};
    std::string_view tooltip = {};
    std::string_view tag = {};
    double pt = 6.75;  // Arial, points
    bool bold = false;
    Align align = Align::Left;
    Rgb fore = kBlack;
    Rgb back = kDisplayGreen;
    bool opaque = false;  // paints its background
    bool visible = true;
    int border = 0;  // border style 0 or 1
    bool clickable = false;
    Face face = Face::None;
    std::string_view legend = {};  // painted on the key face when the caption is empty
    bool wrap = false;             // caption wraps over several lines
    int rowHeight = 0;             // list boxes: twips per row
    Role role = Role::Plain;
    // A caption (a list's row) too wide for its box: drawn in smaller sizes
    // down to minPt, then with narrower letters down to minStretch percent
    // of their width, and if it still does not fit, its end after a "…".
    // 0: drawn as it is, cut by the box.
    double minPt = 0;
    int minStretch = 100;
};

// A list box's rows: its own, or a list that another owner keeps (the
// memory list is the engine's). `version` changes with every change.
struct ListRows {
    std::vector<std::string> own;
    const std::vector<std::string>* source = nullptr;
    const unsigned* sourceVersion = nullptr;
    const std::vector<std::string>& items() const { return source ? *source : own; }
    unsigned version() const { return sourceVersion ? *sourceVersion : ownVersion; }
    unsigned ownVersion = 0;
};

struct Control {
    const ControlDef* def = nullptr;
    int parent = -1;  // id of the containing frame, -1 for the window
    std::string caption, tag;
    bool visible = true;
    Rgb fore = kBlack, back = kDisplayGreen;
    int border = 0;
    // Storage controls whose text another owner keeps (the registers, the
    // main memory): their caption and tag are read from there.
    const std::string* captionSource = nullptr;
    const std::string* tagSource = nullptr;
    // A tooltip of the program's own in place of the layout's (empty: the
    // layout's), for a control that does less than the layout says.
    std::string_view tip;
    const std::string& text() const { return captionSource ? *captionSource : caption; }
    const std::string& tagText() const { return tagSource ? *tagSource : tag; }
    // List boxes.
    ListRows rows;
    int selected = -1;
    int listTop = 0;  // vertical offset inside the containing window, twips
};

struct Timer {
    std::string_view name;
    int interval = 0;  // ms
    bool enabled = false;
};

// Layout rows with the common defaults: a text label, and a frame that
// paints its background.
ControlDef textRow(std::string_view name, int index, std::string_view parent, int parentIndex, Box box,
                   std::string_view caption, double pt = 6.75, bool bold = false, Align align = Align::Left,
                   Rgb fore = kBlack);
ControlDef frameRow(std::string_view name, int index, Box box, Rgb back, bool visible, std::string_view parent = {},
                    int parentIndex = -1);

// A text that lives as long as the program: for layout rows made at run
// time (captions and tags computed from a table).
std::string_view intern(std::string text);

// A name that the program itself looks up and that the layout lacks.
struct MissingControl : std::logic_error {
    using std::logic_error::logic_error;
};
// A layout with two rows of one name and index.
struct DuplicateControl : std::logic_error {
    using std::logic_error::logic_error;
};

class Form {
public:
    // Builds one control per layout row; rows of frames come before the
    // rows they contain. Throws MissingControl for a row whose frame is
    // absent, DuplicateControl for a name and index given twice.
    explicit Form(const std::vector<const ControlDef*>& defs);

    std::vector<Control> controls;
    std::vector<Timer> timers;

    int id(std::string_view name, int index = -1) const;  // -1 when absent
    Control* find(std::string_view name, int index = -1);
    const Control* find(std::string_view name, int index = -1) const;
    // The id of a control that must exist: a name the program relies on.
    // Throws MissingControl, so a typo fails at start-up.
    int require(std::string_view name, int index = -1) const;
    // The frames that the frame `parent` (-1: the window) holds, in the
    // order of the layout.
    const std::vector<int>& framesIn(int parent) const;
    // The first control of the frame `parent` (-1: the window) in `role`, or
    // nullptr.
    const Control* inFrame(int parent, Role role) const;
    Control& at(int id) { return controls[static_cast<size_t>(id)]; }
    const Control& at(int id) const { return controls[static_cast<size_t>(id)]; }
    Control& at(std::string_view name, int index = -1) { return at(require(name, index)); }

    // The ids of an array's elements, index 0 to the highest, -1 where an
    // index has no element. Empty for an unknown array.
    const std::vector<int>& elements(std::string_view name) const;

    Timer* timer(std::string_view name);
    Timer& requireTimer(std::string_view name);

private:
    // Control ids by array name, then by index + 1 (slot 0 for no index).
    std::unordered_map<std::string_view, std::vector<int>> index_;
    std::unordered_map<std::string_view, std::vector<int>> elements_;
    std::unordered_map<int, std::vector<int>> frames_;  // by the id of the frame that holds them
};

}  // namespace morvane
