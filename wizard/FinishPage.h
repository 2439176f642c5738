// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class QAbstractButton;
class QListWidget;
class UserPrompts;

// Page 9: the page is written; the files to publish and the four actions.
class FinishPage : public WizardPage {
    Q_OBJECT

public:
    FinishPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent);

    // Where "view" looks for the page: the name of the page file as typed.
    void setPageFileName(const QString &name) { m_pageFileName = name; }
    // The rows of the list of what was written and what the page shows.
    void showFiles(const QStringList &rows);

signals:
    void publishRequested();
    void otherProgramsRequested();

public slots:
    void btnVerPaginaClick();
    void btnPubliClick();
    void btnProgramsClick();
    void btnWebFinClick();

private:
    QListWidget *lstFinal = nullptr;
    QAbstractButton *btnVerPagina = nullptr;
    QAbstractButton *btnPubli = nullptr;
    QAbstractButton *btnPrograms = nullptr;
    QAbstractButton *btnWebFin = nullptr;
    UserPrompts &m_prompts;
    QString m_startupFolder;
    QString m_pageFileName;
};
