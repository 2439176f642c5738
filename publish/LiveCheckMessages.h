// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/LiveCheck.h"

#include <QString>

// The words for what the check of the published page found.
namespace LiveCheckMessages {

// One sentence for the user, naming the address as a visitor types it.
QString text(const LiveCheck::Report &report);
// One line per fetch: the address, the HTTP status and what came back.
QString details(const LiveCheck::Report &report);

} // namespace LiveCheckMessages
