// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmOtros.h"

#include "page/MakerInfo.h"
#include "prompts/UserPrompts.h"
#include "ui/Artwork.h"
#include "ui/LinkLabel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>

namespace {
constexpr QSize pictureSize(200, 50);

// The pictures of the three programs are composed here from the programs'
// icons: a tinted band with the icon at the left and the program's name
// beside it, drawn at the screen's density so it stays sharp.
QPixmap programBanner(const QString &icon, const QString &title, const QColor &tint, qreal ratio)
{
    QPixmap banner(pictureSize * ratio);
    banner.setDevicePixelRatio(ratio);
    banner.fill(Qt::transparent);

    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QRectF band(0.5, 0.5, pictureSize.width() - 1, pictureSize.height() - 1);
    QLinearGradient fill(band.topLeft(), band.topRight());
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, tint.lighter(160));
    QPainterPath outline;
    outline.addRoundedRect(band, 6, 6);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(tint, 1));
    painter.drawPath(outline);

    painter.drawPixmap(QRect(6, 3, 44, 44), artwork(icon));

    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(tint.darker(160));
    painter.drawText(QRect(58, 6, 138, 14), Qt::AlignLeft | Qt::AlignVCenter, makerSiteName());

    QFont big(QStringLiteral("Arial"));
    big.setPixelSize(17);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(tint.darker(220));
    painter.drawText(QRect(58, 20, 138, 24), Qt::AlignLeft | Qt::AlignVCenter, title);
    return banner;
}
} // namespace

TfrmOtros::TfrmOtros(UserPrompts &prompts, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompts(prompts)
{
    Q_INIT_RESOURCE(otros);

    setObjectName(QStringLiteral("frmOtros"));
    setWindowTitle(QStringLiteral("Otros Programas"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(483, 362);

    QFrame *panel1 = addPanel(QStringLiteral("Panel1"), QRect(0, 0, 481, 105));
    addPicture(panel1, QStringLiteral("Image1"), QPoint(8, 8),
               QStringLiteral(":/otros/prog_agenda.png"), QStringLiteral("Agenda"),
               QColor(0xC0, 0x39, 0x2B));
    addText(panel1, QStringLiteral("Label3"), QRect(216, 8, 257, 16),
            QStringLiteral("Agenda Brenzo: su agenda personal"), true);
    addText(panel1, QStringLiteral("Label4"), QRect(216, 26, 257, 32),
            QStringLiteral("Direcciones, teléfonos, citas y cumpleaños, todo en un solo "
                           "lugar y siempre a mano."),
            false);
    addText(panel1, QStringLiteral("Label5"), QRect(8, 64, 465, 36),
            QStringLiteral("Anote los datos de su familia, sus amigos y sus clientes y encuentre "
                           "cualquier teléfono al instante. Le recuerda sus citas y cumpleaños e "
                           "imprime etiquetas para sobres."),
            false);

    QFrame *panel2 = addPanel(QStringLiteral("Panel2"), QRect(0, 112, 481, 97));
    addPicture(panel2, QStringLiteral("Image2"), QPoint(272, 8),
               QStringLiteral(":/otros/prog_fotos.png"), QStringLiteral("Álbum de Fotos"),
               QColor(0x2E, 0x6D, 0xB4));
    addText(panel2, QStringLiteral("Label6"), QRect(8, 8, 257, 50),
            QStringLiteral("Álbum de Fotos Brenzo: ordene sus fotografías digitales y "
                           "compártalas con toda la familia"),
            true);
    addText(panel2, QStringLiteral("Label7"), QRect(8, 62, 465, 30),
            QStringLiteral("Clasifique sus fotos por álbumes y fechas, añada comentarios y véalas "
                           "a pantalla completa como una presentación. Con un solo clic prepara "
                           "una página WEB con sus mejores fotos."),
            false);

    QFrame *panel3 = addPanel(QStringLiteral("Panel3"), QRect(0, 216, 481, 113));
    addPicture(panel3, QStringLiteral("Image3"), QPoint(8, 8),
               QStringLiteral(":/otros/prog_notas.png"), QStringLiteral("Notas"),
               QColor(0xD6, 0x8A, 0x10));
    addText(panel3, QStringLiteral("Label1"), QRect(216, 8, 257, 50),
            QStringLiteral("Notas Brenzo: notas adhesivas de colores en su escritorio, para "
                           "que no se le olvide nada"),
            true);
    addText(panel3, QStringLiteral("Label2"), QRect(8, 62, 465, 46),
            QStringLiteral("Pegue en el escritorio la lista de la compra, un teléfono o una tarea "
                           "pendiente. Cada nota puede avisarle a la hora que usted elija y todas "
                           "se guardan solas al apagar el ordenador. Como todos nuestros "
                           "programas, es gratuito y está en castellano."),
            false);

    m_link = new LinkLabel(QStringLiteral("Pulse aquí para más información sobre estos programas"),
                           this);
    m_link->setObjectName(QStringLiteral("Label8"));
    m_link->setGeometry(0, 336, 481, 19);
    m_link->setAlignment(Qt::AlignCenter);
    QFont linkFont(QStringLiteral("Times New Roman"), 12);
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    m_link->setFont(linkFont);
    connect(m_link, &LinkLabel::clicked, this, &TfrmOtros::Label8Click);
}

void TfrmOtros::Label8Click()
{
    m_link->pressWhile([this] { m_prompts.openUrl(this, QUrl(makerHomePage())); });
}

void TfrmOtros::showEvent(QShowEvent *event)
{
    // The pictures are composed the first time the window is shown, at the
    // density of the screen it is shown on, not while the program starts.
    for (const Picture &picture : std::as_const(m_pictures))
        picture.label->setPixmap(
            programBanner(picture.icon, picture.title, picture.tint, devicePixelRatioF()));
    m_pictures.clear();

    // Centred on the screen rather than over the wizard, every time it is shown.
    if (const QScreen *where = screen()) {
        QRect place = frameGeometry();
        place.moveCenter(where->availableGeometry().center());
        move(place.topLeft());
    }
    QDialog::showEvent(event);
}

QFrame *TfrmOtros::addPanel(const QString &name, const QRect &place)
{
    auto *panel = new QFrame(this);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(place);
    return panel;
}

QLabel *TfrmOtros::addPicture(QFrame *panel, const QString &name, const QPoint &place,
                              const QString &icon, const QString &title, const QColor &tint)
{
    auto *picture = new QLabel(panel);
    picture->setObjectName(name);
    picture->setGeometry(QRect(place, pictureSize));
    m_pictures.append({picture, icon, title, tint});
    return picture;
}

QLabel *TfrmOtros::addText(QFrame *panel, const QString &name, const QRect &place,
                           const QString &text, bool headline)
{
    auto *label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (headline) {
        QFont bold = font();
        bold.setBold(true);
        label->setFont(bold);
    }
    return label;
}
