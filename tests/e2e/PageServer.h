#pragma once

#include <QObject>
#include <QString>
#include <QThread>

class QTcpServer;

namespace kivaro::testing {

// A small web server on 127.0.0.1 for the browser under test, on a thread of its own so that
// it answers while the test blocks in a browser call. "/NAME" is a page titled "Page NAME".
class PageServer {
public:
    PageServer();
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    bool listening() const { return port_ != 0; }
    // "http://127.0.0.1:PORT/NAME"
    QString url(const QString& name) const;
    static QString title(const QString& name) { return QStringLiteral("Page ") + name; }

private:
    QThread thread_;
    QObject* home_ = nullptr; // lives on thread_; owns the server
    quint16 port_ = 0;
};

} // namespace kivaro::testing
