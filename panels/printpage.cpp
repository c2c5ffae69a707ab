#include "printpage.h"

namespace morvane::panels {

namespace {

using Align = platform::PrintText::Align;

// One row of the page's layout table.
struct PageRow {
    const char* name;
    int index;
    int left, top, width, height;
    double pt;
    bool bold;
    Align align;
    const char* text;
};

// The fixed labels. The level numbers "20:" to "1:" and the log mark ">"
// are the Label2 elements that the title, date, end and log labels leave free.
constexpr int kLevelNumberIndex[21] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21};

constexpr PageRow kFixed[] = {
    {"Label2", 17, 480, 1320, 6165, 855, 20.25, true, Align::Center, "Morvane 4.0/Print Stack"},
    {"Label2", 24, 1620, 7020, 345, 225, 6, false, Align::Right, "LOG"},
    {"Label2", 23, 1080, 8040, 4905, 165, 6, false, Align::Center, "--- END OF DOCUMENT ---"},
};
constexpr PageRow kDate = {"Label2", 22, 1740, 1980, 2505, 165, 6.75, true, Align::Right, ""};
constexpr int kNumberLeft = 1740, kNumberWidth = 345, kRowHeight = 225;
constexpr int kValueLeft = 2100, kValueWidth = 2145;
constexpr int kFirstRowTop = 2190, kRowStep = 240, kLogTop = 6990;

platform::PrintText textOf(const PageRow& r, std::string text) {
    platform::PrintText t;
    t.name = r.name;
    t.index = r.index;
    t.text = std::move(text);
    t.left = r.left;
    t.top = r.top;
    t.width = r.width;
    t.height = r.height;
    t.pt = r.pt;
    t.bold = r.bold;
    t.align = r.align;
    return t;
}

int rowTop(int level) { return level == 0 ? kLogTop : kFirstRowTop + kRowStep * (20 - level); }

}  // namespace

std::string dateLine(const std::string& shortDate, const std::string& time) {
    return "DATE  " + shortDate + "   TIME: " + time;
}

platform::PrintPage composePage(const std::array<std::string, 21>& lines, const std::string& date) {
    platform::PrintPage page;
    page.docName = "Morvane stack";
    page.width = kPageWidthTw;
    page.height = kPageHeightTw;
    page.icons.push_back({3240, 840, 465, 465});
    page.lines.push_back({1920, 1740, 5130, 1740});
    for (const PageRow& r : kFixed) page.texts.push_back(textOf(r, r.text));
    page.texts.push_back(textOf(kDate, date));
    // Level numbers "20:" ... "1:", then the log mark ">".
    for (int level = 20; level >= 0; --level) {
        const PageRow r{"Label2", kLevelNumberIndex[20 - level], kNumberLeft, rowTop(level), kNumberWidth, kRowHeight,
                        9.75, true, Align::Right, ""};
        page.texts.push_back(textOf(r, level == 0 ? ">" : std::to_string(level) + ":"));
    }
    for (int level = 20; level >= 0; --level) {
        const PageRow r{"Label1", level, kValueLeft, rowTop(level), kValueWidth, kRowHeight, 9, true, Align::Right, ""};
        page.texts.push_back(textOf(r, lines[static_cast<size_t>(level)]));
    }
    return page;
}

}  // namespace morvane::panels
