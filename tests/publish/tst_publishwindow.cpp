// SPDX-License-Identifier: GPL-3.0-or-later
// The publishing window without a server: its controls where the user finds
// them, the keys, help, the link, and how it closes.

#include "publish/TfrmEnviar.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

class TestPublishWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void controls_data();
    void controls();
    void remoteFolderList();
    void passwordShowsStars();
    void keyboardOrder();
    void keysThatDoNothing_data();
    void keysThatDoNothing();
    void help();
    void link();
    void cancelWithoutRun();
    void titleBarClose();

private:
    QTemporaryDir m_config;
};

void TestPublishWindow::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestPublishWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("Panel1") << "Panel1" << QRect(0, 0, 121, 342) << QString();
    QTest::newRow("Label5") << "Label5" << QRect(136, 4, 200, 18) << "PUBLICACIÓN PÁGINA WEB";
    QTest::newRow("Label6") << "Label6" << QRect(136, 24, 346, 42)
                            << "Si su servidor admite publicar páginas web mediante FTP, siguiendo "
                               "las instrucciones de configuración que proporciona su servidor, "
                               "introduzca los datos y pulse \"Publicar página web\"";
    QTest::newRow("Label1") << "Label1" << QRect(136, 88, 110, 22) << "Servidor FTP";
    QTest::newRow("Label2") << "Label2" << QRect(136, 112, 110, 22) << "Usuario";
    QTest::newRow("Label3") << "Label3" << QRect(136, 136, 110, 22) << "Contraseña";
    QTest::newRow("Label4") << "Label4" << QRect(136, 160, 110, 22) << "Directorio Remoto";
    QTest::newRow("txtServer") << "txtServer" << QRect(248, 88, 233, 22) << QString();
    QTest::newRow("txtUSer") << "txtUSer" << QRect(248, 112, 233, 22) << QString();
    QTest::newRow("txtPassword") << "txtPassword" << QRect(248, 136, 233, 22) << QString();
    QTest::newRow("txtRemoto") << "txtRemoto" << QRect(248, 160, 233, 22) << QString();
    // The one row added under the remote folder moves what follows it down.
    QTest::newRow("lblConexion") << "lblConexion" << QRect(136, 184, 110, 22) << "Conexión";
    QTest::newRow("cmbConexion") << "cmbConexion" << QRect(248, 184, 233, 22) << "FTP";
    // The page's address, on a row of its own under its label.
    QTest::newRow("lblDireccion") << "lblDireccion" << QRect(136, 210, 200, 18)
                                  << "Dirección de su página";
    QTest::newRow("txtDireccion") << "txtDireccion" << QRect(136, 230, 345, 22) << QString();
    QTest::newRow("btnPublica") << "btnPublica" << QRect(136, 264, 161, 25) << "Publicar Web";
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(304, 264, 89, 25) << "Cancelar";
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(400, 264, 81, 25) << "&Ayuda";
    QTest::newRow("lblEstado") << "lblEstado" << QRect(136, 296, 345, 18) << "No Conectado";
    QTest::newRow("Label7") << "Label7" << QRect(152, 320, 302, 14)
                            << "Para borrar su página, le recomendamos el programa Tralmo";
}

void TestPublishWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QCOMPARE(window.windowTitle(), QStringLiteral("Brenzo - Publicación Página Web"));
    QCOMPARE(window.size(), QSize(489, 342));
    QCOMPARE(window.minimumSize(), window.maximumSize());

    QWidget *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    auto *label = qobject_cast<QLabel *>(control);
    if (label && !label->wordWrap() && name != QLatin1String("lblEstado")) {
        // A one-line label is at least as wide as planned, and wide enough
        // for its text in whatever font stands in for Arial here.
        QCOMPARE(control->pos(), geometry.topLeft());
        QCOMPARE(control->height(), geometry.height());
        QVERIFY(control->width() >= geometry.width());
        QVERIFY(control->width() >= label->fontMetrics().horizontalAdvance(text));
    } else {
        QCOMPARE(control->geometry(), geometry);
    }
    if (label)
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), text);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        QCOMPARE(edit->text(), text);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        QCOMPARE(combo->currentText(), text);
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QVERIFY(!button->icon().isNull());
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void TestPublishWindow::remoteFolderList()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    auto *folder = window.findChild<QComboBox *>(QStringLiteral("txtRemoto"));
    QVERIFY(folder->isEditable());
    QStringList items;
    for (int i = 0; i < folder->count(); ++i)
        items.append(folder->itemText(i));
    QCOMPARE(items, QStringList({"", "/public_html", "/htdocs", "/webusr"}));
    auto *connection = window.findChild<QComboBox *>(QStringLiteral("cmbConexion"));
    QVERIFY(!connection->isEditable());
    QCOMPARE(connection->model()->rowCount(), 3);
    QCOMPARE(connection->itemText(1), QStringLiteral("FTPS (FTP con TLS)"));
    QCOMPARE(connection->itemText(2), QStringLiteral("SFTP (SSH)"));
    QVERIFY(connection->width() >= connection->sizeHint().width());

    // Enter in the box keeps the typed folder out of the list.
    window.show();
    folder->setEditText(QStringLiteral("/site"));
    QTest::keyClick(folder->lineEdit(), Qt::Key_Return);
    QCOMPARE(folder->count(), 4);
    QCOMPARE(folder->currentText(), QStringLiteral("/site"));
}

void TestPublishWindow::passwordShowsStars()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    auto *password = window.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    password->ensurePolished();
    QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
             int('*'));
}

void TestPublishWindow::keyboardOrder()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QWidget *start = window.findChild<QWidget *>(QStringLiteral("txtServer"));
    QStringList order;
    QWidget *widget = start;
    do {
        const bool tabStop = (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
                             !qobject_cast<QComboBox *>(widget->parentWidget());
        if (tabStop)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != start);
    QCOMPARE(order, QStringList({"txtServer", "txtUSer", "txtPassword", "txtRemoto", "cmbConexion",
                                 "txtDireccion", "btnPublica", "BitBtn2", "BitBtn1"}));
}

void TestPublishWindow::keysThatDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    // No default button: Enter would otherwise start a run and complain
    // about the empty server box.
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void TestPublishWindow::keysThatDoNothing()
{
    QFETCH(int, key);
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.show();
    auto *server = window.findChild<QLineEdit *>(QStringLiteral("txtServer"));
    QTest::keyClick(server, Qt::Key(key));
    QVERIFY(window.isVisible());
    QVERIFY(prompts.calls.isEmpty());
}

void TestPublishWindow::help()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QTest::keyClick(window.findChild<QLineEdit *>(QStringLiteral("txtServer")), Qt::Key_F1);
    const auto calls = prompts.ofKind(RecordingPrompts::Kind::Help);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].topic, 14);
    QCOMPARE(calls[1].topic, 15);
}

void TestPublishWindow::link()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.show();
    auto *link = window.findChild<QLabel *>(QStringLiteral("Label7"));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link->font().underline());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(prompts.calls.size(), 1);
    QCOMPARE(prompts.calls[0].kind, RecordingPrompts::Kind::OpenUrl);
    QCOMPARE(prompts.calls[0].text, QStringLiteral("https://www.tralmo.example/"));
}

void TestPublishWindow::cancelWithoutRun()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.show();
    window.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
    QCOMPARE(prompts.calls.size(), 1);
    QCOMPARE(prompts.calls[0].title, QStringLiteral("Brenzo - Error"));
    QCOMPARE(prompts.calls[0].text, QStringLiteral("Envio de página web cancelado por el usuario"));
    QCOMPARE(prompts.calls[0].icon, PromptIcon::Warning);
    QVERIFY(!window.isVisible());
}

void TestPublishWindow::titleBarClose()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    auto *status = window.findChild<QLabel *>(QStringLiteral("lblEstado"));
    auto *server = window.findChild<QLineEdit *>(QStringLiteral("txtServer"));
    window.show();
    QCOMPARE(status->text(), QStringLiteral("No Conectado"));
    server->setText(QStringLiteral("ftp.ejemplo.es"));

    QVERIFY(window.close());
    QVERIFY(prompts.calls.isEmpty());
    // The same window comes back with what was typed and an empty status line.
    window.show();
    QCOMPARE(status->text(), QString());
    QCOMPARE(server->text(), QStringLiteral("ftp.ejemplo.es"));
}

QTEST_MAIN(TestPublishWindow)
#include "tst_publishwindow.moc"
