// SPDX-License-Identifier: GPL-3.0-or-later
// What the pages do on their own: the colour sample, the links grid, the
// page file name, the welcome link and the finish page's buttons.

#include "tests/wizard/WizardFixture.h"

#include "page/MakerInfo.h"
#include "ui/LinkLabel.h"
#include "wizard/WizardStyle.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

namespace {
QColor textOf(const WizardFixture &f, const QString &label)
{
    return WizardStyle::textColour(f.find<QLabel>(label));
}

QColor backgroundOf(const WizardFixture &f)
{
    return f.find<QFrame>(u"pColor"_s)->palette().color(QPalette::Window);
}
} // namespace

class TestWizardPages : public QObject {
    Q_OBJECT

private slots:
    void sampleColours_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("visited");
        QTest::addColumn<QString>("background");
        QTest::newRow("noche") << "optNoche"
                               << "#ffffff"
                               << "#ffff00"
                               << "#00ff00"
                               << "#000000";
        QTest::newRow("rojo") << "optRojo"
                              << "#ffffff"
                              << "#ffff00"
                              << "#00ff00"
                              << "#800000";
        QTest::newRow("cielo") << "optCielo"
                               << "#000000"
                               << "#0000ff"
                               << "#800080"
                               << "#00ffff";
        QTest::newRow("verde") << "optVerde"
                               << "#ffffff"
                               << "#ffff00"
                               << "#00ff00"
                               << "#008000";
        QTest::newRow("amarillo") << "optAmarillo"
                                  << "#000000"
                                  << "#0000ff"
                                  << "#800080"
                                  << "#ffff00";
    }

    void sampleColours()
    {
        QFETCH(QString, option);
        QFETCH(QString, text);
        QFETCH(QString, link);
        QFETCH(QString, visited);
        QFETCH(QString, background);
        WizardFixture f;
        f.goTo(2);
        const qint64 before = f.find<QLabel>(u"imgFondo"_s)->pixmap().cacheKey();
        f.tick(option);
        QVERIFY(f.prompts.calls.isEmpty());
        QCOMPARE(textOf(f, u"lblTexto"_s).name(), text);
        QCOMPARE(textOf(f, u"lblEnlace"_s).name(), link);
        QCOMPARE(textOf(f, u"lblVisitado"_s).name(), visited);
        QCOMPARE(textOf(f, u"lblActivacion"_s).name(), u"#ff0000"_s);
        QCOMPARE(backgroundOf(f).name(), background);
        QVERIFY(f.find<QLabel>(u"imgFondo"_s)->pixmap().cacheKey() != before);

        // Back to white: now its picture is read and its colours shown.
        f.tick(u"optBlanco"_s);
        QCOMPARE(textOf(f, u"lblTexto"_s).name(), u"#000000"_s);
        QCOMPARE(backgroundOf(f).name(), u"#ffffff"_s);
    }

    // At start no sample file is read: the text keeps the system's colour.
    void startSampleReadsNothing()
    {
        WizardFixture f;
        QFile::remove(f.path(u"fondo_blanco.jpg"_s));
        f.goTo(2);
        QCOMPARE(textOf(f, u"lblTexto"_s), QApplication::palette().color(QPalette::WindowText));
        f.tick(u"optBlanco"_s); // already checked
        QVERIFY(f.prompts.calls.isEmpty());
        QVERIFY(!f.find<QLabel>(u"imgFondo"_s)->pixmap().isNull());
    }

    void missingSamplePicture()
    {
        WizardFixture f;
        QFile::remove(f.path(u"fondo_rojo.jpg"_s));
        f.goTo(2);
        f.tick(u"optNoche"_s);
        f.tick(u"optRojo"_s);
        const auto shown = f.prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, u"Error"_s);
        QCOMPARE(shown.first().icon, PromptIcon::Critical);
        QCOMPARE(shown.first().text,
                 u"No se encuentra imagen de fondo \"fondo_rojo.jpg\". Reinstale el programa"_s);
        // The night look stays, the red option stays checked and is written.
        QCOMPARE(backgroundOf(f).name(), u"#000000"_s);
        QCOMPARE(textOf(f, u"lblEnlace"_s).name(), u"#ffff00"_s);
        QVERIFY(f.find<QRadioButton>(u"optRojo"_s)->isChecked());
        QCOMPARE(f.window->settings().optCombinacion, Combinacion::optRojo);
    }

    void wallpaperSwitch()
    {
        WizardFixture f;
        f.goTo(2);
        auto *picture = f.find<QLabel>(u"imgFondo"_s);
        QVERIFY(!picture->isHidden());
        f.tick(u"chkFondo"_s);
        QVERIFY(picture->isHidden());
        f.tick(u"optVerde"_s);
        QVERIFY(picture->isHidden());
        QCOMPARE(backgroundOf(f).name(), u"#008000"_s);
        QVERIFY(f.window->settings().chkFondo);
        QVERIFY(f.window->settings().chkFondoFijo);
    }

    void titleLimit()
    {
        WizardFixture f;
        f.goTo(1);
        QLineEdit *title = f.edit(u"txtTitol"_s);
        title->clear();
        QTest::keyClicks(title, QString(101, u'x'));
        QCOMPARE(title->text().size(), 100);
        QCOMPARE(f.edit(u"txtHTML"_s)->maxLength(), 30);
        QCOMPARE(f.edit(u"txtEmail"_s)->maxLength(), 75);
        QCOMPARE(f.edit(u"txtTitolEnlaces"_s)->maxLength(), 75);
        QCOMPARE(f.edit(u"txtTitolEmail"_s)->maxLength(), 100);
    }

    // Row 1 is refilled only while both of its cells are blank.
    void suggestedLink()
    {
        WizardFixture f;
        auto *grid = f.find<QTableWidget>(u"GridEnlaces"_s);
        f.goTo(7);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), u" Dirección (http://...)"_s);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), u" Descripción"_s);
        QCOMPARE(grid->rowCount(), 20);
        QCOMPARE(grid->item(0, 0)->text(), makerHomePage());
        QCOMPARE(grid->item(0, 1)->text(), u"Brenzo Software - Programas Shareware y Gratuitos"_s);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitolEnlaces"_s));

        grid->item(0, 0)->setText(u"  "_s);
        f.back();
        f.next();
        QCOMPARE(grid->item(0, 0)->text(), u"  "_s); // the description is kept, so no refill
        QVERIFY(!f.window->settings().GridEnlaces[0].isLink());

        grid->item(0, 1)->setText(u"\t"_s);
        f.back();
        f.next();
        QCOMPARE(grid->item(0, 0)->text(), makerHomePage());

        grid->item(19, 0)->setText(u"http://ultimo.example"_s);
        QCOMPARE(f.window->settings().GridEnlaces[19].address, u"http://ultimo.example"_s);
    }

    // Letters typed or pasted into the page file name turn lower case.
    void pageFileNameLowerCase()
    {
        WizardFixture f;
        f.goTo(8);
        QLineEdit *name = f.edit(u"txtHTML"_s);
        name->clear();
        QTest::keyClicks(name, u"MiPÁGINA"_s);
        QCOMPARE(name->text(), u"mipágina"_s);
        QGuiApplication::clipboard()->setText(u".HTM"_s);
        name->paste();
        QCOMPARE(name->text(), u"mipágina.htm"_s);
    }

    void welcomeLink()
    {
        WizardFixture f;
        auto *link = f.find<LinkLabel>(u"Label42"_s);
        QCOMPARE(link->text(), makerHomePage());
        QColor during;
        f.prompts.onCall = [&](const RecordingPrompts::Call &) { during = link->linkColour(); };
        QTest::mouseClick(link, Qt::LeftButton);
        const auto opened = f.prompts.ofKind(Kind::OpenUrl);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().text, makerHomePage());
        QCOMPARE(during, QColor(Qt::red));
        QCOMPARE(link->linkColour(), QColor(Qt::blue));
    }

    void finishPage()
    {
        WizardFixture f;
        f.goTo(8);
        f.edit(u"txtHTML"_s)->setText(u"  casa.htm "_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 9);
        auto *list = f.find<QListWidget>(u"lstFinal"_s);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), u"casa.htm (Página WEB)"_s);
        QCOMPARE(list->focusPolicy(), Qt::NoFocus);

        QTest::mouseClick(f.find<QAbstractButton>(u"btnVerPagina"_s), Qt::LeftButton);
        QTest::mouseClick(f.find<QAbstractButton>(u"btnWebFin"_s), Qt::LeftButton);
        const auto files = f.prompts.ofKind(Kind::OpenFile);
        QCOMPARE(files.size(), 1);
        QCOMPARE(files.first().text, QDir(f.folder()).filePath(u"casa.htm"_s));
        QCOMPARE(f.prompts.ofKind(Kind::OpenUrl).first().text, makerHomePage());
        QVERIFY(f.find<QAbstractButton>(u"btnVerPagina"_s)->isEnabled());
        QVERIFY(f.find<QAbstractButton>(u"btnWebFin"_s)->isEnabled());

        QSignalSpy publish(f.window.get(), &TfrmWeb::publishRequested);
        QSignalSpy programs(f.window.get(), &TfrmWeb::otherProgramsRequested);
        QTest::mouseClick(f.find<QAbstractButton>(u"btnPubli"_s), Qt::LeftButton);
        QTest::mouseClick(f.window->btnPublicar, Qt::LeftButton);
        QTest::mouseClick(f.find<QAbstractButton>(u"btnPrograms"_s), Qt::LeftButton);
        QCOMPARE(publish.size(), 2);
        QCOMPARE(programs.size(), 1);
        QCOMPARE(f.window->pageIndex(), 9);
    }
};

QTEST_MAIN(TestWizardPages)
#include "tst_wizardpages.moc"
