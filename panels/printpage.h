// The print page `imprimir`: a one-page stack listing composed from the
// display lines, laid out in twips from the page's top left corner.
#pragma once

#include <array>
#include <string>

#include "platform/services.h"

namespace morvane::panels {

// The page's extent: A4, in twips.
constexpr int kPageWidthTw = 11906;
constexpr int kPageHeightTw = 16838;

// The date line: "DATE  " date "   TIME: " time.
std::string dateLine(const std::string& shortDate, const std::string& time);

// Composes the page: the value labels Label1(0..20) hold lines[0..20] (the
// log, then levels 1 to 20), the date line Label2(22) holds `date`.
platform::PrintPage composePage(const std::array<std::string, 21>& lines, const std::string& date);

}  // namespace morvane::panels
