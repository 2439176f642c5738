// SPDX-License-Identifier: GPL-3.0-or-later
#include "UploadRun.h"

#include "FtpClient.h"

#include <QDir>
#include <QFileInfo>

UploadRun::UploadRun(FtpClient &client, QObject *parent) : QObject(parent), m_client(client)
{
    connect(&m_client, &FtpClient::finished, this, &UploadRun::onClientFinished);
    connect(&m_client, &FtpClient::work, this, [this](qint64 bytesSent) {
        if (m_step == Step::File)
            emit progress(m_doneBytes + bytesSent, m_totalBytes);
    });
}

void UploadRun::start(const UploadJob &job)
{
    if (isActive())
        return;
    m_job = job;
    m_index = 0;
    m_doneBytes = 0;
    m_totalBytes = 0;
    for (const QString &entry : std::as_const(m_job.files))
        m_totalBytes += QFileInfo(QDir(m_job.startupFolder).filePath(entry)).size();
    m_step = Step::Login;
    m_client.connectAndLogin(m_job.host, m_job.user, m_job.password);
}

void UploadRun::onClientFinished(bool ok)
{
    switch (m_step) {
    case Step::Idle:
        return;
    case Step::Login:
        if (!ok)
            return fail(Outcome::LoginFailed);
        if (!m_client.isConnected())
            return fail(Outcome::NotConnected);
        if (!m_job.remoteFolder.isEmpty()) {
            m_step = Step::Folder;
            emit folderStepStarted();
            m_client.changeDirectory(m_job.remoteFolder);
            return;
        }
        return sendNextFile();
    case Step::Folder:
        if (!ok)
            return fail(Outcome::FolderFailed);
        return sendNextFile();
    case Step::File:
        if (!ok)
            return fail(Outcome::FileFailed, m_job.files.at(m_index));
        m_doneBytes +=
            QFileInfo(QDir(m_job.startupFolder).filePath(m_job.files.at(m_index))).size();
        emit progress(m_doneBytes, m_totalBytes);
        ++m_index;
        return sendNextFile();
    }
}

void UploadRun::sendNextFile()
{
    if (m_index >= m_job.files.size())
        return end(Outcome::Published);
    m_step = Step::File;
    const QString &entry = m_job.files.at(m_index);
    emit fileStarted(entry);
    m_client.store(QDir(m_job.startupFolder).filePath(entry), entry);
}

void UploadRun::end(Outcome outcome, const QString &entry, const QString &reason)
{
    m_step = Step::Idle;
    emit finished(outcome, entry, reason);
}

void UploadRun::fail(Outcome outcome, const QString &entry)
{
    end(outcome, entry, m_client.failureReason());
}
