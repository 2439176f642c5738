// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PageWriter.h"

#include "files/AtomicFile.h"
#include "page/MakerInfo.h"
#include "page/PageEncoding.h"
#include "page/TextRules.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

// Collects the document's lines in the page's code page.
class PageLines {
public:
    explicit PageLines(QByteArray &out) : m_out(out) {}

    // One line made of the pieces joined with nothing in between.
    void line(std::initializer_list<QStringView> pieces)
    {
        const qsizetype start = m_out.size();
        for (QStringView piece : pieces)
            appendPageText(m_out, piece);
        keepOnOneLine(start);
        m_out.append("\r\n");
    }
    void line(QStringView text) { line({text}); }
    // Every line of the central text, each followed by a "<BR>" line.
    void centralLines(QStringView text);
    void separator() { m_out.append(" \r\n"); }

private:
    // The page is laid out line for line, every line ending in CR LF. A line
    // break inside a one-line text (a file name may hold one, and so may a
    // pasted title) would split its line with a bare CR or LF; in HTML it
    // means a blank, so a blank is what it becomes.
    void keepOnOneLine(qsizetype start)
    {
        char *begin = m_out.data() + start;
        char *const end = m_out.data() + m_out.size();
        for (const char breakChar : {'\r', '\n'}) {
            for (char *at = begin;
                 (at = static_cast<char *>(std::memchr(at, breakChar, size_t(end - at))));)
                *at = ' ';
        }
    }

    QByteArray &m_out;
};

// The central text is nearly the whole page when it is long. Qt converts it
// to ISO-8859-1 in one pass, where a character with no ISO-8859-1 form
// comes out as '?', one byte for each UTF-16 unit; the lines are then cut
// from those bytes, and only a line that holds such a character is written
// again with character references. The lines are those of
// PageSettings::centralTextLineViews(): split at CR LF, LF or CR, no empty
// line after a final break, each cut to its first kCentralLineLimit
// characters.
void PageLines::centralLines(QStringView text)
{
    static constexpr char kAfterLine[] = "\r\n<BR>\r\n";
    constexpr size_t kAfterSize = sizeof kAfterLine - 1;
    const QByteArray latin1 = text.toLatin1();
    const char *const bytes = latin1.constData();
    const qsizetype size = latin1.size();
    auto find = [&](char wanted, qsizetype from) -> qsizetype {
        const void *at = std::memchr(bytes + from, wanted, size_t(size - from));
        return at ? static_cast<const char *>(at) - bytes : size;
    };
    // The next character with no ISO-8859-1 form: a '?' that was not one.
    auto findOther = [&](qsizetype from) {
        qsizetype at = find('?', from);
        while (at < size && text[at] == u'?')
            at = find('?', at + 1);
        return at;
    };

    // Each of these is looked up again only once the lines have passed it.
    qsizetype nextCr = find('\r', 0);
    qsizetype nextLf = find('\n', 0);
    qsizetype nextOther = findOther(0);
    qsizetype start = 0;
    while (start < size) {
        if (nextCr < start)
            nextCr = find('\r', start);
        if (nextLf < start)
            nextLf = find('\n', start);
        if (nextOther < start)
            nextOther = findOther(start);
        const qsizetype end = std::min(nextCr, nextLf);
        const qsizetype length = std::min(end - start, kCentralLineLimit);
        if (nextOther < start + length) {
            appendPageText(m_out, text.sliced(start, length));
            m_out.append(kAfterLine, kAfterSize);
        } else {
            const qsizetype used = m_out.size();
            m_out.resize(used + length + kAfterSize);
            char *const target = m_out.data() + used;
            // memmove rather than memcpy: knowing that a line is at most
            // kCentralLineLimit bytes, the compiler would copy it inline with
            // a string instruction that is slow for lines this short.
            std::memmove(target, bytes + start, size_t(length));
            std::memcpy(target + length, kAfterLine, kAfterSize);
        }
        start = end + (end == nextCr && end + 1 < size && bytes[end + 1] == '\n' ? 2 : 1);
    }
}

// Addresses and file names go into double-quoted attribute values, where a
// '"' would end the value and let the rest of the name be read as markup.
// As "%22" it stays part of the address: a browser asks for the file with
// the '"' in its name. Nothing else in the value changes.
QString attributeValue(const QString &text)
{
    QString value = text;
    return value.replace(u'"', QStringLiteral("%22"));
}

// The sound name sits in single-quoted JavaScript strings, inside a written
// attribute: an apostrophe or a backslash in a legal file name would end the
// string early, and a '"' the attribute.
QString jsQuoted(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size());
    for (QChar c : attributeValue(text)) {
        if (c == u'\'' || c == u'\\')
            quoted.append(u'\\');
        quoted.append(c);
    }
    return quoted;
}

void writeHeader(PageLines &out, const PageSettings &s, const ColourScheme &scheme,
                 const QString &stamp)
{
    const QString home = makerHomePage();
    out.line(u"<!-- Pagina Creada con Brenzo 3.0.0");
    out.line({u"Fecha/Hora creación de la página: ", stamp});
    out.line({u"Brenzo HomePage: ", home, u" -->"});
    out.separator();
    out.line(u"<HTML>");
    out.line(u"<HEAD>");
    out.line({u"<TITLE>", trimmedText(s.txtTitol), u"</TITLE>"});
    out.line(u"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">");
    out.line(u"<META NAME=\"Generator\" CONTENT=\"Brenzo\">");
    out.line(u"<META NAME=\"authoring_tool\" CONTENT=\"Brenzo\">");
    out.line(u"<META NAME=\"keywords\" CONTENT=\"personal, página\">");
    out.line(u"<META NAME=\"distribution\" CONTENT=\"global\">");
    out.line(u"<META NAME=\"resource-type\" CONTENT=\"document\">");
    out.line(u"</HEAD>");
    out.separator();
    out.line(u"<!-- Fondo y colores de la página -->");
    out.separator();

    const QString bgColor = QString::fromLatin1(scheme.bgColor);
    const QString text = QString::fromLatin1(scheme.text);
    const QString link = QString::fromLatin1(scheme.link);
    const QString vlink = QString::fromLatin1(scheme.vlink);
    const QString opening = s.chkFondo ? QStringLiteral("<BODY ")
                                       : QStringLiteral("<BODY BACKGROUND = \"") +
                                             QString::fromUtf16(scheme.backgroundFile) +
                                             QStringLiteral("\" ");
    out.line({opening, u"BGCOLOR=", bgColor, u" TEXT=", text, u" LINK=", link, u" VLINK=", vlink,
              u" ALINK=#FF0000", s.chkFondoFijo ? u" BGPROPERTIES=FIXED>" : u">"});
    out.separator();
}

void writeSound(PageLines &out, const PageSettings &s)
{
    if (isBlank(s.stSonido))
        return;
    const QString sound = jsQuoted(s.stSonido);
    out.line(u"<!-- Sonido Musical de Fondo -->");
    out.separator();
    out.line(u"<SCRIPT LANGUAGE=\"JavaScript\">");
    out.separator();
    out.line(u"<!-- Inicio código JavaScript (Oculto en visualizadores no compatibles)");
    out.separator();
    out.line(u"// Script creado por Brenzo para detectar");
    out.line(u"// el navegador utilizado por el ordenador que");
    out.line(u"// visualiza la WEB, y adaptar las instrucciones");
    out.line(u"// de reproducción de sonido a dicho navegador");
    out.separator();
    out.line(u"if (navigator.appName == \"Microsoft Internet Explorer\") { ");
    out.line({u"\tdocument.writeln('<BGSOUND SRC=\"", sound,
              s.chkLoop ? u"\" LOOP=INFINITE>') }" : u"\">') }"});
    out.line(u"if (navigator.appName == \"Netscape\") { ");
    out.line({u"\tdocument.writeln('<EMBED SRC=\"", sound,
              s.chkLoop ? u"\" WIDTH=0 HEIGHT=2 LOOP=TRUE AUTOSTART=TRUE>"
                        : u"\" WIDTH=0 HEIGHT=2 AUTOSTART=TRUE>",
              u"</EMBED>') }"});
    out.separator();
    out.line(u"// Fin código JavaScript -->");
    out.line(u"</SCRIPT>");
    out.separator();
}

void writeTitles(PageLines &out, const PageSettings &s)
{
    out.separator();
    out.line(u"<!-- Títulos -->");
    out.separator();
    out.line(u"<CENTER>");
    out.line(u"<FONT FACE=\"VERDANA,ARIAL\">");
    if (s.chkMarco)
        out.line(u"<TABLE BORDER=4><TR><TD>");
    out.line({u"<CENTER><H1>", trimmedText(s.txtTitol), u"</H1></CENTER>"});
    if (s.chkMarco)
        out.line(u"</TD></TR></TABLE>");
    out.line(u"</CENTER>");
    const struct {
        const QString &text;
        const char16_t *open;
        const char16_t *close;
    } subtitles[] = {{s.txtSubTitol1, u"<H2>", u"</H2>"}, {s.txtSubTitol2, u"<H3>", u"</H3>"}};
    for (const auto &subtitle : subtitles) {
        if (isBlank(subtitle.text))
            continue;
        out.separator();
        out.line(u"<CENTER>");
        out.line({subtitle.open, trimmedText(subtitle.text), subtitle.close});
        out.line(u"</CENTER>");
    }
    out.line(u"</FONT> ");
    out.separator();
    out.line(u"<BR>");
    out.separator();
}

// A picture with an optional link around it: the link lines only when the
// address is not blank.
void writeLinkedPicture(PageLines &out, const QString &address,
                        std::initializer_list<QStringView> pictureLine)
{
    const bool linked = !isBlank(address);
    if (linked)
        out.line({u"<A HREF=\"", attributeValue(trimmedText(address)), u"\">"});
    out.line(pictureLine);
    if (linked)
        out.line(u"</A>");
}

void writePicture1(PageLines &out, const PageSettings &s)
{
    if (s.lblNombreImagen1.isEmpty())
        return;
    out.line(u"<!-- Imagen/foto 1 -->");
    out.separator();
    out.line(u"<CENTER>");
    writeLinkedPicture(out, s.txtImagen1,
                       {u"<IMG SRC=\"", attributeValue(s.lblNombreImagen1), u"\" BORDER=0>"});
    out.line(u"</CENTER>");
    out.line(u"<P>");
    out.separator();
}

void writeMarquee(PageLines &out, const PageSettings &s)
{
    out.line(u"<!-- Texto desplazandose por la pantalla -->");
    out.separator();
    out.line(u"<CENTER><BLINK><FONT SIZE=+1 FACE=\"VERDANA,ARIAL\"><MARQUEE>");
    out.line(trimmedText(s.TextoScroll));
    out.line(u"</MARQUEE></FONT></BLINK></CENTER>");
}

void writeScrollBefore(PageLines &out, const PageSettings &s)
{
    if (s.optPosicion != Posicion::optAntesTexto)
        return;
    writeMarquee(out, s);
    out.separator();
}

void writeRule(PageLines &out)
{
    out.line(u"<P>");
    out.line(u"<HR>");
    out.separator();
}

void writePicture2(PageLines &out, const PageSettings &s)
{
    if (s.lblNombreImagen2.isEmpty() || !s.hasCentralText())
        return;
    out.line(u"<!-- Imagen alineada junto al texto -->");
    out.separator();
    writeLinkedPicture(out, s.txtImagen2,
                       {u"<IMG SRC=\"", attributeValue(s.lblNombreImagen2), u"\" BORDER=0",
                        u" ALIGN=LEFT HSPACE=4>"});
}

const char16_t *centralFontLine(Tamano size)
{
    switch (size) {
    case Tamano::optMini:
        return u"<FONT SIZE=-1 FACE=\"VERDANA,ARIAL\">";
    case Tamano::optGrande:
        return u"<FONT SIZE=+2 FACE=\"VERDANA,ARIAL\">";
    case Tamano::optSuper:
        return u"<FONT SIZE=+4 FACE=\"VERDANA,ARIAL\">";
    case Tamano::optNormal:
        break;
    }
    return u"<FONT FACE=\"VERDANA,ARIAL\">";
}

void writeCentralText(PageLines &out, const PageSettings &s)
{
    if (!s.hasCentralText())
        return;
    out.separator();
    out.line(u"<!-- Texto Libre -->");
    out.separator();
    out.line(centralFontLine(s.optTamano));
    if (s.chkNegrita)
        out.line(u"<B>");
    if (s.chkCursiva)
        out.line(u"<I>");
    out.centralLines(s.txtLibre);
    out.line(u"<BR CLEAR=ALL>");
    out.line(u"</FONT>");
    if (s.chkNegrita)
        out.line(u"</B>");
    if (s.chkCursiva)
        out.line(u"</I>");
    out.line(u"<HR>");
    out.separator();
}

void writeScrollAfter(PageLines &out, const PageSettings &s)
{
    if (s.optPosicion != Posicion::optDespuesTexto)
        return;
    writeMarquee(out, s);
    out.line(u"<P>");
    out.separator();
}

void writeLinks(PageLines &out, const PageSettings &s)
{
    out.separator();
    out.line(u"<!-- Enlaces con otras direcciones -->");
    out.separator();
    out.line(u"<FONT FACE=\"VERDANA,ARIAL\">");
    out.line(u"<UL>");
    out.line({u"<LH><B>", trimmedText(s.txtTitolEnlaces), u"</B></LH><P>"});
    for (const LinkRow &row : s.GridEnlaces) {
        if (!row.isLink())
            continue;
        out.line({u"<LI><A HREF=\"", attributeValue(trimmedText(row.address)), u"\">",
                  trimmedText(row.description), u"</A></LI><P>"});
    }
    out.line(u"</UL>");
    out.line(u"</FONT></B>");
    out.separator();
}

void writeEmail(PageLines &out, const PageSettings &s)
{
    const QString email = trimmedText(s.txtEmail);
    const QString mailto = QStringLiteral("mailto:") + attributeValue(email);
    out.line(u"<!-- Dirección E-MAIL --> ");
    out.separator();
    out.line(u"<P><CENTER><HR><P>");
    out.line(u"<TABLE BORDER=0><TR>");
    if (!s.lblNombreImagen3.isEmpty()) {
        out.line(u"<TD>");
        out.line({u"<A HREF=\"", mailto, u"\">"});
        out.line({u"<IMG SRC=\"", attributeValue(s.lblNombreImagen3),
                  u"\" BORDER=0 HSPACE=4 ALIGN=ABSMIDDLE></A>"});
        out.line(u"</TD>");
    }
    out.line(u"<TD>");
    out.line(u"<FONT SIZE=+1 FACE=\"VERDANA,ARIAL\">");
    out.line({trimmedText(s.txtTitolEmail), u" <A HREF=\"", mailto, u"\">", email, u"</A>"});
    out.line(u"<BR CLEAR=ALL>");
    out.line(u"</FONT>");
    out.line(u"</TD>");
    out.line(u"</TR></TABLE>");
    out.line(u"<P><HR></CENTER>");
    out.separator();
}

void writeFooter(PageLines &out)
{
    const QString home = makerHomePage();
    out.line(u"<!-- Pié de Página -->");
    out.separator();
    out.line(u"<I><B>");
    out.line({u"<FONT FACE=\"VERDANA,ARIAL\" SIZE=-1><A HREF=\"", home, u"\"><IMG SRC=\"",
              badgeFileName(),
              u"\" BORDER=0 ALIGN=ABSMIDDLE ALT=\"Brenzo\" HSPACE=4></A> Página creada con el "
              u"asistente automático gratuito <A HREF=\"",
              home, u"\">Brenzo</A>"});
    out.line(u"</FONT></I></B>");
    out.separator();
    out.line(u"</BODY>");
    out.line(u"</HTML>");
}

} // namespace

QByteArray RenderPage(const PageSettings &settings, const ColourScheme &scheme,
                      const QString &stamp)
{
    QByteArray bytes;
    bytes.reserve(4096 + settings.txtLibre.size() * 2);
    PageLines out(bytes);
    writeHeader(out, settings, scheme, stamp);
    writeSound(out, settings);
    writeTitles(out, settings);
    writePicture1(out, settings);
    writeScrollBefore(out, settings);
    writeRule(out);
    writePicture2(out, settings);
    writeCentralText(out, settings);
    writeScrollAfter(out, settings);
    writeLinks(out, settings);
    writeEmail(out, settings);
    writeFooter(out);
    return bytes;
}

bool SavePageFile(const QString &path, const QByteArray &bytes)
{
    // Moving the new file over a read-only page would succeed where the user
    // asked the system to protect it; treat it as the write failure it is.
    const QFileInfo target(path);
    if (target.exists() && target.isFile() && !target.isWritable())
        return false;

    return AtomicFile::write(path, bytes);
}

bool WritePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
               const PageClock &clock, const QLocale &locale)
{
    return SavePageFile(path, RenderPage(settings, scheme, creationStamp(clock(), locale)));
}
