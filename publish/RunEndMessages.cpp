// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/RunEndMessages.h"

#include "prompts/UserPrompts.h"

void showPublishError(UserPrompts &prompts, QWidget *window, const QString &text,
                      const QString &details)
{
    prompts.message(window, QStringLiteral("Brenzo - Error"), text, PromptIcon::Warning, details);
}

void showCancelled(UserPrompts &prompts, QWidget *window)
{
    showPublishError(prompts, window,
                     QStringLiteral("Envio de página web cancelado por el usuario"));
}

void showRunEnd(UserPrompts &prompts, QWidget *window, PublishJob::Outcome outcome,
                const QString &entry, const QString &reason)
{
    using Outcome = PublishJob::Outcome;
    switch (outcome) {
    case Outcome::Published:
        // The status line still names the last file while this box is open.
        prompts.message(window, QStringLiteral("Brenzo"),
                        QStringLiteral("¡Enhorabuena! Su página ha sido publicada correctamente"),
                        PromptIcon::Information);
        break;
    case Outcome::SecureRefused:
        prompts.message(window, QStringLiteral("Brenzo"),
                        QStringLiteral("El servidor no admite conexiones seguras (FTPS)."),
                        PromptIcon::Critical, reason);
        break;
    case Outcome::LoginFailed:
        showPublishError(prompts, window,
                         QStringLiteral("No puede conectarse con el servidor indicado"), reason);
        [[fallthrough]];
    case Outcome::NotConnected:
        showPublishError(prompts, window,
                         QStringLiteral("No puede conectarse con el servidor con los datos "
                                        "indicados"),
                         reason);
        break;
    case Outcome::FolderFailed:
        showPublishError(prompts, window,
                         QStringLiteral("No puede accederse al directorio remoto especificado"),
                         reason);
        break;
    case Outcome::FileFailed:
        showPublishError(prompts, window, QStringLiteral("No puede enviarse el archivo ") + entry,
                         reason);
        break;
    }
}
