// SPDX-License-Identifier: GPL-3.0-or-later
#include "FtpClient.h"

#include "FtpChangeDirectory.h"
#include "FtpLogin.h"
#include "FtpStore.h"

FtpClient::FtpClient(QObject *parent) : QObject(parent)
{
    connect(&m_control, &FtpControlConnection::opened, this, [this] {
        emit status(Status::Connected);
        emit connected();
    });
    connect(&m_control, &FtpControlConnection::closed, this, [this] {
        emit status(Status::Disconnected);
        emit disconnected();
    });
}

FtpClient::~FtpClient()
{
    // The exchange refers to the control connection: let it go first.
    delete m_exchange;
}

void FtpClient::connectAndLogin(const QString &host, const QString &user, const QString &password)
{
    // A connection left open from before is not this run's to report on.
    close();
    emit status(Status::Connecting);
    run(new FtpLogin(m_control, host, m_port, user, password, this));
}

void FtpClient::changeDirectory(const QString &folder)
{
    run(new FtpChangeDirectory(m_control, folder, this));
}

void FtpClient::store(const QString &localPath, const QString &remoteName)
{
    auto *store = new FtpStore(m_control, localPath, remoteName, this);
    connect(store, &FtpStore::progress, this, &FtpClient::work);
    emit status(Status::Transferring);
    run(store);
}

void FtpClient::close()
{
    // The control connection goes first: a server that watches it then
    // learns of the cancel before it sees the data connection reset, and
    // takes the file in progress for what it is, incomplete.
    m_control.close();
    if (m_exchange)
        m_exchange->abort();
}

void FtpClient::run(FtpExchange *exchange)
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
