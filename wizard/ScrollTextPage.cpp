#include "ScrollTextPage.h"

ScrollTextPage::ScrollTextPage(QWidget *parent) : WizardPage(QStringLiteral("p6"), parent)
{
    addHeading(QStringLiteral("Label20"), QStringLiteral(u"Texto desplazándose por la pantalla"));
}
