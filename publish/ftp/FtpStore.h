// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpDataChannel.h"
#include "publish/ftp/FtpExchange.h"

#include <QFile>

#include <memory>

// One file sent under a remote name, replacing what the server held:
// PASV (227), or EPSV (229) when the control connection is IPv6, since a 227
// has no room for an IPv6 address; STOR sent at once, before the data
// connection is opened; the data connection, to the control connection's own
// server and the port of the reply (the address in a 227 is not trusted:
// behind NAT it is one we cannot reach, and a hostile server could aim the
// upload at another machine); 110, 125 or 150, read once the data connection
// is up; the file; the data connection's end; 225, 226 or 250. A 426 or 450
// says the server broke the transfer off and holds an incomplete file: that
// is a failure. However the store ends, the data connection is gone before
// the local file is closed. On a secured control connection the data
// connection is secured too.
class FtpStore : public FtpExchange {
    Q_OBJECT

public:
    FtpStore(FtpControlConnection &control, const QString &localPath, const QString &remoteName,
             QObject *parent = nullptr);

    void start() override;
    void abort() override;

    // STOR went out: the server may hold some of the file under its name.
    bool commandSent() const { return m_state != State::Passive; }

signals:
    void progress(qint64 bytesSent);

protected:
    void onReply(const FtpReply &reply) override;

private:
    enum class State { Passive, Opening, Sending, Final };

    void startSendingWhenReady();
    void failTransfer(const QString &reason = QString());
    bool extendedPassive() const;

    QFile m_file;
    QString m_remoteName;
    std::unique_ptr<FtpDataChannel> m_data;
    State m_state = State::Passive;
    bool m_dataOpen = false;
    bool m_preliminarySeen = false;
};
