// SPDX-License-Identifier: GPL-3.0-or-later
// What a user's folder and files may throw at the wizard: a huge text to
// import, lines too long for the text box, a start-up folder and file names
// far from plain ASCII, pictures that are not pictures, and a page name
// already taken by a folder. Each ends in the documented behaviour or a
// clear message, never a crash.

#include "page/SavedWork.h"
#include "photo/JpegHeaders.h"
#include "tests/support/CraftedJpeg.h"
#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/CentralTextPage.h"
#include "wizard/TfrmWeb.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

namespace {

// Plain lines of about 80 characters, with accents, up to the size asked.
QByteArray textOfLines(qsizetype size, qsizetype *lineCount)
{
    QByteArray text;
    text.reserve(size + 100);
    qsizetype lines = 0;
    while (text.size() < size) {
        text += "L\xednea " + QByteArray::number(lines) +
                " del texto importado, con acentos: "
                "\xe1\xe9\xed\xf3\xfa \xf1 y algo m\xe1s de relleno.\r\n";
        ++lines;
    }
    *lineCount = lines;
    return text;
}

// A wizard started in the given folder, with the installed media in it.
std::unique_ptr<TfrmWeb> wizardIn(const QString &folder, RecordingPrompts &prompts)
{
    const QDir media(QStringLiteral(MEDIA_DIR));
    for (const QString &name : media.entryList(QDir::Files))
        QFile::copy(media.filePath(name), QDir(folder).filePath(name));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    auto window = std::make_unique<TfrmWeb>(prompts);
    QDir::setCurrent(previous);
    return window;
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    // A very large text file is imported whole and written to the page,
    // line for line.
    void largeImport_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("100,000 lines") << qsizetype(100000 * 80);
        QTest::newRow("50 MB") << qsizetype(50 * 1000 * 1000);
    }

    void largeImport()
    {
        QFETCH(qsizetype, size);
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        qsizetype lines = 0;
        writeFile(f.path(u"grande.TXT"_s), textOfLines(size, &lines));
        f.goTo(4);
        f.prompts.fileNames.enqueue(f.path(u"grande.TXT"_s));
        f.click(u"btnImporta"_s);
        QVERIFY(f.prompts.ofKind(Kind::Message).isEmpty());
        QCOMPARE(f.window->settings().centralTextLines().size(), lines);

        f.goTo(9);
        QFile page(f.path(u"index.htm"_s));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray written = page.readAll();
        QVERIFY(written.endsWith("</HTML>\r\n"));
        QVERIFY(written.contains("\r\nL\xednea " + QByteArray::number(lines - 1) +
                                 " del texto importado"));
        // Each text line is followed by "<BR>"; the titles have one more.
        QCOMPARE(written.count("\r\n<BR>\r\n"), lines + 1);
    }

    // The text box lays out a whole line at once, so a file with a line
    // longer than the box takes responsively is refused with a warning that
    // names it, and the box keeps its text. Lengths count characters after
    // decoding, without the line break.
    void longLines_data()
    {
        constexpr qsizetype limit = CentralTextPage::kImportLineLimit;
        const QByteArray atLimit(limit, 'a');
        const QByteArray overLimit(limit + 1, 'a');
        QByteArray crLines;
        while (crLines.size() < 3 * limit)
            crLines += QByteArray(79, 'c') + '\r';
        QByteArray accents;
        for (qsizetype i = 0; i < limit; ++i)
            accents += "\xC3\xA1"; // "á" in UTF-8: two bytes, one character

        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text"); // what the box holds after; null: refused
        QTest::newRow("one line at the limit") << atLimit << QString::fromLatin1(atLimit);
        QTest::newRow("at the limit, then CR LF") << atLimit + "\r\nfin\r\n"
                                                  << QString::fromLatin1(atLimit) + u"\nfin\n"_s;
        QTest::newRow("UTF-8 at the limit in characters")
            << accents << QString(limit, QChar(0x00E1));
        QTest::newRow("many short lines ended by CR")
            << crLines << QString::fromLatin1(crLines).replace(u'\r', u'\n');
        QTest::newRow("one line over the limit") << overLimit << QString();
        QTest::newRow("long line between short ones") << "corta\r\n" + overLimit + "\r\nfin\r\n"
                                                      << QString();
        QTest::newRow("long last line without a break") << "corta\n" + overLimit << QString();
        QTest::newRow("one line of 1 MB") << QByteArray(1000 * 1000, 'b') << QString();
    }

    void longLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        const QString file = f.path(u"una línea.TXT"_s);
        writeFile(file, bytes);
        f.goTo(4);
        auto *box = f.find<QPlainTextEdit>(u"txtLibre"_s);
        QTest::keyClicks(box, u"Texto anterior"_s);
        f.prompts.fileNames.enqueue(file);
        f.prompts.onCall = [](const RecordingPrompts::Call &) {
            QVERIFY(!QApplication::overrideCursor());
        };
        f.click(u"btnImporta"_s);
        QVERIFY(!QApplication::overrideCursor());

        const auto shown = f.prompts.ofKind(Kind::Message);
        if (!text.isNull()) {
            QVERIFY2(shown.isEmpty(), qPrintable(f.prompts.messageTexts().join(u" | "_s)));
            QCOMPARE(f.window->settings().txtLibre, text);
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, u"Brenzo"_s);
        QCOMPARE(shown.first().icon, PromptIcon::Warning);
        QCOMPARE(shown.first().text,
                 u"No se puede importar el archivo \"%1\".\nTiene al menos una línea de más de "
                 u"100.000 caracteres, demasiado larga para el texto central."_s.arg(
                     QDir::toNativeSeparators(file)));
        QCOMPARE(f.window->settings().txtLibre, u"Texto anterior"_s);
    }

    // A start-up folder whose path holds accents, blanks and non-Latin
    // letters, with files named likewise: the lists show the names, the page
    // is written there and names every file; a name beyond ISO-8859-1 goes
    // into the page as character references.
    void namesBeyondAscii()
    {
        QTemporaryDir base;
        const QString folder = base.filePath(u"Mis páginas/ñandú 写真 Ελλάδα"_s);
        QVERIFY(QDir().mkpath(folder));
        RecordingPrompts prompts;
        GeneralErrorsTo errors(prompts);
        std::unique_ptr<TfrmWeb> window = wizardIn(folder, prompts);
        QCOMPARE(window->startupFolder(), folder);
        const QString latin = u"foto de la playa ñ.jpg"_s;
        const QString greek = u"Ελλάδα 写真.gif"_s;
        QVERIFY(QFile::copy(QStringLiteral(MEDIA_DIR "/samples/montana.jpg"),
                            QDir(folder).filePath(latin)));
        QVERIFY(QFile::copy(QStringLiteral(MEDIA_DIR "/samples/estrella.gif"),
                            QDir(folder).filePath(greek)));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        auto next = [&] {
            QTest::mouseClick(window->findChild<QAbstractButton *>(u"btnSiguiente"_s),
                              Qt::LeftButton);
        };
        window->page(1)->findChild<QLineEdit *>(u"txtTitol"_s)->setText(u"Mi página"_s);
        while (window->pageIndex() < PageIndex::Images)
            next();
        const QStringList names = {latin, greek};
        for (int slot = 1; slot <= 2; ++slot) {
            QTest::mouseClick(window->findChild<QAbstractButton *>(u"btnImagen%1"_s.arg(slot)),
                              Qt::LeftButton);
            auto *list = window->findChild<QListWidget *>(u"lstImagen%1"_s.arg(slot));
            QVERIFY(itemNames(list).contains(names[slot - 1]));
            clickItem(list, names[slot - 1]);
        }
        QVERIFY2(prompts.ofKind(Kind::Message).isEmpty(),
                 qPrintable(prompts.messageTexts().join(u" | "_s)));
        window->page(4)->findChild<QPlainTextEdit *>(u"txtLibre"_s)->setPlainText(u"Hola"_s);
        window->page(8)->findChild<QLineEdit *>(u"txtEmail"_s)->setText(u"ana@correo.example"_s);
        while (window->pageIndex() < PageIndex::Finish) {
            const int before = window->pageIndex();
            next();
            QVERIFY2(window->pageIndex() > before,
                     qPrintable(prompts.messageTexts().join(u" | "_s)));
        }

        QFile page(QDir(folder).filePath(u"index.htm"_s));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray written = page.readAll();
        QVERIFY(written.contains("<IMG SRC=\"foto de la playa \xf1.jpg\" BORDER=0>"));
        QVERIFY(written.contains("&#917;&#955;&#955;&#940;&#948;&#945; &#20889;&#30495;.gif"));
        QVERIFY(window->publishFiles().contains(latin));
        QVERIFY(window->publishFiles().contains(greek));
    }

    // Files that are no pictures at all: the general error box names the
    // file, the slot keeps the name and shows no preview.
    void notPictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("zero-byte GIF") << u"vacia.gif"_s << QByteArray();
        QTest::newRow("zero-byte JPG") << u"vacia.JPG"_s << QByteArray();
        QTest::newRow("text named .jpg")
            << u"carta.jpg"_s << QByteArray("Querida Ana:\r\nTe escribo desde la playa.\r\n");
        QTest::newRow("text named .gif") << u"notas.GIF"_s << QByteArray(100000, 'x');
        QTest::newRow("JPEG headers past the bound")
            << u"xmp.jpg"_s << jpegWithSegments(JpegHeaders::kMostSegments);
    }

    void notPictures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        writeFile(f.path(file), bytes);
        f.goTo(5);
        f.click(u"btnImagen1"_s);
        clickItem(f.find<QListWidget>(u"lstImagen1"_s), file);
        QTRY_VERIFY(!f.prompts.ofKind(Kind::Message).isEmpty());
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, u"Brenzo"_s);
        QCOMPARE(shown.first().icon, PromptIcon::Critical);
        QVERIFY2(shown.first().text.contains(file), qPrintable(shown.first().text));
        QVERIFY(QTest::currentDataTag() != "JPEG headers past the bound"_ba ||
                shown.first().text.contains(u"no es una imagen válida"_s));
        QCOMPARE(f.find<QLabel>(u"lblNombreImagen1"_s)->text(), file);
        QVERIFY(f.find(u"imgJPG1"_s)->isHidden());
        QVERIFY(f.find(u"RXGIF1"_s)->isHidden());
    }

    // A folder with the page's name: no replace question (it is no file),
    // the write fails with its one message, the wizard stays on page 8, and
    // neither the folder nor anything beside it is touched.
    void pageNameTakenByFolder()
    {
        WizardFixture f;
        QVERIFY(QDir(f.folder()).mkdir(u"index.htm"_s));
        writeFile(f.path(u"index.htm/dentro.txt"_s), "no tocar");
        const QStringList before =
            QDir(f.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        f.goTo(8);
        f.next();
        QCOMPARE(f.window->pageIndex(), 8);
        QVERIFY(f.prompts.ofKind(Kind::Question).isEmpty());
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, u"Error"_s);
        QCOMPARE(shown.first().text, u"Error: No puede crearse página WEB"_s);
        QVERIFY(QFileInfo(f.path(u"index.htm"_s)).isDir());
        QCOMPARE(QDir(f.path(u"index.htm"_s)).entryList(QDir::Files), QStringList{u"dentro.txt"_s});
        // Beside it only the user's work, saved at each page left.
        f.window.reset();
        QStringList after = QDir(f.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY(after.removeOne(SavedWork::fileName()));
        QCOMPARE(after, before);
    }
};

BRENZO_PAGES_TEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
