#pragma once

#include "FtpReply.h"

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
    // Stops at once and ends as failed.
    virtual void abort() { fail(); }

    bool isDone() const { return m_done; }

signals:
    void finished(bool ok);

protected:
    virtual void onReply(const FtpReply &reply) = 0;

    // Sends the command; false, with nothing sent, when the argument may not
    // travel on the connection.
    bool send(const char *verb, const QString &argument = QString());
    void succeed();
    void fail();

    FtpControlConnection &m_control;

private:
    void end(bool ok);

    bool m_done = false;
};
