// SPDX-License-Identifier: GPL-3.0-or-later
// Page 6: the scrolling text, its position and the moving sample.

#include "tests/wizard/MediaPagesSupport.h"
#include "wizard/WizardStyle.h"

#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
QLabel *sample(const WizardFixture &f)
{
    return f.find<QLabel>(u"EtiquetaTexto"_s);
}
} // namespace

class TestScrollTextPage : public QObject {
    Q_OBJECT

private slots:
    // The window's timer moves the sample on its own, on every page.
    void timerMovesSample()
    {
        WizardFixture f;
        QCOMPARE(f.edit(u"TextoScroll"_s)->text(), u"Página WEB"_s);
        QCOMPARE(f.edit(u"TextoScroll"_s)->maxLength(), 100);
        QTRY_COMPARE(sample(f)->text(), u"Página WEB"_s);
        const int left = sample(f)->x();
        QTRY_VERIFY(sample(f)->x() != left);
    }

    // The steps of one tick, driven by hand: 5 pixels at a time, and back
    // at the strip's width once the sample has wholly left on the left.
    void ticks()
    {
        WizardFixture f;
        f.window->Timer1->stop();
        QCOMPARE(sample(f)->text(), QString()); // empty until the first tick
        f.goTo(6);
        QCOMPARE(sample(f)->x(), 449);
        QCOMPARE(QApplication::focusWidget(), f.edit(u"TextoScroll"_s));

        f.window->Timer1Timer();
        QCOMPARE(sample(f)->text(), u"Página WEB"_s);
        QCOMPARE(sample(f)->width(), sample(f)->fontMetrics().horizontalAdvance(u"Página WEB"_s));
        QCOMPARE(sample(f)->x(), 444);

        // A 60-pixel sample starting at 449.
        sample(f)->resize(60, sample(f)->height());
        sample(f)->move(449, sample(f)->y());
        f.window->Timer1Timer();
        QCOMPARE(sample(f)->x(), 444);
        f.window->Timer1Timer();
        QCOMPARE(sample(f)->x(), 439);
        for (int tick = 3; tick <= 101; ++tick)
            f.window->Timer1Timer();
        QCOMPARE(sample(f)->x(), -56);
        f.window->Timer1Timer(); // the 102nd: -61 is below -60
        QCOMPARE(sample(f)->x(), 449);
    }

    // Blanks added at the ends leave the sample as it is; a changed letter
    // copies the text as typed, blanks included, without a jump back.
    void edits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("blanks at the end") << u"Página WEB   "_s << u"Página WEB"_s;
        QTest::newRow("tab and blank first") << u"\t Página WEB"_s << u"Página WEB"_s;
        QTest::newRow("a letter more") << u"Página WEBs "_s << u"Página WEBs "_s;
        QTest::newRow("no-break space is no blank")
            << u"Página WEB\u00A0"_s << u"Página WEB\u00A0"_s;
        QTest::newRow("markup is text") << u"<b>Hola</b>"_s << u"<b>Hola</b>"_s;
    }

    void edits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        WizardFixture f;
        f.window->Timer1->stop();
        f.goTo(6);
        f.window->Timer1Timer();
        const int width = sample(f)->width();
        f.edit(u"TextoScroll"_s)->setText(typed);
        f.window->Timer1Timer();
        QCOMPARE(sample(f)->text(), shown);
        QCOMPARE(sample(f)->x(), 439);
        if (shown == u"Página WEB"_s)
            QCOMPARE(sample(f)->width(), width);
        else
            QCOMPARE(sample(f)->width(), sample(f)->fontMetrics().horizontalAdvance(shown));
        QCOMPARE(sample(f)->textFormat(), Qt::PlainText);
        QCOMPARE(f.window->settings().TextoScroll, typed);
    }

    void noScrollingText()
    {
        WizardFixture f;
        f.window->Timer1->stop();
        f.goTo(6);
        f.window->Timer1Timer();
        f.tick(u"optDespuesTexto"_s);
        f.click(u"btnNoDesplaza"_s);
        QCOMPARE(f.edit(u"TextoScroll"_s)->text(), QString());
        f.window->Timer1Timer();
        QCOMPARE(sample(f)->text(), QString());
        QVERIFY(f.find<QRadioButton>(u"optDespuesTexto"_s)->isChecked());
        const PageSettings settings = f.window->settings();
        QCOMPARE(settings.TextoScroll, QString());
        QCOMPARE(settings.optPosicion, Posicion::optDespuesTexto);
    }

    // Each showing restarts the sample at the right edge in the colours of
    // the combination chosen at that moment.
    void colours_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("text");
        QTest::newRow("noche") << u"optNoche"_s << u"#000000"_s << u"#ffffff"_s;
        QTest::newRow("blanco") << u"optBlanco"_s << u"#ffffff"_s << u"#000000"_s;
    }

    void colours()
    {
        QFETCH(QString, option);
        QFETCH(QString, strip);
        QFETCH(QString, text);
        WizardFixture f;
        f.window->Timer1->stop();
        f.goTo(2);
        f.tick(u"optCielo"_s);
        f.goTo(6);
        f.window->Timer1Timer();
        f.window->Timer1Timer();
        QCOMPARE(sample(f)->x(), 439);
        for (int page = 6; page > 2; --page)
            f.back();
        f.tick(option);
        f.goTo(6);
        QCOMPARE(sample(f)->x(), 449);
        auto *container = f.find<QFrame>(u"ContainerTexto"_s);
        QCOMPARE(container->palette().color(QPalette::Window).name(), strip);
        QCOMPARE(WizardStyle::textColour(sample(f)).name(), text);
        // What the user sees: the strip's colour around the sample.
        const QImage seen = container->grab().toImage();
        QCOMPARE(seen.pixelColor(container->width() / 2, 3).name(), strip);
    }
};

BRENZO_PAGES_TEST_MAIN(TestScrollTextPage)
#include "tst_scrolltextpage.moc"
