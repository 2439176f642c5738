// SPDX-License-Identifier: GPL-3.0-or-later
// Soak: many upload runs in a row through one publishing window, as in one
// long session of the program, each against a scripted server that answers
// one step badly, the fault drawn at random from a seeded generator. Every run
// must end with the right boxes and the inputs enabled again; resident memory
// and the number of open descriptors must not grow with the runs.
//
//   bench_soak [RUNS] [SEED]

#include "bench/BenchPrompts.h"
#include "bench/ProcStatus.h"
#include "publish/TfrmEnviar.h"
#include "tests/publish/PublishTexts.h"
#include "tests/publish/ftp/ScriptedFtpServer.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

using namespace PublishTexts;

// One fault of the publishing tests, and how the run must end.
struct Fault {
    Fault(const char *name, QStringList rules, QString folder, QStringList files,
          QStringList messages, QByteArray cancelAt = {}, bool stallData = false)
        : name(name), rules(std::move(rules)), folder(std::move(folder)), files(std::move(files)),
          messages(std::move(messages)), cancelAt(std::move(cancelAt)), stallData(stallData)
    {
    }

    const char *name;
    QStringList rules;    // as ScriptedFtpServer::addRules; "FINAL=…" for the 1st transfer
    QString folder;       // typed in txtRemoto
    QStringList files;    // the list of files to publish
    QStringList messages; // the boxes, in order
    QByteArray cancelAt;  // press Cancelar once this command has arrived
    bool stallData;       // the server stops reading the data connection
};

QList<Fault> faults()
{
    const QStringList page = {QStringLiteral("pagina.htm")};
    const QStringList three = {QStringLiteral("pagina.htm"), QStringLiteral("fondo_cielo.jpg"),
                               QStringLiteral("sonido.mid")};
    const QStringList both = {CannotConnect, CannotLogIn};
    return {
        {"success", {}, QStringLiteral("/site"), three, {Published}},
        {"USER answered 230", {"USER=230 Adelante"}, {}, page, {Published}},
        {"SYST answered 500", {"SYST=500 No entiendo"}, {}, page, {Published}},
        {"multi-line replies",
         {"GREETING=220-Bienvenido\\n230 esto no acaba\\n220 Listo",
          "USER=331-Hola\\n331 Su clave"},
         {},
         page,
         {Published}},
        {"227 naming another address", {}, {}, page, {Published}},
        {"wrong password", {"PASS=530 Login incorrect"}, {}, page, both},
        {"greeting refused", {"GREETING=421 Demasiados usuarios"}, {}, page, both},
        {"TYPE refused", {"TYPE=504 No"}, {}, page, both},
        {"SYST answered 502", {"SYST=502 No"}, {}, page, both},
        {"closed after USER", {"USER:close"}, {}, page, both},
        {"reply line of 20000 characters", {"USER=331 " + QString(20000, u'x')}, {}, page, both},
        {"CWD refused", {"CWD=550 No existe"}, QStringLiteral("/site"), page, {CannotChangeFolder}},
        {"PASV refused", {"PASV=425 No"}, {}, page, {cannotSend("pagina.htm")}},
        {"227 unreadable",
         {"PASV=227 Entering Passive Mode (1,2)"},
         {},
         page,
         {cannotSend("pagina.htm")}},
        {"second STOR refused",
         {"STOR#2=553 No permitido"},
         {},
         three,
         {cannotSend("fondo_cielo.jpg")}},
        {"closed after STOR", {"STOR:close"}, {}, page, {cannotSend("pagina.htm")}},
        {"426 then 226", {"FINAL=426 Cortada\r\n226 Hecho"}, {}, page, {cannotSend("pagina.htm")}},
        {"450 then 226", {"FINAL=450 Ocupado\r\n226 Hecho"}, {}, page, {cannotSend("pagina.htm")}},
        {"missing file in the middle",
         {},
         {},
         {"pagina.htm", "falta.gif", "sonido.mid"},
         {cannotSend("falta.gif")}},
        {"cancel: password never answered",
         {"PASS:stall"},
         {},
         page,
         {Cancelled, CannotConnect, CannotLogIn},
         "PASS"},
        {"cancel: folder never answered",
         {"CWD:stall"},
         QStringLiteral("/site"),
         page,
         {Cancelled, CannotChangeFolder},
         "CWD"},
        {"cancel: slow transfer",
         {},
         {},
         {"grande.bin"},
         {Cancelled, cannotSend("grande.bin")},
         "STOR",
         true},
    };
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const quint32 seed = argc > 2 ? quint32(std::atoll(argv[2])) : 6;

    QTemporaryDir folder;
    const QMap<QString, QByteArray> content = {
        {QStringLiteral("pagina.htm"), "<HTML>\r\n<BODY>\r\nPe\xf1"
                                       "a\r\n</BODY>\r\n</HTML>\r\n"},
        {QStringLiteral("fondo_cielo.jpg"), randomBytes(300 * 1024 + 7, 1)},
        {QStringLiteral("sonido.mid"), randomBytes(1000, 2)},
        {QStringLiteral("grande.bin"), randomBytes(32 * 1024 * 1024, 3)},
    };
    for (auto it = content.cbegin(); it != content.cend(); ++it) {
        QFile file(folder.filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            qFatal("cannot write %s", qPrintable(it.key()));
    }

    BenchPrompts prompts;
    QStringList shown;
    TfrmEnviar window(prompts);
    auto child = [&window](const char *name) {
        return window.findChild<QWidget *>(QLatin1String(name));
    };
    const QList<Fault> list = faults();
    QRandomGenerator random(seed);
    QMap<QString, int> drawn;
    qint64 firstRss = 0, peakRss = 0;
    qsizetype firstFds = 0, maxFds = 0;
    int failures = 0;
    QElapsedTimer clock;
    clock.start();

    for (int run = 1; run <= runs; ++run) {
        const Fault &fault = list[random.bounded(int(list.size()))];
        drawn[QLatin1String(fault.name)] += 1;
        QStringList messages;
        bool cancelled = false;
        {
            ScriptedFtpServer server;
            server.listen();
            QStringList rules;
            for (QString rule : fault.rules) {
                if (rule.startsWith(QLatin1String("FINAL="))) {
                    server.finalReplies.insert(1, rule.mid(6).toLatin1());
                    continue;
                }
                rules.append(rule);
            }
            if (fault.name == QByteArray("227 naming another address"))
                server.passiveHost = "10,255,0,1";
            server.addRules(rules);
            server.stallData = fault.stallData;
            window.setUpload(folder.path(), fault.files);
            if (!window.isVisible())
                window.show();
            qobject_cast<QLineEdit *>(child("txtServer"))
                ->setText(QStringLiteral("127.0.0.1:%1").arg(server.port()));
            qobject_cast<QLineEdit *>(child("txtUSer"))->setText(QStringLiteral("ana"));
            qobject_cast<QLineEdit *>(child("txtPassword"))->setText(QStringLiteral("secreto"));
            qobject_cast<QComboBox *>(child("txtRemoto"))->setEditText(fault.folder);
            prompts.onMessage = [&](const QString &text) { messages.append(text); };
            if (!fault.cancelAt.isEmpty()) {
                QObject::connect(&server, &ScriptedFtpServer::commandReceived, &window,
                                 [&](const QByteArray &line) {
                                     if (cancelled || !line.startsWith(fault.cancelAt))
                                         return;
                                     cancelled = true;
                                     // Once the transfer is under way, as the user would.
                                     QTimer::singleShot(fault.stallData ? 200 : 0, &window, [&] {
                                         qobject_cast<QPushButton *>(child("BitBtn2"))->click();
                                     });
                                 });
            }

            qobject_cast<QPushButton *>(child("btnPublica"))->click();
            const bool ended = waitUntil(
                [&] {
                    return child("btnPublica")->isEnabled() &&
                           messages.size() >= fault.messages.size();
                },
                20000);
            // Anything shown after the expected boxes is wrong too.
            waitUntil([] { return false; }, 20);

            const bool closes =
                fault.messages.value(0) == Published || fault.messages.value(0) == Cancelled;
            QStringList wrong;
            if (!ended)
                wrong << QStringLiteral("the run did not end");
            if (messages != fault.messages)
                wrong << QStringLiteral("boxes: ") + messages.join(QStringLiteral(" | "));
            for (const char *name :
                 {"txtServer", "txtUSer", "txtPassword", "txtRemoto", "btnPublica"})
                if (!child(name)->isEnabled())
                    wrong << QStringLiteral("%1 disabled").arg(QLatin1String(name));
            if (window.isVisible() == closes)
                wrong << QStringLiteral("window %1").arg(closes ? "still open" : "closed");
            if (!qobject_cast<QLabel *>(child("lblEstado"))->text().isEmpty())
                wrong << QStringLiteral("status line not empty");
            if (fault.messages.value(0) == Published) {
                for (const QString &name : fault.files)
                    if (server.files.value(name) != content.value(name))
                        wrong << QStringLiteral("%1 differs on the server").arg(name);
            }
            if (!wrong.isEmpty()) {
                ++failures;
                std::printf("run %d (%s): %s\n", run, fault.name,
                            qPrintable(wrong.join(QStringLiteral("; "))));
            }
            // Whatever the run left open is closed before the next, as when
            // the user closes the window.
            if (window.isVisible())
                window.close();
            waitUntil([&] { return !window.isVisible(); }, 5000);
        }
        // Sockets closed by the server's end are released on the next turns.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const qint64 rss = residentKiB();
        const qsizetype fds = openDescriptors();
        if (run == 1) {
            firstRss = rss;
            firstFds = fds;
        }
        peakRss = std::max(peakRss, rss);
        maxFds = std::max(maxFds, fds);
        if (run == 1 || run % 25 == 0 || run == runs)
            std::printf("after run %3d: resident %lld KiB, open descriptors %lld\n", run,
                        static_cast<long long>(rss), static_cast<long long>(fds));
        std::fflush(stdout);
    }

    std::printf("faults drawn (seed %u):", seed);
    for (auto it = drawn.cbegin(); it != drawn.cend(); ++it)
        std::printf(" %s ×%d;", qPrintable(it.key()), it.value());
    std::printf("\n%d runs in %.1f s, %d wrong; resident first %lld KiB, last %lld KiB, highest "
                "%lld KiB; descriptors first %lld, last %lld, highest %lld\n",
                runs, clock.elapsed() / 1000.0, failures, static_cast<long long>(firstRss),
                static_cast<long long>(residentKiB()), static_cast<long long>(peakRss),
                static_cast<long long>(firstFds), static_cast<long long>(openDescriptors()),
                static_cast<long long>(maxFds));
    return failures == 0 ? 0 : 1;
}
