// The information panel: a greeting with the home page's address, and the
// about page that "ABT" shows over it.
#include "panels/panels.h"

namespace morvane::panels {

namespace {

constexpr int kPanel = 8;

}  // namespace

std::vector<ControlDef> infoLayout(Box area) {
    std::vector<ControlDef> v = panelHead(area, {kPanel, 29, 30, "INFO", 1170, 180, "About Morvane"});
    v.push_back(statusLabel(31, "pantalla", kPanel, {1140, 0, 1875, 150}, "MORVANE 4.0", false, Align::Right,
                            "The program and its version"));
    // The greeting; its caption ends with the home page's address.
    ControlDef greeting =
        textRow("saludo", -1, "pantalla", kPanel, {150, 330, 2745, 1410}, {}, 6.75, true, Align::Center);
    greeting.wrap = true;
    v.push_back(greeting);
    // The pages; the about page is info(1).
    for (int i = 0; i < 3; ++i) {
        v.push_back(frameRow("info", i, {60, 180, 2925, 1710}, kDisplayGreen, false, "pantalla", kPanel));
    }
    ControlDef icon;
    icon.name = "acerca";
    icon.index = 0;
    icon.kind = Kind::Image;
    icon.parent = "info";
    icon.parentIndex = 1;
    icon.box = {1215, 60, 480, 480};
    v.push_back(icon);
    v.push_back(textRow("acerca", 1, "info", 1, {0, 600, 2925, 240}, "ABOUT", 9.75, true, Align::Center));
    v.push_back(textRow("acerca", 2, "info", 1, {0, 930, 2925, 240}, "Morvane 4.0", 9.75, true, Align::Center));
    v.push_back(textRow("acerca", 3, "info", 1, {0, 1260, 2925, 195}, "For Linux and other Unix desktops", 6.75, false,
                        Align::Center));
    append(v, softKeyLayout("pantalla", kPanel));
    return v;
}

Info::Info(Context ctx, const std::string& homePage)
    : ctx_(ctx), panel_(ctx.form.require("pantalla", kPanel)), about_(ctx.form.require("info", 1)) {
    ctx.form.at("saludo").caption =
        "Gracias por utilizar Morvane. Si desea ayuda dirijase a la página web del programa en " + homePage;
}

void Info::showAbout() { show(ctx_.form, about_, true); }

void Info::close() {
    show(ctx_.form, about_, false);
    show(ctx_.form, panel_, false);
}

}  // namespace morvane::panels
