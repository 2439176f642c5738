// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// Page 8: the words before the e-mail link, the address, the page file and
// whether the page is the exact one or the one adapted to phones.
class EmailPage : public WizardPage {
    Q_OBJECT

public:
    explicit EmailPage(QWidget *parent);

    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;
    // The sound chosen on page 3: the adapted page has no player for MIDI,
    // and the page says so while the box is ticked.
    void setSound(const QString &name);
    void focusEmail();
    // Shows the page's file name as it is tested and written.
    void showPageName(const QString &name);
    void focusPageName();

private:
    QLineEdit *txtTitolEmail = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtHTML = nullptr;
    QCheckBox *chkMovil = nullptr;
    QLabel *lblMidi = nullptr;

    void showMidiNote();

    QString m_sound;
};
