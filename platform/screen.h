// The screen's twips per pixel: every position and size of the layout is
// in twips, 15 to a pixel on a standard screen.
#pragma once

namespace morvane {

inline constexpr int kTwipsPerPixel = 15;

}  // namespace morvane
