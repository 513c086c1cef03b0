#include "PageServer.h"

#include <QMetaObject>

namespace kivaro::testing {

namespace {

HttpReply page(const QByteArray& target) {
    const QByteArray name = target.size() > 1 ? target.mid(1) : QByteArray("index");
    return {.body = "<!doctype html><html><head><title>Page " + name + "</title></head><body>" +
                    name + "</body></html>",
            .contentType = "text/html; charset=utf-8"};
}

} // namespace

PageServer::PageServer() {
    context_.moveToThread(&thread_);
    thread_.start();
    onServerThread([this] {
        server_ = std::make_unique<LocalHttpServer>(&page);
        if (server_->isListening())
            origin_ = server_->origin().toString();
    });
}

PageServer::~PageServer() {
    onServerThread([this] { server_.reset(); });
    thread_.quit();
    thread_.wait();
}

void PageServer::onServerThread(const std::function<void()>& work) {
    QMetaObject::invokeMethod(&context_, work, Qt::BlockingQueuedConnection);
}

} // namespace kivaro::testing
