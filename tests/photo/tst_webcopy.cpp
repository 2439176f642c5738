// SPDX-License-Identifier: GPL-3.0-or-later
// A photo made ready for the web: what is told about it, the copy's size,
// turn and lack of metadata, and bad input refused without harm.

#include "PhotoFacts.h"
#include "WebCopy.h"
#include "WebCopyTexts.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
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

// A photo as a camera leaves it: a red band along its top, the camera's
// metadata and a comment, and the place when asked. Noise makes it heavy.
void makePhoto(const QString &path, QSize size, int orientation, bool located, bool noise = false)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    for (int y = 0; noise && y < size.height(); ++y)
        QRandomGenerator(y).fillRange(reinterpret_cast<quint32 *>(image.scanLine(y)), size.width());
    QPainter(&image).fillRect(0, 0, size.width(), size.height() / 8, Qt::red);
    QVERIFY(image.save(path, "JPEG", noise ? 100 : 90));
    auto photo = Exiv2::ImageFactory::open(path.toStdString());
    photo->readMetadata();
    Exiv2::ExifData &exif = photo->exifData();
    exif["Exif.Image.Make"] = "Camara";
    exif["Exif.Image.Orientation"] = uint16_t(orientation);
    if (located) {
        exif["Exif.GPSInfo.GPSLatitude"] = "40/1 25/1 0/1";
        exif["Exif.GPSInfo.GPSLongitude"] = "3/1 42/1 0/1";
    }
    photo->setComment("Casa de la abuela");
    photo->writeMetadata();
}

} // namespace

class TestWebCopy : public QObject {
    Q_OBJECT

private slots:
    void facts_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("located");
        QTest::addColumn<bool>("noise");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<bool>("worth");
        QTest::newRow("small") << QSize(640, 480) << 1 << false << false << QSize(640, 480)
                               << false;
        QTest::newRow("wide") << QSize(1700, 900) << 1 << false << false << QSize(1700, 900)
                              << true;
        QTest::newRow("turned") << QSize(900, 1601) << 6 << false << false << QSize(1601, 900)
                                << true;
        QTest::newRow("heavy") << QSize(1200, 900) << 1 << false << true << QSize(1200, 900)
                               << true;
        QTest::newRow("located") << QSize(640, 480) << 1 << true << false << QSize(640, 480)
                                 << true;
    }

    void facts()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(bool, located);
        QFETCH(bool, noise);
        QFETCH(QSize, shown);
        QFETCH(bool, worth);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"foto.jpg"_s);
        makePhoto(path, stored, orientation, located, noise);
        const PhotoFacts facts = PhotoFacts::read(path);
        QCOMPARE(facts.pixels, shown);
        QCOMPARE(facts.hasLocation, located);
        QCOMPARE(facts.bytes > 1000000, noise);
        QCOMPARE(facts.worthPreparing(), worth);
    }

    void question()
    {
        QCOMPARE(WebCopyTexts::question(u"playa.jpg"_s, {3'940'000, {4032, 3024}, true}),
                 u"La foto «playa.jpg» ocupa 3,9 MB y mide 4032 × 3024 píxeles. Guarda además el "
                 u"lugar donde se tomó, que cualquiera que visite su página podría leer.\n\nLa "
                 u"copia para la web, «playa_web.jpg», mide como mucho 1280 píxeles de lado, pesa "
                 u"mucho menos y no lleva el lugar ni otros datos de la cámara. La foto original "
                 u"no cambia.\n\n¿Desea preparar una copia para la web?"_s);
        QVERIFY(WebCopyTexts::question(u"a.jpg"_s, {20'400, {2000, 100}, false})
                    .startsWith(u"La foto «a.jpg» ocupa 20 KB y mide 2000 × 100 píxeles.\n\n"_s));
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
        QCOMPARE(outcome.error, QString());
        QCOMPARE(outcome.copyPath, dir.filePath(u"playa_web.jpg"_s));
        QCOMPARE(bytesOf(original), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        const QImage made(outcome.copyPath);
        QCOMPARE(made.size(), copy);
        QVERIFY2(made.pixelColor(band).red() > 200, qPrintable(made.pixelColor(band).name()));

        auto read = Exiv2::ImageFactory::open(outcome.copyPath.toStdString());
        read->readMetadata();
        QVERIFY(read->exifData().empty());
        QVERIFY(read->xmpData().empty());
        QVERIFY(read->iptcData().empty());
        QCOMPARE(read->comment(), std::string());
        QVERIFY(!PhotoFacts::read(outcome.copyPath).hasLocation);
    }

    // Each ends in a box that says why; the original is untouched and
    // nothing is left beside it.
    void badInput_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QSize bomb(30000, 30000);
        QTest::newRow("cut short") << u"cut"_s << WebCopyTexts::cutShort(u"foto.jpg"_s);
        QTest::newRow("bomb") << u"bomb"_s << WebCopyTexts::tooLarge(u"foto.jpg"_s, bomb);
        QTest::newRow("no picture") << u"text"_s << WebCopyTexts::unreadable(u"foto.jpg"_s);
        QTest::newRow("gone") << u"gone"_s << WebCopyTexts::gone(u"foto.jpg"_s);
        QTest::newRow("folder read-only")
            << u"locked"_s << WebCopyTexts::notWritten(u"foto_web.jpg"_s);
        QTest::newRow("folder in the way")
            << u"folder"_s << WebCopyTexts::folderInTheWay(u"foto_web.jpg"_s);
        QTest::newRow("link in the way")
            << u"link"_s << WebCopyTexts::linkInTheWay(u"foto_web.jpg"_s);
    }

    void badInput()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString original = dir.filePath(u"foto.jpg"_s);
        const QString copy = dir.filePath(u"foto_web.jpg"_s);
        makePhoto(original, {1800, 1200}, 1, true);
        QByteArray bytes = bytesOf(original);
        if (kind == u"cut"_s) {
            bytes.truncate(bytes.size() * 2 / 3);
        } else if (kind == u"bomb"_s) {
            // A small picture whose frame header claims 30000 × 30000.
            const qsizetype frame = bytes.indexOf("\xFF\xC0");
            QVERIFY(frame > 0);
            bytes.replace(frame + 5, 4, QByteArray::fromHex("75307530"));
        } else if (kind == u"text"_s) {
            bytes = "esto no es una foto";
        }
        writeBytes(original, bytes);
        if (kind == u"gone"_s)
            QVERIFY(QFile::remove(original));
        if (kind == u"folder"_s)
            QVERIFY(QDir(dir.path()).mkdir(u"foto_web.jpg"_s));
        if (kind == u"link"_s) {
            writeBytes(dir.filePath(u"otro.txt"_s), "otro");
            QVERIFY(QFile::link(u"otro.txt"_s, copy));
        }
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const QByteArray before = bytesOf(original);

        // Permissions do not bind the super-user: this thread then looks at
        // the files as nobody.
        const bool locked = kind == u"locked"_s;
        const bool asNobody = locked && geteuid() == 0;
        if (locked) {
            QVERIFY(QFile::setPermissions(original, QFile::ReadOwner | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
        }
        if (asNobody) {
            setfsgid(65534);
            setfsuid(65534);
        }
        const WebCopy::Outcome outcome = WebCopy::prepare(original);
        if (asNobody) {
            setfsuid(0);
            setfsgid(0);
        }
        if (locked)
            QVERIFY(QFile::setPermissions(dir.path(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QCOMPARE(outcome.error, message);
        QCOMPARE(outcome.copyPath, QString());
        QCOMPARE(bytesOf(original), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
        QCOMPARE(bytesOf(dir.filePath(u"otro.txt"_s)), kind == u"link"_s ? "otro" : QByteArray());
    }
};

QTEST_MAIN(TestWebCopy)
#include "tst_webcopy.moc"
