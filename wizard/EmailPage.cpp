// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/EmailPage.h"

#include "page/PageSettings.h"
#include "wizard/LowerCaseValidator.h"
#include "wizard/WizardStyle.h"

#include <QCheckBox>
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
    emailBox->setGeometry(8, 46, 457, 96);
    addLabel(emailBox, QStringLiteral("Label27"), QStringLiteral("Título para especificar E-MAIL"),
             16, 8);
    txtTitolEmail = WizardStyle::lineEdit(emailBox, QStringLiteral("txtTitolEmail"),
                                          FieldLimits::txtTitolEmail);
    txtTitolEmail->setGeometry(16, 24, 425, 22);
    txtTitolEmail->setText(defaults.txtTitolEmail);
    addLabel(emailBox, QStringLiteral("Label28"), QStringLiteral(u"Dirección E-MAIL"), 16, 52);
    txtEmail = WizardStyle::lineEdit(emailBox, QStringLiteral("txtEmail"), FieldLimits::txtEmail);
    txtEmail->setGeometry(16, 68, 265, 22);
    txtEmail->setText(defaults.txtEmail);
    QLabel *hint = addLabel(emailBox, QStringLiteral("Label29"),
                            QStringLiteral("(ej: maria@correo.example)"), 288, 72);
    WizardStyle::setTextColour(hint, WizardStyle::kNavy);

    auto *nameBox = new QGroupBox(this);
    nameBox->setObjectName(QStringLiteral("GroupBox6"));
    nameBox->setGeometry(8, 146, 457, 70);
    addLabel(nameBox, QStringLiteral("Label31"),
             QStringLiteral(
                 u"El nombre de la página, depende del servidor donde se publique. La mayoría "
                 u"exigen que la página principal se llame index.htm o bien index.html"),
             8, 4, 441, 30);
    QFont ten(QStringLiteral("Arial"), 10);
    QLabel *nameLabel = addLabel(nameBox, QStringLiteral("Label26"),
                                 QStringLiteral(u"Nombre Archivo Página WEB:"), 40, 42);
    nameLabel->setFont(ten);
    nameLabel->adjustSize();
    txtHTML = WizardStyle::lineEdit(nameBox, QStringLiteral("txtHTML"), FieldLimits::txtHTML);
    txtHTML->setFont(ten);
    txtHTML->setGeometry(240, 38, 129, 24);
    txtHTML->setValidator(new LowerCaseValidator(txtHTML));
    txtHTML->setText(defaults.txtHTML);

    chkMovil =
        new QCheckBox(QStringLiteral(u"Página adaptada a móviles y navegadores actuales"), this);
    chkMovil->setObjectName(QStringLiteral("chkMovil"));
    chkMovil->setGeometry(8, 220, 457, 20);
    lblMidi = addLabel(this, QStringLiteral("lblMidi"),
                       QStringLiteral(u"Los navegadores actuales no reproducen sonidos MIDI: la "
                                      u"página adaptada no lo incluirá."),
                       26, 240);
    WizardStyle::setTextColour(lblMidi, WizardStyle::kMaroon);
    connect(chkMovil, &QCheckBox::toggled, this, &EmailPage::showMidiNote);
    showMidiNote();

    setTabOrder(txtTitolEmail, txtEmail);
    setTabOrder(txtEmail, txtHTML);
    setTabOrder(txtHTML, chkMovil);
}

void EmailPage::setSound(const QString &name)
{
    m_sound = name;
    showMidiNote();
}

void EmailPage::showMidiNote()
{
    lblMidi->setVisible(chkMovil->isChecked() &&
                        m_sound.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive));
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
    chkMovil->setChecked(settings.chkMovil);
}

void EmailPage::readInto(PageSettings &settings) const
{
    settings.txtTitolEmail = txtTitolEmail->text();
    settings.txtEmail = txtEmail->text();
    settings.txtHTML = txtHTML->text();
    settings.chkMovil = chkMovil->isChecked();
}

void EmailPage::focusEmail()
{
    txtEmail->setFocus();
}

void EmailPage::showPageName(const QString &name)
{
    txtHTML->setText(name);
}

void EmailPage::focusPageName()
{
    txtHTML->setFocus();
}
