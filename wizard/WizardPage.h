// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
struct PageSettings;

// One of the wizard's ten pages: a borderless panel that sets itself up
// each time it is shown and reports the choices it holds.
class WizardPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 473;
    static constexpr int kHeight = 261;

    WizardPage(const QString &panelName, QWidget *parent);

    // The set-up the page does each time it becomes the visible one.
    virtual void pageShown() {}

    // Copies the choices this page holds into the settings.
    virtual void readInto(PageSettings &) const {}

    // Shows the choices of the settings that this page holds, as if the user
    // had made them: the values of saved work, or the first values again.
    virtual void applySettings(const PageSettings &) {}

protected:
    // The bold heading at the page's top left.
    QLabel *addHeading(const QString &objectName, const QString &text);

    // A label at a place of the page, word-wrapped when a width is given.
    QLabel *addLabel(QWidget *parent, const QString &objectName, const QString &text, int x, int y,
                     int width = 0, int height = 0);
};
