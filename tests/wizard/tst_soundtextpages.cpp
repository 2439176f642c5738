// SPDX-License-Identifier: GPL-3.0-or-later
// Pages 3 and 4: the background sound, and the central text with its import,
// size and style.

#include "page/TextImport.h"
#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/CentralTextPage.h"
#include "wizard/FileList.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

class TestSoundTextPages : public QObject {
    Q_OBJECT

private slots:
    // ----- page 3 -----

    void soundChoice()
    {
        WizardFixture f;
        copySamples(f);
        writeFile(f.path(u"Aviso.WAV"_s), "RIFF");
        writeFile(f.path(u"nota.txt"_s), "x");
        f.goTo(3);
        auto *list = f.find<FileList>(u"FileListBox1"_s);
        auto *loop = f.find<QCheckBox>(u"chkLoop"_s);
        QLineEdit *chosen = f.edit(u"stSonido"_s);
        const auto controlsEnabled = [&f](bool enabled) {
            for (const char *name : {"btnNinguno", "btnOir", "chkLoop"}) {
                if (f.find(QString::fromLatin1(name))->isEnabled() != enabled)
                    return false;
            }
            return true;
        };

        QCOMPARE(itemNames(list),
                 (QStringList{u"Aviso.WAV"_s, u"campanas.wav"_s, u"melodia.mid"_s}));
        QVERIFY(!list->item(0)->icon().isNull());
        QCOMPARE(list->selectedName(), QString());
        QCOMPARE(chosen->text(), QString());
        QVERIFY(chosen->isReadOnly());
        QVERIFY(controlsEnabled(false));
        QVERIFY(loop->isChecked());

        clickItem(list, u"melodia.mid"_s);
        QCOMPARE(chosen->text(), u"melodia.mid"_s);
        QVERIFY(controlsEnabled(true));

        // Listening hands the file to the system's player.
        f.click(u"btnOir"_s);
        const auto opened = f.prompts.ofKind(Kind::OpenFile);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().text, f.path(u"melodia.mid"_s));
        QVERIFY(f.find(u"btnOir"_s)->isEnabled());

        // The repeat choice survives dropping the sound and choosing again.
        f.tick(u"chkLoop"_s);
        f.click(u"btnNinguno"_s);
        QCOMPARE(chosen->text(), QString());
        QCOMPARE(list->selectedName(), QString());
        QCOMPARE(list->count(), 3);
        QVERIFY(controlsEnabled(false));
        QVERIFY(!loop->isChecked());
        QCOMPARE(f.window->settings().stSonido, QString());

        clickItem(list, u"Aviso.WAV"_s);
        QVERIFY(controlsEnabled(true));
        QVERIFY(!loop->isChecked());

        // Leaving the page and coming back keeps everything, even a file
        // added meanwhile stays out of the list.
        writeFile(f.path(u"nuevo.wav"_s), "RIFF");
        f.back();
        f.click(u"btnReinicia"_s);
        f.goTo(3);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->selectedName(), u"Aviso.WAV"_s);
        const PageSettings settings = f.window->settings();
        QCOMPARE(settings.stSonido, u"Aviso.WAV"_s);
        QCOMPARE(settings.chkLoop, false);
        QVERIFY(f.prompts.ofKind(Kind::Message).isEmpty());
    }

    // ----- page 4 -----

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << QByteArray("A\xC3\xB1o\r\nni\xC3\xB1o\n") << u"Año\nniño\n"_s;
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\xC2\xA1Hola!") << u"¡Hola!"_s;
        QTest::newRow("windows-1252") << QByteArray("A\xF1o\rni\xF1o \x80 \x93si\x94\r\n")
                                      << u"Año\nniño € \u201Csi\u201D\n"_s;
        QTest::newRow("latin-1 mark is no utf-8 mark") << QByteArray("\xEF\xBB") << u"ï»"_s;
        QTest::newRow("cut utf-8 sequence") << QByteArray("fin\xC3") << u"finÃ"_s;
        QTest::newRow("mixed line ends")
            << QByteArray("a\r\rb\n\nc\r\n\r\nd") << u"a\n\nb\n\nc\n\nd"_s;
        QTest::newRow("no-break space kept") << QByteArray("a\xA0"
                                                           "b")
                                             << u"a\u00A0b"_s;
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeImportedText(bytes), text);
    }

    // Importing replaces whatever the box held, in either encoding; the
    // text reaches the settings character for character.
    void import_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows-1252") << QByteArray("\xA1Hola!\r\nMe llamo Luc\xED"
                                                    "a\r\n")
                                      << u"¡Hola!\nMe llamo Lucía\n"_s;
        QTest::newRow("utf-8") << QByteArray("\xC2\xA1Hola!\nMe llamo Luc\xC3\xAD"
                                             "a")
                               << u"¡Hola!\nMe llamo Lucía"_s;
        // The box keeps a no-break space; it is no blank for the page.
        QTest::newRow("no-break space") << QByteArray("uno\xA0"
                                                      "dos")
                                        << u"uno\u00A0dos"_s;
    }

    void import()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        WizardFixture f;
        f.goTo(4);
        auto *box = f.find<QPlainTextEdit>(u"txtLibre"_s);
        QTest::keyClicks(box, u"Texto anterior"_s);
        writeFile(f.path(u"importar.TXT"_s), bytes);
        f.prompts.fileNames.enqueue(f.path(u"importar.TXT"_s));
        f.click(u"btnImporta"_s);

        const auto dialogs = f.prompts.ofKind(Kind::OpenFileName);
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.first().title, u"Seleccionar Archivo a Importar"_s);
        QCOMPARE(dialogs.first().text, u"Archivos de Texto (*.TXT)"_s);
        QCOMPARE(dialogs.first().folder, QString());
        QCOMPARE(f.window->settings().txtLibre, text);
        QVERIFY(f.prompts.ofKind(Kind::Message).isEmpty());
    }

    void importSample()
    {
        WizardFixture f;
        f.goTo(4);
        f.prompts.fileNames.enqueue(QStringLiteral(MEDIA_DIR "/samples/texto_ejemplo.txt"));
        f.click(u"btnImporta"_s);
        const QStringList lines = f.window->settings().centralTextLines();
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.first(), u"¡Bienvenidos a mi página personal!"_s);
        QCOMPARE(lines.at(5),
                 u"¿Te gusta la música? A mí, muchísimo: toco la guitarra desde niña."_s);
        QCOMPARE(lines.at(6), QString());
    }

    // A cancelled dialog changes nothing; a file that cannot be read goes to
    // the general error box and leaves the text as it was; the pointer is
    // back to normal on every path.
    void importFails_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the start-up folder; empty: cancel
        QTest::addColumn<bool>("reported");
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("missing file") << u"no_existe.txt"_s << true;
        QTest::newRow("a folder") << u"carpeta.txt"_s << true;
        QTest::newRow("a link") << u"enlace.txt"_s << true;
    }

    void importFails()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, reported);
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        QVERIFY(QDir(f.folder()).mkdir(u"carpeta.txt"_s));
        writeFile(f.path(u"texto.txt"_s), "Se importa");
        QVERIFY(QFile::link(f.path(u"texto.txt"_s), f.path(u"enlace.txt"_s)));
        f.goTo(4);
        auto *box = f.find<QPlainTextEdit>(u"txtLibre"_s);
        QTest::keyClicks(box, u"Se queda"_s);
        if (!chosen.isEmpty())
            f.prompts.fileNames.enqueue(f.path(chosen));
        // The hourglass of the reading is gone before the error box.
        f.prompts.onCall = [](const RecordingPrompts::Call &) {
            QVERIFY(!QApplication::overrideCursor());
        };
        f.click(u"btnImporta"_s);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(box->toPlainText(), u"Se queda"_s);
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), reported ? 1 : 0);
        if (reported) {
            QCOMPARE(shown.first().title, u"Brenzo"_s);
            QCOMPARE(shown.first().icon, PromptIcon::Critical);
            QVERIFY2(shown.first().text.contains(f.path(chosen)), qPrintable(shown.first().text));
        }
    }

    void sizeAndStyle_data()
    {
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("size"); // Tamano
        QTest::newRow("start") << QStringList{} << 12 << false << false << int(Tamano::optNormal);
        QTest::newRow("bold italic") << QStringList{u"chkNegrita"_s, u"chkCursiva"_s} << 12 << true
                                     << true << int(Tamano::optNormal);
        QTest::newRow("bold off again")
            << QStringList{u"chkNegrita"_s, u"chkCursiva"_s, u"chkNegrita"_s} << 12 << false << true
            << int(Tamano::optNormal);
        QTest::newRow("super then mini")
            << QStringList{u"chkCursiva"_s, u"optSuper"_s, u"optMini"_s} << 10 << false << true
            << int(Tamano::optMini);
        QTest::newRow("grande") << QStringList{u"chkCursiva"_s, u"chkNegrita"_s, u"optGrande"_s}
                                << 18 << true << true << int(Tamano::optGrande);
    }

    void sizeAndStyle()
    {
        QFETCH(QStringList, ticks);
        QFETCH(int, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, size);
        WizardFixture f;
        f.goTo(4);
        auto *box = f.find<QPlainTextEdit>(u"txtLibre"_s);
        QTest::keyClicks(box, u"Hola"_s);
        for (const QString &name : ticks)
            f.tick(name);
        const auto check = [&] {
            QCOMPARE(box->font().family(), u"Arial"_s);
            QCOMPARE(box->font().pointSize(), points);
            QCOMPARE(box->font().bold(), bold);
            QCOMPARE(box->font().italic(), italic);
            const PageSettings settings = f.window->settings();
            QCOMPARE(int(settings.optTamano), size);
            QCOMPARE(settings.chkNegrita, bold);
            QCOMPARE(settings.chkCursiva, italic);
        };
        check();
        // Clearing the text keeps the look and puts the focus in the box.
        f.click(u"btnBorrar"_s);
        QCOMPARE(box->toPlainText(), QString());
        QCOMPARE(f.window->settings().txtLibre, QString());
        QCOMPARE(QApplication::focusWidget(), box);
        check();
    }
};

BRENZO_PAGES_TEST_MAIN(TestSoundTextPages)
#include "tst_soundtextpages.moc"
