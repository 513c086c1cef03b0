#include "browsers/DevToolsConnection.h"

#include <QHash>
#include <QJsonDocument>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#if QT_CONFIG(ssl)
#include <QSslConfiguration>
#endif
#include <QThread>
#include <QWebSocket>

#include <algorithm>
#include <condition_variable>

namespace kivaro {

namespace {

// Larger answers are not the browser's: a listing of a thousand tabs is well under a megabyte.
constexpr qint64 largestMessage = 32 * 1024 * 1024;
// How long a closing connection waits for the browser to answer its farewell.
constexpr int farewellLimitMs = 500;

// Qt's TLS backend sets itself up (OpenSSL's per-thread random state included) on the first
// thread that needs it, which the first socket would make the connection's thread. That
// thread's state is freed only after QThread::wait() has returned, so a process that exits
// right away loses it; set up on the caller's thread, it is not.
void setUpTlsOnThisThread() {
#if QT_CONFIG(ssl)
    QSslConfiguration::defaultConfiguration();
#endif
}

} // namespace

DevToolsMessage DevToolsMessage::parse(const QString& text) {
    const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
    const QJsonValue result = message.value(QStringLiteral("result"));
    const bool answered = !message.contains(QStringLiteral("error")) && result.isObject();
    return {message.value(QStringLiteral("id")).toInteger(-1),
            answered ? std::optional(result.toObject()) : std::nullopt};
}

// The state the socket's thread publishes to callers.
struct DevToolsConnectionStatus {
    mutable std::mutex mutex;
    DevToolsConnection::State state = DevToolsConnection::State::unknown;
    std::optional<DevToolsEndpoint> endpoint;

    void set(DevToolsConnection::State newState,
             const std::optional<DevToolsEndpoint>& newEndpoint = std::nullopt) {
        const std::lock_guard lock(mutex);
        state = newState;
        if (newEndpoint)
            endpoint = newEndpoint;
    }
};

// One caller's batch of calls (or one HTTP fetch) and the answers as they arrive.
struct DevToolsExchange {
    QList<DevToolsCall> calls;
    QString fetchPath; // set for an HTTP fetch instead of calls

    std::mutex mutex;
    std::condition_variable finished;
    QList<std::optional<QJsonObject>> answers;
    std::optional<QByteArray> body;
    qsizetype outstanding = 0;
    bool done = false;

    void answer(qsizetype slot, std::optional<QJsonObject> result) {
        const std::lock_guard lock(mutex);
        if (done)
            return;
        answers[slot] = std::move(result);
        if (--outstanding == 0)
            finishLocked();
    }

    void deliver(std::optional<QByteArray> result) {
        const std::lock_guard lock(mutex);
        if (done)
            return;
        body = std::move(result);
        finishLocked();
    }

    void fail() {
        const std::lock_guard lock(mutex);
        finishLocked();
    }

    bool wait(QDeadlineTimer deadline) {
        std::unique_lock lock(mutex);
        return finished.wait_for(lock, deadline.remainingTimeAsDuration(), [this] { return done; });
    }

private:
    void finishLocked() {
        done = true;
        finished.notify_all();
    }
};

// The socket's side: lives on the connection's thread and is only ever touched there.
class DevToolsSocket : public QObject {
public:
    DevToolsSocket(DevToolsConnection::Discover discover, QList<DevToolsCall> greeting,
                   std::shared_ptr<DevToolsConnectionStatus> status)
        : discover_(std::move(discover)), greeting_(std::move(greeting)),
          status_(std::move(status)) {}

    void submit(const std::shared_ptr<DevToolsExchange>& exchange) {
        if (ready_) {
            dispatch(exchange);
            return;
        }
        waiting_.append(exchange);
        if (!socket_)
            open();
    }

    // The caller gave up on the exchange: its answers are no longer wanted.
    void forget(const std::shared_ptr<DevToolsExchange>& exchange) {
        waiting_.removeAll(exchange);
        pending_.removeIf([&](auto it) { return it.value().exchange == exchange; });
        // A socket that never finished connecting is abandoned, so that the next call looks
        // for the endpoint afresh instead of waiting behind a peer that does not answer. One
        // that is being greeted is kept: the browser may take a while to open a session, and
        // a session whose socket went away before it opened is never closed again.
        if (socket_ && socket_->state() != QAbstractSocket::ConnectedState)
            drop(DevToolsConnection::State::refused);
    }

private:
    struct Slot {
        std::shared_ptr<DevToolsExchange> exchange;
        qsizetype index = 0;
    };

    void open() {
        const auto endpoint = discover_();
        if (!endpoint) {
            status_->set(DevToolsConnection::State::noEndpoint);
            failAll();
            return;
        }
        endpoint_ = *endpoint;
        // No Origin header: the browser refuses every origin it was not told to allow.
        socket_ = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
        socket_->setMaxAllowedIncomingMessageSize(largestMessage);
        socket_->setMaxAllowedIncomingFrameSize(largestMessage);
        connect(socket_, &QWebSocket::connected, this, [this] { onConnected(); });
        connect(socket_, &QWebSocket::disconnected, this,
                [this] { drop(DevToolsConnection::State::refused); });
        connect(socket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
                [this] { drop(DevToolsConnection::State::refused); });
        connect(socket_, &QWebSocket::textMessageReceived, this,
                [this](const QString& message) { onMessage(message); });
        socket_->open(endpoint->webSocketUrl());
    }

    void onConnected() {
        if (greeting_.isEmpty()) {
            becomeReady();
            return;
        }
        hello_ = std::make_shared<DevToolsExchange>();
        hello_->calls = greeting_;
        hello_->answers = QList<std::optional<QJsonObject>>(greeting_.size());
        hello_->outstanding = greeting_.size();
        dispatch(hello_);
    }

    // Every greeting call has been answered (or one of them refused).
    void greeted() {
        const auto answers = std::exchange(hello_, nullptr)->answers;
        if (std::all_of(answers.begin(), answers.end(),
                        [](const auto& a) { return a.has_value(); }))
            becomeReady();
        else
            drop(DevToolsConnection::State::refused);
    }

    void becomeReady() {
        ready_ = true;
        status_->set(DevToolsConnection::State::connected, endpoint_);
        const auto ready = std::exchange(waiting_, {});
        for (const auto& exchange : ready)
            dispatch(exchange);
    }

    void dispatch(const std::shared_ptr<DevToolsExchange>& exchange) {
        if (!exchange->fetchPath.isEmpty()) {
            fetch(exchange);
            return;
        }
        for (qsizetype index = 0; index < exchange->calls.size(); ++index) {
            const DevToolsCall& call = exchange->calls[index];
            const qint64 id = ++lastId_;
            pending_.insert(id, Slot{exchange, index});
            QJsonObject message{{QStringLiteral("id"), id},
                                {QStringLiteral("method"), call.method},
                                {QStringLiteral("params"), call.params}};
            if (!call.sessionId.isEmpty())
                message.insert(QStringLiteral("sessionId"), call.sessionId);
            socket_->sendTextMessage(
                QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
        }
    }

    void fetch(const std::shared_ptr<DevToolsExchange>& exchange) {
        if (!network_)
            network_ = new QNetworkAccessManager(this);
        QNetworkRequest request(endpoint_.httpUrl(exchange->fetchPath));
        request.setTransferTimeout(fetchLimitMs);
        QNetworkReply* reply = network_->get(request);
        connect(reply, &QNetworkReply::finished, this, [reply, exchange] {
            reply->deleteLater();
            if (reply->error() != QNetworkReply::NoError)
                exchange->deliver(std::nullopt);
            else
                exchange->deliver(reply->read(largestMessage));
        });
    }

    void onMessage(const QString& text) {
        DevToolsMessage message = DevToolsMessage::parse(text);
        const auto slot = pending_.find(message.id);
        if (slot == pending_.end())
            return; // an event, or the answer to a call whose caller gave up
        const Slot answered = slot.value();
        pending_.erase(slot);
        answered.exchange->answer(answered.index, std::move(message.result));
        if (hello_ && answered.exchange == hello_ && hello_->outstanding == 0)
            greeted();
    }

    void drop(DevToolsConnection::State state) {
        if (!socket_)
            return;
        QWebSocket* socket = std::exchange(socket_, nullptr);
        ready_ = false;
        hello_.reset();
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
        status_->set(state);
        failAll();
    }

    void failAll() {
        for (const auto& exchange : std::exchange(waiting_, {}))
            exchange->fail();
        for (const Slot& slot : std::exchange(pending_, {}))
            slot.exchange->fail();
    }

    static constexpr int fetchLimitMs = 2000;

    DevToolsConnection::Discover discover_;
    QList<DevToolsCall> greeting_;
    std::shared_ptr<DevToolsConnectionStatus> status_;
    DevToolsEndpoint endpoint_;
    QWebSocket* socket_ = nullptr;
    bool ready_ = false;                      // connected and greeted
    std::shared_ptr<DevToolsExchange> hello_; // the greeting while it is under way
    QNetworkAccessManager* network_ = nullptr;
    QList<std::shared_ptr<DevToolsExchange>> waiting_;
    QHash<qint64, Slot> pending_;
    qint64 lastId_ = 0;
};

DevToolsConnection::DevToolsConnection(Discover discover, QList<DevToolsCall> greeting,
                                       QList<DevToolsCall> farewell)
    : discover_(std::move(discover)), greeting_(std::move(greeting)),
      farewell_(std::move(farewell)), status_(std::make_shared<DevToolsConnectionStatus>()) {}

DevToolsConnection::~DevToolsConnection() {
    if (!thread_)
        return;
    // A browser may keep a session open after its socket closed, and serve no other program
    // until it restarts; the farewell ends it. A browser that does not answer delays us little.
    if (!farewell_.isEmpty() && state() == State::connected)
        send(farewell_, QDeadlineTimer(farewellLimitMs));
    thread_->quit();
    thread_->wait();
}

void DevToolsConnection::start() {
    std::call_once(started_, [this] {
        setUpTlsOnThisThread();
        thread_ = std::make_unique<QThread>();
        thread_->setObjectName(QStringLiteral("DevTools"));
        socket_ = new DevToolsSocket(discover_, greeting_, status_);
        socket_->moveToThread(thread_.get());
        // The socket and its children are deleted on their own thread as it finishes.
        QObject::connect(thread_.get(), &QThread::finished, socket_, &QObject::deleteLater);
        thread_->start();
    });
}

bool DevToolsConnection::run(const std::shared_ptr<DevToolsExchange>& exchange,
                             QDeadlineTimer deadline) {
    start();
    QMetaObject::invokeMethod(
        socket_, [socket = socket_, exchange] { socket->submit(exchange); }, Qt::QueuedConnection);
    if (exchange->wait(deadline))
        return true;
    QMetaObject::invokeMethod(
        socket_, [socket = socket_, exchange] { socket->forget(exchange); }, Qt::QueuedConnection);
    return false;
}

QList<std::optional<QJsonObject>> DevToolsConnection::send(const QList<DevToolsCall>& calls,
                                                           QDeadlineTimer deadline) {
    QList<std::optional<QJsonObject>> none(calls.size());
    if (calls.isEmpty())
        return none;
    auto exchange = std::make_shared<DevToolsExchange>();
    exchange->calls = calls;
    exchange->answers = none;
    exchange->outstanding = calls.size();
    run(exchange, deadline);
    const std::lock_guard lock(exchange->mutex);
    // Marked done so that answers arriving after the deadline are not written any more.
    exchange->done = true;
    return exchange->answers;
}

std::optional<QJsonObject> DevToolsConnection::send(const DevToolsCall& call,
                                                    QDeadlineTimer deadline) {
    return send(QList<DevToolsCall>{call}, deadline).constFirst();
}

std::optional<QByteArray> DevToolsConnection::fetch(const QString& path, QDeadlineTimer deadline) {
    auto exchange = std::make_shared<DevToolsExchange>();
    exchange->fetchPath = path;
    run(exchange, deadline);
    const std::lock_guard lock(exchange->mutex);
    exchange->done = true;
    return exchange->body;
}

DevToolsConnection::State DevToolsConnection::state() const {
    const std::lock_guard lock(status_->mutex);
    return status_->state;
}

std::optional<DevToolsEndpoint> DevToolsConnection::endpoint() const {
    const std::lock_guard lock(status_->mutex);
    return status_->endpoint;
}

} // namespace kivaro
