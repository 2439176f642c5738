// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/FaultRig.h"

#include "publish/PublishSettings.h"
#include "publish/TrustMemory.h"
#include "publish/TrustQuestion.h"
#include "tests/publish/LighttpdServer.h"
#include "tests/publish/sftp/SshdServer.h"
#include "tests/publish/StopServer.h"
#include "tests/publish/ftp/VsftpdServer.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;
using Fault = FaultProxy::Fault;
using Link = FaultProxy::Link;
using Outcome = PublishJob::Outcome;

class MemoryTrust : public TrustMemory {
public:
    QString trusted(const QString &server) const override { return m_kept.value(server); }
    void remember(const QString &server, const QString &fingerprint) override
    {
        m_kept.insert(server, fingerprint);
    }
    QByteArray trustedHostKeys() const override { return m_hostKeys; }
    void rememberHostKeys(const QByteArray &knownHosts) override { m_hostKeys = knownHosts; }

private:
    QHash<QString, QString> m_kept;
    QByteArray m_hostKeys;
};

struct FaultRig::Web {
    QProcess lighttpd;
    quint16 port = 0;
    ~Web() { stopServer(lighttpd); }
};

struct FaultRig::Ending {
    bool ended = false;
    Outcome outcome = Outcome::Published;
    QString entry;
    QString reason;
    qint64 afterFault = -1; // ms from the fault to the end
    bool checked = false;
    LiveCheck::Verdict verdict = LiveCheck::Verdict::Live;
};

namespace {
const QHostAddress ProxyAddress(u"127.0.0.3"_s);
const QString Page = u"index.htm"_s;
// The page, the background and the sound, in the order the list has them.
const QStringList Files = {Page, u"fondo.jpg"_s, u"sonido.wav"_s};
const QHash<QString, int> Sizes = {
    {Page, 40'000}, {u"fondo.jpg"_s, 100'000}, {u"sonido.wav"_s, 150'000}};
constexpr int PassivePorts = 8;

int threadCount()
{
    return int(QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

bool runQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

// A run of ports free on both loopback addresses, for vsftpd's passive
// connections and the proxy in front of them.
QList<quint16> freePassivePorts()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        const quint16 base = quint16(30000 + (::getpid() * 7 + attempt * 97) % 30000);
        QList<quint16> ports;
        for (quint16 port = base; port < base + PassivePorts; ++port) {
            QTcpServer server, proxy;
            if (!server.listen(QHostAddress::LocalHost, port) || !proxy.listen(ProxyAddress, port))
                break;
            ports.append(port);
        }
        if (ports.size() == PassivePorts)
            return ports;
    }
    return {};
}
} // namespace

QString FaultCase::name() const
{
    return phaseName(phase) + u'/' + FaultProxy::faultName(fault) +
           (link == Link::Data ? u" (data)"_s : QString());
}

FaultRig::FaultRig(Way way) : m_way(way), m_trust(std::make_unique<MemoryTrust>())
{
    m_order = Files;
    if (way != Way::Ftp) // the page last
        m_order.append(m_order.takeFirst());
}

FaultRig::~FaultRig()
{
    m_proxy.dropAll();
    m_webProxy.dropAll();
}

QList<FaultCase> FaultRig::matrix(Way way)
{
    QList<Phase> control = {Phase::Connect, Phase::Greeting,     Phase::Login,
                            Phase::Folder,  Phase::FileStart,    Phase::FileMiddle,
                            Phase::FileEnd, Phase::BetweenFiles, Phase::Page};
    if (way != Way::Ftp)
        control.insert(2, Phase::Handshake);
    const QList<Fault> faults = {Fault::Reset, Fault::Close, Fault::Stall, Fault::Trickle};
    QList<FaultCase> cases;
    for (const Phase phase : control)
        for (const Fault fault : faults)
            cases.append({phase, fault});
    // The data connections carry nothing the program waits for: a trickle
    // there is only a delay.
    if (way != Way::Sftp) {
        for (const Phase phase : {Phase::FileStart, Phase::FileMiddle, Phase::FileEnd, Phase::Page})
            for (const Fault fault : {Fault::Reset, Fault::Close, Fault::Stall})
                cases.append({phase, fault, Link::Data});
    }
    if (way == Way::Ftp) { // the check is the same whichever way the files went
        for (const Fault fault : faults)
            cases.append({Phase::Check, fault});
    }
    return cases;
}

QString FaultRig::folder() const
{
    return m_sshd ? m_sshd->workFolder() + u"/sitio"_s : m_vsftpd->root() + u"/sitio"_s;
}

QByteArray FaultRig::content(const QString &name, bool fresh) const
{
    // Old and new differ in size and in every block, so that a cut new
    // file is never taken for the old one.
    const int size = Sizes.value(name) - (fresh ? 0 : 1000);
    QByteArray bytes;
    bytes.reserve(size);
    const QByteArray block = (fresh ? "nuevo " : "antiguo ") + name.toLatin1() + u'\n';
    while (bytes.size() < size)
        bytes += block;
    bytes.truncate(size);
    return bytes;
}

QString FaultRig::serverLog() const
{
    return m_sshd ? m_sshd->sftpLog() : m_vsftpd->log();
}

QString FaultRig::start()
{
    const QDir work(m_work.path());
    work.mkpath(u"inicio"_s);
    for (const QString &name : Files) {
        if (!writeFile(work.filePath(u"inicio/"_s + name), content(name, true)))
            return u"cannot write the files"_s;
    }
    qputenv("XDG_CONFIG_HOME", work.filePath(u"config"_s).toLocal8Bit());
    quint16 serverPort = 0;
    QList<quint16> dataPorts;
    if (m_way == Way::Sftp) {
        qputenv("HOME", m_work.path().toLocal8Bit());
        qunsetenv("SSH_AUTH_SOCK");
        m_sshd = std::make_unique<SshdServer>();
        // A cipher that leaves packet lengths readable, for the proxy.
        m_sshd->setExtraConfig(u"Ciphers aes128-gcm@openssh.com\n"_s);
        m_sshd->setSubsystem(u"/usr/lib/openssh/sftp-server -e -l VERBOSE 2>>"_s +
                             m_sshd->workFolder() + u"/sftp.log"_s);
        if (const QString why = m_sshd->start(); !why.isEmpty())
            return why;
        work.mkpath(u".ssh"_s);
        const QString key = work.filePath(u".ssh/id_ed25519"_s);
        SshdServer::run(u"ssh-keygen"_s,
                        {u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, {}, u"-f"_s, key});
        QFile pub(key + u".pub"_s);
        if (!pub.open(QIODevice::ReadOnly) || !writeFile(m_sshd->authorizedKeys(), pub.readAll()))
            return u"cannot make the key"_s;
        serverPort = m_sshd->port();
    } else {
        dataPorts = freePassivePorts();
        if (dataPorts.isEmpty())
            return u"no free passive ports"_s;
        QStringList config = {u"pasv_min_port=%1"_s.arg(dataPorts.first()),
                              u"pasv_max_port=%1"_s.arg(dataPorts.last())};
        if (m_way == Way::Ftps) {
            const QString pem = work.filePath(u"vsftpd.pem"_s);
            if (!runQuietly(u"openssl"_s, {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                                           "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2",
                                           "-subj", "/CN=localhost", "-keyout", pem, "-out", pem}))
                return u"openssl failed"_s;
            config += {"ssl_enable=YES",
                       "rsa_cert_file=" + pem,
                       "rsa_private_key_file=" + pem,
                       "force_local_logins_ssl=YES",
                       "force_local_data_ssl=YES",
                       "require_ssl_reuse=YES",
                       "ssl_ciphers=HIGH"};
        }
        m_vsftpd = std::make_unique<VsftpdServer>(config);
        if (const QString why = m_vsftpd->start(); !why.isEmpty())
            return why;
        serverPort = m_vsftpd->port();
        if (m_way == Way::Ftp) {
            m_web = std::make_unique<Web>();
            if (const QString why =
                    startLighttpd(m_web->lighttpd, m_vsftpd->workFolder(), false, m_web->port);
                !why.isEmpty())
                return why;
            if (!m_webProxy.listen(ProxyAddress, m_web->port))
                return u"the web proxy found no port"_s;
        }
    }
    QDir().mkpath(folder());
    if (m_vsftpd)
        runQuietly(u"chown"_s, {u"-R"_s, QLatin1String(VsftpdServer::User), folder()});
    if (!m_proxy.listen(ProxyAddress, serverPort, dataPorts))
        return u"the proxy found no port"_s;
    // A first run trusts the server; the threads it leaves are the idle ones.
    const Ending first = publish(m_way == Way::Ftp);
    if (!first.ended || first.outcome != Outcome::Published)
        return u"the first run failed: "_s + first.reason;
    m_threads = threadCount();
    return QString();
}

void FaultRig::takeIdleThreads()
{
    m_threads = threadCount();
}

void FaultRig::dropConnections()
{
    m_proxy.dropAll();
    m_webProxy.dropAll();
}

FaultRig::Ending FaultRig::publish(bool withAddress)
{
    PublishJob job(*m_trust);
    job.setLimits({SilenceMs, SilenceMs});
    job.setUpload(m_work.path() + u"/inicio"_s, Files);
    QObject::connect(&job, &PublishJob::question, &job,
                     [](const std::shared_ptr<TrustQuestion> &question) { question->accept(); });
    Ending ending;
    QObject::connect(&job, &PublishJob::pageChecked, &job, [&](const LiveCheck::Report &report) {
        ending.checked = true;
        ending.verdict = report.verdict;
    });
    QSignalSpy finished(&job, &PublishJob::finished);
    PublishSettings settings;
    settings.server = u"127.0.0.3:"_s + QString::number(m_proxy.port());
    settings.connection = m_way == Way::Sftp   ? PublishSettings::Connection::Sftp
                          : m_way == Way::Ftps ? PublishSettings::Connection::Ftps
                                               : PublishSettings::Connection::Ftp;
    settings.user = m_sshd ? (::geteuid() == 0 ? u"root"_s : qEnvironmentVariable("USER"))
                           : QLatin1String(VsftpdServer::User);
    settings.password = m_sshd ? QString() : QLatin1String(VsftpdServer::Password);
    settings.folder = m_sshd ? folder() : u"/sitio"_s;
    if (withAddress)
        settings.address = u"http://127.0.0.3:%1/sitio/"_s.arg(m_webProxy.port());
    job.start(settings);
    // Far beyond anything a run may take: a run still going then is wrong.
    if (!finished.wait(SilenceMs * 4 + 20000))
        return ending;
    ending.ended = true;
    ending.outcome = finished.at(0).at(0).value<Outcome>();
    ending.entry = finished.at(0).at(1).toString();
    ending.reason = finished.at(0).at(2).toString();
    const qint64 since = std::max(m_proxy.sinceInjected(), m_webProxy.sinceInjected());
    ending.afterFault = since;
    return ending;
}

namespace {
struct Expected {
    Outcome outcome;
    int entry = -1; // the place in the order of the file the box names
    // Also right: the run recovers and publishes everything.
    bool mayRecover = false;
    // Also right over plain FTP: an orderly close of the data connection
    // reads to the server as the end of the file, so it keeps the cut file
    // and says so; the program, whose bytes had all gone out, publishes.
    bool mayCut = false;
};

Expected expected(Way way, const FaultCase &c, int page)
{
    if (c.fault == Fault::Trickle || c.phase == Phase::Check)
        return {Outcome::Published};
    const bool dataClosed = c.link == Link::Data && c.fault == Fault::Close;
    switch (c.phase) {
    case Phase::Connect: // a connection reset as it is made is made again
        return {Outcome::LoginFailed, -1, c.fault == Fault::Reset};
    case Phase::Greeting:
    case Phase::Handshake:
    case Phase::Login:
        return {Outcome::LoginFailed};
    case Phase::Folder:
        return {Outcome::FolderFailed};
    case Phase::FileStart:
    case Phase::FileMiddle:
        return {Outcome::FileFailed, 1, false, dataClosed && way == Way::Ftp};
    case Phase::FileEnd: // every byte and the end are there: the server may well take it
        return {Outcome::FileFailed, 1, c.link == Link::Data && (dataClosed || way == Way::Ftps)};
    case Phase::BetweenFiles:
        return {Outcome::FileFailed, 2};
    case Phase::Page:
        return {Outcome::FileFailed, page, false, dataClosed && way == Way::Ftp};
    case Phase::Check:
        break;
    }
    return {Outcome::Published};
}

QString outcomeName(Outcome outcome)
{
    return QString::fromLatin1(QMetaEnum::fromType<Outcome>().valueToKey(int(outcome)));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}
} // namespace

FaultRig::Result FaultRig::run(const FaultCase &faultCase)
{
    Result result;
    QStringList &wrong = result.wrong;
    for (const QString &name : Files)
        writeFile(folder() + u'/' + name, content(name, false));
    if (m_vsftpd)
        runQuietly(u"chown"_s, {u"-R"_s, QLatin1String(VsftpdServer::User), folder()});
    QList<qint64> sizes;
    for (const QString &name : m_order)
        sizes.append(Sizes.value(name));
    const int page = int(m_order.indexOf(Page));
    auto reader = [&]() -> std::unique_ptr<PhaseReader> {
        if (m_way == Way::Sftp)
            return std::make_unique<SshPhases>(sizes, page);
        return std::make_unique<FtpPhases>(m_way == Way::Ftps, sizes, page);
    };
    const bool check = faultCase.phase == Phase::Check;
    m_proxy.arm(reader(), faultCase.phase, check ? Fault::None : faultCase.fault, faultCase.link);
    m_webProxy.arm(std::make_unique<HttpPhases>(), faultCase.phase,
                   check ? faultCase.fault : Fault::None, faultCase.link);
    const qsizetype logFrom = serverLog().size();

    const Ending ending = publish(check);
    const Expected want = expected(m_way, faultCase, page);
    if (!ending.ended) {
        result.seen = u"hung"_s;
        wrong << u"the run did not end"_s;
        return result;
    }
    result.seen = outcomeName(ending.outcome);
    if (!ending.entry.isEmpty())
        result.seen += u' ' + ending.entry;
    if (ending.checked)
        result.seen +=
            u' ' + QString::fromLatin1(
                       QMetaEnum::fromType<LiveCheck::Verdict>().valueToKey(int(ending.verdict)));
    if (!m_proxy.injected() && !m_webProxy.injected())
        wrong << u"the fault never went in"_s;
    const bool recovered = ending.outcome == Outcome::Published && (want.mayRecover || want.mayCut);
    if (!recovered && (ending.outcome != want.outcome || ending.entry != m_order.value(want.entry)))
        wrong << u"ended %1 %2 (%3), not %4 %5"_s.arg(outcomeName(ending.outcome), ending.entry,
                                                      ending.reason, outcomeName(want.outcome),
                                                      m_order.value(want.entry));
    if (ending.outcome != Outcome::Published && ending.reason.isEmpty())
        wrong << u"no reason to tell"_s;
    // A stall is told as the silence it is, with the limit in seconds.
    static const QRegularExpression silence(
        u"(dejó de responder durante|no respondió en) %1 s"_s.arg(
            QRegularExpression::escape(QString::number(SilenceMs / 1000.0))));
    if (faultCase.fault == Fault::Stall && ending.outcome != Outcome::Published &&
        !ending.reason.contains(silence))
        wrong << u"a stall told as \"%1\""_s.arg(ending.reason);
    if (check && ending.checked != true)
        wrong << u"the page was not checked"_s;
    // Qt asks again on a new connection for a request whose connection
    // was reset or closed before any answer: only a stall keeps the page unseen.
    if (check && (ending.verdict == LiveCheck::Verdict::Live) != (faultCase.fault != Fault::Stall))
        wrong << u"the check found the page %1"_s.arg(ending.checked ? result.seen : u"?"_s);
    // A run that fails does so within the limit; one that recovers goes on working.
    if (ending.outcome != Outcome::Published && ending.afterFault > SilenceMs + 1000)
        wrong << u"ended %1 ms after the fault"_s.arg(ending.afterFault);
    // The stalled connections go now, as a cut network's would once it came back.
    m_proxy.dropAll();
    m_webProxy.dropAll();
    // Over FTPS a broken data connection leaves the control connection
    // there to remove the temporary file, unless the server fell silent.
    const bool tidyable =
        m_way == Way::Ftps && faultCase.link == Link::Data && faultCase.fault != Fault::Stall;
    judgeServer(want.mayCut ? m_order.value(want.entry) : QString(), tidyable, ending, logFrom,
                wrong);

    const Ending again = publish(check);
    if (!again.ended || again.outcome != Outcome::Published)
        wrong << u"the next run ended %1: %2"_s.arg(outcomeName(again.outcome), again.reason);
    for (const QString &name : Files) {
        if (readAll(folder() + u'/' + name) != content(name, true))
            wrong << u"after the next run %1 is not new"_s.arg(name);
    }
    const QStringList left =
        QDir(folder()).entryList({u".*.brenzo-*"_s}, QDir::Files | QDir::Hidden);
    if (!left.isEmpty())
        wrong << u"left after the next run: "_s + left.join(u", "_s);
    if (!QTest::qWaitFor([this] { return threadCount() <= m_threads; }, SilenceMs + 1000))
        wrong << u"%1 threads, %2 when idle"_s.arg(threadCount()).arg(m_threads);
    return result;
}

void FaultRig::judgeServer(const QString &mayBeCut, bool tidyable, const Ending &ending,
                           qsizetype logFrom, QStringList &wrong) const
{
    const bool published = ending.outcome == Outcome::Published;
    const int failed = int(m_order.indexOf(ending.entry)); // -1 before any file
    auto logged = [&](const QString &pattern) {
        return QTest::qWaitFor(
            [&] { return serverLog().mid(logFrom).contains(QRegularExpression(pattern)); }, 3000);
    };
    // The server may still be storing what reached it before the cut.
    QStringList snapshot;
    for (int round = 0; round < 15; ++round) {
        QStringList before = std::exchange(snapshot, {});
        QTest::qWait(round == 0 ? 0 : 200);
        for (const QString &name : m_order)
            snapshot.append(QString::fromLatin1(readAll(folder() + u'/' + name).toBase64()));
        snapshot.append(serverLog().mid(logFrom));
        if (snapshot == before)
            break;
    }
    for (int i = 0; i < m_order.size(); ++i) {
        const QString &name = m_order[i];
        const QByteArray held = readAll(folder() + u'/' + name);
        const bool isNew = held == content(name, true);
        const bool isOld = held == content(name, false);
        const bool cut = !isNew && !isOld && content(name, true).startsWith(held);
        const bool mustBeNew = (published && name != mayBeCut) || (failed >= 0 && i < failed);
        const bool mustBeOld = !published && (failed < 0 || i > failed);
        if ((mustBeNew && !isNew) || (mustBeOld && !isOld))
            wrong << u"%1 holds %2 bytes, not the %3 file"_s.arg(name)
                         .arg(held.size())
                         .arg(mustBeNew ? u"new"_s : u"old"_s);
        if (!isNew && !isOld && !cut)
            wrong << u"%1 holds neither file (%2 bytes)"_s.arg(name).arg(held.size());
        if (cut && m_way != Way::Ftp)
            wrong << u"a cut %1 at its own name"_s.arg(name);
        // The server's own log says what it took.
        const QString escaped = QRegularExpression::escape(name);
        // vsftpd logs nothing of a file whose session went with the
        // connection; a cut file it logs as failed, unless it took the cut
        // for the end.
        if (m_way == Way::Ftp && mustBeNew && !logged(u"OK UPLOAD: .*/sitio/"_s + escaped + u'"'))
            wrong << u"vsftpd logged no OK UPLOAD of "_s + name;
        if (m_way == Way::Ftp && cut && name != mayBeCut &&
            logged(u"OK UPLOAD: .*/sitio/"_s + escaped + u'"'))
            wrong << u"vsftpd logged the cut %1 as complete"_s.arg(name);
        if (m_way == Way::Ftps && isNew && !logged(u"OK RENAME: .* /sitio/"_s + escaped + u'"'))
            wrong << u"vsftpd logged no rename to "_s + name;
        if (m_way == Way::Sftp && isNew && !logged(u"rename old .* new \".*/"_s + escaped + u'"'))
            wrong << u"sftp-server logged no rename to "_s + name;
    }
    if (!published && m_way != Way::Ftp) {
        const QString log = serverLog().mid(logFrom);
        if (log.contains(QRegularExpression(u"(RENAME: .* |new \".*)/index\\.htm\""_s)))
            wrong << u"the page was put in place by a run that did not finish"_s;
    }
    // A connection that was still there could take its temporary file away.
    if (published || tidyable) {
        const QStringList left =
            QDir(folder()).entryList({u".*.brenzo-tmp"_s}, QDir::Files | QDir::Hidden);
        if (!left.isEmpty())
            wrong << u"left on the server: "_s + left.join(u", "_s);
    }
}
