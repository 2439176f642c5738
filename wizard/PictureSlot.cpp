// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/PictureSlot.h"

#include "page/PageSettings.h"
#include "photo/PictureFormats.h"
#include "ui/BrenzoApplication.h"
#include "ui/ProgramError.h"
#include "wizard/ElidedLabel.h"
#include "wizard/FileList.h"
#include "wizard/PicturePreview.h"
#include "wizard/WizardStyle.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace {

struct Shape {
    int number;
    QRect place;
    QColor fill;
};

// What differs between the three places.
struct SlotLayout {
    const char16_t *description;
    const char *descriptionName;
    int descriptionTop;
    const char *addressLabelName; // null: no address field
    QRect still;
    QRect animated;
    QList<Shape> sketch;
};

const QColor kPage = WizardStyle::kNavy;
const QColor kText = Qt::white;
const QColor kPicture = Qt::cyan;

const SlotLayout &layoutOf(int number)
{
    static const SlotLayout layouts[] = {
        {u"Esta imagen aparecerá bajo el Título principal de la página WEB",
         "lblImagen1",
         16,
         "Label15",
         {296, 40, 153, 81},
         {296, 40, 153, 81},
         {{1, {224, 64, 65, 49}, kPage},
          {2, {232, 72, 49, 9}, kText},
          {3, {240, 88, 33, 17}, kPicture}}},
        {u"Esta imagen aparecerá alineada a la izquierda del Texto principal de la página WEB",
         "Label17",
         16,
         "Label18",
         {304, 48, 145, 81},
         {304, 48, 145, 81},
         {{9, {224, 64, 65, 57}, kPage},
          {10, {256, 72, 25, 9}, kText},
          {11, {256, 88, 25, 9}, kText},
          {12, {232, 104, 49, 9}, kText},
          {13, {232, 72, 17, 17}, kPicture}}},
        {u"Esta imagen aparecerá junto a la dirección de E-MAIL",
         "Label19",
         24,
         nullptr,
         {312, 56, 137, 105},
         {312, 48, 137, 113},
         {{4, {224, 72, 65, 65}, kPage},
          {5, {232, 80, 49, 9}, kText},
          {6, {232, 96, 49, 9}, kText},
          {7, {256, 112, 25, 9}, kText},
          {8, {232, 112, 17, 17}, kPicture}}},
    };
    return layouts[number - 1];
}

QString named(const char *stem, int number)
{
    return QString::fromLatin1(stem) + QString::number(number);
}

// A sunken box with navy text, as the folder and the chosen name are shown.
ElidedLabel *sunkenBox(QWidget *parent, const QString &objectName, Qt::TextElideMode mode)
{
    auto *box = new ElidedLabel(objectName, mode, parent);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    WizardStyle::setTextColour(box, WizardStyle::kNavy);
    return box;
}

} // namespace

PictureSlot::PictureSlot(int number, const QString &startupFolder, QWidget *parent)
    : QGroupBox(QStringLiteral("Seleccionar Imagen %1").arg(number), parent), m_number(number),
      m_startupFolder(startupFolder)
{
    const SlotLayout &layout = layoutOf(number);
    setObjectName(named("frmImagen", number));
    setGeometry(8, 88, 465, 169);

    lblDir = sunkenBox(this, named("lblDir", number), Qt::ElideLeft);
    lblDir->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblDir->setGeometry(16, 24, 193, 18);

    lstImagen = new FileList(named("lstImagen", number), PictureFormats::listMask(), this);
    lstImagen->setGeometry(16, 48, 193, 89);
    lstImagen->setRowHeight(14);
    connect(lstImagen, &FileList::picked, this, &PictureSlot::pick);

    lblNombreImagen = sunkenBox(this, named("lblNombreImagen", number), Qt::ElideMiddle);
    lblNombreImagen->setAlignment(Qt::AlignCenter);
    QFont bold = lblNombreImagen->font();
    bold.setBold(true);
    lblNombreImagen->setFont(bold);
    lblNombreImagen->setGeometry(16, 144, 193, 18);

    addSketch();

    imgJPG = new StillPreview(named("imgJPG", number), this);
    imgJPG->setGeometry(layout.still);
    imgJPG->hide();
    RXGIF = new AnimatedPreview(named("RXGIF", number), this);
    RXGIF->setGeometry(layout.animated);
    RXGIF->hide();
    for (QLabel *preview : {static_cast<QLabel *>(imgJPG), static_cast<QLabel *>(RXGIF)}) {
        preview->setAccessibleName(QStringLiteral("Vista previa de la imagen %1").arg(number));
        preview->setAccessibleDescription(
            QStringLiteral(u"La imagen elegida en la lista; una imagen GIF animada se mueve."));
    }

    // Over the previews, so a tall picture never hides the words.
    auto *description = new QLabel(QString::fromUtf16(layout.description), this);
    description->setObjectName(QString::fromLatin1(layout.descriptionName));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setGeometry(224, layout.descriptionTop, 233, 33);

    if (layout.addressLabelName) {
        auto *addressLabel =
            new QLabel(QStringLiteral(u"Dirección a enlazar al pulsar sobre la imagen:"), this);
        addressLabel->setObjectName(QString::fromLatin1(layout.addressLabelName));
        addressLabel->move(224, 126);
        addressLabel->adjustSize();
        txtImagen = WizardStyle::lineEdit(this, named("txtImagen", number), FieldLimits::txtImagen);
        txtImagen->setGeometry(224, 142, 233, 20);
        setTabOrder(lstImagen, txtImagen);
    }

    WizardStyle::colourCaption(this, WizardStyle::kMaroon);
    hide();
}

void PictureSlot::addSketch()
{
    for (const Shape &shape : layoutOf(m_number).sketch) {
        auto *rectangle = new QFrame(this);
        rectangle->setObjectName(named("Shape", shape.number));
        rectangle->setFrameStyle(QFrame::Box | QFrame::Plain);
        rectangle->setLineWidth(1);
        rectangle->setAutoFillBackground(true);
        QPalette colours = rectangle->palette();
        colours.setColor(QPalette::Window, shape.fill);
        colours.setColor(QPalette::WindowText, Qt::black);
        rectangle->setPalette(colours);
        rectangle->setGeometry(shape.place);
    }
}

void PictureSlot::open()
{
    lblDir->setText(QDir::toNativeSeparators(m_startupFolder));
    lstImagen->setFolder(m_startupFolder);
}

struct PictureSlot::StillPicture {
    StillPreview::Decoded decoded;
    PhotoFacts facts;
};

void PictureSlot::pick()
{
    ++m_allPicks;
    const QString path = lstImagen->selectedPath();
    if (!path.isEmpty() && PictureFormats::needsWebCopy(path)) {
        readForCopy(path);
        return;
    }
    dropRead();
    imgJPG->hide();
    RXGIF->hide();
    lblNombreImagen->setText(QFileInfo(path).fileName());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("GIF"), Qt::CaseInsensitive) != 0) {
        readStill(path);
        return;
    }
    // A damaged picture keeps its name chosen, shows no preview, and its
    // decoder's message goes to the general error box.
    try {
        RXGIF->load(path);
        RXGIF->show();
    } catch (const ProgramError &error) {
        BrenzoApplication::reportGeneralError(error.text());
    }
}

void PictureSlot::readStill(const QString &path)
{
    // A large photo takes a while to decode, a crafted file longer: the
    // window answers meanwhile, and the user may pick again.
    const quint64 pick = m_picks;
    const bool offer = !m_restoring;
    m_reading = true;
    imgJPG->showReading();
    imgJPG->show();
    setCursor(Qt::BusyCursor);
    auto *watcher = new QFutureWatcher<StillPicture>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [=, this] {
        watcher->deleteLater();
        if (pick == m_picks)
            showStill(path, watcher->result(), offer);
    });
    watcher->setFuture(QtConcurrent::run([path, box = imgJPG->size(), offer] {
        StillPicture read{StillPreview::decode(path, box), {}};
        if (offer && !read.decoded.image.isNull())
            read.facts = PhotoFacts::read(path);
        return read;
    }));
}

void PictureSlot::readForCopy(const QString &path)
{
    // Only the header and the metadata: the picture itself is decoded once,
    // for its copy.
    const quint64 pick = m_allPicks;
    auto *watcher = new QFutureWatcher<PhotoFacts>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [=, this] {
        watcher->deleteLater();
        if (pick == m_allPicks)
            emit copyNeeded(path, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&PhotoFacts::read, path));
}

void PictureSlot::showStill(const QString &path, const StillPicture &read, bool offer)
{
    m_reading = false;
    unsetCursor();
    try {
        imgJPG->present(read.decoded);
    } catch (const ProgramError &error) {
        imgJPG->hide();
        BrenzoApplication::reportGeneralError(error.text());
        emit stillRead();
        return;
    }
    emit stillRead();
    if (offer)
        emit photoPicked(path, read.facts);
}

void PictureSlot::dropRead()
{
    ++m_picks;
    if (!m_reading)
        return;
    m_reading = false;
    imgJPG->hide();
    unsetCursor();
}

void PictureSlot::clear()
{
    dropRead();
    hide();
    lblNombreImagen->clear();
    if (txtImagen)
        txtImagen->clear();
    if (lstImagen->hasBeenRead())
        lstImagen->reread();
}

void PictureSlot::restore(const QString &name, const QString &address)
{
    bool chosen = false;
    // Work saved by hand may name a picture the page cannot show.
    if (!name.isEmpty() && !PictureFormats::needsWebCopy(name)) {
        open();
        m_restoring = true;
        chosen = lstImagen->pickName(name);
        m_restoring = false;
    }
    if (!chosen) {
        clear();
        imgJPG->hide();
        RXGIF->hide();
    }
    if (txtImagen)
        txtImagen->setText(address);
}

QString PictureSlot::chosenName() const
{
    return lblNombreImagen->text();
}

void PictureSlot::replacePick(const QString &original, const QString &replacement)
{
    if (lstImagen->selectedPath() == original)
        lstImagen->pickName(QFileInfo(replacement).fileName());
}

void PictureSlot::dropPick(const QString &original)
{
    if (lstImagen->selectedPath() == original)
        lstImagen->selectQuietly(chosenName());
}

QString PictureSlot::address() const
{
    return txtImagen ? txtImagen->text() : QString();
}

void PictureSlot::refreshList()
{
    if (lstImagen->hasBeenRead())
        lstImagen->refresh();
}

bool PictureSlot::pickName(const QString &name)
{
    return lstImagen->pickName(name);
}
