// The keys "PRINT" and "XLS", the stack-utilities panel's lines and the
// print page's own timer.
#include "model.h"
#include "panels/printpage.h"
#include "panels/stackcopy.h"

namespace morvane {

std::string Calculadora::printDateLine() {
    if (!svc_.regional) return panels::dateLine({}, {});
    return panels::dateLine(svc_.regional->shortDateText(), svc_.regional->timeText());
}

// PRINT: the page shows the display lines as the stack view shows them, in
// the current decimals mode, and the date and time of the moment of
// printing. The stack is never changed and no undo snapshot is taken.
void Calculadora::Label13_Click() {
    std::array<std::string, 21> lines;
    for (int i = 0; i <= 20; ++i) lines[static_cast<size_t>(i)] = line(i).caption;
    page_ = panels::composePage(lines, printDateLine());
    timer("imprimir")->enabled = true;
    if (!svc_.printer || !svc_.printer->print(*page_)) {
        // Without a printer, or when it refused the page, the notice would
        // claim a print that never happened: the failure is reported instead.
        eng.err.report(kPrintFailure);
        return;
    }
    find("Label11")->visible = true;
    // A notice already shown is not prolonged: its first tick hides it.
    timer("Timer5")->enabled = true;
}

// XLS: the raw register texts on the clipboard, and on the primary
// selection where the platform has one.
void Calculadora::Label14_Click() {
    const std::string text = panels::stackCopyText(eng.regs.cur);
    platform::Clipboard* clip = svc_.clipboard;
    if (!clip || !clip->clear() || !clip->setText(text)) {
        eng.err.report(kClipboardFailure);
        return;
    }
    (void)clip->setSelection(text);  // a middle click pastes it too; not every platform has one
    setPanel(9, false);
}

// The panel's lines describe the two keys; none of them acts.
void Calculadora::funpila_Click(int /*index*/) {}

// While the page exists its date line follows the clock.
void Calculadora::imprimir_Timer() {
    if (!page_) return;
    if (platform::PrintText* date = page_->find("Label2", 22)) date->text = printDateLine();
}

}  // namespace morvane
