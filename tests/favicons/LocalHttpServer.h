#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace kivaro::testing {

// A tiny HTTP/1.0 server on 127.0.0.1 for the favicon tests: each path gets a fixed answer,
// every request is counted, unknown paths get 404. It runs in the test's event loop.
class LocalHttpServer : public QObject {
    Q_OBJECT

public:
    struct Answer {
        int status = 200;
        QByteArray contentType = "image/png";
        QByteArray body;
        // Sent as a Location header (a redirect when the status is 3xx).
        QByteArray location;
    };

    LocalHttpServer();

    bool listening() const { return server_.isListening(); }
    // "127.0.0.1:PORT": the host string the favicon code is given.
    QString host() const;

    void answer(const QString& path, const Answer& answer);
    int requests(const QString& path) const { return requests_.value(path); }
    int totalRequests() const;

private:
    void serve(class QTcpSocket* socket);

    QTcpServer server_;
    QMap<QString, Answer> answers_;
    QHash<QString, int> requests_;
};

} // namespace kivaro::testing
