// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The maker's home page: shown and opened by the wizard, written into every
// page's header comment and footer. One constant, used everywhere.
inline QString makerHomePage()
{
    return QStringLiteral("https://www.brenzo.example/");
}

// The maker's web site name, as the suggested first link describes it.
inline QString makerSiteName()
{
    return QStringLiteral("Brenzo Software");
}

// The badge that every page shows in its footer and that is always published.
inline QString badgeFileName()
{
    return QStringLiteral("boton_brenzo.gif");
}
