// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the page file: the stamp, the atomic replacement, the failures.

#include "page/ColourScheme.h"
#include "page/PageWriter.h"
#include "tests/page/PageText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

PageClock fixedClock(const QDateTime &when)
{
    return [when] { return when; };
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

PageSettings sample()
{
    PageSettings s;
    s.txtTitol = QStringLiteral(u"Página de prueba");
    s.txtEmail = QStringLiteral("a@b.example");
    return s;
}

} // namespace

class TestPageFile : public QObject {
    Q_OBJECT

private slots:
    void stamp_data()
    {
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("stamp");
        const QDate day(2026, 12, 8);
        QTest::newRow("es afternoon")
            << "es_ES" << QDateTime(day, QTime(17, 23, 7)) << "8/12/26 17:23:07";
        QTest::newRow("es morning")
            << "es_ES" << QDateTime(day, QTime(9, 5, 0)) << "8/12/26 9:05:00";
        QTest::newRow("es midnight") << "es_ES" << QDateTime(day, QTime(0, 0, 0, 999)) << "8/12/26";
        QTest::newRow("es one second after midnight")
            << "es_ES" << QDateTime(day, QTime(0, 0, 1)) << "8/12/26 0:00:01";
        QTest::newRow("de") << "de_DE" << QDateTime(day, QTime(17, 23, 7)) << "08.12.26 17:23:07";
        QTest::newRow("en_US") << "en_US" << QDateTime(day, QTime(17, 23, 7))
                               << "12/8/26 5:23:07 PM";
    }

    // The user's short date and long time, without the time zone.
    void stamp()
    {
        QFETCH(QString, localeName);
        QFETCH(QDateTime, when);
        QFETCH(QString, stamp);
        QCOMPARE(creationStamp(when, QLocale(localeName)), stamp);
    }

    void zoneTokenRemoved_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bracketed") << "H:mm:ss (t)"
                                   << "H:mm:ss";
        QTest::newRow("trailing") << "h:mm:ss AP t"
                                  << "h:mm:ss AP";
        QTest::newRow("leading") << "t HH:mm:ss"
                                 << "HH:mm:ss";
        QTest::newRow("quoted t kept") << "HH 'h' mm 'text' t"
                                       << "HH 'h' mm 'text'";
        QTest::newRow("no zone") << "HH:mm:ss"
                                 << "HH:mm:ss";
    }

    void zoneTokenRemoved()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(timeFormatWithoutZone(format), expected);
    }

    // The file holds exactly the rendered page, with the clock read once.
    void writesTheDocument()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.htm"));
        const QDateTime when(QDate(2026, 12, 8), QTime(17, 23, 7));
        int reads = 0;
        const PageClock clock = [&] {
            ++reads;
            return when;
        };
        const PageSettings s = sample();
        QVERIFY(WritePage(s, schemeFor(s), path, clock, QLocale(QStringLiteral("es_ES"))));
        QCOMPARE(reads, 1);
        const QByteArray expected = RenderPage(s, schemeFor(s), QStringLiteral("8/12/26 17:23:07"));
        const QString difference = PageText::firstDifference(expected, readAll(path));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // An earlier page is replaced whole, and nothing else is left in the folder.
    void replacesAnEarlierPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeFile(path, QByteArray(100000, 'o')));
        const PageSettings s = sample();
        QVERIFY(WritePage(s, schemeFor(s), path, fixedClock(QDateTime::currentDateTime())));
        QVERIFY(readAll(path).startsWith("<!-- Pagina Creada con Brenzo 3.0.0\r\n"));
        QVERIFY(readAll(path).endsWith("</HTML>\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
    }

    // Failures that any user can meet: no such folder, a folder of the page's name.
    void failsWithoutDamage()
    {
        QTemporaryDir dir;
        const PageSettings s = sample();
        const PageClock clock = systemClock();
        QVERIFY(
            !WritePage(s, schemeFor(s), dir.filePath(QStringLiteral("missing/index.htm")), clock));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("index.htm")));
        QVERIFY(!WritePage(s, schemeFor(s), dir.filePath(QStringLiteral("index.htm")), clock));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("index.htm"))).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void readOnlyFolderAndFile()
    {
        if (runningAsRoot())
            QSKIP("permissions do not bind the super-user");
        QTemporaryDir dir;
        const PageSettings s = sample();
        const QString page = dir.filePath(QStringLiteral("index.htm"));

        // A read-only page file stays as it was.
        QVERIFY(writeFile(page, "old page"));
        QVERIFY(QFile::setPermissions(page, QFile::ReadOwner));
        QVERIFY(!WritePage(s, schemeFor(s), page, systemClock()));
        QCOMPARE(readAll(page), QByteArray("old page"));

        // A read-only folder: nothing can be created in it.
        QVERIFY(QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!WritePage(s, schemeFor(s), page, systemClock()));
        QVERIFY(
            !WritePage(s, schemeFor(s), dir.filePath(QStringLiteral("otra.htm")), systemClock()));
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(readAll(page), QByteArray("old page"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
    }

#ifdef Q_OS_LINUX
    // A disk that fills up half way (simulated with the process's file size
    // limit, which binds the super-user too): the earlier page survives.
    void fullDiskKeepsEarlierPage()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeFile(page, "old page"));
        PageSettings s = sample();
        s.txtLibre = QString(1000, u'x').append(u'\n').repeated(200);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = WritePage(s, schemeFor(s), page, systemClock());
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!written);
        QCOMPARE(readAll(page), QByteArray("old page"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
    }
#endif
};

QTEST_GUILESS_MAIN(TestPageFile)
#include "tst_pagefile.moc"
