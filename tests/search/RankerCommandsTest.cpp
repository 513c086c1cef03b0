#include "Builders.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

// Scored rows as one line: "Reload Page 60|Hard Reload 30".
QString scored(const QList<ScoredRow>& rows) {
    QStringList list;
    for (const ScoredRow& row : rows)
        list.append(row.row.title + u' ' + QString::number(row.score));
    return list.join(u'|');
}

Ranker withCommands(QList<Command> commands) {
    Ranker r = ranker();
    r.commands = std::move(commands);
    return r;
}

QList<Command> developerTools() {
    return {
        command(u"Web Inspector"_s, u"inspector devtools elements network storage sources"_s,
                u"Develop"_s, true),
        command(u"Console"_s, u"javascript console js log repl"_s, u"Develop"_s, true),
        command(u"User Agent"_s, u"user agent ua spoof"_s, u"Develop"_s),
        command(u"Page Source"_s, u"source html view"_s, u"Develop"_s, true),
        command(u"Service Worker"_s, u"service worker sw"_s, u"Develop"_s),
        command(u"Page Resources"_s, u"resources sources files assets network"_s, u"Develop"_s),
    };
}

TEST(CommandRowsTest, NeedThreeCharactersAndAWordStart) {
    const Ranker r = withCommands({command(u"Go"_s, u"go back"_s, u"History"_s),
                                   command(u"Reload Page"_s, u"reload refresh"_s, u"View"_s),
                                   command(u"Unreload"_s, u"undo"_s, u"View"_s)});
    EXPECT_TRUE(r.commandRows(u"go"_s, {u"go"_s}).isEmpty());
    const QList<ScoredRow> rows = r.commandRows(u"rel"_s, {u"rel"_s});
    EXPECT_EQ(scored(rows), u"Reload Page 60"_s); // "Unreload" holds "rel" only inside a word
    EXPECT_EQ(rendered(rows.first().row), u"command symbol=gearshape title=Reload Page "
                                          u"detail=View label=Run → menu View › Reload Page"_s);
}

TEST(CommandRowsTest, TitleMatchesLeadAndEqualTiersKeepCatalogOrder) {
    const Ranker r = withCommands({
        command(u"Show Reader"_s, u"reader read article"_s, u"View"_s),
        command(u"Reopen Last Closed Tab"_s, u"undo restore closed"_s, u"History"_s),
        command(u"Reload Page"_s, u"reload refresh"_s, u"View"_s),
        command(u"Hard Reload"_s, u"hard reload refresh cache"_s, u"View"_s),
        command(u"Reload Page From Origin"_s, u"hard reload refresh cache"_s, u"View"_s),
    });
    EXPECT_EQ(scored(r.commandRows(u"rel"_s, {u"rel"_s})),
              u"Reload Page 60|Reload Page From Origin 60|Hard Reload 30"_s);
    EXPECT_EQ(scored(r.commandRows(u"rea"_s, {u"rea"_s})), u"Show Reader 30"_s);
    // Every word has to be present, the first one at a word start.
    EXPECT_EQ(scored(r.commandRows(u"cache hard"_s, {u"cache"_s, u"hard"_s})),
              u"Hard Reload 30|Reload Page From Origin 30"_s);
    EXPECT_TRUE(r.commandRows(u"ache hard"_s, {u"ache"_s, u"hard"_s}).isEmpty());
}

TEST(CommandRowsTest, KeywordsCountAsSearchableWords) {
    const Ranker r =
        withCommands({command(u"Show Web Inspector"_s, u"inspector devtools"_s, u"Develop"_s)});
    EXPECT_EQ(scored(r.commandRows(u"devt"_s, {u"devt"_s})), u"Show Web Inspector 30"_s);
    EXPECT_TRUE(r.commandRows(u"tools"_s, {u"tools"_s}).isEmpty());
}

TEST(RankDevTest, EmptyQueryListsCoreToolsInCatalogOrderUpToTheLimit) {
    Ranker r = ranker();
    const Ranking ranking = r.rankDev(u"  "_s, developerTools());
    EXPECT_EQ(titles(ranking.rows),
              (QStringList{u"Web Inspector"_s, u"Console"_s, u"Page Source"_s}));
    EXPECT_EQ(ranking.completion, std::nullopt);

    QList<Command> many;
    for (int i = 0; i < 14; ++i)
        many.append(command(u"Tool %1"_s.arg(i), u"tool"_s, u"Develop"_s, true));
    EXPECT_EQ(r.rankDev(QString(), many).rows.size(), 10);
    r.limit = 2;
    EXPECT_EQ(titles(r.rankDev(QString(), many).rows), (QStringList{u"Tool 0"_s, u"Tool 1"_s}));
}

TEST(RankDevTest, TitleStartCompletesWithTheToolTitleAsWritten) {
    const Ranker r = ranker();
    const Ranking ranking = r.rankDev(u"PAGE s"_s, developerTools());
    EXPECT_EQ(titles(ranking.rows), (QStringList{u"Page Source"_s, u"Page Resources"_s}));
    EXPECT_EQ(ranking.completion, u"Page Source"_s);

    const Ranking byKeyword = r.rankDev(u"java"_s, developerTools());
    EXPECT_EQ(titles(byKeyword.rows), QStringList{u"Console"_s});
    EXPECT_EQ(byKeyword.completion, std::nullopt);
}

TEST(RankDevTest, CoreToolsLeadAmongWordStartsAndInnerMatchesComeLast) {
    const Ranker r = ranker();
    // "sources" starts a keyword of Web Inspector (core) and Page Resources (not core);
    // "ources" sits inside words only, which still lists a tool, after all word starts.
    EXPECT_EQ(titles(r.rankDev(u"sources"_s, developerTools()).rows),
              (QStringList{u"Web Inspector"_s, u"Page Resources"_s}));
    EXPECT_EQ(titles(r.rankDev(u"ources"_s, developerTools()).rows),
              (QStringList{u"Web Inspector"_s, u"Page Resources"_s}));
    // Title start 3; core word start 2; other word start 1; inside a word only 0.
    EXPECT_EQ(titles(r.rankDev(u"s"_s, developerTools()).rows),
              (QStringList{u"Service Worker"_s, u"Web Inspector"_s, u"Page Source"_s,
                           u"User Agent"_s, u"Page Resources"_s, u"Console"_s}));
    EXPECT_TRUE(r.rankDev(u"nothing here"_s, developerTools()).rows.isEmpty());
}

} // namespace
