// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

#include <QColor>

#include <array>
#include <functional>

class PictureSlot;
class QAbstractButton;
class UserPrompts;
class WebCopyOffer;

// Page 5: up to three pictures, each in its own place on the page and, for
// the first two, with an address a click on the picture opens. One slot is
// open at a time. A large photo, or one that tells where it was taken, is
// offered a copy for the web; a HEIC, HEIF, PNG or WebP picture goes on the
// page only through one.
class ImagesPage : public WizardPage {
    Q_OBJECT

public:
    // pageBackground gives the page's background colour, which fills the
    // transparent parts of a picture's copy for the web.
    ImagesPage(UserPrompts &prompts, const QString &startupFolder,
               std::function<QColor()> pageBackground, QWidget *parent);

    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // Slot 1, 2 or 3.
    PictureSlot *slot(int number) const { return m_slots[number - 1]; }
    WebCopyOffer *webCopies() const { return m_webCopies; }

    QAbstractButton *btnImagen1 = nullptr;
    QAbstractButton *btnImagen2 = nullptr;
    QAbstractButton *btnImagen3 = nullptr;

private:
    QAbstractButton *btnReiniciarImg = nullptr;

public slots:
    void btnImagen1Click() { openSlot(1); }
    void btnImagen2Click() { openSlot(2); }
    void btnImagen3Click() { openSlot(3); }
    void btnReiniciarImgClick();

private:
    void openSlot(int number);
    void takeWebCopy(int number, const QString &original, const QString &copy);

    std::array<PictureSlot *, 3> m_slots{};
    WebCopyOffer *m_webCopies = nullptr;
};
