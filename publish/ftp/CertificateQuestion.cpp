// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/CertificateQuestion.h"

#include "publish/ftp/FtpAuthTls.h"

#include <QStringList>

namespace {

QString reason(const QSslError &error)
{
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("El certificado está firmado por el propio servidor, no por una "
                              "autoridad de certificación reconocida.");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral(
            "El certificado no está firmado por una autoridad de certificación reconocida.");
    case QSslError::CertificateExpired:
        return QStringLiteral("El certificado ha caducado.");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("El certificado todavía no es válido.");
    case QSslError::HostNameMismatch:
        return QStringLiteral("El certificado es para otro nombre de servidor.");
    case QSslError::CertificateRevoked:
        return QStringLiteral("El certificado ha sido revocado.");
    default:
        return QStringLiteral("El certificado no es válido (%1).").arg(error.errorString());
    }
}

} // namespace

QString certificateQuestionText(const CertificateIssue &issue)
{
    QStringList reasons;
    for (const QSslError &error : issue.errors) {
        const QString text = reason(error);
        if (!reasons.contains(text))
            reasons.append(text);
    }
    const QString opening =
        issue.changed
            ? QStringLiteral("El certificado del servidor %1 ha cambiado desde la última vez que "
                             "lo aceptó, y no puede comprobarse su identidad.")
            : QStringLiteral("No puede comprobarse la identidad del servidor %1.");
    return opening.arg(issue.server) + QStringLiteral("\n\n") + reasons.join(u'\n') +
           QStringLiteral("\n\nHuella SHA-256 del certificado:\n") + issue.fingerprint +
           QStringLiteral("\n\n¿Desea confiar en este certificado para este servidor?");
}
