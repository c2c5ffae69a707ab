// The window layout as data: one table per region, in twips and RGB, from
// which the window model builds its controls, the widgets are made and the
// skin is drawn. Positions are left, top, width, height relative to the
// containing frame (the window when `parent` is empty).
#pragma once

#include <string_view>
#include <vector>

#include "form/form.h"

namespace morvane {

// The regions of the window.
const std::vector<ControlDef>& titleBandLayout();
const std::vector<ControlDef>& displayLayout();  // pila and its contents, panels, error box, cover
const std::vector<ControlDef>& keypadLayout();
const std::vector<ControlDef>& lowerStripLayout();
const std::vector<ControlDef>& outsideLayout();  // storage and spare frames beyond the window

// Every region in drawing order (later rows lie above earlier ones).
std::vector<const ControlDef*> allControls();

// The skin's extent in pixels and the window's heights in twips.
constexpr int kSkinWidthPx = 247;
constexpr int kSkinHeightPx = 505;
constexpr int kWindowWidthTw = 3690;
constexpr int kStartHeightTw = 7530;
constexpr int kTopmostHeightTw = 7560;
constexpr int kTallHeightTw = 8085;

// The tooltip of "^" where the window system keeps no window above the others.
inline constexpr std::string_view kNoKeepAboveTip =
    "Always on top is not offered by this desktop: the key changes the window's height only";

}  // namespace morvane
