// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard from the keyboard: letters shared by several captions, F1 for
// the page's help, and a list selection emptied with Ctrl and a click.

#include "tests/wizard/MediaPagesSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    // Each page's shared letters press the first enabled control that
    // carries them: the bar left to right, then the page in Tab order.
    void sharedLetters_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("soundChosen");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed");
        const int S = Qt::Key_S, A = Qt::Key_A, P = Qt::Key_P, R = Qt::Key_R, N = Qt::Key_N;
        QTest::newRow("0 S: Siguiente, not Salir") << 0 << false << S << u"btnSiguiente"_s;
        QTest::newRow("0 A: Ayuda, Anterior disabled") << 0 << false << A << u"btnAyuda"_s;
        QTest::newRow("1 S: Siguiente") << 1 << false << S << u"btnSiguiente"_s;
        QTest::newRow("1 A: Anterior, not Ayuda") << 1 << false << A << u"btnAnterior"_s;
        QTest::newRow("2 S: Siguiente, not Sin Tapiz") << 2 << false << S << u"btnSiguiente"_s;
        QTest::newRow("3 P: nothing chosen, nothing") << 3 << false << P << QString();
        QTest::newRow("3 P: Pulsar, Publicar disabled") << 3 << true << P << u"btnOir"_s;
        QTest::newRow("4 S: Siguiente, not Super") << 4 << false << S << u"btnSiguiente"_s;
        QTest::newRow("4 N: Normal, not Negrita") << 4 << false << N << u"optNormal"_s;
        QTest::newRow("5 R: Reiniciar, not Reiniciar Selección")
            << 5 << false << R << u"btnReinicia"_s;
        QTest::newRow("9 S: Salir, Siguiente disabled") << 9 << false << S << u"btnSalir"_s;
        QTest::newRow("9 A: Anterior, not Acceder") << 9 << false << A << u"btnAnterior"_s;
        QTest::newRow("9 P: Publicar, not Pulse") << 9 << false << P << u"btnPublicar"_s;
    }

    void sharedLetters()
    {
        QFETCH(int, page);
        QFETCH(bool, soundChosen);
        QFETCH(int, key);
        QFETCH(QString, pressed);
        WizardFixture f;
        copySamples(f);
        f.goTo(page);
        if (soundChosen)
            clickItem(f.find<QListWidget>(u"FileListBox1"_s), u"campanas.wav"_s);

        QStringList clicked;
        for (QAbstractButton *button : f.window->findChildren<QAbstractButton *>())
            connect(button, &QAbstractButton::clicked, this,
                    [&clicked, button] { clicked.append(button->objectName()); });
        QTest::keyClick(f.window.get(), Qt::Key(key), Qt::AltModifier);
        if (pressed.isEmpty()) {
            QTest::qWait(200);
            QCOMPARE(clicked, QStringList());
        } else {
            QTRY_COMPARE(clicked, QStringList{pressed});
        }
    }

    void f1OpensThePagesHelp_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("topic");
        QTest::newRow("welcome: contents") << 0 << 0;
        QTest::newRow("text") << 4 << 7;
        QTest::newRow("finish") << 9 << 12;
    }

    void f1OpensThePagesHelp()
    {
        QFETCH(int, page);
        QFETCH(int, topic);
        WizardFixture f;
        f.goTo(page);
        f.prompts.calls.clear();
        QTest::keyClick(f.window.get(), Qt::Key_F1);
        const auto help = f.prompts.ofKind(RecordingPrompts::Kind::Help);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first().topic, topic);
    }

    // Ctrl and a click on the chosen file empties the selection, and the
    // page no longer shows the file as chosen.
    void emptiedSelectionIsAChoice_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("sound") << 3 << u"FileListBox1"_s << u"campanas.wav"_s << u"stSonido"_s;
        QTest::newRow("picture") << 5 << u"lstImagen1"_s << u"montana.jpg"_s
                                 << u"lblNombreImagen1"_s;
    }

    void emptiedSelectionIsAChoice()
    {
        QFETCH(int, page);
        QFETCH(QString, list);
        QFETCH(QString, file);
        QFETCH(QString, shownName);
        WizardFixture f;
        copySamples(f);
        f.goTo(page);
        if (page == 5)
            f.click(u"btnImagen1"_s);
        auto *files = f.find<QListWidget>(list);
        clickItem(files, file);
        const auto shown = [&] {
            QWidget *box = f.find(shownName);
            if (auto *line = qobject_cast<QLineEdit *>(box))
                return line->text();
            return static_cast<QLabel *>(box)->text();
        };
        QCOMPARE(shown(), file);

        const QRect row = files->visualItemRect(files->selectedItems().first());
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        QVERIFY(files->selectedItems().isEmpty());
        QCOMPARE(shown(), QString());
        if (page == 5) {
            QVERIFY(f.find(u"imgJPG1"_s)->isHidden());
            QVERIFY(f.find(u"RXGIF1"_s)->isHidden());
        }
    }
};

BRENZO_PAGES_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
