#pragma once

// An HTTP server on 127.0.0.1 for tests of network clients: it answers each path with the reply
// set for it, every other request with a fallback reply (one for all, or made for the path), or
// holds the connection open without answering. It serves on the thread that made it.
#include "support/WaitUntil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <concepts>
#include <functional>
#include <memory>

namespace kivaro::testing {

// One canned answer of LocalHttpServer.
struct HttpReply {
    int status = 200;
    QByteArray body;
    bool silent = false; // read the request but never answer
    QByteArray contentType = "application/json";
    QByteArray location; // sent as a Location header: a redirect with a 3xx status
};

class LocalHttpServer {
public:
    using Reply = HttpReply;
    using Fallback = std::function<Reply(const QByteArray& target)>;

    explicit LocalHttpServer(Reply fallback = {.status = 404,
                                               .body = "<html>missing</html>",
                                               .contentType = "text/html"})
        : LocalHttpServer([fallback](const QByteArray&) { return fallback; }) {}

    // A template, so that a braced reply never reads as a function.
    template <std::invocable<const QByteArray&> MakeReply>
    explicit LocalHttpServer(MakeReply fallback) : fallback_(std::move(fallback)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { accept(); });
    }

    // The reply for requests of exactly this target (path and query).
    void answer(const QByteArray& target, Reply reply) {
        replies_.insert(target, std::move(reply));
    }

    bool isListening() const { return server_.isListening(); }
    // "127.0.0.1:PORT".
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }
    QUrl origin() const { return QUrl(QStringLiteral("http://") + host()); }
    // The request targets (path and query) received so far.
    const QList<QByteArray>& targets() const { return targets_; }
    qsizetype requests(const QByteArray& target) const { return targets_.count(target); }
    qsizetype totalRequests() const { return targets_.size(); }

    // An origin where nothing listens: a port that was free a moment ago.
    static QUrl refusingOrigin() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
    }

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                *received += socket->readAll();
                if (received->contains("\r\n\r\n"))
                    answer(*socket, *received);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket& socket, QByteArray& request) {
        const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
        targets_.append(target);
        request.clear();
        const Reply reply = replies_.contains(target) ? replies_[target] : fallback_(target);
        if (reply.silent)
            return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) +
                          " Canned\r\nContent-Type: " + reply.contentType +
                          "\r\nContent-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        if (!reply.location.isEmpty())
            head += "Location: " + reply.location + "\r\n";
        socket.write(head + "Connection: close\r\n\r\n" + reply.body);
        socket.disconnectFromHost();
    }

    Fallback fallback_;
    QMap<QByteArray, Reply> replies_;
    QTcpServer server_;
    QList<QByteArray> targets_;
};

} // namespace kivaro::testing
