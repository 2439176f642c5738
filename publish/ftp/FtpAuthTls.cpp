// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpAuthTls.h"

#include "publish/ftp/CertificateQuestion.h"
#include "publish/ftp/FtpControlConnection.h"
#include "publish/TrustMemory.h"
#include "publish/TrustQuestion.h"

#include <QPointer>

FtpAuthTls::FtpAuthTls(FtpControlConnection &control, TrustMemory &trust, const QString &server,
                       QObject *parent)
    : FtpExchange(control, parent), m_trust(trust), m_server(server)
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
    const QString trusted = m_trust.trusted(m_server);
    if (!fingerprint.isEmpty() && fingerprint == trusted)
        return m_control.acceptCertificate();
    m_asking = true;
    const QString text =
        certificateQuestionText({m_control.hostName(), errors, fingerprint, !trusted.isEmpty()});
    // The answer may come after this step has ended, or never.
    emit question(std::make_shared<TrustQuestion>(
        text, [step = QPointer<FtpAuthTls>(this), fingerprint](bool trust) {
            if (step)
                step->answer(trust, fingerprint);
        }));
}

void FtpAuthTls::answer(bool trust, const QString &fingerprint)
{
    if (!m_asking || isDone())
        return;
    m_asking = false;
    if (trust) {
        m_trust.remember(m_server, fingerprint);
        m_control.acceptCertificate();
    } else {
        fail(QStringLiteral("No se confió en el certificado del servidor"));
    }
}

QString FtpAuthTls::fingerprintOf(const QSslCertificate &certificate)
{
    if (certificate.isNull())
        return QString();
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}
