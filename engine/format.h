// Display formatting of register texts.
#pragma once

#include <string>
#include <string_view>

#include "modes.h"

namespace morvane {

// Formats t with a pattern of up to n optional decimals ("0.##########" is
// n = 10, "##############0." is n = 0, the decimal point key's "0." too):
// the 15-significant-digit decimal form of the value, rounded to n decimals
// with halves away from zero, written with all integer digits, the separator
// always, and the decimals without trailing zeros. An empty or non-numeric
// text is returned unchanged.
std::string formatDecimals(std::string_view t, int n, char sep);

// What a display line shows for register text t under the display's
// decimals (every decimal shows at most 10): a text with an "E"/"e" after
// its first character stands as it is.
std::string displayText(std::string_view t, Decimals decimals, char sep);

}  // namespace morvane
