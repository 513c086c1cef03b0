#include "search/SiteSearch.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

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
    const QList<SiteSearch>& sites = SiteSearch::all();
    ASSERT_EQ(sites.size(), 69);
    EXPECT_EQ(sites.first().name + u".."_s + sites.last().name, u"Google..Linear"_s);
    const QRegularExpression colour(u"^#[0-9A-F]{6}$"_s);
    QSet<QString> hosts;
    QStringList regional;
    for (const SiteSearch& site : sites) {
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
    EXPECT_NE(SuggestSource::google(), SuggestSource::google(u"yt"_s));
}

// The most specific host wins; a shared ending is no subdomain. Country hosts of regional sites
// get their own search page, a subdomain of one keeps the site's own.
TEST(SiteSearchKnownTest, PicksTheMostSpecificHostOrACountryVariant) {
    for (const auto& [host, site] : std::initializer_list<std::pair<QString, QString>>{
             {u"mail.google.com"_s, u"Gmail mail.google.com"_s},
             {u"scholar.google.com"_s, u"Google Scholar scholar.google.com"_s},
             {u"music.youtube.com"_s, u"YouTube Music music.youtube.com"_s},
             {u"m.youtube.com"_s, u"YouTube youtube.com"_s},
             {u"music.apple.com"_s, u"Apple Music music.apple.com"_s},
             {u"developer.apple.com"_s, u"Apple Developer developer.apple.com"_s},
             {u"en.wikipedia.org"_s, u"Wikipedia wikipedia.org"_s},
             {u"google.de"_s, u"Google google.de https://www.google.de/search?q=%s"_s},
             {u"amazon.com.mx"_s, u"Amazon amazon.com.mx https://www.amazon.com.mx/s?k=%s"_s},
             {u"ebay.co.uk"_s, u"eBay ebay.co.uk https://www.ebay.co.uk/sch/i.html?_nkw=%s"_s},
             {u"accounts.google.com"_s, u"Google google.com https://www.google.com/search?q=%s"_s},
             {u"notgoogle.com"_s, u"(none)"_s},
             {u"apple.com"_s, u"(none)"_s},
             {u"example.org"_s, u"(none)"_s},
             {u"reddit.de"_s, u"(none)"_s}, // not regional: no country variants
             {QString(), u"(none)"_s}}) {
        EXPECT_TRUE((found(SiteSearch::known(host)) + u' ').startsWith(site + u' '))
            << host.toStdString();
    }
    EXPECT_EQ(SiteSearch::known(u"amazon.com.mx"_s)->suggest, SuggestSource::amazon());
}

TEST(SiteSearchMatchTest, KeywordsPrefixesHostsAndTheCompletion) {
    for (const auto& [typed, completion, site] :
         std::initializer_list<std::tuple<QString, std::optional<QString>, QString>>{
             {u"yt"_s, {}, u"YouTube"_s},
             {u"  YT\t"_s, {}, u"YouTube"_s},
             {u"you"_s, {}, u"YouTube"_s},
             {u"yo"_s, {}, u"(none)"_s}, // two letters and no such keyword
             // Apple Music's keyword, though Amazon, earlier, has keywords beginning with it.
             {u"am"_s, {}, u"Apple Music"_s},
             {u"w"_s, {}, u"Wikipedia"_s},
             {u"stackov"_s, {}, u"Stack Overflow"_s},
             {u"bsk"_s, {}, u"Bluesky"_s}, // the host's start
             {u"x.com"_s, {}, u"X x.com"_s},
             {u"maps.google.com/x"_s, {}, u"Google Maps"_s},
             {u"amazon.de"_s, {}, u"Amazon amazon.de"_s},
             {u"https://www.Amazon.de/"_s, {}, u"Amazon amazon.de"_s},
             // A dotted text outside the catalog falls back to keywords and prefixes.
             {u"example.org"_s, {}, u"(none)"_s},
             {QString(), {}, u"(none)"_s},
             {u"   "_s, {}, u"(none)"_s},
             {u"yt music"_s, {}, u"(none)"_s},
             {u"zzzz"_s, {}, u"(none)"_s},
             // The completion decides when there is one.
             {u"git"_s, u"github.com/kivaro/kivaro"_s, u"GitHub"_s},
             {u"mail"_s, u"mail.google.com"_s, u"Gmail"_s},
             {u"yt"_s, u"ytimg.com"_s, u"(none)"_s},
             {u"yt music"_s, u"youtube.com"_s, u"(none)"_s}}) {
        EXPECT_TRUE((found(SiteSearch::match(typed, completion)) + u' ').startsWith(site + u' '))
            << typed.toStdString() << " "
            << found(SiteSearch::match(typed, completion)).toStdString();
    }
}

TEST(SiteSearchForHostTest, UnknownHostsAreSearchedThroughGoogle) {
    EXPECT_EQ(SiteSearch::forHost(u"github.com"_s), named(u"GitHub"_s));
    const SiteSearch docs = SiteSearch::forHost(u"doc.qt.io"_s);
    EXPECT_EQ(found(docs),
              u"doc.qt.io doc.qt.io https://www.google.com/search?q=site%3Adoc.qt.io%20%s"_s);
    EXPECT_TRUE(docs.keywords.isEmpty() && !docs.color && !docs.regional);
    EXPECT_EQ(docs.suggest, SuggestSource::google());
    EXPECT_EQ(docs.searchURL(u"qstring arg"_s),
              u"https://www.google.com/search?q=site%3Adoc.qt.io%20qstring%20arg"_s);
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

// Letters and digits of any script stay; the rest is percent-encoded, also a typed "%s"; the
// term goes into the query, the path or the fragment; text that is not valid goes in as it is.
TEST(SiteSearchUrlTest, TermsArePercentEncodedExceptLettersAndDigitsOfAnyScript) {
    const QString youtube = u"https://www.youtube.com/results?search_query="_s;
    const QString broken = QString(QChar(0xD800)) + u"x"_s;
    for (const auto& [site, term, url] :
         std::initializer_list<std::tuple<QString, QString, QString>>{
             {u"YouTube"_s, u"rock & roll + 100%"_s,
              youtube + u"rock%20%26%20roll%20%2B%20100%25"_s},
             {u"YouTube"_s, u"a-b.c_d~e/f?g=h#i"_s, youtube + u"a-b.c_d~e%2Ff%3Fg%3Dh%23i"_s},
             {u"YouTube"_s, u"東京 café Москва ٣"_s, youtube + u"東京%20café%20Москва%20٣"_s},
             {u"YouTube"_s, u"🎸 solo"_s, youtube + u"%F0%9F%8E%B8%20solo"_s},
             {u"YouTube"_s, u"%s"_s, youtube + u"%25s"_s},
             {u"Airbnb"_s, u"São Paulo & 🏖"_s,
              u"https://www.airbnb.com/s/São%20Paulo%20%26%20%F0%9F%8F%96/homes"_s},
             {u"Gmail"_s, u"from:ana +1"_s,
              u"https://mail.google.com/mail/u/0/#search/from%3Aana%20%2B1"_s},
             {u"Bing"_s, broken, u"https://www.bing.com/search?q="_s + broken}}) {
        EXPECT_EQ(named(site).searchURL(term), url);
    }
}

} // namespace
