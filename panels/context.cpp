#include "context.h"

namespace morvane::panels {

double logValue(const Engine& eng) { return eng.value(eng.regs.log()); }

void writeLog(Engine& eng, double v) { eng.regs.log() = eng.text(v); }

void copyToLog(Engine& eng, std::string text) { eng.regs.log() = std::move(text); }

ControlDef numberLabel(int index, std::string_view parent, int parentIndex, Box box, std::string_view caption,
                       double pt) {
    ControlDef d = textRow("mem", index, parent, parentIndex, box, caption, pt, true, Align::Center, kHoverGreen);
    d.back = kBlack;
    d.opaque = true;
    return d;
}

ControlDef listItem(std::string_view name, int index, std::string_view parent, int parentIndex, Box box,
                    std::string_view caption, double pt, bool bold) {
    ControlDef d = textRow(name, index, parent, parentIndex, box, caption, pt, bold);
    d.back = kDisplayGreen;
    d.opaque = true;
    d.clickable = true;
    return d;
}

bool hover(Form& form, const std::vector<int>& array, int hovered) {
    bool changed = false;
    for (int id : array) {
        if (id < 0) continue;
        Control& c = form.at(id);
        const Rgb want = id == hovered ? kHoverGreen : kDisplayGreen;
        if (c.back != want) {
            c.back = want;
            changed = true;
        }
    }
    return changed;
}

}  // namespace morvane::panels
