// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the program's windows: a name for every
// control that takes the focus, and a description of every preview.

#include "app/ProgramWindows.h"
#include "tests/support/RecordingPrompts.h"
#include "ui/AccessibleNames.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(kind).trimmed() : QString();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString &name : {u"frmWeb"_s, u"frmEnviar"_s, u"frmOtros"_s})
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyControlHasAName()
    {
        QFETCH(QString, window);
        RecordingPrompts prompts;
        ProgramWindows windows(prompts);
        windows.frmWeb.buildAllPages();
        QWidget *root = QApplication::topLevelWidgets().first()->window();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == window)
                root = top;
        QCOMPARE(root->objectName(), window);

        QStringList unnamed;
        int controls = 0;
        for (QWidget *control : root->findChildren<QWidget *>()) {
            if (control->window() != root || !AccessibleNames::takesFocus(control))
                continue;
            ++controls;
            if (accessibleText(control, QAccessible::Name).isEmpty())
                unnamed.append(control->objectName() + u" ("_s +
                               QString::fromLatin1(control->metaObject()->className()) + u')');
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
        if (window != u"frmOtros"_s)
            QVERIFY(controls > 5);
    }

    // Named by what a sighted user reads beside them.
    void namesComeFromLabelsAndCaptions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("label at the left") << u"txtTitol"_s << u"Introduzca Título Principal"_s;
        QTest::newRow("publishing window") << u"txtPassword"_s << u"Contraseña"_s;
        QTest::newRow("frame caption") << u"FileListBox1"_s << u"Seleccionar sonido de fondo"_s;
        QTest::newRow("button") << u"btnSiguiente"_s << u"Siguiente"_s;
    }

    void namesComeFromLabelsAndCaptions()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        RecordingPrompts prompts;
        ProgramWindows windows(prompts);
        windows.frmWeb.buildAllPages();
        QWidget *found = windows.frmWeb.findChild<QWidget *>(control);
        if (!found)
            found = windows.frmEnviar.findChild<QWidget *>(control);
        QVERIFY(found);
        QVERIFY2(accessibleText(found, QAccessible::Name).startsWith(name),
                 qPrintable(accessibleText(found, QAccessible::Name)));
    }

    void previewsAreDescribed()
    {
        RecordingPrompts prompts;
        ProgramWindows windows(prompts);
        windows.frmWeb.buildAllPages();
        for (const QString &name : {u"pColor"_s, u"ContainerTexto"_s, u"imgJPG1"_s, u"RXGIF1"_s,
                                    u"imgJPG2"_s, u"RXGIF2"_s, u"imgJPG3"_s, u"RXGIF3"_s}) {
            QWidget *preview = windows.frmWeb.findChild<QWidget *>(name);
            QVERIFY2(preview, qPrintable(name));
            QVERIFY2(!accessibleText(preview, QAccessible::Description).isEmpty(),
                     qPrintable(name));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
