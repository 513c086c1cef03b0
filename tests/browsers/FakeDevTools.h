#pragma once

#include "browsers/DevToolsEndpoint.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QWebSocket>
#include <QWebSocketServer>

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>

namespace kivaro::testing {

using namespace Qt::StringLiterals;

// A browser's DevTools endpoint on a thread of its own, serving the WebSocket and the HTTP
// listing on one port as Chromium does. Test methods answer by name: "Good" a result, "Error"
// an error, "Junk" garbage and then a result that is no object, "Silent" nothing, "Close"
// closes the connection. The Target and Browser methods act on a small model of pages and
// windows; every call that changes something is logged as "[page ]Method {params}". The same
// model answers WebDriver BiDi: tabs in id order, the most recently shown page of a window
// visible, and the window of the first page active.
class FakeDevTools {
public:
    struct Page {
        QString id;
        QString url;
        qint64 window = 1;
    };

    explicit FakeDevTools(bool speaksWebSocket = true) {
        home_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, home_, &QObject::deleteLater);
        thread_.start();
        QMetaObject::invokeMethod(
            home_, [this, speaksWebSocket] { port_ = listen(speaksWebSocket); },
            Qt::BlockingQueuedConnection);
    }

    ~FakeDevTools() {
        thread_.quit();
        thread_.wait();
    }

    std::optional<DevToolsEndpoint> endpoint() const {
        return DevToolsEndpoint{port_, u"/devtools/browser/fake"_s, {}};
    }

    int connections() const { return connections_; }
    bool sawOrigin() const { return sawOrigin_; }

    // The pages, most recently shown first.
    void setPages(QList<Page> pages) {
        const std::lock_guard lock(mutex_);
        pages_ = std::move(pages);
    }
    // Shows the page, as a click on its tab would.
    void show(const QString& id) {
        const std::lock_guard lock(mutex_);
        showLocked(id);
    }
    // Opens a session for another program: like Firefox, the fake serves one session at a time
    // and answers session.new with an error until session.end.
    void refuseSessions() {
        const std::lock_guard lock(mutex_);
        sessionOpen_ = true;
    }
    QStringList log() const {
        const std::lock_guard lock(mutex_);
        return log_;
    }

private:
    quint16 listen(bool speaksWebSocket) {
        auto* server = new QTcpServer(home_);
        if (speaksWebSocket) {
            sockets_ = new QWebSocketServer(u"fake"_s, QWebSocketServer::NonSecureMode, home_);
            QObject::connect(sockets_, &QWebSocketServer::newConnection, sockets_,
                             [this] { accepted(); });
            QObject::connect(server, &QTcpServer::newConnection, server, [this, server] {
                while (QTcpSocket* socket = server->nextPendingConnection())
                    QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                     [this, socket] { route(socket); });
            });
        }
        return server->listen(QHostAddress::LocalHost) ? server->serverPort() : 0;
    }

    // Hands a WebSocket handshake to the WebSocket server and answers HTTP requests itself.
    void route(QTcpSocket* socket) {
        const QByteArray head = socket->peek(socket->bytesAvailable());
        if (!head.contains("\r\n\r\n"))
            return;
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        if (head.toLower().contains("upgrade: websocket")) {
            sockets_->handleConnection(socket);
            return;
        }
        socket->readAll();
        const bool listing = head.startsWith("GET /json/list ");
        const QByteArray body = listing ? listingBody() : QByteArray("no");
        socket->write((listing ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                      QByteArray("\r\nContent-Type: application/json\r\nContent-Length: ") +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    void accepted() {
        while (QWebSocket* socket = sockets_->nextPendingConnection()) {
            socket->setParent(sockets_); // goes with the server
            ++connections_;
            sawOrigin_ = sawOrigin_ || !socket->origin().isEmpty();
            QObject::connect(socket, &QWebSocket::textMessageReceived, socket,
                             [this, socket](const QString& text) { answer(socket, text); });
        }
    }

    QByteArray listingBody() const {
        const std::lock_guard lock(mutex_);
        QJsonArray listing;
        for (const Page& page : pages_)
            listing.append(QJsonObject{{u"id"_s, page.id},
                                       {u"type"_s, u"page"_s},
                                       {u"title"_s, page.id},
                                       {u"url"_s, page.url}});
        return QJsonDocument(listing).toJson();
    }

    static QJsonObject json(const QString& text) {
        return QJsonDocument::fromJson(text.toUtf8()).object();
    }

    static void send(QWebSocket* socket, const QJsonObject& message) {
        socket->sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
    }

    void answer(QWebSocket* socket, const QString& text) {
        const QJsonObject call = json(text);
        const QJsonValue id = call.value(u"id"_s);
        const QString method = call.value(u"method"_s).toString();
        send(socket, {{u"method"_s, u"Target.targetCreated"_s}});
        if (method == u"Junk") {
            socket->sendTextMessage(u"not json at all"_s);
            send(socket, {{u"id"_s, u"x"_s}});
            send(socket, {{u"id"_s, id}, {u"result"_s, 5}});
        } else if (method == u"Close") {
            socket->close();
        } else if (method != u"Silent") {
            const auto result = act(method, call.value(u"params"_s).toObject(),
                                    call.value(u"sessionId"_s).toString());
            send(socket, {{u"id"_s, id},
                          result ? std::pair{u"result"_s, QJsonValue(*result)}
                                 : std::pair{u"error"_s, QJsonValue(QJsonObject{{u"code"_s, 1}})}});
        }
    }

    const Page* find(const QString& id) const {
        const auto page = std::find_if(pages_.begin(), pages_.end(),
                                       [&](const Page& each) { return each.id == id; });
        return page == pages_.end() ? nullptr : &*page;
    }

    // The visible page of the window `page` is in: the most recently shown of that window.
    bool visible(const Page& page) const {
        return std::find_if(pages_.begin(), pages_.end(), [&](const Page& each) {
                   return each.window == page.window;
               })->id == page.id;
    }

    std::optional<QJsonObject> act(const QString& method, const QJsonObject& params,
                                   const QString& session) {
        const std::lock_guard lock(mutex_);
        const QString target = params.value(u"targetId"_s).toString();
        const Page* page =
            find(target.isEmpty() ? params[u"target"][u"context"].toString() : target);
        if (method == u"Error" || ((!target.isEmpty() || method == u"script.evaluate") && !page) ||
            (method == u"session.new" && std::exchange(sessionOpen_, true)))
            return std::nullopt;
        if (method == u"session.end")
            sessionOpen_ = false;
        if (method == u"Good")
            return QJsonObject{{u"ok"_s, true}};
        if (method == u"script.evaluate")
            return json(uR"({"type": "success", "result": {"value": )"
                        R"([{"value": "%1"}, {"value": "%2"}]}})"_s.arg(
                            page->id, visible(*page) ? u"visible" : u"hidden"));
        if (method == u"browsingContext.getTree") {
            QList<Page> byId = pages_;
            std::sort(byId.begin(), byId.end(), [](auto& a, auto& b) { return a.id < b.id; });
            QJsonArray contexts;
            for (const Page& each : byId)
                contexts.append(QJsonObject{{u"context"_s, each.id},
                                            {u"url"_s, each.url},
                                            {u"clientWindow"_s, QString::number(each.window)}});
            return QJsonObject{{u"contexts"_s, contexts}};
        }
        if (method == u"browser.getClientWindows" && !pages_.isEmpty())
            return json(uR"({"clientWindows": [{"active": true, "clientWindow": "%1"}]})"_s.arg(
                pages_[0].window));
        if (method == u"Target.attachToTarget")
            return QJsonObject{{u"sessionId"_s, target}};
        if (method == u"Browser.getWindowForTarget")
            return json(uR"({"windowId": %1, "bounds": {"windowState": "%2"}})"_s.arg(
                QString::number(page->window),
                fullScreen_.contains(page->window) ? u"fullscreen" : u"normal"));
        if (method == u"Page.getNavigationHistory")
            return json(
                uR"({"currentIndex": 1, "entries": [{"id": 11}, {"id": 12}, {"id": 13}]})"_s);
        if (method.startsWith(u"session.") || method == u"Target.detachFromTarget" ||
            method == u"Browser.getVersion")
            return QJsonObject();
        log_.append((session.isEmpty() ? QString() : session + u' ') + method + u' ' +
                    QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact)));
        // The page acted on: a target of the DevTools protocol or a context of BiDi.
        const QString id = target.isEmpty() ? params.value(u"context"_s).toString() : target;
        if (method == u"Target.closeTarget" || method == u"browsingContext.close")
            pages_.removeIf([&](const Page& each) { return each.id == id; });
        else if (method == u"Target.activateTarget" || method == u"browsingContext.activate")
            showLocked(id);
        else if (method == u"Browser.setWindowBounds") {
            const qint64 window = params.value(u"windowId"_s).toInteger();
            fullScreen_.removeAll(window);
            if (params[u"bounds"_s][u"windowState"_s].toString() == u"fullscreen")
                fullScreen_.append(window);
        }
        return QJsonObject();
    }

    void showLocked(const QString& id) {
        for (qsizetype i = 0; i < pages_.size(); ++i)
            if (pages_[i].id == id)
                pages_.move(i, 0);
    }

    QThread thread_;
    QObject* home_ = new QObject;
    QWebSocketServer* sockets_ = nullptr;
    quint16 port_ = 0;
    std::atomic<int> connections_ = 0;
    std::atomic<bool> sawOrigin_ = false;
    mutable std::mutex mutex_;
    QList<Page> pages_;
    QList<qint64> fullScreen_;
    bool sessionOpen_ = false; // under mutex_
    QStringList log_;
};

// Writes a DevToolsActivePort file for `endpoint` into `folder`, dated `written`.
inline void writePortFile(const QString& folder, const DevToolsEndpoint& endpoint,
                          const QDateTime& written = QDateTime::currentDateTimeUtc()) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + u"/DevToolsActivePort"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(endpoint.port) + '\n' + endpoint.path.toUtf8());
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
}

} // namespace kivaro::testing
