// SPDX-License-Identifier: GPL-3.0-or-later
// The help: topics found by number in the help file that ships with the
// program, the Spanish reports of a missing file or topic, and the help
// window that shows them and follows their links.

#include "prompts/HelpFile.h"
#include "prompts/HelpWindow.h"
#include "tests/support/RecordingPrompts.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {
const QString realHelpFile = QStringLiteral(BRENZO_HELP_FILE);
const QList<int> expectedTopics = {0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15};

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The targets of the links inside the help ("#topic-N" links only).
QList<int> linkedTopics(const QString &html)
{
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]*)\""));
    QList<int> topics;
    QRegularExpressionMatchIterator it = link.globalMatch(html);
    while (it.hasNext())
        topics.append(HelpFile::topicOfAnchor(it.next().captured(1)));
    return topics;
}

QString plainText(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}
} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT

private slots:
    void theFileHoldsEveryTopicOnce();
    void eachTopicIsFoundAlone_data();
    void eachTopicIsFoundAlone();
    void contentsAndTopicsLinkToEachOther();
    void missingTopicIsReported_data();
    void missingTopicIsReported();
    void missingOrUnreadableFileIsReported_data();
    void missingOrUnreadableFileIsReported();

    void windowFollowsTopicLinksAndGoesBack();
    void windowHandsWebAddressesToTheBrowser();
    void windowShowsTheReasonInsteadOfATopic();
    void oneWindowServesEveryRequest();
};

void TestHelpFile::theFileHoldsEveryTopicOnce()
{
    const QString html = readAll(realHelpFile);
    QVERIFY2(!html.isEmpty(), qPrintable(realHelpFile));
    QCOMPARE(HelpFile::topics(html), expectedTopics);
    // The viewer reads UTF-8, and so must a browser that opens the file.
    QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">"), Qt::CaseInsensitive));
}

void TestHelpFile::eachTopicIsFoundAlone_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("heading");

    QTest::newRow("contents") << 0 << QStringLiteral("Ayuda de Brenzo");
    QTest::newRow("page 1") << 4 << QStringLiteral("Pantalla 1: Títulos");
    QTest::newRow("page 2") << 5 << QStringLiteral("Pantalla 2: Fondo y colores");
    QTest::newRow("page 3") << 6 << QStringLiteral("Pantalla 3: Sonido de fondo");
    QTest::newRow("page 4") << 7 << QStringLiteral("Pantalla 4: Texto central");
    QTest::newRow("page 5") << 8 << QStringLiteral("Pantalla 5: Imágenes");
    QTest::newRow("page 6") << 9 << QStringLiteral("Pantalla 6: Texto desplazándose");
    QTest::newRow("page 7") << 10 << QStringLiteral("Pantalla 7: Enlaces");
    QTest::newRow("page 8") << 11 << QStringLiteral("Pantalla 8: Dirección de E-MAIL");
    QTest::newRow("page 9") << 12 << QStringLiteral("Pantalla 9: Su página está terminada");
    QTest::newRow("how to publish") << 14 << QStringLiteral("Cómo publicar su página");
    QTest::newRow("publishing window") << 15 << QStringLiteral("La ventana de publicación");
}

void TestHelpFile::eachTopicIsFoundAlone()
{
    QFETCH(int, topic);
    QFETCH(QString, heading);

    const HelpPage page = HelpFile::page(realHelpFile, topic);
    QVERIFY2(page.found(), qPrintable(page.error));
    QCOMPARE(page.topic, topic);

    // The topic's own heading comes first, and no other topic is shown with it.
    static const QRegularExpression firstHeading(QStringLiteral("<h1>(.*?)</h1>"),
                                                 QRegularExpression::DotMatchesEverythingOption);
    const QString shownHeading = firstHeading.match(page.html).captured(1).simplified();
    QVERIFY2(shownHeading.startsWith(heading), qPrintable(shownHeading));
    QCOMPARE(page.html.count(QStringLiteral("<h1>")), 1);
    QVERIFY(!page.html.contains(QStringLiteral("<section")));

    // The styles of the file come along, so every topic looks the same.
    QVERIFY(page.html.contains(QStringLiteral("<style>")));
    QVERIFY(plainText(page.html).size() > 400);
}

void TestHelpFile::contentsAndTopicsLinkToEachOther()
{
    const QList<int> fromContents = linkedTopics(HelpFile::page(realHelpFile, 0).html);
    for (int topic : expectedTopics) {
        if (topic != 0)
            QVERIFY2(fromContents.contains(topic), qPrintable(QString::number(topic)));
    }
    for (int topic : expectedTopics) {
        const QList<int> links = linkedTopics(HelpFile::page(realHelpFile, topic).html);
        if (topic != 0)
            QVERIFY2(links.contains(0), qPrintable(QString::number(topic)));
        // Every link inside the help leads somewhere.
        for (int target : links)
            QVERIFY2(expectedTopics.contains(target),
                     qPrintable(QStringLiteral("%1 -> %2").arg(topic).arg(target)));
    }
}

void TestHelpFile::missingTopicIsReported_data()
{
    QTest::addColumn<int>("topic");
    QTest::newRow("between pages and publishing") << 13;
    QTest::newRow("below the pages") << 3;
    QTest::newRow("far beyond") << 99;
    QTest::newRow("negative") << -1;
}

void TestHelpFile::missingTopicIsReported()
{
    QFETCH(int, topic);
    const HelpPage page = HelpFile::page(realHelpFile, topic);
    QVERIFY(!page.found());
    QCOMPARE(page.error, QStringLiteral("El tema de ayuda %1 no existe").arg(topic));
    QVERIFY(plainText(page.html).contains(page.error));
    // The file is there, so the way to the contents is offered.
    QCOMPARE(linkedTopics(page.html), QList<int>{0});
}

void TestHelpFile::missingOrUnreadableFileIsReported_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("error");
    QTest::newRow("no file") << "none"
                             << "No se encuentra el archivo de ayuda \"BRENZO.HLP\"";
    QTest::newRow("a folder of that name") << "folder"
                                           << "No se encuentra el archivo de ayuda \"BRENZO.HLP\"";
    QTest::newRow("not text") << "binary"
                              << "No puede leerse el archivo de ayuda \"BRENZO.HLP\"";
    QTest::newRow("no topics") << "empty"
                               << "El tema de ayuda 0 no existe";
}

void TestHelpFile::missingOrUnreadableFileIsReported()
{
    QFETCH(QString, setup);
    QFETCH(QString, error);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("BRENZO.HLP"));
    if (setup == QLatin1String("folder")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("BRENZO.HLP")));
    } else if (setup != QLatin1String("none")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(setup == QLatin1String("binary") ? QByteArray("\xff\xfe\x00<html>\xc3", 10)
                                                    : QByteArray("<html><body></body></html>"));
    }

    const HelpPage page = HelpFile::page(path, 0);
    QVERIFY(!page.found());
    QCOMPARE(page.error, error);
    QVERIFY(plainText(page.html).contains(error));
    QVERIFY(linkedTopics(page.html).isEmpty());
}

void TestHelpFile::windowFollowsTopicLinksAndGoesBack()
{
    RecordingPrompts prompts;
    HelpWindow window(prompts);
    auto *back = window.findChild<QPushButton *>(QStringLiteral("btnAtras"));
    auto *contents = window.findChild<QPushButton *>(QStringLiteral("btnContenido"));
    QVERIFY(back && contents);

    window.showTopic(realHelpFile, 0);
    QVERIFY(!back->isEnabled());

    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#topic-7")));
    QCOMPARE(window.page().topic, 7);
    QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("Pantalla 4: Texto central")));
    QVERIFY(back->isEnabled());

    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#topic-8")));
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(window.page().topic, 7);
    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(window.page().topic, 0);
    QTest::mouseClick(back, Qt::LeftButton);
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(window.page().topic, 0);
    QVERIFY(!back->isEnabled());
    QVERIFY(prompts.calls.isEmpty());
}

void TestHelpFile::windowHandsWebAddressesToTheBrowser()
{
    RecordingPrompts prompts;
    HelpWindow window(prompts);
    window.showTopic(realHelpFile, 0);

    emit window.browser()->anchorClicked(QUrl(QStringLiteral("https://www.brenzo.example/")));
    QCOMPARE(prompts.calls.size(), 1);
    QCOMPARE(prompts.calls[0].kind, RecordingPrompts::Kind::OpenUrl);
    QCOMPARE(prompts.calls[0].text, QStringLiteral("https://www.brenzo.example/"));
    QCOMPARE(window.page().topic, 0);
}

void TestHelpFile::windowShowsTheReasonInsteadOfATopic()
{
    RecordingPrompts prompts;
    HelpWindow window(prompts);
    window.showTopic(realHelpFile, 13);
    QVERIFY(
        window.browser()->toPlainText().contains(QStringLiteral("El tema de ayuda 13 no existe")));

    // From the report the contents are one link away.
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#topic-0")));
    QVERIFY(window.page().found());
    QCOMPARE(window.page().topic, 0);

    window.showTopic(QStringLiteral("/nonexistent/BRENZO.HLP"), 4);
    QVERIFY(window.browser()->toPlainText().contains(
        QStringLiteral("No se encuentra el archivo de ayuda \"BRENZO.HLP\"")));
    QVERIFY(prompts.calls.isEmpty());
}

void TestHelpFile::oneWindowServesEveryRequest()
{
    QWidget wizard;
    QWidget publishing;
    wizard.show();

    HelpWindow *first = HelpWindow::showFor(&wizard, realHelpFile, 0);
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), &wizard);
    QCOMPARE(first->page().topic, 0);

    // Asked from another window (the publishing window is modal), the same
    // window moves under it so that it still takes the user's input.
    publishing.show();
    HelpWindow *second = HelpWindow::showFor(&publishing, realHelpFile, 14);
    QCOMPARE(second, first);
    QCOMPARE(second->parentWidget(), &publishing);
    QVERIFY(second->isVisible());
    QVERIFY(second->isWindow());
    QCOMPARE(second->page().topic, 14);
    delete second;
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
