// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up: the three windows and the general error box.

#include "app/ProgramWindows.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TlsLibrary.h"
#include "ui/BrenzoApplication.h"
#include "ui/ProgramError.h"

#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Kind = RecordingPrompts::Kind;

class TestStartup : public QObject {
    Q_OBJECT

public:
    explicit TestStartup(RecordingPrompts &prompts) : m_prompts(prompts) {}

private slots:
    void init() { m_prompts.calls.clear(); }

    void windows()
    {
        ProgramWindows windows(m_prompts);
        QCOMPARE(QCoreApplication::applicationName(), u"Brenzo"_s);
        QCOMPARE(windows.frmWeb.objectName(), u"frmWeb"_s);
        QCOMPARE(windows.frmOtros.objectName(), u"frmOtros"_s);
        QCOMPARE(windows.frmEnviar.objectName(), u"frmEnviar"_s);
        QVERIFY(windows.frmOtros.isHidden());
        QVERIFY(windows.frmEnviar.isHidden());
        QVERIFY(windows.frmOtros.isWindow());
        QVERIFY(windows.frmEnviar.isWindow());
        // Starting up does not load the system's TLS library: a few
        // milliseconds of every start, for a secure connection at most.
        QVERIFY(!tlsLibraryLoaded());

        // Closing the wizard ends the program although the others exist.
        windows.frmWeb.show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows.frmWeb));
        m_prompts.answers.enqueue(true);
        windows.frmWeb.close();
        for (const QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }

    // The finish page opens the other two windows modally.
    void secondaryWindowsOpenModally()
    {
        ProgramWindows windows(m_prompts);
        windows.frmWeb.show();
        bool sawOtros = false;
        QTimer::singleShot(0, &windows.frmOtros, [&] {
            sawOtros = windows.frmOtros.isVisible() && windows.frmOtros.isModal();
            windows.frmOtros.close();
        });
        emit windows.frmWeb.otherProgramsRequested();
        QVERIFY(sawOtros);
        QVERIFY(windows.frmOtros.isHidden());

        bool sawEnviar = false;
        QTimer::singleShot(0, &windows.frmEnviar, [&] {
            sawEnviar = windows.frmEnviar.isVisible();
            windows.frmEnviar.done(QDialog::Rejected);
        });
        emit windows.frmWeb.publishRequested();
        QVERIFY(sawEnviar);
        QVERIFY(windows.frmEnviar.isHidden());
    }

    // An error that escapes a handler is shown, and the program goes on.
    void generalErrorBox()
    {
        int after = 0;
        QTimer::singleShot(0, qApp, [] { throw ProgramError(u"Archivo dañado"_s); });
        QTimer::singleShot(0, qApp, [] { throw std::runtime_error("fallo interno"); });
        QTimer::singleShot(0, qApp, [&] { ++after; });
        QTRY_COMPARE(after, 1);
        const auto shown = m_prompts.ofKind(Kind::Message);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, u"Brenzo"_s);
        QCOMPARE(shown[0].text, u"Archivo dañado"_s);
        QCOMPARE(shown[0].icon, PromptIcon::Critical);
        QCOMPARE(shown[1].text, u"fallo interno"_s);
    }

private:
    RecordingPrompts &m_prompts;
};

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    RecordingPrompts prompts;
    app.setPrompts(&prompts);
    TestStartup test(prompts);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
