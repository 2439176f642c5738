// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests of the sound, text, images and scrolling-text pages share:
// an application that shows errors escaping a handler in the general error
// box, the sample media in the start-up folder, and clicks on list items.

#include "tests/wizard/WizardFixture.h"
#include "ui/BrenzoApplication.h"

#include <QListWidget>

// Runs a test object inside the program's own application object, so an
// error thrown from a handler reaches the general error box as in the program.
#define BRENZO_PAGES_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        BrenzoApplication app(argc, argv);                                                         \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// Sends the general error box of the application to these prompts while it
// lives.
class GeneralErrorsTo {
public:
    explicit GeneralErrorsTo(UserPrompts &prompts) { application()->setPrompts(&prompts); }
    ~GeneralErrorsTo() { application()->setPrompts(nullptr); }

private:
    static BrenzoApplication *application() { return static_cast<BrenzoApplication *>(qApp); }
};

// Copies the sample media next to the installed ones, as `make run` does.
inline void copySamples(const WizardFixture &f)
{
    const QDir samples(QStringLiteral(MEDIA_DIR "/samples"));
    for (const QString &name : samples.entryList(QDir::Files))
        QFile::copy(samples.filePath(name), f.path(name));
}

inline QStringList itemNames(const QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    return names;
}

// Clicks the row of a list that shows the name, as a user does.
inline void clickItem(QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        qFatal("no single row %s", qPrintable(name));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}
