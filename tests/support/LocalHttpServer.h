#pragma once

// An HTTP server on 127.0.0.1 for tests of network clients: it answers every request with
// one canned reply, or holds the connection open without answering.
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

namespace kivaro::testing {

// Turns the event loop until `done` holds or a generous bound passes; returns `done()`.
inline bool waitUntil(const std::function<bool()>& done, int boundMs = 30000) {
    const QDeadlineTimer deadline(boundMs);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// Lets queued work (replies scheduled for deletion, late signals) run out.
inline void drainEvents() {
    for (int round = 0; round < 20; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

class LocalHttpServer {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        bool silent = false; // read the request but never answer
    };

    explicit LocalHttpServer(Reply reply) : reply_(std::move(reply)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { accept(); });
    }

    bool isListening() const { return server_.isListening(); }
    QUrl origin() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()));
    }
    // The request targets (path and query) received so far.
    const QList<QByteArray>& targets() const { return targets_; }

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
        }
    }

    void answer(QTcpSocket& socket, QByteArray& request) {
        const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
        targets_.append(requestLine.value(1));
        request.clear();
        if (reply_.silent)
            return;
        socket.write("HTTP/1.1 " + QByteArray::number(reply_.status) +
                     " Canned\r\nContent-Type: application/json\r\nContent-Length: " +
                     QByteArray::number(reply_.body.size()) + "\r\nConnection: close\r\n\r\n");
        socket.write(reply_.body);
        socket.disconnectFromHost();
    }

    Reply reply_;
    QTcpServer server_;
    QList<QByteArray> targets_;
};

} // namespace kivaro::testing
