#include "base/Web.h"

#include "search/SearchEngine.h"
#include "support/FixtureRows.h"

#include <functional>
#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// Each row of the table: a helper, a text (spaces around typed text included), and what the
// helper makes of it.
TEST(WebTest, HelpersMakeOfEachTextWhatTheTableSays) {
    QMap<QString, std::function<QString(const QString&)>> helpers{
        {u"host"_s, [](const QString& url) { return Web::host(url); }},
        {u"idn"_s,
         [](const QString& url) {
             const QString host = Web::host(url);
             return Web::bare(url).contains(host) ? host : u"not in "_s + Web::bare(url);
         }},
        {u"bare"_s, [](const QString& url) { return Web::bare(url); }},
        {u"page"_s, [](const QString& url) { return Web::page(url); }},
        {u"address"_s,
         [](const QString& text) { return Web::looksLikeURL(text) ? u"yes"_s : u"no"_s; }},
        {u"normalize"_s, [](const QString& text) { return Web::normalize(text); }}};
    for (SearchEngine engine : SearchEngine::allCases())
        helpers.insert(QString(engine.rawValue()),
                       [engine](const QString& text) { return engine.searchURL(text); });
    for (const QStringList& row : fixtureRows(u"web-texts.txt"_s, 3)) {
        ASSERT_TRUE(helpers.contains(row[0])) << row[0].toStdString();
        EXPECT_EQ(helpers[row[0]](row[1]), row[2]) << row.join(u" | ").toStdString();
    }
}

TEST(SearchEngineTest, RawValuesDisplayNamesAndTextThatCannotBeEncoded) {
    QStringList names;
    for (SearchEngine engine : SearchEngine::allCases()) {
        EXPECT_EQ(SearchEngine::fromRaw(engine.rawValue()), engine);
        names.append(engine.displayName());
    }
    EXPECT_EQ(names, (QStringList{u"Google"_s, u"DuckDuckGo"_s, u"Kagi"_s, u"Bing"_s}));
    EXPECT_EQ(SearchEngine::fromRaw(u"duckduckgo"), std::nullopt);
    // A lone surrogate gives an empty term.
    EXPECT_EQ(SearchEngine(SearchEngine::google).searchURL(QString(QChar(0xd800))),
              u"https://www.google.com/search?q="_s);
}

} // namespace
