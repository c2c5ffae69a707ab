// The window layout as data: one table per region, in twips and RGB, from
// which the window model builds its controls, the widgets are made and the
// skin is drawn. Positions are left, top, width, height relative to the
// containing frame (the window when `parent` is empty).
#pragma once

#include <string_view>
#include <vector>

#include "engine/rgb.h"

namespace morvane {

constexpr int kTwipsPerPixel = 15;

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

enum class Kind {
    Label,   // a caption (transparent or opaque)
    Frame,   // a container with a background (picture box)
    Shape,   // a rectangle outline (rings, the cursor bar)
    Image,   // the icon picture
    List,    // a list box
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

// One row of a layout table.
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
    bool opaque = false;   // paints its background
    bool visible = true;
    int border = 0;        // border style 0 or 1
    bool clickable = false;
    Face face = Face::None;
    std::string_view legend = {};  // painted on the key face when the caption is empty
    bool wrap = false;             // caption wraps over several lines
};

// The regions of the window.
const std::vector<ControlDef>& titleBandLayout();
const std::vector<ControlDef>& displayLayout();   // pila and its contents, panels, error box, cover
const std::vector<ControlDef>& keypadLayout();
const std::vector<ControlDef>& lowerStripLayout();
const std::vector<ControlDef>& outsideLayout();   // storage and spare frames beyond the window

// Every region in drawing order (later rows lie above earlier ones).
std::vector<const ControlDef*> allControls();

// The skin's extent in pixels and the window's heights in twips.
constexpr int kSkinWidthPx = 247;
constexpr int kSkinHeightPx = 505;
constexpr int kWindowWidthTw = 3690;
constexpr int kStartHeightTw = 7530;
constexpr int kTopmostHeightTw = 7560;
constexpr int kTallHeightTw = 8085;

}  // namespace morvane
