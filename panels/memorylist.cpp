// The memory register list: the ">MEM" key stores the log's text in the
// engine's list; this panel shows the list beside the fixed numbers 01 to
// 29, recalls a stored value into the log, pages, removes and clears. Both
// columns always sit at the same vertical offset in their window Picture1.
#include <algorithm>

#include "panels/panels.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 4;
constexpr int kNumbers = 29;
constexpr int kWindowHeight = 1155;

ControlDef text(std::string_view name, int index, std::string_view parent, int parentIndex, Box box,
                std::string_view caption, bool bold) {
    return textRow(name, index, parent, parentIndex, box, caption, 6.75, bold);
}

ControlDef frame(std::string_view name, int index, std::string_view parent, int parentIndex, Box box, bool visible) {
    return frameRow(name, index, box, kDisplayGreen, visible, parent, parentIndex);
}

}  // namespace

std::vector<ControlDef> memoryLayout(Box area) {
    std::vector<ControlDef> v = panelHead(area, {kPanel, 17, 18, "MEMORY", 1620, 150, "The stored values"});
    v.push_back(frame("stackutils", 0, "pantalla", kPanel, {120, 180, 2895, 1725}, true));
    v.push_back(text("aux", 29, "stackutils", 0, {210, 0, 2595, 165}, "Clic a number to put it in the log.", false));
    v.push_back(text("aux", 27, "stackutils", 0, {0, 210, 315, 165}, "Nº", true));
    v.push_back(text("aux", 28, "stackutils", 0, {360, 210, 1275, 165}, "CONTENT", true));
    // The two rules above and below the clipping window.
    for (int i = 0; i < 2; ++i) {
        ControlDef rule = frame("Line1", i, "stackutils", 0, {0, i == 0 ? 390 : 1605, 2895, 15}, true);
        rule.back = kBlack;
        v.push_back(rule);
    }
    v.push_back(frame("Picture1", -1, "stackutils", 0, {0, 420, 2895, kWindowHeight}, true));
    for (int i = 0; i < 2; ++i) {
        ControlDef d = text("listmemory", i, "Picture1", -1,
                            {i == 0 ? 0 : 360, MemoryList::kFirstPage, i == 0 ? 375 : 1275, 5475}, {}, true);
        d.kind = Kind::List;
        d.pt = 6.75;
        d.rowHeight = MemoryList::kRow;
        d.back = i == 0 ? kHoverGreen : kDisplayGreen;
        // A long value shrinks, then shows its end, exponent and all.
        if (i == 1) d.minPt = 6;
        d.opaque = true;
        d.clickable = true;
        v.push_back(d);
    }
    // The calendar frame: hidden, nothing shows it.
    v.push_back(frame("calendario", 0, "pantalla", kPanel, {120, 180, 2895, 1725}, false));
    for (int i = 0; i < 2; ++i) {
        ControlDef m =
            text("Label4", i, "calendario", 0, {i == 0 ? 60 : 1500, 0, 1200, 165}, i == 0 ? "ENERO" : "FEBRERO", true);
        m.clickable = true;
        v.push_back(m);
    }
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

MemoryList::MemoryList(Context ctx)
    : ctx_(ctx),
      panel_(ctx.form.require("pantalla", kPanel)),
      lists_{ctx.form.require("listmemory", 0), ctx.form.require("listmemory", 1)} {
    ctx.form.require("Picture1");
    Control& numbers = ctx.form.at(lists_[0]);
    for (int n = 1; n <= kNumbers; ++n) numbers.rows.own.push_back((n < 10 ? "0" : "") + std::to_string(n));
    ++numbers.rows.ownVersion;
    Control& contents = ctx.form.at(lists_[1]);
    contents.rows.source = &ctx.eng.memoryList.items();
    contents.rows.sourceVersion = &ctx.eng.memoryList.version();
}

int MemoryList::offset() const { return ctx_.form.at(lists_[0]).listTop; }

void MemoryList::setOffset(int top) {
    for (int id : lists_) ctx_.form.at(id).listTop = top;
}

int MemoryList::lowestOffset() const {
    // The last row, numbered or stored, just inside the window; never above
    // the last page.
    const int rows = std::max(kNumbers, static_cast<int>(ctx_.eng.memoryList.size()));
    const int visible = (kWindowHeight + kFirstPage) / kRow;
    return std::min(kFirstPage - 3 * kPage, kFirstPage - kRow * std::max(0, rows - visible));
}

void MemoryList::listmemory_Click(int list, int item) {
    if (list < 0 || list > 1) return;
    Control& clicked = ctx_.form.at(lists_[list]);
    if (item >= 0 && item < static_cast<int>(clicked.rows.items().size())) clicked.selected = item;
    const Control& contents = ctx_.form.at(lists_[1]);
    const auto& items = contents.rows.items();
    copyToLog(ctx_.eng, contents.selected >= 0 && contents.selected < static_cast<int>(items.size())
                            ? items[static_cast<size_t>(contents.selected)]
                            : std::string());
    show(ctx_.form, panel_, false);
}

void MemoryList::wheel(int steps) {
    const long long want = static_cast<long long>(offset()) - static_cast<long long>(steps) * kRow;
    setOffset(static_cast<int>(std::clamp<long long>(want, lowestOffset(), kFirstPage)));
}

// Paging from a page moves by whole pages; from where the wheel left the
// lists it stops at the first row and at the wheel's lowest position.
void MemoryList::previousPage() {
    if (offset() < kFirstPage) setOffset(std::min(offset() + kPage, kFirstPage));
}

void MemoryList::firstPage() { setOffset(kFirstPage); }

void MemoryList::nextPage() {
    // ">>" pages on from the first three pages (offsets -30, -1180, -2330),
    // not from the fourth (-3480) or beyond.
    constexpr int kLastPaging = -3200;
    if (offset() > kLastPaging) setOffset(std::max(offset() - kPage, lowestOffset()));
}

void MemoryList::removeSelected() {
    Control& contents = ctx_.form.at(lists_[1]);
    StoredValues& items = ctx_.eng.memoryList;
    if (contents.selected < 0 || contents.selected >= static_cast<int>(items.size())) return;
    items.erase(static_cast<size_t>(contents.selected));
    contents.selected = -1;
}

void MemoryList::clear() {
    ctx_.eng.memoryList.clear();
    ctx_.form.at(lists_[1]).selected = -1;
}

void MemoryList::close() { show(ctx_.form, panel_, false); }

}  // namespace morvane::panels
