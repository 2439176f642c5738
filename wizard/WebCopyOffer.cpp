// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WebCopyOffer.h"

#include "photo/PhotoFacts.h"
#include "photo/WebCopyTexts.h"
#include "prompts/UserPrompts.h"
#include "wizard/WaitCursor.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QWidget>

#include <memory>
#include <optional>

WebCopyOffer::WebCopyOffer(UserPrompts &prompts, QWidget *page)
    : QObject(page), m_prompts(prompts), m_page(page)
{
}

void WebCopyOffer::offer(int slot, const QString &path, const PhotoFacts &facts)
{
    // GIF pictures may move; they are left as they are.
    if (m_asked.contains(path) || !path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
        !facts.worthPreparing())
        return;
    m_asked.insert(path);
    const QString copyPath = WebCopy::copyPathFor(path, m_made);
    if (m_prompts.question(m_page->window(), QStringLiteral("Brenzo"),
                           WebCopyTexts::question(QFileInfo(path).fileName(),
                                                  QFileInfo(copyPath).fileName(), facts)))
        prepare(slot, path, copyPath);
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
        } else {
            m_asked.insert(outcome.copyPath);
            m_made.insert(QFileInfo(outcome.copyPath).fileName(), outcome.sha256);
            emit prepared(slot, path, outcome.copyPath);
        }
        emit finished();
    });
    watcher->setFuture(QtConcurrent::run(&WebCopy::prepare, path, copyPath));
}
