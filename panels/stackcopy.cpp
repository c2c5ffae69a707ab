#include "stackcopy.h"

namespace morvane::panels {

std::string stackCopyText(const std::array<std::string, 21>& registers) {
    if (registers[0].empty() && registers[1].empty()) return {};
    size_t size = 0, end = 1;
    while (end < registers.size() && !registers[end].empty()) ++end;
    for (size_t i = 0; i < end; ++i) size += registers[i].size() + 1;
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < end; ++i) {
        text += registers[i];
        text += '\t';
    }
    return text;
}

}  // namespace morvane::panels
