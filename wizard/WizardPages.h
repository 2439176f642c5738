// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"
#include "wizard/PageIndex.h"
#include "wizard/WizardPage.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

class QWidget;
class UserPrompts;

// The wizard's ten pages, in one place on the window. A page is built the
// first time it is asked for (shown, read or checked), so the window appears
// without waiting for nine pages the user has not reached. Work recovered
// from the start-up folder is shown by each page as it is built.
class WizardPages {
public:
    static constexpr int kCount = PageIndex::kCount;
    // Told of every page once it is built, before it is used.
    using BuiltHandler = std::function<void(int index, WizardPage *page)>;

    WizardPages(QWidget &window, UserPrompts &prompts, const QString &startupFolder,
                BuiltHandler built);

    WizardPage *page(int index);
    template <typename Page> Page *pageAs(int index) { return static_cast<Page *>(page(index)); }
    bool isBuilt(int index) const { return m_pages[index] != nullptr; }
    // Builds every page not built yet; none is shown by it.
    void buildAll();
    // Hides every built page but that one, and shows it.
    void showOnly(int index);

    // Every choice the pages hold now, as the page writer reads it. Pages
    // not built yet are built for it, with their first values.
    PageSettings settings();
    // The same without building any page: the recovered work, or the first
    // values, stand for the pages not built yet.
    PageSettings draftSettings() const;

    // The recovered work, which each page shows when it is built.
    void setRecovered(const PageSettings &recovered) { m_recovered = recovered; }
    // Forgets the recovered work: every built page shows its first values
    // again, and so will the pages built later.
    void forgetRecovered();

private:
    WizardPage *build(int index);

    QWidget &m_window;
    UserPrompts &m_prompts;
    QString m_startupFolder;
    BuiltHandler m_built;
    std::array<WizardPage *, kCount> m_pages{};
    std::optional<PageSettings> m_recovered;
};
