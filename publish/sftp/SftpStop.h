// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <mutex>

// How the window's thread stops a connection that runs on a thread of its
// own: a flag the connection looks at between blocks, and, for a call stuck
// waiting on the server, the connection's socket shut down under its feet.
class SftpStop {
public:
    void request() { m_requested = true; }
    bool requested() const { return m_requested; }

    // The socket the connection works on, or -1 once it let it go: a number
    // the system may already have handed to someone else is never shut down.
    void setSocket(int fd);
    // While set, the connection looks at the flag by itself and may have a
    // file it cut short to remove on the server: a cut that is not forced
    // leaves its socket alone.
    void setTidying(bool tidying) { m_tidying = tidying; }
    // Every wait on the socket returns at once, with an error.
    void cut(bool force = true);

private:
    std::atomic<bool> m_requested = false;
    std::atomic<bool> m_tidying = false;
    std::mutex m_mutex;
    int m_fd = -1;
};
