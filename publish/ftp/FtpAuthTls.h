// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpExchange.h"

#include <QSslCertificate>
#include <QSslError>

#include <memory>

class TrustMemory;
class TrustQuestion;

// A certificate that could not be verified, and what the user is asked about.
struct CertificateIssue {
    QString server;
    QList<QSslError> errors;
    QString fingerprint;  // SHA-256, hex
    bool changed = false; // another certificate was trusted for this server before
};

// Securing the control connection (RFC 4217): AUTH TLS (234), then the TLS
// handshake. A certificate that cannot be verified is let through only when
// `trust` holds its fingerprint for `server`, or when the user trusts it now:
// the question goes up as a signal, its answer comes straight back here, and
// a Yes is remembered in `trust`. Any other reply to AUTH TLS ends the step
// refused: the server offers no TLS, and the run must not go on in plain.
class FtpAuthTls : public FtpExchange {
    Q_OBJECT

public:
    FtpAuthTls(FtpControlConnection &control, TrustMemory &trust, const QString &server,
               QObject *parent = nullptr);

    void start() override;

    static QString fingerprintOf(const QSslCertificate &certificate);

    bool wasRefused() const { return m_refused; }

signals:
    void question(std::shared_ptr<TrustQuestion> question);

protected:
    void onReply(const FtpReply &reply) override;

private:
    void onCertificateUnverified(const QList<QSslError> &errors,
                                 const QSslCertificate &certificate);
    void answer(bool trust, const QString &fingerprint);

    TrustMemory &m_trust;
    QString m_server;
    bool m_handshaking = false;
    bool m_asking = false;
    bool m_refused = false;
};
