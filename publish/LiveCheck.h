// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <map>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

// Looks at the published page as a visitor would: fetches the page, the
// bare address and every other file sent, and compares each with the file
// in the start-up folder. It reports what it found; the window words it.
// Nothing is sent but plain requests: no cookies kept, no credentials.
class LiveCheck : public QObject {
    Q_OBJECT

public:
    enum class Verdict {
        Live,
        PageNotFound,
        OtherPageAtAddress,
        OldCopy,
        FilesMissing,
        BadCertificate,
        Unreachable
    };
    Q_ENUM(Verdict)
    // found: in plain Spanish words, for the details.
    struct Fetch {
        QUrl url;
        int status = 0;
        QString found;
    };
    struct Report {
        Verdict verdict = Verdict::Live;
        QUrl address;
        QStringList missing; // with FilesMissing: the names that are not there as sent
        QString reason;      // with Unreachable: why, in plain Spanish words
        QList<Fetch> fetches;
    };

    explicit LiveCheck(QObject *parent = nullptr);
    ~LiveCheck() override;

    // Tests hand in their own certification authority here; the program never calls it.
    void setTlsConfiguration(const QSslConfiguration &configuration);
    // The whole check ends after this long, whatever is still under way.
    static constexpr int WholeCheckMs = 20'000;
    void setTimeLimit(int milliseconds) { m_deadline.setInterval(milliseconds); }
    // How long a page that differs is given before it is fetched once more.
    void setRetryDelay(int milliseconds) { m_retryDelay = milliseconds; }

    // `address` as the user typed it; `files` the bare names sent, the page
    // first, read from `startupFolder` for comparison. A check under way is
    // dropped first.
    void start(const QString &address, const QString &startupFolder, const QStringList &files);
    // Stops at once; finished is not emitted after it.
    void cancel();

    // Typed without a scheme means https://; anything but a web address
    // with a server name gives an empty QUrl. Credentials are dropped.
    static QUrl addressFrom(const QString &typed);

signals:
    void finished(const LiveCheck::Report &report);

private:
    enum class Role { Page, Bare, File };
    struct Target;
    struct Result;

    void fetch(const Target &target);
    void onReadyRead(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void onDeadline();
    void retryPage();
    void conclude();
    void abortAll();

    QNetworkAccessManager *m_network = nullptr;
    std::unique_ptr<QSslConfiguration> m_tls;
    int m_retryDelay = 5000;
    QTimer m_deadline;
    QTimer m_retry;
    bool m_timedOut = false;
    bool m_retried = false;
    quint64 m_run = 0; // counts cancellations: a report of an earlier run is dropped

    QUrl m_address;
    std::vector<Target> m_targets;
    std::map<QNetworkReply *, std::unique_ptr<Result>> m_pending;
    std::vector<Result> m_results;
    QList<Fetch> m_fetches;
};
