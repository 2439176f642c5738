// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/TfrmEnviar.h"
#include "tests/publish/ftp/PyftpdlibServer.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

// Publishes the files of a folder to the pyftpdlib server through the real
// publishing window, as a user fills it in and presses "Publicar Web".
// Returns the texts of the boxes the run showed, or nothing when the run
// did not end within a minute.
inline std::optional<QStringList>
publishToPyftpdlib(const PyftpdlibServer &server, const QString &folder, const QStringList &files)
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.setUpload(folder, files);
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))
        ->setText(QLatin1String(PyftpdlibServer::User));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))
        ->setText(QLatin1String(PyftpdlibServer::Password));
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->setEditText(QString());
    window.show();
    auto *publish = window.findChild<QPushButton *>(QStringLiteral("btnPublica"));
    publish->click();
    if (!QTest::qWaitFor([&] { return publish->isEnabled(); }, 60000))
        return std::nullopt;
    return prompts.messageTexts();
}
