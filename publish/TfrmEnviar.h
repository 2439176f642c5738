// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ftp/FtpClient.h"
#include "ftp/UploadRun.h"
#include "PublishSettingsWriter.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusLine;
class UserPrompts;

// The publishing window: the four remembered settings, "Publicar Web" that
// uploads the list of files to publish, and the status line that follows the
// run. Created hidden once at start-up, shown modally, hidden when closed.
class TfrmEnviar : public QDialog {
    Q_OBJECT

public:
    explicit TfrmEnviar(UserPrompts &prompts, QWidget *parent = nullptr);

    // What the next run uploads: bare file names, in order, read from the
    // start-up folder.
    void setUpload(const QString &startupFolder, const QStringList &files);

    void SetInputsEnabled(bool enabled);
    // Hands the four trimmed texts to the settings writer and returns at once;
    // the run does not wait for them to reach the store.
    void SaveSettings();
    void CloseConnection();

    // The client the window publishes with, for tests to aim at their server.
    FtpClient &ftpClient() { return m_client; }

    // Closing waits for a run under way to end.
    void done(int result) override;

signals:
    // Every text the status line shows, in order.
    void statusChanged(const QString &text);
    // Once per SaveSettings, when its texts have reached the store.
    void settingsSaved();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void btnPublicaClick();
    void BitBtn2Click();
    void BitBtn1Click();
    void Label7Click();
    void IdFTPConnected();
    void IdFTPDisconnected();
    void IdFTPStatus(FtpClient::Status status);
    void IdFTPWork(qint64 bytesSent);

private:
    void createControls();
    void FormCreate();
    void FormClose();
    void setStatus(const QString &text);
    void showError(const QString &text, const QString &details = QString());
    void onRunFinished(UploadRun::Outcome outcome, const QString &entry, const QString &reason);
    void endRun(UploadRun::Outcome outcome, const QString &entry, const QString &reason);

    UserPrompts &m_prompts;
    FtpClient m_client;
    UploadRun m_run;
    // Lives as long as the window, and finishes its pending saves when the
    // window is destroyed.
    PublishSettingsWriter m_settingsWriter;
    QString m_startupFolder;
    QStringList m_files;

    QLineEdit *m_txtServer = nullptr;
    QLineEdit *m_txtUSer = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QComboBox *m_txtRemoto = nullptr;
    QPushButton *m_btnPublica = nullptr;
    StatusLine *m_lblEstado = nullptr;

    // A run that ends while the cancel box is open is told after it.
    bool m_cancelBoxOpen = false;
    struct RunEnd {
        UploadRun::Outcome outcome;
        QString entry;
        QString reason;
    };
    std::optional<RunEnd> m_endAfterCancelBox;
    bool m_closeWhenRunEnds = false;
};
