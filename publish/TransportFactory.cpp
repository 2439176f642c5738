// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/TransportFactory.h"

#include "publish/ftp/FtpTransport.h"
#include "publish/PublishSettings.h"

std::unique_ptr<Transport> makeTransport(const PublishSettings &settings, TrustMemory &trust)
{
    return std::make_unique<FtpTransport>(settings.connection == PublishSettings::Connection::Ftps,
                                          trust);
}

quint16 defaultPort(const PublishSettings &)
{
    return FtpTransport::DefaultPort;
}
