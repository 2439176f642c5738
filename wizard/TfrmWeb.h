// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"
#include "wizard/WizardPage.h"
#include "wizard/WizardPages.h"

#include <QStringList>
#include <QWidget>

class EmailPage;
class FinishPage;
class QFrame;
class QLabel;
class QTimer;
class QToolButton;
class SavedWorkKeeper;
class TitlesPage;
class UserPrompts;
class WelcomePage;
class WizardPage;

// The wizard window: ten pages in one place, the navigation bar along the
// top and the banner at the left. It owns the page index, the start-up
// folder and the list of files to publish.
class TfrmWeb : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPageCount = WizardPages::kCount;

    explicit TfrmWeb(UserPrompts &prompts, QWidget *parent = nullptr);

    int pageIndex() const { return m_pageIndex; }
    QString startupFolder() const { return m_startupFolder; }
    QStringList publishFiles() const { return m_publishFiles; }
    QString helpFile() const;

    // Every choice the pages hold now, as the page writer reads it. Pages
    // not shown yet are built for it, with their first values.
    PageSettings settings();

    // The page of that number (see PageIndex). Only the welcome page is
    // built with the window; each of the others is built the first time it
    // is asked for.
    WizardPage *page(int index);
    bool isPageBuilt(int index) const;
    // Builds every page not built yet; none is shown by it.
    void buildAllPages();

    // The user's work kept in the start-up folder.
    SavedWorkKeeper &savedWork() { return *m_savedWork; }

    QToolButton *btnReinicia = nullptr;
    QToolButton *btnAnterior = nullptr;
    QToolButton *btnSiguiente = nullptr;
    QToolButton *btnPublicar = nullptr;
    QToolButton *btnAyuda = nullptr;
    QToolButton *btnSalir = nullptr;
    QTimer *Timer1 = nullptr;

signals:
    // The user asks to publish (top bar or finish page); the program shows
    // the publishing window modally with publishFiles().
    void publishRequested();
    // The finish page asks for the maker's other programs.
    void otherProgramsRequested();

public slots:
    void btnSiguienteClick();
    void btnAnteriorClick();
    void btnReiniciaClick();
    void btnAyudaClick();
    void btnSalirClick();
    void btnPublicarClick();
    void Timer1Timer();
    // "Empezar una página nueva" on the welcome page: after a Yes, every page shows its
    // first values again.
    void startNewPage();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowPage();
    bool CheckPage();
    bool FormCloseQuery();
    bool checkTitlesPage();
    bool checkEmailPage();
    bool generatePage(const PageSettings &settings);

    void pageBuilt(int index, WizardPage *built);
    TitlesPage *titles();
    EmailPage *email();
    FinishPage *finish();

    WelcomePage *welcome();
    void restoreSavedWork();
    void saveDraft();

    QToolButton *addNavigationButton(const QString &objectName, const QString &caption,
                                     const QString &picture, int x, int width);

    UserPrompts &m_prompts;
    QString m_startupFolder;
    QStringList m_publishFiles;
    int m_pageIndex = PageIndex::Welcome;
    QWidget *m_topBar = nullptr;
    QFrame *m_banner = nullptr;

    WizardPages m_pages;
    SavedWorkKeeper *m_savedWork = nullptr;
};
