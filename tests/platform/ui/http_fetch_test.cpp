// SPDX-License-Identifier: GPL-3.0-or-later
// The fetch against a small HTTP server on 127.0.0.1 run by the test itself.

#include "platform/ui/http_fetch.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

namespace varnel {
namespace {

// Answers every connection with `respond(socket, path)` once the request
// headers have arrived.
class TestServer {
public:
    using Responder = std::function<void(QTcpSocket*, const QByteArray& path)>;

    explicit TestServer(Responder respond) : respond_(std::move(respond)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (!request_.contains("\r\n\r\n")) return;
                    const QByteArray path = request_.split(' ').value(1);
                    request_.clear();
                    respond_(socket, path);
                });
            }
        });
    }

    QUrl url(const char* path = "/update.txt") const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2")
                        .arg(server_.serverPort())
                        .arg(QString::fromUtf8(path)));
    }
    quint16 port() const { return server_.serverPort(); }

private:
    QTcpServer server_;
    QByteArray request_;
    Responder respond_;
};

void answer(QTcpSocket* socket, const QByteArray& status, const QByteArray& body,
            const QByteArray& extra_headers = {}) {
    socket->write("HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n" + extra_headers + "\r\n" + body);
    socket->disconnectFromHost();
}

const FetchLimits quick{300, 1500, 64 * 1024, 3};

TEST(HttpFetch, ReturnsTheBodyOfAnOkAnswer) {
    TestServer server(
        [](QTcpSocket* socket, const QByteArray&) { answer(socket, "200 OK", "page"); });
    EXPECT_EQ(http_get(server.url(), quick), QByteArray("page"));
}

TEST(HttpFetch, ErrorAnswersAndOversizedBodiesFail) {
    TestServer missing(
        [](QTcpSocket* socket, const QByteArray&) { answer(socket, "404 Not Found", "no"); });
    EXPECT_FALSE(http_get(missing.url(), quick));
    TestServer huge([](QTcpSocket* socket, const QByteArray&) {
        answer(socket, "200 OK", QByteArray(64 * 1024 + 1, 'x'));
    });
    EXPECT_FALSE(http_get(huge.url(), quick));
}

TEST(HttpFetch, SilentAndTricklingServersAreGivenUpOnTime) {
    // Limits far apart, so that timers seconds late on a busy machine
    // (sanitizers, two test programs a core) still tell the silence limit
    // from the deadline: anything under 4 s is the silence limit, anything
    // from 4 s on the deadline (6 s, or 5.7 s with Qt's coarse timers).
    const FetchLimits spaced{1000, 6000, 64 * 1024, 3};
    TestServer silent([](QTcpSocket*, const QByteArray&) {});
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(http_get(silent.url(), spaced));
    EXPECT_LT(clock.elapsed(), 4000);

    // One byte every 100 ms never trips the silence limit, only the deadline.
    TestServer trickle([](QTcpSocket* socket, const QByteArray&) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("x"); });
        timer->start(100);
    });
    clock.restart();
    EXPECT_FALSE(http_get(trickle.url(), spaced));
    EXPECT_GE(clock.elapsed(), 4000);
    EXPECT_LT(clock.elapsed(), 15000);
}

TEST(HttpFetch, FollowsRedirectsOnlyWithinTheHost) {
    TestServer server([](QTcpSocket* socket, const QByteArray& path) {
        if (path == "/moved")
            answer(socket, "302 Found", "", "Location: /update.txt\r\n");
        else if (path == "/away")
            answer(socket, "302 Found", "", "Location: http://localhost:1/x\r\n");
        else if (path == "/loop")
            answer(socket, "302 Found", "", "Location: /loop\r\n");
        else
            answer(socket, "200 OK", "here");
    });
    EXPECT_EQ(http_get(server.url("/moved"), quick), QByteArray("here"));
    EXPECT_FALSE(http_get(server.url("/away"), quick));
    EXPECT_FALSE(http_get(server.url("/loop"), quick));
}

TEST(HttpFetch, NothingListeningFails) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();
    EXPECT_FALSE(http_get(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)), quick));
}

}  // namespace
}  // namespace varnel
