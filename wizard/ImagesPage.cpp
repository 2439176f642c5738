// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/ImagesPage.h"

#include "page/PageSettings.h"
#include "wizard/FileList.h"
#include "wizard/PictureSlot.h"
#include "wizard/WebCopyOffer.h"
#include "wizard/WizardStyle.h"

#include <QAbstractButton>

ImagesPage::ImagesPage(UserPrompts &prompts, const QString &startupFolder,
                       std::function<QColor()> pageBackground, QWidget *parent)
    : WizardPage(QStringLiteral("p5"), parent),
      m_webCopies(new WebCopyOffer(prompts, std::move(pageBackground), this))
{
    addHeading(QStringLiteral("Label13"), QStringLiteral(u"Imágenes de la página:"));
    addLabel(this, QStringLiteral("Label14"),
             QStringLiteral(u"Puede seleccionar hasta 3 imágenes a incluir en la página. Las "
                            u"imágenes deben estar en formato GIF ó JPG y estar situadas en el "
                            u"mismo directorio del programa"),
             8, 20, 457, 29);

    const QString open = QStringLiteral(":/art/btn_abrir.png");
    btnImagen1 = WizardStyle::pictureButton(this, QStringLiteral("btnImagen1"),
                                            QStringLiteral(" Imagen &1"), open);
    btnImagen1->setGeometry(8, 56, 97, 25);
    btnImagen2 = WizardStyle::pictureButton(this, QStringLiteral("btnImagen2"),
                                            QStringLiteral("Imagen &2"), open);
    btnImagen2->setGeometry(104, 56, 97, 25);
    btnImagen3 = WizardStyle::pictureButton(this, QStringLiteral("btnImagen3"),
                                            QStringLiteral("Imagen &3"), open);
    btnImagen3->setGeometry(200, 56, 97, 25);
    btnReiniciarImg = WizardStyle::pictureButton(this, QStringLiteral("btnReiniciarImg"),
                                                 QStringLiteral(u"&Reiniciar Selección"),
                                                 QStringLiteral(":/art/btn_reiniciar_sel.png"));
    btnReiniciarImg->setGeometry(328, 56, 145, 25);
    connect(btnImagen1, &QAbstractButton::clicked, this, &ImagesPage::btnImagen1Click);
    connect(btnImagen2, &QAbstractButton::clicked, this, &ImagesPage::btnImagen2Click);
    connect(btnImagen3, &QAbstractButton::clicked, this, &ImagesPage::btnImagen3Click);
    connect(btnReiniciarImg, &QAbstractButton::clicked, this, &ImagesPage::btnReiniciarImgClick);

    for (int number = 1; number <= 3; ++number) {
        m_slots[number - 1] = new PictureSlot(number, startupFolder, this);
        connect(m_slots[number - 1], &PictureSlot::photoPicked, m_webCopies,
                [this, number](const QString &path, const PhotoFacts &facts) {
                    m_webCopies->offer(number, path, facts);
                });
        connect(m_slots[number - 1], &PictureSlot::copyNeeded, m_webCopies,
                [this, number](const QString &path, const PhotoFacts &facts) {
                    m_webCopies->offerNeeded(number, path, facts);
                });
    }
    connect(m_webCopies, &WebCopyOffer::prepared, this, &ImagesPage::takeWebCopy);
    connect(m_webCopies, &WebCopyOffer::declined, this,
            [this](int number, const QString &original) { slot(number)->dropPick(original); });
}

void ImagesPage::takeWebCopy(int number, const QString &original, const QString &copy)
{
    // Every list shown so far lists the new file; the slot takes it unless
    // the user has chosen another picture there meanwhile.
    for (PictureSlot *each : m_slots)
        each->refreshList();
    slot(number)->replacePick(original, copy);
}

void ImagesPage::openSlot(int number)
{
    for (PictureSlot *each : m_slots)
        each->setVisible(each->number() == number);
    slot(number)->open();
}

void ImagesPage::btnReiniciarImgClick()
{
    for (PictureSlot *each : m_slots)
        each->clear();
}

void ImagesPage::applySettings(const PageSettings &settings)
{
    m_webCopies->rememberCopies(settings.madeWebCopies);
    slot(1)->restore(settings.lblNombreImagen1, settings.txtImagen1);
    slot(2)->restore(settings.lblNombreImagen2, settings.txtImagen2);
    slot(3)->restore(settings.lblNombreImagen3, QString());
}

void ImagesPage::readInto(PageSettings &settings) const
{
    settings.lblNombreImagen1 = slot(1)->chosenName();
    settings.txtImagen1 = slot(1)->address();
    settings.lblNombreImagen2 = slot(2)->chosenName();
    settings.txtImagen2 = slot(2)->address();
    settings.lblNombreImagen3 = slot(3)->chosenName();
    settings.madeWebCopies = m_webCopies->madeCopies();
}
