// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/TransportFactory.h"

#include "publish/ftp/FtpTransport.h"
#include "publish/PublishSettings.h"
#include "publish/sftp/SftpTransport.h"

std::unique_ptr<Transport> makeTransport(const PublishSettings &settings, TrustMemory &trust)
{
    switch (settings.connection) {
    case PublishSettings::Connection::Sftp:
        return std::make_unique<SftpTransport>(trust);
    case PublishSettings::Connection::Ftps:
        return std::make_unique<FtpTransport>(true, trust);
    case PublishSettings::Connection::Ftp:
        break;
    }
    return std::make_unique<FtpTransport>(false, trust);
}

// The one place that knows each protocol's own port.
quint16 defaultPort(const PublishSettings &settings)
{
    return settings.connection == PublishSettings::Connection::Sftp ? 22 : 21;
}
