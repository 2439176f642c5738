// SPDX-License-Identifier: GPL-3.0-or-later
// The last data page's checks, the list of files to publish and the run.

#include "page/ColourScheme.h"
#include "page/GenerationRun.h"
#include "page/PageChecks.h"
#include "page/PageMessages.h"
#include "page/PageWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PageSettings)

class TestPageChecks : public QObject {
    Q_OBJECT

private slots:
    void email_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("default @") << "@" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("a@b.c") << "a@b.c" << true;
        QTest::newRow("blanks around") << "  a@b.c  " << true;
        QTest::newRow("dot before at, any order") << ".@..." << true;
        QTest::newRow("four after trimming") << "  a@.b  " << false;
        QTest::newRow("no dot") << "ana@correo" << false;
        QTest::newRow("no at") << "ana.correo.es" << false;
        QTest::newRow("tabs count as blanks") << "\ta@b.\t" << false;
        QTest::newRow("accents are characters") << u"ñ@é.ü"_s.append(u'ú') << true;
    }

    void email()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QCOMPARE(isValidEmail(typed), valid);
    }

    void pageFileName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normalized");
        QTest::addColumn<bool>("valid");
        QTest::newRow("default") << "index.htm"
                                 << "index.htm" << true;
        QTest::newRow("blanks around") << "  index.htm \t"
                                       << "index.htm" << true;
        QTest::newRow("html") << "Index.HTML"
                              << "index.html" << true;
        QTest::newRow("only A-Z lowered") << u"ÑANDÚ.htm"_s << u"ÑandÚ.htm"_s << true;
        QTest::newRow("blank inside") << "mi index.htm"
                                      << "mi index.htm" << false;
        QTest::newRow("no extension") << "index"
                                      << "index" << false;
        QTest::newRow("other extension") << "index.php"
                                         << "index.php" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("only blanks") << "   "
                                     << "" << false;
        for (const char *bad : {"/", "\\", ":", "*", "?", ";", "<", ">", "\""}) {
            const QString name = QStringLiteral("a%1b.htm").arg(QLatin1StringView(bad));
            QTest::addRow("forbidden %s", bad) << name << name << false;
        }
        for (const char16_t control : {0x00, 0x01, 0x09, 0x0A, 0x0D, 0x1F, 0x7F}) {
            const QString name = u"a"_s + QChar(control) + u"b.htm"_s;
            QTest::addRow("control 0x%02X", unsigned(control)) << name << name << false;
        }
    }

    void pageFileName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, normalized);
        QFETCH(bool, valid);
        QCOMPARE(normalizedPageFileName(typed), normalized);
        QCOMPARE(isValidPageFileName(normalized), valid);
    }

    // The order of the checks, and what each leaves in the settings.
    void page8Order()
    {
        QTemporaryDir dir;
        PageSettings s;
        s.txtHTML = QStringLiteral("  MI PAGINA.HTM ");
        QCOMPARE(checkPage8(s, dir.path()), Page8Verdict::BadEmail);
        QCOMPARE(s.txtHTML, QStringLiteral("  MI PAGINA.HTM ")); // untouched

        s.txtEmail = QStringLiteral("ana@correo.example");
        QCOMPARE(checkPage8(s, dir.path()), Page8Verdict::BadPageFileName);
        QCOMPARE(s.txtHTML, QStringLiteral("mi pagina.htm")); // normalised all the same

        s.txtHTML = QStringLiteral(" Casa.HTM");
        QCOMPARE(checkPage8(s, dir.path()), Page8Verdict::Ready);
        QCOMPARE(s.txtHTML, QStringLiteral("casa.htm"));

        QFile existing(dir.filePath(QStringLiteral("casa.htm")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QCOMPARE(checkPage8(s, dir.path()), Page8Verdict::AskReplace);

        // A folder of that name is no page file: no question, the write fails later.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("carpeta.htm")));
        s.txtHTML = QStringLiteral("carpeta.htm");
        QCOMPARE(checkPage8(s, dir.path()), Page8Verdict::Ready);
    }

    void messages()
    {
        QCOMPARE(PageMessages::replaceQuestion(QStringLiteral("index.htm")),
                 u"El archivo index.htm ya existe  ¿ Desea reemplazarlo ?"_s);
        QCOMPARE(PageMessages::missingTitle(), u"Debe Especificar Título Principal"_s);
        QCOMPARE(PageMessages::badEmail(), u"La dirección E-Mail especificada no es correcta"_s);
        QCOMPARE(PageMessages::badPageFileName(),
                 u"El nombre de archivo página WEB es incorrecto"_s);
        QCOMPARE(PageMessages::pageNotWritten(), u"Error: No puede crearse página WEB"_s);
    }

    void publishList_data()
    {
        QTest::addColumn<PageSettings>("settings");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows");

        PageSettings plain;
        QTest::newRow("nothing chosen")
            << plain << QStringList{"index.htm", "fondo_blanco.jpg", "boton_brenzo.gif"}
            << QStringList{u"index.htm (Página WEB)"_s, "fondo_blanco.jpg (Imagen de Fondo)",
                           "boton_brenzo.gif (Enlace Brenzo)"};

        PageSettings soundAndPicture1;
        soundAndPicture1.stSonido = QStringLiteral("tema.mid");
        soundAndPicture1.lblNombreImagen1 = QStringLiteral("foto.jpg");
        QTest::newRow("sound and picture 1")
            << soundAndPicture1
            << QStringList{"index.htm", "fondo_blanco.jpg", "tema.mid", "foto.jpg",
                           "boton_brenzo.gif"}
            << QStringList{u"index.htm (Página WEB)"_s, "fondo_blanco.jpg (Imagen de Fondo)",
                           "tema.mid (Sonido Fondo)", "foto.jpg (Imagen 1)",
                           "boton_brenzo.gif (Enlace Brenzo)"};

        // Follows the choices, not the page: no wallpaper, picture 2 without
        // text, the same picture twice.
        PageSettings all;
        all.optCombinacion = Combinacion::optNoche;
        all.chkFondo = true;
        all.stSonido = QStringLiteral(" a b.wav");
        all.lblNombreImagen1 = QStringLiteral("x.gif");
        all.lblNombreImagen2 = QStringLiteral("y.jpg");
        all.lblNombreImagen3 = QStringLiteral("x.gif");
        QTest::newRow("everything")
            << all << QStringList{"index.htm", "fondo_noche.jpg", " a b.wav",        "x.gif",
                                  "y.jpg",     "x.gif",           "boton_brenzo.gif"}
            << QStringList{u"index.htm (Página WEB)"_s,
                           "fondo_noche.jpg (Imagen de Fondo)",
                           "a b.wav (Sonido Fondo)",
                           "x.gif (Imagen 1)",
                           "y.jpg (Imagen 2)",
                           "x.gif (Imagen 3)",
                           "boton_brenzo.gif (Enlace Brenzo)"};
    }

    void publishList()
    {
        QFETCH(PageSettings, settings);
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        const QList<PublishEntry> entries = ::publishList(settings, QStringLiteral("index.htm"));
        QCOMPARE(publishFileNames(entries), files);
        QCOMPARE(finishRows(entries), rows);
    }

    void generationRun()
    {
        QTemporaryDir dir;
        PageSettings s;
        s.txtTitol = QStringLiteral("Hola");
        s.txtEmail = QStringLiteral("ana@correo.example");
        s.txtHTML = QStringLiteral("casa.html");
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
        const GenerationResult ok = runGeneration(
            s, dir.path(), [&] { return when; }, QLocale(QStringLiteral("es_ES")));
        QVERIFY(ok.written);
        QCOMPARE(ok.entries.size(), 3);
        QCOMPARE(ok.entries.first().fileName, QStringLiteral("casa.html"));
        QFile page(dir.filePath(QStringLiteral("casa.html")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QCOMPARE(page.readAll(), RenderPage(s, schemeFor(s), QStringLiteral("2/1/26 3:04:05")));

        // A failed write still rebuilds the list.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("carpeta.htm")));
        s.txtHTML = QStringLiteral("carpeta.htm");
        const GenerationResult failed = runGeneration(s, dir.path());
        QVERIFY(!failed.written);
        QCOMPARE(failed.entries.size(), 3);
        QCOMPARE(failed.entries.first().finishRow, u"carpeta.htm (Página WEB)"_s);
    }
};

QTEST_GUILESS_MAIN(TestPageChecks)
#include "tst_pagechecks.moc"
