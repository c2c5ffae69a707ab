#include "printpage.h"

namespace morvane::panels {

namespace {

using Align = platform::PrintText::Align;

// What a row of the page's layout table holds.
enum class Element {
    Icon,     // the program's icon
    Rule,     // a line from (left, top) to (left + width, top + height)
    Text,     // a fixed text
    Date,     // the date line
    Numbers,  // the level numbers "20:" ... "1:", one row every `step` twips
    Values,   // the values Label1(20) ... Label1(0), one row every `step` twips
};

// One row of the page's layout table, in twips from the page's top left
// corner; Arial at `pt` points.
struct PageRow {
    Element element;
    const char* name;
    int index;
    int left, top, width, height;
    double pt;
    bool bold;
    Align align;
    const char* text;
    int count = 1, step = 0;
};

// The page `imprimir`. The level numbers are the Label2 elements that the
// title, the date, the end line and the log labels leave free: 0 to 16 and
// 18 to 20, in order from "20:" down; the log mark is Label2(21).
constexpr PageRow kPage[] = {
    {Element::Icon, "Picture1", -1, 3240, 840, 465, 465, 0, false, Align::Left, ""},
    {Element::Text, "Label2", 17, 480, 1320, 6165, 855, 20.25, true, Align::Center, "Morvane 4.0/Print Stack"},
    {Element::Rule, "Line2", -1, 1920, 1740, 3210, 0, 0, false, Align::Left, ""},
    {Element::Date, "Label2", 22, 1740, 1980, 2505, 165, 6.75, true, Align::Right, ""},
    {Element::Numbers, "Label2", 0, 1740, 2190, 345, 225, 9.75, true, Align::Right, "", 20, 240},
    {Element::Text, "Label2", 21, 1740, 6990, 345, 225, 9.75, true, Align::Right, ">"},
    {Element::Text, "Label2", 24, 1620, 7020, 345, 225, 6, false, Align::Right, "LOG"},
    {Element::Values, "Label1", 20, 2100, 2190, 2145, 225, 9, true, Align::Right, "", 21, 240},
    {Element::Text, "Label2", 23, 1080, 8040, 4905, 165, 6, false, Align::Center, "--- END OF DOCUMENT ---"},
};

constexpr int kFirstFreeAfterTitle = 17;  // Label2(17) is the title

platform::PrintText textOf(const PageRow& r, int k, int index, std::string text) {
    platform::PrintText t;
    t.name = r.name;
    t.index = index;
    t.text = std::move(text);
    t.left = r.left;
    t.top = r.top + r.step * k;
    t.width = r.width;
    t.height = r.height;
    t.pt = r.pt;
    t.bold = r.bold;
    t.align = r.align;
    return t;
}

}  // namespace

std::string dateLine(const std::string& shortDate, const std::string& time) {
    return "DATE  " + shortDate + "   TIME: " + time;
}

platform::PrintPage composePage(const std::array<std::string, 21>& lines, const std::string& date) {
    platform::PrintPage page;
    page.docName = "Morvane stack";
    page.width = kPageWidthTw;
    page.height = kPageHeightTw;
    page.texts.reserve(45);
    for (const PageRow& r : kPage) {
        switch (r.element) {
            case Element::Icon:
                page.icons.push_back({r.left, r.top, r.width, r.height});
                break;
            case Element::Rule:
                page.lines.push_back({r.left, r.top, r.left + r.width, r.top + r.height});
                break;
            case Element::Text:
                page.texts.push_back(textOf(r, 0, r.index, r.text));
                break;
            case Element::Date:
                page.texts.push_back(textOf(r, 0, r.index, date));
                break;
            case Element::Numbers:
                for (int k = 0; k < r.count; ++k) {
                    const int index = r.index + k + (r.index + k >= kFirstFreeAfterTitle ? 1 : 0);
                    page.texts.push_back(textOf(r, k, index, std::to_string(r.count - k) + ":"));
                }
                break;
            case Element::Values:
                for (int k = 0; k < r.count; ++k) {
                    const int level = r.index - k;
                    page.texts.push_back(textOf(r, k, level, lines[static_cast<size_t>(level)]));
                }
                break;
        }
    }
    return page;
}

}  // namespace morvane::panels
