// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BrenzoApplication.h"

#include "prompts/UserPrompts.h"
#include "ui/ProgramError.h"

BrenzoApplication::BrenzoApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Brenzo"));
}

bool BrenzoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramError &error) {
        showGeneralError(error.text());
    } catch (const std::exception &error) {
        showGeneralError(QString::fromUtf8(error.what()));
    }
    return false;
}

void BrenzoApplication::showGeneralError(const QString &text)
{
    if (m_prompts)
        m_prompts->message(activeWindow(), QStringLiteral("Brenzo"), text, PromptIcon::Critical);
}

void BrenzoApplication::reportGeneralError(const QString &text)
{
    if (auto *app = qobject_cast<BrenzoApplication *>(QCoreApplication::instance()))
        app->showGeneralError(text);
    else
        qWarning("%s", qPrintable(text));
}
