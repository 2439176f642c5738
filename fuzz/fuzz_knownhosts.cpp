// SPDX-License-Identifier: GPL-3.0-or-later
// The known-hosts reader on whatever the two files may hold. Whatever the
// lines, a key on a "@revoked" line is never trusted, a key on a line for
// the host is trusted unless revoked, and the key types asked for are a
// list without repeats that ends with every type Brenzo takes.

#include "publish/sftp/KnownHosts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const char *const ServerKeys[] = {
    "ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAILLKVFxy/fj7GpqWLFD6cH0mq25jBde9/xpixdA1Drg3",
    "ecdsa-sha2-nistp256 AAAAE2VjZHNhLXNoYTItbmlzdHAyNTYAAAAIbmlzdHAyNTYAAABBBFMqKpyNSeEgGqHXGPh"
    "vvfsiWBrIGTDjT+0wbK3M7C3Sf6nm7SDtOe44z0X3h0HFu+pnojCKwl/jFY4ERy3Bnvc=",
};

ssh_key serverKey(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split(' ');
    ssh_key key = nullptr;
    if (ssh_pki_import_pubkey_base64(fields.at(1).constData(),
                                     ssh_key_type_from_name(fields.at(0).constData()),
                                     &key) != SSH_OK)
        std::abort();
    return key;
}

// A host name as DNS has them; others (patterns, lists, blanks) cannot be
// written as a line that names only them.
bool isPlainName(const QString &host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host) {
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == u'.' || c == u'-'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString host = QString::fromLatin1(input.ConsumeRandomLengthString(40));
    const auto port = input.ConsumeIntegral<quint16>();
    const QByteArray line(ServerKeys[input.ConsumeIntegralInRange<int>(0, 1)]);
    const QByteArray own = QByteArray::fromStdString(input.ConsumeRandomLengthString(4096));
    const QByteArray user = QByteArray::fromStdString(input.ConsumeRandomLengthString());
    const std::unique_ptr<ssh_key_struct, decltype(&ssh_key_free)> key(serverKey(line),
                                                                       &ssh_key_free);

    const KnownHosts hosts = KnownHosts::fromContents(own, user, host, port);
    const KnownHosts::Verdict verdict = hosts.check(key.get());
    hosts.question(key.get(), verdict);
    const QByteArrayList types = hosts.keyTypes().split(',');
    for (qsizetype i = 0; i < types.size(); ++i) {
        if (types.indexOf(types[i]) != i)
            std::abort();
    }
    for (const char *type : {"ssh-ed25519", "ecdsa-sha2-nistp521", "ecdsa-sha2-nistp384",
                             "ecdsa-sha2-nistp256", "rsa-sha2-512", "rsa-sha2-256"}) {
        if (!types.contains(type))
            std::abort();
    }

    // A line for the host trusts the key, unless a revoked line refuses it.
    const QByteArray entry = hosts.hostEntry().toUtf8() + ' ' + line + '\n';
    const KnownHosts trusted = KnownHosts::fromContents(own + '\n' + entry, user, host, port);
    const KnownHosts::Verdict withEntry = trusted.check(key.get());
    if (isPlainName(host) &&
        withEntry != (verdict == KnownHosts::Verdict::Revoked ? KnownHosts::Verdict::Revoked
                                                              : KnownHosts::Verdict::Known))
        std::abort();
    const KnownHosts revoked =
        KnownHosts::fromContents(own, user + "\n@revoked * " + line + '\n', host, port);
    if (revoked.check(key.get()) != KnownHosts::Verdict::Revoked)
        std::abort();
    return 0;
}
