// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/http_fetch.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace varnel {

namespace {

// One request of the fetch; the answer decides whether to follow a redirect.
struct Attempt {
    std::optional<QByteArray> body;
    std::optional<QUrl> redirect;
};

Attempt fetch_once(QNetworkAccessManager& manager, const QUrl& url, const FetchLimits& limits,
                   const QElapsedTimer& clock) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QByteArray body;
    bool failed = false;
    QTimer silence;
    silence.setSingleShot(true);
    QTimer deadline;
    deadline.setSingleShot(true);
    const auto give_up = [&] {
        failed = true;
        reply->abort();
    };
    QObject::connect(&silence, &QTimer::timeout, &loop, give_up);
    QObject::connect(&deadline, &QTimer::timeout, &loop, give_up);
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() > limits.max_bytes)
            give_up();
        else
            silence.start(limits.silence_ms);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    silence.start(limits.silence_ms);
    deadline.start(std::max<qint64>(0, limits.deadline_ms - clock.elapsed()));
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    body += reply->readAll();
    Attempt attempt;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!failed && reply->error() == QNetworkReply::NoError && body.size() <= limits.max_bytes) {
        if (status == 200)
            attempt.body = body;
        else if (status >= 300 && status < 400)
            // The raw header: Qt's parsed Location drops relative addresses.
            attempt.redirect = url.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
    }
    reply->deleteLater();
    return attempt;
}

}  // namespace

std::optional<QByteArray> http_get(const QUrl& url, const FetchLimits& limits) {
    QNetworkAccessManager manager;
    QElapsedTimer clock;
    clock.start();
    QUrl current = url;
    for (int redirects = 0; redirects <= limits.max_redirects; ++redirects) {
        const Attempt attempt = fetch_once(manager, current, limits, clock);
        if (attempt.body) return attempt.body;
        if (!attempt.redirect || !attempt.redirect->isValid()) return std::nullopt;
        // Only within the same host and scheme.
        if (attempt.redirect->host() != url.host() || attempt.redirect->scheme() != url.scheme())
            return std::nullopt;
        current = *attempt.redirect;
    }
    return std::nullopt;
}

}  // namespace varnel
