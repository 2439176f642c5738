// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/SoundPage.h"

#include "page/PageSettings.h"
#include "prompts/UserPrompts.h"
#include "wizard/FileList.h"
#include "wizard/WizardStyle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

SoundPage::SoundPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent)
    : WizardPage(QStringLiteral("p3"), parent), m_prompts(prompts), m_startupFolder(startupFolder)
{
    addHeading(QStringLiteral("Label8"), QStringLiteral(u"Sonido de Fondo"));
    addLabel(this, QStringLiteral("Label10"),
             QStringLiteral(u"En este apartado podemos seleccionar un sonido de fondo Wave (WAV) o "
                            u"bién MIDI (MID) que se va a reproducir automáticamente al abrir la "
                            u"página. Debe estar situado en el mismo directorio donde está el "
                            u"programa instalado."),
             8, 20, 457, 44);

    auto *frame = new QGroupBox(QStringLiteral("Seleccionar sonido de fondo"), this);
    frame->setObjectName(QStringLiteral("GroupBox2"));
    frame->setGeometry(8, 68, 457, 118);

    FileListBox1 =
        new FileList(QStringLiteral("FileListBox1"), QStringLiteral("*.MID;*.WAV"), frame);
    FileListBox1->setShowIcons(true);
    FileListBox1->setIconSize(QSize(16, 16));
    FileListBox1->setGeometry(16, 20, 257, 89);
    connect(FileListBox1, &FileList::picked, this, &SoundPage::FileListBox1Click);

    btnNinguno =
        WizardStyle::pictureButton(frame, QStringLiteral("btnNinguno"), QStringLiteral("&Ninguno"),
                                   QStringLiteral(":/art/btn_ninguno.png"));
    btnNinguno->setGeometry(288, 20, 153, 27);
    connect(btnNinguno, &QAbstractButton::clicked, this, &SoundPage::btnNingunoClick);

    chkLoop = new QCheckBox(QStringLiteral("Repetir Indefinidamente"), frame);
    chkLoop->setObjectName(QStringLiteral("chkLoop"));
    chkLoop->setGeometry(288, 56, 161, 22);
    chkLoop->setChecked(true);

    WizardStyle::colourCaption(frame, WizardStyle::kMaroon);

    btnOir = WizardStyle::pictureButton(
        this, QStringLiteral("btnOir"),
        QStringLiteral(u"&Pulsar aquí para escuchar el tema seleccionado"),
        QStringLiteral(":/art/btn_oir.png"));
    btnOir->setGeometry(8, 194, 457, 27);
    connect(btnOir, &QAbstractButton::clicked, this, &SoundPage::btnOirClick);

    addLabel(this, QStringLiteral("Label9"), QStringLiteral("Seleccionado:"), 8, 236);
    stSonido = new QLineEdit(this);
    stSonido->setObjectName(QStringLiteral("stSonido"));
    stSonido->setReadOnly(true);
    stSonido->setAlignment(Qt::AlignCenter);
    stSonido->setGeometry(88, 232, 257, 22);
    QFont bold = stSonido->font();
    bold.setBold(true);
    stSonido->setFont(bold);
    QPalette navy = stSonido->palette();
    navy.setColor(QPalette::Text, WizardStyle::kNavy);
    stSonido->setPalette(navy);

    enableSoundControls(false);

    setTabOrder(FileListBox1, btnNinguno);
    setTabOrder(btnNinguno, chkLoop);
    setTabOrder(chkLoop, btnOir);
    setTabOrder(btnOir, stSonido);
}

void SoundPage::pageShown()
{
    FileListBox1->setFolder(m_startupFolder);
}

void SoundPage::enableSoundControls(bool enabled)
{
    // The repeat box keeps its tick while disabled: choosing a sound again
    // brings back the user's last choice.
    btnNinguno->setEnabled(enabled);
    btnOir->setEnabled(enabled);
    chkLoop->setEnabled(enabled);
}

void SoundPage::FileListBox1Click()
{
    stSonido->setText(QFileInfo(FileListBox1->selectedPath()).fileName());
    if (!stSonido->text().isEmpty())
        enableSoundControls(true);
}

void SoundPage::btnOirClick()
{
    const QString path = FileListBox1->selectedPath();
    if (path.isEmpty())
        return;
    // Disabling the button would send the focus on to the next control;
    // a user who pressed it with the keyboard finds the focus where it was.
    const bool hadFocus = btnOir->hasFocus();
    btnOir->setEnabled(false);
    m_prompts.openFile(window(), path);
    btnOir->setEnabled(true);
    if (hadFocus)
        btnOir->setFocus();
}

void SoundPage::btnNingunoClick()
{
    FileListBox1->reread();
    stSonido->clear();
    enableSoundControls(false);
}

void SoundPage::applySettings(const PageSettings &settings)
{
    chkLoop->setChecked(settings.chkLoop);
    if (!settings.stSonido.isEmpty()) {
        FileListBox1->setFolder(m_startupFolder);
        if (FileListBox1->pickName(settings.stSonido))
            return;
    }
    if (FileListBox1->hasBeenRead())
        FileListBox1->reread();
    stSonido->clear();
    enableSoundControls(false);
}

void SoundPage::readInto(PageSettings &settings) const
{
    settings.stSonido = stSonido->text();
    settings.chkLoop = chkLoop->isChecked();
}
