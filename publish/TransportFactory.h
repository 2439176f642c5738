// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>

class Transport;
class TrustMemory;
struct PublishSettings;

// The way files travel for the connection the settings choose, and the port
// it uses when the user names none.
std::unique_ptr<Transport> makeTransport(const PublishSettings &settings, TrustMemory &trust);
quint16 defaultPort(const PublishSettings &settings);
