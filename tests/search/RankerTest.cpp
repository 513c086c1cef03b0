#include "Builders.h"
#include "support/FixtureRows.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// A ranker over no tabs and no history, for each test to fill.
class RankerTest : public ::testing::Test {
protected:
    Ranker r = ranker();
};

TEST(RankerMatchTest, PointsFollowWhereTheQueryStartsInHostOrTitle) {
    for (const QStringList& row : fixtureRows(u"match-scores.txt"_s, 4)) {
        const auto score =
            Ranker::match(row[0], row[0].split(u' ', Qt::SkipEmptyParts), row[1], row[2]);
        EXPECT_EQ(score ? QString::number(*score) : u"none"_s, row[3]) << row[0].toStdString();
    }
}

TEST_F(RankerTest, EmptyQueryListsTheFirstTabsInStoredOrder) {
    QList<SafariTab> tabs;
    for (int i = 0; i < 12; ++i)
        tabs.append(tab(u"Tab %1"_s.arg(i), u"https://site%1.com/"_s.arg(i), 7, i + 1));
    r.tabs = Prepared<SafariTab>(tabs);
    r.history = pastVisits({visit(u"https://site1.com/"_s, u"Site"_s)});
    for (const QString& query : {QString(), u"   \t "_s}) {
        const Ranking ranking = r.rank(query, {u"suggestion"_s});
        EXPECT_EQ(listed(ranking.rows), u"tab Tab 0|tab Tab 1|tab Tab 2|tab Tab 3|tab Tab 4|"
                                        u"tab Tab 5|tab Tab 6|tab Tab 7|tab Tab 8|tab Tab 9"_s);
        EXPECT_EQ(ranking.completion, std::nullopt);
    }
}

TEST_F(RankerTest, TabRowsCarryTheirWindowOrRevealByAddress) {
    EXPECT_EQ(
        rendered(Ranker::tabRow(tab({}, u"https://www.Example.com/a"_s, 42, 3, 0, u"Work"_s))),
        u"tab host=example.com url=https://www.Example.com/a title=example.com"
        u" detail=example.com · Work label=Switch to Tab → switchTab 42 3"_s);
    EXPECT_EQ(
        rendered(Ranker::tabRow(tab(u"Notes"_s, u"notes.txt"_s, -1, 2, 0, u"Work"_s))),
        u"tab url=notes.txt title=Notes detail=Work label=Switch to Tab → revealTab notes.txt"_s);
    EXPECT_EQ(rendered(Ranker::tabRow(tab(u"Blank"_s, QString(), 1, 1))),
              u"tab title=Blank label=Switch to Tab → switchTab 1 1"_s);
}

// One world of tabs, history, an archived tab and a hidden site; each query's completion and
// rows.
TEST_F(RankerTest, QueriesOverTabsHistoryAndTheArchive) {
    r.tabs = openTabs({tab(u"Rust book"_s, u"https://doc.rust-lang.org/book/"_s, 1, 1),
                       tab(u"Rust blog"_s, u"https://blog.rust-lang.org/"_s, 1, 2),
                       tab(u"Mail"_s, u"https://mail.example.com/inbox/"_s, 1, 3)});
    r.history = pastVisits({
        visit(u"https://doc.rust-lang.org/std/"_s, u"std"_s, 50),
        visit(u"http://www.mail.example.com/inbox"_s, u"Inbox"_s, 900, 0),
        visit(u"https://maps.example.com/"_s, u"Maps"_s, 900, 0),
        visit(u"https://mastodon.social/"_s, u"Mastodon"_s, 1, 30),
        visit(u"https://www.github.com/kivaro/kivaro/pulls"_s, u"Pull requests"_s, 20, 0),
        visit(u"http://intranet.local/"_s, QString(), 3, 0),
        visit(u"https://www.google.com/search?q=kivaro%20x"_s, u"kivaro x - Search"_s, 3, 0),
        visit(u"https://kivaro.app/x"_s, u"Kivaro x"_s, 2, 0),
    });
    r.archived = Prepared<ArchivedTab>(
        QList<ArchivedTab>{{u"Kivaro x archived"_s, u"https://kivaro.app/x"_s, testNow}});
    r.hidden = {u"maps.example.com"_s};
    for (const auto& [query, outcome] : {
             // Two words must both match and never make a top hit.
             std::pair(u"doc rust"_s, u"none: tab Rust book|history std|search doc rust"_s),
             // Open and hidden pages never come from history; a tab top hit is listed once.
             std::pair(u"ma"_s, u"mail.example.com: tab Mail|history Mastodon|search ma"_s),
             std::pair(u"maps"_s, u"none: search maps"_s),
             // A history top hit is not listed again below itself.
             std::pair(u"git"_s, u"github.com: open Pull requests|search git"_s),
             // The history row of the search page takes the search row's action first; of the
             // archived tab and the history entry opening the same address, the archived stays.
             std::pair(u"kivaro x"_s,
                       u"none: archived Kivaro x archived|history kivaro x - Search"_s),
         }) {
        const Ranking ranking = r.rank(query);
        EXPECT_EQ(ranking.completion.value_or(u"none"_s) + u": "_s + listed(ranking.rows), outcome);
    }
    // A history top hit opens the site root in the entry's scheme; without a title, its host.
    EXPECT_EQ(
        rendered(r.rank(u"git"_s).rows.value(0)),
        u"open host=github.com url=https://www.github.com/kivaro/kivaro/pulls title=Pull requests"
        u" detail=github.com label=Open → open https://github.com"_s);
    EXPECT_EQ(rendered(r.rank(u"intra"_s).rows.value(0)),
              u"open host=intranet.local url=http://intranet.local/ title=intranet.local"
              u" label=Open → open http://intranet.local"_s);
}

// Which texts are addresses and how they open is the address table's (WebTest).
TEST_F(RankerTest, ATypedAddressIsTheTopRowAndOtherTextIsNot) {
    const Ranking site = r.rank(u"  Example.org/path "_s);
    EXPECT_EQ(site.completion, std::nullopt);
    ASSERT_FALSE(site.rows.isEmpty());
    EXPECT_EQ(rendered(site.rows.first()),
              u"open host=example.org title=Example.org/path label=Open"
              u" → open https://Example.org/path"_s);
    EXPECT_EQ(kinds(r.rank(u"example.c"_s).rows), u"search"_s);
}

TEST_F(RankerTest, SearchRowsTakeTheQueryAndThreeDistinctSuggestions) {
    const Ranking ranking =
        r.rank(u"Lisbon"_s, {u"LISBON"_s, u"lisbon weather"_s, u"lisbon airport"_s,
                             u"lisbon tram"_s, u"lisbon map"_s});
    EXPECT_EQ(listed(ranking.rows),
              u"search Lisbon|search lisbon weather|search lisbon airport|search lisbon tram"_s);
    EXPECT_EQ(rendered(ranking.rows.first()),
              u"search title=Lisbon label=Search → open https://www.google.com/search?q=Lisbon"_s);

    // Search rows score 40, 36, 32 and 28: a history row of 37.5 (label 20, title word 10,
    // a visit a day ago 7.5, no visit count) sorts between the first two.
    r.layout = ResultLayout::ranked;
    r.history = pastVisits({visit(u"https://lisbon.pt/"_s, u"Guide to Lisbon"_s, 0, 1)});
    const Ranking mixed = r.rank(u"lisbon guide"_s, {u"a"_s, u"b"_s, u"c"_s});
    EXPECT_EQ(kinds(mixed.rows), u"search history search search search"_s);
}

TEST_F(RankerTest, DeveloperToolsRowNeedsToolsAndTheExactWord) {
    r.commands = {
        command(u"Show Web Inspector"_s, u"inspector devtools dev tools"_s, u"Develop"_s)};
    r.devAvailable = true;
    const Ranking grouped = r.rank(u"dev"_s);
    EXPECT_EQ(kinds(grouped.rows), u"search mode command"_s);
    EXPECT_EQ(rendered(grouped.rows[1]),
              u"mode symbol=chevron.left.forwardslash.chevron.right keys=Tab"
              u" title=Developer Tools detail=Inspector, console, user agent and more"
              u" → devMode"_s);

    r.layout = ResultLayout::ranked;
    EXPECT_EQ(kinds(r.rank(u"dev"_s).rows), u"mode search command"_s); // score 100 leads
    EXPECT_EQ(kinds(r.rank(u"devt"_s).rows), u"search command"_s);
    r.devAvailable = false;
    EXPECT_EQ(kinds(r.rank(u"dev"_s).rows), u"search command"_s);
}

TEST_F(RankerTest, CommandsOnlyWithoutCompletionOrTypedAddressAndDespiteALimitOfZero) {
    r.commands = {command(u"Reload Page"_s, u"reload refresh"_s, u"View"_s),
                  command(u"Open example.com settings"_s, u"example.com"_s, u"File"_s)};
    EXPECT_EQ(kinds(r.rank(u"rel"_s).rows), u"search command"_s);
    EXPECT_EQ(kinds(r.rank(u"example.com"_s).rows), u"open search"_s);
    r.tabs = openTabs({tab(u"Releases"_s, u"https://releases.example.com/"_s),
                       tab(u"Reload tests"_s, u"https://ci.example/reload"_s, 1, 2)});
    EXPECT_EQ(kinds(r.rank(u"rel"_s).rows), u"tab tab search"_s); // completion
    r.limit = 0;
    EXPECT_EQ(kinds(r.rank(u"reload"_s).rows), u"command"_s);
    EXPECT_TRUE(r.rank(QString()).rows.isEmpty());
}

TEST_F(RankerTest, GroupedLayoutSharesTheLimitInSectionOrder) {
    QList<SafariTab> tabs;
    for (int i = 0; i < 6; ++i)
        tabs.append(
            tab(u"Notes alpha %1"_s.arg(i), u"https://notes.example/%1"_s.arg(i), 2, i + 1, 1));
    r.tabs = Prepared<SafariTab>(tabs);
    QList<HistoryEntry> history{visit(u"https://alpha.example/"_s, u"Alpha home"_s, 100, 0)};
    for (int i = 0; i < 7; ++i)
        history.append(
            visit(u"https://wiki.example/alpha-%1"_s.arg(i), u"Alpha %1"_s.arg(i), 7 - i));
    r.history = PreparedHistory(history);
    r.archived = Prepared<ArchivedTab>(
        QList<ArchivedTab>{{u"Alpha archived"_s, u"https://old.example/alpha"_s, testNow}});

    // One top row and no commands: the sections share 9 rows, 5 tabs and 4 of the history
    // section (the archived tab first), and nothing is left for the search row.
    const Ranking ranking = r.rank(u"alpha"_s);
    ASSERT_EQ(ranking.completion, u"alpha.example"_s);
    EXPECT_EQ(
        listed(ranking.rows),
        u"open Alpha home|tab Notes alpha 0|tab Notes alpha 1|tab Notes alpha 2|tab Notes alpha 3|tab Notes alpha 4|archived Alpha archived|history Alpha 0|history Alpha 1|history Alpha 2"_s);
    EXPECT_EQ(ranking.rows[6].detail, u"old.example · Archived"_s);

    r.order = ResultSection::ordered({u"search"_s, u"history"_s});
    EXPECT_EQ(kinds(r.rank(u"alpha"_s).rows),
              u"open search archived history history history history tab tab tab"_s);
}

TEST_F(RankerTest, RankedLayoutOrdersByScoreAndKeepsSectionOrderOnTies) {
    r.layout = ResultLayout::ranked;
    r.tabs = openTabs({tab(u"Zeta tab"_s, u"https://zeta.example/"_s, 1, 1, 3)});
    r.history = pastVisits({visit(u"https://other.example/zeta"_s, u"Zeta notes"_s, 1000, 0)});
    // Two words: no top hit. Tab: 20 + 10 − 3 + 25 = 52; history: 10 + 15 + 3·log2(1001) ≈ 54.9.
    EXPECT_EQ(kinds(r.rank(u"zeta e"_s).rows), u"history tab search"_s);

    // A tab at 20 − 5 + 25 = 40 ties with the first search row.
    r.history = {};
    r.tabs = openTabs({tab(u"Tab"_s, u"https://q.example/x"_s, 1, 1, 5)});
    EXPECT_EQ(kinds(r.rank(u"q x"_s).rows), u"tab search"_s);
    r.order = ResultSection::ordered({u"search"_s});
    EXPECT_EQ(kinds(r.rank(u"q x"_s).rows), u"search tab"_s);
}

TEST_F(RankerTest, EverySectionOrderGroupsRowsInThatOrder) {
    r.tabs = openTabs({tab(u"Kiwi one"_s, u"https://a.example/kiwi"_s, 1, 1),
                       tab(u"Kiwi two"_s, u"https://b.example/kiwi"_s, 1, 2)});
    r.history = pastVisits({visit(u"https://c.example/kiwi"_s, u"Kiwi three"_s),
                            visit(u"https://d.example/kiwi"_s, u"Kiwi four"_s)});
    r.commands = {command(u"Kiwi command"_s, u"kiwi edit"_s, u"View"_s)};
    const QMap<QString, QString> rowsOf{{u"commands"_s, u"command"_s},
                                        {u"history"_s, u"history history"_s},
                                        {u"search"_s, u"search search"_s},
                                        {u"tabs"_s, u"tab tab"_s}};
    QStringList names = rowsOf.keys();
    do {
        r.order = ResultSection::ordered(names);
        QStringList expected;
        for (const QString& name : names)
            expected.append(rowsOf[name]);
        EXPECT_EQ(kinds(r.rank(u"kiwi e"_s, {u"kiwi eat"_s}).rows), expected.join(u' '));
    } while (std::next_permutation(names.begin(), names.end()));
}

TEST_F(RankerTest, MalformedAddressesRankWithoutHostPoints) {
    r.tabs = openTabs({tab(u"Broken [link"_s, u"http://[::1"_s), tab(QString(), QString()),
                       tab(u"Script"_s, u"javascript:alert('broken')"_s, -5, 1)});
    r.history = pastVisits({
        HistoryEntry{u"%%%"_s, u"Broken entry"_s, -7, QDateTime()},
        HistoryEntry{QString(), QString(), 0, testNow.addYears(5)},
    });
    r.archived = Prepared<ArchivedTab>(QList<ArchivedTab>{{QString(), u"::::"_s, QDateTime()}});
    for (const QString& query : {u"broken"_s, u"b"_s, u"["_s, u":"_s, u"%"_s, u"script"_s}) {
        for (const Row& row : r.rank(query).rows)
            EXPECT_TRUE(row.host.isEmpty() || row.kind == Row::Kind::open) << query.toStdString();
    }
    EXPECT_EQ(
        rendered(r.rank(u"script"_s).rows.first()),
        u"tab url=javascript:alert('broken') title=Script label=Switch to Tab → revealTab javascript:alert('broken')"_s);
    EXPECT_EQ(listed(r.rank(u"broken"_s).rows),
              u"tab Broken [link|tab Script|history Broken entry|search broken"_s);
}

} // namespace
