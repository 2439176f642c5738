// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One way of publishing (FTP or FTPS to vsftpd, SFTP to OpenSSH's sshd)
// with the fault proxy in front of it, and the runs the fault matrix and the
// soak make through it: a run with one fault, then the same run again
// without one, each judged by what the program said, what the server holds
// and what the server logged.

#include "publish/PublishJob.h"
#include "tests/support/FaultProxy.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class SshdServer;
class VsftpdServer;

enum class Way { Ftp, Ftps, Sftp };

struct FaultCase {
    Phase phase;
    FaultProxy::Fault fault;
    FaultProxy::Link link = FaultProxy::Link::Control;
    QString name() const;
};

class FaultRig {
public:
    // How long the program waits on a silent server in these runs.
    static constexpr int SilenceMs = 2500;

    explicit FaultRig(Way way);
    ~FaultRig();

    // Every case that applies to this way of publishing.
    static QList<FaultCase> matrix(Way way);
    // Empty once every server answers; otherwise why not.
    QString start();
    // The threads the process has now are the idle ones (after other rigs started).
    void takeIdleThreads();
    // Lets go of the connections the last run left through the proxies.
    void dropConnections();

    struct Result {
        QString seen;      // how the run ended, in a few words, for the table
        QStringList wrong; // what was not as it must be; empty when all was
    };
    // The old files are put on the server, the case is run, then the same
    // run once more without a fault.
    Result run(const FaultCase &faultCase);

private:
    struct Ending;
    Ending publish(bool withAddress);
    QString folder() const;
    QByteArray content(const QString &name, bool fresh) const;
    QString serverLog() const;
    // mayBeCut: a file the case allows to be left cut, at its own name;
    // tidyable: the program could still remove its temporary file.
    void judgeServer(const QString &mayBeCut, bool tidyable, const Ending &ending,
                     qsizetype logFrom, QStringList &wrong) const;

    Way m_way;
    QTemporaryDir m_work;
    QStringList m_order; // the files in the order they are sent
    std::unique_ptr<VsftpdServer> m_vsftpd;
    std::unique_ptr<SshdServer> m_sshd;
    struct Web;
    std::unique_ptr<Web> m_web; // the site as visitors see it, for the check
    FaultProxy m_proxy;
    FaultProxy m_webProxy;
    std::unique_ptr<class MemoryTrust> m_trust;
    int m_threads = 0; // when idle
};
