// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/TitlesPage.h"

#include "page/PageSettings.h"
#include "page/TextRules.h"
#include "wizard/WizardStyle.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TitlesPage::TitlesPage(QWidget *parent) : WizardPage(QStringLiteral("p1"), parent)
{
    addHeading(QStringLiteral("Label5"), QStringLiteral(u"Títulos"));

    addLabel(this, QStringLiteral("Label1"),
             QStringLiteral(u"Introduzca Título Principal de la página:"), 8, 28);
    txtTitol = WizardStyle::lineEdit(this, QStringLiteral("txtTitol"), FieldLimits::txtTitol);
    txtTitol->setGeometry(8, 44, 433, 22);

    auto *frame = new QGroupBox(QStringLiteral(u"Subtítulos"), this);
    frame->setObjectName(QStringLiteral("GroupBox4"));
    frame->setGeometry(8, 78, 457, 112);
    addLabel(frame, QStringLiteral("Label2"), QStringLiteral("Introduzca Subtítulo Opcional 1"), 16,
             22);
    txtSubTitol1 =
        WizardStyle::lineEdit(frame, QStringLiteral("txtSubTitol1"), FieldLimits::txtSubTitol);
    txtSubTitol1->setGeometry(16, 38, 425, 22);
    addLabel(frame, QStringLiteral("Label3"), QStringLiteral("Introduzca Subtítulo Opcional 2"), 16,
             64);
    txtSubTitol2 =
        WizardStyle::lineEdit(frame, QStringLiteral("txtSubTitol2"), FieldLimits::txtSubTitol);
    txtSubTitol2->setGeometry(16, 80, 425, 22);

    WizardStyle::colourCaption(frame, WizardStyle::kMaroon);

    chkMarco = new QCheckBox(QStringLiteral("Marco alrededor del título principal"), this);
    chkMarco->setObjectName(QStringLiteral("chkMarco"));
    chkMarco->setGeometry(8, 202, 457, 20);
    addLabel(this, QStringLiteral("Label32"),
             QStringLiteral(u"(Si se activa esta opción, el título principal aparecerá enmarcado)"),
             26, 222);

    setTabOrder(txtTitol, txtSubTitol1);
    setTabOrder(txtSubTitol1, txtSubTitol2);
    setTabOrder(txtSubTitol2, chkMarco);
}

void TitlesPage::pageShown()
{
    txtTitol->setFocus();
}

void TitlesPage::applySettings(const PageSettings &settings)
{
    txtTitol->setText(settings.txtTitol);
    txtSubTitol1->setText(settings.txtSubTitol1);
    txtSubTitol2->setText(settings.txtSubTitol2);
    chkMarco->setChecked(settings.chkMarco);
}

void TitlesPage::readInto(PageSettings &settings) const
{
    settings.txtTitol = txtTitol->text();
    settings.txtSubTitol1 = txtSubTitol1->text();
    settings.txtSubTitol2 = txtSubTitol2->text();
    settings.chkMarco = chkMarco->isChecked();
}

bool TitlesPage::hasMainTitle() const
{
    return !isBlank(txtTitol->text());
}

void TitlesPage::focusMainTitle()
{
    txtTitol->setFocus();
}
