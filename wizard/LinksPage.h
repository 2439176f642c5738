// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class QLineEdit;
class QTableWidget;

// Page 7: the heading of the links list and the 20 link rows.
class LinksPage : public WizardPage {
    Q_OBJECT

public:
    explicit LinksPage(QWidget *parent);

    // Writes the column headings, refills an empty first row with the
    // suggested link, and puts the focus on the heading.
    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // The text of a link cell: row 1 to 20, column 0 (address) or 1 (words).
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);

private:
    QLineEdit *txtTitolEnlaces = nullptr;
    QTableWidget *GridEnlaces = nullptr;
};
