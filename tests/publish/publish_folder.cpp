// SPDX-License-Identifier: GPL-3.0-or-later
// publish_folder FOLDER: writes a page with the wizard's first settings in
// FOLDER and publishes its whole list to pyftpdlib, as the finish page does.
// The package test runs it on folders the installed launcher prepared, so a
// background or badge the launcher did not copy fails the upload. Ends with
// status 0 once the window says the page is published.

#include "GenerationRun.h"
#include "PublishTexts.h"
#include "PyftpdlibServer.h"
#include "RecordingPrompts.h"
#include "TfrmEnviar.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

static int failure(const QString &why)
{
    std::fprintf(stderr, "publish_folder: %s\n", qPrintable(why));
    return 1;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return failure(QStringLiteral("usage: publish_folder FOLDER"));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    PyftpdlibServer server;
    if (const QString why = server.start(); !why.isEmpty())
        return failure(why);
    const GenerationResult page = runGeneration(PageSettings(), folder);
    if (!page.written)
        return failure(QStringLiteral("the page was not written"));

    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.ftpClient().setPort(server.port());
    window.setUpload(folder, publishFileNames(page.entries));
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("127.0.0.1"));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))
        ->setText(QLatin1String(PyftpdlibServer::User));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))
        ->setText(QLatin1String(PyftpdlibServer::Password));
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->setEditText(QString());
    window.show();
    auto *publish = window.findChild<QPushButton *>(QStringLiteral("btnPublica"));
    publish->click();
    if (!QTest::qWaitFor([&] { return publish->isEnabled(); }, 60000))
        return failure(QStringLiteral("the upload did not end"));
    const QStringList shown = prompts.messageTexts();
    return shown == QStringList{PublishTexts::Published} ? 0 : failure(shown.join(u' '));
}
