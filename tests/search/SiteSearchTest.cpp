#include "search/SiteSearch.h"

#include "support/FixtureRows.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;
using kivaro::testing::fixtureRows;

namespace {

SiteSearch named(const QString& name) {
    for (const SiteSearch& site : SiteSearch::all()) {
        if (site.name == name)
            return site;
    }
    ADD_FAILURE() << "no site named " << name.toStdString();
    return {};
}

// A site found for a text as one line: "name host template", or "(none)".
QString found(const std::optional<SiteSearch>& site) {
    return site ? site->name + u' ' + site->host + u' ' + site->urlTemplate : u"(none)"_s;
}

TEST(SiteSearchCatalogTest, EverySiteIsWellFormedWithAHostOfItsOwn) {
    const QRegularExpression colour(u"^#[0-9A-F]{6}$"_s);
    QSet<QString> hosts;
    QStringList regional;
    for (const SiteSearch& site : SiteSearch::all()) {
        SCOPED_TRACE(site.name.toStdString());
        EXPECT_TRUE(site.color && colour.match(*site.color).hasMatch());
        EXPECT_TRUE(site.urlTemplate.startsWith(u"https://"_s));
        EXPECT_EQ(site.urlTemplate.count(u"%s"_s), 1);
        EXPECT_FALSE(site.host.startsWith(u"www."_s) || hosts.contains(site.host));
        EXPECT_FALSE(site.keywords.isEmpty());
        for (const QString& keyword : site.keywords)
            EXPECT_EQ(keyword, keyword.toLower());
        hosts.insert(site.host);
        if (site.regional)
            regional.append(site.name);
    }
    EXPECT_EQ(regional, QStringList({u"Google"_s, u"Amazon"_s, u"eBay"_s, u"Yandex"_s}));
    EXPECT_EQ(named(u"YouTube"_s).suggest, SuggestSource::google(u"yt"_s));
}

// "Found" starts with the expected text, which ends at a word.
bool startsWith(const QString& found, const QString& expected) {
    return (found + u' ').startsWith(expected + u' ');
}

TEST(SiteSearchKnownTest, PicksTheMostSpecificHostOrACountryVariant) {
    for (const QStringList& row : fixtureRows(u"site-known.txt"_s, 2))
        EXPECT_PRED2(startsWith, found(SiteSearch::known(row[0])), row[1]);
    EXPECT_EQ(SiteSearch::known(u"amazon.com.mx"_s)->suggest, SuggestSource::amazon());
}

TEST(SiteSearchMatchTest, KeywordsPrefixesHostsAndTheCompletion) {
    for (const QStringList& row : fixtureRows(u"site-match.txt"_s, 3)) {
        const auto completion = row[1] == u"-"_s ? std::nullopt : std::optional(row[1]);
        EXPECT_PRED2(startsWith, found(SiteSearch::match(row[0], completion)), row[2])
            << row[0].toStdString();
    }
    // Spaces and tabs around the text do not count; case does not either.
    EXPECT_PRED2(startsWith, found(SiteSearch::match(u"  YT\t"_s)), u"YouTube"_s);
    EXPECT_FALSE(SiteSearch::match(u"   "_s));
}

TEST(SiteSearchForHostTest, UnknownHostsAreSearchedThroughGoogle) {
    EXPECT_EQ(SiteSearch::forHost(u"github.com"_s), named(u"GitHub"_s));
    const SiteSearch docs = SiteSearch::forHost(u"doc.qt.io"_s);
    EXPECT_EQ(found(docs),
              u"doc.qt.io doc.qt.io https://www.google.com/search?q=site%3Adoc.qt.io%20%s"_s);
    EXPECT_TRUE(docs.keywords.isEmpty() && !docs.color && !docs.regional);
    EXPECT_EQ(docs.suggest, SuggestSource::google());
}

TEST(SiteSearchLocalizedTest, MovesToTheMostVisitedVariant) {
    const SiteSearch amazon = named(u"Amazon"_s);
    EXPECT_EQ(found(amazon.localized({{u"amazon.de"_s, 5}, {u"github.com"_s, 90}})),
              u"Amazon amazon.de https://www.amazon.de/s?k=%s"_s);
    // Not visited more than the site's own host, or never visited: unchanged.
    EXPECT_EQ(amazon.localized({{u"amazon.de"_s, 5}, {u"amazon.com"_s, 7}}), amazon);
    EXPECT_EQ(amazon.localized({{u"amazon.com"_s, 4}, {u"amazon.de"_s, 4}}), amazon);
    EXPECT_EQ(amazon.localized({}), amazon);
    EXPECT_EQ(amazon.localized({{u"amazon.de"_s, 0}}), amazon);
    EXPECT_EQ(amazon.localized({{u"amazon.fr"_s, 9}, {u"amazon.de"_s, 2}}).host, u"amazon.fr"_s);
    // Not regional: unchanged whatever the counts.
    const SiteSearch youtube = named(u"YouTube"_s);
    EXPECT_EQ(youtube.localized({{u"youtube.de"_s, 50}}), youtube);
    // Moving away from a variant rewrites that variant's host.
    EXPECT_EQ(SiteSearch::known(u"amazon.co.uk"_s)->localized({{u"amazon.co.jp"_s, 2}}).urlTemplate,
              u"https://www.amazon.co.jp/s?k=%s"_s);
}

TEST(SiteSearchLocalizedTest, BetweenEquallyVisitedVariantsTheChoiceIsTheSameEveryTime) {
    const SiteSearch amazon = named(u"Amazon"_s);
    std::vector<std::pair<QString, qint64>> tied{
        {u"amazon.de"_s, 3}, {u"amazon.fr"_s, 3}, {u"amazon.it"_s, 1}};
    const QString chosen = amazon.localized(QHash<QString, qint64>(tied.begin(), tied.end())).host;
    EXPECT_TRUE(chosen == u"amazon.fr"_s || chosen == u"amazon.de"_s) << chosen.toStdString();
    while (std::next_permutation(tied.begin(), tied.end())) {
        QHash<QString, qint64> inOtherOrder;
        for (const auto& [host, count] : tied)
            inOtherOrder.insert(host, count);
        EXPECT_EQ(amazon.localized(inOtherOrder).host, chosen);
    }
}

TEST(SiteSearchUrlTest, TermsArePercentEncodedExceptLettersAndDigitsOfAnyScript) {
    for (const QStringList& row : fixtureRows(u"site-search-urls.txt"_s, 3))
        EXPECT_EQ(named(row[0]).searchURL(row[1]), row[2]);
    // Text that is not valid (a lone surrogate) goes in as it is.
    const QString broken = QString(QChar(0xD800)) + u"x"_s;
    EXPECT_EQ(named(u"Bing"_s).searchURL(broken), u"https://www.bing.com/search?q="_s + broken);
}

} // namespace
