#include "Builders.h"
#include "search/Ranker.h"
#include "support/FixtureRows.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

SiteSearch site(const QString& host) {
    return SiteSearch::forHost(host);
}

QStringList urls(const QList<Row>& rows) {
    QStringList list;
    for (const Row& row : rows) {
        if (const auto* open = row.action.as<Action::Open>())
            list.append(open->url);
    }
    return list;
}

TEST(SiteTitleTest, CountPrefixesAndSiteNamesAreDropped) {
    const SiteSearch youtube = site(u"youtube.com"_s);
    for (const QStringList& row : fixtureRows(u"site-titles.txt"_s, 3)) {
        const QString title = row[0] == u"siteTitle"_s ? Ranker::siteTitle(row[1], youtube)
                                                       : Ranker::cleanTitle(row[1]);
        EXPECT_EQ(title, row[2]) << row.join(u" | ").toStdString();
    }
}

class SiteRankingTest : public ::testing::Test {
protected:
    Ranker withHistory(const QList<HistoryEntry>& history) {
        Ranker r = ranker();
        r.history = PreparedHistory(history);
        return r;
    }
};

TEST_F(SiteRankingTest, EmptyQueryOpensTheSiteAndListsRecentPages) {
    QList<HistoryEntry> history{
        visit(u"https://www.youtube.com/"_s, u"YouTube"_s, 500, 0),           // the home page
        visit(u"https://www.youtube.com/redirect?q=x"_s, u"Leaving"_s, 9, 0), // a redirect
        visit(u"https://www.youtube.com/watch?v=hidden"_s, u"Hidden"_s, 9, 0),
        visit(u"https://www.youtube.com/watch?v=blank"_s, u"(4)"_s, 9, 0),
        visit(u"https://vimeo.com/watch?v=1"_s, u"Elsewhere"_s, 9, 0),
        visit(u"https://notyoutube.com/watch?v=1"_s, u"Lookalike"_s, 9, 0),
    };
    for (int day = 1; day <= 8; ++day) {
        history.append(visit(u"https://m.youtube.com/watch?v=%1"_s.arg(day),
                             u"(2) Video %1 - YouTube"_s.arg(day), 1, day));
    }
    history.append(visit(u"https://youtube.de/watch?v=de"_s, u"Regional"_s, 1, 0.5));
    Ranker r = withHistory(history);
    r.hidden = {u"youtube.com/watch?v=hidden"_s};

    const Ranking ranking = r.rankSite(u"  "_s, {u"ignored"_s}, site(u"youtube.com"_s));
    EXPECT_FALSE(ranking.completion);
    ASSERT_EQ(listed(ranking.rows), u"open Open YouTube|history Regional|history Video 1|"
                                    u"history Video 2|history Video 3|history Video 4|"
                                    u"history Video 5"_s);
    EXPECT_EQ(rendered(ranking.rows[0]),
              u"open host=youtube.com title=Open YouTube "
              u"detail=youtube.com label=Open → open https://youtube.com"_s);
    EXPECT_EQ(
        rendered(ranking.rows[2]),
        u"history host=m.youtube.com url=https://m.youtube.com/watch?v=1 title=Video 1 "
        u"detail=m.youtube.com/watch?v=1 label=Open → open https://m.youtube.com/watch?v=1"_s);
}

TEST_F(SiteRankingTest, QueryGivesSiteSearchesThenMatchingPages) {
    QList<HistoryEntry> history{
        visit(u"https://github.com/other"_s, u"Other project"_s, 999, 0),
        visit(u"https://github.com/a"_s, u"Rust parser old"_s, 100, 30),
        visit(u"https://github.com/b"_s, u"Rust parser new"_s, 1, 0),
        visit(u"https://github.com/c"_s, u"Rust lexer"_s, 50, 0),
        visit(u"https://github.com/d"_s, u"Rust parser twin"_s, 1, 0),
    };
    for (int i = 1; i <= 5; ++i) {
        history.append(
            visit(u"https://github.com/kivaro/repo%1"_s.arg(i), u"Kivaro repo %1"_s.arg(i), i, 3));
        history.append(visit(u"https://github.com/p%1"_s.arg(i), u"Page %1"_s.arg(i)));
    }
    Ranker r = withHistory(history);
    const SiteSearch github = site(u"github.com"_s);
    const QStringList suggestions{u"kivaro app"_s, u"KIVARO"_s,   u"kivaro cli"_s, u"kivaro 2"_s,
                                  u"kivaro 3"_s,   u"kivaro 4"_s, u"kivaro 5"_s};

    // Five distinct suggestions, then the four best-visited pages whose titles hold the word.
    const Ranking ranking = r.rankSite(u" Kivaro "_s, suggestions, github);
    EXPECT_FALSE(ranking.completion);
    ASSERT_EQ(listed(ranking.rows),
              u"search Kivaro|search kivaro app|search kivaro cli|search kivaro 2|search kivaro 3|"
              u"search kivaro 4|history Kivaro repo 5|history Kivaro repo 4|"
              u"history Kivaro repo 3|history Kivaro repo 2"_s);
    EXPECT_EQ(rendered(ranking.rows[0]), u"search host=github.com title=Kivaro label=Search → "
                                         u"open https://github.com/search?q=Kivaro"_s);
    EXPECT_EQ(urls(ranking.rows).at(1), u"https://github.com/search?q=kivaro%20app"_s);

    // Every word is needed; 3 × log2(101) + 15 / 31 beats 3 × log2(2) + 15; equal scores keep
    // history order.
    EXPECT_EQ(listed(r.rankSite(u"rust parser"_s, {}, github).rows),
              u"search rust parser|history Rust parser old|history Rust parser new|"
              u"history Rust parser twin"_s);

    // Pages keep their place when the limit is small.
    r.limit = 3;
    EXPECT_EQ(kinds(r.rankSite(u"page"_s, {u"page one"_s}, github).rows),
              u"history history history history"_s);
    r.limit = 6;
    EXPECT_EQ(kinds(r.rankSite(u"page"_s, {u"page one"_s}, github).rows.first(3)),
              u"search search history"_s);
}

TEST_F(SiteRankingTest, ARegionalSiteSearchesItsVariantAndListsPagesOfTheOthers) {
    const Ranker r = withHistory({visit(u"https://www.amazon.com/dp/B01"_s, u"Kettle"_s)});
    const SiteSearch amazon = SiteSearch::known(u"amazon.de"_s).value();
    const Ranking ranking = r.rankSite(u"kettle"_s, {u"kettle 1,5 l"_s}, amazon);
    EXPECT_EQ(urls(ranking.rows), QStringList({u"https://www.amazon.de/s?k=kettle"_s,
                                               u"https://www.amazon.de/s?k=kettle%201%2C5%20l"_s,
                                               u"https://www.amazon.com/dp/B01"_s}));
}

} // namespace
