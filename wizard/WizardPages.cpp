// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardPages.h"

#include "AccessibleNames.h"
#include "CentralTextPage.h"
#include "ColoursPage.h"
#include "EmailPage.h"
#include "FinishPage.h"
#include "ImagesPage.h"
#include "LinksPage.h"
#include "ScrollTextPage.h"
#include "SoundPage.h"
#include "TitlesPage.h"
#include "WelcomePage.h"

WizardPages::WizardPages(QWidget &window, UserPrompts &prompts, const QString &startupFolder,
                         BuiltHandler built)
    : m_window(window), m_prompts(prompts), m_startupFolder(startupFolder),
      m_built(std::move(built))
{
}

WizardPage *WizardPages::page(int index)
{
    if (!m_pages[index]) {
        m_pages[index] = build(index);
        if (m_recovered)
            m_pages[index]->applySettings(*m_recovered);
    }
    return m_pages[index];
}

void WizardPages::buildAll()
{
    for (int index = 0; index < kCount; ++index)
        page(index);
}

void WizardPages::showOnly(int index)
{
    for (int other = 0; other < kCount; ++other) {
        if (other != index && m_pages[other])
            m_pages[other]->hide();
    }
    page(index)->show();
}

PageSettings WizardPages::settings()
{
    buildAll();
    PageSettings settings;
    for (const WizardPage *built : m_pages)
        built->readInto(settings);
    return settings;
}

PageSettings WizardPages::draftSettings() const
{
    PageSettings settings = m_recovered.value_or(PageSettings());
    for (const WizardPage *built : m_pages) {
        if (built)
            built->readInto(settings);
    }
    return settings;
}

void WizardPages::forgetRecovered()
{
    m_recovered.reset();
    const PageSettings first;
    for (WizardPage *built : m_pages) {
        if (built)
            built->applySettings(first);
    }
}

WizardPage *WizardPages::build(int index)
{
    QWidget *const window = &m_window;
    WizardPage *built = nullptr;
    switch (index) {
    case 0:
        built = new WelcomePage(m_prompts, window);
        break;
    case 1:
        built = new TitlesPage(window);
        break;
    case 2:
        built = new ColoursPage(m_prompts, m_startupFolder, window);
        break;
    case 3:
        built = new SoundPage(m_prompts, m_startupFolder, window);
        break;
    case 4:
        built = new CentralTextPage(m_prompts, window);
        break;
    case 5:
        built = new ImagesPage(m_prompts, m_startupFolder, window);
        break;
    case 6:
        // The sample shows the colours chosen on page 2.
        built = new ScrollTextPage(*pageAs<ColoursPage>(2), window);
        break;
    case 7:
        built = new LinksPage(window);
        break;
    case 8:
        built = new EmailPage(window);
        break;
    default:
        built = new FinishPage(m_prompts, m_startupFolder, window);
        break;
    }
    AccessibleNames::nameControls(built);
    // A page built while the window is open is not shown until its turn.
    built->hide();
    if (m_built)
        m_built(index, built);
    return built;
}
