// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/TfrmWeb.h"

#include "page/GenerationRun.h"
#include "page/PageChecks.h"
#include "page/PageMessages.h"
#include "page/TextRules.h"
#include "prompts/UserPrompts.h"
#include "ui/Artwork.h"
#include "ui/SharedMnemonics.h"
#include "wizard/EmailPage.h"
#include "wizard/FinishPage.h"
#include "wizard/SavedWorkKeeper.h"
#include "wizard/ScrollTextPage.h"
#include "wizard/TitlesPage.h"
#include "wizard/WaitCursor.h"
#include "wizard/WelcomePage.h"

#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {
const QString kTitle = QStringLiteral("Brenzo");
}

TfrmWeb::TfrmWeb(UserPrompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompts(prompts), m_startupFolder(QDir::currentPath()),
      m_pages(*this, prompts, m_startupFolder,
              [this](int index, WizardPage *built) { pageBuilt(index, built); })
{
    Q_INIT_RESOURCE(wizard);
    setObjectName(QStringLiteral("frmWeb"));
    setWindowTitle(QStringLiteral(u"Brenzo - Asistente para crear páginas WEB"));
    setWindowIcon(artworkIcon(QStringLiteral(":/art/brenzo_48.png")));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(533, 309);

    m_topBar = new QWidget(this);
    m_topBar->setObjectName(QStringLiteral("pnlBotones"));
    m_topBar->setGeometry(0, 0, 533, 41);
    btnReinicia = addNavigationButton(QStringLiteral("btnReinicia"), QStringLiteral("&Reiniciar"),
                                      QStringLiteral("nav_reiniciar"), 48, 57);
    btnAnterior = addNavigationButton(QStringLiteral("btnAnterior"), QStringLiteral("&Anterior"),
                                      QStringLiteral("nav_anterior"), 120, 57);
    btnSiguiente = addNavigationButton(QStringLiteral("btnSiguiente"), QStringLiteral("&Siguiente"),
                                       QStringLiteral("nav_siguiente"), 184, 57);
    btnPublicar =
        addNavigationButton(QStringLiteral("btnPublicar"), QStringLiteral(u"&Publicar página "),
                            QStringLiteral("nav_publicar"), 248, 97);
    btnAyuda = addNavigationButton(QStringLiteral("btnAyuda"), QStringLiteral("&Ayuda"),
                                   QStringLiteral("nav_ayuda"), 352, 57);
    btnSalir = addNavigationButton(QStringLiteral("btnSalir"), QStringLiteral("&Salir"),
                                   QStringLiteral("nav_salir"), 416, 57);
    btnPublicar->setEnabled(false);
    connect(btnReinicia, &QToolButton::clicked, this, &TfrmWeb::btnReiniciaClick);
    connect(btnAnterior, &QToolButton::clicked, this, &TfrmWeb::btnAnteriorClick);
    connect(btnSiguiente, &QToolButton::clicked, this, &TfrmWeb::btnSiguienteClick);
    connect(btnPublicar, &QToolButton::clicked, this, &TfrmWeb::btnPublicarClick);
    connect(btnAyuda, &QToolButton::clicked, this, &TfrmWeb::btnAyudaClick);
    connect(btnSalir, &QToolButton::clicked, this, &TfrmWeb::btnSalirClick);

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(0, 41, 533, 2);

    m_banner = new QFrame(this);
    m_banner->setObjectName(QStringLiteral("pnlBanner"));
    m_banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_banner->setGeometry(2, 45, 49, height() - 47);
    auto *bannerPicture = new QLabel(m_banner);
    bannerPicture->setObjectName(QStringLiteral("imgBanner"));
    bannerPicture->setScaledContents(true);
    bannerPicture->setPixmap(artwork(QStringLiteral(":/art/banner.png")));
    bannerPicture->setGeometry(m_banner->contentsRect());

    // The focus moves through the navigation bar first, then the page.
    QToolButton *bar[] = {btnReinicia, btnAnterior, btnSiguiente, btnPublicar, btnAyuda, btnSalir};
    for (int i = 1; i < 6; ++i)
        setTabOrder(bar[i - 1], bar[i]);
    // Siguiente and Salir share their letter, and so do Anterior and Ayuda:
    // the first one enabled, left to right, is the one pressed.
    new SharedMnemonics(this, {std::begin(bar), std::end(bar)});
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TfrmWeb::btnAyudaClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmWeb::Timer1Timer);
    Timer1->start();

    m_savedWork = new SavedWorkKeeper(m_startupFolder, this);
    m_pageIndex = PageIndex::Welcome;
    ShowPage();
    restoreSavedWork();

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

QToolButton *TfrmWeb::addNavigationButton(const QString &objectName, const QString &caption,
                                          const QString &picture, int x, int width)
{
    auto *button = new QToolButton(m_topBar);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setIcon(artworkIcon(QStringLiteral(":/art/%1.png").arg(picture)));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setGeometry(x, 0, width, 41);
    return button;
}

QString TfrmWeb::helpFile() const
{
    return QDir(m_startupFolder).filePath(QStringLiteral("BRENZO.HLP"));
}

WizardPage *TfrmWeb::page(int index)
{
    return m_pages.page(index);
}

bool TfrmWeb::isPageBuilt(int index) const
{
    return m_pages.isBuilt(index);
}

void TfrmWeb::buildAllPages()
{
    m_pages.buildAll();
}

PageSettings TfrmWeb::settings()
{
    return m_pages.settings();
}

void TfrmWeb::pageBuilt(int index, WizardPage *built)
{
    if (index != PageIndex::Finish)
        return;
    auto *finishPage = static_cast<FinishPage *>(built);
    connect(finishPage, &FinishPage::publishRequested, this, &TfrmWeb::publishRequested);
    connect(finishPage, &FinishPage::otherProgramsRequested, this,
            &TfrmWeb::otherProgramsRequested);
}

WelcomePage *TfrmWeb::welcome()
{
    return m_pages.pageAs<WelcomePage>(PageIndex::Welcome);
}

TitlesPage *TfrmWeb::titles()
{
    return m_pages.pageAs<TitlesPage>(PageIndex::Titles);
}

EmailPage *TfrmWeb::email()
{
    return m_pages.pageAs<EmailPage>(PageIndex::Email);
}

FinishPage *TfrmWeb::finish()
{
    return m_pages.pageAs<FinishPage>(PageIndex::Finish);
}

void TfrmWeb::restoreSavedWork()
{
    const SavedWork::Found found = m_savedWork->restore();
    if (found.state == SavedWork::Found::State::Read) {
        m_pages.setRecovered(found.contents.settings);
        welcome()->showRecovered(SavedWorkKeeper::recoveredLine(found));
        connect(welcome(), &WelcomePage::newPageRequested, this, &TfrmWeb::startNewPage);
    } else if (found.state == SavedWork::Found::State::Unreadable) {
        // Once the window is up, not before it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_prompts.message(this, kTitle,
                                  SavedWorkKeeper::unreadableMessage(m_savedWork->setAsideName()),
                                  PromptIcon::Warning);
            },
            Qt::QueuedConnection);
    }
}

void TfrmWeb::startNewPage()
{
    if (!m_prompts.question(this, kTitle,
                            QStringLiteral(u"¿ Desea borrar los datos recuperados y empezar una "
                                           u"página nueva ?")))
        return;
    m_pages.forgetRecovered();
    welcome()->hideRecovered();
}

void TfrmWeb::saveDraft()
{
    m_savedWork->saveDraft(m_pages.draftSettings());
}

void TfrmWeb::ShowPage()
{
    btnSiguiente->setEnabled(true);
    btnAnterior->setEnabled(true);
    btnReinicia->setEnabled(true);
    btnPublicar->setEnabled(false);
    m_pages.showOnly(m_pageIndex);
    if (m_pageIndex == PageIndex::Welcome) {
        btnReinicia->setEnabled(false);
        btnAnterior->setEnabled(false);
    } else if (m_pageIndex == PageIndex::Finish) {
        btnSiguiente->setEnabled(false);
        btnPublicar->setEnabled(true);
    }
    if (m_pageIndex == PageIndex::Email)
        email()->setSound(m_pages.draftSettings().stSonido);
    page(m_pageIndex)->pageShown();
}

void TfrmWeb::btnSiguienteClick()
{
    m_banner->repaint();
    if (m_pageIndex >= PageIndex::Finish || !CheckPage())
        return;
    ++m_pageIndex;
    ShowPage();
    saveDraft();
}

void TfrmWeb::btnAnteriorClick()
{
    m_banner->repaint();
    if (m_pageIndex > PageIndex::Welcome) {
        --m_pageIndex;
        ShowPage();
        saveDraft();
    }
}

void TfrmWeb::btnReiniciaClick()
{
    m_banner->repaint();
    m_pageIndex = PageIndex::Welcome;
    ShowPage();
    saveDraft();
}

void TfrmWeb::btnAyudaClick()
{
    m_prompts.showHelp(this, PageIndex::helpTopic(m_pageIndex));
}

void TfrmWeb::btnSalirClick()
{
    close();
}

void TfrmWeb::btnPublicarClick()
{
    emit publishRequested();
}

void TfrmWeb::Timer1Timer()
{
    // The sample starts moving once its page exists.
    if (isPageBuilt(PageIndex::ScrollText))
        m_pages.pageAs<ScrollTextPage>(PageIndex::ScrollText)->moveSample();
}

void TfrmWeb::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery()) {
        saveDraft();
        event->accept();
    } else
        event->ignore();
}

bool TfrmWeb::FormCloseQuery()
{
    if (m_pageIndex == PageIndex::Finish)
        return true;
    return m_prompts.question(this, kTitle,
                              QStringLiteral(u"¿ Esta seguro de salir del programa ?"));
}

bool TfrmWeb::CheckPage()
{
    switch (m_pageIndex) {
    case PageIndex::Titles:
        return checkTitlesPage();
    case PageIndex::Email:
        return checkEmailPage();
    default:
        return true;
    }
}

bool TfrmWeb::checkTitlesPage()
{
    if (titles()->hasMainTitle())
        return true;
    m_prompts.message(this, kTitle, PageMessages::missingTitle(), PromptIcon::NoIcon);
    titles()->focusMainTitle();
    return false;
}

bool TfrmWeb::checkEmailPage()
{
    PageSettings current = settings();
    const Page8Verdict verdict = checkPage8(current, m_startupFolder);
    if (verdict == Page8Verdict::BadEmail) {
        m_prompts.message(this, kTitle, PageMessages::badEmail(), PromptIcon::NoIcon);
        email()->focusEmail();
        return false;
    }
    // From here on the user sees the name as it is tested and written.
    email()->showPageName(current.txtHTML);
    if (verdict == Page8Verdict::BadPageFileName) {
        m_prompts.message(this, kTitle, PageMessages::badPageFileName(), PromptIcon::NoIcon);
        email()->focusPageName();
        return false;
    }
    if (verdict == Page8Verdict::AskReplace &&
        !m_prompts.question(this, kTitle, PageMessages::replaceQuestion(current.txtHTML))) {
        email()->focusPageName();
        return false;
    }
    return generatePage(current);
}

bool TfrmWeb::generatePage(const PageSettings &settings)
{
    GenerationResult result;
    {
        const WaitCursor hourglass;
        result = runGeneration(settings, m_startupFolder);
        m_publishFiles = publishFileNames(result.entries);
        finish()->showFiles(finishRows(result.entries));
        finish()->setPageFileName(settings.txtHTML);
    }
    if (result.written)
        m_savedWork->savePage(settings);
    // The pointer is back to normal before the message asks for attention.
    if (!result.written) {
        m_prompts.message(this, QStringLiteral("Error"), PageMessages::pageNotWritten(),
                          PromptIcon::Critical);
        email()->focusPageName();
    }
    return result.written;
}
