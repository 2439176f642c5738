// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-work file: every field there and back, the bad files that must
// give the defaults with the file kept aside, and the values cut or dropped
// on the way in.

#include "page/SavedWork.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using State = SavedWork::Found::State;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every field away from its default; names and texts beyond ISO-8859-1.
PageSettings everything(Combinacion colours)
{
    PageSettings s;
    s.txtTitol = u"Ελλάδα 写真 € – página"_s;
    s.txtSubTitol1 = u"  Subtítulo uno  "_s;
    s.txtSubTitol2 = u"Dos\tcon tabulador"_s;
    s.chkMarco = true;
    s.optCombinacion = colours;
    s.chkFondo = true;
    s.chkFondoFijo = false;
    s.stSonido = u"melodía.mid"_s;
    s.chkLoop = false;
    s.txtLibre = u"Primera línea\r\n\r\n  \r\nTras dos en blanco\n\u00a0no-break\r\n"_s;
    s.optTamano = Tamano::optSuper;
    s.chkNegrita = true;
    s.chkCursiva = true;
    s.lblNombreImagen1 = u"foto 写真.jpg"_s;
    s.txtImagen1 = u"http://uno.example/"_s;
    s.lblNombreImagen2 = u"dos.gif"_s;
    s.txtImagen2 = u"http://dos.example/ñ"_s;
    s.lblNombreImagen3 = u"tres.GIF"_s;
    s.TextoScroll = QString();
    s.optPosicion = Posicion::optDespuesTexto;
    s.txtTitolEnlaces = u"Mis enlaces"_s;
    for (int row = 0; row < kLinkRowCount; ++row)
        s.GridEnlaces[row] = {u"http://%1.example/"_s.arg(row + 1), u"Enlace %1 ✓"_s.arg(row + 1)};
    s.GridEnlaces[19].description.clear();
    s.txtTitolEmail = u"Escríbeme:"_s;
    s.txtEmail = u"ana@correo.example"_s;
    s.txtHTML = u"inicio.html"_s;
    s.chkMovil = true;
    return s;
}

} // namespace

class TestSavedWork : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<PageSettings>("settings");
        QTest::newRow("defaults") << PageSettings();
        const char *names[] = {"optBlanco", "optNoche", "optRojo",
                               "optCielo",  "optVerde", "optAmarillo"};
        for (int colour = 0; colour < 6; ++colour)
            QTest::newRow(names[colour]) << everything(Combinacion(colour));
        PageSettings gaps;
        gaps.GridEnlaces[4] = {u"http://cinco.example/"_s, QString()};
        gaps.GridEnlaces[11] = {QString(), u"solo palabras"_s};
        QTest::newRow("rows with gaps") << gaps;
    }

    void roundTrip()
    {
        QFETCH(PageSettings, settings);
        QTemporaryDir folder;
        for (const QString &name : {settings.stSonido, settings.lblNombreImagen1,
                                    settings.lblNombreImagen2, settings.lblNombreImagen3}) {
            if (!name.isEmpty())
                writeFile(folder.filePath(name), "x");
        }
        const QDateTime when(QDate(2026, 12, 8), QTime(17, 40, 12));
        QVERIFY(SavedWork::write(folder.path(), SavedWork::toJson(settings, when, false)));

        const SavedWork::Found found = SavedWork::read(folder.path());
        QCOMPARE(found.state, State::Read);
        QVERIFY(found.missingFiles.isEmpty());
        QVERIFY(found.contents.settings == settings);
        QCOMPARE(found.contents.savedAt, when);
        QCOMPARE(found.contents.draft, false);

        // UTF-8 text a person can read, with its format number.
        const QByteArray bytes = readFile(folder.filePath(SavedWork::fileName()));
        QCOMPARE(QJsonDocument::fromJson(bytes).object().value(u"formato"_s).toInt(), 1);
        if (!settings.txtTitol.isEmpty())
            QVERIFY(bytes.contains(settings.txtTitol.toUtf8()));
    }

    // Nothing this program can read: the defaults, and the file moved aside
    // intact, never overwritten.
    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = SavedWork::toJson(everything(Combinacion::optRojo), {}, true);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QTest::newRow("damaged") << QByteArray(good).replace(':', '=');
        QTest::newRow("not json") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10);
        QTest::newRow("foreign json") << QByteArray(R"({"name": "otra cosa", "version": 3})");
        QTest::newRow("array") << QByteArray("[1, 2, 3]");
        QTest::newRow("newer format")
            << QByteArray(good).replace("\"formato\": 1", "\"formato\": 2");
        QTest::newRow("format as text")
            << QByteArray(good).replace("\"formato\": 1", "\"formato\": \"1\"");
        QTest::newRow("over 16 MiB") << good + QByteArray(16 << 20, ' ');
    }

    void unreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        const QString path = folder.filePath(SavedWork::fileName());
        writeFile(path, bytes);
        QCOMPARE(SavedWork::read(folder.path()).state, State::Unreadable);

        QCOMPARE(SavedWork::setAside(folder.path()), u"mi-pagina-no-leida.brenzo"_s);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(readFile(folder.filePath(u"mi-pagina-no-leida.brenzo"_s)), bytes);
        // A second one keeps the first.
        writeFile(path, bytes);
        QCOMPARE(SavedWork::setAside(folder.path()), u"mi-pagina-no-leida-2.brenzo"_s);
        QCOMPARE(SavedWork::read(folder.path()).state, State::None);
    }

    // Hand-edited or odd values: cut to their limits, wrong types give the
    // default, unknown keys are ignored, missing media leave their slot empty.
    void valuesTakenWithCare()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(u"campanas.wav"_s), "RIFF");
        writeFile(folder.filePath(u"foto.jpg"_s), "x");
        QJsonObject page{
            {u"txtTitol"_s, QString(150, u'T')},
            {u"txtHTML"_s, u"una-pagina-con-un-nombre-muy-largo.htm"_s},
            {u"txtEmail"_s, 42},
            {u"chkFondoFijo"_s, u"no"_s},
            {u"chkMarco"_s, true},
            {u"optCombinacion"_s, u"optMorado"_s},
            {u"optTamano"_s, u"optGrande"_s},
            {u"GridEnlaces"_s, u"ninguno"_s},
            {u"colorFavorito"_s, u"verde"_s},
            {u"stSonido"_s, u"campanas.wav"_s},
            {u"lblNombreImagen1"_s, u"borrada.gif"_s},
            {u"lblNombreImagen2"_s, u"../foto.jpg"_s},
            {u"lblNombreImagen3"_s, u"foto.jpg"_s},
        };
        const QJsonObject root{{u"formato"_s, 1}, {u"pagina"_s, page}, {u"otro"_s, 7}};
        writeFile(folder.filePath(SavedWork::fileName()), QJsonDocument(root).toJson());

        const SavedWork::Found found = SavedWork::read(folder.path());
        QCOMPARE(found.state, State::Read);
        const PageSettings &s = found.contents.settings;
        const PageSettings defaults;
        QCOMPARE(s.txtTitol, QString(100, u'T'));
        QCOMPARE(s.txtHTML, u"una-pagina-con-un-nombre-muy-l"_s);
        QCOMPARE(s.txtEmail, defaults.txtEmail);
        QCOMPARE(s.chkFondoFijo, defaults.chkFondoFijo);
        QCOMPARE(s.chkMarco, true);
        QCOMPARE(s.optCombinacion, defaults.optCombinacion);
        QCOMPARE(s.optTamano, Tamano::optGrande);
        QVERIFY(s.GridEnlaces == defaults.GridEnlaces);
        QCOMPARE(s.stSonido, u"campanas.wav"_s);
        QCOMPARE(s.lblNombreImagen1, QString());
        QCOMPARE(s.lblNombreImagen2, QString());
        QCOMPARE(s.lblNombreImagen3, u"foto.jpg"_s);
        QCOMPARE(found.missingFiles, QStringList({u"borrada.gif"_s, u"../foto.jpg"_s}));
        // No stamp in the file: the file's own time.
        QVERIFY(found.contents.savedAt.isValid());
    }

    // A link is no file the lists offer, wherever it points.
    void linkedMediaMissing()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(u"foto.jpg"_s), "x");
        QVERIFY(QFile::link(folder.filePath(u"foto.jpg"_s), folder.filePath(u"secreto.jpg"_s)));
        PageSettings settings;
        settings.lblNombreImagen1 = u"secreto.jpg"_s;
        writeFile(folder.filePath(SavedWork::fileName()), SavedWork::toJson(settings, {}, true));
        const SavedWork::Found found = SavedWork::read(folder.path());
        QCOMPARE(found.contents.settings.lblNombreImagen1, QString());
        QCOMPARE(found.missingFiles, QStringList{u"secreto.jpg"_s});
    }
};

QTEST_GUILESS_MAIN(TestSavedWork)
#include "tst_savedwork.moc"
