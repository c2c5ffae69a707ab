// What every panel handler receives: the control store, the engine (the
// single owner of the registers and the memory list) and the platform
// services; and the few ways a panel may touch the log.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "form/form.h"
#include "platform/services.h"

namespace morvane::panels {

struct Context {
    Form& form;
    Engine& eng;
    platform::Services svc;
};

// The log as a number; throws Failure (13 not a number, 6 beyond range).
double logValue(const Engine& eng);
// Writes v into the log with the number-to-text conversion: no lift, no
// drop. Throws Failure when v has no text that reads back (6, 5).
void writeLog(Engine& eng, double v);
// Puts a text into the log as it is.
void copyToLog(Engine& eng, std::string text);

// The hover highlight of a clickable list: every element of the array the
// display green, the hovered one the hover green. True when a colour changed.
bool hover(Form& form, const std::vector<int>& array, int hovered);

// The decorative numbers of the panels' indexes (the `mem` array): bright
// green on black, never changed at run time.
ControlDef numberLabel(int index, std::string_view parent, int parentIndex, Box box, std::string_view caption,
                       double pt = 6.75);
// A status label estado(index) of a view's status line.
ControlDef statusLabel(int index, std::string_view parent, int parentIndex, Box b, std::string_view caption, bool bold,
                       Align align, std::string_view tip = {});
// The "ON" label at the left of a view's status line.
ControlDef onLabel(int index, std::string_view parent, int parentIndex);
// A panel's frame pantalla(panel) over the stack view, with the "ON" label
// estado(on) and the title estado(title) of its status line.
struct PanelHead {
    int panel, on, title;
    std::string_view caption;
    int titleWidth, titleHeight;
    std::string_view tip;
    Rgb back = kDisplayGreen;
};
std::vector<ControlDef> panelHead(Box area, const PanelHead& head);
// Appends rows to a layout.
void append(std::vector<ControlDef>& v, const std::vector<ControlDef>& rows);

// A clickable element of a list that highlights under the pointer.
ControlDef listItem(std::string_view name, int index, std::string_view parent, int parentIndex, Box box,
                    std::string_view caption, double pt = 6.75, bool bold = false);

// Shows or hides a control; hides panel p with show(form, id of pantalla(p), false).
inline void show(Form& form, int id, bool on) { form.at(id).visible = on; }

}  // namespace morvane::panels
