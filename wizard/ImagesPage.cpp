#include "ImagesPage.h"

ImagesPage::ImagesPage(QWidget *parent) : WizardPage(QStringLiteral("p5"), parent)
{
    addHeading(QStringLiteral("Label13"), QStringLiteral(u"Imágenes de la página:"));
}
