// SPDX-License-Identifier: GPL-3.0-or-later
// The other-programs window: its fixed face, and the link to the maker's
// home page that shows red while the browser is being started.

#include "app/TfrmOtros.h"
#include "page/MakerInfo.h"
#include "tests/support/RecordingPrompts.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QtTest>

namespace {
QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
} // namespace

class TestFrmOtros : public QObject {
    Q_OBJECT

private slots:
    void windowFrame();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void textsFitTheirPlaces();
    void linkClickOpensMakerHomePage();
    void otherClicksOpenNothing();
};

void TestFrmOtros::windowFrame()
{
    RecordingPrompts prompts;
    TfrmOtros window(prompts);
    QCOMPARE(window.objectName(), QStringLiteral("frmOtros"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Otros Programas"));
    QCOMPARE(window.size(), QSize(483, 362));
    QCOMPARE(window.minimumSize(), window.maximumSize());

    // Shown twice, it is centred on the screen both times.
    for (int showing = 0; showing < 2; ++showing) {
        window.show();
        const QPoint centre = window.screen()->availableGeometry().center();
        QVERIFY2((window.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(window.x()).arg(window.y())));
        window.hide();
        window.move(0, 0);
    }
}

void TestFrmOtros::controlsAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QRect>("place");

    QTest::newRow("Panel1") << "Panel1"
                            << "" << QRect(0, 0, 481, 105);
    QTest::newRow("Panel2") << "Panel2"
                            << "" << QRect(0, 112, 481, 97);
    QTest::newRow("Panel3") << "Panel3"
                            << "" << QRect(0, 216, 481, 113);
    QTest::newRow("Image1") << "Image1"
                            << "Panel1" << QRect(8, 8, 200, 50);
    QTest::newRow("Image2") << "Image2"
                            << "Panel2" << QRect(272, 8, 200, 50);
    QTest::newRow("Image3") << "Image3"
                            << "Panel3" << QRect(8, 8, 200, 50);
    QTest::newRow("Label8") << "Label8"
                            << "" << QRect(0, 336, 481, 19);
}

void TestFrmOtros::controlsAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, panel);
    QFETCH(QRect, place);

    RecordingPrompts prompts;
    TfrmOtros window(prompts);
    auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), place);
    QCOMPARE(control->parentWidget()->objectName(), panel.isEmpty() ? window.objectName() : panel);

    if (name.startsWith(QLatin1String("Panel"))) {
        auto *frame = qobject_cast<QFrame *>(control);
        QVERIFY(frame);
        QCOMPARE(frame->frameShadow(), QFrame::Raised);
    }
    if (name.startsWith(QLatin1String("Image"))) {
        auto *picture = qobject_cast<QLabel *>(control);
        QVERIFY(picture);
        // Composed when the window is first shown, not at start-up.
        QVERIFY(picture->pixmap().isNull());
        window.show();
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(picture->pixmap().deviceIndependentSize().toSize(), place.size());
    }
}

void TestFrmOtros::textsFitTheirPlaces()
{
    RecordingPrompts prompts;
    TfrmOtros window(prompts);

    // Headline and paragraph of each panel, the headlines bold.
    const QStringList headlines = {"Label3", "Label6", "Label1"};
    const QStringList paragraphs = {"Label4", "Label5", "Label7", "Label2"};
    for (const QString &name : headlines + paragraphs) {
        auto *label = window.findChild<QLabel *>(name);
        QVERIFY2(label, qPrintable(name));
        QVERIFY2(label->text().size() > 20, qPrintable(name));
        QCOMPARE(label->font().bold(), headlines.contains(name));
        QVERIFY(label->wordWrap());
        // Wrapped at its width, the text must not run below its place or out
        // of its panel.
        const int needed = label->heightForWidth(label->width());
        QVERIFY2(
            needed <= label->height(),
            qPrintable(
                QStringLiteral("%1 needs %2, has %3").arg(name).arg(needed).arg(label->height())));
        QVERIFY2(label->parentWidget()->rect().contains(label->geometry()), qPrintable(name));
    }

    auto *link = window.findChild<QLabel *>(QStringLiteral("Label8"));
    QCOMPARE(link->text(), QStringLiteral("Pulse aquí para más información sobre estos programas"));
    QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) <= link->width());
    QVERIFY(link->fontMetrics().height() <= link->height() + 1);
}

void TestFrmOtros::linkClickOpensMakerHomePage()
{
    RecordingPrompts prompts;
    TfrmOtros window(prompts);
    window.show();
    auto *link = window.findChild<QLabel *>(QStringLiteral("Label8"));

    QCOMPARE(textColour(link), QColor(Qt::blue));
    QColor during;
    prompts.onCall = [&](const RecordingPrompts::Call &) { during = textColour(link); };

    // Twice: the link works every time and always comes back blue.
    for (int click = 1; click <= 2; ++click) {
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(prompts.calls.size(), click);
        QCOMPARE(prompts.calls.last().kind, RecordingPrompts::Kind::OpenUrl);
        QCOMPARE(prompts.calls.last().text, makerHomePage());
        QCOMPARE(during, QColor(Qt::red));
        QCOMPARE(textColour(link), QColor(Qt::blue));
        QVERIFY(window.isVisible());
    }
}

void TestFrmOtros::otherClicksOpenNothing()
{
    RecordingPrompts prompts;
    TfrmOtros window(prompts);
    window.show();
    auto *link = window.findChild<QLabel *>(QStringLiteral("Label8"));

    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Panel2")), Qt::LeftButton);
    // A press on the link that is let go elsewhere is not a click.
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 30, -20));
    QVERIFY(prompts.calls.isEmpty());
    QCOMPARE(textColour(link), QColor(Qt::blue));
}

QTEST_MAIN(TestFrmOtros)
#include "tst_frmotros.moc"
