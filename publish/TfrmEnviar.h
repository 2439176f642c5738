// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PublishSession.h"
#include "PublishSettings.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusLine;
class UserPrompts;

// The publishing window: the remembered settings, "Publicar Web" that
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
    // Hands the trimmed texts and the connection chosen to the settings writer, and
    // the password to the password store, and returns at once; the run does
    // not wait for them to be stored.
    void SaveSettings();
    void CloseConnection();

    // The client the window publishes with, for tests to aim at their server.
    FtpClient &ftpClient() { return m_session.client(); }

    // Closing waits for a run under way to end.
    void done(int result) override;

signals:
    // Every text the status line shows, in order.
    void statusChanged(const QString &text);
    // Once per SaveSettings, when its texts and the password are stored.
    void settingsSaved();
    // Once, when the password store has answered after the first showing.
    void passwordRead();

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
    void IdFTPCertificate(const CertificateIssue &issue);

private:
    void createControls();
    void FormCreate();
    void FormClose();
    void setStatus(const QString &text);
    PublishSettings::Connection connection() const;
    void onRunEnded(UploadRun::Outcome outcome);

    UserPrompts &m_prompts;
    // Runs the upload and keeps the settings; the window shows them.
    PublishSession m_session;

    QLineEdit *m_txtServer = nullptr;
    QLineEdit *m_txtUSer = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QComboBox *m_txtRemoto = nullptr;
    QComboBox *m_cmbConexion = nullptr;
    QPushButton *m_btnPublica = nullptr;
    StatusLine *m_lblEstado = nullptr;

    bool m_closeWhenRunEnds = false;
};
