// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of every wizard page for the documentation: the welcome page,
// titles, a colour combination, a sound chosen, an imported text, each
// picture slot with its preview, the scrolling text on its way across the
// strip, links, e-mail and the finish page after the page was written; then
// the publishing window, the other-programs window and the help's contents.

#include "app/ProgramWindows.h"
#include "prompts/HelpWindow.h"
#include "publish/StatusLine.h"
#include "tests/support/RecordingPrompts.h"
#include "ui/BrenzoApplication.h"
#include "wizard/FileList.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

void copyFiles(const QDir &from, const QDir &to)
{
    for (const QString &name : from.entryList(QDir::Files))
        QFile::copy(from.filePath(name), to.filePath(name));
}

// Lets the window paint, the movies play and the strip move.
void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename T = QWidget> T *control(TfrmWeb &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found) {
        // The control may lie on a page not built yet.
        window.buildAllPages();
        found = window.findChild<T *>(name);
    }
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

void press(TfrmWeb &window, const QString &button)
{
    control<QAbstractButton>(window, button)->click();
}

void choose(TfrmWeb &window, const QString &list, const QString &name)
{
    auto *files = control<FileList>(window, list);
    const QList<QListWidgetItem *> found = files->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        qFatal("no file %s in %s", qPrintable(name), qPrintable(list));
    files->setCurrentItem(found.first());
    files->scrollToItem(found.first());
}

void goTo(TfrmWeb &window, int page)
{
    while (window.pageIndex() < page)
        window.btnSiguienteClick();
    while (window.pageIndex() > page)
        window.btnAnteriorClick();
}

bool save(QWidget &window, const QDir &folder, const QString &name)
{
    wait(400);
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QDir output(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SCREENSHOTS_DIR));
    if (!QDir().mkpath(output.path()))
        return 1;

    QTemporaryDir startup;
    copyFiles(QDir(QStringLiteral(MEDIA_DIR)), QDir(startup.path()));
    copyFiles(QDir(QStringLiteral(MEDIA_DIR "/samples")), QDir(startup.path()));
    QDir::setCurrent(startup.path());

    RecordingPrompts prompts;
    app.setPrompts(&prompts);
    auto windows = std::make_unique<ProgramWindows>(prompts);
    TfrmWeb &window = windows->frmWeb;
    window.show();
    wait(200);

    bool saved = true;
    saved &= save(window, output, QStringLiteral("p0_bienvenida.png"));
    goTo(window, 1);
    control<QLineEdit>(window, QStringLiteral("txtTitol"))
        ->setText(QStringLiteral(u"La página de Lucía"));
    control<QLineEdit>(window, QStringLiteral("txtSubTitol1"))
        ->setText(QStringLiteral(u"Fotos, música y amigos"));
    press(window, QStringLiteral("chkMarco"));
    saved &= save(window, output, QStringLiteral("p1_titulos.png"));
    goTo(window, 2);
    press(window, QStringLiteral("optNoche"));
    saved &= save(window, output, QStringLiteral("p2_colores.png"));

    goTo(window, 3);
    choose(window, QStringLiteral("FileListBox1"), QStringLiteral("campanas.wav"));
    saved &= save(window, output, QStringLiteral("p3_sonido.png"));

    goTo(window, 4);
    prompts.fileNames.enqueue(QDir(startup.path()).filePath(QStringLiteral("texto_ejemplo.txt")));
    press(window, QStringLiteral("btnImporta"));
    press(window, QStringLiteral("chkNegrita"));
    saved &= save(window, output, QStringLiteral("p4_texto.png"));

    goTo(window, 5);
    press(window, QStringLiteral("btnImagen1"));
    choose(window, QStringLiteral("lstImagen1"), QStringLiteral("foto_playa.jpg"));
    control<QLineEdit>(window, QStringLiteral("txtImagen1"))
        ->setText(QStringLiteral("http://www.lucia.example/"));
    saved &= save(window, output, QStringLiteral("p5_imagen1.png"));
    press(window, QStringLiteral("btnImagen2"));
    choose(window, QStringLiteral("lstImagen2"), QStringLiteral("retrato.jpg"));
    saved &= save(window, output, QStringLiteral("p5_imagen2.png"));
    press(window, QStringLiteral("btnImagen3"));
    choose(window, QStringLiteral("lstImagen3"), QStringLiteral("estrella.gif"));
    saved &= save(window, output, QStringLiteral("p5_imagen3.png"));

    goTo(window, 6);
    control<QLineEdit>(window, QStringLiteral("TextoScroll"))
        ->setText(QStringLiteral(u"¡Bienvenidos a mi página!"));
    // About four seconds of the strip: the text is well into it.
    wait(3600);
    saved &= save(window, output, QStringLiteral("p6_desplazamiento.png"));

    goTo(window, 7);
    control<QTableWidget>(window, QStringLiteral("GridEnlaces"))
        ->item(1, 0)
        ->setText(QStringLiteral("http://www.museodelprado.example/"));
    control<QTableWidget>(window, QStringLiteral("GridEnlaces"))
        ->item(1, 1)
        ->setText(QStringLiteral("Museo del Prado"));
    saved &= save(window, output, QStringLiteral("p7_enlaces.png"));

    goTo(window, 8);
    control<QLineEdit>(window, QStringLiteral("txtEmail"))
        ->setText(QStringLiteral("lucia@correo.example"));
    saved &= save(window, output, QStringLiteral("p8_email.png"));

    goTo(window, 9);
    saved &= save(window, output, QStringLiteral("p9_final.png"));

    windows->frmEnviar.setUpload(window.startupFolder(), window.publishFiles());
    windows->frmEnviar.show();
    saved &= save(windows->frmEnviar, output, QStringLiteral("publicar.png"));
    windows->frmEnviar.hide();
    windows->frmOtros.show();
    saved &= save(windows->frmOtros, output, QStringLiteral("otros_programas.png"));
    windows->frmOtros.hide();
    HelpWindow *help = HelpWindow::showFor(&window, window.helpFile(), 0);
    saved &= save(*help, output, QStringLiteral("ayuda.png"));
    help->close();

    // The next start in the same folder offers the work again. The first
    // window finishes its saves as it goes.
    window.hide();
    windows.reset();
    TfrmWeb again(prompts);
    again.show();
    wait(200);
    saved &= save(again, output, QStringLiteral("p0_recuperado.png"));

    // The publishing window part-way through a run: the status line's bar
    // fills behind its text.
    TfrmEnviar publishing(prompts);
    publishing.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("ftp.lucia.example"));
    publishing.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->setText(QStringLiteral("lucia"));
    publishing.findChild<QLineEdit *>(QStringLiteral("txtPassword"))
        ->setText(QStringLiteral("secreto"));
    publishing.findChild<QComboBox *>(QStringLiteral("txtRemoto"))
        ->setEditText(QStringLiteral("/public_html"));
    publishing.SetInputsEnabled(false);
    publishing.show();
    auto *status = publishing.findChild<StatusLine *>(QStringLiteral("lblEstado"));
    status->setText(QStringLiteral("Enviando el archivo: fondo_cielo.jpg ..."));
    status->setProgress(62, 100);
    saved &= save(publishing, output, QStringLiteral("publicar_progreso.png"));

    if (!prompts.calls.isEmpty() && !prompts.messageTexts().isEmpty()) {
        std::fprintf(stderr, "unexpected message: %s\n",
                     qPrintable(prompts.messageTexts().first()));
        saved = false;
    }
    QDir::setCurrent(QDir::tempPath());
    return saved ? 0 : 1;
}
