// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransportFactory.h"

#include "FtpTransport.h"
#include "PublishSettings.h"

std::unique_ptr<Transport> makeTransport(const PublishSettings &settings, TrustMemory &trust)
{
    return std::make_unique<FtpTransport>(settings.connection == PublishSettings::Connection::Ftps, trust);
}

quint16 defaultPort(const PublishSettings &)
{
    return FtpTransport::DefaultPort;
}
