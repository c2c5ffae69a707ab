// The physical constants: a group index and one list per group. A click
// puts the constant's value into the log as it is stored (with the regional
// separator) and closes the panel; hovering shows the value on the panel's
// status line.
#include "panels/panels.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 3;

struct GroupRow {
    int index;  // utype(index), its list subconstant(index)
    std::string_view caption;
    std::string_view number;
    int memIndex;
};

const GroupRow kGroups[] = {
    {0, "Universal constants", "1", 10},
    {1, "Atomic and nuclear constants", "2", 11},
    {2, "Electon, proton and neutron constants", "3", 12},
    {3, " Physico-chemical constants (I)", "4", 13},
    {4, "Physico-chemical constants (II)", "5", 14},
    {5, "Electromagnetic constants", "6", 15},
    {6, "Adopted values", "7", 16},
};

struct ConstantRow {
    int group;
    int index;  // cons(index)
    std::string_view caption;
    std::string_view value;  // with a decimal comma, as the log receives it
};

// The 1998 CODATA recommended values and the conventional adopted values,
// each group in display order from the top row down.
const ConstantRow kConstants[] = {
    {0, 0, "speed of light in vacuum (ms-1)", "299792458"},
    {0, 1, "magnetic constant (NA-2)", "12,566370614E-7"},
    {0, 2, "electric constant (Fm-1)", "8,854187817E-12"},
    {0, 3, "Newtonian constant of gravitation (m3k-1s-2)", "6,673E-11"},
    {0, 4, "Plank constant (Js)", "6,62606876E-34"},
    {0, 5, "Plank mass (kg)", "2,1767E-8"},
    {0, 6, "impedance of vacuum (Ohm)", "376,730313461"},
    {1, 13, "fine-structure constant", "7,297352533E-3"},
    {1, 12, "inverse fine-structure constant", "137,03599976"},
    {1, 11, "Rydberg constant (m-1)", "10973731,568549"},
    {1, 10, "Rydberg hc (eV)", "13,60569172"},
    {1, 9, "Bohr radius (m)", "0,5291772083E-10"},
    {1, 8, "Hartree energy (J)", "4,35974381E-18"},
    {1, 7, "quantum of circulation  (m2s-1)", "3,636947516E-4"},
    {2, 14, "electron mass (kg)", "9,10938188E-31"},
    {2, 15, "electron Compton wavelength (m)", "2,426310215E-12"},
    {2, 16, "proton mass (kg)", "1,67262158E-27"},
    {2, 17, "proton Compton wavelength (m)", "1,321409847E-15"},
    {2, 18, "neutron mass (kg)", "1,67492716E-27"},
    {2, 19, "neutron Compton wavelenght  (m)", "1,319590898E-15"},
    {3, 25, "Avogadro constant (mol-1)", "6,02214199E23"},
    {3, 24, "atomic mass constant (kg)", "1,66053873E-27"},
    {3, 23, "Faraday constant (Cmol-1)", "96485,3415"},
    {3, 22, "molar Plank constant (Jsmol-1)", "3,990312689E-10"},
    {3, 21, "molar gas constan (Jmol-1K-1)", "8,314472"},
    {3, 20, "Boltzmann constant (JK-1)", "1,3806503E-23"},
    {3, 26, "molar volume of ideal gas (m3mol-1))", "22,413996E-3"},
    {4, 28, "Loschmidt constant (m-3)", "2,6867775E25"},
    {4, 29, "Sackur-Teodore constant", "-1,1517048"},
    {4, 30, "Stefan-Boltzmann constant (Wm-2K-4)", "5,670400E-8"},
    {4, 31, "first radiation constant (Wm2)", "3,74177107E-16"},
    {4, 32, "first radiation c. spectral radiance (Wm2sr-1)", "1,191042722E-16"},
    {4, 33, "second radiation constant (mK)", "1,4387752E-2"},
    {4, 27, "Wien displacement law constant (mK)", "2,8977686E-3"},
    {5, 39, "elementary charge (C)", "1,602176462E-19"},
    {5, 38, "magnetic flux quantum (Wb)", "2,067833636E-15"},
    {5, 37, "conductance quantum (S)", "7,748091696E-5"},
    {5, 36, "Josephson constant (HzV-1)", "483597,898E9"},
    {5, 35, "von Klitzing constant (Ohm)", "25812,807572"},
    {5, 34, "Bohr magneton (JT-1)", "927,400899E-26"},
    {5, 40, "nuclear magneton (JT-1)", "5,05078317E-27"},
    {6, 42, "molar mass of C (kgmol-1)", "12E-3"},
    {6, 43, "molar mass constant (kgmol-1)", "1E-3"},
    {6, 44, "conventional value of von Klitzing c. (Ohm)", "25812,807"},
    {6, 45, "conventional value of Josephson c. (HzV-1)", "483597,9E9"},
    {6, 46, "standard atmosphere (Pa)", "101325"},
    {6, 41, "standard acceleration of gravity (ms-1)", "9,80665"},
};

}  // namespace

std::vector<ControlDef> constantLayout(Box area) {
    std::vector<ControlDef> v = panelHead(area, {kPanel, 16, 15, "CONSTANT", 870, 150, "The physical constants"});
    v.push_back(statusLabel(14, "pantalla", kPanel, {1170, 0, 1815, 150}, "= ", false, Align::Left,
                            "The value of the constant under the pointer"));
    v.push_back(textRow("aux", 1, "pantalla", kPanel, {300, 150, 2715, 165}, "1. Choose type  2.Clic constant.", 6));
    for (const GroupRow& g : kGroups) {
        const int top = 420 + 210 * g.index;
        v.push_back(numberLabel(g.memIndex, "pantalla", kPanel, {90, top, 195, 195}, g.number));
        v.push_back(
            listItem("utype", g.index, "pantalla", kPanel, {g.index == 3 ? 300 : 330, top, 2475, 195}, g.caption));
    }
    for (const GroupRow& g : kGroups)
        v.push_back(frameRow("subconstant", g.index, {90, 360, 2895, 1545}, kDisplayGreen, false, "pantalla", kPanel));
    int row[7] = {};
    for (const ConstantRow& c : kConstants) {
        ControlDef d =
            listItem("cons", c.index, "subconstant", c.group, {0, 210 * row[c.group]++, 2895, 195}, c.caption, 6);
        d.tag = c.value;
        v.push_back(d);
    }
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

Constants::Constants(Context ctx)
    : ctx_(ctx),
      cons_(ctx.form.elements("cons")),
      subconstant_(ctx.form.elements("subconstant")),
      panel_(ctx.form.require("pantalla", kPanel)),
      value_(ctx.form.require("estado", 14)) {
    for (const ConstantRow& c : kConstants) ctx.form.require("cons", c.index);
    for (const GroupRow& g : kGroups) ctx.form.require("subconstant", g.index);
}

static const ConstantRow* rowOf(int index) {
    for (const ConstantRow& c : kConstants)
        if (c.index == index) return &c;
    return nullptr;
}

std::string Constants::valueText(int index) const {
    const ConstantRow* row = rowOf(index);
    std::string t = row ? std::string(row->value) : std::string();
    for (char& ch : t)
        if (ch == ',') ch = ctx_.eng.sep;
    return t;
}

void Constants::utype_Click(int index) {
    for (int id : subconstant_) show(ctx_.form, id, false);
    if (index >= 0 && index < static_cast<int>(subconstant_.size()))
        show(ctx_.form, subconstant_[static_cast<size_t>(index)], true);
}

void Constants::cons_Click(int index) {
    if (index < 0 || index >= static_cast<int>(cons_.size())) return;
    copyToLog(ctx_.eng, valueText(index));
    show(ctx_.form, panel_, false);
}

bool Constants::cons_MouseMove(int index) {
    if (index < 0 || index >= static_cast<int>(cons_.size())) return false;
    bool changed = hover(ctx_.form, cons_, cons_[static_cast<size_t>(index)]);
    std::string shown = "= " + valueText(index);
    Control& value = ctx_.form.at(value_);
    if (value.caption != shown) {
        value.caption = std::move(shown);
        changed = true;
    }
    return changed;
}

void Constants::showIndex() {
    for (int id : subconstant_) show(ctx_.form, id, false);
}

void Constants::close() { show(ctx_.form, panel_, false); }

}  // namespace morvane::panels
