// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishSession.h"

#include "PublishSettings.h"
#include "UserPrompts.h"

namespace {

const QString ErrorTitle = QStringLiteral("Brenzo - Error");

} // namespace

PublishSession::PublishSession(UserPrompts &prompts, QWidget &window)
    : m_prompts(prompts), m_window(window), m_run(m_client),
      m_passwords(PasswordStore::create(m_settingsWriter)),
      m_trustedCertificates(PublishSettings::trustedCertificates())
{
    connect(&m_run, &UploadRun::finished, this, &PublishSession::onRunFinished);
    connect(m_passwords.get(), &PasswordStore::notKept, this, &PublishSession::warnPasswordNotKept);
}

void PublishSession::setUpload(const QString &startupFolder, const QStringList &files)
{
    m_startupFolder = startupFolder;
    m_files = files;
}

void PublishSession::start(const PublishSettings &settings)
{
    m_run.start({settings.server, settings.user, settings.password, settings.folder,
                 m_startupFolder, m_files, settings.connection == PublishSettings::Connection::Ftps,
                 m_trustedCertificates.value(settings.server)});
}

void PublishSession::save(const PublishSettings &settings)
{
    auto pending = std::make_shared<int>(2);
    const auto stored = [this, pending] {
        if (--*pending == 0)
            emit settingsSaved();
    };
    m_settingsWriter.run([settings] { settings.saveAllButPassword(); }, stored);
    m_passwords->write(settings.password, stored);
}

void PublishSession::warnPasswordNotKept()
{
    // Once: every publish tries again, and would say it again.
    if (std::exchange(m_passwordWarned, true))
        return;
    m_prompts.message(&m_window, QStringLiteral("Brenzo"),
                      QStringLiteral("No se pudo guardar la contraseña en el llavero del sistema. "
                                     "Se volverá a intentar la próxima vez que publique."),
                      PromptIcon::Warning);
}

void PublishSession::readPasswordOnce(std::function<void(const QString &)> answer)
{
    if (m_passwordAsked)
        return;
    m_passwordAsked = true;
    m_passwords->read(std::move(answer));
}

void PublishSession::answerCertificate(const CertificateIssue &issue, bool trust)
{
    if (trust) {
        m_trustedCertificates.insert(issue.server, issue.fingerprint);
        m_settingsWriter.run(
            [issue] { PublishSettings::saveTrustedCertificate(issue.server, issue.fingerprint); });
    }
    m_client.answerCertificate(trust);
}

void PublishSession::cancel()
{
    // Closing the connections makes the step under way fail; the run then
    // ends through that step's own failure, after this box.
    m_client.close();
    m_cancelBoxOpen = true;
    showError(QStringLiteral("Envio de página web cancelado por el usuario"));
    m_cancelBoxOpen = false;
    if (m_endAfterCancelBox) {
        const RunEnd end = *std::exchange(m_endAfterCancelBox, std::nullopt);
        endRun(end.outcome, end.entry, end.reason);
    }
}

void PublishSession::showError(const QString &text, const QString &details)
{
    m_prompts.message(&m_window, ErrorTitle, text, PromptIcon::Warning, details);
}

void PublishSession::onRunFinished(UploadRun::Outcome outcome, const QString &entry,
                                   const QString &reason)
{
    if (m_cancelBoxOpen) {
        m_endAfterCancelBox = RunEnd{outcome, entry, reason};
        return;
    }
    endRun(outcome, entry, reason);
}

// Every failure box also offers, as its details, why the step failed.
void PublishSession::endRun(UploadRun::Outcome outcome, const QString &entry, const QString &reason)
{
    switch (outcome) {
    case UploadRun::Outcome::Published:
        // The status line still names the last file while this box is open.
        m_prompts.message(&m_window, QStringLiteral("Brenzo"),
                          QStringLiteral("¡Enhorabuena! Su página ha sido publicada correctamente"),
                          PromptIcon::Information);
        break;
    case UploadRun::Outcome::SecureRefused:
        m_prompts.message(&m_window, QStringLiteral("Brenzo"),
                          QStringLiteral("El servidor no admite conexiones seguras (FTPS)."),
                          PromptIcon::Critical, reason);
        break;
    case UploadRun::Outcome::LoginFailed:
        showError(QStringLiteral("No puede conectarse con el servidor indicado"), reason);
        [[fallthrough]];
    case UploadRun::Outcome::NotConnected:
        showError(QStringLiteral("No puede conectarse con el servidor con los datos indicados"),
                  reason);
        break;
    case UploadRun::Outcome::FolderFailed:
        showError(QStringLiteral("No puede accederse al directorio remoto especificado"), reason);
        break;
    case UploadRun::Outcome::FileFailed:
        showError(QStringLiteral("No puede enviarse el archivo ") + entry, reason);
        break;
    }
    emit runEnded(outcome);
}
