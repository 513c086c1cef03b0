#include "base/Web.h"

#include "search/SearchEngine.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

TEST(WebHostTest, KeepsAnInternationalHostInTheFormItWasWrittenIn) {
    for (const auto& [url, host] : std::initializer_list<std::pair<QString, QString>>{
             {u"https://xn--bcher-kva.de/buch"_s, u"xn--bcher-kva.de"_s},
             {u"https://XN--BCHER-KVA.DE"_s, u"xn--bcher-kva.de"_s},
             {u"https://www.xn--bcher-kva.de/"_s, u"xn--bcher-kva.de"_s},
             {u"https://xn--e1afmkfd.xn--p1ai/"_s, u"xn--e1afmkfd.xn--p1ai"_s},
             {u"https://bücher.de/buch"_s, u"bücher.de"_s},
             {u"https://BÜCHER.de:8443"_s, u"bücher.de"_s},
             {u"https://пример.рф/"_s, u"пример.рф"_s},
             // Top-level domains Qt would otherwise hand out in the other form.
             {u"https://bücher.example/"_s, u"bücher.example"_s},
             {u"https://xn--bcher-kva.example/"_s, u"xn--bcher-kva.example"_s},
             // Only the host decides, not a user name, path or query around it.
             {u"https://jörg@xn--bcher-kva.de/"_s, u"xn--bcher-kva.de"_s},
             {u"https://xn--bcher-kva.de/straße?q=ü#ö"_s, u"xn--bcher-kva.de"_s},
         }) {
        EXPECT_EQ(Web::host(url), host) << url.toStdString();
        EXPECT_TRUE(Web::bare(url).contains(host)) << url.toStdString();
    }
}

// What each of the address helpers makes of a text.
TEST(WebTest, HostBareAndPage) {
    using Helper = QString (*)(QStringView);
    const Helper host = [](QStringView url) { return Web::host(url.toString()); };
    const Helper bare = [](QStringView url) { return Web::bare(url); };
    const Helper page = [](QStringView url) { return Web::page(url.toString()); };
    const QList<std::tuple<Helper, QString, QString>> cases{
        // The host: lower case, one leading "www." dropped; empty without one.
        {host, u"https://WWW.Example.COM/Path"_s, u"example.com"_s},
        {host, u"https://www.www.example.com/"_s, u"www.example.com"_s},
        {host, u"http://user:pw@news.example.co.uk:8080/a?b#c"_s, u"news.example.co.uk"_s},
        {host, u"https://wwwexample.com"_s, u"wwwexample.com"_s},
        {host, u"example.com/path"_s, QString()}, // typed without a scheme: a path
        {host, QString(), QString()},
        {host, u"about:blank"_s, QString()},
        {host, u"http://[::1"_s, QString()},
        {host, u"not a url at all"_s, QString()},
        {host, u"https://"_s, QString()},
        // The bare form strips the scheme, "www." and trailing slashes only.
        {bare, u"HTTPS://WWW.Example.com/Docs/"_s, u"example.com/docs"_s},
        {bare, u"https://"_s, QString()},
        {bare, u"http://example.com///"_s, u"example.com"_s},
        {bare, u"ftp://www.example.com/"_s, u"ftp://www.example.com"_s},
        {bare, u"https://example.com/a?q=1#top"_s, u"example.com/a?q=1#top"_s},
        {bare, u"https://http://x.com"_s, u"x.com"_s}, // the two schemes one after the other
        {bare, QString(), QString()},
        // The page folds fragments and tracking parameters, keeping order and encoding.
        {page, u"https://example.com/a?b=1&utm_source=x&c=2#frag"_s, u"example.com/a?b=1&c=2"_s},
        {page, u"https://example.com/a?utm_source=x&UTM_medium=y"_s, u"example.com/a"_s},
        {page, u"https://www.example.com/a/#section"_s, u"example.com/a"_s},
        {page, u"https://example.com/a?utmost=1"_s, u"example.com/a?utmost=1"_s},
        {page, u"https://example.com/a?"_s, u"example.com/a"_s},
        {page, u"https://example.com/s?q=a%20b&utm_id=1&lang=en"_s,
         u"example.com/s?q=a%20b&lang=en"_s},
        {page, u"http://[::1"_s, Web::bare(u"http://[::1"_s)},
        {page, QString(), QString()}};
    for (const auto& [helper, text, expected] : cases)
        EXPECT_EQ(helper(text), expected) << text.toStdString();
}

TEST(WebLooksLikeURLTest, AcceptsAddressesAndRejectsSearches) {
    for (const QString& address :
         {u"example.com"_s, u"  Example.COM/path "_s, u"192.168.1.1"_s, u"10.0.0.1:8080/x"_s,
          u"localhost"_s, u"localhost:3000"_s, u"http://x"_s, u"HTTPS://x"_s, u":example.com"_s,
          u"sub.domain.example.org:443"_s, u"münchen.de"_s, u"пример.рф"_s})
        EXPECT_TRUE(Web::looksLikeURL(address)) << address.toStdString();

    for (const QString& search :
         {QString(), u"   "_s, u"example.c"_s, u"1.2.3"_s, u"a.b.c.d1"_s, u"example.com x"_s,
          u"hello"_s, u"version 2.0"_s, u"file.tar.gz2"_s, u"..."_s, u"https://a b"_s,
          u"1.2.3.4.5"_s, u"a.1"_s})
        EXPECT_FALSE(Web::looksLikeURL(search)) << search.toStdString();
}

TEST(WebNormalizeTest, CompletesTypedTextIntoAnAddress) {
    EXPECT_EQ(Web::normalize(u"  example.com/a  "_s), u"https://example.com/a"_s);
    EXPECT_EQ(Web::normalize(u"HTTP://Example.com"_s), u"HTTP://Example.com"_s);
    EXPECT_EQ(Web::normalize(u"Https://x.org"_s), u"Https://x.org"_s);
    EXPECT_EQ(Web::normalize(u"localhost:8080"_s), u"http://localhost:8080"_s);
    EXPECT_EQ(Web::normalize(u"LocalHost"_s), u"http://LocalHost"_s);
    EXPECT_EQ(Web::normalize(u"127.0.0.1:5000"_s), u"http://127.0.0.1:5000"_s);
    EXPECT_EQ(Web::normalize(u"\u0663.example"_s), u"http://\u0663.example"_s); // Arabic-Indic 3
    EXPECT_EQ(Web::normalize(QString()), u"https://"_s);
}

TEST(SearchEngineTest, EncodesTermsByteByByteAfterTheQueryKey) {
    const SearchEngine google = SearchEngine::google;
    EXPECT_EQ(google.searchURL(u"c++ & café"_s),
              u"https://www.google.com/search?q=c%2B%2B%20%26%20caf%C3%A9"_s);
    EXPECT_EQ(google.searchURL(u"a-b_c.d~e"_s), u"https://www.google.com/search?q=a-b_c.d~e"_s);
    EXPECT_EQ(google.searchURL(u"100%/?#"_s), u"https://www.google.com/search?q=100%25%2F%3F%23"_s);
    EXPECT_EQ(google.searchURL(u"日本"_s), u"https://www.google.com/search?q=%E6%97%A5%E6%9C%AC"_s);
    EXPECT_EQ(google.searchURL(u"🙂"_s), u"https://www.google.com/search?q=%F0%9F%99%82"_s);
    EXPECT_EQ(SearchEngine(SearchEngine::duckDuckGo).searchURL(u"x"_s),
              u"https://duckduckgo.com/?q=x"_s);
    EXPECT_EQ(SearchEngine(SearchEngine::kagi).searchURL(u"x"_s), u"https://kagi.com/search?q=x"_s);
    EXPECT_EQ(SearchEngine(SearchEngine::bing).searchURL(u"x"_s),
              u"https://www.bing.com/search?q=x"_s);
}

TEST(SearchEngineTest, TextThatCannotBeEncodedGivesAnEmptyTerm) {
    const QString loneSurrogate(QChar(0xd800));
    EXPECT_EQ(SearchEngine(SearchEngine::google).searchURL(loneSurrogate),
              u"https://www.google.com/search?q="_s);
}

TEST(SearchEngineTest, RawValuesAndDisplayNames) {
    QStringList names;
    for (SearchEngine engine : SearchEngine::allCases()) {
        EXPECT_EQ(SearchEngine::fromRaw(engine.rawValue()), engine);
        names.append(engine.displayName());
    }
    EXPECT_EQ(names, (QStringList{u"Google"_s, u"DuckDuckGo"_s, u"Kagi"_s, u"Bing"_s}));
    EXPECT_EQ(SearchEngine::fromRaw(u"duckduckgo"), std::nullopt);
}

} // namespace
