// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class FileList;
class QAbstractButton;
class QCheckBox;
class QLineEdit;
class UserPrompts;

// Page 3: an optional background sound from the start-up folder, a way to
// listen to it, and whether the page repeats it without end.
class SoundPage : public WizardPage {
    Q_OBJECT

public:
    SoundPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent);

    // Points the list at the start-up folder; a list already there keeps its
    // items and selection.
    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    FileList *FileListBox1 = nullptr;

private:
    QAbstractButton *btnNinguno = nullptr;
    QCheckBox *chkLoop = nullptr;
    QAbstractButton *btnOir = nullptr;
    QLineEdit *stSonido = nullptr;

public slots:
    void FileListBox1Click();
    void btnOirClick();
    void btnNingunoClick();

private:
    void enableSoundControls(bool enabled);

    UserPrompts &m_prompts;
    QString m_startupFolder;
};
