// The soft-key rows under every view: one table gives each key its view,
// its place, its caption and its action, and makes both the layout rows and
// the dispatch of `orden_Click`. Also the stack view's own keys and the line
// selection they act on, which they own.
#include "panels/panels.h"

namespace morvane::panels {

namespace {

void hidePanel(Panels& p, int panel) { show(p.ctx.form, p.ctx.form.require("pantalla", panel), false); }

}  // namespace

const std::vector<SoftKey>& softKeyTable() {
    // The keys 3 and 4 get their captions "UP" and "DWN" from the status timer.
    static const std::vector<SoftKey> keys = {
        {0, "pila", -1, 90, 420, "<<", "<<: the previous page of levels", [](Panels& p) { p.stack.page(-1); }},
        {1, "pila", -1, 540, 465, " 1:", "1: the log's line alone", [](Panels& p) { p.stack.logOnly(); }},
        {2, "pila", -1, 1035, 465, ">>", ">>: the next page of levels", [](Panels& p) { p.stack.page(+1); }},
        {3, "pila", -1, 1530, 465, "", "UP: move the selected level up", [](Panels& p) { p.stack.moveSelected(+1); }},
        {4, "pila", -1, 2025, 465, "", "DWN: move the selected level down",
         [](Panels& p) { p.stack.moveSelected(-1); }},
        {5, "pila", -1, 2520, 465, "0-1", "Change level 1/2", [](Panels& p) { p.stack.swap(); }},

        {6, "pantalla", 1, 90, 420, "INDEX", "INDEX: back to the categories",
         [](Panels& p) { p.converter.showIndex(); }},
        {7, "pantalla", 1, 540, 465, "", {}, nullptr},
        {8, "pantalla", 1, 1035, 465, "", {}, nullptr},
        {9, "pantalla", 1, 1530, 465, "", {}, nullptr},
        {10, "pantalla", 1, 2025, 465, "", {}, nullptr},
        {11, "pantalla", 1, 2520, 465, "OK", "OK: close the converter", [](Panels& p) { p.converter.close(); }},

        {78, "pantalla", 2, 60, 465, "", {}, nullptr},
        {16, "pantalla", 2, 540, 465, "", {}, nullptr},
        {15, "pantalla", 2, 1035, 465, "", {}, nullptr},
        {14, "pantalla", 2, 1530, 465, "", {}, nullptr},
        {13, "pantalla", 2, 2025, 465, "", {}, nullptr},
        {12, "pantalla", 2, 2520, 465, "OK", "OK: close the multipliers", [](Panels& p) { p.multipliers.close(); }},

        {22, "pantalla", 3, 60, 465, "INDEX", "INDEX: back to the groups", [](Panels& p) { p.constants.showIndex(); }},
        {23, "pantalla", 3, 570, 420, "", {}, nullptr},
        {21, "pantalla", 3, 1035, 465, "", {}, nullptr},
        {20, "pantalla", 3, 1530, 465, "", {}, nullptr},
        {19, "pantalla", 3, 2025, 465, "", {}, nullptr},
        {18, "pantalla", 3, 2520, 465, "OK", "OK: close the constants", [](Panels& p) { p.constants.close(); }},

        {24, "pantalla", 4, 90, 420, "<<", "<<: the previous page", [](Panels& p) { p.memory.previousPage(); }},
        {25, "pantalla", 4, 540, 465, "1", "1: the first page", [](Panels& p) { p.memory.firstPage(); }},
        {26, "pantalla", 4, 1035, 465, ">>", ">>: the next page", [](Panels& p) { p.memory.nextPage(); }},
        {27, "pantalla", 4, 1530, 465, "", "Remove the selected value", [](Panels& p) { p.memory.removeSelected(); }},
        {28, "pantalla", 4, 2025, 465, "CLR", "CLR: remove every value", [](Panels& p) { p.memory.clear(); }},
        {29, "pantalla", 4, 2520, 465, "OK", "OK: close the stored values", [](Panels& p) { p.memory.close(); }},

        {49, "pantalla", 8, 540, 465, "ABT", "ABT: about Morvane", [](Panels& p) { p.info.showAbout(); }},
        {50, "pantalla", 8, 1035, 465, "", {}, nullptr},
        {51, "pantalla", 8, 1530, 465, "", {}, nullptr},
        {52, "pantalla", 8, 2025, 465, "", {}, nullptr},
        {53, "pantalla", 8, 2520, 465, "OK", "OK: close the information", [](Panels& p) { p.info.close(); }},

        {65, "pantalla", 9, 90, 420, "", {}, nullptr},
        {64, "pantalla", 9, 540, 465, "", {}, nullptr},
        {63, "pantalla", 9, 1035, 465, "", {}, nullptr},
        {62, "pantalla", 9, 1530, 465, "", {}, nullptr},
        {61, "pantalla", 9, 2025, 465, "", {}, nullptr},
        {60, "pantalla", 9, 2520, 465, "OK", "OK: close the stack utilities", [](Panels& p) { hidePanel(p, 9); }},

        {17, "error", -1, 60, 420, "", {}, nullptr},
        {79, "error", -1, 510, 465, "", {}, nullptr},
        {80, "error", -1, 1005, 465, "", {}, nullptr},
        {81, "error", -1, 1500, 465, "", {}, nullptr},
        {82, "error", -1, 1995, 465, "", {}, nullptr},
        {83, "error", -1, 2490, 465, "OK", "OK: close the error box (Esc)", [](Panels& p) { p.closeError(); }},
    };
    return keys;
}

std::vector<ControlDef> softKeyLayout(std::string_view parent, int parentIndex) {
    std::vector<ControlDef> v;
    for (const SoftKey& k : softKeyTable()) {
        if (k.view != parent || k.viewIndex != parentIndex) continue;
        ControlDef d;
        d.name = "orden";
        d.index = k.index;
        d.parent = k.view;
        d.parentIndex = k.viewIndex;
        d.box = {k.left, 1920, k.width, 150};
        d.caption = k.caption;
        d.tooltip = k.tooltip;
        d.pt = 6;
        d.bold = true;
        d.align = Align::Center;
        d.fore = rgb(255, 255, 255);
        d.back = rgb(0, 128, 0);
        d.opaque = true;
        d.clickable = true;
        v.push_back(d);
    }
    return v;
}

// ---------------------------------------------------------------- the stack view's keys

StackKeys::StackKeys(Context ctx)
    : ctx_(ctx),
      pages_{ctx.form.require("subpantalla", 0), ctx.form.require("subpantalla", 1), ctx.form.require("subpantalla", 2),
             ctx.form.require("subpantalla", 3)} {
    for (int i = 0; i < kRegisters; ++i) lines_[static_cast<size_t>(i)] = ctx.form.require("nivel2", i);
}

// ---------------------------------------------------------------- line selection

// The selected line is drawn in the selection red, every other in black.
void StackKeys::select(int line) {
    selected_ = line;
    for (int i = 0; i < kRegisters; ++i)
        ctx_.form.at(lines_[static_cast<size_t>(i)]).fore = i == selected_ ? kSelectionRed : kBlack;
}

// A click on a display line selects it, or takes the mark away from it.
void StackKeys::nivel2_Click(int index) {
    if (index < 0 || index >= kRegisters) return;
    select(index == selected_ ? kNone : index);
}

void StackKeys::page(int direction) {
    // p: the last page found visible (0 if none); each is hidden once looked at.
    int p = 0;
    for (int k = 0; k < 4; ++k) {
        Control& page = ctx_.form.at(pages_[k]);
        if (page.visible) p = k;
        page.visible = false;
    }
    const int next = p + direction;
    if (next >= 0 && next <= 3) show(ctx_.form, pages_[next], true);
}

void StackKeys::logOnly() {
    for (int id : pages_) show(ctx_.form, id, false);
}

void StackKeys::moveSelected(int direction) {
    auto& r = ctx_.eng.regs.cur;
    // With no line selected the keys move the log.
    const int s = selected_ == kNone ? 0 : selected_;
    const int t = s + direction;
    if (t > 20 || t < 0) return;
    // Up needs a value above; down exchanges with an empty neighbour too.
    if (direction > 0 && r[static_cast<size_t>(t)].empty()) return;
    std::swap(r[static_cast<size_t>(s)], r[static_cast<size_t>(t)]);
    select(t);
}

void StackKeys::swap() {
    auto& r = ctx_.eng.regs.cur;
    if (!r[0].empty() && !r[1].empty()) std::swap(r[0], r[1]);
}

}  // namespace morvane::panels
