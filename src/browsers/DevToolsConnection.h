#pragma once

#include "browsers/DevToolsEndpoint.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

namespace kivaro {

class DevToolsSocket;
struct DevToolsExchange;

// One command of the DevTools protocol.
struct DevToolsCall {
    QString method;
    QJsonObject params;
    QString sessionId; // empty: a command to the browser itself

    bool operator==(const DevToolsCall&) const = default;
};

// One message from the browser, as the connection reads it.
struct DevToolsMessage {
    qint64 id = -1;                    // the call it answers; -1 for an event or anything else
    std::optional<QJsonObject> result; // nothing for an error reply or one without a result

    static DevToolsMessage parse(const QString& text);
};

// One WebSocket connection to a browser's remote-control endpoint, kept open between calls and
// opened again (after looking for the endpoint again) when it drops. The socket lives on a
// thread of its own with its own event loop, so callers on any thread, with or without an
// event loop, simply block until the answers arrive or their deadline passes. Chromium's
// DevTools protocol and WebDriver BiDi frame their messages alike ({id, method, params}
// answered by {id, result} or {id, error}), so both go through here; BiDi only needs a session
// opened first, which the greeting does.
class DevToolsConnection {
public:
    // Where the endpoint is now; asked on the socket's thread before every (re)connection.
    using Discover = std::function<std::optional<DevToolsEndpoint>()>;

    enum class State {
        unknown,    // nothing tried yet
        connected,  // the socket is open
        noEndpoint, // no (well-formed) file naming the endpoint
        refused,    // nobody answers on the port, the greeting failed, or the socket dropped
    };

    // `greeting`: calls sent first on every new socket; the socket only counts as connected
    // once each of them is answered, and is dropped when one fails. `farewell`: calls sent
    // last, when the connection goes while connected, to end what the greeting opened.
    explicit DevToolsConnection(Discover discover, QList<DevToolsCall> greeting = {},
                                QList<DevToolsCall> farewell = {});
    // Says the farewell (waiting a moment at most for its answer), then closes the socket.
    ~DevToolsConnection();
    DevToolsConnection(const DevToolsConnection&) = delete;
    DevToolsConnection& operator=(const DevToolsConnection&) = delete;

    // Sends the calls together and waits for every answer until the deadline. Each answer is
    // the call's result object, or nothing for an error reply, a time-out or a lost connection.
    QList<std::optional<QJsonObject>> send(const QList<DevToolsCall>& calls,
                                           QDeadlineTimer deadline);
    std::optional<QJsonObject> send(const DevToolsCall& call, QDeadlineTimer deadline);

    // The body of an HTTP GET of `path` on the connected endpoint's port ("/json/list"),
    // after making sure the socket is open; nothing on any failure.
    std::optional<QByteArray> fetch(const QString& path, QDeadlineTimer deadline);

    State state() const;
    // The endpoint of the open socket, or of the last one that was open.
    std::optional<DevToolsEndpoint> endpoint() const;

private:
    void start();
    bool run(const std::shared_ptr<DevToolsExchange>& exchange, QDeadlineTimer deadline);

    Discover discover_;
    QList<DevToolsCall> greeting_;
    QList<DevToolsCall> farewell_;
    std::once_flag started_;
    std::unique_ptr<QThread> thread_;
    DevToolsSocket* socket_ = nullptr; // lives on thread_, deleted when it finishes
    std::shared_ptr<struct DevToolsConnectionStatus> status_;
};

} // namespace kivaro
