// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/MobilePageWriter.h"

#include "page/MakerInfo.h"
#include "page/PageWriter.h"
#include "page/PictureSize.h"
#include "page/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// Text for an element or an attribute value: the characters that are markup
// escaped, and control characters (a pasted one-line field may hold a line
// break) as blanks, as the browser would show them.
QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'&')
            out += u"&amp;";
        else if (unit == u'<')
            out += u"&lt;";
        else if (unit == u'>')
            out += u"&gt;";
        else if (unit == u'"')
            out += u"&quot;";
        else if ((unit < 32 && unit != u'\t') || (unit >= 0x7F && unit <= 0x9F))
            out += u' ';
        else
            out += c;
    }
    return out;
}

// Noncharacters (U+FDD0 to U+FDEF and the last two code points of every
// plane) are for a program's own use, never for a page: a typed or pasted one
// is shown as the replacement character, as a validator would have it.
QString withoutNoncharacters(const QString &text)
{
    QString out;
    qsizetype copied = 0;
    bool found = false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        char32_t code = text[at].unicode();
        qsizetype units = 1;
        if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[at], text[at + 1]);
            units = 2;
        }
        if (QChar::isNonCharacter(code)) {
            out += QStringView(text).sliced(copied, at - copied);
            out += QChar(QChar::ReplacementCharacter);
            copied = at + units;
            found = true;
        }
        at += units - 1;
    }
    if (!found)
        return text;
    out += QStringView(text).sliced(copied);
    return out;
}

QString trimmedEscaped(QStringView text)
{
    return escaped(trimmedText(text));
}

// An address the user typed, for an attribute: blanks, characters beyond
// ASCII and those that would break the attribute percent-encoded (UTF-8),
// the rest as typed.
QString address(QStringView text)
{
    static const QByteArray kKept = [] {
        QByteArray kept;
        for (char c = 0x21; c < 0x7F; ++c) {
            if (c != '"' && c != '<' && c != '>' && c != '\\')
                kept.append(c);
        }
        return kept;
    }();
    const QByteArray encoded = QUrl::toPercentEncoding(trimmedText(text), kKept);
    return QString::fromLatin1(encoded).replace(u'&', QStringLiteral("&amp;"));
}

// A file beside the page, for an attribute.
QString fileAddress(const QString &name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

// The wizard asks for no words for a picture, so its text alternative is
// its file name as a person reads it: no extension, blanks for underscores,
// without the ending of the copies prepared for the web.
QString alternative(const QString &name)
{
    QString words = QFileInfo(name).completeBaseName();
    if (words.endsWith(QLatin1String("_web"), Qt::CaseInsensitive))
        words.chop(4);
    words.replace(u'_', u' ');
    words = trimmedText(words);
    return words.isEmpty() ? QStringLiteral("Imagen") : words;
}

const char16_t *centralTextSize(Tamano size)
{
    switch (size) {
    case Tamano::optMini:
        return u"1em";
    case Tamano::optGrande:
        return u"1.5em";
    case Tamano::optSuper:
        return u"2.25em";
    case Tamano::optNormal:
        break;
    }
    return u"1.125em";
}

// Links are tapped with a finger: each is at least 48 pixels high.
constexpr char16_t kStyle[] = uR"(html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body { margin: 0; padding: 8px; font-family: Verdana, Arial, sans-serif; line-height: 1.4;
  color: %1; background: %2; overflow-wrap: anywhere; }
a:link { color: %3; }
a:visited { color: %4; }
a:active { color: %5; }
img { max-width: 100%; height: auto; border: 0; vertical-align: middle; }
header, .centrado { text-align: center; }
h1.marco { display: inline-block; max-width: 100%; box-sizing: border-box;
  border: 4px outset; padding: 2px 8px; }
h2.menor { font-size: 1.17em; }
.desplaza { font-size: 1.125em; overflow: hidden; white-space: nowrap; }
.desplaza span { display: inline-block; padding-left: 100%; animation: desplaza %6s linear infinite; }
.desplaza:hover span, .desplaza:active span, .desplaza:focus span { animation-play-state: paused; }
@keyframes desplaza { to { transform: translateX(-100%); } }
@media (prefers-reduced-motion: reduce) {
  .desplaza { white-space: normal; text-align: center; }
  .desplaza span { animation: none; padding-left: 0; }
}
.texto { font-size: %7;%8 }
.texto::after { content: ""; display: block; clear: both; }
.izquierda { float: left; margin: 0 4px; }
li a, .email a, footer a { display: inline-block; min-height: 48px; padding: 12px 0;
  box-sizing: border-box; }
.email { font-size: 1.125em; }
footer { font-size: 0.875em; font-style: italic; font-weight: bold; }
)";

QString styleSheet(const PageSettings &s, const ColourScheme &scheme)
{
    QString background = QString::fromLatin1(scheme.bgColor);
    if (!s.chkFondo) {
        background += QStringLiteral(" url(\"%1\")").arg(QString::fromUtf16(scheme.backgroundFile));
        if (s.chkFondoFijo)
            background += QStringLiteral(" fixed");
    }
    QString textLook;
    if (s.chkNegrita)
        textLook += QStringLiteral(" font-weight: bold;");
    if (s.chkCursiva)
        textLook += QStringLiteral(" font-style: italic;");
    // About the speed of the old scrolling text on a wide screen.
    const double seconds = 10 + 0.1 * double(trimmedText(s.TextoScroll).size());
    return QString::fromUtf16(kStyle).arg(
        QString::fromLatin1(scheme.text), background, QString::fromLatin1(scheme.link),
        QString::fromLatin1(scheme.vlink), QString::fromLatin1(kActiveLinkColour),
        QString::number(seconds), QString::fromUtf16(centralTextSize(s.optTamano)), textLook);
}

// The page as it is put together; one function per section.
struct MobilePage {
    const PageSettings &s;
    const PictureSizes &sizes;
    QString out;
    int picturesWritten = 0;

    void line(const QString &text)
    {
        out += text;
        out += u'\n';
    }

    // A picture beside the page, with its size when it is known, so the page
    // does not move while it arrives. The first one the page shows loads at
    // once; the others wait until the visitor scrolls near them, which spares
    // a phone's data.
    QString picture(const QString &name, const QString &extra = {}, const QString &words = {})
    {
        QString tag = QStringLiteral("<img src=\"%1\"").arg(fileAddress(name)) + extra;
        const QSize size = sizes ? sizes(name) : QSize();
        if (!size.isEmpty())
            tag +=
                QStringLiteral(" width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height());
        if (picturesWritten++ > 0)
            tag += QStringLiteral(" loading=\"lazy\"");
        return tag + QStringLiteral(" alt=\"%1\">")
                         .arg(escaped(words.isEmpty() ? alternative(name) : words));
    }

    // The picture, inside a link when the address is not blank; the link
    // is named by the picture's text alternative.
    QString linkedPicture(const QString &name, const QString &link, const QString &extra = {})
    {
        if (isBlank(link))
            return picture(name, extra);
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(address(link), picture(name, extra));
    }

    void head(const ColourScheme &scheme, const QString &stamp);
    void sound();
    void titles();
    void picture1();
    void scrollingText();
    void centralText();
    void links();
    void email();
    void footer();
};

void MobilePage::head(const ColourScheme &scheme, const QString &stamp)
{
    QStringList titles;
    for (const QString *title : {&s.txtTitol, &s.txtSubTitol1, &s.txtSubTitol2}) {
        if (!isBlank(*title))
            titles.append(trimmedEscaped(*title));
    }
    line(QStringLiteral("<!DOCTYPE html>"));
    line(QStringLiteral("<html lang=\"es\">"));
    line(QStringLiteral("<head>"));
    line(QStringLiteral("<meta charset=\"utf-8\">"));
    line(QStringLiteral("<!-- Pagina Creada con Brenzo 3.0.0"));
    line(QStringLiteral(u"Fecha/Hora creación de la página: ") + stamp);
    line(QStringLiteral("Brenzo HomePage: ") + makerHomePage() + QStringLiteral(" -->"));
    line(
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
    line(QStringLiteral("<title>%1</title>").arg(trimmedEscaped(s.txtTitol)));
    line(QStringLiteral("<meta name=\"description\" content=\"%1\">").arg(titles.join(u". ")));
    line(QStringLiteral("<meta name=\"generator\" content=\"Brenzo\">"));
    // No request for a favicon the site does not have.
    line(QStringLiteral("<link rel=\"icon\" href=\"data:,\">"));
    line(QStringLiteral("<style>"));
    out += styleSheet(s, scheme);
    line(QStringLiteral("</style>"));
    line(QStringLiteral("</head>"));
    line(QStringLiteral("<body>"));
}

void MobilePage::sound()
{
    // No browser of today plays MIDI: no player that could never play.
    if (isBlank(s.stSonido) || s.stSonido.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive))
        return;
    line(QStringLiteral("<p class=\"centrado\"><audio controls%1 preload=\"none\" "
                        "src=\"%2\"></audio></p>")
             .arg(s.chkLoop ? QStringLiteral(" loop") : QString(), fileAddress(s.stSonido)));
}

void MobilePage::titles()
{
    line(QStringLiteral("<header>"));
    line(QStringLiteral("<h1%1>%2</h1>")
             .arg(s.chkMarco ? QStringLiteral(" class=\"marco\"") : QString(),
                  trimmedEscaped(s.txtTitol)));
    // Both subtitles are second-level headings, so that the outline has no
    // gap when only the second one is filled; the second looks smaller.
    if (!isBlank(s.txtSubTitol1))
        line(QStringLiteral("<h2>%1</h2>").arg(trimmedEscaped(s.txtSubTitol1)));
    if (!isBlank(s.txtSubTitol2))
        line(QStringLiteral("<h2 class=\"menor\">%1</h2>").arg(trimmedEscaped(s.txtSubTitol2)));
    line(QStringLiteral("</header>"));
}

void MobilePage::picture1()
{
    if (!s.lblNombreImagen1.isEmpty())
        line(QStringLiteral("<p class=\"centrado\">%1</p>")
                 .arg(linkedPicture(s.lblNombreImagen1, s.txtImagen1)));
}

void MobilePage::scrollingText()
{
    if (isBlank(s.TextoScroll))
        return;
    // Focusable, so that a touch (or Tab) stops it.
    line(QStringLiteral("<p class=\"desplaza\" tabindex=\"0\"><span>%1</span></p>")
             .arg(trimmedEscaped(s.TextoScroll)));
}

void MobilePage::centralText()
{
    if (!s.hasCentralText())
        return;
    line(QStringLiteral("<div class=\"texto\">"));
    if (!s.lblNombreImagen2.isEmpty())
        line(linkedPicture(s.lblNombreImagen2, s.txtImagen2,
                           QStringLiteral(" class=\"izquierda\"")));
    for (const QStringView text : s.centralTextLineViews()) {
        out += escaped(text);
        out += u"<br>\n";
    }
    line(QStringLiteral("</div>"));
    line(QStringLiteral("<hr>"));
}

void MobilePage::links()
{
    if (!isBlank(s.txtTitolEnlaces))
        line(QStringLiteral("<p><b>%1</b></p>").arg(trimmedEscaped(s.txtTitolEnlaces)));
    QStringList items;
    for (const LinkRow &row : s.GridEnlaces) {
        if (!row.isLink())
            continue;
        // A link with no words would be invisible and nameless: its
        // address stands for them.
        const QString words = isBlank(row.description) ? row.address : row.description;
        items.append(QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                         .arg(address(row.address), trimmedEscaped(words)));
    }
    if (items.isEmpty())
        return;
    line(QStringLiteral("<ul>"));
    for (const QString &item : items)
        line(item);
    line(QStringLiteral("</ul>"));
}

void MobilePage::email()
{
    const QString mail = trimmedText(s.txtEmail);
    const QString mailto = QStringLiteral("mailto:") + mail;
    line(QStringLiteral("<hr>"));
    QString picture;
    if (!s.lblNombreImagen3.isEmpty())
        picture = linkedPicture(s.lblNombreImagen3, mailto) + u' ';
    line(QStringLiteral("<p class=\"centrado email\">%1%2 <a href=\"%3\">%4</a></p>")
             .arg(picture, trimmedEscaped(s.txtTitolEmail), address(mailto), escaped(mail)));
    line(QStringLiteral("<hr>"));
}

void MobilePage::footer()
{
    const QString home = address(makerHomePage());
    line(QStringLiteral("<footer>"));
    line(QStringLiteral(u"<p><a href=\"%1\">%2</a> Página creada con el asistente automático "
                        u"gratuito <a href=\"%1\">Brenzo</a></p>")
             .arg(home, picture(badgeFileName(), {}, QStringLiteral("Brenzo"))));
    line(QStringLiteral("</footer>"));
    line(QStringLiteral("</body>"));
    line(QStringLiteral("</html>"));
}

} // namespace

QByteArray RenderMobilePage(const PageSettings &settings, const ColourScheme &scheme,
                            const QString &stamp, const PictureSizes &sizes)
{
    MobilePage page{settings, sizes, {}, 0};
    page.out.reserve(6000 + settings.txtLibre.size() * 11 / 10);
    page.head(scheme, stamp);
    page.sound();
    page.titles();
    page.line(QStringLiteral("<main>"));
    page.picture1();
    if (settings.optPosicion == Posicion::optAntesTexto)
        page.scrollingText();
    page.line(QStringLiteral("<hr>"));
    page.centralText();
    if (settings.optPosicion == Posicion::optDespuesTexto)
        page.scrollingText();
    page.links();
    page.line(QStringLiteral("</main>"));
    page.email();
    page.footer();
    return withoutNoncharacters(page.out).toUtf8();
}

bool WriteMobilePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
                     const PageClock &clock, const QLocale &locale)
{
    const QDir folder = QFileInfo(path).dir();
    const PictureSizes sizes = [&folder](const QString &name) {
        return pictureSize(folder.filePath(name));
    };
    return SavePageFile(path,
                        RenderMobilePage(settings, scheme, creationStamp(clock(), locale), sizes));
}
