// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/KnownHosts.h"

#include "files/LocalFile.h"

#include <QFile>

namespace {

QList<QByteArray> linesOf(const QString &path)
{
    // A pipe in the file's place would hold the connection, and the
    // program's exit, for as long as nobody writes to it.
    QFile file(path);
    if (!LocalFile::openRegular(file, LocalFile::Links::Follow).isEmpty())
        return {};
    return file.readAll().split('\n');
}

// True when the line is an entry for the host; its key goes to `key`.
bool isEntryFor(const QByteArray &hostEntry, const QByteArray &line, ssh_key *key = nullptr)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith('#') || trimmed.startsWith('@'))
        return false;
    ssh_knownhosts_entry *entry = nullptr;
    const bool matches =
        ssh_known_hosts_parse_line(hostEntry.constData(), trimmed.constData(), &entry) == SSH_OK;
    if (matches && key)
        *key = std::exchange(entry->publickey, nullptr);
    ssh_knownhosts_entry_free(entry);
    return matches;
}

// The key of a line "@revoked HOSTS TYPE KEY [COMMENT]", or none. A revoked
// key is refused for every server, whatever the line's host names: a key the
// user gave up on is not to be trusted anywhere.
ssh_key revokedKey(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 4 || fields.at(0) != "@revoked")
        return nullptr;
    ssh_key key = nullptr;
    const enum ssh_keytypes_e type = ssh_key_type_from_name(fields.at(2).constData());
    if (type == SSH_KEYTYPE_UNKNOWN ||
        ssh_pki_import_pubkey_base64(fields.at(3).constData(), type, &key) != SSH_OK)
        return nullptr;
    return key;
}

QString typeName(ssh_key key)
{
    switch (ssh_key_type(key)) {
    case SSH_KEYTYPE_ED25519:
        return QStringLiteral("ED25519");
    case SSH_KEYTYPE_ECDSA_P256:
    case SSH_KEYTYPE_ECDSA_P384:
    case SSH_KEYTYPE_ECDSA_P521:
        return QStringLiteral("ECDSA");
    case SSH_KEYTYPE_RSA:
        return QStringLiteral("RSA");
    default:
        return QString::fromLatin1(ssh_key_type_to_char(ssh_key_type(key))).toUpper();
    }
}

QString fingerprint(ssh_key key)
{
    unsigned char *hash = nullptr;
    size_t length = 0;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) != SSH_OK)
        return QString();
    char *text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
    const QString result = QString::fromLatin1(text);
    ssh_string_free_char(text);
    ssh_clean_pubkey_hash(&hash);
    return result;
}

} // namespace

// Read once: the key's check, its types and its revocation all look at the
// same lines.
KnownHosts::KnownHosts(const QByteArray &own, const QString &userFile, const QString &host,
                       quint16 port)
    : KnownHosts(host, port, own.split('\n'), linesOf(userFile))
{
}

KnownHosts KnownHosts::fromContents(const QByteArray &own, const QByteArray &user,
                                    const QString &host, quint16 port)
{
    return KnownHosts(host, port, own.split('\n'), user.split('\n'));
}

KnownHosts::KnownHosts(const QString &host, quint16 port, QList<QByteArray> ownLines,
                       QList<QByteArray> userLines)
    : m_hostEntry(port == 22
                      ? host.toLower()
                      : QStringLiteral("[%1]:%2").arg(host.toLower(), QString::number(port))),
      m_ownLines(std::move(ownLines)), m_userLines(std::move(userLines))
{
}

std::vector<KnownHosts::Key> KnownHosts::keys() const
{
    const QByteArray hostEntry = m_hostEntry.toUtf8();
    std::vector<Key> found;
    for (const QList<QByteArray> *lines : {&m_userLines, &m_ownLines}) {
        for (const QByteArray &line : *lines) {
            ssh_key key = nullptr;
            if (isEntryFor(hostEntry, line, &key))
                found.emplace_back(key, &ssh_key_free);
        }
    }
    return found;
}

bool KnownHosts::isRevoked(ssh_key serverKey) const
{
    for (const QList<QByteArray> *lines : {&m_userLines, &m_ownLines}) {
        for (const QByteArray &line : *lines) {
            const Key key(revokedKey(line), &ssh_key_free);
            if (key && ssh_key_cmp(key.get(), serverKey, SSH_KEY_CMP_PUBLIC) == 0)
                return true;
        }
    }
    return false;
}

KnownHosts::Verdict KnownHosts::check(ssh_key serverKey) const
{
    // Revoked wins over any line that trusts the same key.
    if (isRevoked(serverKey))
        return Verdict::Revoked;
    const std::vector<Key> known = keys();
    for (const Key &key : known) {
        if (ssh_key_cmp(key.get(), serverKey, SSH_KEY_CMP_PUBLIC) == 0)
            return Verdict::Known;
    }
    return known.empty() ? Verdict::Unknown : Verdict::Changed;
}

// A server with keys of several types shows the one asked for first: asking
// for one already trusted spares the user a needless question.
QByteArray KnownHosts::keyTypes() const
{
    QByteArrayList types;
    for (const Key &key : keys()) {
        const enum ssh_keytypes_e type = ssh_key_type(key.get());
        types << (type == SSH_KEYTYPE_RSA ? QByteArrayList{"rsa-sha2-512", "rsa-sha2-256"}
                                          : QByteArrayList{ssh_key_type_to_char(type)});
    }
    types << QByteArrayList{"ssh-ed25519",         "ecdsa-sha2-nistp521", "ecdsa-sha2-nistp384",
                            "ecdsa-sha2-nistp256", "rsa-sha2-512",        "rsa-sha2-256"};
    QByteArrayList once;
    for (const QByteArray &type : std::as_const(types)) {
        if (!once.contains(type))
            once << type;
    }
    return once.join(',');
}

QString KnownHosts::question(ssh_key serverKey, Verdict verdict) const
{
    const QString text =
        verdict == Verdict::Changed
            ? QStringLiteral("¡Atención! La clave del servidor %1 ha cambiado desde la última vez "
                             "que se confió en él. Puede que alguien se esté haciendo pasar por el "
                             "servidor.\n\nClave %2 del servidor:\n%3\n\n¿Desea confiar en este "
                             "servidor?")
            : QStringLiteral("No puede comprobarse la identidad del servidor %1.\n\nClave %2 del "
                             "servidor:\n%3\n\n¿Desea confiar en este servidor?");
    return text.arg(m_hostEntry, typeName(serverKey), fingerprint(serverKey));
}

QString KnownHosts::revoked(ssh_key serverKey) const
{
    return QStringLiteral("La clave %1 del servidor %2 (%3) está revocada en known_hosts "
                          "(@revoked): Brenzo nunca confía en ella.")
        .arg(typeName(serverKey), m_hostEntry, fingerprint(serverKey));
}

QByteArray KnownHosts::trusting(ssh_session session, QString &error) const
{
    char *entry = nullptr;
    if (ssh_session_export_known_hosts_entry(session, &entry) != SSH_OK) {
        error = QString::fromUtf8(ssh_get_error(session));
        return {};
    }
    QByteArray kept;
    const QByteArray hostEntry = m_hostEntry.toUtf8();
    for (const QByteArray &line : m_ownLines) {
        if (!line.isEmpty() && !isEntryFor(hostEntry, line))
            kept += line + '\n';
    }
    kept += entry;
    ssh_string_free_char(entry);
    return kept;
}
