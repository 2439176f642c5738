// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WebCopyOffer.h"

#include "photo/PhotoFacts.h"
#include "photo/PictureFormats.h"
#include "photo/WebCopyTexts.h"
#include "prompts/UserPrompts.h"
#include "wizard/WaitCursor.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QWidget>

#include <memory>
#include <optional>

WebCopyOffer::WebCopyOffer(UserPrompts &prompts, Background background, QWidget *page)
    : QObject(page), m_prompts(prompts), m_background(std::move(background)), m_page(page)
{
}

void WebCopyOffer::offer(int slot, const QString &path, const PhotoFacts &facts)
{
    // GIF pictures may move; they are left as they are.
    const bool jpeg = path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
                      path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
    if (m_asked.contains(path) || !jpeg || !facts.worthPreparing())
        return;
    m_asked.insert(path);
    const QString copyPath = WebCopy::copyPathFor(path, m_made);
    if (m_prompts.question(m_page->window(), QStringLiteral("Brenzo"),
                           WebCopyTexts::question(QFileInfo(path).fileName(),
                                                  QFileInfo(copyPath).fileName(), facts)))
        prepare(slot, path, copyPath);
}

void WebCopyOffer::offerNeeded(int slot, const QString &path, const PhotoFacts &facts)
{
    const QString name = QFileInfo(path).fileName();
    if (!facts.pixels.isValid()) {
        // Nothing to ask about: not even its size can be read.
        m_prompts.message(m_page->window(), QStringLiteral("Brenzo"),
                          QFileInfo::exists(path) ? WebCopyTexts::unreadable(name)
                                                  : WebCopyTexts::gone(name),
                          PromptIcon::Warning);
        emit declined(slot, path);
        return;
    }
    const QString copyPath = WebCopy::copyPathFor(path, m_made);
    if (m_prompts.question(
            m_page->window(), QStringLiteral("Brenzo"),
            WebCopyTexts::formatQuestion(name, QFileInfo(copyPath).fileName(), facts)))
        prepare(slot, path, copyPath);
    else
        emit declined(slot, path);
}

void WebCopyOffer::rememberCopies(const WebCopy::MadeCopies &made)
{
    // What is known of the folder stays known when the user starts a new
    // page: forgetting a copy would only make the next one take a new name.
    m_made.insert(made);
}

void WebCopyOffer::prepare(int slot, const QString &path, const QString &copyPath)
{
    auto hourglass = std::make_shared<std::optional<WaitCursor>>(std::in_place);
    auto *watcher = new QFutureWatcher<WebCopy::Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [=, this] {
        const WebCopy::Outcome outcome = watcher->result();
        watcher->deleteLater();
        hourglass->reset();
        if (outcome.copyPath.isEmpty()) {
            // Asked again at the next pick: the user may have put it right.
            m_asked.remove(path);
            m_prompts.message(m_page->window(), QStringLiteral("Brenzo"), outcome.error,
                              PromptIcon::Warning);
            if (PictureFormats::needsWebCopy(path))
                emit declined(slot, path);
        } else {
            m_asked.insert(outcome.copyPath);
            m_made.insert(QFileInfo(outcome.copyPath).fileName(), outcome.sha256);
            emit prepared(slot, path, outcome.copyPath);
        }
        emit finished();
    });
    const QColor background = m_background ? m_background() : QColor(Qt::white);
    watcher->setFuture(QtConcurrent::run(&WebCopy::prepare, path, copyPath, background));
}
