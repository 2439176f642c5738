#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures: PNG files built into the program. They are read
// with the PNG decoder named and nothing else asked, so the first one shown
// does not load every picture plugin of the machine to find out which one
// knows the file (which costs a noticeable part of starting up). A picture
// that is missing gives an empty pixmap, as QPixmap does.
QPixmap artwork(const QString &resourcePath);
QIcon artworkIcon(const QString &resourcePath);
