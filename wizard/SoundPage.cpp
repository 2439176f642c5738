#include "SoundPage.h"

SoundPage::SoundPage(QWidget *parent) : WizardPage(QStringLiteral("p3"), parent)
{
    addHeading(QStringLiteral("Label8"), QStringLiteral(u"Sonido de Fondo"));
}
