// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The publishing window's messages, written out here once for the tests and
// the soak run, so both check the program against the texts themselves.

#include <QString>

namespace PublishTexts {

inline const QString ErrorTitle = QStringLiteral("Brenzo - Error");
inline const QString CannotConnect = QStringLiteral("No puede conectarse con el servidor indicado");
inline const QString CannotLogIn =
    QStringLiteral("No puede conectarse con el servidor con los datos indicados");
inline const QString CannotChangeFolder =
    QStringLiteral("No puede accederse al directorio remoto especificado");
inline const QString Cancelled = QStringLiteral("Envio de página web cancelado por el usuario");
inline const QString Published =
    QStringLiteral("¡Enhorabuena! Su página ha sido publicada correctamente");

inline QString cannotSend(const QString &entry)
{
    return QStringLiteral("No puede enviarse el archivo ") + entry;
}

} // namespace PublishTexts
