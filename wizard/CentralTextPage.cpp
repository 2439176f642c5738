// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/CentralTextPage.h"

#include "page/TextImport.h"
#include "prompts/UserPrompts.h"
#include "ui/BrenzoApplication.h"
#include "ui/ProgramError.h"
#include "wizard/WaitCursor.h"
#include "wizard/WizardStyle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>

namespace {

// Why a chosen file is not even opened, or nothing. A link would bring in
// whatever file it points to; a device or a pipe could be read forever (a
// folder fails to open anyway).
QString refusal(const QFileInfo &info)
{
    if (info.isSymLink())
        return QStringLiteral(u"Es un enlace a otro archivo.");
    if (info.exists() && !info.isFile() && !info.isDir())
        return QStringLiteral(u"No es un archivo normal.");
    return {};
}

QString readTextFile(const QString &path)
{
    QFile file(path);
    const QString refused = refusal(QFileInfo(path));
    if (!refused.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw ProgramError(QStringLiteral("No se puede abrir el archivo \"%1\".\n%2")
                               .arg(QDir::toNativeSeparators(path),
                                    refused.isEmpty() ? file.errorString() : refused));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ProgramError(QStringLiteral("No se puede leer el archivo \"%1\".\n%2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    return decodeImportedText(bytes);
}

QString longLinesMessage(const QString &path)
{
    return QStringLiteral(u"No se puede importar el archivo \"%1\".\nTiene al menos una línea de "
                          u"más de %2 caracteres, demasiado larga para el texto central.")
        .arg(QDir::toNativeSeparators(path),
             QLocale(QLocale::Spanish, QLocale::Spain).toString(CentralTextPage::kImportLineLimit));
}

} // namespace

CentralTextPage::CentralTextPage(UserPrompts &prompts, QWidget *parent)
    : WizardPage(QStringLiteral("p4"), parent), m_prompts(prompts)
{
    addHeading(QStringLiteral("Label7"), QStringLiteral(u"Texto"));
    addLabel(
        this, QStringLiteral("Label6"),
        QStringLiteral(u"Escriba aquí el texto que desee aplicando el estilo y tamaño deseado"), 8,
        17);

    txtLibre = new QPlainTextEdit(this);
    txtLibre->setObjectName(QStringLiteral("txtLibre"));
    txtLibre->setGeometry(4, 34, 465, 145);
    txtLibre->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLibre->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLibre->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLibre->setFont(QFont(QStringLiteral("Arial"), pointSize(Tamano::optNormal)));
    // Tab moves on to the buttons, as in every other box of the wizard.
    txtLibre->setTabChangesFocus(true);
    connect(txtLibre->document(), &QTextDocument::contentsChanged, this,
            [this] { m_textTaken = false; });

    btnImporta = WizardStyle::pictureButton(this, QStringLiteral("btnImporta"),
                                            QStringLiteral("&Importar archivo de Texto (TXT)"),
                                            QStringLiteral(":/art/btn_importar.png"));
    btnImporta->setGeometry(4, 184, 229, 25);
    connect(btnImporta, &QAbstractButton::clicked, this, &CentralTextPage::btnImportaClick);
    btnBorrar = WizardStyle::pictureButton(this, QStringLiteral("btnBorrar"),
                                           QStringLiteral("Borrar Texto"),
                                           QStringLiteral(":/art/btn_borrar.png"));
    btnBorrar->setGeometry(240, 184, 229, 25);
    connect(btnBorrar, &QAbstractButton::clicked, this, &CentralTextPage::btnBorrarClick);

    auto *sizeFrame = new QGroupBox(QStringLiteral(u"Tamaño"), this);
    sizeFrame->setObjectName(QStringLiteral("GroupBox5"));
    sizeFrame->setGeometry(4, 211, 300, 46);
    auto *sizes = new QButtonGroup(this);
    struct SizeOption {
        Tamano size;
        const char *name;
        const char *caption;
        int x;
        int width;
    };
    const SizeOption sizeOptions[] = {{Tamano::optMini, "optMini", "Mini", 12, 60},
                                      {Tamano::optNormal, "optNormal", "&Normal", 82, 70},
                                      {Tamano::optGrande, "optGrande", "&Grande", 156, 70},
                                      {Tamano::optSuper, "optSuper", "&Super", 230, 62}};
    for (const SizeOption &entry : sizeOptions) {
        auto *button = new QRadioButton(QString::fromLatin1(entry.caption), sizeFrame);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setGeometry(entry.x, 19, entry.width, 20);
        sizes->addButton(button);
        m_options.insert(entry.size, button);
        const Tamano size = entry.size;
        connect(button, &QRadioButton::toggled, this, [this, size](bool checked) {
            if (checked)
                optTamanoClick(size);
        });
    }
    optMini = m_options[Tamano::optMini];
    optNormal = m_options[Tamano::optNormal];
    optGrande = m_options[Tamano::optGrande];
    optSuper = m_options[Tamano::optSuper];
    optNormal->setChecked(true);
    WizardStyle::colourCaption(sizeFrame, WizardStyle::kNavy);

    auto *styleFrame = new QGroupBox(QStringLiteral("Estilo"), this);
    styleFrame->setObjectName(QStringLiteral("GroupBox6"));
    styleFrame->setGeometry(312, 211, 157, 46);
    chkNegrita = new QCheckBox(QStringLiteral("&Negrita"), styleFrame);
    chkNegrita->setObjectName(QStringLiteral("chkNegrita"));
    chkNegrita->setGeometry(12, 19, 68, 20);
    chkCursiva = new QCheckBox(QStringLiteral("&Cursiva"), styleFrame);
    chkCursiva->setObjectName(QStringLiteral("chkCursiva"));
    chkCursiva->setGeometry(82, 19, 68, 20);
    connect(chkNegrita, &QCheckBox::toggled, this, &CentralTextPage::chkEstiloClick);
    connect(chkCursiva, &QCheckBox::toggled, this, &CentralTextPage::chkEstiloClick);
    WizardStyle::colourCaption(styleFrame, WizardStyle::kNavy);

    setTabOrder(txtLibre, btnImporta);
    setTabOrder(btnImporta, btnBorrar);
    setTabOrder(btnBorrar, optMini);
    setTabOrder(optMini, optNormal);
    setTabOrder(optNormal, optGrande);
    setTabOrder(optGrande, optSuper);
    setTabOrder(optSuper, chkNegrita);
    setTabOrder(chkNegrita, chkCursiva);
}

int CentralTextPage::pointSize(Tamano size)
{
    switch (size) {
    case Tamano::optMini:
        return 10;
    case Tamano::optNormal:
        break;
    case Tamano::optGrande:
        return 18;
    case Tamano::optSuper:
        return 24;
    }
    return 12;
}

void CentralTextPage::pageShown()
{
    txtLibre->setFocus();
}

void CentralTextPage::optTamanoClick(Tamano size)
{
    QFont font = txtLibre->font();
    font.setPointSize(pointSize(size));
    txtLibre->setFont(font);
}

void CentralTextPage::chkEstiloClick()
{
    QFont font = txtLibre->font();
    font.setBold(chkNegrita->isChecked());
    font.setItalic(chkCursiva->isChecked());
    txtLibre->setFont(font);
}

void CentralTextPage::btnImportaClick()
{
    const QString path =
        m_prompts.openFileName(window(), QStringLiteral("Seleccionar Archivo a Importar"),
                               QString(), QStringLiteral("Archivos de Texto (*.TXT)"));
    if (path.isEmpty())
        return;
    // Read and check completely before touching the box: a refused file
    // keeps the text.
    // A large file takes a moment to read and to lay out: the hourglass
    // shows it, and is gone again before any message.
    QString text;
    try {
        const WaitCursor hourglass;
        text = readTextFile(path);
    } catch (const ProgramError &error) {
        BrenzoApplication::reportGeneralError(error.text());
        return;
    }
    if (longestLineLength(text) > kImportLineLimit) {
        m_prompts.message(window(), QStringLiteral("Brenzo"), longLinesMessage(path),
                          PromptIcon::Warning);
        return;
    }
    const WaitCursor hourglass;
    txtLibre->setPlainText(text);
}

void CentralTextPage::btnBorrarClick()
{
    txtLibre->clear();
    txtLibre->setFocus();
}

QString CentralTextPage::text() const
{
    if (m_textTaken)
        return m_text;
    // toPlainText() would turn no-break spaces into plain blanks; the raw
    // text keeps every character and only its paragraph marks need mapping.
    QString raw = txtLibre->document()->toRawText();
    for (QChar &c : raw) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // start of a frame
        case 0xFDD1: // end of a frame
            c = u'\n';
            break;
        default:
            break;
        }
    }
    m_text = raw;
    m_textTaken = true;
    return raw;
}

void CentralTextPage::applySettings(const PageSettings &settings)
{
    // A line longer than any the import lets in would freeze the box; the page
    // keeps only its first characters anyway, and those are what it shows.
    const WaitCursor hourglass;
    if (longestLineLength(settings.txtLibre) > kImportLineLimit)
        txtLibre->setPlainText(settings.centralTextLines().join(u'\n'));
    else
        txtLibre->setPlainText(settings.txtLibre);
    m_options[settings.optTamano]->setChecked(true);
    chkNegrita->setChecked(settings.chkNegrita);
    chkCursiva->setChecked(settings.chkCursiva);
}

void CentralTextPage::readInto(PageSettings &settings) const
{
    settings.txtLibre = text();
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it) {
        if (it.value()->isChecked())
            settings.optTamano = it.key();
    }
    settings.chkNegrita = chkNegrita->isChecked();
    settings.chkCursiva = chkCursiva->isChecked();
}
