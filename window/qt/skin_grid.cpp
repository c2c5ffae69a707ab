// The key grid of the skin: the rows and columns that the key faces stand
// on, and the face under each key of the layout.
#include <QRectF>
#include <algorithm>
#include <array>
#include <cmath>

#include "window/qt/skin_parts.h"

namespace morvane::skin {

namespace {

// The key grid. Faces are placed on it from the label boxes: a label picks
// the row its centre lies in and the columns its edges lie in.
// A row's top and height, or a column's left and width, in twips.
struct Span {
    int start, length;
};
constexpr std::array<Span, 3> kUpperRows{{{3495, 270}, {4080, 300}, {4650, 300}}};
constexpr std::array<Span, 4> kLowerRows{{{5175, 345}, {5745, 345}, {6315, 345}, {6885, 345}}};
// Upper block: six columns, pitch 570, 480 wide.
constexpr int kUpperLeft = 195, kUpperPitch = 570, kUpperWidth = 480, kUpperColumns = 6;
// Lower block: the narrow column, three digit columns and the operators.
constexpr std::array<Span, 5> kLowerColumns{{{195, 480}, {855, 570}, {1545, 570}, {2235, 570}, {2925, 600}}};
// The narrow keys are shorter than the digits and top-aligned with them.
constexpr int kNarrowHeight = 300;

int upperColumnOf(double x) {
    const int k = static_cast<int>(std::lround((x - kUpperLeft - kUpperWidth / 2.0) / kUpperPitch));
    return std::clamp(k, 0, kUpperColumns - 1);
}

int lowerColumnOf(double x) {
    int best = 0;
    double bestDistance = 1e9;
    for (int k = 0; k < static_cast<int>(kLowerColumns.size()); ++k) {
        const double centre = kLowerColumns[k].start + kLowerColumns[k].length / 2.0;
        if (std::abs(x - centre) < bestDistance) {
            bestDistance = std::abs(x - centre);
            best = k;
        }
    }
    return best;
}

}  // namespace

QRectF pixels(int left, int top, int width, int height) {
    return QRectF(left / kTw, top / kTw, width / kTw, height / kTw);
}

// The face under a key, from its label box; an empty rectangle when the
// label lies in no row of the grid.
QRectF faceRect(const ControlDef& d) {
    const Box& b = d.box;
    const double cy = b.top + b.height / 2.0;
    for (const Span& row : kUpperRows) {
        if (cy < row.start || cy >= row.start + row.length) continue;
        const int first = upperColumnOf(b.left);
        const int last = std::max(first, upperColumnOf(b.right()));
        const int left = kUpperLeft + first * kUpperPitch;
        const int right = kUpperLeft + last * kUpperPitch + kUpperWidth;
        return pixels(left, row.start, right - left, row.length);
    }
    for (const Span& row : kLowerRows) {
        if (cy < row.start || cy >= row.start + row.length) continue;
        const int k = lowerColumnOf(b.left + b.width / 2.0);
        const Span& col = kLowerColumns[static_cast<size_t>(k)];
        const int height = d.face == Face::Narrow ? kNarrowHeight : row.length;
        return pixels(col.start, row.start, col.length, height);
    }
    return {};
}

}  // namespace morvane::skin
