// SPDX-License-Identifier: GPL-3.0-or-later
#include "FtpAuthTls.h"

#include "FtpControlConnection.h"

FtpAuthTls::FtpAuthTls(FtpControlConnection &control, const QString &trustedFingerprint,
                       QObject *parent)
    : FtpExchange(control, parent), m_trustedFingerprint(trustedFingerprint)
{
    connect(&m_control, &FtpControlConnection::secured, this, [this] {
        if (m_handshaking)
            succeed();
    });
    connect(&m_control, &FtpControlConnection::certificateUnverified, this,
            &FtpAuthTls::onCertificateUnverified);
}

void FtpAuthTls::start()
{
    if (!m_control.isOpen() || !send("AUTH TLS"))
        fail();
}

void FtpAuthTls::onReply(const FtpReply &reply)
{
    // Nothing is expected on the connection during the handshake.
    if (m_handshaking)
        return fail();
    if (reply.code != 234) {
        m_refused = true;
        return fail();
    }
    m_handshaking = true;
    m_control.startTls();
}

void FtpAuthTls::onCertificateUnverified(const QList<QSslError> &errors,
                                         const QSslCertificate &certificate)
{
    if (!m_handshaking || m_asking || isDone())
        return;
    const QString fingerprint = fingerprintOf(certificate);
    if (!fingerprint.isEmpty() && fingerprint == m_trustedFingerprint)
        return m_control.acceptCertificate();
    m_asking = true;
    emit certificateQuestion(
        {m_control.hostName(), errors, fingerprint, !m_trustedFingerprint.isEmpty()});
}

void FtpAuthTls::answer(bool trust)
{
    if (!m_asking || isDone())
        return;
    m_asking = false;
    if (trust)
        m_control.acceptCertificate();
    else
        fail(QStringLiteral("No se confió en el certificado del servidor"));
}

QString FtpAuthTls::fingerprintOf(const QSslCertificate &certificate)
{
    if (certificate.isNull())
        return QString();
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}
