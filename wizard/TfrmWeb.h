#pragma once

#include "PageSettings.h"
#include "WizardPage.h"

#include <QStringList>
#include <QWidget>

#include <array>

class ColoursPage;
class EmailPage;
class FinishPage;
class LinksPage;
class QFrame;
class QLabel;
class QTimer;
class QToolButton;
class ScrollTextPage;
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

    // Every choice the pages hold now, as the page writer reads it.
    PageSettings settings() const;

    WizardPage *page(int index) const { return m_pages[index]; }

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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowPage();
    bool CheckPage();
    bool FormCloseQuery();
    bool checkTitlesPage();
    bool checkEmailPage();
    bool generatePage(const PageSettings &settings);

    QToolButton *addNavigationButton(const QString &objectName, const QString &caption,
                                     const QString &picture, int x, int width);

    UserPrompts &m_prompts;
    QString m_startupFolder;
    QStringList m_publishFiles;
    int m_pageIndex = 0;
    QWidget *m_topBar = nullptr;
    QFrame *m_banner = nullptr;

    std::array<WizardPage *, kPageCount> m_pages{};
    TitlesPage *m_titles = nullptr;
    ColoursPage *m_colours = nullptr;
    ScrollTextPage *m_scroll = nullptr;
    LinksPage *m_links = nullptr;
    EmailPage *m_email = nullptr;
    FinishPage *m_finish = nullptr;
};
