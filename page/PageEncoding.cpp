// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PageEncoding.h"

#include <QChar>

namespace {

// The slow path: characters beyond ISO-8859-1 as character references.
void appendWithReferences(QByteArray &out, QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 256) {
            out.append(char(unit));
            continue;
        }
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            codePoint = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            codePoint = QChar::ReplacementCharacter;
        }
        out.append("&#");
        out.append(QByteArray::number(quint32(codePoint)));
        out.append(';');
    }
}

} // namespace

void appendPageText(QByteArray &out, QStringView text)
{
    // Nearly every text is plain ISO-8859-1: copy it byte for byte in one
    // pass, and fall back to references only from the first other character.
    const qsizetype start = out.size();
    const qsizetype size = text.size();
    out.resize(start + size);
    char *target = out.data() + start;
    const char16_t *source = text.utf16();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = source[i];
        if (unit >= 256) {
            out.resize(start + i);
            appendWithReferences(out, text.sliced(i));
            return;
        }
        target[i] = char(unit);
    }
}
