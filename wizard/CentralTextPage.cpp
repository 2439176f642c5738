#include "CentralTextPage.h"

CentralTextPage::CentralTextPage(QWidget *parent) : WizardPage(QStringLiteral("p4"), parent)
{
    addHeading(QStringLiteral("Label7"), QStringLiteral(u"Texto"));
}
