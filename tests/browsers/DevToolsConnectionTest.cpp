#include "browsers/DevToolsConnection.h"

#include "browsers/DevToolsBrowser.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/ScopedEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMetaObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QWebSocket>
#include <QWebSocketServer>

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace kivaro {
namespace {

// A browser endpoint that answers by the method's name, on a thread of its own:
// "Good" answers a result, "Error" an error, "Junk" garbage first and then a result that is no
// object, "Silent" nothing at all, "Close" closes the connection; any other method gets an
// empty result.
class FakeEndpoint {
public:
    explicit FakeEndpoint(bool speaksWebSocket = true) {
        home_ = new QObject;
        home_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, home_, &QObject::deleteLater);
        thread_.start();
        QMetaObject::invokeMethod(
            home_, [this, speaksWebSocket] { port_ = speaksWebSocket ? serve() : hang(); },
            Qt::BlockingQueuedConnection);
    }

    ~FakeEndpoint() {
        thread_.quit();
        thread_.wait();
    }

    std::optional<DevToolsEndpoint> endpoint() const {
        return DevToolsEndpoint{port_, QStringLiteral("/devtools/browser/fake"), {}};
    }

    int connections() const { return connections_; }
    bool sawOrigin() const { return sawOrigin_; }

private:
    quint16 serve() {
        auto* server =
            new QWebSocketServer(QStringLiteral("fake"), QWebSocketServer::NonSecureMode, home_);
        QObject::connect(server, &QWebSocketServer::newConnection, server, [this, server] {
            while (QWebSocket* socket = server->nextPendingConnection()) {
                socket->setParent(server); // goes with the server
                ++connections_;
                sawOrigin_ = sawOrigin_ || !socket->origin().isEmpty();
                QObject::connect(socket, &QWebSocket::textMessageReceived, socket,
                                 [socket](const QString& text) { answer(socket, text); });
            }
        });
        return server->listen(QHostAddress::LocalHost) ? server->serverPort() : 0;
    }

    // Accepts connections and never says a word, as a hung browser would.
    quint16 hang() {
        auto* server = new QTcpServer(home_);
        return server->listen(QHostAddress::LocalHost) ? server->serverPort() : 0;
    }

    static void send(QWebSocket* socket, const QJsonObject& message) {
        socket->sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
    }

    static void answer(QWebSocket* socket, const QString& text) {
        const QJsonObject call = QJsonDocument::fromJson(text.toUtf8()).object();
        const QJsonValue id = call.value(QStringLiteral("id"));
        const QString method = call.value(QStringLiteral("method")).toString();
        send(socket, {{QStringLiteral("method"), QStringLiteral("Target.targetCreated")}});
        if (method == u"Good")
            send(socket, {{QStringLiteral("id"), id},
                          {QStringLiteral("result"), QJsonObject{{QStringLiteral("ok"), true}}}});
        else if (method == u"Error")
            send(socket, {{QStringLiteral("id"), id},
                          {QStringLiteral("error"),
                           QJsonObject{{QStringLiteral("message"), QStringLiteral("no")}}}});
        else if (method == u"Junk") {
            socket->sendTextMessage(QStringLiteral("not json at all"));
            send(socket, {{QStringLiteral("id"), QStringLiteral("x")}});
            send(socket, {{QStringLiteral("id"), id}, {QStringLiteral("result"), 5}});
        } else if (method == u"Close") {
            socket->close();
        } else if (method != u"Silent") {
            send(socket, {{QStringLiteral("id"), id}, {QStringLiteral("result"), QJsonObject()}});
        }
    }

    QThread thread_;
    QObject* home_ = nullptr;
    quint16 port_ = 0;
    std::atomic<int> connections_ = 0;
    std::atomic<bool> sawOrigin_ = false;
};

DevToolsCall named(const char* method) {
    return DevToolsCall{QString::fromUtf8(method), {}, {}};
}

const QJsonObject good{{QStringLiteral("ok"), true}};

TEST(DevToolsConnection, AnswersEachCallOfABatchOrNothingForItsFailure) {
    FakeEndpoint fake;
    DevToolsConnection connection([&] { return fake.endpoint(); });
    const auto answers = connection.send(
        {named("Good"), named("Error"), named("Junk"), named("Good")}, QDeadlineTimer(10000));
    EXPECT_EQ(answers, (QList<std::optional<QJsonObject>>{good, std::nullopt, std::nullopt, good}));
    EXPECT_EQ(connection.state(), DevToolsConnection::State::connected);
    EXPECT_EQ(connection.endpoint(), fake.endpoint());
    EXPECT_FALSE(fake.sawOrigin());
    EXPECT_TRUE(connection.send(QList<DevToolsCall>{}, QDeadlineTimer(10)).isEmpty());
}

TEST(DevToolsConnection, AnUnansweredCallEndsAtItsDeadlineAndTheConnectionStaysUsable) {
    FakeEndpoint fake;
    DevToolsConnection connection([&] { return fake.endpoint(); });
    EXPECT_EQ(connection.send(named("Silent"), QDeadlineTimer(200)), std::nullopt);
    EXPECT_EQ(connection.send(named("Good"), QDeadlineTimer(10000)), good);
    EXPECT_EQ(fake.connections(), 1);
}

TEST(DevToolsConnection, ReopensTheConnectionWhenItDrops) {
    FakeEndpoint fake;
    DevToolsConnection connection([&] { return fake.endpoint(); });
    EXPECT_EQ(connection.send(named("Good"), QDeadlineTimer(10000)), good);
    EXPECT_EQ(connection.send(named("Close"), QDeadlineTimer(10000)), std::nullopt);
    EXPECT_EQ(connection.send(named("Good"), QDeadlineTimer(10000)), good);
    EXPECT_EQ(fake.connections(), 2);
}

TEST(DevToolsConnection, AHungPeerOrNoEndpointGivesNothing) {
    FakeEndpoint hung(false);
    DevToolsConnection stuck([&] { return hung.endpoint(); });
    EXPECT_EQ(stuck.send(named("Good"), QDeadlineTimer(300)), std::nullopt);
    EXPECT_NE(stuck.state(), DevToolsConnection::State::connected);
    // The abandoned attempt does not hold up the next call.
    EXPECT_EQ(stuck.send(named("Good"), QDeadlineTimer(300)), std::nullopt);
    EXPECT_EQ(stuck.fetch(QStringLiteral("/json/list"), QDeadlineTimer(300)), std::nullopt);

    DevToolsConnection nowhere([] { return std::optional<DevToolsEndpoint>(); });
    EXPECT_EQ(nowhere.send(named("Good"), QDeadlineTimer(10000)), std::nullopt);
    EXPECT_EQ(nowhere.state(), DevToolsConnection::State::noEndpoint);
    EXPECT_EQ(nowhere.endpoint(), std::nullopt);
}

TEST(DevToolsConnection, CallersOnManyThreadsEachGetTheirOwnAnswers) {
    FakeEndpoint fake;
    DevToolsConnection connection([&] { return fake.endpoint(); });
    std::atomic<int> answered = 0;
    std::vector<std::thread> callers;
    for (int caller = 0; caller < 4; ++caller)
        callers.emplace_back([&] {
            for (int call = 0; call < 25; ++call) {
                const auto answers =
                    connection.send({named("Good"), named("Error")}, QDeadlineTimer(10000));
                if (answers == QList<std::optional<QJsonObject>>{good, std::nullopt})
                    ++answered;
            }
        });
    for (auto& caller : callers)
        caller.join();
    EXPECT_EQ(answered, 100);
    EXPECT_EQ(fake.connections(), 1);
}

// Writes a DevToolsActivePort file for `endpoint` into `folder`, dated `written`.
void writePortFile(const QString& folder, const DevToolsEndpoint& endpoint,
                   const QDateTime& written) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/DevToolsActivePort"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(endpoint.port) + '\n' + endpoint.path.toUtf8());
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
}

TEST(DevToolsBrowserDiscovery, FollowsThePortFileWrittenLast) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const testing::ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    FakeEndpoint live;
    // A port nobody listens on any more, as a browser that quit leaves it.
    const DevToolsEndpoint stale = [] {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        return DevToolsEndpoint{closed.serverPort(), QStringLiteral("/devtools/browser/old"), {}};
    }();
    const QDateTime earlier = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDateTime later = QDateTime::currentDateTimeUtc();
    writePortFile(home.filePath(QStringLiteral("browser")), stale, earlier);
    writePortFile(home.filePath(QStringLiteral("browser-kivaro")), *live.endpoint(), later);

    const auto snapshots = PosixPrivateFolder::forSnapshots();
    const QStringList folders{QStringLiteral("browser"), QStringLiteral("browser-kivaro")};
    const DevToolsBrowser dedicated(QStringLiteral("id"), QStringLiteral("Name"), folders,
                                    *snapshots);
    EXPECT_TRUE(dedicated.reachable());
    EXPECT_EQ(dedicated.status(), QString());

    writePortFile(home.filePath(QStringLiteral("browser")), stale, later.addSecs(1));
    const DevToolsBrowser fooled(QStringLiteral("id"), QStringLiteral("Name"), folders, *snapshots);
    EXPECT_FALSE(fooled.reachable());
    EXPECT_TRUE(fooled.status().startsWith(QStringLiteral("Name is not running")));
}

} // namespace
} // namespace kivaro
