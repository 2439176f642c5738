// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/FinishPage.h"

#include "page/MakerInfo.h"
#include "page/TextRules.h"
#include "prompts/UserPrompts.h"
#include "wizard/WizardStyle.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QUrl>

FinishPage::FinishPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent)
    : WizardPage(QStringLiteral("p9"), parent), m_prompts(prompts), m_startupFolder(startupFolder)
{
    QLabel *heading =
        addHeading(QStringLiteral("Label33"), QStringLiteral("Gracias por utilizar Brenzo"));
    QFont twelve = heading->font();
    twelve.setPointSize(12);
    heading->setFont(twelve);
    heading->adjustSize();

    addLabel(this, QStringLiteral("Label34"),
             QStringLiteral(u"Su página ha sido confeccionada satisfactoriamente"), 8, 24);
    addLabel(this, QStringLiteral("Label35"),
             QStringLiteral(
                 u"Contacte con su proveedor de Internet para obtener las instrucciones "
                 u"necesarias, o buscar un servidor de alojamiento de páginas, para publicarla "
                 u"en Internet."),
             8, 40, 457, 28);
    addLabel(this, QStringLiteral("Label36"),
             QStringLiteral(u"Estos son los archivos necesarios para publicar la página:"), 8, 72);

    lstFinal = new QListWidget(this);
    lstFinal->setObjectName(QStringLiteral("lstFinal"));
    lstFinal->setGeometry(8, 88, 457, 81);
    lstFinal->setFocusPolicy(Qt::NoFocus);
    lstFinal->setFont(QFont(QStringLiteral("Courier New"), 10));
    QPalette grey = lstFinal->palette();
    grey.setColor(QPalette::Base, QColor(128, 128, 128));
    grey.setColor(QPalette::Text, Qt::white);
    lstFinal->setPalette(grey);

    btnVerPagina = WizardStyle::pictureButton(this, QStringLiteral("btnVerPagina"),
                                              QStringLiteral(u"&Pulse aquí para ver su página"),
                                              QStringLiteral(":/art/btn_ver.png"));
    btnVerPagina->setGeometry(8, 176, 225, 25);
    btnPubli = WizardStyle::pictureButton(this, QStringLiteral("btnPubli"),
                                          QStringLiteral(u"Publicar su página por &FTP"),
                                          QStringLiteral(":/art/btn_ftp.png"));
    btnPubli->setGeometry(240, 176, 225, 25);
    btnPrograms = WizardStyle::pictureButton(this, QStringLiteral("btnPrograms"),
                                             QStringLiteral(u"&Más Programas en Castellano"),
                                             QStringLiteral(":/art/btn_programas.png"));
    btnPrograms->setGeometry(8, 206, 225, 25);
    btnWebFin = WizardStyle::pictureButton(this, QStringLiteral("btnWebFin"),
                                           QStringLiteral("&Acceder a la WEB de Brenzo"),
                                           QStringLiteral(":/art/btn_web.png"));
    btnWebFin->setGeometry(240, 206, 225, 25);

    addLabel(this, QStringLiteral("Label43"),
             QStringLiteral(u"Brenzo es un programa gratuito. © Brenzo Software"), 8, 240);
    QLabel *address = addLabel(this, QStringLiteral("Label44"), makerHomePage(), 240, 240, 225, 16);
    address->setAlignment(Qt::AlignRight | Qt::AlignTop);

    connect(btnVerPagina, &QAbstractButton::clicked, this, &FinishPage::btnVerPaginaClick);
    connect(btnPubli, &QAbstractButton::clicked, this, &FinishPage::btnPubliClick);
    connect(btnPrograms, &QAbstractButton::clicked, this, &FinishPage::btnProgramsClick);
    connect(btnWebFin, &QAbstractButton::clicked, this, &FinishPage::btnWebFinClick);
    setTabOrder(btnVerPagina, btnPubli);
    setTabOrder(btnPubli, btnPrograms);
    setTabOrder(btnPrograms, btnWebFin);
}

void FinishPage::btnVerPaginaClick()
{
    btnVerPagina->setEnabled(false);
    m_prompts.openFile(window(), QDir(m_startupFolder).filePath(trimmedText(m_pageFileName)));
    btnVerPagina->setEnabled(true);
}

void FinishPage::btnPubliClick()
{
    emit publishRequested();
}

void FinishPage::btnProgramsClick()
{
    emit otherProgramsRequested();
}

void FinishPage::btnWebFinClick()
{
    btnWebFin->setEnabled(false);
    m_prompts.openUrl(window(), QUrl(makerHomePage()));
    btnWebFin->setEnabled(true);
}

void FinishPage::showFiles(const QStringList &rows)
{
    lstFinal->clear();
    lstFinal->addItems(rows);
}
