// A register's text as stored, left to right: a pasted text may carry the
// Unicode bidirectional controls (U+202E RIGHT-TO-LEFT OVERRIDE and the
// like), which would reorder what a line shows; they are not obeyed.
#pragma once

#include <QString>

namespace morvane::platform {

// Whether c is a bidirectional control: the embeddings and overrides
// U+202A..U+202E, the isolates U+2066..U+2069, the marks U+200E, U+200F and
// U+061C.
bool isBidiControl(char16_t c);

// The text without its bidirectional controls, to be measured and fitted.
QString withoutBidiControls(const QString& text);

// A text without bidirectional controls, ready to draw in the order it is
// stored, left to right, whatever the direction of its letters (a painter
// whose layout direction is left to right).
QString drawnLeftToRight(const QString& text);

}  // namespace morvane::platform
