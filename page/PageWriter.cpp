// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageWriter.h"

#include "MakerInfo.h"
#include "PageEncoding.h"
#include "TextRules.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The central text is nearly the whole page when it is long, so its lines are
// written in one pass over the text, without cutting it into a list of lines
// first and with the bytes stored straight into the page. They are the lines
// of PageSettings::centralTextLineViews(): split at CR LF, LF or CR, no empty
// line after a final break, each cut to its first kCentralLineLimit
// characters.
void PageLines::centralLines(QStringView text)
{
    static constexpr char kAfterLine[] = "\r\n<BR>\r\n";
    constexpr qsizetype kAfterSize = sizeof kAfterLine - 1;
    constexpr qsizetype kLineRoom = kCentralLineLimit + kAfterSize;
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    auto isBreak = [](char16_t unit) { return unit == u'\n' || unit == u'\r'; };

    // The page grows in large steps and is cut to its length at the end;
    // room for one more whole line is always there.
    qsizetype used = m_out.size();
    auto makeRoom = [&] {
        if (m_out.size() - used < kLineRoom)
            m_out.resize(used + std::max(kLineRoom, (size + kLineRoom) / 4));
        return m_out.data() + used;
    };

    qsizetype start = 0;
    while (start < size) {
        const qsizetype limit = std::min(size, start + kCentralLineLimit);
        char *const lineStart = makeRoom();
        char *target = lineStart;
        qsizetype end = start;
#if defined(__SSE2__)
        // Eight characters at a time while none is a line break or beyond
        // ISO-8859-1, which is nearly always.
        const __m128i lf = _mm_set1_epi16('\n');
        const __m128i cr = _mm_set1_epi16('\r');
        const __m128i zero = _mm_setzero_si128();
        while (end + 8 <= limit) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + end));
            const __m128i breaks =
                _mm_or_si128(_mm_cmpeq_epi16(chunk, lf), _mm_cmpeq_epi16(chunk, cr));
            const __m128i latin1 = _mm_cmpeq_epi16(_mm_srli_epi16(chunk, 8), zero);
            if (_mm_movemask_epi8(_mm_andnot_si128(breaks, latin1)) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i *>(target), _mm_packus_epi16(chunk, chunk));
            target += 8;
            end += 8;
        }
#endif
        bool latin1 = true;
        for (; end < limit && !isBreak(units[end]); ++end) {
            if (units[end] >= 256) {
                latin1 = false;
                break;
            }
            *target++ = char(units[end]);
        }
        qsizetype lineEnd = end;
        while (lineEnd < size && !isBreak(units[lineEnd]))
            ++lineEnd;
        if (latin1) {
            std::memcpy(target, kAfterLine, kAfterSize);
            used += target + kAfterSize - lineStart;
        } else {
            // Rare: the line needs character references; write it the long way.
            m_out.resize(used);
            appendPageText(m_out, text.sliced(start, std::min(lineEnd - start, kCentralLineLimit)));
            m_out.append(kAfterLine, kAfterSize);
            used = m_out.size();
        }
        start = lineEnd;
        if (start + 1 < size && units[start] == u'\r' && units[start + 1] == u'\n')
            ++start;
        ++start;
    }
    m_out.resize(used);
}

// The sound name sits in single-quoted JavaScript strings: an apostrophe or a
// backslash in a legal file name would end the string early.
QString jsQuoted(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size());
    for (QChar c : text) {
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
        out.line({u"<A HREF=\"", trimmedText(address), u"\">"});
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
    writeLinkedPicture(out, s.txtImagen1, {u"<IMG SRC=\"", s.lblNombreImagen1, u"\" BORDER=0>"});
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
    writeLinkedPicture(
        out, s.txtImagen2,
        {u"<IMG SRC=\"", s.lblNombreImagen2, u"\" BORDER=0", u" ALIGN=LEFT HSPACE=4>"});
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
        out.line({u"<LI><A HREF=\"", trimmedText(row.address), u"\">", trimmedText(row.description),
                  u"</A></LI><P>"});
    }
    out.line(u"</UL>");
    out.line(u"</FONT></B>");
    out.separator();
}

void writeEmail(PageLines &out, const PageSettings &s)
{
    const QString email = trimmedText(s.txtEmail);
    out.line(u"<!-- Dirección E-MAIL --> ");
    out.separator();
    out.line(u"<P><CENTER><HR><P>");
    out.line(u"<TABLE BORDER=0><TR>");
    if (!s.lblNombreImagen3.isEmpty()) {
        out.line(u"<TD>");
        out.line({u"<A HREF=\"mailto:", email, u"\">"});
        out.line(
            {u"<IMG SRC=\"", s.lblNombreImagen3, u"\" BORDER=0 HSPACE=4 ALIGN=ABSMIDDLE></A>"});
        out.line(u"</TD>");
    }
    out.line(u"<TD>");
    out.line(u"<FONT SIZE=+1 FACE=\"VERDANA,ARIAL\">");
    out.line({trimmedText(s.txtTitolEmail), u" <A HREF=\"mailto:", email, u"\">", email, u"</A>"});
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

bool WritePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
               const PageClock &clock, const QLocale &locale)
{
    // Moving the new file over a read-only page would succeed where the user
    // asked the system to protect it; treat it as the write failure it is.
    const QFileInfo target(path);
    if (target.exists() && target.isFile() && !target.isWritable())
        return false;

    const QByteArray bytes = RenderPage(settings, scheme, creationStamp(clock(), locale));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // On failure the temporary file is dropped and the target left alone.
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
