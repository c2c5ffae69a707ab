#include "layout.h"

#include "engine/keys.h"
#include "panels/panels.h"

namespace morvane {

namespace {

constexpr Rgb kLegendGreen = rgb(128, 255, 128);
constexpr Rgb kPaleYellow = rgb(255, 255, 192);
constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kTitleGrey = rgb(224, 224, 224);
constexpr Rgb kRingGrey = rgb(150, 152, 158);
constexpr Rgb kTeal = rgb(0, 192, 192);

// A keypad key: a transparent clickable label over a painted face.
ControlDef faceKey(std::string_view name, int index, Box b, Face face, std::string_view caption,
                   std::string_view legend, std::string_view tip, Rgb fore = kWhite, double pt = 6) {
    ControlDef d;
    d.name = name;
    d.index = index;
    d.box = b;
    d.caption = caption;
    d.legend = legend;
    d.tooltip = tip;
    d.face = face;
    d.fore = fore;
    d.pt = pt;
    d.bold = true;
    d.align = Align::Center;
    d.clickable = true;
    return d;
}

// A legend printed on the body above a key: clicked directly, no face
// under it.
ControlDef legendKey(std::string_view name, int index, Box b, std::string_view caption, std::string_view tip = {},
                     Rgb fore = kLegendGreen, double pt = 6) {
    return faceKey(name, index, b, Face::None, caption, {}, tip, fore, pt);
}

// A keypad key on a painted face, and a key's legend printed on the body:
// their texts are the key's own.
ControlDef keyFace(Key k, Box b, Face face, Rgb fore = kWhite, double pt = 6) {
    const KeyRow& r = keyRow(k);
    return faceKey("tecla", indexOf(k), b, face, r.caption, r.legend, r.tooltip, fore, pt);
}

ControlDef keyLegend(Key k, Box b) {
    const KeyRow& r = keyRow(k);
    return legendKey("tecla", indexOf(k), b, r.caption, r.tooltip);
}

using panels::append;
using panels::onLabel;
using panels::statusLabel;

// A view's soft-key row, from the soft-key table.
void addSoftKeys(std::vector<ControlDef>& v, std::string_view parent, int parentIndex) {
    for (const ControlDef& d : panels::softKeyLayout(parent, parentIndex)) v.push_back(d);
}

std::vector<ControlDef> makeTitleBand() {
    std::vector<ControlDef> v;
    const Box rings[] = {{2820, 150, 195, 195}, {3030, 150, 195, 195}, {3270, 150, 195, 195}};
    for (int i = 0; i < 3; ++i) {
        ControlDef s;
        s.name = "Shape2";
        s.index = i + 1;
        s.kind = Kind::Shape;
        s.box = rings[i];
        s.fore = kRingGrey;  // border colour
        v.push_back(s);
    }
    v.push_back(legendKey("MANEJO", 0, {2820, 150, 195, 165}, "^", "Always on top", kTitleGrey, 6.75));
    v.push_back(legendKey("MANEJO", 1, {3030, 150, 225, 165}, "_", "Minimize", kTitleGrey, 6.75));
    v.push_back(legendKey("MANEJO", 2, {3270, 180, 195, 165}, "X", "Close", kTitleGrey, 6.75));
    ControlDef ver = textRow("NumeroDeVersión", -1, {}, -1, {1440, 150, 795, 195}, "5 Standard", 6.75, false,
                             Align::Left, kTitleGrey);
    ver.role = Role::Version;
    v.push_back(ver);
    return v;
}

// The stack view's status line.
void addStatusLine(std::vector<ControlDef>& v) {
    v.push_back(onLabel(0, "pila", -1));
    v.push_back(statusLabel(1, "pila", -1, {330, 0, 510, 150}, "STACK", true, Align::Left));
    v.push_back(statusLabel(3, "pila", -1, {870, 0, 315, 150}, "DEG", false, Align::Left, "Mode DEG/RAD/GRA"));
    v.push_back(statusLabel(2, "pila", -1, {1230, 0, 360, 150}, "N", true, Align::Center, "Normal/Hiperbolic"));
    v.push_back(statusLabel(32, "pila", -1, {1680, 0, 150, 150}, "R", true, Align::Center));
    v.push_back(statusLabel(11, "pila", -1, {1830, 0, 150, 150}, "X", true, Align::Center, "Number of decimals"));
    {
        ControlDef d =
            statusLabel(6, "pila", -1, {2040, 0, 315, 150}, "L 0", false, Align::Center, "Stack levels in use");
        d.opaque = true;
        v.push_back(d);
    }
    {
        ControlDef d =
            statusLabel(4, "pila", -1, {2430, 0, 570, 150}, "10:11:12", false, Align::Center, "Time/Spent time");
        d.tag = "reloj";
        v.push_back(d);
    }
}

// Pages of five stack lines; page k holds levels 5k+1..5k+5, highest on top.
void addStackPages(std::vector<ControlDef>& v) {
    for (int k = 0; k < 4; ++k) {
        ControlDef page = frameRow("subpantalla", k, {-90, 240, 3015, 1335}, kDisplayGreen, k == 0, "pila");
        page.role = Role::StackPage;
        v.push_back(page);
    }
    static const char* const kLevelNames[] = {"1:",  "2:",  "3:",  "4:",  "5:",  "6:",  "7:",  "8:",  "9:",  "10:",
                                              "11:", "12:", "13:", "14:", "15:", "16:", "17:", "18:", "19:", "20:"};
    for (int level = 1; level <= 20; ++level) {
        const int page = (level - 1) / 5;
        const int row = 4 - (level - 1) % 5;
        const int top = row * 270;
        const bool wide = level == 10 || level == 20;
        ControlDef n = textRow("Label1", level - 1, "subpantalla", page, {wide ? -15 : 0, top, wide ? 405 : 390, 240},
                               kLevelNames[level - 1], 9.75, true, Align::Right, kBlack);
        n.role = Role::LevelLabel;
        v.push_back(n);
        ControlDef line =
            textRow("nivel2", level, "subpantalla", page, {450, top, 2565, 255}, "", 9.75, true, Align::Right, kBlack);
        line.role = Role::DisplayLine;
        line.minPt = kMinLinePt;
        line.opaque = true;
        line.clickable = true;
        v.push_back(line);
    }
}

// The log line, its prompt and its cursor bar; the error indicator, which is
// state only and never shown.
void addLogLine(std::vector<ControlDef>& v) {
    {
        ControlDef t =
            textRow("Label12", -1, "pila", -1, {60, 1650, 315, 165}, "LOG", 6.75, false, Align::Left, kBlack);
        v.push_back(t);
        ControlDef line =
            textRow("nivel2", 0, "pila", -1, {360, 1590, 2565, 255}, "", 9.75, true, Align::Right, kBlack);
        line.role = Role::DisplayLine;
        line.minPt = kMinLinePt;
        line.opaque = true;
        line.clickable = true;
        line.tooltip = "The LOG";
        v.push_back(line);
        ControlDef prompt =
            textRow("Label2", -1, "pila", -1, {360, 1560, 180, 240}, ">", 14.25, true, Align::Left, kBlack);
        prompt.tooltip = "The LOG";
        prompt.role = Role::LogPrompt;
        v.push_back(prompt);
        ControlDef cursor;
        cursor.name = "Shape1";
        cursor.kind = Kind::Shape;
        cursor.parent = "pila";
        cursor.box = {2910, 1620, 75, 195};
        cursor.fore = kBlack;
        cursor.back = kBlack;
        cursor.opaque = true;
        cursor.role = Role::CursorBar;
        v.push_back(cursor);
    }

    // The error indicator: state only, never shown.
    {
        ControlDef d = statusLabel(7, "pila", -1, {1920, 1860, 285, 150}, "E ", false, Align::Center, "Error LED");
        d.back = rgb(255, 128, 0);
        d.opaque = true;
        d.visible = false;
        v.push_back(d);
    }
}

// The error box over the display.
void addErrorBox(std::vector<ControlDef>& v, Box area) {
    v.push_back(frameRow("error", -1, area, kDisplayGreen, false));
    v.push_back(
        textRow("numeroerror", -1, "error", -1, {150, 330, 2745, 330}, "ERROR", 12, true, Align::Center, kBlack));
    {
        ControlDef d = textRow("descripcionerror", -1, "error", -1, {150, 780, 2745, 870}, "Descripción del error.",
                               6.75, true, Align::Center, kBlack);
        d.wrap = true;
        v.push_back(d);
    }
    v.push_back(textRow("Label18", -1, "error", -1, {150, 1680, 2745, 165}, "PULSE 'OK' PARA CONTINUAR", 6.75, true,
                        Align::Center, kBlack));
    addSoftKeys(v, "error", -1);
}

std::vector<ControlDef> makeDisplay() {
    std::vector<ControlDef> v;
    const Box area{330, 780, 3045, 2115};
    v.push_back(frameRow("pila", -1, area, kDisplayGreen, true));
    addStatusLine(v);
    addStackPages(v);
    addLogLine(v);
    // The stack view's soft keys.
    addSoftKeys(v, "pila", -1);

    // The panels over the stack view, each laid out by its own code.
    append(v, panels::converterLayout(area));
    append(v, panels::multiplierLayout(area));
    append(v, panels::constantLayout(area));
    append(v, panels::memoryLayout(area));
    append(v, panels::infoLayout(area));
    // Last, so that a print's notice shows over whichever panel is open.
    append(v, panels::stackUtilitiesLayout(area));

    addErrorBox(v, area);

    // The display-off cover of the close key.
    v.push_back(frameRow("pantallaoff", -1, area, rgb(0, 64, 0), false));
    return v;
}

std::vector<ControlDef> makeKeypad() {
    std::vector<ControlDef> v;
    {
        ControlDef d = textRow("Label15", -1, {}, -1, {1710, 3060, 1665, 165}, "ADVANCED ACTIVE LCD", 6, true,
                               Align::Right, kTeal);
        d.tooltip = "The LCD is active. You can clic over status bar or stack.";
        v.push_back(d);
    }
    // Row of the panel keys and the first function row.
    v.push_back(faceKey("monitor", 9, {210, 3540, 405, 165}, Face::Mode, "STK", {}, "STACK screen", kPaleYellow));
    v.push_back(
        faceKey("monitor", 3, {780, 3540, 435, 165}, Face::Mode, "CON", {}, "Show CONSTANTS screen", kPaleYellow));
    v.push_back(
        faceKey("monitor", 1, {1350, 3540, 405, 165}, Face::Mode, "COV", {}, "Show CONVERT screen", kPaleYellow));
    v.push_back(legendKey("monitor", 2, {750, 3330, 465, 165}, "MUL", "Show MULTIPLE screen", kPaleYellow));
    v.push_back(legendKey("monitor", 4, {1350, 3330, 405, 165}, "MEM", "Show MEMORY screen", kPaleYellow));
    v.push_back(keyFace(Key::Ln, {1980, 3540, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Exp, {1980, 3330, 375, 165}));
    v.push_back(keyFace(Key::ToRectangular, {2520, 3540, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::ToPolar, {2550, 3330, 315, 165}));
    v.push_back(keyFace(Key::Copy, {3090, 3540, 375, 195}, Face::Function));
    v.push_back(keyLegend(Key::Paste, {3090, 3330, 375, 195}));

    // Trigonometric row.
    v.push_back(keyFace(Key::Sin, {270, 4110, 345, 255}, Face::Function));
    v.push_back(keyLegend(Key::Asin, {240, 3930, 345, 135}));
    v.push_back(keyFace(Key::Cos, {840, 4140, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Acos, {810, 3930, 345, 135}));
    v.push_back(keyFace(Key::Tan, {1410, 4140, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Atan, {1380, 3930, 375, 135}));
    v.push_back(keyFace(Key::Sqrt, {1980, 4140, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Square, {1980, 3930, 315, 135}));
    v.push_back(keyFace(Key::Power, {2550, 4140, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Root, {2520, 3900, 345, 165}));
    v.push_back(keyFace(Key::Reciprocal, {3120, 4140, 345, 195}, Face::Function));
    v.push_back(keyLegend(Key::Log10, {3120, 3900, 345, 165}));

    // ENTER row.
    v.push_back(keyFace(Key::Enter, {270, 4650, 945, 285}, Face::Enter));
    v.push_back(keyFace(Key::ChangeSign, {1410, 4680, 375, 195}, Face::Function));
    v.push_back(keyLegend(Key::Abs, {1380, 4500, 375, 135}));
    v.push_back(keyFace(Key::Exponent, {1950, 4680, 375, 195}, Face::Function));
    v.push_back(keyLegend(Key::TenPower, {1980, 4500, 315, 165}));
    v.push_back(keyFace(Key::ClearStack, {2550, 4680, 345, 195}, Face::Delete));
    v.push_back(keyLegend(Key::Undo, {2490, 4500, 465, 165}));
    v.push_back(keyFace(Key::Backspace, {3120, 4680, 345, 195}, Face::Delete));
    v.push_back(keyLegend(Key::ClearLog, {3120, 4500, 345, 195}));

    // Digit block, first row.
    v.push_back(legendKey("vcp", 0, {240, 5040, 195, 195}, " V", "V: variations of n taken k at a time"));
    v.push_back(legendKey("vcp", 2, {450, 5040, 195, 195}, " C", "C: combinations of n taken k at a time"));
    v.push_back(faceKey("vcp", 1, {210, 5250, 465, 195}, Face::Narrow, " VR", {}, "VR: variations with repetition"));
    v.push_back(faceKey("numero", 7, {900, 5190, 495, 285}, Face::Digit, {}, "7", "Type 7", kBlack));
    v.push_back(keyLegend(Key::ThreeZeros, {960, 5010, 285, 165}));
    v.push_back(keyLegend(Key::LetterD, {1230, 5010, 165, 165}));
    v.push_back(faceKey("numero", 8, {1590, 5190, 495, 285}, Face::Digit, {}, "8", "Type 8", kBlack));
    v.push_back(keyLegend(Key::TwoZeros, {1650, 5010, 225, 165}));
    v.push_back(keyLegend(Key::LetterE, {1920, 5010, 165, 165}));
    v.push_back(faceKey("numero", 9, {2280, 5190, 495, 285}, Face::Digit, {}, "9", "Type 9", kBlack));
    v.push_back(keyLegend(Key::LetterF, {2580, 5010, 195, 165}));
    v.push_back(keyFace(Key::Divide, {3060, 5220, 345, 225}, Face::Operator));
    v.push_back(keyLegend(Key::Remainder, {3030, 5040, 375, 165}));

    // Second row.
    v.push_back(keyFace(Key::ToMemoryList, {240, 5790, 435, 165}, Face::Narrow));
    v.push_back(keyLegend(Key::MemoryStore, {330, 5580, 345, 165}));
    v.push_back(faceKey("numero", 4, {900, 5760, 495, 285}, Face::Digit, {}, "4", "Type 4", kBlack));
    v.push_back(keyLegend(Key::LetterA, {1200, 5580, 195, 165}));
    v.push_back(faceKey("numero", 5, {1590, 5730, 495, 315}, Face::Digit, {}, "5", "Type 5", kBlack));
    v.push_back(keyLegend(Key::LetterB, {1920, 5580, 165, 165}));
    v.push_back(faceKey("numero", 6, {2280, 5760, 495, 285}, Face::Digit, {}, "6", "Type 6", kBlack));
    v.push_back(keyLegend(Key::LetterC, {2610, 5580, 165, 165}));
    v.push_back(keyFace(Key::Multiply, {3060, 5790, 345, 255}, Face::Operator));
    v.push_back(keyLegend(Key::Factorial, {3000, 5580, 255, 165}));
    v.push_back(keyLegend(Key::StackProduct, {3210, 5580, 285, 195}));

    // Third row.
    v.push_back(keyFace(Key::MemoryRecall, {300, 6360, 345, 195}, Face::Narrow));
    v.push_back(keyLegend(Key::MemoryAdd, {240, 6150, 285, 195}));
    v.push_back(keyLegend(Key::MemorySubtract, {480, 6150, 285, 195}));
    v.push_back(faceKey("numero", 1, {900, 6330, 495, 285}, Face::Digit, {}, "1", "Type 1", kBlack));
    v.push_back(keyLegend(Key::Fix, {1080, 6150, 405, 165}));
    v.push_back(faceKey("numero", 2, {1620, 6330, 465, 285}, Face::Digit, {}, "2", "Type 2", kBlack));
    v.push_back(keyLegend(Key::Dec, {1770, 6150, 315, 165}));
    v.push_back(faceKey("numero", 3, {2280, 6330, 465, 285}, Face::Digit, {}, "3", "Type 3", kBlack));
    v.push_back(keyLegend(Key::Int, {2460, 6150, 375, 165}));
    v.push_back(keyFace(Key::Subtract, {3060, 6360, 345, 225}, Face::Operator));
    v.push_back(keyLegend(Key::ExponentMinus, {3030, 6150, 345, 165}));

    // Fourth row.
    v.push_back(faceKey("Label14", -1, {210, 6960, 435, 195}, Face::Narrow, "XLS", {},
                        "Copy STACK to clipboard (EXEL format)"));
    v.push_back(legendKey("Label13", -1, {240, 6750, 405, 165}, "PRINT", "Prints the STACK"));
    v.push_back(faceKey("numero", 0, {930, 6930, 435, 255}, Face::Digit, {}, "0", "Type 0", kBlack));
    v.push_back(keyLegend(Key::Percent, {960, 6720, 405, 165}));
    v.push_back(keyFace(Key::DecimalPoint, {1620, 6900, 435, 285}, Face::Digit, kBlack));
    v.push_back(keyLegend(Key::Random, {1620, 6750, 375, 165}));
    v.push_back(keyFace(Key::Pi, {2280, 6960, 465, 225}, Face::Digit, kBlack, 6.75));
    v.push_back(keyLegend(Key::E, {2400, 6690, 255, 195}));
    v.push_back(keyFace(Key::Add, {3060, 6900, 345, 225}, Face::Operator));
    v.push_back(keyLegend(Key::StackSum, {3060, 6720, 315, 165}));

    // Bottom legend row.
    v.push_back(legendKey("monitor", 8, {2010, 7290, 465, 165}, "INFO", "Show INFO screen", kPaleYellow));
    v.push_back(legendKey("Label10", 0, {2550, 7290, 465, 165}, "WEB >", "Morvane official website"));
    return v;
}

std::vector<ControlDef> makeLowerStrip() {
    std::vector<ControlDef> v;
    v.push_back(legendKey("Label10", 1, {1050, 7770, 465, 165}, "HELP >", "Morvane official website"));
    v.push_back(keyLegend(Key::LetterX, {510, 7860, 225, 165}));
    v.push_back(keyLegend(Key::LetterY, {750, 8010, 195, 165}));
    v.push_back(keyLegend(Key::LetterSmallF, {150, 7800, 225, 195}));
    v.push_back(keyLegend(Key::PesetasToEuros, {2880, 7740, 375, 165}));
    v.push_back(keyLegend(Key::EurosToPesetas, {2880, 7890, 375, 225}));
    v.push_back(keyLegend(Key::WithVat, {3330, 7740, 195, 165}));
    v.push_back(keyLegend(Key::VatAmount, {3330, 7890, 345, 225}));
    v.push_back(keyLegend(Key::WithoutVat, {3480, 7710, 195, 225}));
    {
        ControlDef d;
        d.name = "Image1";
        d.kind = Kind::Image;
        d.box = {1500, 7710, 480, 480};
        v.push_back(d);
    }
    {
        ControlDef d = textRow("bloqueo1", -1, {}, -1, {1980, 7740, 405, 405}, "", 6.75, false, Align::Left, kBlack);
        d.visible = false;
        v.push_back(d);
    }
    return v;
}

std::vector<ControlDef> makeOutside() {
    std::vector<ControlDef> v;
    v.push_back(frameRow("pantalla", 0, {1260, 8940, 255, 285}, kDisplayGreen, false));
    v.push_back(frameRow("pantalla", 5, {990, 9240, 255, 255}, kDisplayGreen, true));
    v.push_back(frameRow("pantalla", 6, {930, 8970, 285, 255}, kDisplayGreen, false));
    v.push_back(statusLabel(19, "pantalla", 6, {900, 0, 2085, 150}, "", false, Align::Right));
    v.push_back(statusLabel(25, "pantalla", 6, {1560, 0, 1425, 150}, "", false, Align::Right));
    v.push_back(frameRow("pantalla", 7, {1260, 9270, 285, 285}, kDisplayGreen, false));
    v.push_back(keyLegend(Key::Hyp, {2880, 8100, 375, 225}));
    v.push_back(legendKey("monitor", 10, {3300, 8100, 465, 165}, "HELP >", "Shows the help screen"));
    // The main memory and the registers: values that other controls show.
    ControlDef memory =
        textRow("memoriaprincipal", -1, {}, -1, {0, 8340, 2565, 225}, "0", 6.75, false, Align::Left, kBlack);
    memory.role = Role::Storage;
    v.push_back(memory);
    for (int i = 0; i <= 20; ++i) {
        ControlDef d = textRow("nivel", i, {}, -1, {(i % 5) * 2580, 8580 + (i / 5) * 292, 2565, 225}, "", 6.75, false,
                               Align::Left, kBlack);
        d.role = Role::Storage;
        v.push_back(d);
    }
    return v;
}

}  // namespace

const std::vector<ControlDef>& titleBandLayout() {
    static const std::vector<ControlDef> v = makeTitleBand();
    return v;
}
const std::vector<ControlDef>& displayLayout() {
    static const std::vector<ControlDef> v = makeDisplay();
    return v;
}
const std::vector<ControlDef>& keypadLayout() {
    static const std::vector<ControlDef> v = makeKeypad();
    return v;
}
const std::vector<ControlDef>& lowerStripLayout() {
    static const std::vector<ControlDef> v = makeLowerStrip();
    return v;
}
const std::vector<ControlDef>& outsideLayout() {
    static const std::vector<ControlDef> v = makeOutside();
    return v;
}

std::vector<const ControlDef*> allControls() {
    std::vector<const ControlDef*> out;
    for (const auto* table :
         {&titleBandLayout(), &keypadLayout(), &lowerStripLayout(), &displayLayout(), &outsideLayout()})
        for (const ControlDef& d : *table) out.push_back(&d);
    return out;
}

}  // namespace morvane
