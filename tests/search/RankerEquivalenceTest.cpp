// The ranker folds and cuts the history list without sorting it as a whole. These tests rank
// many random pictures (from a fixed seed) both ways, the fast one and the plain one written
// out step by step below, and expect the same rows.
#include "Builders.h"
#include "base/Web.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

bool anyStartsWith(const QStringList& pieces, const QString& prefix) {
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const QString& piece) { return piece.startsWith(prefix); });
}

std::optional<double> plainMatch(const QString& q, const QStringList& words, const QString& title,
                                 const QString& url) {
    const QString lowerTitle = title.toLower();
    const QString host = Web::host(url);
    const QString haystack = lowerTitle + u" "_s + Web::bare(url);
    for (const QString& word : words) {
        if (!haystack.contains(word))
            return std::nullopt;
    }
    static const QRegularExpression notLetterOrNumber(u"[^\\p{L}\\p{N}]+"_s);
    const QString first = words.first();
    const double hostPoints = host.startsWith(q)                       ? 40
                              : anyStartsWith(host.split(u'.'), first) ? 20
                                                                       : 0;
    const double titlePoints = lowerTitle.startsWith(q)                                    ? 25
                               : anyStartsWith(lowerTitle.split(notLetterOrNumber), first) ? 10
                                                                                           : 0;
    return hostPoints + titlePoints;
}

struct Expected {
    std::optional<QString> completion;
    std::optional<Action> topAction;
    QStringList historyURLs;
};

template <typename Item>
struct Scored {
    Item item;
    double score;
};

Expected plainRank(const Ranker& r, const QString& query) {
    const QString q = query.trimmed().toLower();
    const QStringList words = q.split(u' ', Qt::SkipEmptyParts);
    const auto key = [&](const QString& url) {
        return q.contains(u'/') ? Web::bare(url) : Web::host(url);
    };
    QSet<QString> openBare;
    QList<Scored<SafariTab>> tabs;
    for (const SafariTab& tab : r.tabs.items()) {
        openBare.insert(Web::bare(tab.url));
        if (auto m = plainMatch(q, words, tab.title, tab.url))
            tabs.append({tab, *m - double(tab.windowOrder)});
    }
    Ranker::best(tabs);
    QList<Scored<HistoryEntry>> history;
    for (const HistoryEntry& entry : r.history.items()) {
        const QString bare = Web::bare(entry.url);
        if (openBare.contains(bare) || r.hidden.contains(bare))
            continue;
        if (auto m = plainMatch(q, words, entry.title, entry.url)) {
            const double recency =
                recencyPoints(epochSeconds(entry.lastVisit), epochSeconds(r.now));
            history.append({entry, *m + recency + visitPoints(entry.visits)});
        }
    }
    Ranker::best(history);
    QSet<QString> pages;
    QList<HistoryEntry> folded;
    for (const auto& scored : history) {
        if (!pages.contains(Web::page(scored.item.url))) {
            pages.insert(Web::page(scored.item.url));
            folded.append(scored.item);
        }
    }

    Expected expected;
    std::optional<QString> topURL;
    if (!q.contains(u' ')) {
        for (const auto& scored : tabs) {
            if (key(scored.item.url).startsWith(q)) {
                expected.completion = key(scored.item.url);
                expected.topAction = Ranker::tabRow(scored.item).action;
                topURL = scored.item.url;
                break;
            }
        }
        for (qsizetype i = 0; i < folded.size() && !expected.completion; ++i) {
            if (key(folded[i].url).startsWith(q)) {
                const QString scheme = QUrl(folded[i].url).scheme();
                expected.completion = key(folded[i].url);
                expected.topAction = Action::open((scheme.isEmpty() ? u"https"_s : scheme) +
                                                  u"://"_s + *expected.completion);
                topURL = folded[i].url;
            }
        }
        if (!expected.completion && Web::looksLikeURL(query)) {
            expected.topAction = Action::open(Web::normalize(query));
            topURL = QString();
        }
    }
    for (const HistoryEntry& entry : folded) {
        if (expected.historyURLs.size() == 4)
            break;
        if (entry.url != topURL)
            expected.historyURLs.append(entry.url);
    }
    // A row that opens what the top row opens is a duplicate.
    expected.historyURLs.removeIf(
        [&](const QString& url) { return Action::open(url) == expected.topAction; });
    return expected;
}

// The pieces the random pictures are made of; "|" separates them, an empty one included.
const QStringList hosts = u"alpha.com|www.alpha.com|beta.org|news.beta.org|gamma.io|alp.net|"
                          u"localhost:8080|ALPHA.com|"_s.split(u'|');
const QStringList schemes = u"https://|http://||ftp://"_s.split(u'|');
const QStringList paths =
    u"|/|/a|/a/b|/alpha|/b?x=1|/b?utm_source=z&x=1|/b?x=1#f|/b#g|/ü"_s.split(u'|');
const QStringList titleWords = u"Alpha|beta|Über|news|a|b-side|gamma|1999|"_s.split(u'|');
const QStringList queries = u"a|al|alp|alpha|b|be|beta a|alpha.com/|alpha.com/a|g|news|ü|x|1|"
                            u"localhost|a b|/|?"_s.split(u'|');

const QString& pick(QRandomGenerator& random, const QStringList& choices) {
    return choices[random.bounded(qsizetype(choices.size()))];
}

QString randomURL(QRandomGenerator& random) {
    return pick(random, schemes) + pick(random, hosts) + pick(random, paths);
}

QString randomTitle(QRandomGenerator& random) {
    return pick(random, titleWords) + u" "_s + pick(random, titleWords);
}

// Visits a few days back, or also in the future, where the clock is behind the latest visit.
Ranker randomRanker(QRandomGenerator& random, bool futureVisits) {
    Ranker r = ranker();
    r.limit = 100;
    QList<SafariTab> tabs;
    for (int i = random.bounded(3); i > 0; --i)
        tabs.append(tab(randomTitle(random), randomURL(random), i, i, random.bounded(3)));
    QList<HistoryEntry> history;
    const QList<double> ages{-1, 0, 0.5, 1, 3, 30};
    for (int i = random.bounded(150); i > 0; --i) {
        HistoryEntry entry = visit(randomURL(random), randomTitle(random), random.bounded(-2, 50),
                                   ages[random.bounded(futureVisits ? 0 : 1, 6)]);
        if (random.bounded(10) == 0)
            entry.lastVisit = QDateTime();
        history.append(entry);
    }
    r.tabs = Prepared<SafariTab>(tabs);
    r.history = PreparedHistory(history);
    if (!history.isEmpty() && random.bounded(3) == 0)
        r.hidden.insert(Web::bare(history[random.bounded(history.size())].url));
    return r;
}

// One to three characters of those the random pictures are made of, a space included.
QString randomShortQuery(QRandomGenerator& random) {
    const QString characters = u"abeglhnpsw.1/\u00fc "_s;
    QString query(1, characters[random.bounded(characters.size() - 1)]);
    for (int i = random.bounded(3); i > 0; --i)
        query += characters[random.bounded(characters.size())];
    return query;
}

// Completion, top action and history rows as one line.
QString outcome(const Expected& expected) {
    return expected.completion.value_or(u"none"_s) + u" | "_s +
           (expected.topAction ? rendered(*expected.topAction) : u"-"_s) + u" | "_s +
           expected.historyURLs.join(u' ');
}

::testing::AssertionResult agreesWithPlainRanking(const Ranker& r, const QString& query) {
    const Expected expected = plainRank(r, query);
    const Ranking ranking = r.rank(query);
    Expected shown{ranking.completion, std::nullopt, {}};
    if (expected.topAction && !ranking.rows.isEmpty())
        shown.topAction = ranking.rows.first().action;
    for (const Row& row : ranking.rows) {
        if (row.kind == Row::Kind::history)
            shown.historyURLs.append(row.url);
    }
    if (outcome(shown) == outcome(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << outcome(shown).toStdString() << ", expected " << outcome(expected).toStdString();
}

// Layout, developer tools at hand, visits in the future.
class RankerEquivalenceTest
    : public ::testing::TestWithParam<std::tuple<ResultLayout, bool, bool>> {};

TEST_P(RankerEquivalenceTest, FastHistoryRankingEqualsThePlainAlgorithm) {
    const auto [layout, devAvailable, futureVisits] = GetParam();
    QRandomGenerator random(20261206);
    for (int round = 0; round < 600; ++round) {
        Ranker r = randomRanker(random, futureVisits);
        r.layout = layout;
        r.devAvailable = devAvailable;
        for (const QString& query : {pick(random, queries), randomShortQuery(random),
                                     randomShortQuery(random), randomShortQuery(random)}) {
            ASSERT_TRUE(agreesWithPlainRanking(r, query))
                << "round " << round << ", query \"" << query.toStdString() << '"';
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, RankerEquivalenceTest,
                         ::testing::Combine(::testing::Values(ResultLayout::grouped,
                                                              ResultLayout::ranked),
                                            ::testing::Bool(), ::testing::Bool()));

// Six pages score 48 for "b", each reaching host and title another way (host, a host label and
// a title word, the title, a title word, neither twice); U scores 58 and H is the top row.
const QMap<QChar, HistoryEntry> tiedPages{
    {u'H', visit(u"https://bb.org/"_s, u"q"_s, 1, 2)},
    {u'P', visit(u"https://a.bb.net/"_s, u"q bb"_s, 1, 0)},
    {u'T', visit(u"https://t.org/"_s, u"bq"_s, 63, 2)},
    {u'W', visit(u"https://w.org/"_s, u"q bq"_s, 2047, 2)},
    {u'R', visit(u"https://r.org/ab"_s, u"q"_s, 2047, 0)},
    {u'S', visit(u"https://s.org/ab"_s, u"q"_s, 2047, 0)},
    {u'U', visit(u"https://u.org/"_s, u"q bb"_s, 2047, 0)},
};

// The pages in history order, the history rows shown.
class CutOffTieTest
    : public ::testing::TestWithParam<std::tuple<std::pair<QString, QString>, ResultLayout>> {};

TEST_P(CutOffTieTest, EqualScoresAtTheCutOffKeepTheListOrder) {
    const auto [tie, layout] = GetParam();
    Ranker r = ranker();
    r.layout = layout;
    QList<HistoryEntry> history;
    for (QChar page : tie.first)
        history.append(tiedPages[page]);
    r.history = PreparedHistory(history);

    QString shown;
    for (const Row& row : r.rank(u"b"_s).rows) {
        for (auto page = tiedPages.begin(); page != tiedPages.end(); ++page) {
            if (row.kind == Row::Kind::history && page->url == row.url)
                shown += page.key();
        }
    }
    EXPECT_EQ(shown.toStdString(), tie.second.toStdString());
    EXPECT_TRUE(agreesWithPlainRanking(r, u"b"_s));
}

INSTANTIATE_TEST_SUITE_P(ListOrders, CutOffTieTest,
                         ::testing::Combine(::testing::Values(std::pair(u"RSWTPHU"_s, u"URSW"_s),
                                                              std::pair(u"UHPTWRS"_s, u"UPTW"_s),
                                                              std::pair(u"PRHWSTU"_s, u"UPRW"_s)),
                                            ::testing::Values(ResultLayout::grouped,
                                                              ResultLayout::ranked)));

// The first entry of a page sorts before the others but has a key that does not begin with
// the query; the page's other entry does, and so does a weaker page's.
TEST(TopRowOfPageTest, OnlyThePagesFirstEntryCanBeTheTopRow) {
    const struct {
        QList<HistoryEntry> history;
        QString query;
        QString completion;
    } cases[] = {
        {{visit(u"alpha.com/a"_s, u"Alpha notes"_s, 40, 0),
          visit(u"https://alpha.com/a"_s, u"Notes"_s, 1, 3),
          visit(u"https://alps.org/"_s, u"Mountains"_s, 1, 30)},
         u"al"_s,
         u"alps.org"_s},
        {{visit(u"https://alpha.com/b?utm_source=z&x=1"_s, u"see alpha.com/b?x=1"_s, 40, 0),
          visit(u"https://alpha.com/b?x=1"_s, u"b"_s, 1, 3),
          visit(u"https://alpha.com/b?x=12"_s, u"c"_s, 1, 30)},
         u"alpha.com/b?x"_s,
         u"alpha.com/b?x=12"_s}};
    for (const auto& [history, query, completion] : cases) {
        Ranker r = ranker();
        r.history = PreparedHistory(history);
        EXPECT_EQ(r.rank(query).completion, completion);
        EXPECT_TRUE(agreesWithPlainRanking(r, query));
    }
}

TEST(PageIndexTest, TextThatIsNotValidUnicodeMatchesAsPlainText) {
    const QString lone(QChar(0xd83d)); // half of a surrogate pair, as a damaged title may hold
    for (const QString& title :
         {u"broken "_s + lone + u"x"_s, u"Broken "_s + lone + u"x"_s, u"Fine 🙂 x"_s, lone}) {
        for (const QString& query : {lone + u"x"_s, lone, u"🙂 x"_s, u"x"_s}) {
            const QString q = query.toLower();
            const bool plain = (title.toLower() + u" "_s).contains(q);
            EXPECT_EQ(Ranker::match(q, {q}, title, QString()).has_value(), plain)
                << title.size() << " " << query.size();
        }
    }
}

TEST(PageIndexTest, OverlongTitlesAreMatchedOnTheirStartOnly) {
    const QString huge = u"needle "_s + QString(PageIndex::longest, u'x') + u" haystack"_s;
    Ranker r = ranker();
    r.history = pastVisits({visit(u"https://long.example/"_s, huge)});
    EXPECT_EQ(r.history.pages().at(0).title().size(), PageIndex::longest);
    EXPECT_EQ(titles(r.rank(u"needle"_s).rows).first(), huge);
    EXPECT_EQ(titles(r.rank(u"haystack"_s).rows).size(), 1); // only the search row
}

} // namespace
