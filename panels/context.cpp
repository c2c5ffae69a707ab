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

ControlDef statusLabel(int index, std::string_view parent, int parentIndex, Box b, std::string_view caption, bool bold,
                       Align align, std::string_view tip) {
    ControlDef d = textRow("estado", index, parent, parentIndex, b, caption, 6.75, bold, align, kBlack);
    d.tooltip = tip;
    d.clickable = true;
    // The clock in any locale's format, a long converter message: shrunk
    // and narrowed to fit.
    d.minPt = kMinSmallPt;
    d.minStretch = kMinStatusStretch;
    return d;
}

ControlDef onLabel(int index, std::string_view parent, int parentIndex) {
    ControlDef d =
        statusLabel(index, parent, parentIndex, {0, 0, 285, 150}, "ON", true, Align::Center, "The display is on");
    d.fore = rgb(255, 255, 255);
    d.back = rgb(0, 128, 0);
    d.opaque = true;
    return d;
}

std::vector<ControlDef> panelHead(Box area, const PanelHead& h) {
    return {frameRow("pantalla", h.panel, area, h.back, false), onLabel(h.on, "pantalla", h.panel),
            statusLabel(h.title, "pantalla", h.panel, {300, 0, h.titleWidth, h.titleHeight}, h.caption, true,
                        Align::Left, h.tip)};
}

void append(std::vector<ControlDef>& v, const std::vector<ControlDef>& rows) {
    v.insert(v.end(), rows.begin(), rows.end());
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
