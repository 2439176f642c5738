// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpReply.h"

#include <QObject>

class FtpControlConnection;

// One operation on the control connection: commands sent, replies checked
// against the codes that let it go on, a state that says which reply is
// awaited. It ends once, with finished(true) or finished(false); a closed or
// broken connection ends it as failed.
class FtpExchange : public QObject {
    Q_OBJECT

public:
    explicit FtpExchange(FtpControlConnection &control, QObject *parent = nullptr);

    virtual void start() = 0;
    // Stops at once and ends as failed, with no reason to tell: it was our
    // own doing.
    virtual void abort() { fail(QString()); }

    bool isDone() const { return m_done; }
    // Why it failed, as the server or the system put it: the server's last
    // reply ("530 Login incorrect."), or the error of the connection or the
    // file. Empty when nothing was said, as when the user closed it.
    QString reason() const { return m_reason; }

signals:
    void finished(bool ok);

protected:
    virtual void onReply(const FtpReply &reply) = 0;

    // Sends the command; false, with nothing sent, when the argument may not
    // travel on the connection.
    bool send(const char *verb, const QString &argument = QString());
    // Whether the command could be sent; when not, the reason says why.
    bool canSend(const char *verb, const QString &argument);
    void succeed();
    // Fails for the reason of the last reply received, unless another was
    // given.
    void fail();
    void fail(const QString &reason);

    FtpControlConnection &m_control;

private:
    void end(bool ok);

    QString m_reason;
    bool m_done = false;
};
