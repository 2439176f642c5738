// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/LiveCheckMessages.h"

namespace LiveCheckMessages {

QString text(const LiveCheck::Report &report)
{
    using Verdict = LiveCheck::Verdict;
    const QString address = report.address.toString();
    switch (report.verdict) {
    case Verdict::Live:
        break;
    case Verdict::PageNotFound:
        return QStringLiteral("Su página se ha publicado, pero no se ve en %1. Puede que el "
                              "directorio remoto no sea el que muestra su servidor web: pruebe "
                              "con public_html, www o htdocs, o pregunte a su proveedor.")
            .arg(address);
    case Verdict::OtherPageAtAddress:
        return QStringLiteral("Su página se ha publicado, pero en %1 se ve otra página. Puede "
                              "que su proveedor haya dejado allí su propia página de inicio "
                              "(index.html, index.php...): bórrela, o dé a su página otro nombre "
                              "en la página 8.")
            .arg(address);
    case Verdict::OldCopy:
        return QStringLiteral("Su página se ha publicado, pero %1 muestra todavía una copia "
                              "anterior. Es normal durante unos minutos si su proveedor guarda "
                              "copias: vuelva a mirarla más tarde.")
            .arg(address);
    case Verdict::FilesMissing:
        return QStringLiteral("Su página se ha publicado, pero estos archivos no se ven en su "
                              "dirección: %1.")
            .arg(report.missing.join(QStringLiteral(", ")));
    case Verdict::BadCertificate:
        return QStringLiteral("Su página ya puede verse en %1, pero su certificado no es válido: "
                              "los navegadores avisarán a quien la visite.")
            .arg(address);
    case Verdict::Unreachable:
        return QStringLiteral("No pudo comprobarse su página en %1: %2.")
            .arg(address, report.reason);
    }
    return QStringLiteral("Su página ya puede verse en %1").arg(address);
}

QString details(const LiveCheck::Report &report)
{
    QStringList lines;
    for (const LiveCheck::Fetch &fetch : report.fetches) {
        const QString status =
            fetch.status ? QString::number(fetch.status) : QStringLiteral("sin respuesta");
        lines.append(
            QStringLiteral("%1 — HTTP %2 — %3").arg(fetch.url.toString(), status, fetch.found));
    }
    return lines.join(u'\n');
}

} // namespace LiveCheckMessages
