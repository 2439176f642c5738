// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WelcomePage.h"

#include "page/MakerInfo.h"
#include "prompts/UserPrompts.h"
#include "ui/Artwork.h"
#include "ui/LinkLabel.h"

#include <QFrame>
#include <QLabel>
#include <QUrl>

WelcomePage::WelcomePage(UserPrompts &prompts, QWidget *parent)
    : WizardPage(QStringLiteral("p0"), parent), m_prompts(prompts)
{
    QLabel *title =
        addHeading(QStringLiteral("Label11"), QStringLiteral("Bienvenidos a Brenzo 4.2.0"));
    QFont big = title->font();
    big.setPointSize(16);
    title->setFont(big);
    title->adjustSize();

    addLabel(this, QStringLiteral("Label12"),
             QStringLiteral(u"Asistente automático para crear páginas WEB"), 8, 30);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image2"));
    icon->setPixmap(artwork(QStringLiteral(":/art/brenzo_32.png")));
    icon->setGeometry(kWidth - 40, 2, 32, 32);

    addLabel(this, QStringLiteral("Label38"),
             QStringLiteral(
                 u"Mediante este programa, Ud podrá crear una página WEB de forma rápida y muy "
                 u"facilmente. Rellene cada una de las pantallas. Pulse Siguiente para pasar a la "
                 u"siguiente pantalla, Anterior para pasar a la pantalla anterior y Reiniciar para "
                 u"empezar de nuevo."),
             8, 52, 457, 44);
    m_support = addLabel(
        this, QStringLiteral("Label40"),
        QStringLiteral(
            u"Este programa, al ser gratuito, NO se ofrece soporte técnico. Si tiene cualquier "
            u"duda, pulse el botón AYUDA y se le mostrará la ayuda del programa, en la que "
            u"podrá resolver sus dudas."),
        8, 100, 457, 44);

    auto *box = new QFrame(this);
    m_box = box;
    box->setObjectName(QStringLiteral("Panel1"));
    box->setFrameStyle(QFrame::Panel | QFrame::Raised);
    box->setGeometry(8, 150, 457, 76);
    m_boxText = addLabel(
        box, QStringLiteral("Label41"),
        QStringLiteral(
            u"Si desea páginas más completas, con varias secciones enlazadas, galerías de fotos "
            u"y contador de visitas, conozca la edición completa de Brenzo en nuestra web:"),
        8, 6, 441, 30);

    Label42 = new LinkLabel(makerHomePage(), box);
    Label42->setObjectName(QStringLiteral("Label42"));
    QFont linkFont = Label42->font();
    linkFont.setPointSize(12);
    Label42->setFont(linkFont);
    Label42->setAlignment(Qt::AlignCenter);
    Label42->setGeometry(8, 42, 441, 26);
    connect(Label42, &LinkLabel::clicked, this, &WelcomePage::Label42Click);

    QLabel *start = m_start =
        addLabel(this, QStringLiteral("Label39"),
                 QStringLiteral("Pulse SIGUIENTE para empezar a confeccionar su página"), 8, 236);
    QFont bold = start->font();
    bold.setBold(true);
    start->setFont(bold);
    QPalette navy = start->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    start->setPalette(navy);
    start->adjustSize();
}

void WelcomePage::showRecovered(const QString &line)
{
    if (!lblRecuperado) {
        lblRecuperado = addLabel(this, QStringLiteral("lblRecuperado"), QString(), 8, 0, 457, 14);
        lblRecuperado->setTextFormat(Qt::PlainText);
        lblPaginaNueva = new LinkLabel(QStringLiteral(u"Empezar una página nueva"), this);
        lblPaginaNueva->setObjectName(QStringLiteral("lblPaginaNueva"));
        // Reached with Tab after the navigation bar, and pressed with Space.
        lblPaginaNueva->setFocusPolicy(Qt::StrongFocus);
        lblPaginaNueva->adjustSize();
        lblPaginaNueva->move(kWidth - 8 - lblPaginaNueva->width(), kStartTop);
        connect(lblPaginaNueva, &LinkLabel::clicked, this, &WelcomePage::newPageRequested);
    }
    layOut(true);
    // Names of missing files can make the line long: what does not fit is
    // cut, and the whole line is the label's tool tip. The longest start
    // that fits is looked for by halves, among no more characters than the
    // label could ever hold: each try lays out the whole text it is given.
    // A name wider than the label is not broken by the wrapping; it is cut
    // as well, so that the "…" shows.
    const QFontMetrics metrics(lblRecuperado->font());
    const auto fits = [&](const QString &text) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, lblRecuperado->width(), 10000),
                                                  Qt::TextWordWrap, text);
        return needed.height() <= lblRecuperado->height() &&
               needed.width() <= lblRecuperado->width();
    };
    constexpr qsizetype kMostShown = 2000; // three lines hold a few hundred
    QString shown = line;
    if (line.size() > kMostShown || !fits(line)) {
        qsizetype fitting = 1; // kept characters known to fit, or the fewest shown
        qsizetype failing = std::min(line.size(), kMostShown + 1);
        while (failing - fitting > 1) {
            const qsizetype keep = (fitting + failing) / 2;
            (fits(line.left(keep) + u'…') ? fitting : failing) = keep;
        }
        shown = line.left(fitting) + u'…';
    }
    lblRecuperado->setText(shown);
    lblRecuperado->setToolTip(shown == line ? QString() : line);
}

void WelcomePage::hideRecovered()
{
    layOut(false);
}

void WelcomePage::layOut(bool recovered)
{
    // With work recovered the box moves up under the text above it and
    // loses some height, which leaves the line room for three lines over
    // the words to start; the link goes beside those words.
    int boxTop = 150;
    int boxHeight = 76;
    if (recovered) {
        boxTop = std::min(boxTop, m_support->y() + m_support->heightForWidth(457) + 6);
        boxHeight = 62;
    }
    m_box->setGeometry(8, boxTop, 457, boxHeight);
    m_boxText->move(8, recovered ? 3 : 6);
    Label42->setGeometry(8, recovered ? 33 : 42, 441, recovered ? 24 : 26);
    m_start->move(8, recovered ? kStartTop : 236);
    if (lblRecuperado) {
        const int top = boxTop + boxHeight + 4;
        lblRecuperado->setGeometry(8, top, 457, kStartTop - 2 - top);
        lblRecuperado->setVisible(recovered);
        lblPaginaNueva->setVisible(recovered);
    }
}

void WelcomePage::Label42Click()
{
    Label42->pressWhile([this] { m_prompts.openUrl(window(), QUrl(makerHomePage())); });
}
