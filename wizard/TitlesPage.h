// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class QCheckBox;
class QLineEdit;

// Page 1: the main title, two optional subtitles and the frame.
class TitlesPage : public WizardPage {
    Q_OBJECT

public:
    explicit TitlesPage(QWidget *parent);

    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // The main title holds more than blanks.
    bool hasMainTitle() const;
    void focusMainTitle();

private:
    QLineEdit *txtTitol = nullptr;
    QLineEdit *txtSubTitol1 = nullptr;
    QLineEdit *txtSubTitol2 = nullptr;
    QCheckBox *chkMarco = nullptr;
};
