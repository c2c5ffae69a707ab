// What a screen reader and the keyboard get of the window model: the texts
// announced after each event, the names heard, the focus and its moves.
#include <gtest/gtest.h>

#include "platform/fake.h"
#include "window/model.h"

namespace morvane {
namespace {

struct Access : ::testing::Test {
    platform::FakeServices fakes;
    std::unique_ptr<Calculadora> calc;
    unsigned long heard = 0;

    void SetUp() override {
        calc = std::make_unique<Calculadora>(fakes.services(), Calculadora::Config{"home", "help"});
    }

    // What the last event announced, "" when it announced nothing.
    std::string said() {
        if (calc->announcements() == heard) return {};
        heard = calc->announcements();
        return calc->announcement();
    }
    std::string click(std::string_view name, int index = -1, int item = Calculadora::kNoItem) {
        calc->click(name, index, item);
        return said();
    }
    std::string type(int code) {
        calc->Form_KeyPress(code);
        return said();
    }
    std::string move(FocusMove how) {
        calc->moveFocus(how);
        return said();
    }
    int id(std::string_view name, int index = -1) const { return calc->form().id(name, index); }
    Focus focusOn(std::string_view name, int index = -1) const { return {id(name, index), -1}; }
    std::string name(std::string_view n, int index = -1) const { return accessName(*calc, id(n, index)); }
};

TEST_F(Access, ResultsAreAnnouncedAndTypedDigitsAreNot) {
    // On-screen keys: nothing echoes them, so each change is said.
    EXPECT_EQ(click("numero", 7), "7");
    EXPECT_EQ(click("tecla", 12), "Level 1: 7, log empty");
    EXPECT_EQ(click("numero", 8), "8");
    EXPECT_EQ(click("tecla", 0), "15");
    EXPECT_EQ(click("tecla", 5), "8, level 1: 7");  // undo
    EXPECT_EQ(click("tecla", 6), "Stack empty");
    // The keyboard: a screen reader echoes the typed keys itself.
    EXPECT_EQ(type('1'), "");
    EXPECT_EQ(type('.'), "");
    EXPECT_EQ(type('5'), "");
    EXPECT_EQ(type(8), "1.");  // Backspace, then the log as it stands: typed, so with its point
    EXPECT_EQ(type(13), "Level 1: 1, log empty");
    EXPECT_EQ(type('2'), "");
    EXPECT_EQ(type('/'), "0.5");
    EXPECT_EQ(click("estado", 3), "Grads");  // nothing computed: the mode is said
    EXPECT_EQ(click("estado", 2), "Hyperbolic on");
    EXPECT_EQ(click("estado", 11), "Decimals: 9");
    EXPECT_EQ(click("Label15"), "");  // nothing changed, nothing said
}

TEST_F(Access, ErrorsAreReadFromTheBoxOrAnnounced) {
    // The keyboard's failure shows nothing: it is announced.
    EXPECT_EQ(type('+'),
              "ERROR E-13. Intenta realizar una operación sin haber introducido todos los parámetros requeridos");
    // The keypad's error box takes the focus onto its OK, where a screen
    // reader reads it; a second failure while it shows is announced.
    EXPECT_EQ(click("tecla", 3), "");
    EXPECT_EQ(calc->focus(), focusOn("orden", 83));
    EXPECT_EQ(click("numero", 0), "0");
    EXPECT_EQ(click("tecla", 30), "ERROR E-11. Ha intentado dividir por cero. Esta operación es incorrecta.");
    // Enter on the OK closes the box and is ENTER all the same.
    type(13);
    EXPECT_FALSE(calc->eng.err.visible);
    EXPECT_EQ(calc->eng.regs.cur[1], "0");
    EXPECT_EQ(calc->focus(), focusOn("nivel2", 0));
}

TEST_F(Access, NamesSayWhatTheyMean) {
    // (The status bar's words and the decorations left out: the tree test.)
    calc->click("estado", 4);
    calc->tick("Timer1");
    EXPECT_EQ(name("estado", 4), "0 minutes elapsed");
    EXPECT_EQ(name("nivel2", 0), "Log: empty");
    click("numero", 7);
    click("tecla", 12);
    EXPECT_EQ(click("nivel2", 1), "Level 1 selected");
    calc->tick("Timer2");
    EXPECT_EQ(name("nivel2", 1), "Level 1: 7, selected");
    EXPECT_EQ(click("nivel2", 1), "No level selected");
    EXPECT_EQ(name("pantalla", 1), "CONVERT");
}

TEST_F(Access, TabReadsInRowsAndTheArrowsKeepToRowsAndColumns) {
    EXPECT_EQ(calc->focus(), focusOn("nivel2", 0));
    const std::vector<int> order = focusOrder(*calc);
    const auto at = [&](std::string_view n, int i) {
        return std::find(order.begin(), order.end(), id(n, i)) - order.begin();
    };
    EXPECT_EQ(order.front(), id("MANEJO", 0));
    EXPECT_LT(at("estado", 3), at("nivel2", 5));
    EXPECT_LT(at("nivel2", 1), at("nivel2", 0));
    EXPECT_EQ(at("orden", 0), at("nivel2", 0) + 1);
    EXPECT_EQ(at("monitor", 9), at("tecla", 48) + 1);  // a row's legends, then its keys
    EXPECT_EQ(at("tecla", 29), at("tecla", 27) + 1);   // "y/x" stands a pixel higher than "x2", in its row
    EXPECT_EQ(order.size(), static_cast<size_t>(
                                std::count_if(order.begin(), order.end(), [&](int c) { return focusable(*calc, c); })));
    EXPECT_EQ(std::count(order.begin(), order.end(), id("tecla", 13)), 0);  // below the window's height
    EXPECT_FALSE(calc->focusMarked());
    EXPECT_EQ(move(FocusMove::Previous), "");
    EXPECT_EQ(calc->focus(), focusOn("nivel2", 1));
    EXPECT_TRUE(calc->focusMarked());
    calc->pointerUsed();
    EXPECT_FALSE(calc->focusMarked());
    calc->moveFocus(FocusMove::Next);
    calc->moveFocus(FocusMove::Next);
    EXPECT_EQ(calc->focus(), focusOn("orden", 0));
    // The keypad.
    const auto from = [&](std::string_view n, int i, FocusMove how) {
        return morvane::moveFocus(*calc, focusOn(n, i), how);
    };
    EXPECT_EQ(from("numero", 7, FocusMove::Right), focusOn("numero", 8));
    EXPECT_EQ(from("numero", 8, FocusMove::Left), focusOn("numero", 7));
    EXPECT_EQ(from("numero", 7, FocusMove::Up), focusOn("tecla", 16));    // its legend "000"
    EXPECT_EQ(from("numero", 4, FocusMove::Down), focusOn("tecla", 51));  // "FIX", above 1
    EXPECT_EQ(from("tecla", 3, FocusMove::Right), focusOn("tecla", 3));   // the row's end
    EXPECT_EQ(from("MANEJO", 2, FocusMove::Down), focusOn("tecla", 48));  // over the display, another area
    // Space presses the focused key.
    calc->moveFocus(FocusMove::Down);
    EXPECT_EQ(calc->focus(), focusOn("orden", 0));
    calc->pressFocused();
    EXPECT_FALSE(calc->form().find("subpantalla", 0)->visible);
}

TEST_F(Access, APanelTakesTheFocusAndGivesItBack) {
    click("numero", 2);
    calc->moveFocus(FocusMove::Next);    // the soft key "<<"
    EXPECT_EQ(click("monitor", 1), "");  // COV: the panel is read with its title as the focus enters it
    EXPECT_EQ(calc->focus(), focusOn("ctype", 0));
    click("ctype", 2);  // distance: the category's table comes over the index
    EXPECT_EQ(calc->focus(), focusOn("unidad", 0));
    EXPECT_EQ(click("unidad", 5), "kilometer to...");
    EXPECT_EQ(click("unidad", 0), "2000");
    EXPECT_EQ(calc->focus(), focusOn("orden", 0));
    // Hovering reads an entry once; a constant with its value.
    click("monitor", 3);
    click("utype", 0);
    bool changed = false;
    calc->move("cons", 0, &changed);
    EXPECT_EQ(said(), "speed of light in vacuum (ms-1): 299792458");
    calc->move("cons", 0, &changed);
    EXPECT_EQ(said(), "");
    EXPECT_EQ(accessDescription(*calc, id("cons", 1)), "12.566370614E-7");  // heard with its name on focus
}

TEST_F(Access, TheMemoryListIsReadRowByRow) {
    for (const char* v : {"1.5", "2", "3"}) {
        calc->eng.regs.cur[0] = v;
        EXPECT_EQ(click("tecla", 55), std::string("Stored: ") + v);  // >MEM, which empties the log
    }
    EXPECT_EQ(click("monitor", 4), "");
    const Focus first{id("listmemory", 1), 0};
    EXPECT_EQ(calc->focus(), first);
    EXPECT_EQ(name("listmemory", 1), "Stored values, 1: 1.5");
    EXPECT_EQ(move(FocusMove::Down), "2: 2");
    EXPECT_EQ(move(FocusMove::Down), "3: 3");
    EXPECT_EQ(move(FocusMove::Up), "2: 2");
    calc->hoverRow("listmemory", 1, 0);
    EXPECT_EQ(said(), "1: 1.5");
    calc->pressFocused();  // recalls the focused row
    EXPECT_EQ(calc->eng.regs.cur[0], "2");
    EXPECT_EQ(said(), "2");
}

}  // namespace
}  // namespace morvane
