// The SI multipliers: a prefix click multiplies the log by its factor and
// closes the panel. The only panel that takes the undo snapshot.
#include "engine/numtext.h"
#include "panels/panels.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 2;

struct PrefixRow {
    int index;  // mult(index)
    std::string_view caption;
    int exponent;            // the factor is 10 to this power
    std::string_view shown;  // the exponent label beside it
    int memIndex;            // that label's element of the mem array
};

// Left column exa to deca, right column deci to atto.
const PrefixRow kPrefixes[] = {
    {0, "Exa", 18, "18", 32},     {1, "Pecta", 15, "15", 33},   {2, "Tera", 12, "12", 34},
    {3, "Giga", 9, "9", 35},      {4, "Mega", 6, "6", 36},      {5, "Kilo", 3, "3", 37},
    {6, "Hecto", 2, "2", 38},     {7, "Deca", 1, "1", 39},      {8, "Deci", -1, "-1", 40},
    {9, "Centi", -2, "-2", 41},   {10, "Mili", -3, "-3", 42},   {11, "Micro", -6, "-6", 43},
    {12, "Nano", -9, "-9", 44},   {13, "Pico", -12, "-12", 45}, {14, "Femto", -15, "-15", 46},
    {15, "Atto", -18, "-18", 47},
};

// The factor written in full with a decimal comma: "1000", "0,001".
std::string fullText(int exponent) {
    if (exponent >= 0) return "1" + std::string(static_cast<size_t>(exponent), '0');
    return "0," + std::string(static_cast<size_t>(-exponent - 1), '0') + "1";
}

double factorOf(int exponent) {
    double f = 0;
    textToNumber("1E" + std::to_string(exponent), '.', f);
    return f;
}

}  // namespace

std::vector<ControlDef> multiplierLayout(Box area) {
    std::vector<ControlDef> v = panelHead(area, {kPanel, 13, 12, "MULTIPLE", 840, 150, "The SI multiplier prefixes"});
    v.push_back(textRow("aux", 2, "pantalla", kPanel, {1170, 0, 1815, 150}, "1. Clic to apply in log."));
    for (const PrefixRow& p : kPrefixes) {
        const bool left = p.index < 8;
        const int top = 210 + 210 * (p.index % 8);
        v.push_back(numberLabel(p.memIndex, "pantalla", kPanel, {left ? 60 : 1530, top, 195, 195}, p.shown, 6));
        ControlDef d =
            listItem("mult", p.index, "pantalla", kPanel, {left ? 300 : 1770, top, 885, 195}, p.caption, 6.75, true);
        d.tag = intern(fullText(p.exponent));
        v.push_back(d);
    }
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

Multipliers::Multipliers(Context ctx) : ctx_(ctx), panel_(ctx.form.require("pantalla", kPanel)) {
    for (const PrefixRow& p : kPrefixes) {
        ctx.form.require("mult", p.index);
        if (factor_.size() <= static_cast<size_t>(p.index)) factor_.resize(static_cast<size_t>(p.index) + 1, 0);
        factor_[static_cast<size_t>(p.index)] = factorOf(p.exponent);
    }
}

void Multipliers::mult_Click(int index) {
    if (index < 0 || index >= static_cast<int>(factor_.size())) return;
    Engine& eng = ctx_.eng;
    eng.regs.guardarpila();
    if (isNumeric(eng.regs.log(), eng.sep)) {
        try {
            writeLog(eng, factor_[static_cast<size_t>(index)] * logValue(eng));
        } catch (const Failure& f) {
            // A product beyond the range: reported; the log and the undo
            // snapshot stay as they were.
            eng.regs.keyFailed();
            eng.err.report(f.number);
        }
    }
    eng.regs.keyDone();
    show(ctx_.form, panel_, false);
}

void Multipliers::close() { show(ctx_.form, panel_, false); }

}  // namespace morvane::panels
