#pragma once

#include "FtpDataChannel.h"
#include "FtpExchange.h"

#include <QFile>

#include <memory>

// One file sent under a remote name, replacing what the server held:
// PASV (227); STOR sent at once, before the data connection is opened; the
// data connection, to the control connection's own server and the port of
// the 227 (the address in it is not trusted: behind NAT it is one we cannot
// reach, and a hostile server could aim the upload at another machine);
// 110, 125 or 150, read once the data connection is up; the file; the data
// connection closed; 225, 226 or 250. A 426 or 450 says the server broke the
// transfer off and holds an incomplete file: that is a failure. On a secured
// control connection the data connection is secured too.
class FtpStore : public FtpExchange {
    Q_OBJECT

public:
    FtpStore(FtpControlConnection &control, const QString &localPath, const QString &remoteName,
             QObject *parent = nullptr);

    void start() override;
    void abort() override;

signals:
    void progress(qint64 bytesSent);

protected:
    void onReply(const FtpReply &reply) override;

private:
    enum class State { Passive, Opening, Sending, Final };

    void startSendingWhenReady();
    void failTransfer();

    QFile m_file;
    QString m_remoteName;
    std::unique_ptr<FtpDataChannel> m_data;
    State m_state = State::Passive;
    bool m_dataOpen = false;
    bool m_preliminarySeen = false;
};
