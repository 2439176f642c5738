// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/ScrollTextPage.h"

#include "page/PageSettings.h"
#include "page/TextRules.h"
#include "wizard/ColoursPage.h"
#include "wizard/WizardStyle.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

ScrollTextPage::ScrollTextPage(const ColoursPage &colours, QWidget *parent)
    : WizardPage(QStringLiteral("p6"), parent), m_colours(colours)
{
    addHeading(QStringLiteral("Label20"), QStringLiteral(u"Texto desplazándose por la pantalla"));
    addLabel(this, QStringLiteral("Label21"),
             QStringLiteral(u"Aquí puedemos incluir un texto animado que se desplaza a lo ancho "
                            u"de la pantalla"),
             8, 24);

    ContainerTexto = new QFrame(this);
    ContainerTexto->setObjectName(QStringLiteral("ContainerTexto"));
    ContainerTexto->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ContainerTexto->setGeometry(8, 48, 449, 33);
    ContainerTexto->setAutoFillBackground(true);
    ContainerTexto->setAccessibleName(QStringLiteral(u"Muestra del texto desplazándose"));
    ContainerTexto->setAccessibleDescription(
        QStringLiteral(u"El texto recorre la franja de derecha a izquierda, con el fondo y el "
                       u"color del texto de la combinación elegida."));

    // The sample moves inside the bevel, never over it.
    auto *inside = new QWidget(ContainerTexto);
    inside->setObjectName(QStringLiteral("ContainerTextoInterior"));
    inside->setGeometry(ContainerTexto->contentsRect());

    EtiquetaTexto = new QLabel(inside);
    EtiquetaTexto->setObjectName(QStringLiteral("EtiquetaTexto"));
    EtiquetaTexto->setTextFormat(Qt::PlainText);
    EtiquetaTexto->setFont(QFont(QStringLiteral("Arial"), 10));
    EtiquetaTexto->move(ContainerTexto->width(), 8 - inside->y());
    EtiquetaTexto->resize(0, EtiquetaTexto->fontMetrics().height());

    addLabel(this, QStringLiteral("Label23"), QStringLiteral("Texto"), 8, 88);
    TextoScroll =
        WizardStyle::lineEdit(this, QStringLiteral("TextoScroll"), FieldLimits::TextoScroll);
    TextoScroll->setGeometry(8, 104, 449, 22);
    TextoScroll->setText(PageSettings().TextoScroll);

    auto *position = new QGroupBox(QStringLiteral(u"Posición en la Página"), this);
    position->setObjectName(QStringLiteral("RadioGroup3"));
    position->setGeometry(8, 136, 217, 97);
    optAntesTexto = new QRadioButton(QStringLiteral("Antes del Texto Central"), position);
    optAntesTexto->setObjectName(QStringLiteral("optAntesTexto"));
    optAntesTexto->setGeometry(16, 32, 185, 20);
    optDespuesTexto = new QRadioButton(QStringLiteral(u"&Depués del Texto Central"), position);
    optDespuesTexto->setObjectName(QStringLiteral("optDespuesTexto"));
    optDespuesTexto->setGeometry(16, 56, 185, 20);
    auto *group = new QButtonGroup(this);
    group->addButton(optAntesTexto);
    group->addButton(optDespuesTexto);
    optAntesTexto->setChecked(true);

    btnNoDesplaza = new QPushButton(QStringLiteral(u"&No incluir Texto Desplazándose"), this);
    btnNoDesplaza->setObjectName(QStringLiteral("btnNoDesplaza"));
    btnNoDesplaza->setGeometry(240, 168, 217, 25);
    connect(btnNoDesplaza, &QAbstractButton::clicked, this, &ScrollTextPage::btnNoDesplazaClick);

    addLabel(this, QStringLiteral("Label22"),
             QStringLiteral("Este efecto solo se aprecia visualizando la página con Microsoft "
                            "Internet Explorer"),
             8, 240);

    setTabOrder(TextoScroll, optAntesTexto);
    setTabOrder(optAntesTexto, optDespuesTexto);
    setTabOrder(optDespuesTexto, btnNoDesplaza);
}

void ScrollTextPage::pageShown()
{
    EtiquetaTexto->move(ContainerTexto->width(), EtiquetaTexto->y());
    WizardStyle::setTextColour(EtiquetaTexto, m_colours.sampleTextColour());
    QPalette strip = ContainerTexto->palette();
    strip.setColor(QPalette::Window, m_colours.sampleBackground());
    ContainerTexto->setPalette(strip);
    TextoScroll->setFocus();
}

void ScrollTextPage::moveSample()
{
    // Blanks typed at either end change nothing the strip could show, so
    // the sample keeps its place until a letter changes.
    if (trimmedText(EtiquetaTexto->text()) != trimmedText(TextoScroll->text())) {
        EtiquetaTexto->setText(TextoScroll->text());
        EtiquetaTexto->resize(EtiquetaTexto->fontMetrics().horizontalAdvance(EtiquetaTexto->text()),
                              EtiquetaTexto->height());
    }
    int left = EtiquetaTexto->x() - 5;
    if (left < -EtiquetaTexto->width())
        left = ContainerTexto->width();
    EtiquetaTexto->move(left, EtiquetaTexto->y());
}

void ScrollTextPage::btnNoDesplazaClick()
{
    TextoScroll->clear();
}

void ScrollTextPage::applySettings(const PageSettings &settings)
{
    TextoScroll->setText(settings.TextoScroll);
    (settings.optPosicion == Posicion::optDespuesTexto ? optDespuesTexto : optAntesTexto)
        ->setChecked(true);
}

void ScrollTextPage::readInto(PageSettings &settings) const
{
    settings.TextoScroll = TextoScroll->text();
    settings.optPosicion =
        optDespuesTexto->isChecked() ? Posicion::optDespuesTexto : Posicion::optAntesTexto;
}
