// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/HelpWindow.h"

#include "prompts/QtUserPrompts.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(UserPrompts &prompts, QWidget *parent) : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Ayuda de Brenzo"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setModal(false);
    resize(560, 470);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    // Links are followed here: topics by number, web addresses in the
    // browser, so that the page shown is always a whole topic.
    m_browser->setOpenLinks(false);
    m_browser->document()->setDocumentMargin(10);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    m_contents = new QPushButton(QStringLiteral("&Contenido"), this);
    m_contents->setObjectName(QStringLiteral("btnContenido"));
    m_back = new QPushButton(QStringLiteral("&Atrás"), this);
    m_back->setObjectName(QStringLiteral("btnAtras"));
    m_close = new QPushButton(QStringLiteral("Ce&rrar"), this);
    m_close->setObjectName(QStringLiteral("btnCerrar"));
    for (QPushButton *button : {m_contents, m_back, m_close}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(81);
    }
    connect(m_contents, &QPushButton::clicked, this, [this] { goToTopic(0); });
    connect(m_back, &QPushButton::clicked, this, &HelpWindow::goBack);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_contents);
    buttons->addWidget(m_back);
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    updateButtons();
}

HelpWindow *HelpWindow::showFor(QWidget *parent, const QString &helpFile, int topic)
{
    // Links in the help open web pages through the desktop, like every other
    // address the program opens.
    static QtUserPrompts desktop;
    static QPointer<HelpWindow> window;

    QWidget *owner = parent ? parent->window() : nullptr;
    if (!window) {
        window = new HelpWindow(desktop, owner);
    } else if (window->parentWidget() != owner) {
        const QRect place = window->geometry();
        window->setParent(owner, window->windowFlags());
        window->setGeometry(place);
    }
    window->m_history.clear();
    window->showTopic(helpFile, topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void HelpWindow::showTopic(const QString &helpFile, int topic)
{
    m_helpFile = helpFile;
    m_page = HelpFile::page(helpFile, topic);
    m_browser->setHtml(m_page.html);
    m_browser->verticalScrollBar()->setValue(0);
    updateButtons();
}

void HelpWindow::followLink(const QUrl &url)
{
    if (!url.scheme().isEmpty()) {
        m_prompts.openUrl(this, url);
        return;
    }
    const int topic = HelpFile::topicOfAnchor(url.fragment());
    if (topic >= 0)
        goToTopic(topic);
}

void HelpWindow::goToTopic(int topic)
{
    if (m_page.found() && m_page.topic == topic)
        return;
    if (m_page.found())
        m_history.append(m_page.topic);
    showTopic(m_helpFile, topic);
}

void HelpWindow::goBack()
{
    if (m_history.isEmpty())
        return;
    showTopic(m_helpFile, m_history.takeLast());
}

void HelpWindow::updateButtons()
{
    m_back->setEnabled(!m_history.isEmpty());
}
