// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class ColoursPage;
class QAbstractButton;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

// Page 6: the text that scrolls across the home page and where it goes.
// A strip above the entry box shows the text moving in the colours of the
// chosen combination.
class ScrollTextPage : public WizardPage {
    Q_OBJECT

public:
    ScrollTextPage(const ColoursPage &colours, QWidget *parent);

    // Restarts the sample at the strip's right edge in the colours the
    // colours page shows now, and puts the focus on the entry box.
    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // One step of the sample, run by the window's timer on every page: take
    // up an edited text, move 5 pixels left, re-enter from the right once
    // wholly out on the left.
    void moveSample();

private:
    QFrame *ContainerTexto = nullptr;
    QLabel *EtiquetaTexto = nullptr;
    QLineEdit *TextoScroll = nullptr;
    QRadioButton *optAntesTexto = nullptr;
    QRadioButton *optDespuesTexto = nullptr;
    QAbstractButton *btnNoDesplaza = nullptr;

public slots:
    void btnNoDesplazaClick();

private:
    const ColoursPage &m_colours;
};
