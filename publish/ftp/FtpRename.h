// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpExchange.h"

// A file on the server given another name: RNFR with its name (350), RNTO
// with the new one (250). A failed rename tells which of the two the server
// refused, and with what code.
class FtpRename : public FtpExchange {
    Q_OBJECT

public:
    FtpRename(FtpControlConnection &control, const QString &from, const QString &to,
              QObject *parent = nullptr);

    void start() override;

    // The code the server refused RNFR or RNTO with; 0 when it did not.
    int fromRefusal() const { return m_fromRefusal; }
    int toRefusal() const { return m_toRefusal; }

protected:
    void onReply(const FtpReply &reply) override;

private:
    QString m_from;
    QString m_to;
    bool m_toSent = false;
    int m_fromRefusal = 0;
    int m_toRefusal = 0;
};
