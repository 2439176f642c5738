// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

// Whether the desktop has a keyring at all: on Linux, a Secret Service that
// owns the name org.freedesktop.secrets on the session bus or is started on
// demand under it; elsewhere the system's own store, always there. The bus is
// asked once, without waiting for it, and its answer kept.
class SecretServiceProbe : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Asks the bus, the first time only.
    void ask();
    // The answer, once it has come.
    std::optional<bool> present() const { return m_present; }
    // Runs `then` with the answer: at once when it is known, otherwise when
    // it comes (and never once this probe is gone). Asks, if nobody has.
    void whenKnown(std::function<void(bool present)> then);

private:
    void answer(bool present);

    bool m_asked = false;
    std::optional<bool> m_present;
    QList<std::function<void(bool)>> m_waiting;
};
