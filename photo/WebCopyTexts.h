// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

struct PhotoFacts;

// The words of the web copy's question and boxes.
namespace WebCopyTexts {

// "La foto «playa.jpg» ocupa 3,9 MB y mide 4032 × 3024 píxeles. ...", the
// copy named by copyName.
QString question(const QString &fileName, const QString &copyName, const PhotoFacts &facts);

// "La imagen «captura.png» está en formato PNG, ...": a picture the page
// can only show through its copy.
QString formatQuestion(const QString &fileName, const QString &copyName, const PhotoFacts &facts);

QString gone(const QString &fileName);
QString unreadable(const QString &fileName);
QString cutShort(const QString &fileName);
QString tooLarge(const QString &fileName, QSize pixels);
QString folderInTheWay(const QString &copyName);
QString linkInTheWay(const QString &copyName);
QString notWritten(const QString &copyName);

} // namespace WebCopyTexts
