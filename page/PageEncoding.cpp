#include "PageEncoding.h"

#include <QChar>
#include <QStringEncoder>

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
    // Nearly every text is plain ISO-8859-1: Qt converts it in one pass, and
    // only a text with another character is written again with references.
    QStringEncoder latin1(QStringConverter::Latin1);
    const qsizetype start = out.size();
    out.resize(start + latin1.requiredSpace(text.size()));
    const char *end = latin1.appendToBuffer(out.data() + start, text);
    if (!latin1.hasError()) {
        out.resize(end - out.constData());
        return;
    }
    out.resize(start);
    appendWithReferences(out, text);
}
