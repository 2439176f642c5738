// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class FtpClient;

// What one upload needs, taken from the window when the run starts.
struct UploadJob {
    QString host;
    QString user;
    QString password;
    QString remoteFolder; // trimmed; empty when no folder change is made
    QString startupFolder;
    QStringList files; // bare names, each sent from the start-up folder under the same name
};

// The upload of the list of files to publish: connect and log in, change to
// the remote folder when one is given, then send every file in list order
// and stop at the first failure. It reports where it is and how it ended;
// the window decides what the user is told.
class UploadRun : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Published,    // every file is on the server; the connection is still open
        LoginFailed,  // connecting or logging in failed; the connection is closed
        NotConnected, // logging in raised no error but the connection is gone
        FolderFailed, // the change of folder failed
        FileFailed,   // a file could not be read or sent
    };
    Q_ENUM(Outcome)

    explicit UploadRun(FtpClient &client, QObject *parent = nullptr);

    void start(const UploadJob &job);
    bool isActive() const { return m_step != Step::Idle; }

signals:
    void folderStepStarted();
    void fileStarted(const QString &entry);
    // Bytes of the whole run handed on so far, out of the sizes of all its
    // files as they were when the run started.
    void progress(qint64 sent, qint64 total);
    // entry names the file that failed with FileFailed, and is empty
    // otherwise; reason is why the step failed, as the server or the system
    // put it (empty when there is none to tell).
    void finished(UploadRun::Outcome outcome, const QString &entry, const QString &reason);

private:
    enum class Step { Idle, Login, Folder, File };

    void onClientFinished(bool ok);
    void sendNextFile();
    void end(Outcome outcome, const QString &entry = QString(), const QString &reason = QString());
    // Ends for the reason the client gives.
    void fail(Outcome outcome, const QString &entry = QString());

    FtpClient &m_client;
    UploadJob m_job;
    Step m_step = Step::Idle;
    qsizetype m_index = 0;
    qint64 m_totalBytes = 0;
    qint64 m_doneBytes = 0; // of the files already sent
};
