// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"
#include "wizard/WizardPage.h"

#include <QMap>

class QAbstractButton;
class QCheckBox;
class QPlainTextEdit;
class QRadioButton;
class UserPrompts;

// Page 4: the free central text, typed or imported, with its size and
// style. The text box is its own preview.
class CentralTextPage : public WizardPage {
    Q_OBJECT

public:
    CentralTextPage(UserPrompts &prompts, QWidget *parent);

    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    // The longest line an imported file may hold, in characters. The box
    // shapes and lays out a whole line at once, again at every key typed in
    // it: a line of this length shows and takes a key within a few tens of
    // milliseconds, one of a million characters takes a third of a second
    // per key, and one of 50 MB froze the window for seconds and took 2 GB
    // (bench/bench_longline). The page keeps only a line's first
    // kCentralLineLimit characters anyway.
    static constexpr qsizetype kImportLineLimit = 100000;

    // The preview's point size for each size option.
    static int pointSize(Tamano size);

    QRadioButton *option(Tamano size) const { return m_options.value(size); }

    // The text box's content exactly as held: the characters as typed or
    // imported, lines ended by LF.
    QString text() const;

private:
    QPlainTextEdit *txtLibre = nullptr;
    QAbstractButton *btnImporta = nullptr;
    QAbstractButton *btnBorrar = nullptr;
    QRadioButton *optMini = nullptr;
    QRadioButton *optNormal = nullptr;
    QRadioButton *optGrande = nullptr;
    QRadioButton *optSuper = nullptr;
    QCheckBox *chkNegrita = nullptr;
    QCheckBox *chkCursiva = nullptr;

public slots:
    // Run when a size option becomes checked.
    void optTamanoClick(Tamano size);
    // Run on every change of either style box.
    void chkEstiloClick();
    // Replaces the whole text with a chosen text file. A file that cannot be
    // read goes to the general error box; a file with a line longer than
    // kImportLineLimit is refused with a warning. Either leaves the text as
    // it was.
    void btnImportaClick();
    void btnBorrarClick();

private:
    UserPrompts &m_prompts;
    QMap<Tamano, QRadioButton *> m_options;
    // text() of a long box takes milliseconds and is asked for at every page
    // the user leaves; it is taken again only after the box changed.
    mutable QString m_text;
    mutable bool m_textTaken = false;
};
