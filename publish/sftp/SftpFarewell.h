// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QThread;
class SftpStop;

// Connections that were closed but may still remove, on their own threads,
// a file they cut short on the server. They outlive the transport that
// closed them, and the publishing window: a connection that is not tidying
// up is cut off at once, one that is gets TransportLimits::CleanupMs. The
// program's end waits for them at most ExitWaitMs in all, then cuts off
// those left and goes without them.
namespace SftpFarewell {

constexpr int ExitWaitMs = 2000;

// Takes over a connection whose stop was requested; its thread ends it.
void keep(QThread *thread, std::shared_ptr<SftpStop> stop);

// Waits for every connection kept, at most `milliseconds`, cutting off
// those still there before the time is up. Returns how many are left.
int waitAll(int milliseconds);

} // namespace SftpFarewell
