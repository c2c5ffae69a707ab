#include "ltr_text.h"

namespace morvane::platform {

bool isBidiControl(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

QString withoutBidiControls(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && !isBidiControl(text.at(i).unicode())) ++i;
    if (i == text.size()) return text;
    QString out = text.left(i);
    for (; i < text.size(); ++i)
        if (!isBidiControl(text.at(i).unicode())) out += text.at(i);
    return out;
}

QString drawnLeftToRight(const QString& text) {
    // Only letters and digits of a right-to-left script would be reordered
    // in a left-to-right line: such a text goes inside LEFT-TO-RIGHT
    // OVERRIDE ... POP DIRECTIONAL FORMATTING; any other is drawn as it is.
    for (QChar c : text) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL || d == QChar::DirAN) return QChar(0x202D) + text + QChar(0x202C);
    }
    return text;
}

}  // namespace morvane::platform
