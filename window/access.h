// What a screen reader and a keyboard-only user get of the window: each
// control's role, name and description, whether it shows, the keyboard
// focus with its order and its moves, and the short texts the window
// announces after an event ("15", "Level 1: 7, log empty", an error's
// number and message, a panel's title). Standard library only: the Qt
// layer hands these to the accessibility bridge as they are.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/modes.h"
#include "engine/registers.h"
#include "form/form.h"

namespace morvane {

class Calculadora;

// What a control is to a screen reader.
enum class AccessRole {
    Hidden,  // decorative, or a twin of another control's text: not in the tree
    Button,  // a key, a status key, a list entry: pressed by a click, reached by the keyboard
    Text,    // a label that tells something
    Line,    // a display line: a level or the log, read with its value
    Group,   // a frame that only holds others
    Panel,   // a tool panel over the stack view, named by its title
    Alert,   // the error box
    List,    // a list box whose rows are read one by one
};

AccessRole accessRole(const Calculadora& m, int id);
// The name heard: for a display line its level and value ("Level 1: 15",
// "Log: 15", "Log: empty"), for a status key what its caption means
// ("Degrees", "Hyperbolic off", "Decimals: all", "Levels in use: 1"), for a
// panel its title, for the error box its number, for a key its caption or
// painted legend, told apart where two legends read alike.
std::string accessName(const Calculadora& m, int id);
// The tooltip of a control, which is also its accessible description: the
// layout's own, or for a key or status label of the display that has none,
// a short one of ours. Empty for the rest.
std::string accessDescription(const ControlDef& d);
// The description a screen reader reads now: the tooltip, or for the error
// box the message it shows.
std::string accessDescription(const Calculadora& m, int id);
// The name of row `item` of a list box ("3: 2.5" for a stored value).
std::string accessRowName(const Calculadora& m, int id, int item);
// Whether the control is an item of the stack view's status line, which a
// screen reader reads as a status bar.
bool inStatusLine(const Calculadora& m, int id);

// The control's box in window twips (its own box plus its frames').
Box windowBox(const Calculadora& m, int id);
// Whether a person can see the control now: it and its frames are shown in
// the model, no panel drawn above it covers its middle, and its middle lies
// inside the window's current size.
bool showing(const Calculadora& m, int id);

// ---------------------------------------------------------------- focus

// The control that has the keyboard focus, and for a list box the row in it.
struct Focus {
    int id = -1;
    int item = -1;
    bool operator==(const Focus& o) const { return id == o.id && item == o.item; }
    bool operator!=(const Focus& o) const { return !(*this == o); }
};

enum class FocusMove { Next, Previous, Left, Right, Up, Down };

// Whether the keyboard can reach the control now: a key, a display line or
// a list that shows.
bool focusable(const Calculadora& m, int id);
// Every control the keyboard reaches now, in reading order: by rows from
// the top, each row from the left.
std::vector<int> focusOrder(const Calculadora& m);
// The focus on a control: for a list box, on its first row that shows.
Focus focusOn(const Calculadora& m, int id);
// Where a move takes the focus: Tab and Shift+Tab along the reading order
// (round), the arrows to the nearest control in that direction within the
// same area (the keypad, the stack view, a panel), and up and down through
// the rows of a list. `from` itself when there is nowhere to go.
Focus moveFocus(const Calculadora& m, Focus from, FocusMove how);

// ---------------------------------------------------------------- announcements

// The tool panel shown over the stack view, -1 for none.
int shownPanel(const Calculadora& m);
// The number of rows of a list box that the keyboard reaches (0 for any other control).
int rowCount(const Calculadora& m, int id);

// What the window looked like before an event, to tell what the event changed.
struct Glance {
    std::array<std::string, kRegisters> regs;
    unsigned long reports = 0, quietFailures = 0;
    int panel = -1;  // the tool panel shown, -1 none
    bool error = false;
    std::string prompt, memoria;
    AngleUnit angle = AngleUnit::Degrees;
    bool hyperbolic = false;
    Decimals decimals;
    bool minutes = false;  // the clock shows elapsed minutes
    size_t stored = 0;
    int selected = 0;
};
Glance glance(const Calculadora& m);

// How the event came: typing on the keyboard is echoed by the screen
// reader itself, a click or an accessible action is not.
enum class Cause { Click, Key, Hover, Other };

// The text a screen reader should hear after an event that took the window
// from `before` to now; empty when there is nothing to say. `code` is the
// key's character for Cause::Key.
std::string announcementAfter(const Calculadora& m, const Glance& before, Cause cause, int code = 0);
// A register's value as it is heard: what its display line shows, without
// the separator that ends every displayed number unless it was typed.
std::string spokenValue(const Calculadora& m, int reg);

}  // namespace morvane
