// The stack as one row of tab-separated text for a spreadsheet (the "XLS"
// key): the raw register texts, each followed by a tab, with no line break.
#pragma once

#include <array>
#include <string>

namespace morvane::panels {

// The log, then levels 1, 2, ... up to the first empty level, each followed
// by a tab. An empty log is an empty first field, so that the levels after
// an ENTER are copied too; with the log and level 1 both empty the text is
// empty.
std::string stackCopyText(const std::array<std::string, 21>& registers);

}  // namespace morvane::panels
