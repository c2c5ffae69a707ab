// The panels' tables and handlers: structural checks of the real tables, and
// the converter against a tiny table of its own.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/numtext.h"
#include "panels/panels.h"

namespace morvane::panels {
namespace {

// A layout that names one control twice, or puts a row in a frame it lacks,
// fails when the window is made, each with its own error.
TEST(Form, ALayoutFaultFailsAtStart) {
    const ControlDef frame = frameRow("pantalla", 1, {}, kDisplayGreen, true);
    const ControlDef label = textRow("aux", 3, "pantalla", 1, {}, "x");
    const ControlDef orphan = textRow("aux", 4, "pantalla", 2, {}, "y");
    EXPECT_NO_THROW(Form({&frame, &label}));
    EXPECT_THROW(Form({&frame, &label, &label}), DuplicateControl);
    EXPECT_THROW(Form({&frame, &orphan}), MissingControl);
    Form form({&frame, &label});
    EXPECT_THROW(form.require("aux", 4), MissingControl);
}

TEST(UnitTable, EveryCategoryHasOneBaseUnitFirstAndUniqueCaptions) {
    std::map<int, std::vector<const UnitRow*>> byCategory;
    std::set<int> indices;
    for (const UnitRow& u : unitTable()) {
        byCategory[u.category].push_back(&u);
        EXPECT_TRUE(indices.insert(u.index).second) << "unidad " << u.index << " twice";
        EXPECT_GT(u.factor, 0) << u.caption;
        EXPECT_EQ(u.caption.substr(0, 1), " ") << u.caption;
    }
    EXPECT_EQ(unitTable().size(), 93u);
    ASSERT_EQ(byCategory.size(), 7u);
    for (const auto& [category, units] : byCategory) {
        EXPECT_GE(category, 1);
        EXPECT_LE(category, 7);
        EXPECT_LE(units.size(), 14u) << "two columns of seven";
        EXPECT_EQ(units.front()->factor, 1) << "the first unit is the base";
        std::set<std::string_view> captions;
        for (const UnitRow* u : units) EXPECT_TRUE(captions.insert(u->caption).second) << u->caption;
    }
    // Every category but temperature has its table; 8 and 9 are hidden.
    int shown = 0;
    for (const CategoryRow& c : categoryTable()) shown += c.visible;
    EXPECT_EQ(shown, 8);
}

TEST(UnitTable, FactorsReadBackFromTheirTagTexts) {
    for (const ControlDef& d : converterLayout({})) {
        if (d.name != "unidad") continue;
        double back = 0;
        ASSERT_EQ(textToNumber(d.tag, ',', back), Conv::Ok) << d.tag;
        const auto& units = unitTable();
        const auto it = std::find_if(units.begin(), units.end(), [&](const UnitRow& u) { return u.index == d.index; });
        ASSERT_NE(it, units.end());
        EXPECT_EQ(back, it->factor) << d.caption << " " << d.tag;
    }
}

TEST(ShortestText, FewestDigitsWithTheirOwnNotation) {
    EXPECT_EQ(shortestText(1e28, ','), "1E28");
    EXPECT_EQ(shortestText(1e-6, '.'), "1E-6");
    EXPECT_EQ(shortestText(0.001, ','), "0,001");
    EXPECT_EQ(shortestText(1013250000000, ','), "1013250000000");
    EXPECT_EQ(shortestText(0.0002471053814671653, ','), "0,0002471053814671653");
    EXPECT_EQ(shortestText(6.241509744511526e18, ','), "6,241509744511526E18");
    EXPECT_EQ(shortestText(-2.5, '.'), "-2.5");
}

TEST(SoftKeyTable, SixKeysAViewAndEveryIndexOnce) {
    std::map<std::pair<std::string_view, int>, int> perView;
    std::set<int> indices;
    for (const SoftKey& k : softKeyTable()) {
        ++perView[{k.view, k.viewIndex}];
        EXPECT_TRUE(indices.insert(k.index).second) << "orden " << k.index << " twice";
        EXPECT_LE(k.left + k.width, 3045) << "orden " << k.index;
    }
    EXPECT_EQ(perView.size(), 8u);
    // The info panel's row has no first key.
    for (const auto& [view, n] : perView)
        EXPECT_EQ(n, view.first == "pantalla" && view.second == 8 ? 5 : 6) << view.first << " " << view.second;
}

// A converter over a table of two categories and a form made for it.
class TinyConverter : public ::testing::TestWithParam<char> {
protected:
    const std::vector<UnitRow> units = {
        {0, 1, " base", 1},
        {1, 1, " half", 2},  // two halves make one base unit
        {2, 1, " huge", 1e-300},
        {3, 2, " other base", 1},
    };
    std::vector<ControlDef> defs;
    std::unique_ptr<Form> form;
    Engine eng;
    std::unique_ptr<Converter> conv;

    void SetUp() override {
        defs = converterLayout({}, units);
        std::vector<const ControlDef*> rows;
        for (const ControlDef& d : defs) rows.push_back(&d);
        form = std::make_unique<Form>(rows);
        form->find("pantalla", 1)->visible = true;  // shown, as its mode key shows it
        eng.sep = GetParam();
        conv = std::make_unique<Converter>(Context{*form, eng, {}}, units);
    }
    const Control& unit(int i) const { return *form->find("unidad", i); }
    std::string prompt() const { return form->find("estado", 10)->caption; }
    std::string n(const char* t) const {
        std::string s = t;
        for (char& c : s)
            if (c == '.') c = eng.sep;
        return s;
    }
};

TEST_P(TinyConverter, ConvertsFromUnitAToUnitB) {
    eng.regs.log() = n("1.5");
    conv->unidad_Click(0);
    EXPECT_EQ(unit(0).border, 1);
    EXPECT_EQ(prompt(), " base to...");
    conv->unidad_Click(1);
    EXPECT_EQ(eng.regs.log(), "3");
    EXPECT_EQ(unit(0).border, 0);
    EXPECT_EQ(prompt(), "unit to...");
    EXPECT_FALSE(form->find("pantalla", 1)->visible);
    // Back: the product first, then the quotient.
    conv->unidad_Click(1);
    conv->unidad_Click(0);
    EXPECT_EQ(eng.regs.log(), n("1.5"));
}

TEST_P(TinyConverter, FactorsDoNotDependOnTheSeparatorOfTheMoment) {
    eng.regs.log() = "3";
    conv->unidad_Click(1);
    eng.sep = eng.sep == ',' ? '.' : ',';  // the regional settings change
    conv->unidad_Click(0);
    EXPECT_EQ(eng.regs.log(), n("1.5"));
}

TEST_P(TinyConverter, AFailureKeepsUnitAAndTheLog) {
    eng.regs.log() = "1E300";
    conv->unidad_Click(2);
    conv->unidad_Click(0);  // 1E300 / 1E-300 overflows
    EXPECT_EQ(prompt(), "ERROR: log is empty");
    EXPECT_EQ(eng.regs.log(), "1E300");
    EXPECT_EQ(unit(2).border, 1);
    EXPECT_TRUE(form->find("pantalla", 1)->visible);
    // Only units with another caption count as unit A: a second click on
    // "huge" cancels it.
    conv->unidad_Click(2);
    EXPECT_EQ(unit(2).border, 0);
    EXPECT_EQ(prompt(), "unit to...");
}

TEST_P(TinyConverter, TheTemperatureCarriedBetweenClicks) {
    eng.regs.log() = "50";
    conv->convtemp_Click(0);  // 50 F is 10 C
    EXPECT_FALSE(conv->tempcelsius.isText);
    EXPECT_DOUBLE_EQ(conv->tempcelsius.value, 10);
    eng.regs.log().clear();
    conv->convtemp_Click(3);  // fails: the pending value stays
    EXPECT_DOUBLE_EQ(conv->tempcelsius.value, 10);
    EXPECT_EQ(prompt(), "ERROR: no correct log");
    conv->convtemp2_Click(3);
    EXPECT_EQ(eng.regs.log(), n("283.15"));
}

INSTANTIATE_TEST_SUITE_P(Separators, TinyConverter, ::testing::Values('.', ','),
                         [](const ::testing::TestParamInfo<char>& i) { return i.param == ',' ? "comma" : "point"; });

}  // namespace
}  // namespace morvane::panels
