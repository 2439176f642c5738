// SPDX-License-Identifier: GPL-3.0-or-later
// Moving between the pages, the enabled buttons, help and the close question.

#include "tests/wizard/WizardFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

class TestNavigation : public QObject {
    Q_OBJECT

private:
    static void checkButtons(WizardFixture &f, bool reinicia, bool anterior, bool siguiente,
                             bool publicar)
    {
        QCOMPARE(f.window->btnReinicia->isEnabled(), reinicia);
        QCOMPARE(f.window->btnAnterior->isEnabled(), anterior);
        QCOMPARE(f.window->btnSiguiente->isEnabled(), siguiente);
        QCOMPARE(f.window->btnPublicar->isEnabled(), publicar);
        QVERIFY(f.window->btnAyuda->isEnabled());
        QVERIFY(f.window->btnSalir->isEnabled());
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"es_ES"_s)); }

    void startState()
    {
        WizardFixture f;
        QCOMPARE(f.window->windowTitle(), u"Brenzo - Asistente para crear páginas WEB"_s);
        QCOMPARE(f.window->size(), QSize(533, 309));
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        QCOMPARE(f.window->pageIndex(), 0);
        QCOMPARE(f.visiblePage(), 0);
        checkButtons(f, false, false, true, false);
        QVERIFY(f.window->Timer1->isActive());
        QCOMPARE(f.window->Timer1->interval(), 100);
        QVERIFY(f.window->publishFiles().isEmpty());
        QCOMPARE(f.window->startupFolder(), f.folder());
        for (int index = 0; index < TfrmWeb::kPageCount; ++index) {
            QCOMPARE(f.window->page(index)->objectName(), u"p%1"_s.arg(index));
            QCOMPARE(f.window->page(index)->geometry().topLeft(), QPoint(56, 48));
        }
        QCOMPARE(f.window->btnPublicar->text(), u"&Publicar página "_s);
        // Tab walks the navigation bar left to right.
        QCOMPARE(f.window->btnReinicia->nextInFocusChain(), f.window->btnAnterior);
        QCOMPARE(f.window->btnAnterior->nextInFocusChain(), f.window->btnSiguiente);
        QCOMPARE(f.window->btnPublicar->nextInFocusChain(), f.window->btnAyuda);
        QCOMPARE(f.window->btnAyuda->nextInFocusChain(), f.window->btnSalir);
    }

    // Only page 0 is built with the window. A page reached later is built
    // then, joins the Tab order after the navigation bar, and a page built
    // only to be read stays hidden.
    void pagesBuiltOnFirstUse()
    {
        WizardFixture f;
        for (int index = 1; index < TfrmWeb::kPageCount; ++index)
            QVERIFY(!f.window->isPageBuilt(index));
        f.next();
        QVERIFY(f.window->isPageBuilt(1));
        QVERIFY(!f.window->isPageBuilt(2));
        QVERIFY(f.window->page(1)->isVisible());
        QVERIFY(!f.window->page(0)->isVisible());
        f.window->btnSalir->setFocus();
        QTest::keyClick(f.window.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitol"_s));

        WizardFixture fresh;
        QCOMPARE(fresh.window->settings().txtHTML, u"index.htm"_s);
        for (int index = 0; index < TfrmWeb::kPageCount; ++index) {
            QVERIFY(fresh.window->isPageBuilt(index));
            QCOMPARE(fresh.window->page(index)->isVisible(), index == 0);
        }
        // The strip of page 6 moves from the moment its page exists.
        auto *sample = fresh.find<QLabel>(u"EtiquetaTexto"_s);
        const QPoint start = sample->pos();
        QTRY_VERIFY(sample->pos() != start);
    }

    // Every row of the transition table, forward and back.
    void forwardAndBack()
    {
        WizardFixture f;
        f.next();
        QCOMPARE(f.window->pageIndex(), 1);
        checkButtons(f, true, true, true, false);

        // A title of blanks only is no title.
        f.edit(u"txtTitol"_s)->setText(u" \t "_s);
        f.next();
        QCOMPARE(f.window->pageIndex(), 1);
        f.edit(u"txtTitol"_s)->setText(u"Hola"_s);
        f.edit(u"txtEmail"_s)->setText(u"ana@correo.example"_s);
        for (int expected = 2; expected <= 9; ++expected) {
            f.next();
            QCOMPARE(f.window->pageIndex(), expected);
            QCOMPARE(f.visiblePage(), expected);
        }
        checkButtons(f, true, true, false, true);
        f.next(); // disabled: nothing happens
        QCOMPARE(f.window->pageIndex(), 9);

        f.back();
        QCOMPARE(f.window->pageIndex(), 8);
        checkButtons(f, true, true, true, false);
        for (int expected = 7; expected >= 0; --expected) {
            f.back();
            QCOMPARE(f.window->pageIndex(), expected);
        }
        checkButtons(f, false, false, true, false);
        QVERIFY(f.prompts.ofKind(Kind::Question).isEmpty());
    }

    // Reiniciar returns to the welcome page and clears nothing.
    void restartKeepsEverything()
    {
        WizardFixture f;
        f.goTo(5);
        f.edit(u"txtSubTitol1"_s)->setText(u"sub"_s);
        f.click(u"btnReinicia"_s);
        QCOMPARE(f.window->pageIndex(), 0);
        QCOMPARE(f.visiblePage(), 0);
        for (int step = 0; step < 5; ++step)
            f.next();
        QCOMPARE(f.window->pageIndex(), 5);
        QCOMPARE(f.edit(u"txtTitol"_s)->text(), u"Mi página"_s);
        QCOMPARE(f.edit(u"txtSubTitol1"_s)->text(), u"sub"_s);
    }

    // The focus goes where each page puts it.
    void focusPerPage()
    {
        WizardFixture f;
        f.next();
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitol"_s));
        f.goTo(7);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitolEnlaces"_s));
        f.next();
        QCOMPARE(QApplication::focusWidget(), f.edit(u"txtTitolEmail"_s));
    }

    void help_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("topic");
        QTest::newRow("contents") << 0 << 0;
        for (int page = 1; page <= 9; ++page)
            QTest::addRow("page %d", page) << page << page + 3;
    }

    void help()
    {
        QFETCH(int, page);
        QFETCH(int, topic);
        WizardFixture f;
        f.goTo(page);
        f.click(u"btnAyuda"_s);
        const auto help = f.prompts.ofKind(Kind::Help);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first().topic, topic);
        QCOMPARE(f.window->pageIndex(), page);
        QVERIFY(f.window->helpFile().endsWith(u"/BRENZO.HLP"_s));
    }

    void closeQuestion()
    {
        WizardFixture f;
        f.goTo(3);
        f.edit(u"txtSubTitol2"_s)->setText(u"dos"_s);

        f.prompts.answers.enqueue(false);
        f.click(u"btnSalir"_s);
        const auto asked = f.prompts.ofKind(Kind::Question);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().title, u"Brenzo"_s);
        QCOMPARE(asked.first().text, u"¿ Esta seguro de salir del programa ?"_s);
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.window->pageIndex(), 3);
        QCOMPARE(f.edit(u"txtSubTitol2"_s)->text(), u"dos"_s);

        // The close box asks the same question.
        f.prompts.answers.enqueue(true);
        QVERIFY(f.window->close());
        QCOMPARE(f.prompts.ofKind(Kind::Question).size(), 2);
        QVERIFY(!f.window->isVisible());
    }

    void closeFromFinishPageAsksNothing()
    {
        WizardFixture f;
        f.goTo(9);
        f.click(u"btnSalir"_s);
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.prompts.ofKind(Kind::Question).isEmpty());
    }

    // A letter of its own presses its button; shared letters are tested
    // with the rest of the keyboard.
    void mnemonics()
    {
        WizardFixture f;
        // The press shows briefly first.
        f.goTo(3);
        QTest::keyClick(f.window.get(), Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(f.window->pageIndex(), 0);
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
