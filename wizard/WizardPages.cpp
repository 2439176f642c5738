// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WizardPages.h"

#include "page/ColourScheme.h"
#include "ui/AccessibleNames.h"
#include "wizard/CentralTextPage.h"
#include "wizard/ColoursPage.h"
#include "wizard/EmailPage.h"
#include "wizard/FinishPage.h"
#include "wizard/ImagesPage.h"
#include "wizard/LinksPage.h"
#include "wizard/ScrollTextPage.h"
#include "wizard/SoundPage.h"
#include "wizard/TitlesPage.h"
#include "wizard/WelcomePage.h"

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
    case PageIndex::Welcome:
        built = new WelcomePage(m_prompts, window);
        break;
    case PageIndex::Titles:
        built = new TitlesPage(window);
        break;
    case PageIndex::Colours:
        built = new ColoursPage(m_prompts, m_startupFolder, window);
        break;
    case PageIndex::Sound:
        built = new SoundPage(m_prompts, m_startupFolder, window);
        break;
    case PageIndex::CentralText:
        built = new CentralTextPage(m_prompts, window);
        break;
    case PageIndex::Images:
        // A copy for the web takes the page's background where the picture
        // is transparent.
        built = new ImagesPage(
            m_prompts, m_startupFolder,
            [this] {
                PageSettings chosen;
                pageAs<ColoursPage>(PageIndex::Colours)->readInto(chosen);
                return QColor(QLatin1String(schemeFor(chosen).bgColor));
            },
            window);
        break;
    case PageIndex::ScrollText:
        // The sample shows the colours chosen on the colours page.
        built = new ScrollTextPage(*pageAs<ColoursPage>(PageIndex::Colours), window);
        break;
    case PageIndex::Links:
        built = new LinksPage(window);
        break;
    case PageIndex::Email:
        built = new EmailPage(window);
        break;
    default: // PageIndex::Finish
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
