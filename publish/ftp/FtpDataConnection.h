// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpDataChannel.h"

// A plain data connection. It is ready once connected; when the whole file is
// handed on, the sending half is closed, which is how the server learns that
// the file is complete.
class FtpDataConnection : public FtpDataChannel {
    Q_OBJECT

public:
    // A few blocks are kept queued, so that one is ready whenever the system
    // can take more, and memory stays bounded.
    static constexpr qint64 QueueLimit = 4 * BlockSize;

    explicit FtpDataConnection(QObject *parent = nullptr);

protected:
    void connectTo(const QHostAddress &address, quint16 port) override;
    qint64 discardWaiting(char *buffer, qint64 size) override;
    void endFile() override;
};
