// SPDX-License-Identifier: GPL-3.0-or-later
// Leaving the last data page: the checks, the replace question, the written
// page and the list of files to publish.

#include "tests/wizard/WizardFixture.h"

#include "page/ColourScheme.h"
#include "page/GenerationRun.h"
#include "page/PageWriter.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

} // namespace

class TestWizardGeneration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"es_ES"_s)); }

    void emailCheck_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("passes");
        QTest::newRow("default @") << "@" << false;
        QTest::newRow("short") << " a@.b " << false;
        QTest::newRow("valid") << "  a@b.c  " << true;
    }

    void emailCheck()
    {
        QFETCH(QString, email);
        QFETCH(bool, passes);
        WizardFixture f;
        f.goTo(8);
        f.edit(u"txtEmail"_s)->setText(email);
        f.edit(u"txtHTML"_s)->setText(u" index.htm "_s);
        f.next();
        if (passes) {
            QCOMPARE(f.window->pageIndex(), 9);
            QVERIFY(f.prompts.ofKind(Kind::Message).isEmpty());
            return;
        }
        QCOMPARE(f.window->pageIndex(), 8);
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, u"La dirección E-Mail especificada no es correcta"_s);
        QCOMPARE(shown.first().title, u"Brenzo"_s);
        QCOMPARE(shown.first().icon, PromptIcon::NoIcon);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtEmail"_s));
        QCOMPARE(f.edit(u"txtEmail"_s)->text(), email);
        QCOMPARE(f.edit(u"txtHTML"_s)->text(), u" index.htm "_s); // untouched
        QVERIFY(!QFile::exists(f.path(u"index.htm"_s)));
    }

    void titleCheck()
    {
        WizardFixture f;
        f.next();
        f.edit(u"txtTitol"_s)->setText(u"\t  "_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 1);
        QCOMPARE(f.prompts.messageTexts(), QStringList{u"Debe Especificar Título Principal"_s});
        QCOMPARE(f.prompts.calls.first().title, u"Brenzo"_s);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitol"_s));
        QCOMPARE(f.edit(u"txtTitol"_s)->text(), u"\t  "_s);
    }

    void fileNameCheck()
    {
        WizardFixture f;
        f.goTo(8);
        f.edit(u"txtHTML"_s)->setText(u"  MI PAGINA.HTM "_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 8);
        QCOMPARE(f.prompts.messageTexts(),
                 QStringList{u"El nombre de archivo página WEB es incorrecto"_s});
        QCOMPARE(f.edit(u"txtHTML"_s)->text(), u"mi pagina.htm"_s);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtHTML"_s));
    }

    // Answering No writes nothing and keeps the previous run's list; Yes
    // writes the page again.
    void replaceQuestion()
    {
        WizardFixture f;
        f.goTo(9);
        const QStringList firstRun = f.window->publishFiles();
        QCOMPARE(firstRun.size(), 3);
        f.back();
        QFile::resize(f.path(u"index.htm"_s), 5);
        f.window->findChild<QCheckBox *>(u"chkMarco"_s)->setChecked(true);

        f.prompts.answers.enqueue(false);
        f.next();
        QCOMPARE(f.window->pageIndex(), 8);
        const auto asked = f.prompts.ofKind(Kind::Question);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().text, u"El archivo index.htm ya existe  ¿ Desea reemplazarlo ?"_s);
        QCOMPARE(asked.first().title, u"Brenzo"_s);
        QCOMPARE(QFileInfo(f.path(u"index.htm"_s)).size(), 5);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtHTML"_s));
        QCOMPARE(f.window->publishFiles(), firstRun);

        f.prompts.answers.enqueue(true);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);
        QVERIFY(readFile(f.path(u"index.htm"_s)).contains("<TABLE BORDER=4><TR><TD>"));
    }

    // A page that cannot be written: one message, the pointer restored, the
    // wizard stays on the page, the list rebuilt.
    void writeFailure()
    {
        WizardFixture f;
        QVERIFY(QDir(f.folder()).mkdir(u"index.htm"_s));
        f.goTo(8);
        f.prompts.onCall = [](const RecordingPrompts::Call &) {
            QVERIFY(!QApplication::overrideCursor());
        };
        f.next();
        QCOMPARE(f.window->pageIndex(), 8);
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, u"Error"_s);
        QCOMPARE(shown.first().text, u"Error: No puede crearse página WEB"_s);
        QCOMPARE(shown.first().icon, PromptIcon::Critical);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(f.window->publishFiles().size(), 3);
        QVERIFY(f.prompts.ofKind(Kind::Question).isEmpty()); // a folder is no page file
    }

    // Pages 1, 2, 7 and 8 filled as a user does; the page written in the
    // start-up folder is the writer's page for the same choices.
    void endToEnd()
    {
        WizardFixture f;
        f.next();
        QTest::keyClicks(f.edit(u"txtTitol"_s), u"  La casa de Ana  "_s);
        QTest::keyClicks(f.edit(u"txtSubTitol2"_s), u"Bienvenidos"_s);
        f.tick(u"chkMarco"_s);
        f.next();
        f.tick(u"optCielo"_s);
        f.tick(u"chkFondoFijo"_s);
        f.goTo(7);
        QLineEdit *heading = f.edit(u"txtTitolEnlaces"_s);
        heading->selectAll();
        QTest::keyClicks(heading, u"Mis enlaces"_s);
        auto *grid = f.find<QTableWidget>(u"GridEnlaces"_s);
        grid->item(2, 0)->setText(u"http://tres.example/"_s);
        grid->item(2, 1)->setText(u"Tres"_s);
        f.next();
        QLineEdit *email = f.edit(u"txtEmail"_s);
        email->selectAll();
        QTest::keyClicks(email, u"ana@correo.example"_s);
        QLineEdit *name = f.edit(u"txtHTML"_s);
        name->selectAll();
        QTest::keyClicks(name, u"Casa.HTML"_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);

        PageSettings expected;
        expected.txtTitol = u"  La casa de Ana  "_s;
        expected.txtSubTitol2 = u"Bienvenidos"_s;
        expected.chkMarco = true;
        expected.optCombinacion = Combinacion::optCielo;
        expected.chkFondoFijo = false;
        expected.txtTitolEnlaces = u"Mis enlaces"_s;
        expected.GridEnlaces[0] = {u"https://www.brenzo.example/"_s,
                                   u"Brenzo Software - Programas Shareware y Gratuitos"_s};
        expected.GridEnlaces[2] = {u"http://tres.example/"_s, u"Tres"_s};
        expected.txtEmail = u"ana@correo.example"_s;
        expected.txtHTML = u"casa.html"_s;

        const QByteArray written = readFile(f.path(u"casa.html"_s));
        const QString difference = PageText::firstDifference(
            RenderPage(expected, schemeFor(expected), PageText::stampOf(written)), written);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        const QList<PublishEntry> entries = publishList(expected, u"casa.html"_s);
        QCOMPARE(rows(f.find<QListWidget>(u"lstFinal"_s)), finishRows(entries));
        QCOMPARE(f.window->publishFiles(), publishFileNames(entries));
        QCOMPARE(f.window->publishFiles().first(), u"casa.html"_s);
        QCOMPARE(f.window->publishFiles().at(1), u"fondo_cielo.jpg"_s);
    }
};

QTEST_MAIN(TestWizardGeneration)
#include "tst_wizardgeneration.moc"
