// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpExchange.h"

#include <QPointer>

#include <functional>

class FtpStore;

// One file sent so that the server never holds half of it under its name:
// it arrives under a temporary name (".NAME.brenzo-tmp") and, once whole,
// is renamed over the old one. A server that refuses to rename over a file
// has the old one set aside (".NAME.brenzo-old") while the new one takes
// its name, and put back when the new one cannot. A server that knows no
// RNFR, or that refuses the temporary name (553), gets the file again,
// under its own name, and the temporary one is removed. A store or rename
// that fails, or is withdrawn, while the connection lasts leaves no
// temporary file behind. Each step is an exchange of its own, run one after
// the other; a failure names the step's own reason.
class FtpReplaceFile : public FtpExchange {
    Q_OBJECT

public:
    FtpReplaceFile(FtpControlConnection &control, const QString &localPath,
                   const QString &remoteName, QObject *parent = nullptr);

    void start() override;
    void abort() override;
    // Cancelled while the file travels under its temporary name: its data
    // connection goes at once, and the exchange ends, as failed, once the
    // server has removed what it holds of it. False, with nothing done, at
    // any other step.
    bool withdraw();

    // The server answered RNFR as a command it does not know, or refused the
    // temporary name: files go under their own names from now on.
    bool renamesUnknown() const { return m_renamesUnknown; }

signals:
    void progress(qint64 bytesSent);

protected:
    void onReply(const FtpReply &) override {}

private:
    // Starts the step; `then` follows from the event loop once it ended,
    // unless this exchange ended first.
    void next(FtpExchange *step, std::function<void(bool ok)> then);
    FtpStore *store(const QString &remoteName);
    void putInPlace();
    void refusedName();
    void setAside(const QString &refusal);
    void removeTemporaryAndFail(const QString &reason);

    QString m_localPath;
    QString m_remoteName;
    QString m_temporary;
    QString m_old;
    QPointer<FtpExchange> m_step;
    bool m_renamesUnknown = false;
};
