// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts the page checks and the generation run show the user, exactly.
namespace PageMessages {

inline QString missingTitle()
{
    return QStringLiteral(u"Debe Especificar Título Principal");
}

inline QString badEmail()
{
    return QStringLiteral(u"La dirección E-Mail especificada no es correcta");
}

inline QString badPageFileName()
{
    return QStringLiteral(u"El nombre de archivo página WEB es incorrecto");
}

// Two blanks stand between "existe" and the question mark.
inline QString replaceQuestion(const QString &pageFileName)
{
    return QStringLiteral("El archivo ") + pageFileName + QStringLiteral(" ya existe ") +
           QStringLiteral(u" ¿ Desea reemplazarlo ?");
}

inline QString pageNotWritten()
{
    return QStringLiteral(u"Error: No puede crearse página WEB");
}

} // namespace PageMessages
