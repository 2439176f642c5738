// SPDX-License-Identifier: GPL-3.0-or-later
// Page 5: the three picture slots, their lists and previews.

#include "tests/photo/HeicPhoto.h"
#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/ElidedLabel.h"
#include "wizard/FileList.h"
#include "wizard/ImagesPage.h"
#include "wizard/PicturePreview.h"
#include "wizard/PictureSlot.h"
#include "wizard/WebCopyOffer.h"

#include <algorithm>
#include <QImage>
#include <QMovie>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

namespace {

QString nameIn(const WizardFixture &f, int slot)
{
    return f.find<QLabel>(u"lblNombreImagen%1"_s.arg(slot))->text();
}

// The slots whose group box is shown.
QList<int> openSlots(const WizardFixture &f)
{
    QList<int> open;
    for (int slot = 1; slot <= 3; ++slot) {
        if (!f.find(u"frmImagen%1"_s.arg(slot))->isHidden())
            open.append(slot);
    }
    return open;
}

// Picks a file in the list of a slot, opening the slot first; a still
// picture is read by the time it returns.
void pick(WizardFixture &f, int slot, const QString &name)
{
    f.click(u"btnImagen%1"_s.arg(slot));
    QSignalSpy read(f.find<PictureSlot>(u"frmImagen%1"_s.arg(slot)), &PictureSlot::stillRead);
    clickItem(f.find<FileList>(u"lstImagen%1"_s.arg(slot)), name);
    if (!name.endsWith(u".gif"_s, Qt::CaseInsensitive))
        QVERIFY(read.wait());
}

bool shown(const WizardFixture &f, const QString &name)
{
    return !f.find(name)->isHidden();
}

} // namespace

class TestImagesPage : public QObject {
    Q_OBJECT

private slots:
    void slotsOpenOneAtATime()
    {
        WizardFixture f;
        copySamples(f);
        f.goTo(5);
        QCOMPARE(openSlots(f), QList<int>{});
        // No list is read before its slot is first opened.
        for (int slot = 1; slot <= 3; ++slot)
            QVERIFY(!f.find<FileList>(u"lstImagen%1"_s.arg(slot))->hasBeenRead());

        pick(f, 1, u"montana.jpg"_s);
        QTest::keyClicks(f.edit(u"txtImagen1"_s), u"http://uno.example/"_s);
        QCOMPARE(openSlots(f), QList<int>{1});
        QCOMPARE(f.find<QLabel>(u"lblDir1"_s)->text(), QDir::toNativeSeparators(f.folder()));
        auto *list = f.find<FileList>(u"lstImagen1"_s);
        QCOMPARE(itemNames(list),
                 (QStringList{u"boton_brenzo.gif"_s, u"estrella.gif"_s, u"fondo_amarillo.jpg"_s,
                              u"fondo_blanco.jpg"_s, u"fondo_cielo.jpg"_s, u"fondo_noche.jpg"_s,
                              u"fondo_rojo.jpg"_s, u"fondo_verde.jpg"_s, u"foto_playa.jpg"_s,
                              u"Logo.Gif"_s, u"montana.jpg"_s, u"retrato.jpg"_s}));
        QVERIFY(list->item(0)->icon().isNull());

        f.click(u"btnImagen2"_s);
        QCOMPARE(openSlots(f), QList<int>{2});
        QVERIFY(f.find<FileList>(u"lstImagen2"_s)->hasBeenRead());
        QCOMPARE(nameIn(f, 1), u"montana.jpg"_s);
        QCOMPARE(f.edit(u"txtImagen1"_s)->text(), u"http://uno.example/"_s);

        // Leaving the page keeps the open slot, the selection and the preview.
        f.back();
        f.next();
        QCOMPARE(openSlots(f), QList<int>{2});
        f.click(u"btnImagen1"_s);
        QCOMPARE(list->selectedName(), u"montana.jpg"_s);
        QVERIFY(shown(f, u"imgJPG1"_s));
    }

    // The extension decides the preview, whatever its capitals.
    void previewKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("animated");
        QTest::newRow("gif") << u"estrella.gif"_s << true;
        QTest::newRow("mixed-case gif") << u"Logo.Gif"_s << true;
        QTest::newRow("jpg") << u"montana.jpg"_s << false;
        QTest::newRow("upper-case jpg") << u"COPIA.JPG"_s << false;
    }

    void previewKind()
    {
        QFETCH(QString, file);
        QFETCH(bool, animated);
        WizardFixture f;
        copySamples(f);
        QFile::copy(f.path(u"retrato.jpg"_s), f.path(u"COPIA.JPG"_s));
        f.goTo(5);
        for (int slot = 1; slot <= 3; ++slot) {
            // A picture of the other kind first: picking replaces its preview.
            pick(f, slot, animated ? u"retrato.jpg"_s : u"estrella.gif"_s);
            pick(f, slot, file);
            QCOMPARE(nameIn(f, slot), file);
            QCOMPARE(shown(f, u"RXGIF%1"_s.arg(slot)), animated);
            QCOMPARE(shown(f, u"imgJPG%1"_s.arg(slot)), !animated);
        }
        const PageSettings settings = f.window->settings();
        QCOMPARE(settings.lblNombreImagen1, file);
        QCOMPARE(settings.lblNombreImagen2, file);
        QCOMPARE(settings.lblNombreImagen3, file);
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // A still picture larger than its box is reduced with its proportions;
    // a smaller one keeps its size.
    void stillPreviewSize_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("wide into 1") << 1 << u"foto_playa.jpg"_s << QSize(108, 81);
        QTest::newRow("tall into 1") << 1 << u"retrato.jpg"_s << QSize(60, 81);
        QTest::newRow("tall into 3") << 3 << u"retrato.jpg"_s << QSize(78, 105);
        QTest::newRow("small") << 2 << u"chico.jpg"_s << QSize(40, 30);
    }

    void stillPreviewSize()
    {
        QFETCH(int, slot);
        QFETCH(QString, file);
        QFETCH(QSize, drawn);
        WizardFixture f;
        copySamples(f);
        QImage small(40, 30, QImage::Format_RGB32);
        small.fill(Qt::red);
        QVERIFY(small.save(f.path(u"chico.jpg"_s)));
        f.goTo(5);
        pick(f, slot, file);
        auto *preview = f.find<QLabel>(u"imgJPG%1"_s.arg(slot));
        QCOMPARE(preview->pixmap().size(), drawn);
        // Centred in the box: the box's middle shows the picture, a corner
        // only shows it when the picture fills that side.
        const QImage seen = preview->grab().toImage();
        const QColor middle = seen.pixelColor(seen.rect().center());
        if (file == u"chico.jpg"_s) {
            QVERIFY2(middle.red() > 200 && middle.green() < 60, qPrintable(middle.name()));
            QVERIFY(seen.pixelColor(0, 0) != middle);
            QVERIFY(seen.pixelColor(seen.width() - 1, seen.height() - 1) != middle);
        }
        const QPoint origin((preview->width() - drawn.width()) / 2,
                            (preview->height() - drawn.height()) / 2);
        QCOMPARE(seen.pixelColor(origin + QPoint(drawn.width() / 2, drawn.height() / 2)),
                 preview->pixmap().toImage().pixelColor(drawn.width() / 2, drawn.height() / 2));
    }

    // Every frame stays for its own delay, and the preview loops whether or
    // not the GIF asks for it.
    void animatedFrames_data()
    {
        QTest::addColumn<bool>("loopBlock");
        QTest::newRow("loops forever") << true;
        QTest::newRow("no loop block") << false;
    }

    void animatedFrames()
    {
        QFETCH(bool, loopBlock);
        WizardFixture f;
        copySamples(f);
        QFile source(f.path(u"estrella.gif"_s));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray gif = source.readAll();
        if (!loopBlock) {
            const qsizetype at = gif.indexOf("\x21\xFF\x0BNETSCAPE2.0");
            QVERIFY(at > 0);
            gif.remove(at, 19);
        }
        writeFile(f.path(u"estrella2.gif"_s), gif);
        f.goTo(5);
        pick(f, 2, u"estrella2.gif"_s);

        auto *preview = f.find<AnimatedPreview>(u"RXGIF2"_s);
        QMovie *movie = preview->movie();
        QVERIFY(movie);
        QCOMPARE(movie->frameCount(), 8);
        QCOMPARE(movie->loopCount(), loopBlock ? -1 : 0);
        QCOMPARE(movie->currentPixmap().size(), QSize(64, 64));
        QCOMPARE(preview->alignment(), Qt::AlignCenter);

        const QList<int> delays{450, 60, 60, 60, 250, 60, 60, 60};
        QList<int> seen;
        QMap<int, int> delayOf;
        // The movie takes the time it spent decoding a frame off that frame's
        // delay, so keep the longest delay seen for each frame over the passes.
        connect(movie, &QMovie::frameChanged, this, [&](int frame) {
            seen.append(frame);
            delayOf.insert(frame, std::max(delayOf.value(frame), movie->nextFrameDelay()));
        });
        // Two full passes: the second shows the loop goes on.
        QTRY_VERIFY_WITH_TIMEOUT(seen.count(0) >= 2 && seen.indexOf(7) < seen.lastIndexOf(0),
                                 10000);
        for (int frame = 0; frame < 8; ++frame) {
            QVERIFY2(delayOf.value(frame) <= delays[frame] &&
                         delayOf.value(frame) > delays[frame] - 30,
                     qPrintable(u"frame %1: %2 ms"_s.arg(frame).arg(delayOf.value(frame))));
        }
        const qsizetype firstPass = seen.indexOf(0);
        QVERIFY(firstPass >= 0);
        for (int step = 1; step < 8 && firstPass + step < seen.size(); ++step)
            QCOMPARE(seen[firstPass + step], step);
    }

    // A damaged picture: the name stays chosen, neither preview shows, and
    // the general error box gives the decoder's message.
    void damagedPicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("jpg") << u"roto.jpg"_s << QByteArray("esto no es una foto");
        QTest::newRow("gif") << u"roto.GIF"_s << QByteArray("tampoco");
        QTest::newRow("gif header only") << u"corto.gif"_s << QByteArray("GIF89a\x10\x00");
    }

    void damagedPicture()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        WizardFixture f;
        GeneralErrorsTo errors(f.prompts);
        copySamples(f);
        writeFile(f.path(file), bytes);
        f.goTo(5);
        pick(f, 1, u"estrella.gif"_s);
        pick(f, 1, file);
        const auto shownMessages = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shownMessages.size(), 1);
        QCOMPARE(shownMessages.first().title, u"Brenzo"_s);
        QCOMPARE(shownMessages.first().icon, PromptIcon::Critical);
        QVERIFY2(shownMessages.first().text.contains(file), qPrintable(shownMessages.first().text));
        QCOMPARE(nameIn(f, 1), file);
        QVERIFY(!shown(f, u"imgJPG1"_s));
        QVERIFY(!shown(f, u"RXGIF1"_s));
        QCOMPARE(f.window->settings().lblNombreImagen1, file);

        // The list still works: the next pick previews as usual.
        clickItem(f.find<FileList>(u"lstImagen1"_s), u"montana.jpg"_s);
        QVERIFY(shown(f, u"imgJPG1"_s));
        QCOMPARE(f.prompts.ofKind(Kind::Message).size(), 1);
    }

    // A large photo is offered a copy for the web: Sí writes and picks it as
    // a click would, No keeps the original; either holds for the run, saved
    // work put back asks nothing, and a failed copy is a box and asks again.
    void webCopy_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("blocked"); // a folder named grande_web.jpg
        QTest::addColumn<int>("questions");
        QTest::newRow("yes") << true << false << 1;
        QTest::newRow("no") << false << false << 1;
        QTest::newRow("cannot write") << true << true << 2;
    }

    void webCopy()
    {
        QFETCH(bool, yes);
        QFETCH(bool, blocked);
        QFETCH(int, questions);
        WizardFixture f;
        copySamples(f);
        QImage photo(2000, 1000, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        QVERIFY(photo.save(f.path(u"grande.jpg"_s)));
        if (blocked)
            QVERIFY(QDir(f.folder()).mkdir(u"grande_web.jpg"_s));
        f.prompts.answers.enqueue(yes);
        f.goTo(5);
        QSignalSpy done(f.find<ImagesPage>(u"p5"_s)->webCopies(), &WebCopyOffer::finished);
        pick(f, 2, u"grande.jpg"_s);
        const auto asked = f.prompts.ofKind(Kind::Question);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().title == u"Brenzo"_s &&
                asked.first().text.startsWith(u"La foto «grande.jpg» ocupa "_s));
        if (yes) {
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(done.wait(20000));
        }
        QVERIFY(!QApplication::overrideCursor());
        const QString chosen = yes && !blocked ? u"grande_web.jpg"_s : u"grande.jpg"_s;
        QCOMPARE(nameIn(f, 2), chosen);
        QVERIFY(shown(f, u"imgJPG2"_s));
        QCOMPARE(f.window->settings().lblNombreImagen2, chosen);
        QCOMPARE(QFileInfo(f.path(u"grande_web.jpg"_s)).isFile(), yes && !blocked);
        QCOMPARE(f.prompts.ofKind(Kind::Message).size(), blocked ? 1 : 0);
        if (blocked)
            QCOMPARE(f.prompts.ofKind(Kind::Message).first().icon, PromptIcon::Warning);

        pick(f, 2, u"montana.jpg"_s);
        pick(f, 2, u"grande.jpg"_s);
        f.next();
        f.restart();
        f.goTo(5);
        QCOMPARE(f.prompts.ofKind(Kind::Question).size(), questions);
    }

    // A phone's HEIC photo is listed with the other pictures; picking it
    // asks for a copy, naming the format and the place it holds. Sí puts
    // the copy in the slot and on the page; No leaves the slot as it was.
    void heicPhoto_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void heicPhoto()
    {
        QFETCH(bool, yes);
        WizardFixture f;
        copySamples(f);
        QVERIFY(writeHeic(f.path(u"IMG_0001.HEIC"_s), {bandedPicture({1600, 1200})}, 6, true));
        for (const QString &other : {u"captura.png"_s, u"otra.JPEG"_s, u"web.webp"_s})
            writeFile(f.path(other), "sin abrir");
        f.goTo(5);
        pick(f, 1, u"montana.jpg"_s);
        auto *list = f.find<FileList>(u"lstImagen1"_s);
        for (const QString &listed :
             {u"IMG_0001.HEIC"_s, u"captura.png"_s, u"otra.JPEG"_s, u"web.webp"_s})
            QVERIFY(itemNames(list).contains(listed));

        WebCopyOffer *offer = f.find<ImagesPage>(u"p5"_s)->webCopies();
        QSignalSpy done(offer, &WebCopyOffer::finished);
        QSignalSpy declined(offer, &WebCopyOffer::declined);
        QSignalSpy read(f.find<PictureSlot>(u"frmImagen1"_s), &PictureSlot::stillRead);
        f.prompts.answers.enqueue(yes);
        clickItem(list, u"IMG_0001.HEIC"_s);
        QVERIFY(yes ? done.wait(30000) && read.wait() : declined.wait());
        const auto asked = f.prompts.ofKind(Kind::Question);
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().text.startsWith(
                     u"La imagen «IMG_0001.HEIC» está en formato HEIC, el que usan muchos "
                     u"teléfonos para sus fotos, y mide 1200 × 1600 píxeles. La página solo "
                     u"puede mostrarla a través de una copia para la web, en formato JPEG. "
                     u"Guarda además el lugar donde se tomó"_s),
                 qPrintable(asked.first().text));
        const QString chosen = yes ? u"IMG_0001_web.jpg"_s : u"montana.jpg"_s;
        QCOMPARE(nameIn(f, 1), chosen);
        QCOMPARE(list->selectedName(), chosen);
        QVERIFY(shown(f, u"imgJPG1"_s));
        QCOMPARE(QImage(f.path(u"IMG_0001_web.jpg"_s)).size(), yes ? QSize(960, 1280) : QSize(0, 0));
        QVERIFY(f.prompts.ofKind(Kind::Message).isEmpty());

        f.goTo(9);
        QFile page(f.path(u"index.htm"_s));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray written = page.readAll();
        QVERIFY(written.contains("<IMG SRC=\"" + chosen.toLatin1() + '"'));
        QVERIFY(!written.contains("IMG_0001.HEIC"));
    }

    // A copy replaces only one made here, in this session or an earlier
    // one, and unchanged since; beside a file of the user's it takes the
    // first free name, which the question names.
    void webCopyName_data()
    {
        QTest::addColumn<QStringList>("users"); // the user's own files
        QTest::addColumn<bool>("changed");      // the first copy, before the second
        QTest::addColumn<QStringList>("copies");
        const QString web = u"grande_web.jpg"_s, web2 = u"grande_web-2.jpg"_s;
        QTest::newRow("made here") << QStringList{} << false << QStringList{web, web};
        QTest::newRow("made here, changed") << QStringList{} << true << QStringList{web, web2};
        QTest::newRow("the user's") << QStringList{web} << false << QStringList{web2, web2};
        QTest::newRow("the user's, two")
            << QStringList{web, web2} << false
            << QStringList{u"grande_web-3.jpg"_s, u"grande_web-3.jpg"_s};
    }

    void webCopyName()
    {
        QFETCH(QStringList, users);
        QFETCH(bool, changed);
        QFETCH(QStringList, copies);
        WizardFixture f;
        QImage photo(2000, 1000, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        QVERIFY(photo.save(f.path(u"grande.jpg"_s)));
        for (const QString &name : users)
            writeFile(f.path(name), "mi foto");
        for (const QString &copy : copies) {
            if (changed && &copy == &copies.last())
                QVERIFY(photo.scaled(24, 12).save(f.path(copies.first())));
            f.restart();
            f.prompts.answers.enqueue(true);
            f.goTo(5);
            QSignalSpy done(f.find<ImagesPage>(u"p5"_s)->webCopies(), &WebCopyOffer::finished);
            pick(f, 1, u"grande.jpg"_s);
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
            QVERIFY(f.prompts.ofKind(Kind::Question).last().text.contains(u"«"_s + copy + u"»"_s));
            QCOMPARE(nameIn(f, 1), copy);
            QCOMPARE(QImage(f.path(copy)).size(), QSize(1280, 640));
            f.next(); // the work is saved as the page is left
        }
        for (const QString &name : users)
            QCOMPARE(QFileInfo(f.path(name)).size(), 7); // "mi foto"
        QCOMPARE(QImage(f.path(copies.first())).size(), changed ? QSize(24, 12) : QSize(1280, 640));
    }

    // Reiniciar Selección empties names and addresses, closes the slot and
    // reads again only the lists already shown; the previews stay.
    void resetSelection()
    {
        WizardFixture f;
        copySamples(f);
        f.goTo(5);
        pick(f, 1, u"estrella.gif"_s);
        QTest::keyClicks(f.edit(u"txtImagen1"_s), u"http://uno.example/"_s);
        pick(f, 2, u"retrato.jpg"_s);
        QTest::keyClicks(f.edit(u"txtImagen2"_s), u"http://dos.example/"_s);
        QVERIFY(f.window->findChild<QLineEdit *>(u"txtImagen3"_s) == nullptr);
        QCOMPARE(f.edit(u"txtImagen1"_s)->maxLength(), 100);
        writeFile(f.path(u"nueva.gif"_s), "GIF89a");

        f.click(u"btnReiniciarImg"_s);
        QCOMPARE(openSlots(f), QList<int>{});
        for (int slot = 1; slot <= 3; ++slot)
            QCOMPARE(nameIn(f, slot), QString());
        QCOMPARE(f.edit(u"txtImagen1"_s)->text(), QString());
        QCOMPARE(f.edit(u"txtImagen2"_s)->text(), QString());
        const PageSettings settings = f.window->settings();
        QCOMPARE(settings.lblNombreImagen1, QString());
        QCOMPARE(settings.txtImagen1, QString());
        QCOMPARE(settings.lblNombreImagen2, QString());
        QCOMPARE(settings.txtImagen2, QString());

        for (int slot : {1, 2}) {
            auto *list = f.find<FileList>(u"lstImagen%1"_s.arg(slot));
            QVERIFY(list->findItems(u"nueva.gif"_s, Qt::MatchExactly).size() == 1);
            QCOMPARE(list->selectedName(), QString());
        }
        QCOMPARE(f.find<FileList>(u"lstImagen3"_s)->count(), 0);
        QVERIFY(!f.find<FileList>(u"lstImagen3"_s)->hasBeenRead());

        // Opening slot 1 again shows its last preview beside an empty name.
        f.click(u"btnImagen1"_s);
        QVERIFY(shown(f, u"RXGIF1"_s));
        QCOMPARE(nameIn(f, 1), QString());
        f.click(u"btnImagen3"_s);
        QCOMPARE(f.find<FileList>(u"lstImagen3"_s)->count(), 13);
    }
};

BRENZO_PAGES_TEST_MAIN(TestImagesPage)
#include "tst_imagespage.moc"
