// The unit converter: a category index, one unit table per linear
// category and the temperature columns. The first unit click marks unit A
// (a border around it), the second converts the log from A to B and closes
// the panel. Nothing is pushed or dropped and no undo snapshot is taken.
#include <cmath>

#include "engine/numtext.h"
#include "panels/panels.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 1;

}  // namespace

std::vector<ControlDef> converterLayout(Box area, const std::vector<UnitRow>& units) {
    std::vector<ControlDef> v = panelHead(area, {kPanel, 8, 9, "CONVERT", 1050, 150, "The unit converter"});
    v.push_back(statusLabel(10, "pantalla", kPanel, {1350, 0, 1755, 150}, "unit to...", false, Align::Left,
                            "The unit to convert from, or what went wrong"));
    v.push_back(
        textRow("aux", 3, "pantalla", kPanel, {300, 150, 2715, 165}, "1. Choose type  2.Clic unitA  3.Clic unitB", 6));
    for (const CategoryRow& c : categoryTable()) {
        // Entries 0 to 5 on the left, then the right column.
        const bool left = c.index < 6;
        const int row = left ? c.index : c.index - 6;
        const int top = 420 + 210 * row;
        ControlDef n = numberLabel(c.index, "pantalla", kPanel, {left ? 120 : 1560, top, 195, 195}, c.number);
        n.visible = c.visible;
        v.push_back(n);
        ControlDef e = listItem("ctype", c.index, "pantalla", kPanel, {left ? 330 : 1770, top, 1215, 195}, c.caption);
        e.visible = c.visible;
        v.push_back(e);
    }
    for (int k = 0; k <= 7; ++k)
        v.push_back(frameRow("subconvert", k, {90, 390, 2895, 1455}, kDisplayGreen, false, "pantalla", kPanel));
    // Each table: the left column top to bottom, then the right column.
    int rowInTable[8] = {};
    for (const UnitRow& u : units) {
        const int k = rowInTable[u.category]++;
        ControlDef d = listItem("unidad", u.index, "subconvert", u.category,
                                {k < 7 ? 60 : 1470, 210 * (k % 7), 1365, 195}, u.caption);
        d.tag = intern(shortestText(u.factor, ','));
        v.push_back(d);
    }
    const auto& scales = temperatureScales();
    v.push_back(textRow("Label5", -1, "subconvert", 0, {1290, 60, 495, 165}, "...to..."));
    for (int i = 0; i < static_cast<int>(scales.size()); ++i) {
        const Box from{60, 240 + 210 * i, 1365, 195};
        v.push_back(listItem("convtemp", i, "subconvert", 0, from, scales[static_cast<size_t>(i)]));
        v.push_back(
            listItem("convtemp2", i, "subconvert", 0, {1470, from.top, 1365, 195}, scales[static_cast<size_t>(i)]));
    }
    // The factor cells lie below the panel's visible part.
    for (int cell = 0; cell < 2; ++cell) {
        ControlDef factor = textRow("conv", cell, "pantalla", kPanel, {1650, 2220 + 210 * cell, 1365, 195}, "");
        factor.role = Role::Storage;
        v.push_back(factor);
    }
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

Converter::Converter(Context ctx, const std::vector<UnitRow>& units)
    : ctx_(ctx),
      unidad_(ctx.form.elements("unidad")),
      convtemp_(ctx.form.elements("convtemp")),
      subconvert_(ctx.form.elements("subconvert")),
      panel_(ctx.form.require("pantalla", kPanel)),
      prompt_(ctx.form.require("estado", 10)),
      conv_{ctx.form.require("conv", 0), ctx.form.require("conv", 1)} {
    factorOf_.assign(unidad_.size(), 0);
    for (const UnitRow& u : units) {
        ctx.form.require("unidad", u.index);
        factorOf_[static_cast<size_t>(u.index)] = u.factor;
    }
    for (int i = 0; i < static_cast<int>(temperatureScales().size()); ++i) {
        ctx.form.require("convtemp", i);
        ctx.form.require("convtemp2", i);
    }
    for (int k = 0; k <= 7; ++k) ctx.form.require("subconvert", k);
}

void Converter::ctype_Click(int index) {
    for (int id : subconvert_)
        if (id >= 0) show(ctx_.form, id, false);
    // The hidden entries 8 and 9 have no table.
    if (index >= 0 && index < static_cast<int>(subconvert_.size()) && subconvert_[static_cast<size_t>(index)] >= 0)
        show(ctx_.form, subconvert_[static_cast<size_t>(index)], true);
}

void Converter::setFactor(int cell, double f) {
    factor[cell] = f;
    ctx_.form.at(conv_[cell]).caption = shortestText(f, ctx_.eng.sep);
}

// Unit A is marked by a border; the conversion is log x factor B / factor A.
void Converter::setUnitA(int index) {
    unitA_ = index;
    for (size_t i = 0; i < unidad_.size(); ++i)
        if (unidad_[i] >= 0) ctx_.form.at(unidad_[i]).border = static_cast<int>(i) == unitA_ ? 1 : 0;
}

void Converter::unidad_Click(int index) {
    if (index < 0 || index >= static_cast<int>(unidad_.size()) || unidad_[static_cast<size_t>(index)] < 0) return;
    Form& form = ctx_.form;
    const Control& clicked = form.at(unidad_[static_cast<size_t>(index)]);
    Control& prompt = form.at(prompt_);
    if (unitA_ == kNone) {
        // The first click marks unit A.
        setUnitA(index);
        prompt.caption = clicked.caption + " to...";
        setFactor(0, factorOf_[static_cast<size_t>(index)]);
        return;
    }
    if (unitA_ == index) {
        // A second click on unit A cancels it.
        setUnitA(kNone);
        prompt.caption = "unit to...";
        return;
    }
    // Unit B.
    setFactor(1, factorOf_[static_cast<size_t>(index)]);
    try {
        const double x = logValue(ctx_.eng);
        const double product = x * factor[1];
        writeLog(ctx_.eng, product / factor[0]);
    } catch (const Failure&) {
        prompt.caption = "ERROR: log is empty";
        return;
    }
    setUnitA(kNone);
    prompt.caption = "unit to...";
    show(form, panel_, false);
}

void Converter::convtemp_Click(int index) {
    if (index < 0 || index >= static_cast<int>(convtemp_.size())) return;
    Form& form = ctx_.form;
    for (int id : convtemp_) form.at(id).border = 0;
    Control& clicked = form.at(convtemp_[static_cast<size_t>(index)]);
    clicked.border = 1;
    try {
        Pending t;
        if (index == 2) {
            // Celsius: the log's text itself, read when the target is computed.
            t.isText = true;
            t.text = ctx_.eng.regs.log();
        } else {
            const double x = logValue(ctx_.eng);
            t.value = index == 0 ? (x - 32) / 1.8 : index == 1 ? (x - 491.67) / 1.8 : x - 273.15;
            if (!std::isfinite(t.value)) throw Failure{kOverflow};
        }
        tempcelsius = std::move(t);
        form.at(prompt_).caption = "from " + clicked.caption;
    } catch (const Failure&) {
        form.at(prompt_).caption = "ERROR: no correct log";
    }
}

void Converter::convtemp2_Click(int index) {
    if (index < 0 || index >= static_cast<int>(convtemp_.size())) return;
    Engine& eng = ctx_.eng;
    try {
        if (index == 2 && tempcelsius.isText) {
            copyToLog(eng, tempcelsius.text);
        } else {
            const double t = tempcelsius.isText ? eng.value(tempcelsius.text) : tempcelsius.value;
            const double r = index == 0 ? t * 1.8 + 32 : index == 1 ? (t + 273.15) * 1.8 : index == 2 ? t : t + 273.15;
            writeLog(eng, r);
        }
    } catch (const Failure&) {
        return;  // silent: the log, the marker and the panel stay
    }
    for (int id : convtemp_) ctx_.form.at(id).border = 0;
    show(ctx_.form, panel_, false);
}

void Converter::clearUnitA() { setUnitA(kNone); }

void Converter::showIndex() {
    for (int id : subconvert_)
        if (id >= 0) show(ctx_.form, id, false);
    clearUnitA();
}

void Converter::close() {
    show(ctx_.form, panel_, false);
    clearUnitA();
}

}  // namespace morvane::panels
