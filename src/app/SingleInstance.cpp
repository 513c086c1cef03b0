#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace kivaro {

namespace {

// A running copy answers at once; one that hangs is not worth waiting longer for.
constexpr int answerMs = 2000;

} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOver() const {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(answerMs))
        return false;
    socket.write(reopenMessage);
    const bool sent = socket.waitForBytesWritten(answerMs);
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::listen(std::function<void()> reopen) {
    reopen_ = std::move(reopen);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered handOver(), so a socket file there is a crashed copy's.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_))
        return false;
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // The message may come in pieces; wait for its line, but no longer than its size.
            if (!socket->canReadLine() && socket->bytesAvailable() < reopenMessage.size())
                return;
            // Anything but the one message is not from a copy of ours.
            const QByteArray got = socket->readLine(reopenMessage.size() + 1);
            socket->disconnectFromServer();
            if (got == reopenMessage && reopen_)
                reopen_();
        });
    }
}

} // namespace kivaro
