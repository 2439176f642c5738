// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/TfrmEnviar.h"

#include "page/TextRules.h"
#include "prompts/UserPrompts.h"
#include "publish/LiveCheckMessages.h"
#include "publish/PublishSettings.h"
#include "publish/RunEndMessages.h"
#include "publish/StatusLine.h"
#include "publish/TrustQuestion.h"
#include "ui/AccessibleNames.h"
#include "ui/Artwork.h"
#include "ui/LinkLabel.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>

namespace {

constexpr int ButtonHelpTopic = 14;
constexpr int WindowHelpTopic = 15;

// The home page of the FTP program the window recommends for deleting pages.
const QString FtpProgramHomePage = QStringLiteral("https://www.tralmo.example/");

// The layout is drawn in pixels, so the fonts are given in pixels too: the
// texts then fit their boxes whatever the screen's dots per inch.
QFont arial(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

template <typename Widget>
Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Single-line labels grow to show their whole text, as the window's labels
// always did; the font on this machine may be a little wider than planned.
void fitText(QLabel *label)
{
    label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
}

QPushButton *pictureButton(QWidget *parent, const QString &text, const QString &picture)
{
    auto *button = new QPushButton(artworkIcon(picture), text, parent);
    button->setIconSize(QSize(16, 16));
    // No button answers Enter.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TfrmEnviar::TfrmEnviar(UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_job(m_keeper)
{
    createControls();

    connect(&m_job, &PublishJob::statusChanged, this, &TfrmEnviar::setStatus);
    connect(&m_job, &PublishJob::progress, this,
            [this](qint64 sent, qint64 total) { m_lblEstado->setProgress(sent, total); });
    connect(&m_job, &PublishJob::question, this, &TfrmEnviar::askTrust);
    connect(&m_job, &PublishJob::pageChecked, this,
            [this](const LiveCheck::Report &report) { m_checked = report; });
    connect(&m_job, &PublishJob::finished, this, &TfrmEnviar::onRunFinished);
    connect(&m_keeper, &SettingsKeeper::settingsSaved, this, &TfrmEnviar::settingsSaved);
    connect(&m_keeper, &SettingsKeeper::passwordNotKept, this, &TfrmEnviar::warnPasswordNotKept);

    FormCreate();
}

void TfrmEnviar::createControls()
{
    setObjectName(QStringLiteral("frmEnviar"));
    setWindowTitle(QStringLiteral("Brenzo - Publicación Página Web"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(489, 342);
    setFont(arial(11));

    auto *panel = place(new QFrame(this), "Panel1", 0, 0, 121, 342);
    panel->setAutoFillBackground(true);
    QPalette teal = panel->palette();
    teal.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    panel->setPalette(teal);
    auto *image = place(new QLabel(panel), "Image1", 0, 0, 121, 342);
    image->setPixmap(artwork(QStringLiteral(":/publish/art/panel_enviar.png")));
    image->setScaledContents(true);

    auto *title = place(new QLabel(QStringLiteral("PUBLICACIÓN PÁGINA WEB"), this), "Label5", 136,
                        4, 200, 18);
    title->setFont(arial(15, true));
    fitText(title);
    auto *instruction = place(
        new QLabel(QStringLiteral("Si su servidor admite publicar páginas web mediante FTP, "
                                  "siguiendo las instrucciones de configuración que proporciona su "
                                  "servidor, introduzca los datos y pulse \"Publicar página web\""),
                   this),
        "Label6", 136, 24, 346, 42);
    instruction->setWordWrap(true);
    instruction->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const char *labelNames[] = {"Label1", "Label2", "Label3", "Label4"};
    const QString labelTexts[] = {QStringLiteral("Servidor FTP"), QStringLiteral("Usuario"),
                                  QStringLiteral("Contraseña"),
                                  QStringLiteral("Directorio Remoto")};
    for (int i = 0; i < 4; ++i) {
        auto *label =
            place(new QLabel(labelTexts[i], this), labelNames[i], 136, 88 + 24 * i, 110, 22);
        label->setFont(arial(11, true));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fitText(label);
    }

    m_txtServer = place(new QLineEdit(this), "txtServer", 248, 88, 233, 22);
    m_txtUSer = place(new QLineEdit(this), "txtUSer", 248, 112, 233, 22);
    m_txtPassword = place(new QLineEdit(this), "txtPassword", 248, 136, 233, 22);
    m_txtPassword->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the style would draw.
    m_txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_txtRemoto = place(new QComboBox(this), "txtRemoto", 248, 160, 233, 22);
    m_txtRemoto->setEditable(true);
    // Enter must not add the typed folder to the list.
    m_txtRemoto->setInsertPolicy(QComboBox::NoInsert);
    m_txtRemoto->addItems({QString(), QStringLiteral("/public_html"), QStringLiteral("/htdocs"),
                           QStringLiteral("/webusr")});
    auto *connectionLabel =
        place(new QLabel(QStringLiteral("Conexión"), this), "lblConexion", 136, 184, 110, 22);
    connectionLabel->setFont(arial(11, true));
    connectionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitText(connectionLabel);
    // In the order of PublishSettings::Connection.
    m_cmbConexion = place(new QComboBox(this), "cmbConexion", 248, 184, 233, 22);
    m_cmbConexion->addItems({QStringLiteral("FTP"), QStringLiteral("FTPS (FTP con TLS)"),
                             QStringLiteral("SFTP (SSH)")});
    // The address visitors type, longer than the other texts: a row of its
    // own under its label.
    auto *addressLabel = place(new QLabel(QStringLiteral("Dirección de su página"), this),
                               "lblDireccion", 136, 210, 200, 18);
    addressLabel->setFont(arial(11, true));
    addressLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitText(addressLabel);
    m_txtDireccion = place(new QLineEdit(this), "txtDireccion", 136, 230, 345, 22);
    m_txtDireccion->setPlaceholderText(QStringLiteral("https://www.ejemplo.es/"));
    addressLabel->setBuddy(m_txtDireccion);

    m_btnPublica = place(pictureButton(this, QStringLiteral("Publicar Web"),
                                       QStringLiteral(":/publish/art/btn_publicar.png")),
                         "btnPublica", 136, 264, 161, 25);
    auto *cancel = place(pictureButton(this, QStringLiteral("Cancelar"),
                                       QStringLiteral(":/publish/art/btn_cancelar.png")),
                         "BitBtn2", 304, 264, 89, 25);
    auto *help = place(pictureButton(this, QStringLiteral("&Ayuda"),
                                     QStringLiteral(":/publish/art/btn_ayuda.png")),
                       "BitBtn1", 400, 264, 81, 25);
    connect(m_btnPublica, &QPushButton::clicked, this, &TfrmEnviar::btnPublicaClick);
    connect(cancel, &QPushButton::clicked, this, &TfrmEnviar::BitBtn2Click);
    connect(help, &QPushButton::clicked, this, &TfrmEnviar::BitBtn1Click);

    m_lblEstado = place(new StatusLine(this), "lblEstado", 136, 296, 345, 18);
    m_lblEstado->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblEstado->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStatus(QStringLiteral("No Conectado"));

    auto *link = place(new LinkLabel(QStringLiteral("Para borrar su página, le recomendamos "
                                                    "el programa Tralmo"),
                                     this),
                       "Label7", 152, 320, 302, 14);
    QFont linkFont = arial(11);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    fitText(link);
    connect(link, &LinkLabel::clicked, this, &TfrmEnviar::Label7Click);

    QWidget::setTabOrder(m_txtServer, m_txtUSer);
    QWidget::setTabOrder(m_txtUSer, m_txtPassword);
    QWidget::setTabOrder(m_txtPassword, m_txtRemoto);
    QWidget::setTabOrder(m_txtRemoto, m_cmbConexion);
    QWidget::setTabOrder(m_cmbConexion, m_txtDireccion);
    QWidget::setTabOrder(m_txtDireccion, m_btnPublica);
    QWidget::setTabOrder(m_btnPublica, cancel);
    QWidget::setTabOrder(cancel, help);
    AccessibleNames::nameControls(this);

    auto *windowHelp = new QShortcut(QKeySequence::HelpContents, this);
    connect(windowHelp, &QShortcut::activated, this,
            [this] { m_prompts.showHelp(this, WindowHelpTopic); });
}

void TfrmEnviar::setUpload(const QString &startupFolder, const QStringList &files)
{
    m_job.setUpload(startupFolder, files);
}

void TfrmEnviar::FormCreate()
{
    const PublishSettings settings = PublishSettings::load();
    m_txtServer->setText(settings.server);
    m_txtUSer->setText(settings.user);
    m_txtRemoto->setEditText(settings.folder);
    m_cmbConexion->setCurrentIndex(int(settings.connection));
    m_txtDireccion->setText(settings.address);
    // The password comes from its store when the window is first shown.
}

void TfrmEnviar::SaveSettings()
{
    const PublishSettings settings{trimmedText(m_txtServer->text()),
                                   trimmedText(m_txtUSer->text()),
                                   trimmedText(m_txtPassword->text()),
                                   trimmedText(m_txtRemoto->currentText()),
                                   connection(),
                                   trimmedText(m_txtDireccion->text())};
    m_keeper.save(settings);
}

PublishSettings::Connection TfrmEnviar::connection() const
{
    return PublishSettings::Connection(m_cmbConexion->currentIndex());
}

void TfrmEnviar::SetInputsEnabled(bool enabled)
{
    m_txtServer->setEnabled(enabled);
    m_txtUSer->setEnabled(enabled);
    m_txtPassword->setEnabled(enabled);
    m_txtRemoto->setEnabled(enabled);
    m_cmbConexion->setEnabled(enabled);
    m_txtDireccion->setEnabled(enabled);
    m_btnPublica->setEnabled(enabled);
}

void TfrmEnviar::CloseConnection()
{
    setStatus(QStringLiteral("Desconectando...Espere..."));
    m_job.cancel(); // "No conectado" meanwhile when a connection was up
    setStatus(QString());
}

void TfrmEnviar::FormClose()
{
    CloseConnection();
}

void TfrmEnviar::done(int result)
{
    // Whatever asks to close the window during a run (the title-bar button,
    // Cancelar) closes it once the run has ended and said how.
    if (m_job.isRunning()) {
        if (m_afterRun == AfterRun::Stay)
            m_afterRun = AfterRun::Close;
        return;
    }
    m_afterRun = AfterRun::Stay;
    FormClose();
    QDialog::done(result);
}

void TfrmEnviar::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close this window.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEnviar::showEvent(QShowEvent *event)
{
    // Centred on the screen, not on the wizard.
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    // A keyring may take its time to answer, or ask the user to unlock it:
    // the window does not wait, and the box is filled when the answer comes,
    // unless the user has typed a password meanwhile.
    m_keeper.readPasswordOnce([this](const QString &password) {
        if (!m_txtPassword->isModified() && m_txtPassword->text().isEmpty())
            m_txtPassword->setText(password);
        emit passwordRead();
    });
}

void TfrmEnviar::setStatus(const QString &text)
{
    // The bar belongs to the run: it goes when the line is emptied at the end.
    if (text.isEmpty())
        m_lblEstado->setProgress(0, 0);
    m_lblEstado->setText(text);
    emit statusChanged(text);
}

void TfrmEnviar::btnPublicaClick()
{
    if (m_job.isRunning())
        return;
    const QString server = trimmedText(m_txtServer->text());
    if (server.isEmpty()) {
        showPublishError(m_prompts, this, QStringLiteral("Debe indicar nombre del servidor FTP"));
        m_txtServer->setFocus();
        return;
    }
    const QString user = trimmedText(m_txtUSer->text());
    if (user.isEmpty()) {
        showPublishError(m_prompts, this, QStringLiteral("Debe indicar nombre de usuario"));
        m_txtUSer->setFocus();
        return;
    }
    const QString password = trimmedText(m_txtPassword->text());
    // By SFTP a key may log in instead: the password is tried only after it.
    if (password.isEmpty() && connection() != PublishSettings::Connection::Sftp) {
        showPublishError(m_prompts, this, QStringLiteral("Debe indicar su contraseña"));
        m_txtPassword->setFocus();
        return;
    }

    m_checked.reset();
    setStatus(QStringLiteral("Iniciando conexión con servidor FTP ..."));
    SetInputsEnabled(false);
    SaveSettings();

    // The folder is sent trimmed, as it is saved: no server has a folder
    // whose name starts with a blank, and none would find "/public_html"
    // under " /public_html". Nothing left of it: no folder change.
    const QString folder = trimmedText(m_txtRemoto->currentText());
    m_job.start(
        {server, user, password, folder, connection(), trimmedText(m_txtDireccion->text())});
}

void TfrmEnviar::BitBtn2Click()
{
    if (!m_job.isRunning()) {
        showCancelled(m_prompts, this);
        done(QDialog::Rejected);
        return;
    }
    // The run ends at once, failing at its step; the window then tells of
    // the cancel before it tells of that failure, and closes.
    m_afterRun = AfterRun::CancelledThenClose;
    m_job.cancel();
}

void TfrmEnviar::BitBtn1Click()
{
    m_prompts.showHelp(this, ButtonHelpTopic);
}

void TfrmEnviar::Label7Click()
{
    m_prompts.openUrl(this, QUrl(FtpProgramHomePage));
}

void TfrmEnviar::askTrust(const std::shared_ptr<TrustQuestion> &question)
{
    // Trusting a certificate that cannot be verified lowers the connection's
    // security: Enter does not do it.
    if (m_prompts.question(this, QStringLiteral("Brenzo"), question->text(), DefaultAnswer::No))
        question->accept();
    else
        question->reject();
}

void TfrmEnviar::warnPasswordNotKept()
{
    // Once: every publish tries again, and would say it again.
    if (std::exchange(m_passwordWarned, true))
        return;
    m_prompts.message(this, QStringLiteral("Brenzo"),
                      QStringLiteral("No se pudo guardar la contraseña en el llavero del sistema. "
                                     "Se volverá a intentar la próxima vez que publique."),
                      PromptIcon::Warning);
}

void TfrmEnviar::onRunFinished(PublishJob::Outcome outcome, const QString &entry,
                               const QString &reason)
{
    if (m_afterRun == AfterRun::CancelledThenClose)
        showCancelled(m_prompts, this);
    // A page that visitors see is said on the status line, behind the box
    // that says it was published; one they do not see, in a box after it.
    const std::optional<LiveCheck::Report> checked = std::exchange(m_checked, std::nullopt);
    const bool live = checked && checked->verdict == LiveCheck::Verdict::Live;
    if (live)
        setStatus(LiveCheckMessages::text(*checked));
    showRunEnd(m_prompts, this, outcome, entry, reason);
    if (checked && !live)
        m_prompts.message(this, QStringLiteral("Brenzo"), LiveCheckMessages::text(*checked),
                          PromptIcon::Warning, LiveCheckMessages::details(*checked));
    // Once the boxes that tell how the run ended are closed.
    switch (outcome) {
    case PublishJob::Outcome::Published:
        SetInputsEnabled(true);
        setStatus(QString());
        m_afterRun = AfterRun::Close;
        break;
    case PublishJob::Outcome::SecureRefused:
    case PublishJob::Outcome::LoginFailed:
    case PublishJob::Outcome::NotConnected:
        SetInputsEnabled(true);
        setStatus(QString());
        break;
    case PublishJob::Outcome::FolderFailed:
    case PublishJob::Outcome::FileFailed:
        CloseConnection();
        setStatus(QString());
        SetInputsEnabled(true);
        break;
    }
    if (m_afterRun != AfterRun::Stay)
        done(outcome == PublishJob::Outcome::Published ? QDialog::Accepted : QDialog::Rejected);
}
