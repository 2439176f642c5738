// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpWorker.h"

#include "files/LocalFile.h"
#include "publish/sftp/SftpChannel.h"
#include "publish/sftp/SftpStop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool hasAesInstructions()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("pclmul");
#else
    return false;
#endif
}

// Answers every prompt of a keyboard-interactive login with the password, a
// few rounds at most.
int keyboardInteractive(ssh_session session, const QByteArray &password)
{
    int result = ssh_userauth_kbdint(session, nullptr, nullptr);
    for (int round = 0; result == SSH_AUTH_INFO && round < 4; ++round) {
        for (int i = 0, n = ssh_userauth_kbdint_getnprompts(session); i < n; ++i)
            ssh_userauth_kbdint_setanswer(session, unsigned(i), password.constData());
        result = ssh_userauth_kbdint(session, nullptr, nullptr);
    }
    return result;
}

} // namespace

SftpWorker::SftpWorker(std::shared_ptr<SftpStop> stop, QByteArray trustedHostKeys,
                       TransportLogin login, TransportLimits limits)
    : m_stop(std::move(stop)), m_trustedHostKeys(std::move(trustedHostKeys)),
      m_login(std::move(login)), m_limits(limits)
{
}

SftpWorker::~SftpWorker()
{
    tearDown();
}

// The TCP connection is made here rather than by libssh so that its socket
// is known from the start: a stop then cuts it, even before the key exchange.
QString SftpWorker::openSocket(const QDeadlineTimer &deadline)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const QByteArray port = QByteArray::number(m_login.port);
    if (const int error =
            ::getaddrinfo(m_login.host.toUtf8().constData(), port.constData(), &hints, &found)) {
        return QString::fromLocal8Bit(::gai_strerror(error));
    }
    QString reason;
    for (addrinfo *address = found; address && m_socket == -1; address = address->ai_next) {
        const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK,
                                address->ai_protocol);
        if (fd == -1)
            continue;
        m_stop->setSocket(fd);
        int error = ::connect(fd, address->ai_addr, address->ai_addrlen) == 0 ? 0 : errno;
        while (error == EINPROGRESS && !m_stop->requested() && !deadline.hasExpired()) {
            pollfd waiting{fd, POLLOUT, 0};
            if (::poll(&waiting, 1, int(qMin<qint64>(50, deadline.remainingTime()))) > 0) {
                socklen_t size = sizeof error;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
            }
        }
        if (error == 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            // Each request waits on its answer; none waits on the next packet.
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            m_socket = fd;
            struct stat about {};
            m_socketInode = ::fstat(fd, &about) == 0 ? about.st_ino : 0;
            break;
        }
        m_stop->setSocket(-1);
        ::close(fd);
        reason = error == EINPROGRESS ? noAnswer() : systemError(error);
    }
    ::freeaddrinfo(found);
    return m_socket == -1 ? reason : QString();
}

void SftpWorker::connectAndLogin()
{
    // One limit for the TCP connection and the key exchange together.
    const QDeadlineTimer deadline(m_limits.connectMs);
    if (const QString reason = openSocket(deadline); !reason.isEmpty() || m_stop->requested())
        return failAndClose(reason);
    const QString sshFolder = QDir::home().filePath(QStringLiteral(".ssh"));
    const KnownHosts known(m_trustedHostKeys, sshFolder + QStringLiteral("/known_hosts"),
                           m_login.host, m_login.port);
    m_session = ssh_new();
    configure(sshFolder.toUtf8(), known.keyTypes());
    setTimeout(qMax<qint64>(1, deadline.remainingTime()));
    if (ssh_connect(m_session) != SSH_OK)
        return failAndClose(deadline.hasExpired() ? noAnswer()
                                                  : QString::fromUtf8(ssh_get_error(m_session)));
    m_saidConnected = true;
    emit connected();
    setTimeout(m_limits.silenceMs);

    ssh_key key = nullptr;
    if (ssh_get_server_publickey(m_session, &key) != SSH_OK)
        return failAndClose(QString::fromUtf8(ssh_get_error(m_session)));
    const KnownHosts::Verdict verdict = known.check(key);
    const QString words =
        verdict == KnownHosts::Verdict::Revoked ? known.revoked(key) : known.question(key, verdict);
    ssh_key_free(key);
    if (verdict == KnownHosts::Verdict::Revoked)
        return failAndClose(words);
    if (verdict == KnownHosts::Verdict::Known)
        return logIn();
    QString error;
    const QByteArray trusting = known.trusting(m_session, error);
    if (trusting.isEmpty())
        return failAndClose(error);
    emit trustNeeded(words, trusting);
}

void SftpWorker::configure(const QByteArray &sshFolder, const QByteArray &keyTypes)
{
    const QByteArray host = m_login.host.toUtf8();
    const QByteArray user = m_login.user.toUtf8();
    const unsigned int port = m_login.port;
    const int off = 0;
    socket_t fd = m_socket;
    ssh_options_set(m_session, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    ssh_options_set(m_session, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(m_session, SSH_OPTIONS_FD, &fd);
    // The user's ssh configuration is not ours to follow: it may send the
    // connection elsewhere than the server the user named here.
    ssh_options_set(m_session, SSH_OPTIONS_PROCESS_CONFIG, &off);
    ssh_options_set(m_session, SSH_OPTIONS_SSH_DIR, sshFolder.constData());
    // The keys are checked by KnownHosts, against both files; libssh is
    // told of neither.
    ssh_options_set(m_session, SSH_OPTIONS_KNOWNHOSTS, "/dev/null");
    ssh_options_set(m_session, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, "/dev/null");
    ssh_options_set(m_session, SSH_OPTIONS_HOSTKEYS, keyTypes.constData());
    if (hasAesInstructions()) {
        // Several times faster there than ChaCha20, libssh's first choice.
        const char *ciphers = "aes128-gcm@openssh.com,aes256-gcm@openssh.com,"
                              "chacha20-poly1305@openssh.com,aes256-ctr,aes192-ctr,aes128-ctr";
        ssh_options_set(m_session, SSH_OPTIONS_CIPHERS_C_S, ciphers);
        ssh_options_set(m_session, SSH_OPTIONS_CIPHERS_S_C, ciphers);
    }
    // A key locked by a passphrase is passed over: without an answer of its
    // own, the crypto library would ask for it on the terminal.
    ssh_callbacks_init(&m_callbacks);
    m_callbacks.auth_function = [](const char *, char *, size_t, int, int, void *) { return -1; };
    ssh_set_callbacks(m_session, &m_callbacks);
}

void SftpWorker::setTimeout(qint64 milliseconds)
{
    const long seconds = long(milliseconds / 1000);
    const long microseconds = long(milliseconds % 1000 * 1000);
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &seconds);
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT_USEC, &microseconds);
}

QString SftpWorker::noAnswer() const
{
    return QStringLiteral("El servidor no respondió en %1 s").arg(m_limits.connectMs / 1000.0);
}

void SftpWorker::answerTrust(bool trust)
{
    if (!m_session || m_stop->requested())
        return;
    if (!trust)
        return failAndClose(QStringLiteral("No se confió en la clave del servidor"));
    logIn();
}

// The user's agent and keys first, then the password: by itself, or as the
// answer to the server's prompts where it asks for nothing else.
QString SftpWorker::authenticate()
{
    QElapsedTimer clock;
    clock.start();
    int result = ssh_userauth_none(m_session, nullptr);
    int methods = ssh_userauth_list(m_session, nullptr);
    if (result != SSH_AUTH_SUCCESS && (methods & SSH_AUTH_METHOD_PUBLICKEY))
        result = ssh_userauth_publickey_auto(m_session, nullptr, nullptr);
    // A server may take the key as only the first step: the password follows.
    if (result == SSH_AUTH_PARTIAL)
        methods = ssh_userauth_list(m_session, nullptr);
    const QByteArray password = m_login.password.toUtf8();
    if (result != SSH_AUTH_SUCCESS && result != SSH_AUTH_ERROR) {
        if (methods & SSH_AUTH_METHOD_PASSWORD)
            result = ssh_userauth_password(m_session, nullptr, password.constData());
        else if (methods & SSH_AUTH_METHOD_INTERACTIVE)
            result = keyboardInteractive(m_session, password);
    }
    if (result == SSH_AUTH_SUCCESS)
        return QString();
    // libssh tells a server that fell silent as it tells a refusal; each of
    // its calls waits at most the silence limit, so one that waited it all
    // heard nothing.
    if (clock.elapsed() >= m_limits.silenceMs)
        return QStringLiteral("El servidor dejó de responder durante %1 s.")
            .arg(m_limits.silenceMs / 1000.0);
    const QString error = QString::fromUtf8(ssh_get_error(m_session));
    return error.isEmpty() ? QStringLiteral("El servidor no aceptó el usuario o la contraseña")
                           : error;
}

void SftpWorker::logIn()
{
    if (const QString reason = authenticate(); !reason.isEmpty())
        return failAndClose(m_stop->requested() ? QString() : reason);
    m_channel = std::make_unique<SftpChannel>(m_session, *m_stop, m_limits.silenceMs);
    const auto home = m_channel->open() ? m_channel->realPath(".") : std::nullopt;
    if (!home)
        return failAndClose(m_channel->error());
    m_folder = *home;
    succeed();
}

bool SftpWorker::ensureReady()
{
    if (m_channel && !m_channel->isBroken())
        return true;
    failAndClose(m_stop->requested() ? QString()
                                     : QStringLiteral("No hay conexión con el servidor"));
    return false;
}

void SftpWorker::changeDirectory(const QString &folder)
{
    if (!ensureReady())
        return;
    const QByteArray path = folder.isEmpty()          ? m_folder
                            : folder.startsWith(u'/') ? folder.toUtf8()
                                                      : m_folder + '/' + folder.toUtf8();
    const auto real = m_channel->realPath(path);
    const bool ok = real && m_channel->isFolder(*real);
    if (ok)
        m_folder = *real;
    conclude(ok);
}

void SftpWorker::store(const QString &localPath, const QString &remoteName)
{
    if (!ensureReady())
        return;
    QFile file(localPath);
    if (const QString why = LocalFile::openRegular(file, LocalFile::Links::Refuse); !why.isEmpty())
        return emit done(false, why);
    conclude(m_channel->upload(file, m_folder, remoteName.toUtf8(),
                               [this](qint64 sent) { emit progress(sent); }));
}

void SftpWorker::removeLeftovers()
{
    if (!ensureReady())
        return;
    conclude(m_channel->removeLeftovers(m_folder));
}

void SftpWorker::conclude(bool ok)
{
    if (ok)
        return succeed();
    if (m_channel->isBroken())
        return failAndClose(m_channel->error());
    emit done(false, m_channel->error());
}

void SftpWorker::finish()
{
    tearDown();
    thread()->quit();
}

void SftpWorker::failAndClose(QString reason)
{
    tearDown();
    emit done(false, reason);
}

void SftpWorker::tearDown()
{
    // Nothing more is said on a connection that failed or is being cut:
    // saying goodbye could wait the silence limit again.
    if (m_socket != -1 && (m_stop->requested() || (m_channel && m_channel->isBroken())))
        ::shutdown(m_socket, SHUT_RDWR);
    m_channel.reset();
    // libssh counts a connection that broke as ended already; this side has
    // yet to hear of it.
    const bool wasConnected = std::exchange(m_saidConnected, false);
    // libssh closes the socket: from here on its number is not ours.
    m_stop->setSocket(-1);
    if (m_session) {
        ssh_disconnect(m_session);
        ssh_free(std::exchange(m_session, nullptr));
        // After a time-out before the keys were agreed, libssh forgets the
        // socket without closing it. Still open under its number and the
        // same socket, it is closed here; a number reused since for another
        // socket is left alone.
        struct stat about {};
        if (m_socket != -1 && m_socketInode != 0 && ::fstat(m_socket, &about) == 0 &&
            S_ISSOCK(about.st_mode) && about.st_ino == m_socketInode)
            ::close(m_socket);
    } else if (m_socket != -1) {
        ::close(m_socket);
    }
    m_socket = -1;
    if (wasConnected)
        emit disconnected();
}
