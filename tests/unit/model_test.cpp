// The window model's own rules: the window's shape, the separator from the
// regional settings, timers, and how events reach controls.
#include <gtest/gtest.h>

#include "platform/fake.h"
#include "window/model.h"

namespace morvane {
namespace {

struct ModelFixture : ::testing::Test {
    platform::FakeServices fakes;
    platform::FakeRegional& regional = fakes.regional;
    platform::FakeWindowSystem& window = fakes.window;
    std::unique_ptr<Calculadora> calc;

    void SetUp() override { calc = std::make_unique<Calculadora>(fakes.services(), Calculadora::Config{"home", "help"}); }
};

TEST_F(ModelFixture, ShapeFollowsEveryHeight) {
    // 246 x 502 pixels at start; the corner ellipse is 246 / 17 = 14.47 -> 14.
    EXPECT_EQ(window.regionW, 246);
    EXPECT_EQ(window.regionH, 502);
    EXPECT_EQ(window.regionR, 14);
    EXPECT_EQ(window.width, 3690);
    EXPECT_EQ(window.height, 7530);
    calc->click("MANEJO", 0);  // topmost: 7560 twips
    EXPECT_EQ(window.regionH, 504);
    EXPECT_TRUE(window.topmost);
    EXPECT_TRUE(window.visible);
    calc->click("MANEJO", 0);  // not topmost: 8085 twips
    EXPECT_EQ(window.regionH, 539);
    EXPECT_EQ(window.height, 8085);
    EXPECT_FALSE(window.topmost);
}

TEST_F(ModelFixture, MinimisedWindowKeepsItsRegionUntilRestored) {
    calc->click("MANEJO", 1);
    EXPECT_TRUE(window.minimized);
    window.regionW = window.regionH = window.regionR = 0;
    calc->Form_Resize();  // the system's resize while minimised: no reshape
    EXPECT_EQ(window.regionW, 0);
    calc->restored();
    EXPECT_FALSE(calc->minimized);
    EXPECT_EQ(window.regionW, 246);
    EXPECT_EQ(window.regionR, 14);
}

TEST_F(ModelFixture, SeparatorComesFromTheRegionalSettings) {
    regional.separator = ',';
    calc->regionalChanged();
    calc->click("numero", 1);
    calc->click("tecla", 15);  // decimal point
    calc->click("numero", 5);
    EXPECT_EQ(calc->eng.regs.cur[0], "1,5");
    // Anything but ',' and '.' falls back to '.'.
    regional.separator = '\'';
    calc->regionalChanged();
    calc->click("tecla", 6);
    calc->click("numero", 2);
    calc->click("tecla", 15);
    EXPECT_EQ(calc->eng.regs.cur[0], "2.");
}

TEST_F(ModelFixture, DisabledTimerTickDoesNothing) {
    EXPECT_TRUE(calc->tick("Timer4"));
    EXPECT_FALSE(calc->ended);
    EXPECT_FALSE(window.ended);
    EXPECT_FALSE(calc->tick("Timer9"));
    calc->click("MANEJO", 2);
    EXPECT_TRUE(calc->form().timer("Timer4")->enabled);
    EXPECT_TRUE(calc->tick("Timer4"));
    EXPECT_TRUE(calc->ended);
    EXPECT_TRUE(window.ended);
}

TEST_F(ModelFixture, ClicksReportUnknownControls) {
    EXPECT_EQ(calc->click("tecla", 66), EventResult::UnknownControl);
    EXPECT_EQ(calc->click("nosuch"), EventResult::UnknownControl);
    // A label without a handler takes the click and does nothing.
    EXPECT_EQ(calc->click("Label15"), EventResult::Ok);
    EXPECT_EQ(calc->click("numero", 3), EventResult::Ok);
    EXPECT_EQ(calc->eng.regs.cur[0], "3");
}

TEST_F(ModelFixture, EngineStateIsPublishedToItsControls) {
    calc->click("numero", 8);
    calc->click("tecla", 12);
    calc->click("tecla", 0);  // 8 + empty log fails: type mismatch
    EXPECT_EQ(calc->form().find("nivel", 1)->text(), "8");
    EXPECT_EQ(calc->form().find("nivel", 1)->tagText(), "8");
    EXPECT_EQ(calc->form().find("estado", 7)->caption, "E 13");
    EXPECT_EQ(calc->form().find("numeroerror")->caption, "ERROR E-13");
    EXPECT_TRUE(calc->form().find("error")->visible);
    calc->click("estado", 2);
    EXPECT_EQ(calc->form().find("estado", 2)->caption, "HYP");
    calc->click("orden", 83);
    EXPECT_FALSE(calc->form().find("error")->visible);
    calc->click("numero", 4);
    calc->click("tecla", 55);  // >MEM
    EXPECT_EQ(calc->form().find("listmemory", 1)->rows.items(), std::vector<std::string>{"4"});
    EXPECT_EQ(calc->form().find("listmemory", 0)->rows.items().size(), 29u);
    EXPECT_EQ(calc->form().find("listmemory", 0)->rows.items().back(), "29");
}

TEST_F(ModelFixture, EveryClickableControlHasAHandler) {
    for (const Control& c : calc->form().controls) {
        if (c.def->clickable) {
            EXPECT_TRUE(calc->handles(c.def->name)) << c.def->name << " " << c.def->index;
        }
    }
    EXPECT_FALSE(calc->handles("Label15"));
}

TEST_F(ModelFixture, EveryControlSitsInsideAFrameThatExists) {
    for (const Control& c : calc->form().controls) {
        if (c.def->parent.empty()) continue;
        ASSERT_GE(c.parent, 0) << c.def->name << " " << c.def->index;
        EXPECT_EQ(calc->form().controls[static_cast<size_t>(c.parent)].def->kind, Kind::Frame) << c.def->name;
    }
    // Names are unique per index.
    for (size_t i = 0; i < calc->form().controls.size(); ++i) {
        const ControlDef* d = calc->form().controls[i].def;
        EXPECT_EQ(calc->form().id(d->name, d->index), static_cast<int>(i)) << d->name << " " << d->index;
    }
}

TEST(ModelStart, ClockShowsTheTimeFromTheFirstFrame) {
    platform::FakeServices fakes;
    fakes.regional.set("2026-05-06 07:08:09");
    Calculadora calc(fakes.services(), Calculadora::Config{"home", "help"});
    // Not the layout's design caption "10:11:12" until the first tick.
    EXPECT_EQ(calc.form().find("estado", 4)->caption, "07:08:09");
}

TEST_F(ModelFixture, DisplayIsStaleOnlyUntilTheDisplayTimerCatchesUp) {
    // At start the registers and the display lines are all empty.
    EXPECT_FALSE(calc->displayStale());
    calc->tick("Timer1");
    calc->click("estado", 2);  // HYP: no register changes
    EXPECT_FALSE(calc->displayStale());
    calc->click("numero", 5);
    EXPECT_TRUE(calc->displayStale());
    calc->tick("Timer2");
    EXPECT_FALSE(calc->displayStale());
    calc->click("estado", 11);  // decimals "X" -> "9"
    EXPECT_TRUE(calc->displayStale());
    calc->tick("Timer2");
    EXPECT_FALSE(calc->displayStale());
    regional.separator = ',';  // the regional settings change while idle
    calc->regionalChanged();
    EXPECT_TRUE(calc->displayStale());
    calc->tick("Timer2");
    EXPECT_FALSE(calc->displayStale());
    EXPECT_EQ(calc->line(0).caption, "5,");
    // A stale display is one that the next tick rewrites.
    calc->click("tecla", 12);  // ENTER moves the 5 up
    EXPECT_TRUE(calc->displayStale());
    const std::string before = calc->line(1).caption;
    calc->tick("Timer2");
    EXPECT_NE(calc->line(1).caption, before);
}

}  // namespace
}  // namespace morvane
