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

// Each query and the scored rows: three characters and a word start (title or keyword) are
// needed, title matches lead, equal tiers keep catalog order, every word must be present.
TEST(CommandRowsTest, QueriesAndTheirScoredRows) {
    const Ranker r = withCommands({
        command(u"Go"_s, u"go back"_s, u"History"_s),
        command(u"Unreload"_s, u"undo"_s, u"View"_s),
        command(u"Show Reader"_s, u"reader read article"_s, u"View"_s),
        command(u"Reopen Last Closed Tab"_s, u"undo restore closed"_s, u"History"_s),
        command(u"Reload Page"_s, u"reload refresh"_s, u"View"_s),
        command(u"Hard Reload"_s, u"hard reload refresh cache"_s, u"View"_s),
        command(u"Reload Page From Origin"_s, u"hard reload refresh cache"_s, u"View"_s),
        command(u"Show Web Inspector"_s, u"inspector devtools"_s, u"Develop"_s),
    });
    for (const auto& [query, rows] : {
             std::pair(u"go"_s, QString()),
             std::pair(u"rel"_s, u"Reload Page 60|Reload Page From Origin 60|Hard Reload 30"_s),
             std::pair(u"rea"_s, u"Show Reader 30"_s),
             std::pair(u"cache hard"_s, u"Hard Reload 30|Reload Page From Origin 30"_s),
             std::pair(u"ache hard"_s, QString()),
             std::pair(u"devt"_s, u"Show Web Inspector 30"_s),
             std::pair(u"tools"_s, QString()),
         })
        EXPECT_EQ(scored(r.commandRows(query, query.split(u' '))), rows) << query.toStdString();
    EXPECT_EQ(rendered(r.commandRows(u"rel"_s, {u"rel"_s}).first().row),
              u"command symbol=gearshape title=Reload Page "
              u"detail=View label=Run → menu View › Reload Page"_s);
}

// Each query and the tools listed, then the completion: with no query the core tools in
// catalog order; then title starts, core word starts, other word starts, inner matches.
TEST(RankDevTest, QueriesAndTheToolsListed) {
    const Ranker r = ranker();
    for (const auto& [query, listed] : {
             std::pair(u"  "_s, u"Web Inspector|Console|Page Source → none"_s),
             std::pair(u"PAGE s"_s, u"Page Source|Page Resources → Page Source"_s),
             std::pair(u"java"_s, u"Console → none"_s),
             std::pair(u"sources"_s, u"Web Inspector|Page Resources → none"_s),
             std::pair(u"ources"_s, u"Web Inspector|Page Resources → none"_s),
             std::pair(u"s"_s, u"Service Worker|Web Inspector|Page Source|User Agent|"
                               u"Page Resources|Console → Service Worker"_s),
             std::pair(u"nothing here"_s, u" → none"_s),
         }) {
        const Ranking ranking = r.rankDev(query, developerTools());
        EXPECT_EQ(titles(ranking.rows).join(u'|') + u" → "_s +
                      ranking.completion.value_or(u"none"_s),
                  listed)
            << query.toStdString();
    }
}

TEST(RankDevTest, TheLimitCutsTheCoreTools) {
    Ranker r = ranker();
    QList<Command> many;
    for (int i = 0; i < 14; ++i)
        many.append(command(u"Tool %1"_s.arg(i), u"tool"_s, u"Develop"_s, true));
    EXPECT_EQ(r.rankDev(QString(), many).rows.size(), 10);
    r.limit = 2;
    EXPECT_EQ(titles(r.rankDev(QString(), many).rows), (QStringList{u"Tool 0"_s, u"Tool 1"_s}));
}

} // namespace
