#include "browsers/DevToolsConnection.h"

#include "FakeDevTools.h"
#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsTabs.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/ScopedEnv.h"

#include <QTcpServer>
#include <QTemporaryDir>

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using testing::writePortFile;
using FakeEndpoint = testing::FakeDevTools;

// A connection to a fake endpoint.
class DevToolsConnectionTest : public ::testing::Test {
protected:
    FakeEndpoint fake;
    DevToolsConnection connection{[this] { return fake.endpoint(); }};
};

DevToolsCall named(const char* method) {
    return DevToolsCall{QString::fromUtf8(method), {}, {}};
}

const QJsonObject good{{u"ok"_s, true}};

TEST_F(DevToolsConnectionTest, AnswersEachCallOfABatchOrNothingForItsFailure) {
    const auto answers = connection.send(
        {named("Good"), named("Error"), named("Junk"), named("Good")}, QDeadlineTimer(10000));
    EXPECT_EQ(answers, (QList<std::optional<QJsonObject>>{good, std::nullopt, std::nullopt, good}));
    EXPECT_EQ(connection.state(), DevToolsConnection::State::connected);
    EXPECT_EQ(connection.endpoint(), fake.endpoint());
    EXPECT_FALSE(fake.sawOrigin());
    EXPECT_TRUE(connection.send(QList<DevToolsCall>{}, QDeadlineTimer(10)).isEmpty());
}

TEST_F(DevToolsConnectionTest, FetchesTheBodyOfAListingOnTheSamePort) {
    fake.setPages({{u"P1"_s, u"https://one.example/"_s}});
    const auto body = connection.fetch(u"/json/list"_s, QDeadlineTimer(10000));
    ASSERT_TRUE(body);
    EXPECT_EQ(DevToolsTabs::pages(*body),
              (QList<DevToolsTabs::Page>{{u"P1"_s, u"P1"_s, u"https://one.example/"_s}}));
    EXPECT_EQ(connection.fetch(u"/json/none"_s, QDeadlineTimer(10000)), std::nullopt);
    EXPECT_EQ(fake.connections(), 1);
}

// An unanswered call ends at its deadline and leaves the connection usable; a dropped
// connection is opened anew.
TEST_F(DevToolsConnectionTest, OutlivesUnansweredCallsAndReopensWhenDropped) {
    EXPECT_EQ(connection.send(named("Silent"), QDeadlineTimer(200)), std::nullopt);
    EXPECT_EQ(connection.send(named("Good"), QDeadlineTimer(10000)), good);
    EXPECT_EQ(fake.connections(), 1);
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
    EXPECT_EQ(stuck.fetch(u"/json/list"_s, QDeadlineTimer(300)), std::nullopt);

    DevToolsConnection nowhere([] { return std::optional<DevToolsEndpoint>(); });
    EXPECT_EQ(nowhere.send(named("Good"), QDeadlineTimer(10000)), std::nullopt);
    EXPECT_EQ(nowhere.state(), DevToolsConnection::State::noEndpoint);
    EXPECT_EQ(nowhere.endpoint(), std::nullopt);
}

TEST_F(DevToolsConnectionTest, CallersOnManyThreadsEachGetTheirOwnAnswers) {
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

TEST(DevToolsBrowserDiscovery, FollowsThePortFileWrittenLast) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const testing::ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    FakeEndpoint live;
    // A port nobody listens on any more, as a browser that quit leaves it.
    const DevToolsEndpoint stale = [] {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        return DevToolsEndpoint{closed.serverPort(), u"/devtools/browser/old"_s, {}};
    }();
    const QDateTime earlier = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDateTime later = QDateTime::currentDateTimeUtc();
    writePortFile(home.filePath(u"browser"_s), stale, earlier);
    writePortFile(home.filePath(u"browser-kivaro"_s), *live.endpoint(), later);

    const auto snapshots = PosixPrivateFolder::forSnapshots();
    const QStringList folders{u"browser"_s, u"browser-kivaro"_s};
    const DevToolsBrowser dedicated(u"id"_s, u"Name"_s, folders, *snapshots);
    EXPECT_TRUE(dedicated.reachable());
    EXPECT_EQ(dedicated.status(), QString());

    writePortFile(home.filePath(u"browser"_s), stale, later.addSecs(1));
    const DevToolsBrowser fooled(u"id"_s, u"Name"_s, folders, *snapshots);
    EXPECT_FALSE(fooled.reachable());
    EXPECT_TRUE(fooled.status().startsWith(u"Name is not running"_s));
}

} // namespace
} // namespace kivaro
