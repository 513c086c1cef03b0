#include "MenuTrees.h"
#include "browsers/Commands.h"
#include "search/Ranker.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::chromiumID;
using MenuTrees::safariID;

QList<Row> commandRowsOf(const Ranking& ranking) {
    QList<Row> rows;
    for (const Row& row : ranking.rows) {
        if (row.kind == Row::Kind::command)
            rows.append(row);
    }
    return rows;
}

// Rankers fed with what the store computes from the fake menu bars.
class CommandRankingTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, MenuTrees::safari());
        access.setMenuBar(chromiumID, MenuTrees::chromium());
        const auto safariItems = MenuBar::walk(access, safariID);
        safari.commands = Commands::forBrowser(safariItems, true);
        safariTools = Commands::dev(safariItems);
        safari.devAvailable = !safariTools.isEmpty();
        const auto chromiumItems = MenuBar::walk(access, chromiumID);
        chromium.commands = Commands::forBrowser(chromiumItems, false);
        chromiumTools = Commands::dev(chromiumItems);
    }

    FakeMenuBarAccess access;
    Ranker safari{SearchEngine::google};
    QList<Command> safariTools;
    Ranker chromium{SearchEngine::google};
    QList<Command> chromiumTools;
};

TEST_F(CommandRankingTest, ThreeLettersOfATitleListTheMenuCommand) {
    const QList<ScoredRow> rows = safari.commandRows(u"rel"_s, {u"rel"_s});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(titlesOf(rows), (QStringList{u"Reload Page"_s, u"Reload Page From Origin"_s,
                                           u"Reload Without Content Blockers"_s}));
    EXPECT_EQ(rows[0].score, 60);
    EXPECT_EQ(rows[0].row, (Row{.kind = Row::Kind::command,
                                .host = {},
                                .url = {},
                                .symbol = u"arrow.clockwise"_s,
                                .keys = {u"\u2318"_s, u"R"_s},
                                .title = u"Reload Page"_s,
                                .detail = u"View"_s,
                                .label = u"Run"_s,
                                .action = Action::menu({u"View"_s, u"Reload Page"_s})}));
    EXPECT_TRUE(safari.commandRows(u"re"_s, {u"re"_s}).isEmpty());
    // Inside a word only ("reload", "download") is no match in normal mode.
    EXPECT_TRUE(safari.commandRows(u"oad"_s, {u"oad"_s}).isEmpty());
}

TEST_F(CommandRankingTest, KeywordMatchesRankBelowTitleMatches) {
    const QList<ScoredRow> rows = safari.commandRows(u"overview"_s, {u"overview"_s});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row.title, u"Show Tab Overview"_s);
    EXPECT_EQ(rows[0].score, 30);
    const QList<ScoredRow> copy = chromium.commandRows(u"copy"_s, {u"copy"_s});
    EXPECT_EQ(titlesOf(copy), (QStringList{u"Copy"_s, u"Copy Link"_s, u"Copy Markdown Link"_s}));
    EXPECT_EQ(copy[1].row.action, Action::copyLink(false));
    EXPECT_EQ(copy[1].row.detail, u"Kivaro"_s);
}

TEST_F(CommandRankingTest, FullRankingCarriesCommandRows) {
    const QList<Row> rows = commandRowsOf(safari.rank(u"reload page"_s));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0].title, u"Reload Page"_s);
    EXPECT_EQ(rows[0].detail, u"View"_s);

    const Ranking dev = safari.rank(u"dev"_s);
    ASSERT_FALSE(dev.rows.isEmpty());
    bool offersDevMode = false;
    for (const Row& row : dev.rows)
        offersDevMode = offersDevMode || row.action == Action::devMode();
    EXPECT_TRUE(offersDevMode);
}

TEST_F(CommandRankingTest, DefaultCommandsRankWhenTheMenuBarIsUnreadable) {
    access.setTrusted(false);
    Ranker ranker(SearchEngine::google);
    ranker.commands = Commands::forBrowser(MenuBar::walk(access, safariID), true);
    const QList<ScoredRow> rows = ranker.commandRows(u"ful"_s, {u"ful"_s});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row.title, u"Enter Full Screen"_s);
    EXPECT_TRUE(rows[0].row.keys.isEmpty());
    EXPECT_EQ(rows[0].row.action, Action::menu({u"View"_s, u"Enter Full Screen"_s}));
}

TEST_F(CommandRankingTest, DevModeListsCoreToolsInCatalogOrder) {
    const Ranking ranking = safari.rankDev(QString(), safariTools);
    EXPECT_EQ(titlesOf(ranking.rows),
              (QStringList{u"Web Inspector"_s, u"Console"_s, u"Inspect Element"_s, u"Page Source"_s,
                           u"Page Resources"_s, u"Timeline Recording"_s,
                           u"Responsive Design Mode"_s, u"Empty Caches"_s,
                           u"Connect Web Inspector"_s, u"Inspect Apps and Devices"_s}));
    EXPECT_FALSE(ranking.completion);
    EXPECT_EQ(ranking.rows[1].keys, (QStringList{u"\u2325"_s, u"\u2318"_s, u"C"_s}));
    EXPECT_EQ(ranking.rows[1].detail, u"Develop"_s);
    EXPECT_EQ(ranking.rows[1].label, u"Run"_s);
    EXPECT_EQ(ranking.rows[1].action, Action::menu({u"Develop"_s, u"Show JavaScript Console"_s}));
}

TEST_F(CommandRankingTest, DevModeCompletesAToolTitle) {
    const Ranking console = safari.rankDev(u"  con"_s, safariTools);
    EXPECT_EQ(console.completion, u"Console"_s);
    EXPECT_EQ(titlesOf(console.rows).mid(0, 2),
              (QStringList{u"Console"_s, u"Connect Web Inspector"_s}));

    const Ranking agent = safari.rankDev(u"user agent"_s, safariTools);
    EXPECT_EQ(agent.completion, u"User Agent: Default (Automatically Chosen)"_s);
    EXPECT_EQ(agent.rows.size(), 3);

    const Ranking devtools = chromium.rankDev(u"dev"_s, chromiumTools);
    EXPECT_EQ(devtools.completion, u"Developer Tools"_s);
    EXPECT_EQ(titlesOf(devtools.rows),
              (QStringList{u"Developer Tools"_s, u"Page Source"_s, u"Inspect Element"_s,
                           u"Console"_s, u"Allow JavaScript from Apple Events"_s}));
}

TEST_F(CommandRankingTest, DevModeListsCoreToolsFirstAndInnerMatchesLast) {
    const Ranking simulator = safari.rankDev(u"simulator"_s, safariTools);
    EXPECT_EQ(titlesOf(simulator.rows),
              (QStringList{u"Inspect Apps and Devices"_s, u"Open With: Google Chrome"_s,
                           u"Open With: Firefox"_s}));
    EXPECT_FALSE(simulator.completion);
    // Text found only inside words still lists the tools, in their order, after any word start.
    const Ranking source = safari.rankDev(u"ources"_s, safariTools);
    EXPECT_EQ(titlesOf(source.rows), (QStringList{u"Web Inspector"_s, u"Page Resources"_s}));
    // Tools the user chose in the menus (group entries) follow the core tools they tie with.
    QList<Command> tools = safariTools;
    std::reverse(tools.begin(), tools.end());
    const Ranking reversed = safari.rankDev(u"simulator"_s, tools);
    EXPECT_EQ(titlesOf(reversed.rows),
              (QStringList{u"Inspect Apps and Devices"_s, u"Open With: Firefox"_s,
                           u"Open With: Google Chrome"_s}));
}

} // namespace
} // namespace kivaro
