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

    void SetUp() override {
        calc = std::make_unique<Calculadora>(fakes.services(), Calculadora::Config{"home", "help"});
    }
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
    // The snapshot that ENTER took, which the failing key left alone.
    EXPECT_EQ(calc->form().find("nivel", 0)->tagText(), "8");
    EXPECT_EQ(calc->form().find("nivel", 1)->tagText(), "");
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

// ---------------------------------------------------------------- answers that come later

// A clipboard owner that answers late: "pst" holds every click, key press
// and wheel turn that follows until its answer, which the view hears of;
// the timers go on meanwhile.
TEST_F(ModelFixture, PasteHoldsTheEventsThatFollowUntilItsAnswer) {
    int answers = 0;
    calc->onAnswer = [&] { ++answers; };
    fakes.clipboard.slow = true;
    fakes.clipboard.content = "77";
    calc->click("numero", 4);
    calc->Form_KeyPress(22);  // Ctrl+V
    EXPECT_TRUE(calc->eng.pasting());
    calc->Form_KeyPress('5');
    calc->click("numero", 6);
    calc->click("tecla", 12);  // ENTER
    calc->wheel("listmemory", 1, 2);
    EXPECT_EQ(calc->eng.regs.cur[0], "4") << "no key acts before the paste has ended";
    EXPECT_EQ(calc->waitingEvents(), 4u);
    EXPECT_TRUE(calc->tick("Timer1"));
    EXPECT_TRUE(calc->tick("Timer2"));
    EXPECT_EQ(calc->line(0).caption, "4.");
    EXPECT_EQ(answers, 0);
    fakes.clipboard.answer();
    EXPECT_FALSE(calc->eng.pasting());
    EXPECT_EQ(calc->waitingEvents(), 0u);
    EXPECT_EQ(calc->eng.regs.cur[1], "7756") << "the paste, then the keys in their order";
    EXPECT_EQ(calc->eng.regs.cur[0], "");
    EXPECT_EQ(answers, 1);
    // The paste's own snapshot: undo gives the log before it.
    EXPECT_EQ(calc->eng.regs.saved[0], "7756");
    calc->click("tecla", 5);
    EXPECT_EQ(calc->eng.regs.cur[0], "7756");
}

// A paste that delivers no text, or one beyond the bound, fails when the
// answer comes: the log kept, the undo snapshot as before "pst", and the
// keys that waited act after it.
TEST_F(ModelFixture, PasteThatFailsLateChangesNothing) {
    calc->click("numero", 3);
    calc->click("tecla", 12);  // ENTER: the snapshot holds the log "3"
    calc->click("numero", 2);
    fakes.clipboard.slow = true;
    calc->click("tecla", 48);  // pst
    calc->click("numero", 9);
    fakes.clipboard.failing = true;
    fakes.clipboard.answer();
    EXPECT_EQ(calc->form().find("estado", 7)->caption, "E 521");
    EXPECT_TRUE(calc->form().find("error")->visible);
    EXPECT_EQ(calc->eng.regs.cur[0], "29");
    EXPECT_EQ(calc->eng.regs.cur[1], "3");
    EXPECT_EQ(calc->eng.regs.saved[0], "3");
    EXPECT_EQ(calc->eng.regs.saved[1], "");

    fakes.clipboard.failing = false;
    fakes.clipboard.content = std::string(kTextBound + 1, '1');
    calc->click("tecla", 48);
    fakes.clipboard.answer();
    EXPECT_EQ(calc->form().find("estado", 7)->caption, "E 7");
    EXPECT_EQ(calc->eng.regs.cur[0], "29");
    EXPECT_EQ(calc->eng.regs.saved[0], "3");
    // An empty clipboard is an empty paste, not a failure.
    fakes.clipboard.content.clear();
    const unsigned long failures = calc->eng.err.failures;
    calc->click("tecla", 48);
    fakes.clipboard.answer();
    EXPECT_EQ(calc->eng.err.failures, failures);
    EXPECT_EQ(calc->eng.regs.cur[0], "");
}

// A printer that answers late holds nothing up; its verdict shows when it
// comes: the stack-utilities panel with its notice, or error 482.
TEST_F(ModelFixture, PrintersVerdictComesLaterWithoutHoldingTheWindow) {
    int answers = 0;
    calc->onAnswer = [&] { ++answers; };
    fakes.printer.slow = true;
    calc->click("numero", 8);
    calc->tick("Timer2");
    calc->click("Label13");
    calc->click("numero", 1);  // acts at once
    EXPECT_EQ(calc->eng.regs.cur[0], "81");
    EXPECT_FALSE(calc->form().find("Label11")->visible);
    EXPECT_FALSE(calc->form().find("error")->visible);
    fakes.printer.answer();
    EXPECT_EQ(answers, 1);
    ASSERT_EQ(fakes.printer.pages.size(), 1u);
    EXPECT_EQ(fakes.printer.pages[0].find("Label1", 0)->text, "8.") << "the page as it was at PRINT";
    EXPECT_TRUE(calc->form().find("pantalla", 9)->visible);
    EXPECT_TRUE(calc->form().find("Label11")->visible);
    EXPECT_TRUE(calc->form().timer("Timer5")->enabled);
    calc->tick("Timer5");
    EXPECT_FALSE(calc->form().find("pantalla", 9)->visible);
    EXPECT_FALSE(calc->form().find("Label11")->visible);

    fakes.printer.ok = false;
    calc->click("Label13");
    fakes.printer.answer();
    EXPECT_EQ(calc->form().find("estado", 7)->caption, "E 482");
    EXPECT_TRUE(calc->form().find("error")->visible);
    EXPECT_FALSE(calc->form().find("Label11")->visible);
    EXPECT_FALSE(calc->form().timer("Timer5")->enabled);
}

// ---------------------------------------------------------------- the screen

TEST(WindowPlacement, AWindowIsMovedInWhereItSticksOutAndKeepsItsTopLeftOnASmallerScreen) {
    const platform::ScreenArea screen{0, 450, 12000, 9000};  // 800 x 600 pixels below a 30-pixel panel
    auto place = [&](int left, int top, int width, int height) {
        keepInside(left, top, width, height, screen);
        return std::make_pair(left, top);
    };
    EXPECT_EQ(place(1500, 2400, 3690, 7530), std::make_pair(1500, 1920));  // bottom edge on the screen's
    EXPECT_EQ(place(1500, 600, 3690, 7530), std::make_pair(1500, 600));    // fits where it is
    EXPECT_EQ(place(9000, 1500, 3690, 7530), std::make_pair(8310, 1500));  // right edge on the screen's
    EXPECT_EQ(place(-300, 0, 3690, 7530), std::make_pair(0, 450));         // off the left and above the panel
    EXPECT_EQ(place(1500, 1500, 3690, 12000), std::make_pair(1500, 450));  // taller than the screen
    EXPECT_EQ(place(20000, 20000, 15000, 12000), std::make_pair(0, 450));  // larger both ways
}

TEST(WindowPlacement, TheWindowStartsAndChangesHeightInsideTheFreePartOfItsScreen) {
    platform::FakeServices fakes;
    fakes.window.hasArea = true;
    fakes.window.area = {0, 0, 12000, 9000};  // 800 x 600 pixels
    Calculadora calc(fakes.services(), Calculadora::Config{"home", "help"});
    // The layout's position (1500, 1500) would put the bottom 30 pixels off
    // the screen; the screen asked about is the one at that position.
    EXPECT_EQ(fakes.window.areaAskedX, 1500);
    EXPECT_EQ(fakes.window.areaAskedY, 1500);
    EXPECT_EQ(fakes.window.left, 1500);
    EXPECT_EQ(fakes.window.top, 9000 - 7530);
    calc.click("MANEJO", 0);  // on top, 7560 high
    EXPECT_EQ(fakes.window.top, 9000 - 7560);
    calc.click("MANEJO", 0);  // the tall window, 8085 high
    EXPECT_EQ(fakes.window.top, 9000 - 8085);
    EXPECT_EQ(fakes.window.height, 8085);
    // A screen of 320 x 240 pixels: the top-left corner stays on it.
    fakes.window.area = {0, 0, 4800, 3600};
    calc.click("MANEJO", 0);
    EXPECT_EQ(fakes.window.left, 1110);
    EXPECT_EQ(fakes.window.top, 0);
}

TEST(WindowPlacement, ACompositorThatPlacesTheWindowGetsTheDragAfterAFewPixelsAndSaysWhenItKeepsNothingAbove) {
    platform::FakeServices fakes;
    fakes.window.places = false;
    fakes.window.above = false;
    Calculadora calc(fakes.services(), Calculadora::Config{"home", "help"});
    EXPECT_EQ(calc.form().find("MANEJO", 0)->tip, kNoKeepAboveTip);
    EXPECT_EQ(calc.form().find("MANEJO", 1)->tip, "");  // with keep-above, "^" keeps the layout's: the widget tests
    const int left = calc.left, top = calc.top;
    calc.Form_MouseDown(1, 300, 300);
    fakes.window.cursorX = fakes.window.cursorY = 400;
    calc.Form_MouseMove(1, 300 + 30, 300 - 15);  // two pixels: not yet a drag
    EXPECT_EQ(fakes.window.systemMoves, 0);
    EXPECT_EQ(std::make_pair(calc.left, calc.top), std::make_pair(left, top));
    calc.Form_MouseMove(1, 300 + 45, 300);  // three: the compositor takes it, once
    calc.Form_MouseMove(1, 300 + 90, 300);
    EXPECT_EQ(fakes.window.systemMoves, 1);
    EXPECT_EQ(std::make_pair(calc.left, calc.top), std::make_pair(left, top));
    EXPECT_EQ(calc.windowTag, "1");
    // A right-button drag moves nothing and asks nothing.
    calc.Form_MouseDown(2, 300, 300);
    calc.Form_MouseMove(2, 600, 600);
    EXPECT_EQ(fakes.window.systemMoves, 1);
    // Where the compositor cannot move it, the program's own move goes on.
    fakes.window.systemMoveOk = false;
    calc.Form_MouseDown(1, 300, 300);
    calc.Form_MouseMove(1, 300, 300 + 60);
    EXPECT_EQ(fakes.window.systemMoves, 2);
    EXPECT_EQ(std::make_pair(calc.left, calc.top), std::make_pair(400 * 15 - 300, 400 * 15 - 300));
}

}  // namespace
}  // namespace morvane
