// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/LiveCheck.h"

#include "page/TextRules.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace {

constexpr int MaxRedirects = 5;
// Beyond this a body is not the page we sent, whatever follows.
constexpr qint64 MaxBody = 64ll * 1024 * 1024;

// A visitor arrives without cookies; none are kept between the fetches.
class ForgetfulCookieJar : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

// The file as sent, for comparison: its size and digest, or a size of -1
// when it cannot be read.
std::pair<qint64, QByteArray> digestOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {-1, {}};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return {file.size(), hash.result()};
}

QUrl withName(QUrl folder, const QString &name)
{
    folder.setPath(folder.path() + name);
    return folder;
}

// Why nothing came back, as the user would say it.
QString unreachableReason(QNetworkReply::NetworkError error, const QString &detail, int limitMs)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("no existe ese nombre de servidor");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("el servidor rechazó la conexión");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("no respondió en %1 s").arg(limitMs / 1000);
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("el servidor cortó la conexión");
    default:
        return QStringLiteral("no pudo conectarse (%1)").arg(detail);
    }
}

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

struct LiveCheck::Target {
    Role role = Role::File;
    QString name;
    QUrl url;
    qint64 size = -1;
    QByteArray digest;
};

struct LiveCheck::Result {
    Target target;
    int status = 0;
    bool badCertificate = false;
    bool elsewhere = false; // ended on another server after redirects
    bool tooBig = false;
    bool matches = false;
    QString unreachable; // why no answer came, empty when one did
    qint64 received = 0;
    std::shared_ptr<QCryptographicHash> hash =
        std::make_shared<QCryptographicHash>(QCryptographicHash::Sha256);
};

LiveCheck::LiveCheck(QObject *parent) : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    m_network->setCookieJar(new ForgetfulCookieJar(m_network));
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(WholeCheckMs);
    connect(&m_deadline, &QTimer::timeout, this, &LiveCheck::onDeadline);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &LiveCheck::retryPage);
}

LiveCheck::~LiveCheck()
{
    cancel();
}

void LiveCheck::setTlsConfiguration(const QSslConfiguration &configuration)
{
    m_tls = std::make_unique<QSslConfiguration>(configuration);
}

QUrl LiveCheck::addressFrom(const QString &typed)
{
    QString text = trimmedText(typed);
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("https://"));
    QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    url.setUserInfo(QString());
    url.setFragment(QString());
    return url;
}

void LiveCheck::start(const QString &address, const QString &startupFolder,
                      const QStringList &files)
{
    cancel();
    m_timedOut = false;
    m_retried = false;
    m_targets.clear();
    m_results.clear();
    m_fetches.clear();
    m_address = addressFrom(address);
    if (m_address.isEmpty() || files.isEmpty()) {
        Report report;
        report.verdict = Verdict::Unreachable;
        report.reason = QStringLiteral("la dirección no es válida");
        QTimer::singleShot(0, this, [this, report, run = m_run] {
            if (run == m_run)
                emit finished(report);
        });
        return;
    }

    // The page's own address, then what a visitor types, unless that is
    // already the page's own.
    const QString page = files.first();
    QUrl folder = m_address;
    bool typedIsPage = false;
    if (folder.path().endsWith(QLatin1Char('/') + page)) {
        folder.setPath(folder.path().chopped(page.size()));
        typedIsPage = true;
    } else if (!folder.path().endsWith(QLatin1Char('/'))) {
        folder.setPath(folder.path() + QLatin1Char('/'));
    }
    const QDir dir(startupFolder);
    for (qsizetype i = 0; i < files.size(); ++i) {
        Target target;
        target.role = i == 0 ? Role::Page : Role::File;
        target.name = files.at(i);
        target.url = withName(folder, target.name);
        std::tie(target.size, target.digest) = digestOf(dir.filePath(target.name));
        m_targets.push_back(target);
        if (i == 0 && !typedIsPage) {
            target.role = Role::Bare;
            target.url = m_address;
            m_targets.push_back(target);
        }
    }
    m_deadline.start();
    for (const Target &target : m_targets)
        fetch(target);
}

void LiveCheck::fetch(const Target &target)
{
    QNetworkRequest request(target.url);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    if (m_tls)
        request.setSslConfiguration(*m_tls);
    QNetworkReply *reply = m_network->get(request);
    auto result = std::make_unique<Result>();
    result->target = target;
    m_pending.emplace(reply, std::move(result));
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onReadyRead(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
    connect(reply, &QNetworkReply::sslErrors, this, [this, reply] {
        if (const auto it = m_pending.find(reply); it != m_pending.end())
            it->second->badCertificate = true;
    });
}

void LiveCheck::onReadyRead(QNetworkReply *reply)
{
    const auto it = m_pending.find(reply);
    if (it == m_pending.end())
        return;
    Result &result = *it->second;
    const QByteArray chunk = reply->readAll();
    if (result.tooBig)
        return;
    result.received += chunk.size();
    if (result.received > MaxBody) {
        result.tooBig = true;
        reply->abort();
        return;
    }
    result.hash->addData(chunk);
}

void LiveCheck::onFinished(QNetworkReply *reply)
{
    const auto it = m_pending.find(reply);
    if (it == m_pending.end())
        return;
    onReadyRead(reply);
    Result result = std::move(*it->second);
    m_pending.erase(it);
    reply->deleteLater();

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.elsewhere =
        reply->url().host().compare(result.target.url.host(), Qt::CaseInsensitive) != 0;
    // A handshake that failed without naming a certificate error is no
    // better for a visitor's browser.
    result.badCertificate |= reply->error() == QNetworkReply::SslHandshakeFailedError;
    const Target &target = result.target;
    result.matches = isSuccess(result.status) && !result.tooBig && target.size >= 0 &&
                     result.received == target.size && result.hash->result() == target.digest;

    QString found;
    if (result.badCertificate) {
        found = QStringLiteral("certificado no válido (%1)").arg(reply->errorString());
    } else if (result.tooBig) {
        found = QStringLiteral("más de 64 MB, no es el archivo enviado");
    } else if (result.status == 0) {
        const int limit = m_deadline.interval();
        result.unreachable = m_timedOut
                                 ? unreachableReason(QNetworkReply::TimeoutError, QString(), limit)
                                 : unreachableReason(reply->error(), reply->errorString(), limit);
        found = QStringLiteral("sin respuesta: ") + result.unreachable;
    } else if (result.elsewhere) {
        found = QStringLiteral("lleva a otro servidor: ") + reply->url().toString();
    } else if (!isSuccess(result.status)) {
        found = QStringLiteral("no se encuentra");
    } else {
        found = result.matches ? QStringLiteral("igual que el archivo enviado")
                               : QStringLiteral("distinto del archivo enviado");
    }
    m_fetches.append({target.url, result.status, found});

    // The latest fetch of the page and of the bare address stands for them.
    const auto same = std::find_if(m_results.begin(), m_results.end(), [&](const Result &r) {
        return r.target.role == target.role && r.target.url == target.url;
    });
    if (same != m_results.end())
        *same = std::move(result);
    else
        m_results.push_back(std::move(result));

    if (!m_pending.empty())
        return;
    const Result &page = *std::find_if(m_results.begin(), m_results.end(),
                                       [](const Result &r) { return r.target.role == Role::Page; });
    // A host that keeps copies may show the one before for a while: one more
    // look after a pause before calling it old.
    if (!m_retried && !m_timedOut && isSuccess(page.status) && !page.badCertificate &&
        !page.matches) {
        m_retried = true;
        m_retry.start(m_retryDelay);
        return;
    }
    conclude();
}

void LiveCheck::retryPage()
{
    for (const Target &target : m_targets) {
        if (target.role != Role::File)
            fetch(target);
    }
}

void LiveCheck::onDeadline()
{
    m_timedOut = true;
    if (m_retry.isActive()) {
        m_retry.stop();
        conclude();
        return;
    }
    // Each aborted reply finishes at once and is told as one that never
    // answered; the last one concludes.
    std::vector<QNetworkReply *> replies;
    for (const auto &[reply, result] : m_pending)
        replies.push_back(reply);
    for (QNetworkReply *reply : replies)
        reply->abort();
}

void LiveCheck::conclude()
{
    m_deadline.stop();
    Report report;
    report.address = m_address;
    report.fetches = m_fetches;
    const auto role = [this](Role wanted) {
        return std::find_if(m_results.begin(), m_results.end(),
                            [wanted](const Result &r) { return r.target.role == wanted; });
    };
    const Result &page = *role(Role::Page);
    const auto bare = role(Role::Bare);
    for (const Result &result : m_results) {
        if (result.target.role == Role::File && !result.matches)
            report.missing.append(result.target.name);
    }

    if (std::any_of(m_results.begin(), m_results.end(),
                    [](const Result &r) { return r.badCertificate; }))
        report.verdict = Verdict::BadCertificate;
    else if (page.status == 0)
        report.verdict = Verdict::Unreachable;
    // Any refusal to show it (not found, forbidden, a server error) leaves
    // the visitor without the page.
    else if (!isSuccess(page.status))
        report.verdict = Verdict::PageNotFound;
    else if (!page.matches)
        report.verdict = Verdict::OldCopy;
    else if (bare != m_results.end() && (!bare->matches || bare->elsewhere))
        report.verdict = Verdict::OtherPageAtAddress;
    else if (!report.missing.isEmpty())
        report.verdict = Verdict::FilesMissing;
    else
        report.verdict = Verdict::Live;
    // Files that cannot be seen because the page itself cannot are not
    // missing on their own.
    if (report.verdict != Verdict::FilesMissing)
        report.missing.clear();
    if (report.verdict == Verdict::Unreachable)
        report.reason = page.unreachable;
    m_results.clear();
    emit finished(report);
}

void LiveCheck::abortAll()
{
    // Taken out of the list first: the replies' own finished() then finds
    // nothing to report.
    auto pending = std::move(m_pending);
    m_pending.clear();
    for (auto &[reply, result] : pending) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void LiveCheck::cancel()
{
    ++m_run;
    m_deadline.stop();
    m_retry.stop();
    abortAll();
}
