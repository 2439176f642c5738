// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/SecretServiceProbe.h"

#ifdef BRENZO_SECRET_SERVICE
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

void SecretServiceProbe::ask()
{
    if (std::exchange(m_asked, true))
        return;
#ifdef BRENZO_SECRET_SERVICE
    const QString name = QStringLiteral("org.freedesktop.secrets");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return answer(false);
    // The bus itself answers both questions: a keyring that is slow, or
    // never answers, does not hold this up.
    auto *owned = new QDBusPendingCallWatcher(
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), name), this);
    connect(owned, &QDBusPendingCallWatcher::finished, this,
            [this, bus, name](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (QDBusPendingReply<bool>(*call).value())
                    return answer(true);
                auto *startable = new QDBusPendingCallWatcher(
                    bus.interface()->asyncCall(QStringLiteral("ListActivatableNames")), this);
                connect(startable, &QDBusPendingCallWatcher::finished, this,
                        [this, name](QDBusPendingCallWatcher *call) {
                            call->deleteLater();
                            answer(QDBusPendingReply<QStringList>(*call).value().contains(name));
                        });
            });
#else
    answer(true);
#endif
}

void SecretServiceProbe::whenKnown(std::function<void(bool present)> then)
{
    ask();
    if (m_present)
        return then(*m_present);
    m_waiting.append(std::move(then));
}

void SecretServiceProbe::answer(bool present)
{
    m_present = present;
    for (const auto &then : std::exchange(m_waiting, {}))
        then(present);
}
