// SPDX-License-Identifier: GPL-3.0-or-later
// The file list shared by the sound page and the three picture slots.

#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/FileList.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestFileList : public QObject {
    Q_OBJECT

private slots:
    void maskAndSorting_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        const QStringList pictures{u"b.jpg"_s,         u"Foto.Gif"_s,      u"a.GIF"_s,
                                   u"x.JPG"_s,         u"c.png"_s,         u"Zeta.jpeg"_s,
                                   u"notas.gif.txt"_s, u"sin extension"_s, u"árbol.jpg"_s};
        QTest::newRow("pictures") << u"*.GIF;*.JPG"_s << pictures
                                  << QStringList{u"a.GIF"_s, u"árbol.jpg"_s, u"b.jpg"_s,
                                                 u"Foto.Gif"_s, u"x.JPG"_s};
        QTest::newRow("sounds") << u"*.MID;*.WAV"_s
                                << QStringList{u"Tono.WAV"_s, u"melodia.mid"_s, u"B.Mid"_s,
                                               u"x.wave"_s,   u"sonido.wav"_s,  u"a.mp3"_s}
                                << QStringList{u"B.Mid"_s, u"melodia.mid"_s, u"sonido.wav"_s,
                                               u"Tono.WAV"_s};
        QTest::newRow("nothing matches") << u"*.MID;*.WAV"_s << pictures << QStringList{};
    }

    void maskAndSorting()
    {
        QFETCH(QString, mask);
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QTemporaryDir folder;
        for (const QString &name : files)
            writeFile(folder.filePath(name), "x");
        // Folders are never listed, whatever their names.
        QVERIFY(QDir(folder.path()).mkdir(u"carpeta.gif"_s));
        QVERIFY(QDir(folder.path()).mkdir(u"carpeta.wav"_s));
        // Nor are links, whatever they point to.
        QVERIFY(QFile::link(folder.filePath(u"b.jpg"_s), folder.filePath(u"secreto.jpg"_s)));

        FileList list(u"lista"_s, mask, nullptr);
        QCOMPARE(list.count(), 0); // nothing is read before it is pointed at a folder
        list.setFolder(folder.path());
        QCOMPARE(itemNames(&list), listed);
        QCOMPARE(list.selectedName(), QString());
    }

    // Pointing again at the same folder keeps the items and the selection;
    // re-reading picks up new files and leaves nothing selected, without
    // counting as a choice.
    void rereadOnDemand()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(u"uno.gif"_s), "x");
        writeFile(folder.filePath(u"tres.jpg"_s), "x");
        FileList list(u"lista"_s, u"*.GIF;*.JPG"_s, nullptr);
        list.resize(200, 100);
        list.show();
        QSignalSpy picked(&list, &FileList::picked);
        list.setFolder(folder.path());
        QVERIFY(list.hasBeenRead());

        clickItem(&list, u"uno.gif"_s);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(list.selectedName(), u"uno.gif"_s);
        QCOMPARE(list.selectedPath(), QDir(folder.path()).filePath(u"uno.gif"_s));

        QTest::keyClick(&list, Qt::Key_Up); // the keyboard chooses too
        QCOMPARE(picked.count(), 2);
        QCOMPARE(list.selectedName(), u"tres.jpg"_s);

        writeFile(folder.filePath(u"dos.JPG"_s), "x");
        list.setFolder(folder.path());
        QCOMPARE(itemNames(&list), (QStringList{u"tres.jpg"_s, u"uno.gif"_s}));
        QCOMPARE(list.selectedName(), u"tres.jpg"_s);

        list.reread();
        QCOMPARE(itemNames(&list), (QStringList{u"dos.JPG"_s, u"tres.jpg"_s, u"uno.gif"_s}));
        QCOMPARE(list.selectedName(), QString());
        QCOMPARE(list.selectedPath(), QString());
        QCOMPARE(picked.count(), 2);
    }
};

BRENZO_PAGES_TEST_MAIN(TestFileList)
#include "tst_filelist.moc"
