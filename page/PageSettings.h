// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// Colour combination picked on the colours page; the values bear the names of
// the option buttons, in the order the page shows them.
enum class Combinacion { optBlanco, optNoche, optRojo, optCielo, optVerde, optAmarillo };

// Size of the central text.
enum class Tamano { optMini, optNormal, optGrande, optSuper };

// Where the scrolling text goes: before or after the central text.
enum class Posicion { optAntesTexto, optDespuesTexto };

// One row of the links grid: column 0 is the address, column 1 the words shown.
struct LinkRow {
    QString address;
    QString description;

    // A row counts as a link only when its address is not blank.
    bool isLink() const;

    bool operator==(const LinkRow &) const = default;
};

inline constexpr int kLinkRowCount = 20;
inline constexpr qsizetype kCentralLineLimit = 4096;

// Every choice that reaches the home page, one field per wizard control and
// named after it. A value starts with the defaults the wizard shows at start.
struct PageSettings {
    // Titles
    QString txtTitol;
    QString txtSubTitol1;
    QString txtSubTitol2;
    bool chkMarco = false;

    // Colours
    Combinacion optCombinacion = Combinacion::optBlanco;
    bool chkFondo = false;
    bool chkFondoFijo = true;

    // Background sound
    QString stSonido;
    bool chkLoop = true;

    // Central text, as the text box holds it (line breaks included); see
    // centralTextLines() for the lines that reach the page.
    QString txtLibre;
    Tamano optTamano = Tamano::optNormal;
    bool chkNegrita = false;
    bool chkCursiva = false;

    // Pictures
    QString lblNombreImagen1;
    QString txtImagen1;
    QString lblNombreImagen2;
    QString txtImagen2;
    QString lblNombreImagen3;

    // Scrolling text
    QString TextoScroll = QStringLiteral(u"Página WEB");
    Posicion optPosicion = Posicion::optAntesTexto;

    // Links
    QString txtTitolEnlaces =
        QStringLiteral(u"Te recomiendo que visites las siguientes direcciones de Internet:");
    std::array<LinkRow, kLinkRowCount> GridEnlaces;

    // E-mail and page file
    QString txtTitolEmail = QStringLiteral(u"Puedes escribirme a mi dirección de E-MAIL:");
    QString txtEmail = QStringLiteral("@");
    QString txtHTML = QStringLiteral("index.htm");
    // The page adapted to phones and today's browsers instead of the exact one.
    bool chkMovil = false;

    // Not a choice and never on the page: the copies for the web the wizard
    // wrote into the folder, by bare name, with the SHA-256 of their bytes.
    // A later copy replaces one of them only while it is unchanged, never a
    // file of the user's.
    QMap<QString, QByteArray> madeWebCopies;

    // The central text split at its line breaks (CR LF, LF or CR). A text that
    // ends with a line break has no empty last entry, an empty text has no
    // lines, and every line is cut to its first 4096 characters.
    QStringList centralTextLines() const;

    // The same lines as views into txtLibre, valid while it is unchanged.
    QList<QStringView> centralTextLineViews() const;

    // True when the central text holds more than blanks and line breaks.
    bool hasCentralText() const;

    bool operator==(const PageSettings &) const = default;
};

// The most characters the user can type into each limited field.
namespace FieldLimits {
inline constexpr int txtTitol = 100;
inline constexpr int txtSubTitol = 100;
inline constexpr int txtImagen = 100;
inline constexpr int TextoScroll = 100;
inline constexpr int txtTitolEnlaces = 75;
inline constexpr int txtTitolEmail = 100;
inline constexpr int txtEmail = 75;
inline constexpr int txtHTML = 30;
} // namespace FieldLimits
