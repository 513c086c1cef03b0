#include "search/Suggestions.h"

#include "support/LocalHttpServer.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// The request one source makes for `query` on the site `host`, as one line.
QString requested(const QString& query, const SuggestSource& source, const QString& host = {}) {
    const auto url = Suggestions::endpoint(query, source, host);
    return url ? url->toString() : u"(none)"_s;
}

TEST(SuggestionsEndpointTest, EachSourceAsksItsService) {
    EXPECT_EQ(requested(u"kivaro"_s, SuggestSource::google()),
              u"https://suggestqueries.google.com/complete/search?client=firefox&ie=utf-8&oe=utf-8"
              u"&q=kivaro"_s);
    EXPECT_TRUE(requested(u"lofi"_s, SuggestSource::google(u"yt"_s)).endsWith(u"&q=lofi&ds=yt"_s));
    EXPECT_EQ(requested(u"lisbon"_s, SuggestSource::wikipedia()),
              u"https://en.wikipedia.org/w/api.php?action=opensearch&format=json&limit=8"
              u"&search=lisbon"_s);
    EXPECT_EQ(requested(u"qt"_s, SuggestSource::duckDuckGo()),
              u"https://duckduckgo.com/ac/?q=qt&type=list"_s);
    EXPECT_EQ(requested(u"qt"_s, SuggestSource::none(), u"github.com"_s), u"(none)"_s);
}

TEST(SuggestionsEndpointTest, AmazonAsksTheStorefrontOfTheSite) {
    EXPECT_EQ(Suggestions::amazonMarketplaces().size(), 14);
    EXPECT_EQ(requested(u"kettle"_s, SuggestSource::amazon(), u"amazon.de"_s),
              u"https://completion.amazon.de/api/2017/suggestions?mid=A1PA6795UKMFR9&alias=aps"
              u"&prefix=kettle"_s);
    EXPECT_TRUE(requested(u"x"_s, SuggestSource::amazon(), u"amazon.com.au"_s)
                    .startsWith(u"https://completion.amazon.com.au/"_s));
    for (const QString& host : {u"amazon.cn"_s, QString()})
        EXPECT_EQ(requested(u"x"_s, SuggestSource::amazon(), host),
                  u"https://completion.amazon.com/api/2017/suggestions?mid=ATVPDKIKX0DER"
                  u"&alias=aps&prefix=x"_s);
}

TEST(SuggestionsEndpointTest, TheQueryArrivesAsTyped) {
    const QString typed = u"c++ & 100% = a#b 東京 🎸/?"_s;
    const auto url = Suggestions::endpoint(typed, SuggestSource::google(), {});
    ASSERT_TRUE(url);
    const QByteArray encoded = url->toEncoded();
    EXPECT_TRUE(encoded.endsWith(
        "&q=c%2B%2B%20%26%20100%25%20%3D%20a%23b%20%E6%9D%B1%E4%BA%AC%20%F0%9F%8E%B8%2F%3F"))
        << encoded.toStdString();
    EXPECT_EQ(QUrlQuery(QUrl::fromEncoded(encoded)).queryItemValue(u"q"_s, QUrl::FullyDecoded),
              typed);
    // A lone surrogate has no UTF-8 form: no request.
    EXPECT_FALSE(Suggestions::endpoint(QString(QChar(0xDC00)), SuggestSource::google(), {}));
}

TEST(SuggestionsParseTest, OpenSearchReplies) {
    const SuggestSource google = SuggestSource::google();
    EXPECT_EQ(Suggestions::parse(R"(["kiv", ["kivaro", "kivaro app"]])", google),
              QStringList({u"kivaro"_s, u"kivaro app"_s}));
    EXPECT_EQ(Suggestions::parse(R"(["lis", ["Lisbon"], ["capital"], ["https://x"]])",
                                 SuggestSource::wikipedia()),
              QStringList({u"Lisbon"_s}));
    EXPECT_EQ(Suggestions::parse(R"(["q", []])", google), QStringList());
    for (const char* wrong :
         {R"(["q", ["a", 1]])", R"(["q", "a"])", R"(["q"])", R"([])", R"({"q": ["a"]})", R"("a")",
          "42", "null", R"([["a"], "q"])", R"({"suggestions": [{"value": "a"}]})"}) {
        EXPECT_EQ(Suggestions::parse(wrong, google), QStringList()) << wrong;
    }
}

TEST(SuggestionsParseTest, AmazonReplies) {
    const SuggestSource amazon = SuggestSource::amazon();
    EXPECT_EQ(Suggestions::parse(
                  R"({"alias": "aps", "suggestions": [{"value": "kettle"}, {"type": "KEYWORD"},
                      {"value": 7}, {"value": "kettle black", "refTag": "x"}]})",
                  amazon),
              QStringList({u"kettle"_s, u"kettle black"_s}));
    for (const char* wrong : {R"({"suggestions": [{"value": "a"}, 1]})", R"({"suggestions": {}})",
                              R"({"results": [{"value": "a"}]})", R"(["q", ["a"]])", "[]"}) {
        EXPECT_EQ(Suggestions::parse(wrong, amazon), QStringList()) << wrong;
    }
}

TEST(SuggestionsParseTest, HostileRepliesAreCutDown) {
    const SuggestSource google = SuggestSource::google();
    for (const QByteArray& notJson :
         {QByteArray(), QByteArray("<html>Too many requests</html>"), QByteArray("[\"q\", [\"a\""),
          QByteArray("\xff\xfe[\"q\", [\"a\"]]"), QByteArray(100000, '[') + QByteArray(100000, ']'),
          "[\"q\", " + QByteArray(5000, '[') + QByteArray(5000, ']') + "]"}) {
        EXPECT_EQ(Suggestions::parse(notJson, google), QStringList()) << notJson.left(40).data();
    }

    // A megabyte of suggestions: the first twenty are kept.
    QByteArray flood = "[\"q\", [";
    for (int i = 0; i < 60000; ++i)
        flood += "\"suggestion " + QByteArray::number(i) + "\",";
    flood.chop(1);
    flood += "]]";
    ASSERT_GT(flood.size(), 1000000);
    const QStringList kept = Suggestions::parse(flood, google);
    ASSERT_EQ(kept.size(), Suggestions::maxCount);
    EXPECT_EQ(kept.last(), u"suggestion 19"_s);

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

TEST_F(SuggestionsFetchTest, GoodReplyIsParsed) {
    LocalHttpServer server({.body = R"(["kiv", ["kivaro", "kivaro app"]])"});
    ASSERT_TRUE(server.isListening());
    const auto task = fetchFrom(server.origin(), SuggestSource::google(u"yt"_s));
    ASSERT_TRUE(task);
    EXPECT_TRUE(task->isRunning());
    settle();
    EXPECT_EQ(deliveries.last, QStringList({u"kivaro"_s, u"kivaro app"_s}));
    EXPECT_FALSE(task->isRunning());
    ASSERT_EQ(server.targets().size(), 1);
    EXPECT_EQ(server.targets().first(),
              "/complete/search?client=firefox&ie=utf-8&oe=utf-8&q=kiv&ds=yt");
}

TEST_F(SuggestionsFetchTest, FailuresDeliverOneEmptyList) {
    QByteArray huge = "[\"kiv\", [";
    while (huge.size() <= 4 * Suggestions::maxReplyBytes)
        huge += "\"kivaro\",";
    huge += "\"kivaro\"]]";
    const QList<std::pair<const char*, LocalHttpServer::Reply>> replies{
        {"server error", {.status = 500, .body = R"(["kiv", ["kivaro"]])"}},
        {"not found", {.status = 404, .body = R"(["kiv", ["kivaro"]])"}},
        {"not JSON", {.body = "<html><body>Sorry</body></html>"}},
        {"empty body", {.body = {}}},
        {"huge body", {.body = huge}},
    };
    for (const auto& [name, reply] : replies) {
        SCOPED_TRACE(name);
        deliveries = {};
        LocalHttpServer server(reply);
        ASSERT_TRUE(fetchFrom(server.origin()));
        settle();
        EXPECT_EQ(deliveries.last, QStringList());
    }
}

TEST_F(SuggestionsFetchTest, RefusedConnectionDeliversOneEmptyList) {
    ASSERT_TRUE(fetchFrom(LocalHttpServer::refusingOrigin()));
    settle();
    EXPECT_EQ(deliveries.last, QStringList());
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

TEST_F(SuggestionsFetchTest, CancelAfterDeliveryChangesNothing) {
    LocalHttpServer server({.body = R"(["kiv", ["kivaro"]])"});
    auto task = fetchFrom(server.origin());
    ASSERT_TRUE(task);
    settle();
    task->cancel();
    EXPECT_EQ(deliveries.count, 1);
    EXPECT_EQ(deliveries.last, QStringList({u"kivaro"_s}));
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
