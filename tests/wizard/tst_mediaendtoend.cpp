// SPDX-License-Identifier: GPL-3.0-or-later
// One run through all ten pages with every choice of pages 3 to 6 used: the
// page written is the writer's page for the same choices.

#include "page/ColourScheme.h"
#include "page/GenerationRun.h"
#include "page/PageWriter.h"
#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/CentralTextPage.h"
#include "wizard/FileList.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestMediaEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"es_ES"_s)); }

    void everyChoice()
    {
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        copySamples(f);
        writeFile(f.path(u"nota.TXT"_s), "Hola, \xE9sta es mi p\xE1gina\r\n\r\n  Adi\xF3s  \r\n");

        f.next();
        QTest::keyClicks(f.edit(u"txtTitol"_s), u"La casa de Ana"_s);
        QTest::keyClicks(f.edit(u"txtSubTitol1"_s), u"Fotos"_s);
        f.edit(u"txtSubTitol2"_s)->setText(u"y música"_s);
        f.tick(u"chkMarco"_s);
        f.next();
        f.tick(u"optVerde"_s);
        f.tick(u"chkFondo"_s);
        f.tick(u"chkFondoFijo"_s);
        f.next();

        // Page 3: a sound that does not repeat.
        clickItem(f.find<FileList>(u"FileListBox1"_s), u"campanas.wav"_s);
        f.tick(u"chkLoop"_s);
        f.next();

        // Page 4: an imported text with a line typed after it, big, bold, italic.
        f.prompts.fileNames.enqueue(f.path(u"nota.TXT"_s));
        f.click(u"btnImporta"_s);
        auto *box = f.find<QPlainTextEdit>(u"txtLibre"_s);
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(u"Última línea"_s);
        f.tick(u"optSuper"_s);
        f.tick(u"chkNegrita"_s);
        f.tick(u"chkCursiva"_s);
        f.next();

        // Page 5: three pictures, two of them links.
        f.click(u"btnImagen1"_s);
        clickItem(f.find<FileList>(u"lstImagen1"_s), u"Logo.Gif"_s);
        QTest::keyClicks(f.edit(u"txtImagen1"_s), u"http://ana.example/"_s);
        f.click(u"btnImagen2"_s);
        clickItem(f.find<FileList>(u"lstImagen2"_s), u"foto_playa.jpg"_s);
        QTest::keyClicks(f.edit(u"txtImagen2"_s), u"http://playa.example/"_s);
        f.click(u"btnImagen3"_s);
        clickItem(f.find<FileList>(u"lstImagen3"_s), u"estrella.gif"_s);
        f.next();

        // Page 6: another scrolling text, after the central text.
        QLineEdit *scroll = f.edit(u"TextoScroll"_s);
        scroll->setText(u"¡Bienvenidos!"_s);
        f.tick(u"optDespuesTexto"_s);
        f.next();

        f.find<QTableWidget>(u"GridEnlaces"_s)->item(1, 0)->setText(u"http://dos.example/"_s);
        f.next();
        QLineEdit *email = f.edit(u"txtEmail"_s);
        email->selectAll();
        QTest::keyClicks(email, u"ana@correo.example"_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);
        QVERIFY(f.prompts.ofKind(RecordingPrompts::Kind::Message).isEmpty());

        PageSettings expected;
        expected.txtTitol = u"La casa de Ana"_s;
        expected.txtSubTitol1 = u"Fotos"_s;
        expected.txtSubTitol2 = u"y música"_s;
        expected.chkMarco = true;
        expected.optCombinacion = Combinacion::optVerde;
        expected.chkFondo = true;
        expected.chkFondoFijo = false;
        expected.stSonido = u"campanas.wav"_s;
        expected.chkLoop = false;
        expected.txtLibre = u"Hola, ésta es mi página\n\n  Adiós  \nÚltima línea"_s;
        expected.optTamano = Tamano::optSuper;
        expected.chkNegrita = true;
        expected.chkCursiva = true;
        expected.lblNombreImagen1 = u"Logo.Gif"_s;
        expected.txtImagen1 = u"http://ana.example/"_s;
        expected.lblNombreImagen2 = u"foto_playa.jpg"_s;
        expected.txtImagen2 = u"http://playa.example/"_s;
        expected.lblNombreImagen3 = u"estrella.gif"_s;
        expected.TextoScroll = u"¡Bienvenidos!"_s;
        expected.optPosicion = Posicion::optDespuesTexto;
        expected.GridEnlaces[0] = {u"https://www.brenzo.example/"_s,
                                   u"Brenzo Software - Programas Shareware y Gratuitos"_s};
        expected.GridEnlaces[1] = {u"http://dos.example/"_s, QString()};
        expected.txtEmail = u"ana@correo.example"_s;

        QFile file(f.path(u"index.htm"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        const QString difference = PageText::firstDifference(
            RenderPage(expected, schemeFor(expected), PageText::stampOf(written)), written);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(f.window->publishFiles(), publishFileNames(publishList(expected, u"index.htm"_s)));
        QVERIFY(f.window->publishFiles().contains(u"campanas.wav"_s));
    }
};

BRENZO_PAGES_TEST_MAIN(TestMediaEndToEnd)
#include "tst_mediaendtoend.moc"
