// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class TrustQuestion;

// Where a run publishes to and as whom. The port is the one the user gave,
// or the protocol's own when none was given.
struct TransportLogin {
    QString host;
    quint16 port = 0;
    QString user;
    QString password;
    // How the server is named where what the user trusted of it is kept.
    QString serverName = QString();
};

// How long a run waits on the network before it gives up as if the
// connection had been lost: for the connection to be made (the TCP
// connection, and each data connection), and for the server to say or take
// anything while it is awaited. Two minutes each, unless a test sets less.
struct TransportLimits {
    int connectMs = 120'000;
    int silenceMs = 120'000;
    // How long removing what a cancelled upload left on the server may hold
    // the connection after the run has ended.
    static constexpr int CleanupMs = 10'000;
};

// The way the files of a run travel to the server: one connection, logged
// in, in one folder, one operation at a time. Each operation ends with
// finished(ok), always delivered from the event loop, never from inside the
// call that started or closed it; failureReason() then says why it failed.
// Nothing here waits: the window stays responsive and close() acts at once
// in every phase. FTP and FTPS live in publish/ftp/, every other protocol in
// a folder of its own beside it.
class Transport : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Applies to the connections opened after it.
    virtual void setLimits(const TransportLimits &limits) = 0;
    // Opens the connection and logs in. A failure closes the connection
    // before it is reported.
    virtual void connectAndLogin(const TransportLogin &login) = 0;
    // Makes the folder the one the files go to.
    virtual void changeDirectory(const QString &folder) = 0;
    // Sends the local file under the remote name, replacing what the server
    // held; progress() follows it.
    virtual void store(const QString &localPath, const QString &remoteName) = 0;
    // Removes what runs to this folder that were cut off left there (files
    // under temporary names), once the files of this run are in place. Where
    // files never travel under another name, nothing is sent.
    virtual void removeLeftovers()
    {
        QMetaObject::invokeMethod(
            this, [this] { emit finished(true); }, Qt::QueuedConnection);
    }
    // Closes every connection at once. An operation under way ends as
    // failed, with no reason to tell: it was our own doing. Harmless when
    // closed.
    virtual void close() = 0;

    virtual bool isConnected() const = 0;
    // Why the last operation failed, as the server or the system put it;
    // empty after success or a close of our own.
    virtual QString failureReason() const = 0;
    // What kind of failure the last operation was, beside failureReason()'s words.
    enum class Failure { Other, NoSecureConnection };
    virtual Failure failure() const { return Failure::Other; }

signals:
    void connected();                // the connection is up; nothing is read from it yet
    void disconnected();             // a connection that was up is closed
    void progress(qint64 bytesSent); // bytes of the current file sent so far
    void finished(bool ok);
    // The operation under way waits for the user's answer.
    void question(std::shared_ptr<TrustQuestion> question);
};
