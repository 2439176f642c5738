// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WizardPage.h"

#include <QLabel>

WizardPage::WizardPage(const QString &panelName, QWidget *parent) : QWidget(parent)
{
    setObjectName(panelName);
    setGeometry(56, 48, kWidth, kHeight);
}

QLabel *WizardPage::addHeading(const QString &objectName, const QString &text)
{
    QLabel *heading = addLabel(this, objectName, text, 8, 0);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->adjustSize();
    return heading;
}

QLabel *WizardPage::addLabel(QWidget *parent, const QString &objectName, const QString &text, int x,
                             int y, int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    if (width > 0) {
        label->setWordWrap(height > 0);
        label->setGeometry(x, y, width, height > 0 ? height : label->sizeHint().height());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        label->move(x, y);
        label->adjustSize();
    }
    return label;
}
