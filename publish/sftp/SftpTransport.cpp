// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpTransport.h"

#include "publish/sftp/SftpFarewell.h"
#include "publish/sftp/SftpStop.h"
#include "publish/sftp/SftpWorker.h"
#include "publish/TrustMemory.h"
#include "publish/TrustQuestion.h"

#include <QPointer>

SftpTransport::SftpTransport(TrustMemory &trust, QObject *parent)
    : Transport(parent), m_trust(trust)
{
}

SftpTransport::~SftpTransport()
{
    retire();
}

void SftpTransport::connectAndLogin(const TransportLogin &login)
{
    // A connection left open from before is not this run's to report on.
    close();
    m_stop = std::make_shared<SftpStop>();
    m_thread = new QThread;
    m_worker = new SftpWorker(m_stop, m_trust.trustedHostKeys(), login, m_limits);
    m_worker->moveToThread(m_thread);
    // The worker ends on its own thread, which then goes from this one.
    connect(
        m_thread, &QThread::finished, m_worker, [worker = m_worker] { delete worker; },
        Qt::DirectConnection);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    // What the worker said before it was retired may still be on its way.
    const auto current = [this, generation = ++m_generation](auto handle) {
        return [this, generation, handle](auto... arguments) {
            if (generation == m_generation && m_worker)
                handle(arguments...);
        };
    };
    connect(m_worker, &SftpWorker::connected, this, current([this] {
                m_connected = true;
                emit connected();
            }));
    connect(m_worker, &SftpWorker::disconnected, this, current([this] {
                m_connected = false;
                emit disconnected();
            }));
    connect(m_worker, &SftpWorker::progress, this,
            current([this](qint64 sent) { emit progress(sent); }));
    connect(m_worker, &SftpWorker::trustNeeded, this,
            current([this](const QString &text, const QByteArray &trusting) {
                onTrustNeeded(text, trusting);
            }));
    connect(m_worker, &SftpWorker::done, this,
            current([this](bool ok, const QString &reason) { onDone(ok, reason); }));
    m_thread->start();
    run([](SftpWorker *worker) { worker->connectAndLogin(); });
}

void SftpTransport::changeDirectory(const QString &folder)
{
    run([folder](SftpWorker *worker) { worker->changeDirectory(folder); });
}

void SftpTransport::store(const QString &localPath, const QString &remoteName)
{
    run([localPath, remoteName](SftpWorker *worker) { worker->store(localPath, remoteName); });
}

void SftpTransport::removeLeftovers()
{
    run([](SftpWorker *worker) { worker->removeLeftovers(); });
}

void SftpTransport::run(std::function<void(SftpWorker *)> call)
{
    m_busy = true;
    m_failureReason.clear();
    if (!m_worker) {
        QMetaObject::invokeMethod(
            this, [this] { onDone(false, QStringLiteral("No hay conexión con el servidor")); },
            Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, call = std::move(call)] { call(worker); },
        Qt::QueuedConnection);
}

void SftpTransport::onDone(bool ok, const QString &reason)
{
    m_busy = false;
    m_failureReason = ok ? QString() : reason;
    emit finished(ok);
}

void SftpTransport::onTrustNeeded(const QString &text, const QByteArray &trusting)
{
    auto answer = [self = QPointer(this), stop = std::weak_ptr(m_stop), trusting](bool trust) {
        // Only the connection that asked may go on with the answer.
        if (!self || !self->m_stop || self->m_stop != stop.lock())
            return;
        if (trust)
            self->m_trust.rememberHostKeys(trusting);
        QMetaObject::invokeMethod(
            self->m_worker, [worker = self->m_worker, trust] { worker->answerTrust(trust); },
            Qt::QueuedConnection);
    };
    emit question(std::make_shared<TrustQuestion>(text, answer));
}

void SftpTransport::close()
{
    const bool wasBusy = std::exchange(m_busy, false);
    const bool wasConnected = std::exchange(m_connected, false);
    retire();
    m_failureReason.clear();
    if (wasConnected)
        emit disconnected();
    if (wasBusy)
        QMetaObject::invokeMethod(
            this, [this] { emit finished(false); }, Qt::QueuedConnection);
}

// The connection goes on on its own thread only to remove what it cut short
// and say goodbye; nothing of it reaches this side any more.
void SftpTransport::retire()
{
    if (!m_thread)
        return;
    disconnect(m_worker, nullptr, this, nullptr);
    m_stop->request();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->finish(); }, Qt::QueuedConnection);
    SftpFarewell::keep(m_thread, std::move(m_stop));
    m_thread = nullptr;
    m_worker = nullptr;
}
