// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/LiveCheck.h"
#include "publish/Transport.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

struct PublishSettings;
class TrustMemory;

// One publishing of the list of files: connect and log in, change to the
// remote folder when one is given, then send every file and stop at the
// first failure. By plain FTP the files go in list order; every other way
// the page goes last. Once every file is in place, the transport removes
// what earlier runs that were cut off left in the folder; then, when the
// user gave the page's address, the page is fetched as a visitor would. Each run has a transport of
// its own, made for the connection the settings choose. The job holds no window and opens no box:
// it tells where it is, asks its questions and says how the run ended; the window decides what the
// user sees.
class PublishJob : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Published,     // every file is on the server; the connection is still open
        LoginFailed,   // connecting or logging in failed; the connection is closed
        SecureRefused, // the server offers no secure connection; the connection is closed
        NotConnected,  // logging in raised no error but the connection is gone
        FolderFailed,  // the change of folder failed
        FileFailed,    // a file could not be read or sent
    };
    Q_ENUM(Outcome)

    // Certificates trusted unverified are looked up and kept in `trust`.
    explicit PublishJob(TrustMemory &trust, QObject *parent = nullptr);
    ~PublishJob() override;

    // What the next run uploads: bare file names, in order, the page first,
    // each sent from the start-up folder under the same name.
    void setUpload(const QString &startupFolder, const QStringList &files);
    // Handed to the transport of every later run.
    void setLimits(const TransportLimits &limits) { m_limits = limits; }

    // Starts a run with the trimmed texts of the settings; the server may
    // name a port. Nothing when a run is under way.
    void start(const PublishSettings &settings);
    // Closes the connection at once; a run under way then ends as failed
    // within a turn of the event loop, or, while the page is being checked,
    // as published, unchecked. Harmless when nothing is open.
    void cancel();
    bool isRunning() const { return m_step != Step::Idle; }

signals:
    // What the status line says as the run goes on.
    void statusChanged(const QString &text);
    // Bytes of the whole run handed on so far, out of the sizes of all its
    // files as they were when the run started.
    void progress(qint64 sent, qint64 total);
    // What a visitor gets at the page's address, just before a run that
    // published every file ends.
    void pageChecked(const LiveCheck::Report &report);
    // The run waits for the user's answer.
    void question(std::shared_ptr<TrustQuestion> question);
    // entry names the file that failed with FileFailed, and is empty
    // otherwise; reason is why the step failed, as the server or the system
    // put it (empty when there is none to tell).
    void finished(PublishJob::Outcome outcome, const QString &entry, const QString &reason);

private:
    enum class Step { Idle, Login, Folder, File, Leftovers, Check };

    void onTransportFinished(bool ok);
    void sendNextFile();
    void checkThePage();
    // The file at that place of the run's order.
    QString localPath(qsizetype index) const;
    void end(Outcome outcome, const QString &entry = QString(), const QString &reason = QString());
    // Ends for the reason the transport gives.
    void fail(Outcome outcome, const QString &entry = QString());

    TrustMemory &m_trust;
    TransportLimits m_limits;
    std::unique_ptr<Transport> m_transport;
    QString m_startupFolder;
    QStringList m_files;
    QStringList m_order; // of the run under way
    QString m_remoteFolder;
    QString m_address;
    LiveCheck m_check;
    Step m_step = Step::Idle;
    qsizetype m_index = 0;
    qint64 m_totalBytes = 0;
    qint64 m_doneBytes = 0; // of the files already sent
};
