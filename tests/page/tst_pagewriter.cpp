// SPDX-License-Identifier: GPL-3.0-or-later
// The written document, byte for byte.

#include "page/ColourScheme.h"
#include "page/PageEncoding.h"
#include "page/PageWriter.h"
#include "tests/page/PageText.h"

#include <QFile>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using Mutation = std::function<void(PageSettings &)>;
Q_DECLARE_METATYPE(Mutation)

namespace {

const QString kStamp = QStringLiteral("8/12/26 17:23:07");

// A golden file holds the expected page as readable UTF-8 with LF line ends;
// the page itself is ISO-8859-1 with CR LF.
QByteArray golden(const QString &name)
{
    QFile file(QStringLiteral(GOLDEN_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    const QString text = QString::fromUtf8(file.readAll());
    QByteArray page;
    for (const QString &line : text.split(u'\n', Qt::KeepEmptyParts)) {
        page += line.toLatin1();
        page += "\r\n";
    }
    page.chop(2); // the text file's own last line break
    return page;
}

QByteArray render(const PageSettings &s)
{
    return RenderPage(s, schemeFor(s), kStamp);
}

QList<QByteArray> renderLines(const PageSettings &s)
{
    return PageText::lines(render(s));
}

PageSettings withTitle()
{
    PageSettings s;
    s.txtTitol = QStringLiteral(u"Mi página");
    s.txtEmail = QStringLiteral("ana@correo.example");
    return s;
}

PageSettings everything()
{
    PageSettings s;
    s.txtTitol = QStringLiteral("  Casa de Ana & <B>amigos</B>\t");
    s.chkMarco = true;
    s.txtSubTitol1 = QStringLiteral(u" Fotos, música y más ");
    s.txtSubTitol2 = QStringLiteral(u"Desde Cádiz");
    s.optCombinacion = Combinacion::optNoche;
    s.chkFondo = true;
    s.chkFondoFijo = false;
    s.stSonido = QStringLiteral("campanas.wav");
    s.txtLibre = QStringLiteral(u"  Hola, bienvenidos  \n\nAdiós\n");
    s.optTamano = Tamano::optGrande;
    s.chkNegrita = true;
    s.chkCursiva = true;
    s.lblNombreImagen1 = QStringLiteral("foto_playa.jpg");
    s.txtImagen1 = QStringLiteral(" http://fotos.example/ana ");
    s.lblNombreImagen2 = QStringLiteral("retrato.jpg");
    s.txtImagen2 = QStringLiteral("http://retratos.example/");
    s.lblNombreImagen3 = QStringLiteral("Logo.Gif");
    s.TextoScroll = QStringLiteral(u"  ¡Gracias por venir!  ");
    s.optPosicion = Posicion::optDespuesTexto;
    s.txtTitolEnlaces = QStringLiteral("Mis sitios favoritos");
    s.GridEnlaces[0] = {QStringLiteral("http://uno.example/"), QStringLiteral("Sitio uno")};
    s.GridEnlaces[1] = {QString(), QStringLiteral(u"solo descripción")};
    s.GridEnlaces[2] = {QStringLiteral(" http://tres.example/ "), QStringLiteral("  ")};
    s.GridEnlaces[4] = {QStringLiteral(" \t\r\n"), QStringLiteral("sin dirección")};
    s.GridEnlaces[19] = {QStringLiteral("http://veinte.example/"), QStringLiteral(u"Último")};
    s.txtTitolEmail = QStringLiteral(u"Escríbeme:");
    s.txtEmail = QStringLiteral(" ana@correo.example ");
    return s;
}

QString soundLine1(const QString &name, bool loop)
{
    return QStringLiteral("\tdocument.writeln('<BGSOUND SRC=\"") + name +
           (loop ? QStringLiteral("\" LOOP=INFINITE>') }") : QStringLiteral("\">') }"));
}

QString soundLine2(const QString &name, bool loop)
{
    return QStringLiteral("\tdocument.writeln('<EMBED SRC=\"") + name +
           (loop ? QStringLiteral("\" WIDTH=0 HEIGHT=2 LOOP=TRUE AUTOSTART=TRUE>")
                 : QStringLiteral("\" WIDTH=0 HEIGHT=2 AUTOSTART=TRUE>")) +
           QStringLiteral("</EMBED>') }");
}

} // namespace

class TestPageWriter : public QObject {
    Q_OBJECT

private slots:
    void wholeDocument_data()
    {
        QTest::addColumn<QString>("goldenFile");
        QTest::addColumn<Mutation>("mutation");
        QTest::newRow("defaults") << "defaults.txt"
                                  << Mutation([](PageSettings &s) { s = withTitle(); });
        QTest::newRow("every section")
            << "everything.txt" << Mutation([](PageSettings &s) { s = everything(); });
    }

    void wholeDocument()
    {
        QFETCH(QString, goldenFile);
        QFETCH(Mutation, mutation);
        PageSettings s;
        mutation(s);
        const QString difference = PageText::firstDifference(golden(goldenFile), render(s));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Every line ends in CR LF, the last one included, and no line is empty
    // unless the user's text makes it so.
    void lineEndsAndSeparators()
    {
        for (const PageSettings &s : {withTitle(), everything()}) {
            const QByteArray page = render(s);
            QVERIFY(page.endsWith("</HTML>\r\n"));
            QCOMPARE(page.count("\n"), page.count("\r\n"));
            QCOMPARE(page.count("\r"), page.count("\r\n"));
        }
        // Defaults hold no empty line at all: separators are one blank.
        for (const QByteArray &line : renderLines(withTitle()))
            QVERIFY(!line.isEmpty());
    }

    // Lines that must appear together (or be absent) for a single choice.
    void conditionalLines_data()
    {
        QTest::addColumn<Mutation>("mutation");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");

        QTest::newRow("sound once")
            << Mutation([](PageSettings &s) {
                   s.stSonido = QStringLiteral("tema.mid");
                   s.chkLoop = false;
               })
            << QStringList{u"if (navigator.appName == \"Microsoft Internet Explorer\") { "_s,
                           soundLine1("tema.mid", false),
                           u"if (navigator.appName == \"Netscape\") { "_s,
                           soundLine2("tema.mid", false)}
            << QStringList{soundLine1("tema.mid", true)};
        QTest::newRow("sound name with apostrophe and backslash")
            << Mutation([](PageSettings &s) { s.stSonido = QStringLiteral("Don't\\stop.mid"); })
            << QStringList{soundLine1("Don\\'t\\\\stop.mid", true),
                           u"if (navigator.appName == \"Netscape\") { "_s,
                           soundLine2("Don\\'t\\\\stop.mid", true)}
            << QStringList{};
        QTest::newRow("sound name untrimmed")
            << Mutation([](PageSettings &s) { s.stSonido = QStringLiteral(" a.wav"); })
            << QStringList{soundLine1(" a.wav", true)} << QStringList{};
        QTest::newRow("blank sound name")
            << Mutation([](PageSettings &s) { s.stSonido = QStringLiteral(" \t"); })
            << QStringList{} << QStringList{u"<!-- Sonido Musical de Fondo -->"_s};
        QTest::newRow("no wallpaper, fixed")
            << Mutation([](PageSettings &s) { s.chkFondo = true; })
            << QStringList{u"<BODY BGCOLOR=#FFFFFF TEXT=#000000 LINK=#0000FF VLINK=#800080 "
                           u"ALINK=#FF0000 BGPROPERTIES=FIXED>"_s}
            << QStringList{};
        QTest::newRow("wallpaper, scrolling")
            << Mutation([](PageSettings &s) { s.chkFondoFijo = false; })
            << QStringList{u"<BODY BACKGROUND = \"fondo_blanco.jpg\" BGCOLOR=#FFFFFF "
                           u"TEXT=#000000 LINK=#0000FF VLINK=#800080 ALINK=#FF0000>"_s}
            << QStringList{};
        QTest::newRow("second subtitle alone") << Mutation([](PageSettings &s) {
            s.txtSubTitol1 = QStringLiteral(" \r\n ");
            s.txtSubTitol2 = QStringLiteral(" dos ");
        }) << QStringList{u"</CENTER>"_s,    u" "_s,         u"<CENTER>"_s,
                          u"<H3>dos</H3>"_s, u"</CENTER>"_s, u"</FONT> "_s}
                                               << QStringList{u"<H2></H2>"_s};
        QTest::newRow("picture 1 without link")
            << Mutation([](PageSettings &s) {
                   s.lblNombreImagen1 = QStringLiteral("a.jpg");
                   s.txtImagen1 = QStringLiteral("  ");
               })
            << QStringList{u"<CENTER>"_s, u"<IMG SRC=\"a.jpg\" BORDER=0>"_s, u"</CENTER>"_s,
                           u"<P>"_s}
            << QStringList{u"</A>"_s};
        QTest::newRow("link without picture 1")
            << Mutation([](PageSettings &s) { s.txtImagen1 = QStringLiteral("http://x.example"); })
            << QStringList{} << QStringList{u"<!-- Imagen/foto 1 -->"_s};
        QTest::newRow("picture 2 without central text")
            << Mutation([](PageSettings &s) {
                   s.lblNombreImagen2 = QStringLiteral("b.jpg");
                   s.txtLibre = QStringLiteral(" \n\t\n  \n");
               })
            << QStringList{u"<HR>"_s, u" "_s, u" "_s, u"<!-- Enlaces con otras direcciones -->"_s}
            << QStringList{u"<!-- Imagen alineada junto al texto -->"_s, u"<!-- Texto Libre -->"_s};
        QTest::newRow("picture 2 without link")
            << Mutation([](PageSettings &s) {
                   s.lblNombreImagen2 = QStringLiteral("b.jpg");
                   s.txtLibre = QStringLiteral("uno");
               })
            << QStringList{u"<!-- Imagen alineada junto al texto -->"_s, u" "_s,
                           u"<IMG SRC=\"b.jpg\" BORDER=0 ALIGN=LEFT HSPACE=4>"_s, u" "_s,
                           u"<!-- Texto Libre -->"_s}
            << QStringList{};
        QTest::newRow("mini, bold only") << Mutation([](PageSettings &s) {
            s.txtLibre = QStringLiteral("uno");
            s.optTamano = Tamano::optMini;
            s.chkNegrita = true;
        })
                                         << QStringList{u"<FONT SIZE=-1 FACE=\"VERDANA,ARIAL\">"_s,
                                                        u"<B>"_s,
                                                        u"uno"_s,
                                                        u"<BR>"_s,
                                                        u"<BR CLEAR=ALL>"_s,
                                                        u"</FONT>"_s,
                                                        u"</B>"_s,
                                                        u"<HR>"_s}
                                         << QStringList{u"<I>"_s, u"</I>"_s};
        QTest::newRow("normal, italic only") << Mutation([](PageSettings &s) {
            s.txtLibre = QStringLiteral("uno");
            s.chkCursiva = true;
        })
                                             << QStringList{u"<FONT FACE=\"VERDANA,ARIAL\">"_s,
                                                            u"<I>"_s,
                                                            u"uno"_s,
                                                            u"<BR>"_s,
                                                            u"<BR CLEAR=ALL>"_s,
                                                            u"</FONT>"_s,
                                                            u"</I>"_s,
                                                            u"<HR>"_s}
                                             << QStringList{u"<B>"_s};
        QTest::newRow("super") << Mutation([](PageSettings &s) {
            s.txtLibre = QStringLiteral("uno");
            s.optTamano = Tamano::optSuper;
        })
                               << QStringList{u" "_s, u"<!-- Texto Libre -->"_s, u" "_s,
                                              u"<FONT SIZE=+4 FACE=\"VERDANA,ARIAL\">"_s, u"uno"_s}
                               << QStringList{};
        QTest::newRow("scroll text emptied, before")
            << Mutation([](PageSettings &s) { s.TextoScroll.clear(); })
            << QStringList{u"<CENTER><BLINK><FONT SIZE=+1 FACE=\"VERDANA,ARIAL\"><MARQUEE>"_s,
                           QString(),
                           u"</MARQUEE></FONT></BLINK></CENTER>"_s,
                           u" "_s,
                           u"<P>"_s,
                           u"<HR>"_s}
            << QStringList{};
        QTest::newRow("scroll text after, no central text")
            << Mutation([](PageSettings &s) { s.optPosicion = Posicion::optDespuesTexto; })
            << QStringList{u"<P>"_s,
                           u"<HR>"_s,
                           u" "_s,
                           u"<!-- Texto desplazandose por la pantalla -->"_s,
                           u" "_s,
                           u"<CENTER><BLINK><FONT SIZE=+1 FACE=\"VERDANA,ARIAL\"><MARQUEE>"_s,
                           u"Página WEB"_s,
                           u"</MARQUEE></FONT></BLINK></CENTER>"_s,
                           u"<P>"_s,
                           u" "_s,
                           u" "_s,
                           u"<!-- Enlaces con otras direcciones -->"_s}
            << QStringList{};
        QTest::newRow("blank links heading")
            << Mutation([](PageSettings &s) { s.txtTitolEnlaces = QStringLiteral("  "); })
            << QStringList{u"<UL>"_s, u"<LH><B></B></LH><P>"_s, u"</UL>"_s} << QStringList{};
        QTest::newRow("link in the last row only") << Mutation([](PageSettings &s) {
            s.GridEnlaces[19] = {QStringLiteral("http://z.example"), QString()};
        }) << QStringList{u"<LI><A HREF=\"http://z.example\"></A></LI><P>"_s, u"</UL>"_s}
                                                   << QStringList{};
        QTest::newRow("user markup unescaped") << Mutation([](PageSettings &s) {
            s.txtLibre = QStringLiteral("<B>\"a\" & b</B>");
            s.txtTitolEmail = QStringLiteral("<I>hola</I>");
        }) << QStringList{u"<B>\"a\" & b</B>"_s}
                                               << QStringList{};
    }

    void conditionalLines()
    {
        QFETCH(Mutation, mutation);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        PageSettings s = withTitle();
        mutation(s);
        const QList<QByteArray> page = renderLines(s);
        QVERIFY2(PageText::containsRun(page, present), qPrintable(present.join(u'|')));
        for (const QString &line : absent)
            QVERIFY2(!page.contains(PageText::bytes(line)), qPrintable(line));
    }

    // All five values of the BODY line come from the one row picked.
    void bodyLinePerScheme_data()
    {
        QTest::addColumn<Combinacion>("option");
        QTest::addColumn<QString>("body");
        const auto row = [](Combinacion option, const char *file, const char *colours) {
            QTest::addRow("%s", file)
                << option
                << QStringLiteral("<BODY BACKGROUND = \"%1\" %2 ALINK=#FF0000 BGPROPERTIES=FIXED>")
                       .arg(QLatin1StringView(file), QLatin1StringView(colours));
        };
        row(Combinacion::optBlanco, "fondo_blanco.jpg",
            "BGCOLOR=#FFFFFF TEXT=#000000 LINK=#0000FF VLINK=#800080");
        row(Combinacion::optNoche, "fondo_noche.jpg",
            "BGCOLOR=#000000 TEXT=#FFFFFF LINK=#FFFF00 VLINK=#00FF00");
        row(Combinacion::optCielo, "fondo_cielo.jpg",
            "BGCOLOR=#00FFFF TEXT=#000000 LINK=#0000FF VLINK=#800080");
        row(Combinacion::optRojo, "fondo_rojo.jpg",
            "BGCOLOR=#800000 TEXT=#FFFFFF LINK=#FFFF00 VLINK=#00FF00");
        row(Combinacion::optVerde, "fondo_verde.jpg",
            "BGCOLOR=#008000 TEXT=#FFFFFF LINK=#FFFF00 VLINK=#00FF00");
        row(Combinacion::optAmarillo, "fondo_amarillo.jpg",
            "BGCOLOR=#FFFF00 TEXT=#000000 LINK=#0000FF VLINK=#800080");
    }

    void bodyLinePerScheme()
    {
        QFETCH(Combinacion, option);
        QFETCH(QString, body);
        PageSettings s = withTitle();
        s.optCombinacion = Combinacion::optVerde; // switch away first: nothing carries over
        s.optCombinacion = option;
        QVERIFY(renderLines(s).contains(PageText::bytes(body)));
    }

    // Trimming removes codes 0 to 32 only; everything above 127 stays.
    void trimmingRule()
    {
        PageSettings s = withTitle();
        s.txtTitol = QStringLiteral(u"\u0001\u001F \u00A0Título\u00A0 \t");
        const QList<QByteArray> page = renderLines(s);
        QVERIFY(page.contains(QByteArray("<TITLE>\xA0T\xEDtulo\xA0</TITLE>")));
    }

    // A character with no ISO-8859-1 form becomes a decimal reference.
    void charactersOutsideLatin1()
    {
        PageSettings s = withTitle();
        s.txtTitol = QStringLiteral(u"Precio 5 € ✓ 😀");
        s.txtLibre = QStringLiteral(u"Ελλάδα");
        const QList<QByteArray> page = renderLines(s);
        QVERIFY(page.contains("<TITLE>Precio 5 &#8364; &#10003; &#128512;</TITLE>"));
        QVERIFY(page.contains("&#917;&#955;&#955;&#940;&#948;&#945;"));
        // A lone surrogate half cannot be shown: the replacement character.
        s.txtTitol = QString(QChar(0xD800));
        QVERIFY(renderLines(s).contains("<TITLE>&#65533;</TITLE>"));
    }

    // Central text lines longer than 4096 characters are cut when read.
    void longCentralLine()
    {
        PageSettings s = withTitle();
        s.txtLibre = QString(5000, u'x') + u"\r\n"_s + QString(4096, u'y') + u"\rz"_s;
        const QList<QByteArray> page = renderLines(s);
        const qsizetype at = page.indexOf(QByteArray(4096, 'x'));
        QVERIFY(at > 0);
        QCOMPARE(page[at + 1], QByteArray("<BR>"));
        QCOMPARE(page[at + 2], QByteArray(4096, 'y'));
        QCOMPARE(page[at + 4], QByteArray("z"));
    }

    // The central text goes out as exactly its lines (PageSettings), each
    // followed by "<BR>", whatever mix of breaks, lengths and characters.
    void centralTextAsItsLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("every kind of break")
            << u"uno\r\ndos\ntres\rcuatro\r\r\ncinco\n\nseis\r\n"_s;
        QTest::newRow("lengths around eight") << u"1234567\n12345678\n123456789\n"
                                                 u"123456789012345\n1234567890123456\n"
                                                 u"12345678901234567"_s;
        QTest::newRow("control characters and the ends of Latin-1")
            << QStringLiteral(u"a\u0000b\tc\u0001\u00FF\u00A0\n\u0100x\u00FFy");
        QTest::newRow("reference early in a long line")
            << QString(10, u'a') + u"€"_s + QString(5000, u'b') + u"\nfin"_s;
        QTest::newRow("reference beyond the cut") << QString(4100, u'c') + u"€\nfin"_s;
        QTest::newRow("pair cut at the limit")
            << QString(4095, u'd') + u"😀tail\n"_s + QString(4096, u'e') + u"\r"_s;
        QTest::newRow("break right after the limit") << QString(4096, u'f') + u"\n\ng"_s;
        // A character beyond ISO-8859-1 and a question mark look alike once
        // converted; only the first takes a reference.
        QTest::newRow("question marks beside references") << u"¿Qué? ¿€?\n??\n?😀?\n?"_s;
    }

    void centralTextAsItsLines()
    {
        QFETCH(QString, text);
        PageSettings s = withTitle();
        s.txtLibre = text;
        QByteArray expected = "<!-- Texto Libre -->\r\n \r\n<FONT FACE=\"VERDANA,ARIAL\">\r\n";
        for (const QString &line : s.centralTextLines()) {
            appendPageText(expected, line);
            expected += "\r\n<BR>\r\n";
        }
        expected += "<BR CLEAR=ALL>\r\n";
        QVERIFY(render(s).contains(expected));
    }

    // A line break inside a one-line text (a file name may hold one) would
    // leave a bare CR or LF in the page; it goes out as a blank, and every
    // line still ends in CR LF.
    void lineBreaksInOneLineTexts()
    {
        PageSettings s = withTitle();
        s.txtTitol = QStringLiteral("Mi\r\nsitio");
        s.stSonido = QStringLiteral("son\nido.wav");
        s.lblNombreImagen1 = QStringLiteral("fo\rto.jpg");
        s.GridEnlaces[0] = {QStringLiteral("http://a.example/\nx"), QStringLiteral("un\rsitio")};
        s.TextoScroll = QStringLiteral("hola\n\radi\u00F3s");
        const QByteArray page = render(s);
        for (qsizetype i = 0; i < page.size(); ++i) {
            if (page[i] == '\r')
                QVERIFY2(page.mid(i + 1, 1) == "\n", qPrintable(QString::number(i)));
            if (page[i] == '\n')
                QVERIFY2(i > 0 && page[i - 1] == '\r', qPrintable(QString::number(i)));
        }
        const QList<QByteArray> lines = PageText::lines(page);
        QVERIFY(lines.contains("<TITLE>Mi  sitio</TITLE>"));
        QVERIFY(lines.contains("<IMG SRC=\"fo to.jpg\" BORDER=0>"));
        QVERIFY(
            lines.contains("\tdocument.writeln('<BGSOUND SRC=\"son ido.wav\" LOOP=INFINITE>') }"));
        QVERIFY(lines.contains("<LI><A HREF=\"http://a.example/ x\">un sitio</A></LI><P>"));
        QVERIFY(lines.contains("hola  adi\xF3s"));
    }

    // A '"' in an address or a file name stays inside its attribute value.
    void quotesInAttributeValues()
    {
        PageSettings s = withTitle();
        s.stSonido = u"a\"b.wav"_s;
        s.lblNombreImagen1 = u"img\"><b onmouseover=alert(1)>.gif"_s;
        s.txtImagen1 = u"http://x.example/\"a"_s;
        s.lblNombreImagen2 = u"d\"os.jpg"_s;
        s.txtLibre = u"uno"_s;
        s.lblNombreImagen3 = u"t\"res.gif"_s;
        s.txtEmail = u"ana\"@correo.example"_s;
        s.GridEnlaces[0] = {u"http://\"y.example"_s, u"\"Y\""_s};
        const QList<QByteArray> lines = renderLines(s);
        for (const QString &line :
             {soundLine1(u"a%22b.wav"_s, true), soundLine2(u"a%22b.wav"_s, true),
              u"<A HREF=\"http://x.example/%22a\">"_s,
              u"<IMG SRC=\"img%22><b onmouseover=alert(1)>.gif\" BORDER=0>"_s,
              u"<IMG SRC=\"d%22os.jpg\" BORDER=0 ALIGN=LEFT HSPACE=4>"_s,
              u"<LI><A HREF=\"http://%22y.example\">\"Y\"</A></LI><P>"_s,
              u"<A HREF=\"mailto:ana%22@correo.example\">"_s,
              u"<IMG SRC=\"t%22res.gif\" BORDER=0 HSPACE=4 ALIGN=ABSMIDDLE></A>"_s,
              s.txtTitolEmail +
                  u" <A HREF=\"mailto:ana%22@correo.example\">ana\"@correo.example</A>"_s})
            QVERIFY2(lines.contains(PageText::bytes(line)), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestPageWriter)
#include "tst_pagewriter.moc"
