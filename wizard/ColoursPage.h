// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"
#include "wizard/WizardPage.h"

#include <QColor>
#include <QMap>

class QCheckBox;
class QFrame;
class QLabel;
class QRadioButton;
class UserPrompts;

// Page 2: the colour combination with its live sample, the wallpaper
// switch and the fixed background.
class ColoursPage : public WizardPage {
    Q_OBJECT

public:
    ColoursPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent);

    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // What the sample shows now; the scrolling-text preview copies it.
    QColor sampleTextColour() const;
    QColor sampleBackground() const;

    QRadioButton *option(Combinacion combination) const { return m_options.value(combination); }

private:
    QCheckBox *chkFondo = nullptr;
    QCheckBox *chkFondoFijo = nullptr;
    QFrame *pColor = nullptr;
    QLabel *imgFondo = nullptr;
    QLabel *lblTexto = nullptr;
    QLabel *lblEnlace = nullptr;
    QLabel *lblVisitado = nullptr;
    QLabel *lblActivacion = nullptr;

public slots:
    // Run when an option becomes checked: the sample takes its picture and
    // colours, or keeps its look when the picture cannot be read.
    void optCombinacionClick(Combinacion combination);
    void chkFondoClick();

private:
    QLabel *addSampleLabel(const QString &objectName, const QString &text, int y);

    UserPrompts &m_prompts;
    QString m_startupFolder;
    QMap<Combinacion, QRadioButton *> m_options;
};
