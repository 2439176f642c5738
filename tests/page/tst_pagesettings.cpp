// SPDX-License-Identifier: GPL-3.0-or-later
// The settings' defaults, the trimming rule and the central text's lines.

#include "page/ColourScheme.h"
#include "page/PageSettings.h"
#include "page/TextRules.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPageSettings : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        const PageSettings s;
        QVERIFY(s.txtTitol.isEmpty());
        QCOMPARE(s.optCombinacion, Combinacion::optBlanco);
        QVERIFY(!s.chkFondo);
        QVERIFY(s.chkFondoFijo);
        QVERIFY(s.chkLoop);
        QCOMPARE(s.optTamano, Tamano::optNormal);
        QCOMPARE(s.optPosicion, Posicion::optAntesTexto);
        QCOMPARE(s.TextoScroll, u"Página WEB"_s);
        QCOMPARE(s.txtTitolEnlaces,
                 u"Te recomiendo que visites las siguientes direcciones de Internet:"_s);
        QCOMPARE(s.txtTitolEnlaces.size(), 65);
        QCOMPARE(s.txtTitolEmail, u"Puedes escribirme a mi dirección de E-MAIL:"_s);
        QCOMPARE(s.txtEmail, u"@"_s);
        QCOMPARE(s.txtHTML, u"index.htm"_s);
        QCOMPARE(int(s.GridEnlaces.size()), 20);
        for (const LinkRow &row : s.GridEnlaces)
            QVERIFY(!row.isLink());
        QVERIFY(!s.hasCentralText());
        QVERIFY(s.centralTextLines().isEmpty());
    }

    void trimming_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("blanks and tabs") << " \t a b \t"
                                         << "a b";
        QTest::newRow("line breaks") << "\r\n a \r\n"
                                     << "a";
        QTest::newRow("control characters") << "\x01\x1F"
                                               "a"
                                               "\x7F"
                                            << "a\x7F";
        QTest::newRow("no-break space kept") << u"\u00A0a\u00A0"_s << u"\u00A0a\u00A0"_s;
        QTest::newRow("accents kept") << u" á é "_s << u"á é"_s;
        QTest::newRow("ideographic space kept") << u"\u3000a"_s << u"\u3000a"_s;
        QTest::newRow("only blanks") << " \t\r\n "
                                     << "";
    }

    void trimming()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(trimmedText(text), trimmed);
        QCOMPARE(isBlank(text), trimmed.isEmpty());
    }

    void centralTextLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one line") << "uno" << QStringList{"uno"};
        QTest::newRow("final break is no line") << "uno\n" << QStringList{"uno"};
        QTest::newRow("one empty line") << "\n" << QStringList{""};
        QTest::newRow("empty middle line") << "a\n\nc" << QStringList{"a", "", "c"};
        QTest::newRow("CR LF, LF and CR") << "a\r\nb\nc\rd\r\n" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("blanks kept") << "  a  \n\t" << QStringList{"  a  ", "\t"};
    }

    void centralTextLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        PageSettings s;
        s.txtLibre = text;
        QCOMPARE(s.centralTextLines(), lines);
    }

    void blankCentralText()
    {
        PageSettings s;
        s.txtLibre = QStringLiteral(" \n\t\r\n   \n");
        QVERIFY(!s.hasCentralText());
        s.txtLibre = QStringLiteral("\n.\n");
        QVERIFY(s.hasCentralText());
    }

    // The colour families: light backgrounds carry black text, dark ones white.
    void schemeFamilies()
    {
        for (const ColourScheme &row : colourSchemes()) {
            const bool light = QLatin1StringView(row.bgColor) == "#FFFFFF" ||
                               QLatin1StringView(row.bgColor) == "#00FFFF" ||
                               QLatin1StringView(row.bgColor) == "#FFFF00";
            QCOMPARE(QLatin1StringView(row.text), light ? "#000000" : "#FFFFFF");
            QCOMPARE(&schemeFor(row.option), &row);
        }
        QCOMPARE(int(colourSchemes().size()), 6);
    }
};

QTEST_GUILESS_MAIN(TestPageSettings)
#include "tst_pagesettings.moc"
