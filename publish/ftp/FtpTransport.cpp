// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpTransport.h"

#include "publish/ftp/FtpChangeDirectory.h"
#include "publish/ftp/FtpLogin.h"
#include "publish/ftp/FtpReplaceFile.h"
#include "publish/ftp/FtpStore.h"
#include "publish/TrustMemory.h"

FtpTransport::FtpTransport(bool secure, TrustMemory &trust, QObject *parent)
    : Transport(parent), m_secure(secure), m_trust(trust)
{
    connect(&m_control, &FtpControlConnection::opened, this, &Transport::connected);
    // A connection kept to remove a temporary file is no longer the run's.
    connect(&m_control, &FtpControlConnection::closed, this, [this] {
        if (!m_withdrawn)
            emit disconnected();
    });
    m_withdrawLimit.setSingleShot(true);
    m_withdrawLimit.setInterval(TransportLimits::CleanupMs);
    connect(&m_withdrawLimit, &QTimer::timeout, this, &FtpTransport::endWithdrawal);
}

FtpTransport::~FtpTransport()
{
    // The exchanges refer to the control connection: let them go first.
    delete m_exchange;
    delete m_withdrawn;
}

void FtpTransport::setLimits(const TransportLimits &limits)
{
    m_control.setConnectTimeout(limits.connectMs);
    m_control.setSilenceTimeout(limits.silenceMs);
}

void FtpTransport::connectAndLogin(const TransportLogin &login)
{
    // A connection left open from before is not this run's to report on.
    endWithdrawal();
    close();
    m_secureRefused = false;
    m_renamesUnknown = false;
    auto *exchange =
        new FtpLogin(m_control, login.host, login.port, login.user, login.password, this);
    if (m_secure)
        exchange->setSecure(m_trust, login.serverName);
    connect(exchange, &FtpLogin::question, this, &Transport::question);
    connect(exchange, &FtpExchange::finished, this,
            [this, exchange] { m_secureRefused = exchange->secureRefused(); });
    run(exchange);
}

void FtpTransport::changeDirectory(const QString &folder)
{
    run(new FtpChangeDirectory(m_control, folder, this));
}

void FtpTransport::store(const QString &localPath, const QString &remoteName)
{
    if (m_secure && !m_renamesUnknown) {
        auto *exchange = new FtpReplaceFile(m_control, localPath, remoteName, this);
        connect(exchange, &FtpReplaceFile::progress, this, &Transport::progress);
        connect(exchange, &FtpExchange::finished, this,
                [this, exchange] { m_renamesUnknown |= exchange->renamesUnknown(); });
        return run(exchange);
    }
    auto *exchange = new FtpStore(m_control, localPath, remoteName, this);
    connect(exchange, &FtpStore::progress, this, &Transport::progress);
    run(exchange);
}

void FtpTransport::close()
{
    auto *replacing = qobject_cast<FtpReplaceFile *>(m_exchange.data());
    if (replacing && m_control.isOpen() && replacing->withdraw()) {
        // The run ends now, as after any other close; the exchange goes on
        // unheard until the server has removed the file.
        disconnect(replacing, &FtpExchange::finished, this, nullptr);
        connect(replacing, &FtpExchange::finished, this, &FtpTransport::endWithdrawal,
                Qt::QueuedConnection);
        m_withdrawn = std::exchange(m_exchange, nullptr);
        m_withdrawLimit.start();
        emit disconnected();
        m_failureReason.clear();
        QMetaObject::invokeMethod(
            this, [this] { emit finished(false); }, Qt::QueuedConnection);
        return;
    }
    // The control connection goes first: a server that watches it then
    // learns of the cancel before it sees the data connection reset, and
    // takes the file in progress for what it is, incomplete.
    m_control.close();
    if (m_exchange)
        m_exchange->abort();
}

bool FtpTransport::isConnected() const
{
    return m_control.isOpen() && !m_withdrawn;
}

void FtpTransport::endWithdrawal()
{
    if (!m_withdrawn)
        return;
    m_withdrawLimit.stop();
    m_control.close();
    delete std::exchange(m_withdrawn, nullptr);
}

void FtpTransport::run(FtpExchange *exchange)
{
    // One operation at a time: a caller that asks for another while one is
    // under way has lost track of it, and the older one is dropped unheard.
    if (m_exchange) {
        disconnect(m_exchange, nullptr, this, nullptr);
        m_exchange->abort();
        m_exchange->deleteLater();
    }
    m_exchange = exchange;
    // Queued: the exchange may end inside start(), inside close() or inside a
    // socket's signal, and whoever listens to finished() may well start the
    // next operation or open a message box.
    connect(
        exchange, &FtpExchange::finished, this,
        [this, ended = QPointer<FtpExchange>(exchange)](bool ok) {
            if (!ended)
                return;
            if (m_exchange == ended)
                m_exchange = nullptr;
            m_failureReason = ok ? QString() : ended->reason();
            ended->deleteLater();
            emit finished(ok);
        },
        Qt::QueuedConnection);
    exchange->start();
}
