// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmailPage.h"

#include "LowerCaseValidator.h"
#include "PageSettings.h"
#include "WizardStyle.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

EmailPage::EmailPage(QWidget *parent) : WizardPage(QStringLiteral("p8"), parent)
{
    const PageSettings defaults;
    addHeading(QStringLiteral("Label25"),
               QStringLiteral(u"Dirección de E-MAIL y Nombre de la página"));
    addLabel(
        this, QStringLiteral("Label30"),
        QStringLiteral(u"Ahora debe especificar su dirección de E-MAIL y el nombre con el que se "
                       u"guarde la página, luego pulse Siguiente y la página se habrá creado."),
        8, 16, 457, 28);

    auto *emailBox = new QGroupBox(this);
    emailBox->setObjectName(QStringLiteral("GroupBox5"));
    emailBox->setGeometry(8, 48, 457, 113);
    addLabel(emailBox, QStringLiteral("Label27"), QStringLiteral("Título para especificar E-MAIL"),
             16, 14);
    txtTitolEmail = WizardStyle::lineEdit(emailBox, QStringLiteral("txtTitolEmail"),
                                          FieldLimits::txtTitolEmail);
    txtTitolEmail->setGeometry(16, 30, 425, 22);
    txtTitolEmail->setText(defaults.txtTitolEmail);
    addLabel(emailBox, QStringLiteral("Label28"), QStringLiteral(u"Dirección E-MAIL"), 16, 62);
    txtEmail = WizardStyle::lineEdit(emailBox, QStringLiteral("txtEmail"), FieldLimits::txtEmail);
    txtEmail->setGeometry(16, 78, 265, 22);
    txtEmail->setText(defaults.txtEmail);
    QLabel *hint = addLabel(emailBox, QStringLiteral("Label29"),
                            QStringLiteral("(ej: maria@correo.example)"), 288, 82);
    WizardStyle::setTextColour(hint, WizardStyle::kNavy);

    auto *nameBox = new QGroupBox(this);
    nameBox->setObjectName(QStringLiteral("GroupBox6"));
    nameBox->setGeometry(8, 168, 457, 85);
    addLabel(nameBox, QStringLiteral("Label31"),
             QStringLiteral(
                 u"El nombre de la página, depende del servidor donde se publique. La mayoría "
                 u"exigen que la página principal se llame index.htm o bien index.html"),
             8, 10, 441, 30);
    QFont ten(QStringLiteral("Arial"), 10);
    QLabel *nameLabel = addLabel(nameBox, QStringLiteral("Label26"),
                                 QStringLiteral(u"Nombre Archivo Página WEB:"), 40, 52);
    nameLabel->setFont(ten);
    nameLabel->adjustSize();
    txtHTML = WizardStyle::lineEdit(nameBox, QStringLiteral("txtHTML"), FieldLimits::txtHTML);
    txtHTML->setFont(ten);
    txtHTML->setGeometry(240, 48, 129, 24);
    txtHTML->setValidator(new LowerCaseValidator(txtHTML));
    txtHTML->setText(defaults.txtHTML);

    setTabOrder(txtTitolEmail, txtEmail);
    setTabOrder(txtEmail, txtHTML);
}

void EmailPage::pageShown()
{
    txtTitolEmail->setFocus();
}

void EmailPage::applySettings(const PageSettings &settings)
{
    txtTitolEmail->setText(settings.txtTitolEmail);
    txtEmail->setText(settings.txtEmail);
    txtHTML->setText(settings.txtHTML);
}

void EmailPage::readInto(PageSettings &settings) const
{
    settings.txtTitolEmail = txtTitolEmail->text();
    settings.txtEmail = txtEmail->text();
    settings.txtHTML = txtHTML->text();
}
