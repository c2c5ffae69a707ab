// The stack-utilities panel pantalla(9) and the two keys it describes:
// "PRINT" prints the stack listing, "XLS" copies the stack as one row of a
// spreadsheet. The panel's lines only describe them.
#include "panels/panels.h"
#include "panels/printpage.h"
#include "panels/stackcopy.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 9;
constexpr Rgb kOlive = rgb(128, 128, 0);

ControlDef line(std::string_view name, int index, Box box, std::string_view caption, bool bold) {
    return textRow(name, index, "pantalla", kPanel, box, caption, 6.75, bold);
}

}  // namespace

// A full-size panel over the display. The print notice has a line of its
// own under the two menu lines, in the size of the display's values.
std::vector<ControlDef> stackUtilitiesLayout(Box area) {
    // Over the display like the others, in its own olive, so that what it
    // holds and the print notice can be seen.
    std::vector<ControlDef> v =
        panelHead(area, {kPanel, 37, 36, "STACK UTILITIES", 1470, 150, "Printing and copying the stack", kOlive});
    ControlDef notice = line("Label11", -1, {360, 960, 2505, 255}, ">>>PRINTING STACK", true);
    notice.pt = 9.75;
    notice.visible = false;
    v.push_back(notice);
    v.push_back(line("aux", 22, {300, 150, 2685, 195}, "Clic a command.", false));
    v.push_back(line("mem", 31, {90, 420, 195, 195}, "1", true));
    ControlDef print = line("funpila", 0, {360, 420, 2505, 195}, "PRINT (Prints the stack)", true);
    print.clickable = true;
    v.push_back(print);
    v.push_back(line("mem", 27, {90, 630, 195, 195}, "2", true));
    ControlDef copy = line("funpila", 4, {360, 630, 2505, 195}, "COPY (Copy stack to clipboard)", true);
    copy.clickable = true;
    v.push_back(copy);
    for (auto [index, box] : {std::pair<int, Box>{6, {360, 1470, 2505, 195}}, {3, {90, 1680, 105, 195}}}) {
        ControlDef hidden = line("funpila", index, box, {}, true);
        hidden.clickable = true;
        hidden.visible = false;
        v.push_back(hidden);
    }
    ControlDef help = line("Label3", -1, {90, 1560, 2775, 375},
                           "The pst/cpy button paste or copy the log number in the clipboard.", false);
    help.wrap = true;
    v.push_back(help);
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

StackUtilities::StackUtilities(Context ctx)
    : ctx_(ctx), panel_(ctx.form.require("pantalla", kPanel)), notice_(ctx.form.require("Label11")) {
    for (int i = 0; i <= 20; ++i) lines_[static_cast<size_t>(i)] = ctx.form.require("nivel2", i);
    ctx.form.requireTimer("imprimir");
    ctx.form.requireTimer("Timer5");
}

std::string StackUtilities::dateNow() const {
    platform::Regional* r = ctx_.svc.regional;
    return r ? dateLine(r->shortDateText(), r->timeText()) : dateLine({}, {});
}

// PRINT: the page shows the display lines as the stack view shows them, in
// the current decimals mode, with the date and time of the moment of
// printing. The stack is never changed and no undo snapshot is taken. The
// printer's verdict comes later: the window goes on meanwhile.
void StackUtilities::print() {
    std::array<std::string, 21> shown;
    for (size_t i = 0; i < shown.size(); ++i) shown[i] = ctx_.form.at(lines_[i]).caption;
    page_ = composePage(shown, dateNow());
    ctx_.form.requireTimer("imprimir").enabled = true;
    platform::Printer* printer = ctx_.svc.printer;
    if (!printer) {
        printed(false);
        return;
    }
    Engine& eng = ctx_.eng;
    printer->print(*page_, [this, &eng](bool accepted) {
        printed(accepted);
        if (eng.answered) eng.answered();
    });
}

// A job the printer took is confirmed where the user looks: the panel shows
// over the display with its notice, both hidden by Timer5 900 ms later (a
// notice already shown is not prolonged: its first tick hides it). Without
// a printer, or when it refused the job or did not answer, the failure is
// reported instead of a notice that would claim a print.
void StackUtilities::printed(bool accepted) {
    if (!accepted) {
        ctx_.eng.err.report(kPrintFailure);
        return;
    }
    show(ctx_.form, panel_, true);
    show(ctx_.form, notice_, true);
    ctx_.form.requireTimer("Timer5").enabled = true;
}

// XLS: the raw register texts on the clipboard, and on the primary
// selection where the platform has one; the panel closes. The new text
// replaces the old one: nothing is cleared first.
void StackUtilities::copy() {
    const std::string text = stackCopyText(ctx_.eng.regs.cur);
    platform::Clipboard* clip = ctx_.svc.clipboard;
    if (!clip || !clip->setText(text)) {
        ctx_.eng.err.report(kClipboardFailure);
        return;
    }
    (void)clip->setSelection(text);  // a middle click pastes it too, where there is one
    show(ctx_.form, panel_, false);
}

// The panel's lines describe the two keys; none of them acts.
void StackUtilities::funpila_Click(int /*index*/) {}

// While the page exists its date line follows the clock.
void StackUtilities::imprimir_Timer() {
    if (!page_) return;
    if (platform::PrintText* date = page_->find("Label2", 22)) date->text = dateNow();
}

}  // namespace morvane::panels
