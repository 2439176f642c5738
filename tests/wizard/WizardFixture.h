// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A wizard window started in a temporary start-up folder that holds the
// installed media, with a recording stand-in for the user's prompts.

#include "tests/page/PageText.h"
#include "tests/support/RecordingPrompts.h"
#include "wizard/TfrmWeb.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

class WizardFixture {
public:
    WizardFixture()
    {
        const QDir media(QStringLiteral(MEDIA_DIR));
        for (const QString &name : media.entryList(QDir::Files))
            QFile::copy(media.filePath(name), m_folder.filePath(name));
        start();
    }

    // Ends the window (its pending saves finished) and starts a new one in
    // the same folder, as the next session of the program does.
    void restart()
    {
        window.reset();
        start();
    }

    // The window first: it finishes its saves into the folder.
    ~WizardFixture() { window.reset(); }

    QString folder() const { return m_folder.path(); }
    QString path(const QString &name) const { return m_folder.filePath(name); }

    // Shows the window and makes it active, so the focus can be checked.
    void showActive()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget> T *find(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        if (!found) {
            // The control may lie on a page not built yet.
            window->buildAllPages();
            found = window->findChild<T *>(name);
        }
        if (!found)
            qFatal("no control named %s", qPrintable(name));
        return found;
    }

    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(name); }

    void click(const QString &buttonName)
    {
        QTest::mouseClick(find<QAbstractButton>(buttonName), Qt::LeftButton);
    }
    // Clicks a check box or option on its indicator, where a user aims.
    void tick(const QString &name)
    {
        auto *button = find<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void next() { click(QStringLiteral("btnSiguiente")); }
    void back() { click(QStringLiteral("btnAnterior")); }

    // Index of the one visible page panel; -1 when not exactly one.
    int visiblePage() const
    {
        int visible = -1;
        for (int index = 0; index < TfrmWeb::kPageCount; ++index) {
            if (!window->page(index)->isHidden()) {
                if (visible != -1)
                    return -1;
                visible = index;
            }
        }
        return visible;
    }

    // Moves forward to the page, filling in what the checks ask for.
    void goTo(int target)
    {
        if (edit(QStringLiteral("txtTitol"))->text().trimmed().isEmpty())
            edit(QStringLiteral("txtTitol"))->setText(QStringLiteral("Mi página"));
        if (edit(QStringLiteral("txtEmail"))->text() == QStringLiteral("@"))
            edit(QStringLiteral("txtEmail"))->setText(QStringLiteral("ana@correo.example"));
        while (window->pageIndex() < target) {
            const int before = window->pageIndex();
            next();
            if (window->pageIndex() == before)
                qFatal("the wizard stays on page %d", before);
        }
    }

    RecordingPrompts prompts;
    std::unique_ptr<TfrmWeb> window;

private:
    void start()
    {
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        window = std::make_unique<TfrmWeb>(prompts);
        QDir::setCurrent(m_previousFolder);
        showActive();
    }

    QTemporaryDir m_folder;
    QString m_previousFolder;
};
