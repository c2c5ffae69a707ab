// The tool panels over the stack view and the soft-key rows under every
// view. Each panel binds the controls it uses when it is made (a missing
// control fails at start-up) and offers its handlers; `Panels` routes the
// events of the panels' arrays to them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panels/context.h"
#include "panels/units.h"

namespace morvane::panels {

// ---------------------------------------------------------------- layout

// The rows of a panel, for the window's layout table: its frame over the
// display `area`, its status line, its contents and its soft keys.
std::vector<ControlDef> converterLayout(Box area, const std::vector<UnitRow>& units = unitTable());
std::vector<ControlDef> multiplierLayout(Box area);
std::vector<ControlDef> constantLayout(Box area);
std::vector<ControlDef> memoryLayout(Box area);
std::vector<ControlDef> infoLayout(Box area);
std::vector<ControlDef> stackUtilitiesLayout(Box area);
// The soft-key row of a view: the frame `parent` (index parentIndex).
std::vector<ControlDef> softKeyLayout(std::string_view parent, int parentIndex);

// ---------------------------------------------------------------- the panels

// The unit converter, pantalla(1).
class Converter {
public:
    Converter(Context ctx, const std::vector<UnitRow>& units = unitTable());

    void ctype_Click(int index);
    void unidad_Click(int index);
    void convtemp_Click(int index);
    void convtemp2_Click(int index);
    // Soft keys: "INDEX" shows the category index again, "OK" closes.
    void showIndex();
    void close();
    void clearUnitA();

    // The pending source temperature in degrees Celsius: a number, or the
    // log's text kept as it is when the source scale was celsius.
    struct Pending {
        bool isText = false;
        double value = 10;
        std::string text;
    };
    Pending tempcelsius;
    double factor[2] = {0, 0};  // conv(0): unit A's factor, conv(1): unit B's

    static constexpr int kNone = -1;

private:
    void setFactor(int cell, double f);
    void setUnitA(int index);
    int unitA_ = kNone;
    Context ctx_;
    std::vector<double> factorOf_;  // by unidad index
    std::vector<int> unidad_, convtemp_, subconvert_;
    int panel_, prompt_, conv_[2];
};

// The SI multipliers, pantalla(2).
class Multipliers {
public:
    explicit Multipliers(Context ctx);
    void mult_Click(int index);
    void close();

private:
    Context ctx_;
    std::vector<double> factor_;
    int panel_;
};

// The physical constants, pantalla(3).
class Constants {
public:
    // The value of constant cons(index) from the table, with the regional
    // separator, as the log receives it.
    std::string valueText(int index) const;
    explicit Constants(Context ctx);
    void utype_Click(int index);
    void cons_Click(int index);
    bool cons_MouseMove(int index);
    void showIndex();
    void close();

private:
    Context ctx_;
    std::vector<int> cons_, subconstant_;
    int panel_, value_;
};

// The memory register list, pantalla(4): the numbers listmemory(0) and the
// stored values listmemory(1), which the engine keeps.
class MemoryList {
public:
    static constexpr int kFirstPage = -30;
    static constexpr int kPage = 1150;
    static constexpr int kRow = 150;

    explicit MemoryList(Context ctx);
    // A click on list `list` (0 numbers, 1 contents), on row `item` or on no
    // row (-1).
    void listmemory_Click(int list, int item);
    // The wheel over a list: both columns move by `steps` rows.
    void wheel(int steps);
    void previousPage();
    void firstPage();
    void nextPage();
    void removeSelected();
    void clear();
    void close();
    int offset() const;
    // The lowest offset the wheel reaches.
    int lowestOffset() const;

private:
    void setOffset(int top);
    Context ctx_;
    int panel_, lists_[2];
};

// The information panel, pantalla(8), with its about page info(1).
class Info {
public:
    Info(Context ctx, const std::string& homePage);
    void showAbout();
    void close();

private:
    Context ctx_;
    int panel_, about_;
};

// The stack-utilities panel, pantalla(9), and the keys "PRINT" (Label13)
// and "XLS" (Label14); the print page `imprimir` with its own timer.
class StackUtilities {
public:
    explicit StackUtilities(Context ctx);
    void print();
    // The printer's verdict on a page: the notice, or error 482.
    void printed(bool accepted);
    void copy();
    void funpila_Click(int index);
    void imprimir_Timer();
    // The page of the last print, or nullptr before the first. It is
    // composed anew for every print.
    const platform::PrintPage* page() const { return page_ ? &*page_ : nullptr; }

private:
    std::string dateNow() const;
    Context ctx_;
    int panel_, notice_;
    std::array<int, 21> lines_{};  // nivel2(0..20)
    std::optional<platform::PrintPage> page_;
};

// The stack view's soft keys: paging, moving the selected value, the swap;
// and the selected display line they act on.
class StackKeys {
public:
    static constexpr int kNone = -1;

    explicit StackKeys(Context ctx);
    void page(int direction);  // -1 "<<", +1 ">>"
    void logOnly();            // " 1:": no page, the log's line alone
    void moveSelected(int direction);
    void swap();
    void nivel2_Click(int index);
    // The selected display line nivel2(i), or kNone.
    int selected() const { return selected_; }

private:
    void select(int line);
    Context ctx_;
    int pages_[4];
    std::array<int, kRegisters> lines_{};
    int selected_ = kNone;
};

// ---------------------------------------------------------------- routing

class Panels {
public:
    Panels(Context ctx, const std::string& homePage);

    // The handler of a click on name(index), on list row `item` (-1 none).
    // False when no panel handles that array.
    bool click(std::string_view name, int index, int item);
    // Hover over name(index); `changed` tells whether a colour or caption
    // changed. False when no panel handles that array.
    bool move(std::string_view name, int index, bool& changed);
    // True when a panel takes the clicks of array `name`.
    bool handles(std::string_view name) const;
    // True when name is an array whose elements answer hover moves.
    bool hovers(std::string_view name) const;

    void orden_Click(int index);
    // The error box's "OK".
    void closeError();

    Context ctx;
    StackKeys stack;
    Converter converter;
    Multipliers multipliers;
    Constants constants;
    MemoryList memory;
    Info info;
    StackUtilities stackUtilities;
};

// One soft key: its view, its place in the row and what it does.
struct SoftKey {
    int index;
    std::string_view view;  // the frame that holds the row: "pila", "pantalla", "error"
    int viewIndex;
    int left, width;
    std::string_view caption;
    std::string_view tooltip;
    void (*action)(Panels&);  // nullptr: no action
};
const std::vector<SoftKey>& softKeyTable();

}  // namespace morvane::panels
