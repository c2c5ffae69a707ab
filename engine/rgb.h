// Colours are 24-bit values with red in the low byte.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

using Rgb = std::uint32_t;

constexpr Rgb rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr unsigned red(Rgb c) { return c & 0xFF; }
constexpr unsigned green(Rgb c) { return (c >> 8) & 0xFF; }
constexpr unsigned blue(Rgb c) { return (c >> 16) & 0xFF; }

inline std::string rgbText(Rgb c) {
    return std::to_string(red(c)) + "," + std::to_string(green(c)) + "," + std::to_string(blue(c));
}

// Window-level colours.
constexpr Rgb kHoverGreen = rgb(0, 255, 0);
constexpr Rgb kDisplayGreen = rgb(0, 192, 0);
constexpr Rgb kSelectionRed = rgb(192, 0, 0);
constexpr Rgb kBlack = rgb(0, 0, 0);

}  // namespace morvane
