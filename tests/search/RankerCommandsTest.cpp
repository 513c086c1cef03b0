#include "Builders.h"
#include "support/FixtureRows.h"

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

// The queries and outcomes are in the fixture table.
TEST(CommandRowsTest, QueriesOverCommandsAndDeveloperTools) {
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
    for (const QStringList& row : fixtureRows(u"command-queries.txt"_s, 3)) {
        const QString& query = row[1];
        if (row[0] == u"commands"_s) {
            EXPECT_EQ(scored(r.commandRows(query, query.split(u' '))), row[2])
                << query.toStdString();
            continue;
        }
        const Ranking ranking = r.rankDev(query, developerTools());
        EXPECT_EQ(titles(ranking.rows).join(u'|') + u" → "_s +
                      ranking.completion.value_or(u"none"_s),
                  row[2])
            << query.toStdString();
    }
    EXPECT_EQ(rendered(r.commandRows(u"rel"_s, {u"rel"_s}).first().row),
              u"command symbol=gearshape title=Reload Page "
              u"detail=View label=Run → menu View › Reload Page"_s);
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
