// SPDX-License-Identifier: GPL-3.0-or-later
// The page adapted to phones: the note for a MIDI sound on page 8, and a
// page with every section, written through the window and visited in
// headless Chromium on a phone and on a desktop, its big photo made ready
// for the web on the way.

#include "tests/support/CameraPhoto.h"
#include "tests/wizard/MediaPagesSupport.h"

#include "page/ColourScheme.h"
#include "page/MobilePageWriter.h"
#include "page/PageWriter.h"
#include "wizard/ImagesPage.h"
#include "wizard/WebCopyOffer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>

using namespace Qt::StringLiterals;

class TestMobilePage : public QObject {
    Q_OBJECT

private slots:
    void midiNote_data()
    {
        QTest::addColumn<QString>("sound");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("player");
        QTest::newRow("MIDI, ticked") << u"melodia.mid"_s << true << true << false;
        QTest::newRow("MIDI, unticked") << u"melodia.mid"_s << false << false << false;
        QTest::newRow("WAV, ticked") << u"campanas.wav"_s << true << false << true;
    }

    void midiNote()
    {
        QFETCH(QString, sound);
        QFETCH(bool, ticked);
        QFETCH(bool, shown);
        QFETCH(bool, player);
        WizardFixture f;
        copySamples(f);
        f.goTo(3);
        clickItem(f.find<QListWidget>(u"FileListBox1"_s), sound);
        f.goTo(8);
        if (ticked)
            f.tick(u"chkMovil"_s);
        QCOMPARE(f.find<QLabel>(u"lblMidi"_s)->isVisible(), shown);
        f.next();
        QFile page(f.path(u"index.htm"_s));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QCOMPARE(page.readAll().contains("<audio controls loop preload=\"none\""), player);
    }

    // A noncharacter typed in a field, which a validator reports, reaches
    // the page as the replacement character.
    void noncharacters()
    {
        PageSettings s;
        s.txtTitol =
            u"a\uFFFEb\uFFFFc\uFDD0d\uFDEF"_s + QString::fromUcs4(U"\U0001FFFE\U0010FFFFe\uFDCF");
        s.txtLibre = s.txtTitol;
        const QString page = QString::fromUtf8(RenderMobilePage(s, schemeFor(s), u"hoy"_s, {}));
        const QString written = u"a\uFFFDb\uFFFDc\uFFFDd\uFFFD\uFFFD\uFFFDe\uFDCF"_s;
        QVERIFY(page.contains(u"<title>"_s + written + u"</title>"_s));
        QVERIFY(page.contains(written + u"<br>\n"_s));
        for (const char32_t code : page.toUcs4())
            QVERIFY2(!QChar::isNonCharacter(code), qPrintable(QString::number(code, 16)));
    }

    void visitorsOnPhoneAndDesktop()
    {
        for (const QString &tool : {u"chromium"_s, u"chromedriver"_s, u"tidy"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is missing (scripts/install-deps.sh)"_s));
        }
        WizardFixture f;
        copySamples(f);
        makePhoto(f.path(u"playa.jpg"_s), {2400, 1800}, 1, true);
        f.edit(u"txtTitol"_s)->setText(u"La casa de Ana"_s);
        f.edit(u"txtSubTitol1"_s)->setText(u"Fotos & recuerdos"_s);
        f.edit(u"txtSubTitol2"_s)->setText(u"Bienvenidos"_s);
        f.tick(u"chkMarco"_s);
        f.goTo(3);
        clickItem(f.find<QListWidget>(u"FileListBox1"_s), u"campanas.wav"_s);
        f.next();
        const QString central = u"Esta es mi página, con una línea bastante larga para que el "
                                "texto tenga que partirse en un teléfono estrecho."_s;
        f.find<QPlainTextEdit>(u"txtLibre"_s)->setPlainText(central + u"\n\nAdiós."_s);
        f.next();
        f.prompts.answers.enqueue(true);
        QSignalSpy ready(f.find<ImagesPage>(u"p5"_s)->webCopies(), &WebCopyOffer::finished);
        // A phone's small photo, kept as taken and turned by its EXIF tag.
        makePhoto(f.path(u"de_pie.jpg"_s), {600, 400}, 6, false);
        const QStringList pictures = {u"playa.jpg"_s, u"montana.jpg"_s, u"de_pie.jpg"_s};
        for (int number = 1; number <= 3; ++number) {
            f.click(u"btnImagen%1"_s.arg(number));
            clickItem(f.find<QListWidget>(u"lstImagen%1"_s.arg(number)), pictures[number - 1]);
            QVERIFY(number > 1 || ready.wait(20000));
        }
        f.edit(u"txtImagen1"_s)->setText(u"http://playa.example/"_s);
        f.next();
        f.edit(u"TextoScroll"_s)->setText(u"Gracias por venir"_s);
        f.next();
        auto *grid = f.find<QTableWidget>(u"GridEnlaces"_s);
        grid->item(1, 0)->setText(u"http://dos.example/?a=1&b=2"_s);
        grid->item(1, 1)->setText(u"Dos sitios"_s);
        f.goTo(8);
        f.tick(u"chkMovil"_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);

        PageSettings exact = f.window->settings();
        QVERIFY(exact.chkMovil);
        QCOMPARE(exact.lblNombreImagen1, u"playa_web.jpg"_s);
        const QImage web(f.path(u"playa_web.jpg"_s));
        QCOMPARE(web.size(), QSize(1280, 960));
        auto read = Exiv2::ImageFactory::open(f.path(u"playa_web.jpg"_s).toStdString());
        read->readMetadata();
        QVERIFY(read->exifData().empty() && read->xmpData().empty()); // nor the place
        exact.chkMovil = false;
        QVERIFY(WritePage(exact, schemeFor(exact), f.path(u"exacta.htm"_s)));

        // Every picture but the first waits until the visitor nears it.
        QFile written(f.path(exact.txtHTML));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray adapted = written.readAll();
        QCOMPARE(adapted.count("<img "), 4);
        QCOMPARE(adapted.count(" loading=\"lazy\""), 3);
        QVERIFY(adapted.contains("<img src=\"playa_web.jpg\" width=\"1280\" height=\"960\" alt"));
        QVERIFY(adapted.contains("<img src=\"de_pie.jpg\" width=\"400\" height=\"600\""));

        QProcess browser;
        browser.setProcessChannelMode(QProcess::MergedChannels);
        browser.start(u"/usr/bin/python3"_s, {QStringLiteral(CHECK_MOBILE_PAGE), f.folder(),
                                              exact.txtHTML, u"exacta.htm"_s, central});
        const bool ended = browser.waitForFinished(240000);
        const QString report = QString::fromUtf8(browser.readAll());
        qInfo().noquote() << report;
        if (report.contains(QLatin1String("No module named 'selenium'")))
            QSKIP("python3-selenium is missing");
        QVERIFY(ended);
        QCOMPARE(browser.exitCode(), 0);
    }
};

BRENZO_PAGES_TEST_MAIN(TestMobilePage)
#include "tst_mobilepage.moc"
