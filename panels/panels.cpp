#include "panels/panels.h"

namespace morvane::panels {

namespace {

// One row per array that a panel handles: its click and its hover.
struct Route {
    std::string_view name;
    void (*click)(Panels&, int index, int item);
    bool (*move)(Panels&, int index);  // true when something changed; nullptr: no hover
};

bool hoverArray(Panels& p, std::string_view name, int index) {
    const std::vector<int>& ids = p.ctx.form.elements(name);
    if (index < 0 || index >= static_cast<int>(ids.size()) || ids[static_cast<size_t>(index)] < 0) return false;
    return hover(p.ctx.form, ids, ids[static_cast<size_t>(index)]);
}

const Route kRoutes[] = {
    {"orden", [](Panels& p, int i, int) { p.orden_Click(i); }, nullptr},
    {"nivel2", [](Panels& p, int i, int) { p.stack.nivel2_Click(i); }, nullptr},
    {"ctype", [](Panels& p, int i, int) { p.converter.ctype_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "ctype", i); }},
    {"unidad", [](Panels& p, int i, int) { p.converter.unidad_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "unidad", i); }},
    {"convtemp", [](Panels& p, int i, int) { p.converter.convtemp_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "convtemp", i); }},
    {"convtemp2", [](Panels& p, int i, int) { p.converter.convtemp2_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "convtemp2", i); }},
    {"mult", [](Panels& p, int i, int) { p.multipliers.mult_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "mult", i); }},
    {"utype", [](Panels& p, int i, int) { p.constants.utype_Click(i); },
     [](Panels& p, int i) { return hoverArray(p, "utype", i); }},
    {"cons", [](Panels& p, int i, int) { p.constants.cons_Click(i); },
     [](Panels& p, int i) { return p.constants.cons_MouseMove(i); }},
    {"listmemory", [](Panels& p, int i, int item) { p.memory.listmemory_Click(i, item); }, nullptr},
    {"Label13", [](Panels& p, int, int) { p.stackUtilities.print(); }, nullptr},
    {"Label14", [](Panels& p, int, int) { p.stackUtilities.copy(); }, nullptr},
    {"funpila", [](Panels& p, int i, int) { p.stackUtilities.funpila_Click(i); }, nullptr},
};

const Route* routeOf(std::string_view name) {
    for (const Route& r : kRoutes)
        if (r.name == name) return &r;
    return nullptr;
}

}  // namespace

Panels::Panels(Context c, const std::string& homePage)
    : ctx(c), stack(c), converter(c), multipliers(c), constants(c), memory(c), info(c, homePage), stackUtilities(c) {
    for (const SoftKey& k : softKeyTable()) ctx.form.require("orden", k.index);
}

bool Panels::click(std::string_view name, int index, int item) {
    const Route* r = routeOf(name);
    if (!r) return false;
    r->click(*this, index, item);
    return true;
}

bool Panels::move(std::string_view name, int index, bool& changed) {
    changed = false;
    const Route* r = routeOf(name);
    if (!r || !r->move) return false;
    changed = r->move(*this, index);
    return true;
}

bool Panels::handles(std::string_view name) const { return routeOf(name) != nullptr; }

bool Panels::hovers(std::string_view name) const {
    const Route* r = routeOf(name);
    return r && r->move;
}

void Panels::orden_Click(int index) {
    for (const SoftKey& k : softKeyTable()) {
        if (k.index != index) continue;
        if (k.action) k.action(*this);
        return;
    }
}

void Panels::closeError() { ctx.eng.err.visible = false; }

}  // namespace morvane::panels
