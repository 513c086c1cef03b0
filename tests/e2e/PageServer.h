#pragma once

#include "support/LocalHttpServer.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

namespace kivaro::testing {

// The test server for a browser under test, on a thread of its own so that it answers while
// the test blocks in a browser call. "/NAME" is a page titled "Page NAME".
class PageServer {
public:
    PageServer();
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    bool listening() const { return !origin_.isEmpty(); }
    // "http://127.0.0.1:PORT/NAME"
    QString url(const QString& name) const { return origin_ + u'/' + name; }
    static QString title(const QString& name) { return QStringLiteral("Page ") + name; }

private:
    void onServerThread(const std::function<void()>& work);

    QThread thread_;
    QObject context_; // lives on thread_
    std::unique_ptr<LocalHttpServer> server_;
    QString origin_;
};

} // namespace kivaro::testing
