#include "PageServer.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

namespace kivaro::testing {

namespace {

QByteArray page(const QByteArray& name) {
    const QByteArray body = "<!doctype html><html><head><title>Page " + name +
                            "</title></head><body>" + name + "</body></html>";
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// Answers one request once its first line has arrived.
void answer(QTcpSocket* socket) {
    if (!socket->canReadLine())
        return;
    const QByteArray path = socket->readLine().split(' ').value(1);
    socket->write(page(path.size() > 1 ? path.mid(1) : QByteArray("index")));
    socket->disconnectFromHost();
}

quint16 serve(QObject* home) {
    auto* server = new QTcpServer(home);
    QObject::connect(server, &QTcpServer::newConnection, server, [server] {
        while (QTcpSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return server->listen(QHostAddress::LocalHost) ? server->serverPort() : 0;
}

} // namespace

PageServer::PageServer() {
    home_ = new QObject;
    home_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, home_, &QObject::deleteLater);
    thread_.start();
    QMetaObject::invokeMethod(
        home_, [this] { port_ = serve(home_); }, Qt::BlockingQueuedConnection);
}

PageServer::~PageServer() {
    thread_.quit();
    thread_.wait();
}

QString PageServer::url(const QString& name) const {
    return u"http://127.0.0.1:%1/%2"_s.arg(port_).arg(name);
}

} // namespace kivaro::testing
