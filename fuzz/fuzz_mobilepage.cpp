// SPDX-License-Identifier: GPL-3.0-or-later
// The adapted page writer on random settings and picture sizes: whatever the
// user typed or the folder held, the page is UTF-8 without noncharacters or
// carriage returns, its tags are only the writer's own with their quotes
// paired, and every "&" starts one of the writer's entities: nothing typed
// becomes markup.

#include "page/ColourScheme.h"
#include "page/MobilePageWriter.h"

#include "fuzz/FuzzedSettings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QSet>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const QSet<QByteArray> Tags = {
    "!DOCTYPE", "!--",   "html",   "head", "meta", "title",  "link", "style", "body",
    "p",        "audio", "header", "h1",   "h2",   "main",   "img",  "a",     "hr",
    "div",      "br",    "b",      "ul",   "li",   "footer", "span",
};

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '-';
}

bool isEntity(QByteArrayView text)
{
    return text.startsWith("&amp;") || text.startsWith("&lt;") || text.startsWith("&gt;") ||
           text.startsWith("&quot;");
}

// Tags and "&" as the writer puts them, and nothing else of markup.
bool markupIsOwn(const QByteArray &page)
{
    qsizetype at = 0;
    while (at < page.size()) {
        const char c = page[at];
        if (c == '>')
            return false;
        if (c == '&' && !isEntity(QByteArrayView(page).sliced(at)))
            return false;
        if (c != '<') {
            ++at;
            continue;
        }
        const qsizetype end = page.indexOf('>', at);
        if (end < 0)
            return false;
        const QByteArrayView tag = QByteArrayView(page).sliced(at + 1, end - at - 1);
        if (tag.contains('<') || tag.count('"') % 2 != 0)
            return false;
        for (qsizetype amp = tag.indexOf('&'); amp >= 0; amp = tag.indexOf('&', amp + 1)) {
            if (!isEntity(tag.sliced(amp)))
                return false;
        }
        qsizetype name = tag.startsWith('/') ? 1 : 0;
        const qsizetype nameStart = name;
        while (name < tag.size() && isNameChar(tag[name]) &&
               !(tag.sliced(nameStart, name - nameStart) == "!--"))
            ++name;
        if (!Tags.contains(tag.sliced(nameStart, name - nameStart).toByteArray()))
            return false;
        at = end + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    PageSettings s = fuzzedSettings(input);
    // A size for each picture, as a file's header may claim it.
    QList<QSize> sizes;
    for (int i = 0; i < 4; ++i)
        sizes.append(QSize(input.ConsumeIntegralInRange<int>(-1, 100'000),
                           input.ConsumeIntegralInRange<int>(-1, 100'000)));
    qsizetype asked = 0;
    const PictureSizes sizeOf = [&sizes, &asked](const QString &) {
        return sizes[asked++ % sizes.size()];
    };

    const QByteArray page =
        RenderMobilePage(s, schemeFor(s), QStringLiteral("9/12/2026 18:05:41"), sizeOf);
    if (!page.startsWith("<!DOCTYPE html>\n") || !page.endsWith("</body>\n</html>\n") ||
        page.contains('\r'))
        std::abort();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(page);
    if (utf8.hasError())
        std::abort();
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        char32_t code = decoded[i].unicode();
        if (decoded[i].isHighSurrogate() && i + 1 < decoded.size())
            code = QChar::surrogateToUcs4(decoded[i], decoded[i + 1]);
        if (QChar::isNonCharacter(code))
            std::abort();
    }
    if (!markupIsOwn(page))
        std::abort();
    return 0;
}
