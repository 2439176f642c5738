// SPDX-License-Identifier: GPL-3.0-or-later
// A photo made ready for the web: what is told about it, the copy's size,
// turn and missing metadata, and bad input refused without harm.

#include "photo/JpegHeaders.h"
#include "photo/PhotoFacts.h"
#include "photo/WebCopy.h"
#include "photo/WebCopyTexts.h"
#include "tests/photo/HeicPhoto.h"
#include "tests/support/CameraPhoto.h"
#include "tests/support/CraftedJpeg.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <exiv2/exiv2.hpp>
#include <sys/fsuid.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QImage halfTransparent(QSize size, QImage::Format format)
{
    QImage image(size, format);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(size.width() / 2, 0, size.width() / 2, size.height(), Qt::red);
    return image;
}

// The picture of that kind, made as the tools of a phone, a computer or a
// browser leave it.
void makePicture(const QString &kind, const QString &path)
{
    if (kind.startsWith(u"heic"_s)) {
        QList<QImage> pictures{bandedPicture({1600, 1200})};
        if (kind == u"heic several"_s)
            pictures.prepend(bandedPicture({320, 240}, Qt::green));
        QVERIFY(writeHeic(path, pictures, kind == u"heic several"_s ? 1 : 6, true));
    } else if (kind == u"png"_s) {
        QVERIFY(halfTransparent({300, 200}, QImage::Format_ARGB32).save(path));
    } else if (kind == u"png 16-bit"_s) {
        QVERIFY(halfTransparent({2000, 1000}, QImage::Format_RGBA64).save(path));
    } else if (kind.startsWith(u"webp"_s) && !kind.contains(u"animated"_s)) {
        QVERIFY(bandedPicture({500, 300}).save(path, "WEBP", 90));
    } else if (kind.startsWith(u"webp animated"_s)) {
        // Qt writes no animation: img2webp joins two frames, red then blue.
        const QString first = path + u"-1.png"_s, second = path + u"-2.png"_s;
        QVERIFY(bandedPicture({40, 30}, Qt::red).save(first));
        QVERIFY(bandedPicture({40, 30}, Qt::blue).save(second));
        QCOMPARE(QProcess::execute(u"img2webp"_s, {u"-lossless"_s, first, second, u"-o"_s, path}),
                 0);
        QFile::remove(first);
        QFile::remove(second);
    }
    QByteArray bytes = bytesOf(path);
    if (kind.endsWith(u"cut"_s)) {
        bytes.truncate(bytes.size() * 2 / 3);
    } else if (kind == u"heic bomb"_s) {
        // The picture's own size box claims 20000 × 20000.
        const qsizetype at = bytes.indexOf("ispe");
        bytes.replace(at + 8, 8, QByteArray::fromHex("00004e2000004e20"));
    } else if (kind == u"webp bomb"_s) {
        // The frame header's width and height: 16383 × 16383.
        QCOMPARE(bytes.mid(12, 4), "VP8 "_ba);
        bytes.replace(26, 4, QByteArray::fromHex("ff3fff3f"));
    }
    writeBytes(path, bytes);
}

} // namespace

class TestWebCopy : public QObject {
    Q_OBJECT

private slots:
    // Large, or telling the place: worth a question.
    void facts_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("located");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("small") << QSize(640, 480) << 1 << false << QSize(640, 480);
        QTest::newRow("wide") << QSize(1700, 900) << 1 << false << QSize(1700, 900);
        QTest::newRow("turned") << QSize(900, 1601) << 6 << false << QSize(1601, 900);
        QTest::newRow("located") << QSize(640, 480) << 1 << true << QSize(640, 480);
    }

    void facts()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(bool, located);
        QFETCH(QSize, shown);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"foto.jpg"_s);
        makePhoto(path, stored, orientation, located);
        const PhotoFacts facts = PhotoFacts::read(path);
        QCOMPARE(facts.pixels, shown);
        QCOMPARE(facts.hasLocation, located);
        QCOMPARE(facts.worthPreparing(), QTest::currentDataTag() != "small"_ba);
    }

    // Headers that hold a frame and reach the first scan within the bounds
    // are read on; any other JPEG is refused before a reader sees it.
    void headersInBounds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        const QByteArray plain = jpegWithSegments(0);
        const int most = JpegHeaders::kMostSegments;
        QTest::newRow("plain") << plain << true;
        QTest::newRow("many segments") << jpegWithSegments(most - 100) << true;
        QTest::newRow("too many segments") << jpegWithSegments(most) << false;
        QTest::newRow("comments past the bytes")
            << jpegWithSegments(JpegHeaders::kMostBytes / 65533 + 1, 0xFE, 65533) << false;
        QTest::newRow("stray bytes") << QByteArray(plain).insert(2, "\0\0\xFF\xFF", 4) << true;
        QTest::newRow("scan before a frame") << QByteArray("\xFF\xD8\xFF\xDA\x00\x02") << false;
        QTest::newRow("no JPEG") << QByteArray("GIF89a") << true;
    }

    void headersInBounds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QBuffer file(&bytes);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(JpegHeaders::endInBounds(file), read);
    }

    // A name is shown as it is, whatever it holds.
    void question_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::newRow("plain") << u"playa"_s;
        QTest::newRow("a place marker") << u"vacaciones 100%1"_s;
    }

    void question()
    {
        QFETCH(QString, stem);
        const PhotoFacts facts{3'940'000, {4032, 3024}, true, "jpeg", 1};
        QString asked = WebCopyTexts::question(stem + u".jpg"_s, stem + u"_web.jpg"_s, facts);
        QCOMPARE(asked.replace(stem, u"playa"_s),
                 u"La foto «playa.jpg» ocupa 3,9 MB y mide 4032 × 3024 píxeles. Guarda además el "
                 u"lugar donde se tomó, que cualquiera que visite su página podría leer.\n\nLa "
                 u"copia para la web, «playa_web.jpg», mide como mucho 1280 píxeles de lado, pesa "
                 u"mucho menos y no lleva el lugar ni otros datos de la cámara. La foto original "
                 u"no cambia.\n\n¿Desea preparar una copia para la web?"_s);
    }

    // The web copy: at most 1280 px on its longer side, never enlarged,
    // turned upright, and holding nothing but pixels; an older copy is
    // replaced and the original stays as it was.
    void prepare_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("copy");
        QTest::addColumn<QPoint>("band"); // a point of the red band, in the copy
        QTest::newRow("landscape") << QSize(2400, 1800) << 1 << QSize(1280, 960) << QPoint(640, 5);
        QTest::newRow("turned") << QSize(2400, 1800) << 6 << QSize(960, 1280) << QPoint(955, 640);
        QTest::newRow("small") << QSize(900, 600) << 1 << QSize(900, 600) << QPoint(450, 5);
    }

    void prepare()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(QSize, copy);
        QFETCH(QPoint, band);
        QTemporaryDir dir;
        const QString original = dir.filePath(u"playa.jpg"_s);
        makePhoto(original, stored, orientation, true);
        const QByteArray before = bytesOf(original);
        writeBytes(dir.filePath(u"playa_web.jpg"_s), "una copia anterior");

        const WebCopy::Outcome outcome = WebCopy::prepare(original);
        QVERIFY2(outcome.copyPath == dir.filePath(u"playa_web.jpg"_s), qPrintable(outcome.error));
        QCOMPARE(bytesOf(original), before);
        const QImage made(outcome.copyPath);
        QCOMPARE(made.size(), copy);
        QVERIFY2(made.pixelColor(band).red() > 200, qPrintable(made.pixelColor(band).name()));

        auto read = Exiv2::ImageFactory::open(outcome.copyPath.toStdString());
        read->readMetadata();
        QVERIFY(read->exifData().empty() && read->xmpData().empty() && read->iptcData().empty());
        QCOMPARE(read->comment(), std::string());
    }

    // HEIC, PNG and WebP pictures: upright by the file's own turn (the EXIF
    // tag is not applied twice), transparent parts in the page's colour, the
    // first frame of an animation, the primary picture of several, and a
    // box for a damaged or cut file or one that claims too many pixels.
    void otherFormats_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("copy");
        QTest::addColumn<QPoint>("probe"); // a point of the copy, and its colour
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("message");
        const QColor navy(0, 0, 0x80), red(Qt::red);
        QTest::newRow("heic turned, located") << u"heic"_s << u"foto.heic"_s << QSize(960, 1280)
                                              << QPoint(955, 640) << red << QString();
        QTest::newRow("heic several") << u"heic several"_s << u"foto.HEIC"_s << QSize(1280, 960)
                                      << QPoint(640, 5) << red << QString();
        QTest::newRow("png") << u"png"_s << u"captura.png"_s << QSize(300, 200) << QPoint(10, 100)
                             << navy << QString();
        QTest::newRow("png 16-bit") << u"png 16-bit"_s << u"captura.png"_s << QSize(1280, 640)
                                    << QPoint(1000, 320) << red << QString();
        QTest::newRow("webp") << u"webp"_s << u"web.webp"_s << QSize(500, 300) << QPoint(250, 5)
                              << red << QString();
        QTest::newRow("webp animated") << u"webp animated"_s << u"gira.webp"_s << QSize(40, 30)
                                       << QPoint(20, 20) << red << QString();
        QTest::newRow("heic cut") << u"heic cut"_s << u"foto.heic"_s << QSize() << QPoint()
                                  << QColor() << WebCopyTexts::unreadable(u"foto.heic"_s);
        QTest::newRow("heic bomb")
            << u"heic bomb"_s << u"foto.heic"_s << QSize() << QPoint() << QColor()
            << WebCopyTexts::tooLarge(u"foto.heic"_s, {20000, 20000});
        QTest::newRow("png cut") << u"png 16-bit cut"_s << u"captura.png"_s << QSize() << QPoint()
                                 << QColor() << WebCopyTexts::unreadable(u"captura.png"_s);
        QTest::newRow("webp bomb")
            << u"webp bomb"_s << u"web.webp"_s << QSize() << QPoint() << QColor()
            << WebCopyTexts::tooLarge(u"web.webp"_s, {16383, 16383});
    }

    void otherFormats()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QSize, copy);
        QFETCH(QPoint, probe);
        QFETCH(QColor, colour);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString original = dir.filePath(name);
        makePicture(kind, original);
        const PhotoFacts facts = PhotoFacts::read(original);
        if (copy.isValid()) {
            QCOMPARE(facts.pixels.width() > facts.pixels.height(), copy.width() > copy.height());
            QCOMPARE(facts.hasLocation, kind.startsWith(u"heic"_s));
            QCOMPARE(facts.frames,
                     kind.contains(u"several"_s) || kind.contains(u"animated"_s) ? 2 : 1);
        }

        const WebCopy::Outcome outcome = WebCopy::prepare(original, {}, QColor(0, 0, 0x80));
        QCOMPARE(outcome.error, message);
        QCOMPARE(QFileInfo::exists(WebCopy::copyPathFor(original)), copy.isValid());
        if (!copy.isValid())
            return;
        const QImage made(outcome.copyPath);
        QCOMPARE(made.size(), copy);
        const QColor seen = made.pixelColor(probe);
        QVERIFY2(qAbs(seen.red() - colour.red()) < 40 && qAbs(seen.blue() - colour.blue()) < 40,
                 qPrintable(seen.name()));
        auto read = Exiv2::ImageFactory::open(outcome.copyPath.toStdString());
        read->readMetadata();
        QVERIFY(read->exifData().empty() && read->xmpData().empty());
    }

    // Each ends in a box that says why; the original is untouched and
    // nothing is left beside it.
    void badInput_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString photo = u"foto.jpg"_s, web = u"foto_web.jpg"_s;
        QTest::newRow("cut short") << u"cut"_s << WebCopyTexts::cutShort(photo);
        QTest::newRow("bomb") << u"bomb"_s << WebCopyTexts::tooLarge(photo, {30000, 30000});
        QTest::newRow("gone") << u"gone"_s << WebCopyTexts::gone(photo);
        QTest::newRow("folder read-only") << u"locked"_s << WebCopyTexts::notWritten(web);
        QTest::newRow("folder in the way") << u"folder"_s << WebCopyTexts::folderInTheWay(web);
        QTest::newRow("link in the way") << u"link"_s << WebCopyTexts::linkInTheWay(web);
    }

    void badInput()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString original = dir.filePath(u"foto.jpg"_s);
        makePhoto(original, {1800, 1200}, 1, true);
        QByteArray bytes = bytesOf(original);
        if (kind == u"cut"_s) {
            bytes.truncate(bytes.size() * 2 / 3);
        } else if (kind == u"bomb"_s) {
            // A small picture whose frame header claims 30000 × 30000.
            bytes.replace(bytes.indexOf("\xFF\xC0") + 5, 4, QByteArray::fromHex("75307530"));
        }
        writeBytes(original, bytes);
        if (kind == u"gone"_s)
            QVERIFY(QFile::remove(original));
        if (kind == u"folder"_s)
            QVERIFY(QDir(dir.path()).mkdir(u"foto_web.jpg"_s));
        if (kind == u"link"_s) {
            writeBytes(dir.filePath(u"otro.txt"_s), "otro");
            QVERIFY(QFile::link(u"otro.txt"_s, dir.filePath(u"foto_web.jpg"_s)));
        }
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const QByteArray before = bytesOf(original);

        if (kind == u"locked"_s) {
            QVERIFY(QFile::setPermissions(original, QFile::ReadOwner | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
            // Permissions do not bind the super-user: this thread looks at
            // the files as nobody (which fails harmlessly for anyone else).
            setfsgid(65534);
            setfsuid(65534);
        }
        const WebCopy::Outcome outcome = WebCopy::prepare(original);
        setfsuid(geteuid());
        setfsgid(getegid());
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QCOMPARE(outcome.error, message);
        QCOMPARE(bytesOf(original), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
        QCOMPARE(bytesOf(dir.filePath(u"otro.txt"_s)), kind == u"link"_s ? "otro" : QByteArray());
    }
};

QTEST_MAIN(TestWebCopy)
#include "tst_webcopy.moc"
