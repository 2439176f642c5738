#include "PageEncoding.h"

#include <QChar>

void appendPageText(QByteArray &out, QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 256) {
            out.append(char(unit));
            continue;
        }
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size
            && QChar::isLowSurrogate(text[i + 1].unicode())) {
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
