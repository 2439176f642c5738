// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/PublishJob.h"

#include "publish/PublishSettings.h"
#include "publish/ServerAddress.h"
#include "publish/TransportFactory.h"
#include "publish/TrustMemory.h"
#include "publish/TrustQuestion.h"

#include <QDir>
#include <QFileInfo>

PublishJob::PublishJob(TrustMemory &trust, QObject *parent) : QObject(parent), m_trust(trust)
{
    connect(&m_check, &LiveCheck::finished, this, [this](const LiveCheck::Report &report) {
        if (m_step != Step::Check)
            return;
        emit pageChecked(report);
        end(Outcome::Published);
    });
}

PublishJob::~PublishJob()
{
    // Its last words are not this job's to report.
    if (m_transport)
        m_transport->disconnect(this);
}

void PublishJob::setUpload(const QString &startupFolder, const QStringList &files)
{
    m_startupFolder = startupFolder;
    m_files = files;
}

void PublishJob::start(const PublishSettings &settings)
{
    if (isRunning())
        return;
    if (m_transport) {
        m_transport->disconnect(this);
        m_transport->close();
        m_transport.release()->deleteLater();
    }
    m_remoteFolder = settings.folder;
    m_address = settings.address;
    // By plain FTP the files go in the list's order, as they always have.
    // Every other way, the page, which comes first, goes last: a run cut
    // short then leaves the old page, never one whose pictures are missing.
    m_order = m_files;
    if (settings.connection != PublishSettings::Connection::Ftp && !m_order.isEmpty())
        m_order.move(0, m_order.size() - 1);
    m_index = 0;
    m_doneBytes = 0;
    m_totalBytes = 0;
    for (qsizetype i = 0; i < m_order.size(); ++i)
        m_totalBytes += QFileInfo(localPath(i)).size();
    m_step = Step::Login;

    m_transport = makeTransport(settings, m_trust);
    m_transport->setLimits(m_limits);
    Transport *transport = m_transport.get();
    const QString connectedText = settings.connection == PublishSettings::Connection::Sftp
                                      ? QStringLiteral("Conectado con el servidor SFTP")
                                      : QStringLiteral("Conectado con el servidor FTP");
    connect(transport, &Transport::connected, this,
            [this, connectedText] { emit statusChanged(connectedText); });
    connect(transport, &Transport::disconnected, this,
            [this] { emit statusChanged(QStringLiteral("No conectado")); });
    connect(transport, &Transport::progress, this, [this](qint64 bytesSent) {
        if (m_step == Step::File)
            emit progress(m_doneBytes + bytesSent, m_totalBytes);
    });
    connect(transport, &Transport::question, this, &PublishJob::question);
    connect(transport, &Transport::finished, this, &PublishJob::onTransportFinished);

    const ServerAddress address = ServerAddress::parse(settings.server);
    if (!address.error.isEmpty()) {
        // Nothing is sent to a port that cannot be; the run ends as a login
        // that failed, from the event loop like every other end.
        QMetaObject::invokeMethod(
            this,
            [this, reason = address.error] {
                if (m_step == Step::Login)
                    end(Outcome::LoginFailed, QString(), reason);
            },
            Qt::QueuedConnection);
        return;
    }
    const quint16 port = address.port != 0 ? address.port : defaultPort(settings);
    transport->connectAndLogin({address.host, port, settings.user, settings.password,
                                TrustMemory::serverKey(address.host, port, defaultPort(settings))});
}

void PublishJob::cancel()
{
    if (m_transport)
        m_transport->close();
    if (m_step == Step::Check) {
        m_check.cancel();
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_step == Step::Check)
                    end(Outcome::Published);
            },
            Qt::QueuedConnection);
    }
}

void PublishJob::onTransportFinished(bool ok)
{
    switch (m_step) {
    case Step::Idle:
        return;
    case Step::Login:
        if (!ok)
            return fail(m_transport->failure() == Transport::Failure::NoSecureConnection
                            ? Outcome::SecureRefused
                            : Outcome::LoginFailed);
        if (!m_transport->isConnected())
            return fail(Outcome::NotConnected);
        if (!m_remoteFolder.isEmpty()) {
            m_step = Step::Folder;
            emit statusChanged(QStringLiteral("Situándose en directorio remoto inicial ..."));
            m_transport->changeDirectory(m_remoteFolder);
            return;
        }
        return sendNextFile();
    case Step::Folder:
        if (!ok)
            return fail(Outcome::FolderFailed);
        return sendNextFile();
    case Step::File:
        if (!ok)
            return fail(Outcome::FileFailed, m_order.at(m_index));
        m_doneBytes += QFileInfo(localPath(m_index)).size();
        emit progress(m_doneBytes, m_totalBytes);
        ++m_index;
        return sendNextFile();
    case Step::Leftovers:
        // Every file is in place: what could not be removed now is removed
        // by a later run.
        return checkThePage();
    case Step::Check:
        return;
    }
}

// The page as a visitor gets it, when the user gave its address. Whatever
// the check finds, the page was published.
void PublishJob::checkThePage()
{
    if (m_address.isEmpty())
        return end(Outcome::Published);
    m_step = Step::Check;
    emit statusChanged(QStringLiteral("Comprobando la página publicada ..."));
    // A server silent for longer than a run allows is as gone here too.
    m_check.setTimeLimit(std::min(LiveCheck::WholeCheckMs, m_limits.silenceMs));
    m_check.start(m_address, m_startupFolder, m_files);
}

void PublishJob::sendNextFile()
{
    if (m_index >= m_order.size()) {
        m_step = Step::Leftovers;
        m_transport->removeLeftovers();
        return;
    }
    m_step = Step::File;
    const QString &entry = m_order.at(m_index);
    emit statusChanged(QStringLiteral("Enviando el archivo: ") + entry + QStringLiteral(" ..."));
    m_transport->store(localPath(m_index), entry);
}

QString PublishJob::localPath(qsizetype index) const
{
    return QDir(m_startupFolder).filePath(m_order.at(index));
}

void PublishJob::end(Outcome outcome, const QString &entry, const QString &reason)
{
    m_step = Step::Idle;
    emit finished(outcome, entry, reason);
}

void PublishJob::fail(Outcome outcome, const QString &entry)
{
    end(outcome, entry, m_transport->failureReason());
}
