// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpExchange.h"

// CWD with the folder exactly as given (200 or 250).
class FtpChangeDirectory : public FtpExchange {
    Q_OBJECT

public:
    FtpChangeDirectory(FtpControlConnection &control, const QString &folder,
                       QObject *parent = nullptr);

    void start() override;

protected:
    void onReply(const FtpReply &reply) override;

private:
    QString m_folder;
};
