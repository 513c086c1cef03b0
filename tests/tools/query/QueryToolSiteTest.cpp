#include "ToolRun.h"
#include "search/Suggestions.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

QStringList field(const QJsonArray& rows, QStringView key, const QString& kind = {}) {
    QStringList values;
    for (const auto& row : rows) {
        const QJsonObject object = row.toObject();
        if (kind.isEmpty() || object.value(u"kind").toString() == kind)
            values.append(object.value(key).toString());
    }
    return values;
}

QStringList openedUrls(const QJsonArray& rows) {
    QStringList urls;
    for (const auto& row : rows)
        urls.append(row.toObject().value(u"action").toObject().value(u"url").toString());
    return urls;
}

TEST(QueryToolSiteTest, EmptyQueryOpensTheSiteAndListsItsPages) {
    const ToolRun run =
        runTool({u"--state"_s, sampleState, u"--site"_s, u"https://www.YouTube.com/feed"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject site = run.json().value(u"site").toObject();
    EXPECT_EQ(site.value(u"name").toString(), u"YouTube"_s);
    EXPECT_EQ(site.value(u"host").toString(), u"youtube.com"_s);
    EXPECT_EQ(site.value(u"color").toString(), u"#FF0033"_s);
    EXPECT_EQ(site.value(u"template").toString(),
              u"https://www.youtube.com/results?search_query=%s"_s);
    EXPECT_TRUE(run.json().value(u"completion").isNull());
    EXPECT_EQ(field(run.rows(), u"title"),
              QStringList({u"Open YouTube"_s, u"Rick Astley - Never Gonna Give You Up"_s}));
    EXPECT_EQ(
        openedUrls(run.rows()),
        QStringList({u"https://youtube.com"_s, u"https://www.youtube.com/watch?v=dQw4w9WgXcQ"_s}));
}

TEST(QueryToolSiteTest, QueriesSearchTheSiteWithTheSavedSuggestions) {
    const ToolRun wikipedia =
        runTool({u"--state"_s, sampleState, u"--site"_s, u"en.wikipedia.org"_s, u"Lisbon"_s});
    ASSERT_EQ(wikipedia.exitCode, 0) << wikipedia.err.toStdString();
    EXPECT_EQ(field(wikipedia.rows(), u"title", u"search"_s),
              QStringList({u"Lisbon"_s, u"lisbon weather"_s, u"lisbon airport"_s,
                           u"lisbon things to do"_s}));
    EXPECT_EQ(openedUrls(wikipedia.rows()).at(1),
              u"https://en.wikipedia.org/w/index.php?search=lisbon%20weather"_s);
    EXPECT_EQ(field(wikipedia.rows(), u"title", u"history"_s),
              QStringList({u"Lisbon"_s, u"Lisbon"_s}));

    const ToolRun qt = runTool({u"--state"_s, sampleState, u"--site"_s, u"doc.qt.io"_s, u"qurl"_s});
    ASSERT_EQ(qt.exitCode, 0);
    EXPECT_TRUE(qt.json().value(u"site").toObject().value(u"color").isNull());
    EXPECT_EQ(openedUrls(qt.rows()),
              QStringList({u"https://www.google.com/search?q=site%3Adoc.qt.io%20qurl"_s,
                           u"https://doc.qt.io/qt-6/qurl.html"_s}));
}

TEST(QueryToolSiteTest, BadSiteArguments) {
    for (const QStringList& arguments :
         {QStringList{u"--state"_s, sampleState, u"--site"_s, u""_s, u"x"_s},
          QStringList{u"--state"_s, sampleState, u"--site"_s, u"github.com"_s, u"--dev"_s}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(u"kivaro-query: --site"_s)) << run.err.toStdString();
    }
}

class QueryToolSuggestTest : public ::testing::Test {
protected:
    void TearDown() override { Suggestions::redirectForTesting(std::nullopt); }
};

TEST_F(QueryToolSuggestTest, LiveSuggestionsReplaceTheSavedOnes) {
    LocalHttpServer server({.body = R"(["lisbon", ["lisbon tram", "lisbon fado"]])"});
    Suggestions::redirectForTesting(server.origin());
    const ToolRun web = runTool({u"--state"_s, sampleState, u"--suggest"_s, u"lisbon"_s});
    ASSERT_EQ(web.exitCode, 0) << web.err.toStdString();
    EXPECT_EQ(field(web.rows(), u"title", u"search"_s),
              QStringList({u"lisbon"_s, u"lisbon tram"_s, u"lisbon fado"_s}));

    const ToolRun video = runTool(
        {u"--state"_s, sampleState, u"--site"_s, u"youtube.com"_s, u"--suggest"_s, u"lisbon"_s});
    ASSERT_EQ(video.exitCode, 0);
    EXPECT_EQ(openedUrls(video.rows()).at(2),
              u"https://www.youtube.com/results?search_query=lisbon%20fado"_s);
    ASSERT_EQ(server.targets().size(), 2);
    EXPECT_TRUE(server.targets().first().endsWith("&q=lisbon"));
    EXPECT_TRUE(server.targets().last().endsWith("&q=lisbon&ds=yt"));
}

TEST_F(QueryToolSuggestTest, FailedOrNeedlessRequests) {
    LocalHttpServer failing({.status = 500, .body = R"(["lisbon", ["lisbon tram"]])"});
    Suggestions::redirectForTesting(failing.origin());
    const ToolRun failed = runTool({u"--state"_s, sampleState, u"--suggest"_s, u"lisbon"_s});
    ASSERT_EQ(failed.exitCode, 0);
    EXPECT_EQ(field(failed.rows(), u"title", u"search"_s), QStringList({u"lisbon"_s}));
    EXPECT_EQ(failing.targets().size(), 1);

    // Addresses, developer tools, empty queries and sites without a service ask nothing.
    for (const QStringList& arguments :
         {QStringList{u"github.com/kivaro"_s}, QStringList{u"--dev"_s, u"console"_s}, QStringList{},
          QStringList{u"--site"_s, u"github.com"_s, u"kivaro"_s}}) {
        const ToolRun run =
            runTool(QStringList{u"--state"_s, sampleState, u"--suggest"_s} + arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(failing.targets().size(), 1);
}

} // namespace
