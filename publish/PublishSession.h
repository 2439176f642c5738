// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ftp/FtpClient.h"
#include "ftp/UploadRun.h"
#include "PasswordStore.h"
#include "WriterThread.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

struct PublishSettings;
class QWidget;
class UserPrompts;

// What the publishing window runs: the FTP client and the upload run, the
// remembered settings, password and trusted certificates, and the boxes that
// tell how a run ended. The window shows the texts and keeps the inputs.
class PublishSession : public QObject {
    Q_OBJECT

public:
    // The boxes open over `window`.
    PublishSession(UserPrompts &prompts, QWidget &window);

    // What the next run uploads: bare file names, in order, read from the
    // start-up folder.
    void setUpload(const QString &startupFolder, const QStringList &files);

    FtpClient &client() { return m_client; }
    UploadRun &run() { return m_run; }
    bool isRunning() const { return m_run.isActive(); }

    // Starts uploading with the trimmed texts the settings hold.
    void start(const PublishSettings &settings);
    // Hands the texts to the settings writer and the password to its store,
    // and returns at once; settingsSaved follows when both are stored.
    void save(const PublishSettings &settings);
    // Asks the password store once; `answer` is called when it answers.
    void readPasswordOnce(std::function<void(const QString &)> answer);
    // Remembers the server's certificate when the user trusts it, and tells
    // the client the answer.
    void answerCertificate(const CertificateIssue &issue, bool trust);
    // Closes the connections and tells the user the sending was cancelled; a
    // run that ends while that box is open is told after it.
    void cancel();

    void showError(const QString &text, const QString &details = QString());

signals:
    void settingsSaved();
    // After the boxes that tell how the run ended have been closed.
    void runEnded(UploadRun::Outcome outcome);

private:
    void onRunFinished(UploadRun::Outcome outcome, const QString &entry, const QString &reason);
    void endRun(UploadRun::Outcome outcome, const QString &entry, const QString &reason);
    void warnPasswordNotKept();

    UserPrompts &m_prompts;
    QWidget &m_window;
    FtpClient m_client;
    UploadRun m_run;
    // Lives as long as the session, and finishes its pending saves when the
    // session is destroyed.
    WriterThread m_settingsWriter;
    // Declared after the writer it writes through, so it goes first.
    std::unique_ptr<PasswordStore> m_passwords;
    bool m_passwordAsked = false;
    // The window, and so this session, lives as long as the program: the
    // user is told once per run that the password could not be kept.
    bool m_passwordWarned = false;
    // Certificates trusted unverified, by server: read at creation, and kept
    // up to date here as the user trusts more.
    QHash<QString, QString> m_trustedCertificates;
    QString m_startupFolder;
    QStringList m_files;

    // A run that ends while the cancel box is open is told after it.
    bool m_cancelBoxOpen = false;
    struct RunEnd {
        UploadRun::Outcome outcome;
        QString entry;
        QString reason;
    };
    std::optional<RunEnd> m_endAfterCancelBox;
};
