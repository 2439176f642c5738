// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpExchange.h"

// DELE with the name, whatever the answer: what is removed here is tidying
// up, and a file that is not there is as good as removed. It ends once the
// server has answered everything asked of it so far, the DELE last: after a
// transfer broken off, the STOR's own reply may still be on its way, and no
// later exchange must take it for its own. It fails only when the connection
// is lost.
class FtpRemove : public FtpExchange {
    Q_OBJECT

public:
    FtpRemove(FtpControlConnection &control, const QString &name, QObject *parent = nullptr);

    void start() override;

protected:
    void onReply(const FtpReply &reply) override;

private:
    QString m_name;
};
