#include "LocalHttpServer.h"

#include <QTcpSocket>

namespace kivaro::testing {

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalHttpServer::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort());
}

void LocalHttpServer::answer(const QString& path, const Answer& answer) {
    answers_.insert(path, answer);
}

int LocalHttpServer::totalRequests() const {
    int total = 0;
    for (const int count : requests_)
        total += count;
    return total;
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    // The whole request head arrives at once on loopback; wait for it otherwise.
    const QByteArray head = socket->property("pending").toByteArray() + socket->readAll();
    socket->setProperty("pending", head);
    if (!head.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    requests_[path] += 1;
    const Answer found = answers_.value(path, Answer{404, "text/html", "<html>missing</html>", {}});
    QByteArray response = "HTTP/1.0 " + QByteArray::number(found.status) + " Answer\r\n";
    response += "Content-Type: " + found.contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(found.body.size()) + "\r\n";
    if (!found.location.isEmpty())
        response += "Location: " + found.location + "\r\n";
    response += "Connection: close\r\n\r\n" + found.body;
    socket->write(response);
    socket->disconnectFromHost();
}

} // namespace kivaro::testing
