#pragma once

#include "support/LocalHttpServer.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

namespace kivaro::testing {

// The test server for a browser under test, on a thread of its own so that it answers while
// the test blocks in a browser call. "/NAME" is a page titled "Page NAME".
class PageServer {
public:
    PageServer() {
        context_.moveToThread(&thread_);
        thread_.start();
        onServerThread([this] {
            server_ = std::make_unique<LocalHttpServer>([](const QByteArray& target) {
                const QByteArray name = target.mid(1);
                return HttpReply{.body = "<!doctype html><html><head><title>Page " + name +
                                         "</title></head><body>" + name + "</body></html>",
                                 .contentType = "text/html; charset=utf-8"};
            });
            if (server_->isListening())
                origin_ = server_->origin().toString();
        });
    }
    ~PageServer() {
        onServerThread([this] { server_.reset(); });
        thread_.quit();
        thread_.wait();
    }

    bool listening() const { return !origin_.isEmpty(); }
    // "http://127.0.0.1:PORT/NAME"
    QString url(const QString& name) const { return origin_ + u'/' + name; }
    static QString title(const QString& name) { return QStringLiteral("Page ") + name; }

private:
    void onServerThread(const std::function<void()>& work) {
        QMetaObject::invokeMethod(&context_, work, Qt::BlockingQueuedConnection);
    }

    QThread thread_;
    QObject context_; // lives on thread_
    std::unique_ptr<LocalHttpServer> server_;
    QString origin_;
};

} // namespace kivaro::testing
