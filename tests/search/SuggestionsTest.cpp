#include "search/Suggestions.h"

#include "support/FixtureRows.h"
#include "support/LocalHttpServer.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// A source by its name in the fixture tables, its kind's name and any "ds" after a colon:
// "google", "google:yt", "amazon" ...
SuggestSource source(const QString& name) {
    const QStringList kinds{u"google"_s, u"none"_s, u"wikipedia"_s, u"duckDuckGo"_s, u"amazon"_s};
    const QString kind = name.section(u':', 0, 0);
    EXPECT_TRUE(kinds.contains(kind)) << name.toStdString();
    return {SuggestSource::Kind(kinds.indexOf(kind)), name.section(u':', 1)};
}

TEST(SuggestionsEndpointTest, EachSourceAsksItsServiceWithTheQueryAsTyped) {
    for (const QStringList& row : fixtureRows(u"suggest-requests.txt"_s, 4)) {
        const auto url = Suggestions::endpoint(row[2], source(row[0]), row[1]);
        EXPECT_EQ(url ? QString::fromUtf8(url->toEncoded()) : u"(none)"_s, row[3]);
    }
    // A lone surrogate has no UTF-8 form: no request.
    EXPECT_FALSE(Suggestions::endpoint(QString(QChar(0xDC00)), SuggestSource::google(), {}));
}

TEST(SuggestionsParseTest, RepliesOfEachShape) {
    for (const QStringList& row : fixtureRows(u"suggest-replies.txt"_s, 3)) {
        EXPECT_EQ(Suggestions::parse(row[1].toUtf8(), source(row[0])).join(u'|'), row[2])
            << row[1].toStdString();
    }
}

TEST(SuggestionsParseTest, HostileRepliesAreCutDown) {
    const SuggestSource google = SuggestSource::google();
    for (const QByteArray& notJson :
         {QByteArray(), QByteArray("\xff\xfe[\"q\", [\"a\"]]"),
          QByteArray(100000, '[') + QByteArray(100000, ']'),
          "[\"q\", " + QByteArray(5000, '[') + QByteArray(5000, ']') + "]"}) {
        EXPECT_EQ(Suggestions::parse(notJson, google), QStringList()) << notJson.left(40).data();
    }

    // A megabyte of suggestions: the first twenty are kept.
    QByteArray flood = "[\"q\", [\"suggestion 0\"";
    for (int i = 1; i < 60000; ++i)
        flood += ",\"suggestion " + QByteArray::number(i) + '"';
    const QStringList kept = Suggestions::parse(flood + "]]", google);
    EXPECT_EQ(kept.size(), Suggestions::maxCount);
    EXPECT_EQ(kept.value(Suggestions::maxCount - 1), u"suggestion 19"_s);

    // Over-long, blank and broken strings are no suggestions.
    const QByteArray longest(Suggestions::maxLength, 'a');
    const QByteArray tooLong(Suggestions::maxLength + 1, 'b');
    EXPECT_EQ(Suggestions::parse("[\"q\", [\"" + tooLong + "\", \"" + longest +
                                     "\", \"  \", \"\", \"\\ud800x\", \"ok\"]]",
                                 google),
              QStringList({QString::fromLatin1(longest), u"ok"_s}));
    // Invalid UTF-8 inside a string: the reply is refused or its text repaired, never kept
    // broken.
    for (const QString& text : Suggestions::parse("[\"q\", [\"\xc3\x28\", \"ok\"]]", google))
        EXPECT_TRUE(QStringView(text).isValidUtf16());
}

// One request against a local server: what `done` received, and how often.
struct Deliveries {
    int count = 0;
    QStringList last;
};

class SuggestionsFetchTest : public ::testing::Test {
protected:
    void TearDown() override { Suggestions::redirectForTesting(std::nullopt); }

    std::optional<SuggestionTask> fetchFrom(const QUrl& origin,
                                            const SuggestSource& source = SuggestSource::google()) {
        Suggestions::redirectForTesting(origin);
        return Suggestions::fetch(u"kiv"_s, source, QString(), [this](const QStringList& list) {
            ++deliveries.count;
            deliveries.last = list;
        });
    }

    // Waits for the delivery, then lets everything still queued run: no second one may come.
    void settle() {
        EXPECT_TRUE(waitUntil([&] { return deliveries.count > 0; }));
        drainEvents();
        EXPECT_EQ(deliveries.count, 1);
    }

    Deliveries deliveries;
};

TEST_F(SuggestionsFetchTest, GoodReplyIsParsedAndDeliveredOnce) {
    LocalHttpServer server({.body = R"(["kiv", ["kivaro", "kivaro app"]])"});
    ASSERT_TRUE(server.isListening());
    auto task = fetchFrom(server.origin(), SuggestSource::google(u"yt"_s));
    ASSERT_TRUE(task && task->isRunning());
    settle();
    EXPECT_EQ(deliveries.last, QStringList({u"kivaro"_s, u"kivaro app"_s}));
    EXPECT_FALSE(task->isRunning());
    EXPECT_EQ(server.targets(),
              QList<QByteArray>{"/complete/search?client=firefox&ie=utf-8&oe=utf-8&q=kiv&ds=yt"});
    task->cancel(); // after the delivery: changes nothing
    EXPECT_EQ(deliveries.count, 1);
}

TEST_F(SuggestionsFetchTest, FailuresDeliverOneEmptyList) {
    QByteArray huge = "[\"kiv\", [";
    while (huge.size() <= 4 * Suggestions::maxReplyBytes)
        huge += "\"kivaro\",";
    huge += "\"kivaro\"]]";
    // No reply: nothing listens.
    const QList<std::pair<const char*, std::optional<LocalHttpServer::Reply>>> replies{
        {"server error", LocalHttpServer::Reply{.status = 500, .body = R"(["kiv", ["kivaro"]])"}},
        {"not found", LocalHttpServer::Reply{.status = 404, .body = R"(["kiv", ["kivaro"]])"}},
        {"not JSON", LocalHttpServer::Reply{.body = "<html><body>Sorry</body></html>"}},
        {"empty body", LocalHttpServer::Reply{.body = {}}},
        {"huge body", LocalHttpServer::Reply{.body = huge}},
        {"refused connection", std::nullopt},
    };
    for (const auto& [name, reply] : replies) {
        SCOPED_TRACE(name);
        deliveries = {};
        LocalHttpServer server(reply.value_or(LocalHttpServer::Reply{}));
        ASSERT_TRUE(fetchFrom(reply ? server.origin() : LocalHttpServer::refusingOrigin()));
        settle();
        EXPECT_EQ(deliveries.last, QStringList());
    }
}

TEST_F(SuggestionsFetchTest, CancellingASlowReplyDeliversOnceAtOnce) {
    LocalHttpServer server({.silent = true});
    auto task = fetchFrom(server.origin());
    ASSERT_TRUE(task);
    ASSERT_TRUE(waitUntil([&] { return !server.targets().isEmpty(); }));
    EXPECT_EQ(deliveries.count, 0);
    task->cancel();
    EXPECT_EQ(deliveries.count, 1);
    EXPECT_FALSE(task->isRunning());
    task->cancel();
    const SuggestionTask copy = *task;
    SuggestionTask(copy).cancel();
    drainEvents();
    EXPECT_EQ(deliveries.count, 1);
    EXPECT_EQ(deliveries.last, QStringList());
}

TEST_F(SuggestionsFetchTest, DroppedTaskStillDeliversAndSourcesWithoutServiceAskNothing) {
    LocalHttpServer server({.body = R"(["kiv", ["kivaro"]])"});
    {
        const auto dropped = fetchFrom(server.origin());
        ASSERT_TRUE(dropped);
    }
    settle();
    EXPECT_EQ(deliveries.last, QStringList({u"kivaro"_s}));

    EXPECT_FALSE(fetchFrom(server.origin(), SuggestSource::none()));
    drainEvents();
    EXPECT_EQ(deliveries.count, 1);
    EXPECT_EQ(server.targets().size(), 1);
}

} // namespace
