// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/ColoursPage.h"

#include "page/ColourScheme.h"
#include "prompts/UserPrompts.h"
#include "ui/Artwork.h"
#include "wizard/WizardStyle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

// What each combination gives the sample: the page's own colours, with the
// active-link colour the same red everywhere.
struct SampleColours {
    QColor text, link, visited, background;
};

SampleColours sampleColours(Combinacion combination)
{
    const ColourScheme &scheme = schemeFor(combination);
    return {QColor(QLatin1StringView(scheme.text)), QColor(QLatin1StringView(scheme.link)),
            QColor(QLatin1StringView(scheme.vlink)), QColor(QLatin1StringView(scheme.bgColor))};
}

// The order in which the page stacks the options, top to bottom.
constexpr Combinacion kStack[] = {Combinacion::optBlanco, Combinacion::optNoche,
                                  Combinacion::optRojo,   Combinacion::optCielo,
                                  Combinacion::optVerde,  Combinacion::optAmarillo};

QString optionName(Combinacion combination)
{
    static const char *names[] = {"optBlanco", "optNoche", "optRojo",
                                  "optCielo",  "optVerde", "optAmarillo"};
    return QString::fromLatin1(names[int(combination)]);
}

} // namespace

ColoursPage::ColoursPage(UserPrompts &prompts, const QString &startupFolder, QWidget *parent)
    : WizardPage(QStringLiteral("p2"), parent), m_prompts(prompts), m_startupFolder(startupFolder)
{
    addHeading(QStringLiteral("Label4"),
               QStringLiteral(u"Seleccione la combinación de Fondo y Colores que más le guste"));

    // The sample, at the left.
    auto *sampleFrame = new QGroupBox(QStringLiteral("Muestra"), this);
    sampleFrame->setObjectName(QStringLiteral("GroupBox1"));
    sampleFrame->setGeometry(8, 24, 217, 222);

    pColor = new QFrame(sampleFrame);
    pColor->setObjectName(QStringLiteral("pColor"));
    pColor->setFrameStyle(QFrame::Box | QFrame::Plain);
    pColor->setGeometry(8, 20, 201, 153);
    pColor->setAutoFillBackground(true);
    QPalette white = pColor->palette();
    white.setColor(QPalette::Window, Qt::white);
    pColor->setPalette(white);
    pColor->setAccessibleName(QStringLiteral("Muestra"));
    pColor->setAccessibleDescription(
        QStringLiteral(u"El fondo de la combinación elegida, con los colores del texto, de los "
                       u"enlaces no visitados, visitados y al activarse."));

    imgFondo = new QLabel(pColor);
    imgFondo->setObjectName(QStringLiteral("imgFondo"));
    imgFondo->setGeometry(1, 1, 199, 151);
    imgFondo->setScaledContents(true);
    imgFondo->setPixmap(artwork(QStringLiteral(":/art/muestra_blanco.png")));

    // Until an option is picked, the text shows the system's text colour.
    lblTexto = addSampleLabel(QStringLiteral("lblTexto"), QStringLiteral("Color del Texto"), 16);
    lblEnlace =
        addSampleLabel(QStringLiteral("lblEnlace"), QStringLiteral("Color Enlace No Visitado"), 48);
    WizardStyle::setTextColour(lblEnlace, Qt::blue);
    lblVisitado =
        addSampleLabel(QStringLiteral("lblVisitado"), QStringLiteral("Color Enlace Visitado"), 80);
    WizardStyle::setTextColour(lblVisitado, QColor(128, 0, 128));
    lblActivacion =
        addSampleLabel(QStringLiteral(u"lblActivacion"), QStringLiteral(u"Activación Enlace"), 112);
    WizardStyle::setTextColour(lblActivacion, Qt::red);

    chkFondoFijo = new QCheckBox(QStringLiteral("&Fondo Fijo sin desplazarse"), sampleFrame);
    chkFondoFijo->setObjectName(QStringLiteral("chkFondoFijo"));
    chkFondoFijo->setGeometry(8, 184, 201, 22);
    chkFondoFijo->setChecked(true);

    // The options, stacked at the right.
    auto *optionsFrame = new QGroupBox(QStringLiteral("Combinaciones "), this);
    optionsFrame->setObjectName(QStringLiteral("GroupBox3"));
    optionsFrame->setGeometry(240, 24, 225, 168);
    auto *group = new QButtonGroup(this);
    int y = 20;
    for (Combinacion combination : kStack) {
        auto *button =
            new QRadioButton(QString::fromUtf16(schemeFor(combination).caption), optionsFrame);
        button->setObjectName(optionName(combination));
        button->setGeometry(16, y, 193, 22);
        group->addButton(button);
        m_options.insert(combination, button);
        connect(button, &QRadioButton::toggled, this, [this, combination](bool checked) {
            if (checked)
                optCombinacionClick(combination);
        });
        y += 24;
    }
    // Checked before the handlers matter: the start reads no sample file.
    const QSignalBlocker quiet(m_options[Combinacion::optBlanco]);
    m_options[Combinacion::optBlanco]->setChecked(true);

    auto *switchBox = new QFrame(this);
    switchBox->setObjectName(QStringLiteral("Panel2"));
    switchBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    switchBox->setGeometry(240, 202, 225, 34);
    chkFondo = new QCheckBox(QStringLiteral("&Sin Tapiz de Fondo"), switchBox);
    chkFondo->setObjectName(QStringLiteral("chkFondo"));
    chkFondo->setGeometry(16, 6, 193, 22);
    connect(chkFondo, &QCheckBox::toggled, this, &ColoursPage::chkFondoClick);
}

QLabel *ColoursPage::addSampleLabel(const QString &objectName, const QString &text, int y)
{
    auto *label = new QLabel(text, pColor);
    label->setObjectName(objectName);
    QFont font(QStringLiteral("Arial"), 10);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(1, y, 199, 20);
    return label;
}

void ColoursPage::optCombinacionClick(Combinacion combination)
{
    const QString file = QString::fromUtf16(schemeFor(combination).backgroundFile);
    const QPixmap picture(QDir(m_startupFolder).filePath(file));
    if (picture.isNull()) {
        m_prompts.message(
            window(), QStringLiteral("Error"),
            QStringLiteral("No se encuentra imagen de fondo \"%1\". Reinstale el programa")
                .arg(file),
            PromptIcon::Critical);
        return;
    }
    imgFondo->setPixmap(picture);
    const SampleColours colours = sampleColours(combination);
    WizardStyle::setTextColour(lblTexto, colours.text);
    WizardStyle::setTextColour(lblEnlace, colours.link);
    WizardStyle::setTextColour(lblVisitado, colours.visited);
    WizardStyle::setTextColour(lblActivacion, Qt::red);
    QPalette palette = pColor->palette();
    palette.setColor(QPalette::Window, colours.background);
    pColor->setPalette(palette);
}

void ColoursPage::chkFondoClick()
{
    imgFondo->setVisible(!chkFondo->isChecked());
}

QColor ColoursPage::sampleTextColour() const
{
    return WizardStyle::textColour(lblTexto);
}

QColor ColoursPage::sampleBackground() const
{
    return pColor->palette().color(QPalette::Window);
}

void ColoursPage::applySettings(const PageSettings &settings)
{
    // Checking the option runs its handler: the sample follows.
    m_options[settings.optCombinacion]->setChecked(true);
    chkFondo->setChecked(settings.chkFondo);
    chkFondoFijo->setChecked(settings.chkFondoFijo);
}

void ColoursPage::readInto(PageSettings &settings) const
{
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it) {
        if (it.value()->isChecked())
            settings.optCombinacion = it.key();
    }
    settings.chkFondo = chkFondo->isChecked();
    settings.chkFondoFijo = chkFondoFijo->isChecked();
}
