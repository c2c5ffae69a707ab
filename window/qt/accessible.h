// What a screen reader sees of the window: names, roles, descriptions and
// states of the controls, read from the window model each time they are
// asked for, so that they are never older than what the screen shows.
#pragma once

#include <QString>

#include "window/model.h"

namespace morvane {

// Installs the interfaces of the main window and of the control widgets
// (once; later calls do nothing).
void installAccessibility();

// The control's accessible name: for a display line its level and value
// ("Level 1: 15", "Log: 15.", "Level 3: empty"), for a key its caption or
// painted legend, told apart where two legends read alike.
QString accessibleName(const Calculadora& m, int id);

// The tooltip of a control, which is also its accessible description: the
// layout's own, or for a key or status label of the display that has none,
// a short one of ours. Empty for the rest.
QString tooltipOf(const ControlDef& d);
// The same for a control: its own tooltip where the program set one.
QString tooltipOf(const Control& c);

// Whether a person can see the control now: it and its frames are shown in
// the model, no panel drawn above it covers its middle, and its middle lies
// inside the window's current size.
bool showing(const Calculadora& m, int id);

}  // namespace morvane
