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

QString nameOf(const std::optional<SiteSearch>& site) {
    return site ? site->name : u"(none)"_s;
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
        EXPECT_FALSE(site.host.startsWith(u"www."_s));
        EXPECT_FALSE(site.keywords.isEmpty());
        for (const QString& keyword : site.keywords)
            EXPECT_EQ(keyword, keyword.toLower());
        EXPECT_FALSE(hosts.contains(site.host));
        hosts.insert(site.host);
        if (site.regional)
            regional.append(site.name);
    }
    EXPECT_EQ(regional, QStringList({u"Google"_s, u"Amazon"_s, u"eBay"_s, u"Yandex"_s}));
    EXPECT_EQ(named(u"YouTube"_s).suggest, SuggestSource::google(u"yt"_s));
    EXPECT_NE(SuggestSource::google(), SuggestSource::google(u"yt"_s));
}

TEST(SiteSearchKnownTest, PicksTheMostSpecificHost) {
    EXPECT_EQ(nameOf(SiteSearch::known(u"google.com"_s)), u"Google"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"mail.google.com"_s)), u"Gmail"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"scholar.google.com"_s)), u"Google Scholar"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"music.youtube.com"_s)), u"YouTube Music"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"m.youtube.com"_s)), u"YouTube"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"music.apple.com"_s)), u"Apple Music"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"developer.apple.com"_s)), u"Apple Developer"_s);
    EXPECT_EQ(nameOf(SiteSearch::known(u"en.wikipedia.org"_s)), u"Wikipedia"_s);
    // Not a subdomain: only a shared ending.
    EXPECT_FALSE(SiteSearch::known(u"notgoogle.com"_s));
    EXPECT_FALSE(SiteSearch::known(u"apple.com"_s));
    EXPECT_FALSE(SiteSearch::known(u"example.org"_s));
    EXPECT_FALSE(SiteSearch::known(QString()));
}

TEST(SiteSearchKnownTest, CountryHostsOfRegionalSitesGetTheirOwnSearchPage) {
    const auto german = SiteSearch::known(u"google.de"_s);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->name, u"Google"_s);
    EXPECT_EQ(german->host, u"google.de"_s);
    EXPECT_EQ(german->urlTemplate, u"https://www.google.de/search?q=%s"_s);

    const auto mexico = SiteSearch::known(u"amazon.com.mx"_s);
    ASSERT_TRUE(mexico);
    EXPECT_EQ(mexico->urlTemplate, u"https://www.amazon.com.mx/s?k=%s"_s);
    EXPECT_EQ(mexico->suggest, SuggestSource::amazon());

    EXPECT_EQ(SiteSearch::known(u"ebay.co.uk"_s)->urlTemplate,
              u"https://www.ebay.co.uk/sch/i.html?_nkw=%s"_s);
    // A site that is not regional has no country variants.
    EXPECT_FALSE(SiteSearch::known(u"reddit.de"_s));
    // A subdomain of a regional site is no country variant: it keeps the site's own page.
    EXPECT_EQ(SiteSearch::known(u"accounts.google.com"_s), named(u"Google"_s));
}

TEST(SiteSearchMatchTest, KeywordsPrefixesAndHosts) {
    EXPECT_EQ(nameOf(SiteSearch::match(u"yt"_s)), u"YouTube"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"  YT\t"_s)), u"YouTube"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"you"_s)), u"YouTube"_s);
    EXPECT_FALSE(SiteSearch::match(u"yo"_s)); // two letters and no such keyword
    // "am" is Apple Music's keyword, though Amazon, earlier, has keywords beginning with it.
    EXPECT_EQ(nameOf(SiteSearch::match(u"am"_s)), u"Apple Music"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"w"_s)), u"Wikipedia"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"stackov"_s)), u"Stack Overflow"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"bsk"_s)), u"Bluesky"_s); // the host's start
    EXPECT_EQ(nameOf(SiteSearch::match(u"x.com"_s)), u"X"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"maps.google.com/x"_s)), u"Google Maps"_s);
    for (const QString& typed : {u"amazon.de"_s, u"https://www.Amazon.de/"_s}) {
        const auto site = SiteSearch::match(typed);
        ASSERT_EQ(nameOf(site), u"Amazon"_s) << typed.toStdString();
        EXPECT_EQ(site->host, u"amazon.de"_s);
    }
    // A dotted text outside the catalog falls back to keywords and prefixes.
    EXPECT_FALSE(SiteSearch::match(u"example.org"_s));
    EXPECT_FALSE(SiteSearch::match(QString()));
    EXPECT_FALSE(SiteSearch::match(u"   "_s));
    EXPECT_FALSE(SiteSearch::match(u"yt music"_s));
    EXPECT_FALSE(SiteSearch::match(u"zzzz"_s));
}

TEST(SiteSearchMatchTest, TheCompletionDecidesWhenThereIsOne) {
    EXPECT_EQ(nameOf(SiteSearch::match(u"git"_s, u"github.com/kivaro/kivaro"_s)), u"GitHub"_s);
    EXPECT_EQ(nameOf(SiteSearch::match(u"mail"_s, u"mail.google.com"_s)), u"Gmail"_s);
    // The completion names no catalog site: no site, although "yt" is a keyword.
    EXPECT_FALSE(SiteSearch::match(u"yt"_s, u"ytimg.com"_s));
    EXPECT_FALSE(SiteSearch::match(u"yt music"_s, u"youtube.com"_s));
}

TEST(SiteSearchForHostTest, UnknownHostsAreSearchedThroughGoogle) {
    EXPECT_EQ(SiteSearch::forHost(u"github.com"_s), named(u"GitHub"_s));
    const SiteSearch docs = SiteSearch::forHost(u"doc.qt.io"_s);
    EXPECT_EQ(docs.name, u"doc.qt.io"_s);
    EXPECT_EQ(docs.host, u"doc.qt.io"_s);
    EXPECT_TRUE(docs.keywords.isEmpty());
    EXPECT_FALSE(docs.color);
    EXPECT_FALSE(docs.regional);
    EXPECT_EQ(docs.suggest, SuggestSource::google());
    EXPECT_EQ(docs.searchURL(u"qstring arg"_s),
              u"https://www.google.com/search?q=site%3Adoc.qt.io%20qstring%20arg"_s);
}

TEST(SiteSearchLocalizedTest, MovesToTheMostVisitedVariant) {
    const SiteSearch amazon = named(u"Amazon"_s);
    const SiteSearch german = amazon.localized({{u"amazon.de"_s, 5}, {u"github.com"_s, 90}});
    EXPECT_EQ(german.host, u"amazon.de"_s);
    EXPECT_EQ(german.urlTemplate, u"https://www.amazon.de/s?k=%s"_s);
    EXPECT_EQ(german.name, u"Amazon"_s);

    EXPECT_EQ(amazon.localized({{u"amazon.de"_s, 5}, {u"amazon.com"_s, 7}}), amazon);
    EXPECT_EQ(amazon.localized({}), amazon);
    EXPECT_EQ(amazon.localized({{u"amazon.de"_s, 0}}), amazon); // never visited
    EXPECT_EQ(amazon.localized({{u"amazon.fr"_s, 9}, {u"amazon.de"_s, 2}}).host, u"amazon.fr"_s);
    // Not regional: unchanged whatever the counts.
    const SiteSearch youtube = named(u"YouTube"_s);
    EXPECT_EQ(youtube.localized({{u"youtube.de"_s, 50}}), youtube);
}

TEST(SiteSearchLocalizedTest, Ties) {
    const SiteSearch amazon = named(u"Amazon"_s);
    // A variant only as popular as the site's own host does not win.
    EXPECT_EQ(amazon.localized({{u"amazon.com"_s, 4}, {u"amazon.de"_s, 4}}), amazon);
    // Between equally visited variants the choice is one of them, the same every time.
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
    // Moving away from a variant rewrites that variant's host.
    const SiteSearch uk = *SiteSearch::known(u"amazon.co.uk"_s);
    EXPECT_EQ(uk.localized({{u"amazon.co.jp"_s, 2}}).urlTemplate,
              u"https://www.amazon.co.jp/s?k=%s"_s);
}

TEST(SiteSearchUrlTest, TermsArePercentEncodedExceptLettersAndDigitsOfAnyScript) {
    const SiteSearch youtube = named(u"YouTube"_s);
    EXPECT_EQ(youtube.searchURL(u"rock & roll + 100%"_s),
              u"https://www.youtube.com/results?search_query=rock%20%26%20roll%20%2B%20100%25"_s);
    EXPECT_EQ(youtube.searchURL(u"a-b.c_d~e/f?g=h#i"_s),
              u"https://www.youtube.com/results?search_query=a-b.c_d~e%2Ff%3Fg%3Dh%23i"_s);
    EXPECT_EQ(youtube.searchURL(u"東京 café Москва ٣"_s),
              u"https://www.youtube.com/results?search_query=東京%20café%20Москва%20٣"_s);
    EXPECT_EQ(youtube.searchURL(u"🎸 solo"_s),
              u"https://www.youtube.com/results?search_query=%F0%9F%8E%B8%20solo"_s);
    // A "%s" typed by the user is not a place for the term.
    EXPECT_EQ(youtube.searchURL(u"%s"_s), u"https://www.youtube.com/results?search_query=%25s"_s);

    // The term inside the path and inside the fragment.
    EXPECT_EQ(named(u"Airbnb"_s).searchURL(u"São Paulo & 🏖"_s),
              u"https://www.airbnb.com/s/São%20Paulo%20%26%20%F0%9F%8F%96/homes"_s);
    EXPECT_EQ(named(u"Gmail"_s).searchURL(u"from:ana +1"_s),
              u"https://mail.google.com/mail/u/0/#search/from%3Aana%20%2B1"_s);

    // Text that is not valid (a lone surrogate) goes in as it is.
    const QString broken = QString(QChar(0xD800)) + u"x"_s;
    EXPECT_EQ(named(u"Bing"_s).searchURL(broken), u"https://www.bing.com/search?q="_s + broken);
}

} // namespace
