// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpReplaceFile.h"

#include "publish/ftp/FtpControlConnection.h"
#include "publish/ftp/FtpRemove.h"
#include "publish/ftp/FtpRename.h"
#include "publish/ftp/FtpStore.h"

FtpReplaceFile::FtpReplaceFile(FtpControlConnection &control, const QString &localPath,
                               const QString &remoteName, QObject *parent)
    : FtpExchange(control, parent), m_localPath(localPath), m_remoteName(remoteName),
      m_temporary(u'.' + remoteName + QStringLiteral(".brenzo-tmp")),
      m_old(u'.' + remoteName + QStringLiteral(".brenzo-old"))
{
}

void FtpReplaceFile::start()
{
    FtpStore *step = store(m_temporary);
    next(step, [this, step](bool ok) {
        if (ok)
            putInPlace();
        else if (step->reason().startsWith(QLatin1String("553 ")))
            refusedName();
        else if (step->commandSent())
            removeTemporaryAndFail(step->reason());
        else
            fail(step->reason());
    });
}

void FtpReplaceFile::abort()
{
    FtpExchange::abort();
    if (m_step)
        m_step->abort();
}

bool FtpReplaceFile::withdraw()
{
    auto *storing = qobject_cast<FtpStore *>(m_step.data());
    if (isDone() || m_renamesUnknown || !storing || !storing->commandSent())
        return false;
    // Its end goes on as any failed store of the temporary file: removed.
    storing->abort();
    return true;
}

void FtpReplaceFile::next(FtpExchange *step, std::function<void(bool)> then)
{
    // The step before has ended, and its reply has been handled.
    delete m_step;
    m_step = step;
    // Queued: the next step must not hear the reply that ended this one.
    connect(
        step, &FtpExchange::finished, this,
        [this, then = std::move(then)](bool ok) {
            if (!isDone())
                then(ok);
        },
        Qt::QueuedConnection);
    step->start();
}

FtpStore *FtpReplaceFile::store(const QString &remoteName)
{
    auto *step = new FtpStore(m_control, m_localPath, remoteName, this);
    connect(step, &FtpStore::progress, this, &FtpReplaceFile::progress);
    return step;
}

void FtpReplaceFile::putInPlace()
{
    auto *step = new FtpRename(m_control, m_temporary, m_remoteName, this);
    next(step, [this, step](bool ok) {
        if (ok)
            return succeed();
        const int fromRefusal = step->fromRefusal();
        if (fromRefusal == 500 || fromRefusal == 502)
            return refusedName();
        if (step->toRefusal() >= 500)
            return setAside(step->reason());
        removeTemporaryAndFail(step->reason());
    });
}

// The server cannot rename, or takes no file under a temporary name (553,
// a name it does not allow, as some hosts answer for names that start with
// a dot): from now on the files go straight under their names, as by plain
// FTP. The temporary one goes first, while nothing can have broken off yet.
void FtpReplaceFile::refusedName()
{
    m_renamesUnknown = true;
    next(new FtpRemove(m_control, m_temporary, this), [this](bool) {
        FtpStore *step = store(m_remoteName);
        next(step, [this, step](bool ok) { ok ? succeed() : fail(step->reason()); });
    });
}

// The rename over the old file was refused: the old file steps aside, the
// new one takes its name, and the old one goes. When the old one cannot step
// aside, it was not what stood in the way, and the first refusal stands.
// What an earlier run cut off here may have left under the old file's
// temporary name goes first.
void FtpReplaceFile::setAside(const QString &refusal)
{
    next(new FtpRemove(m_control, m_old, this), [this, refusal](bool) {
        next(new FtpRename(m_control, m_remoteName, m_old, this), [this, refusal](bool ok) {
            if (!ok)
                return removeTemporaryAndFail(refusal);
            auto *step = new FtpRename(m_control, m_temporary, m_remoteName, this);
            next(step, [this, step](bool ok) {
                if (ok)
                    return next(new FtpRemove(m_control, m_old, this), [this](bool) { succeed(); });
                // The old file comes back, so that the name is never left
                // empty.
                const QString reason = step->reason();
                next(new FtpRename(m_control, m_old, m_remoteName, this),
                     [this, reason](bool) { removeTemporaryAndFail(reason); });
            });
        });
    });
}

void FtpReplaceFile::removeTemporaryAndFail(const QString &reason)
{
    next(new FtpRemove(m_control, m_temporary, this), [this, reason](bool) { fail(reason); });
}
