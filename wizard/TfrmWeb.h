// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageSettings.h"
#include "WizardPage.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>

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
    static constexpr int kPageCount = 10;

    explicit TfrmWeb(UserPrompts &prompts, QWidget *parent = nullptr);

    int pageIndex() const { return m_pageIndex; }
    QString startupFolder() const { return m_startupFolder; }
    QStringList publishFiles() const { return m_publishFiles; }
    QString helpFile() const;

    // Every choice the pages hold now, as the page writer reads it. Pages
    // not shown yet are built for it, with their first values.
    PageSettings settings();

    // The page of that number. Only page 0 is built with the window; each
    // of the others is built the first time it is asked for (shown, read or
    // checked), so the window appears without waiting for nine pages the
    // user has not reached.
    WizardPage *page(int index);
    bool isPageBuilt(int index) const { return m_pages[index] != nullptr; }
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
    // "Empezar una página nueva" on page 0: after a Yes, every page shows its
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

    WizardPage *buildPage(int index);
    template <typename Page> Page *pageAs(int index);
    TitlesPage *titles();
    EmailPage *email();
    FinishPage *finish();

    WelcomePage *welcome();
    void restoreSavedWork();
    // What the pages hold now, without building the ones not shown yet.
    PageSettings draftSettings() const;
    void saveDraft();

    QToolButton *addNavigationButton(const QString &objectName, const QString &caption,
                                     const QString &picture, int x, int width);

    UserPrompts &m_prompts;
    QString m_startupFolder;
    QStringList m_publishFiles;
    int m_pageIndex = 0;
    QWidget *m_topBar = nullptr;
    QFrame *m_banner = nullptr;

    std::array<WizardPage *, kPageCount> m_pages{};
    SavedWorkKeeper *m_savedWork = nullptr;
    // The recovered work, which each page shows when it is built.
    std::optional<PageSettings> m_recovered;
};
