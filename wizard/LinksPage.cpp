// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/LinksPage.h"

#include "page/MakerInfo.h"
#include "page/PageSettings.h"
#include "page/TextRules.h"
#include "wizard/WizardStyle.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

LinksPage::LinksPage(QWidget *parent) : WizardPage(QStringLiteral("p7"), parent)
{
    addHeading(QStringLiteral("LabelEnlaces"),
               QStringLiteral("Enlaces con otras direcciones de Internet"));
    addLabel(this, QStringLiteral("Label24"),
             QStringLiteral("En este apartado, podemos indicar enlaces hacia otras direcciones de "
                            "Internet que deseemos recomendar"),
             8, 16, 449, 33);
    QLabel *title =
        addLabel(this, QStringLiteral("Label37"), QStringLiteral(u"Título Enlaces:"), 8, 60);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->adjustSize();

    txtTitolEnlaces = WizardStyle::lineEdit(this, QStringLiteral("txtTitolEnlaces"),
                                            FieldLimits::txtTitolEnlaces);
    txtTitolEnlaces->setGeometry(96, 56, 377, 22);
    txtTitolEnlaces->setText(PageSettings().txtTitolEnlaces);

    // The heading row is the table's header; rows 1 to 20 are the links.
    GridEnlaces = new QTableWidget(kLinkRowCount, 2, this);
    GridEnlaces->setObjectName(QStringLiteral("GridEnlaces"));
    GridEnlaces->setGeometry(8, 82, 465, 169);
    // No label stands by the grid: the page's heading says what it holds.
    GridEnlaces->setAccessibleName(QStringLiteral("Enlaces con otras direcciones de Internet"));
    GridEnlaces->verticalHeader()->hide();
    GridEnlaces->verticalHeader()->setMinimumSectionSize(20);
    GridEnlaces->verticalHeader()->setDefaultSectionSize(20);
    GridEnlaces->horizontalHeader()->setFixedHeight(20);
    GridEnlaces->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    GridEnlaces->setColumnWidth(0, 216);
    GridEnlaces->setColumnWidth(1, 345);
    GridEnlaces->setShowGrid(true);
    GridEnlaces->setTabKeyNavigation(true);
    GridEnlaces->setSelectionMode(QAbstractItemView::ContiguousSelection);
    GridEnlaces->setEditTriggers(QAbstractItemView::AllEditTriggers);
    GridEnlaces->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GridEnlaces->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GridEnlaces->setWordWrap(false);
    for (int row = 0; row < kLinkRowCount; ++row) {
        for (int column = 0; column < 2; ++column)
            GridEnlaces->setItem(row, column, new QTableWidgetItem);
    }

    setTabOrder(txtTitolEnlaces, GridEnlaces);
}

QString LinksPage::cell(int row, int column) const
{
    const QTableWidgetItem *item = GridEnlaces->item(row - 1, column);
    return item ? item->text() : QString();
}

void LinksPage::setCell(int row, int column, const QString &text)
{
    GridEnlaces->item(row - 1, column)->setText(text);
}

void LinksPage::pageShown()
{
    GridEnlaces->setHorizontalHeaderLabels(
        {QStringLiteral(u" Dirección (http://...)"), QStringLiteral(u" Descripción")});
    if (isBlank(cell(1, 0)) && isBlank(cell(1, 1))) {
        setCell(1, 0, makerHomePage());
        setCell(1, 1, makerSiteName() + QStringLiteral(" - Programas Shareware y Gratuitos"));
    }
    txtTitolEnlaces->setFocus();
}

void LinksPage::applySettings(const PageSettings &settings)
{
    txtTitolEnlaces->setText(settings.txtTitolEnlaces);
    for (int row = 1; row <= kLinkRowCount; ++row) {
        setCell(row, 0, settings.GridEnlaces[row - 1].address);
        setCell(row, 1, settings.GridEnlaces[row - 1].description);
    }
}

void LinksPage::readInto(PageSettings &settings) const
{
    settings.txtTitolEnlaces = txtTitolEnlaces->text();
    for (int row = 1; row <= kLinkRowCount; ++row)
        settings.GridEnlaces[row - 1] = {cell(row, 0), cell(row, 1)};
}
