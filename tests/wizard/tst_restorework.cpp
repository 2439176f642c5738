// SPDX-License-Identifier: GPL-3.0-or-later
// The user's work kept between sessions, through the real window: every page
// shows it again at the next start and the rewritten page is the same; a bad
// file, a missing picture and a folder that cannot be written lose nothing;
// a killed program leaves its last draft.

#include "tests/wizard/MediaPagesSupport.h"

#include "page/SavedWork.h"
#include "ui/LinkLabel.h"
#include "wizard/CentralTextPage.h"
#include "wizard/FileList.h"
#include "wizard/PicturePreview.h"
#include "wizard/SavedWorkKeeper.h"
#include "wizard/WelcomePage.h"

#include <QCheckBox>
#include <QMovie>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

namespace {

const QString kCentralText = u"Primera línea ✓\n\n  \nÚltima, tras dos en blanco"_s;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString savedWorkPath(const WizardFixture &f)
{
    return f.path(SavedWork::fileName());
}

// Fills every page as a user would, the lists by clicks.
void fillEveryPage(WizardFixture &f)
{
    f.edit(u"txtTitol"_s)->setText(u"Mi página de Ελλάδα"_s);
    f.edit(u"txtSubTitol1"_s)->setText(u"Uno"_s);
    f.tick(u"chkMarco"_s);
    f.find<QRadioButton>(u"optCielo"_s)->setChecked(true);
    f.tick(u"chkFondoFijo"_s);
    f.goTo(3);
    clickItem(f.find<FileList>(u"FileListBox1"_s), u"melodia.mid"_s);
    f.tick(u"chkLoop"_s);
    f.next();
    f.find<QPlainTextEdit>(u"txtLibre"_s)->setPlainText(kCentralText);
    f.find<QRadioButton>(u"optGrande"_s)->setChecked(true);
    f.tick(u"chkCursiva"_s);
    f.next();
    const QStringList pictures = {u"foto_playa.jpg"_s, u"estrella.gif"_s, u"Logo.Gif"_s};
    for (int number = 1; number <= 3; ++number) {
        f.click(u"btnImagen%1"_s.arg(number));
        clickItem(f.find<FileList>(u"lstImagen%1"_s.arg(number)), pictures[number - 1]);
    }
    f.edit(u"txtImagen1"_s)->setText(u"http://playa.example/"_s);
    f.next();
    f.edit(u"TextoScroll"_s)->setText(u"Bienvenidos"_s);
    f.find<QRadioButton>(u"optDespuesTexto"_s)->setChecked(true);
    f.next();
    auto *grid = f.find<QTableWidget>(u"GridEnlaces"_s);
    for (int row = 0; row < kLinkRowCount; ++row) {
        grid->item(row, 0)->setText(u"http://%1.example/"_s.arg(row + 1));
        grid->item(row, 1)->setText(u"Sitio %1"_s.arg(row + 1));
    }
    f.next();
    f.edit(u"txtEmail"_s)->setText(u"ana@correo.example"_s);
    f.edit(u"txtHTML"_s)->setText(u"inicio.htm"_s);
}

// The child of crashKeepsTheDraft: types a central text, leaves page 4 and
// reports every finished save on its output until it is killed.
int runDraftChild(int argc, char **argv, const QString &folder)
{
    BrenzoApplication app(argc, argv);
    RecordingPrompts prompts;
    QDir::setCurrent(folder);
    TfrmWeb window(prompts);
    window.show();
    QObject::connect(&window.savedWork().writer(), &SavedWorkWriter::saved, [](bool ok) {
        std::printf(ok ? "guardado\n" : "fallo\n");
        std::fflush(stdout);
    });
    window.btnSiguienteClick();
    window.findChild<QLineEdit *>(u"txtTitol"_s)->setText(u"Título"_s);
    for (int page = 1; page < 4; ++page)
        window.btnSiguienteClick();
    window.findChild<QPlainTextEdit *>(u"txtLibre"_s)->setPlainText(kCentralText);
    window.btnSiguienteClick();
    return app.exec();
}

} // namespace

class TestSavedWorkWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"es_ES"_s)); }

    void restoreThroughTheWindow()
    {
        WizardFixture f;
        const GeneralErrorsTo errors(f.prompts);
        copySamples(f);
        fillEveryPage(f);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);
        const PageSettings written = f.window->settings();
        const QByteArray page = readFile(f.path(u"inicio.htm"_s));
        QVERIFY(!f.find<QListWidget>(u"lstFinal"_s)
                     ->findItems(SavedWork::fileName(), Qt::MatchContains)
                     .size());

        f.restart();
        QVERIFY2(f.prompts.messageTexts().isEmpty(),
                 qPrintable(f.prompts.messageTexts().join('\n')));
        auto *welcome = static_cast<WelcomePage *>(f.window->page(PageIndex::Welcome));
        QVERIFY(welcome->lblRecuperado->isVisible());
        QVERIFY(welcome->lblRecuperado->text().startsWith(
            u"Se han recuperado los datos de su página (inicio.htm, guardados el "_s));
        QVERIFY(welcome->lblPaginaNueva->isVisible());
        QVERIFY(f.window->settings() == written);

        // The lists show their files chosen, and the previews show them.
        QCOMPARE(f.find<FileList>(u"FileListBox1"_s)->selectedName(), u"melodia.mid"_s);
        QCOMPARE(f.find<FileList>(u"lstImagen1"_s)->selectedName(), u"foto_playa.jpg"_s);
        QVERIFY(!f.find<StillPreview>(u"imgJPG1"_s)->isHidden());
        QTRY_VERIFY(!f.find<StillPreview>(u"imgJPG1"_s)->pixmap().isNull());
        QVERIFY(!f.find<AnimatedPreview>(u"RXGIF2"_s)->isHidden());
        QVERIFY(f.find<AnimatedPreview>(u"RXGIF2"_s)->movie()->isValid());
        QCOMPARE(f.find<FileList>(u"lstImagen3"_s)->selectedName(), u"Logo.Gif"_s);

        // Reiniciar then forward: still the same; the page rewritten is the
        // same bytes but for its stamp.
        f.goTo(4);
        f.click(u"btnReinicia"_s);
        f.prompts.answers.enqueue(true); // replace inicio.htm
        f.goTo(9);
        const QByteArray again = readFile(f.path(u"inicio.htm"_s));
        QByteArray expected = page;
        expected.replace(PageText::stampOf(page).toLatin1(), PageText::stampOf(again).toLatin1());
        QCOMPARE(PageText::firstDifference(expected, again), QString());
    }

    void startANewPage()
    {
        WizardFixture f;
        PageSettings earlier;
        earlier.txtTitol = u"Antes"_s;
        earlier.optCombinacion = Combinacion::optNoche;
        earlier.txtLibre = kCentralText;
        earlier.GridEnlaces[3] = {u"http://cuatro.example/"_s, u"Cuatro"_s};
        earlier.lblNombreImagen3 = u"borrada.gif"_s;
        const QByteArray bytes =
            SavedWork::toJson(earlier, QDateTime(QDate(2026, 12, 8), QTime(17, 40)), false);
        writeFile(savedWorkPath(f), bytes);
        f.restart();
        auto *welcome = static_cast<WelcomePage *>(f.window->page(PageIndex::Welcome));
        QCOMPARE(welcome->lblRecuperado->text(),
                 u"Se han recuperado los datos de su página (index.htm, guardados el 08/12/2026 a "
                 "las 17:40). Falta el archivo borrada.gif."_s);
        f.window->page(4); // one page built before, the others after

        f.prompts.answers.enqueue(false);
        QTest::mouseClick(welcome->lblPaginaNueva, Qt::LeftButton);
        QCOMPARE(f.find<QPlainTextEdit>(u"txtLibre"_s)->toPlainText(), kCentralText);

        f.prompts.answers.enqueue(true); // from the keyboard this time
        welcome->lblPaginaNueva->setFocus();
        QTest::keyClick(welcome->lblPaginaNueva, Qt::Key_Space);
        QVERIFY(f.window->settings() == PageSettings());
        QVERIFY(!welcome->lblRecuperado->isVisible());
        QVERIFY(!welcome->lblPaginaNueva->isVisible());
        QCOMPARE(readFile(savedWorkPath(f)), bytes); // kept until the next save
    }

    // A name longer than any file's is named by its start only, and a name
    // wider than the line is cut there with "…"; the tool tip has it all.
    void longMissingName()
    {
        SavedWork::Found found;
        found.missingFiles = {QString(300, u'n')};
        QVERIFY(SavedWorkKeeper::recoveredLine(found).endsWith(u" Falta el archivo "_s +
                                                               QString(255, u'n') + u"…."_s));
        const QString wide = u"Falta el archivo "_s + QString(255, u'n') + u'.';
        RecordingPrompts prompts;
        WelcomePage welcome(prompts, nullptr);
        welcome.showRecovered(wide);
        QVERIFY(welcome.lblRecuperado->text().endsWith(u"nnn…"_s));
        QCOMPARE(welcome.lblRecuperado->toolTip(), wide);
    }

    void unreadableFileKeptAside()
    {
        WizardFixture f;
        const QByteArray damaged = SavedWork::toJson(PageSettings(), {}, true).left(40);
        writeFile(savedWorkPath(f), damaged);
        f.restart();
        QTRY_COMPARE(f.prompts.ofKind(Kind::Message).size(), 1);
        const RecordingPrompts::Call box = f.prompts.ofKind(Kind::Message).first();
        QCOMPARE(box.icon, PromptIcon::Warning);
        QCOMPARE(box.text, SavedWorkKeeper::unreadableMessage(u"mi-pagina-no-leida.brenzo"_s));
        QVERIFY(box.text.contains(u"No se han podido leer los datos guardados"_s));
        QVERIFY(f.window->settings() == PageSettings());
        QCOMPARE(readFile(f.path(u"mi-pagina-no-leida.brenzo"_s)), damaged);
        QVERIFY(static_cast<WelcomePage *>(f.window->page(0))->lblRecuperado == nullptr);
    }

    // The draft cannot be written (a folder stands where the file goes): no
    // box at any page change; the page write after it saves again.
    void unwritableDraftIsSilent()
    {
        WizardFixture f;
        QVERIFY(QDir(f.folder()).mkdir(SavedWork::fileName()));
        f.restart();
        QSignalSpy saves(&f.window->savedWork().writer(), &SavedWorkWriter::saved);
        f.goTo(3);
        QVERIFY(saves.wait(10000));
        QCOMPARE(saves.first().first().toBool(), false);
        f.back();
        f.next();
        QVERIFY(f.prompts.calls.isEmpty());

        QVERIFY(QDir(f.folder()).rmdir(SavedWork::fileName()));
        f.goTo(9);
        QVERIFY(f.prompts.calls.isEmpty());
        f.window.reset(); // its saves finished
        const SavedWork::Found found = SavedWork::read(f.folder());
        QCOMPARE(found.contents.settings.txtTitol, u"Mi página"_s);
        QCOMPARE(found.contents.draft, false);
    }

    void crashKeepsTheDraft()
    {
        QTemporaryDir folder;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"BRENZO_DRAFT_CHILD"_s, folder.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath());
        const auto end = qScopeGuard([&child] {
            child.kill();
            child.waitForFinished();
        });
        const QString path = QDir(folder.path()).filePath(SavedWork::fileName());
        bool drafted = false;
        while (!drafted && child.waitForReadyRead(20000)) {
            while (child.canReadLine()) {
                QCOMPARE(child.readLine(), QByteArray("guardado\n"));
                drafted = readFile(path).contains("Primera l");
            }
        }
        QVERIFY(drafted);
        const SavedWork::Found found = SavedWork::read(folder.path());
        QCOMPARE(found.state, SavedWork::Found::State::Read);
        QCOMPARE(found.contents.settings.txtLibre, kCentralText);
        QCOMPARE(found.contents.draft, true);
    }
};

int main(int argc, char **argv)
{
    const QString childFolder = qEnvironmentVariable("BRENZO_DRAFT_CHILD");
    if (!childFolder.isEmpty())
        return runDraftChild(argc, argv, childFolder);
    BrenzoApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestSavedWorkWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_restorework.moc"
