// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The processes the upload benchmarks time: one of our runs (a child of the
// benchmark, reporting how it went), curl, and anything else started and
// waited for. Each run starts with the server's folder emptied.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

struct ChildResult {
    double seconds = -1;
    double maxGapMs = -1;
    double runGapMs = -1;
    double hwmKiB = -1;
    bool published = false;
};

inline ChildResult parseChild(const QByteArray &output)
{
    ChildResult result;
    for (const QByteArray &field : output.trimmed().split(' ')) {
        const qsizetype equals = field.indexOf('=');
        const QByteArray key = field.left(equals);
        const QByteArray value = field.mid(equals + 1);
        if (key == "seconds")
            result.seconds = value.toDouble();
        else if (key == "maxgap_ms")
            result.maxGapMs = value.toDouble();
        else if (key == "rungap_ms")
            result.runGapMs = value.toDouble();
        else if (key == "hwm_kib")
            result.hwmKiB = value.toDouble();
        else if (key == "outcome")
            result.published = value == "published";
    }
    return result;
}

inline QByteArray runProcess(const QString &program, const QStringList &args,
                             const QString &workingFolder = QString(), double *seconds = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    if (!process.waitForFinished(600 * 1000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAll().constData());
    if (seconds)
        *seconds = clock.nsecsElapsed() / 1e9;
    return process.readAllStandardOutput();
}

// curl 7.88 now and then waits a whole second after a 227/229 before it
// opens the data connection: it idles in its poll with nothing to wait for.
// That second is curl's, not the transfer's; it is found in curl's verbose
// trace (a gap of at least 0.9 s before "Trying") and taken off its time.
struct CurlRun {
    double seconds = 0;
    double stalls = 0;
    int stallCount = 0;
};

inline CurlRun runCurl(const QString &folder, const QString &files, const QString &url,
                       const QStringList &options = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral("curl"),
                  options + QStringList{QStringLiteral("-sS"), QStringLiteral("-v"),
                                        QStringLiteral("--trace-time"), QStringLiteral("-T"), files,
                                        url});
    if (!process.waitForFinished(600 * 1000) || process.exitCode() != 0)
        qFatal("curl failed: %s", process.readAllStandardError().constData());
    CurlRun run;
    run.seconds = clock.nsecsElapsed() / 1e9;
    double previous = -1;
    for (const QByteArray &line : process.readAllStandardError().split('\n')) {
        // "18:15:05.628271 * Trying 127.0.0.1:2185..."
        const QList<QByteArray> clock = line.left(15).split(':');
        if (clock.size() != 3)
            continue;
        const double at = clock[0].toInt() * 3600 + clock[1].toInt() * 60 + clock[2].toDouble();
        if (previous >= 0 && at - previous >= 0.9 && line.contains("Trying")) {
            run.stalls += at - previous;
            ++run.stallCount;
        }
        previous = at;
    }
    return run;
}

inline void removeUploads(const QString &serverHome)
{
    QDir home(serverHome);
    for (const QString &name : home.entryList(QDir::Files))
        home.remove(name);
}

// Before each measured upload: the server's files of the run before are
// removed, and what the disk still had to write is written now. Otherwise
// the gigabyte the server took last time is written back during the next
// upload, on the same two cores, whichever client that upload is; a real
// server is on another machine.
inline void startFromAnEmptyServer(const QString &serverHome)
{
    removeUploads(serverHome);
    ::sync();
}

// curl's argument for every file of the folder, sent over one connection.
inline QString curlList(const QString &folder)
{
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    return files.size() == 1 ? files.first()
                             : QLatin1Char('{') + files.join(QLatin1Char(',')) + QLatin1Char('}');
}

// Ours and curl, uploading into the same server one after the other.
class UploadRunner {
public:
    UploadRunner(const QString &benchUpload, const QString &port, const QString &user,
                 const QString &password, const QString &serverHome)
        : m_benchUpload(benchUpload), m_port(port), m_user(user), m_password(password),
          m_serverHome(serverHome),
          m_url(QStringLiteral("ftp://%1:%2@127.0.0.1:%3/").arg(user, password, port))
    {
    }

    // curl's own start-up, taken off its figures so that both sides are
    // timed from the first byte of the run to the last reply.
    void measureCurlStartup(int rounds)
    {
        QList<double> times;
        for (int round = 0; round < rounds; ++round) {
            double seconds = 0;
            runProcess(QStringLiteral("curl"),
                       {QStringLiteral("-sS"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                        QStringLiteral("file:///dev/null")},
                       QString(), &seconds);
            times.append(seconds);
        }
        std::sort(times.begin(), times.end());
        m_curlStartup = times.value(times.size() / 2);
        std::printf("curl start-up (taken off its times): %.4f s\n", m_curlStartup);
    }

    // One run of the publishing window in a child process, its files then
    // checked on the server: a fast upload that loses bytes is no result.
    // Another build's bench_upload may be named to run in its place.
    ChildResult ours(const QString &folder, const QString &benchUpload = QString())
    {
        startFromAnEmptyServer(m_serverHome);
        const ChildResult result = parseChild(
            runProcess(benchUpload.isEmpty() ? m_benchUpload : benchUpload,
                       QStringList{QStringLiteral("child"), m_port, m_user, m_password, folder} +
                           m_childOptions));
        if (!result.published)
            qFatal("our upload of %s failed", qPrintable(folder));
        const QDir sent(folder), received(m_serverHome);
        for (const QString &name : sent.entryList(QDir::Files)) {
            if (QFileInfo(received.filePath(name)).size() != QFileInfo(sent.filePath(name)).size())
                qFatal("%s arrived with another size", qPrintable(name));
        }
        return result;
    }

    // curl's time for the files, its start-up and its idle seconds taken off;
    // curlRaw keeps it with those seconds.
    double curl(const QString &folder, const QString &files)
    {
        startFromAnEmptyServer(m_serverHome);
        const CurlRun run = runCurl(folder, files, m_url, m_curlOptions);
        curlRaw.append(run.seconds - m_curlStartup);
        curlStalls += run.stallCount;
        return run.seconds - m_curlStartup - run.stalls;
    }

    // FTP over TLS on both sides. curl is held to TLS 1.2: over TLS 1.3 it
    // closes its data connection with the server's session tickets unread,
    // the system resets it, and vsftpd answers 426.
    void useTls()
    {
        m_childOptions = {QStringLiteral("tls")};
        m_curlOptions = {QStringLiteral("--ssl-reqd"), QStringLiteral("--tls-max"),
                         QStringLiteral("1.2"), QStringLiteral("-k")};
    }

    QList<double> curlRaw;
    int curlStalls = 0;

private:
    QStringList m_childOptions, m_curlOptions;
    QString m_benchUpload, m_port, m_user, m_password, m_serverHome, m_url;
    double m_curlStartup = 0;
};
