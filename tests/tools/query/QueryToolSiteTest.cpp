#include "ToolRun.h"
#include "search/Suggestions.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// The site searched is printed with the ranking; which rows a site offers is the ranker's.
TEST(QueryToolSiteTest, PrintsTheSiteWithTheRanking) {
    const ToolRun run = runTool(withSample({u"--site"_s, u"https://www.YouTube.com/feed"_s}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QJsonDocument(run.json()[u"site"].toObject()).toJson(QJsonDocument::Compact),
              R"({"color":"#FF0033","host":"youtube.com","name":"YouTube",)"
              R"("template":"https://www.youtube.com/results?search_query=%s"})");
    EXPECT_EQ(run.values(u"title"_s).value(0), u"Open YouTube"_s);
    EXPECT_TRUE(runTool(withSample({u"--site"_s, u"doc.qt.io"_s, u"qurl"_s}))
                    .json()[u"site"][u"color"]
                    .isNull());
}

// Live suggestions replace the saved ones, asked of the site's service with its own parameter; a
// failed request leaves the query alone; addresses, developer tools, empty queries and sites
// without a service ask nothing.
class QueryToolSuggestTest : public ::testing::Test {
protected:
    void TearDown() override { Suggestions::redirectForTesting(std::nullopt); }
};

TEST_F(QueryToolSuggestTest, LiveSuggestionsReplaceTheSavedOnesWhenAsked) {
    LocalHttpServer server({.body = R"(["lisbon", ["lisbon tram", "lisbon fado"]])"});
    LocalHttpServer failing({.status = 500, .body = R"(["lisbon", ["lisbon tram"]])"});
    Suggestions::redirectForTesting(server.origin());
    const ToolRun web = runTool(withSample({u"--suggest"_s, u"lisbon"_s}));
    ASSERT_EQ(web.exitCode, 0) << web.err.toStdString();
    EXPECT_EQ(web.values(u"title"_s, u"search"_s),
              QStringList({u"lisbon"_s, u"lisbon tram"_s, u"lisbon fado"_s}));
    const ToolRun video =
        runTool(withSample({u"--site"_s, u"youtube.com"_s, u"--suggest"_s, u"lisbon"_s}));
    EXPECT_EQ(video.values(u"action.url"_s).value(2),
              u"https://www.youtube.com/results?search_query=lisbon%20fado"_s);
    ASSERT_EQ(server.targets().size(), 2);
    EXPECT_TRUE(server.targets().first().endsWith("&q=lisbon"));
    EXPECT_TRUE(server.targets().last().endsWith("&q=lisbon&ds=yt"));

    Suggestions::redirectForTesting(failing.origin());
    const ToolRun failed = runTool(withSample({u"--suggest"_s, u"lisbon"_s}));
    EXPECT_EQ(failed.values(u"title"_s, u"search"_s), QStringList({u"lisbon"_s}));
    for (const QStringList& arguments :
         {QStringList{u"github.com/kivaro"_s}, QStringList{u"--dev"_s, u"console"_s}, QStringList{},
          QStringList{u"--site"_s, u"github.com"_s, u"kivaro"_s}})
        EXPECT_EQ(runTool(withSample(QStringList{u"--suggest"_s} + arguments)).exitCode, 0)
            << arguments.join(u' ').toStdString();
    EXPECT_EQ(failing.targets().size(), 1);
}

} // namespace
