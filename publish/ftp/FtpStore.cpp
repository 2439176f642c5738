// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpStore.h"

#include "files/LocalFile.h"
#include "publish/ftp/FtpControlConnection.h"
#include "publish/ftp/FtpDataConnection.h"
#include "publish/ftp/FtpTlsDataConnection.h"
#include "publish/ftp/PassiveReply.h"

FtpStore::FtpStore(FtpControlConnection &control, const QString &localPath,
                   const QString &remoteName, QObject *parent)
    : FtpExchange(control, parent), m_file(localPath), m_remoteName(remoteName)
{
    if (control.isSecure())
        m_data =
            std::make_unique<FtpTlsDataConnection>(control.hostName(), control.tlsConfiguration());
    else
        m_data = std::make_unique<FtpDataConnection>();
    connect(m_data.get(), &FtpDataChannel::opened, this, [this] {
        m_dataOpen = true;
        startSendingWhenReady();
    });
    connect(m_data.get(), &FtpDataChannel::progress, this, [this](qint64 bytesSent) {
        // The server is taking the file: the reply may well be long in coming.
        m_control.serverProgressed();
        emit progress(bytesSent);
    });
    connect(m_data.get(), &FtpDataChannel::sent, this, [this] {
        if (m_state == State::Sending)
            m_state = State::Final;
    });
    connect(m_data.get(), &FtpDataChannel::failed, this,
            [this] { failTransfer(m_data->errorText()); });
    connect(this, &FtpExchange::finished, this, [this] {
        m_data->abort();
        m_file.close();
    });
}

void FtpStore::start()
{
    // Everything that can be known to fail is checked before anything is
    // sent for this file.
    if (!m_control.isOpen())
        return fail(m_control.errorText());
    if (!canSend("STOR", m_remoteName))
        return fail();
    if (const QString why = LocalFile::openRegular(m_file, LocalFile::Links::Refuse);
        !why.isEmpty())
        return fail(why);
    m_state = State::Passive;
    send(extendedPassive() ? "EPSV" : "PASV");
}

bool FtpStore::extendedPassive() const
{
    const QHostAddress peer = m_control.peerAddress();
    bool mapped = false;
    peer.toIPv4Address(&mapped);
    return peer.protocol() == QAbstractSocket::IPv6Protocol && !mapped;
}

void FtpStore::abort()
{
    m_data->abort();
    fail(QString());
}

void FtpStore::onReply(const FtpReply &reply)
{
    switch (m_state) {
    case State::Passive: {
        std::optional<quint16> port;
        if (extendedPassive())
            port = reply.code == 229 ? PassiveReply::parseExtended(reply.text) : std::nullopt;
        else if (const auto passive =
                     reply.code == 227 ? PassiveReply::parse(reply.text) : std::nullopt)
            port = passive->port;
        if (!port)
            return fail();
        m_state = State::Opening;
        send("STOR", m_remoteName);
        // The limit set for the run holds for the data connections too.
        m_data->setConnectTimeout(m_control.connectTimeout());
        m_data->open(m_control.peerAddress(), *port);
        return;
    }
    case State::Opening:
        // The 1xx is acted on only once the data connection is up; a refusal
        // needs no data connection to be believed.
        if (!reply.isPreliminary())
            return failTransfer();
        m_preliminarySeen = true;
        return startSendingWhenReady();
    case State::Sending:
        // The server answered before it had the whole file: it broke off.
        return failTransfer();
    case State::Final:
        if (reply.code == 225 || reply.code == 226 || reply.code == 250)
            return succeed();
        return failTransfer();
    }
}

void FtpStore::startSendingWhenReady()
{
    if (m_state != State::Opening || !m_dataOpen || !m_preliminarySeen)
        return;
    m_state = State::Sending;
    m_data->send(&m_file);
}

void FtpStore::failTransfer(const QString &reason)
{
    m_data->abort();
    if (reason.isEmpty())
        fail();
    else
        fail(reason);
}
