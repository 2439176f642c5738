// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/PublishJob.h"
#include "publish/PublishSettings.h"
#include "publish/SettingsKeeper.h"

#include <QDialog>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusLine;
class TrustQuestion;
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

private:
    void createControls();
    void FormCreate();
    void FormClose();
    void setStatus(const QString &text);
    void askTrust(const std::shared_ptr<TrustQuestion> &question);
    void warnPasswordNotKept();
    void onRunFinished(PublishJob::Outcome outcome, const QString &entry, const QString &reason);
    PublishSettings::Connection connection() const;

    UserPrompts &m_prompts;
    // Keeps the settings; declared first, as the job asks it what is trusted.
    SettingsKeeper m_keeper;
    // Runs the upload; the window shows what it says.
    PublishJob m_job;

    QLineEdit *m_txtServer = nullptr;
    QLineEdit *m_txtUSer = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QComboBox *m_txtRemoto = nullptr;
    QComboBox *m_cmbConexion = nullptr;
    QLineEdit *m_txtDireccion = nullptr;
    QPushButton *m_btnPublica = nullptr;
    StatusLine *m_lblEstado = nullptr;

    // What the window does once the run under way has ended and said how:
    // stay open, close (asked for during the run, or the page is
    // published), or first tell that the user cancelled it, then close.
    enum class AfterRun { Stay, Close, CancelledThenClose };
    AfterRun m_afterRun = AfterRun::Stay;
    // The window lives as long as the program: the user is told once that
    // the password could not be kept.
    bool m_passwordWarned = false;
    // What the run under way found at the page's address, when it looked.
    std::optional<LiveCheck::Report> m_checked;
};
