// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

class UserPrompts;

// The application object. An exception that escapes an event handler or a
// slot ends up here and is shown in the general error box ("Brenzo", stop
// icon, the error's text, OK); the program then goes on.
class BrenzoApplication : public QApplication {
    Q_OBJECT

public:
    BrenzoApplication(int &argc, char **argv);

    // Where the general error box is shown; nothing is shown while unset.
    void setPrompts(UserPrompts *prompts) { m_prompts = prompts; }

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows an error in the general error box.
    void showGeneralError(const QString &text);

    // Shows an error in the running application's general error box. Handlers
    // call this with the errors they catch rather than letting an exception
    // travel through Qt's event delivery, which Qt does not support.
    static void reportGeneralError(const QString &text);

private:
    UserPrompts *m_prompts = nullptr;
};
