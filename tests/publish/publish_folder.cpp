// SPDX-License-Identifier: GPL-3.0-or-later
// publish_folder FOLDER: writes a page with the wizard's first settings in
// FOLDER and publishes its whole list to pyftpdlib, as the finish page does.
// The package test runs it on folders the installed launcher prepared, so a
// background or badge the launcher did not copy fails the upload. Ends with
// status 0 once the window says the page is published.

#include "page/GenerationRun.h"
#include "tests/publish/PublishTexts.h"
#include "tests/publish/PublishToPyftpdlib.h"

#include <QApplication>

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

    const std::optional<QStringList> shown =
        publishToPyftpdlib(server, folder, publishFileNames(page.entries));
    if (!shown)
        return failure(QStringLiteral("the upload did not end"));
    return *shown == QStringList{PublishTexts::Published} ? 0 : failure(shown->join(u' '));
}
