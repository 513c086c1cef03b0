#include "../search/Builders.h"
#include "MenuTrees.h"
#include "browsers/Commands.h"
#include "search/Ranker.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::chromiumID;
using MenuTrees::safariID;

// Rankers fed with what the store computes from the fake menu bars.
class CommandRankingTest : public MenuTrees::MenuBarsTest {
protected:
    void SetUp() override {
        MenuBarsTest::SetUp();
        const auto safariItems = MenuBar::walk(access, safariID);
        safari.commands = Commands::forBrowser(safariItems, true);
        safariTools = Commands::dev(safariItems);
        safari.devAvailable = !safariTools.isEmpty();
        const auto chromiumItems = MenuBar::walk(access, chromiumID);
        chromium.commands = Commands::forBrowser(chromiumItems, false);
        chromiumTools = Commands::dev(chromiumItems);
    }

    Ranker safari{SearchEngine::google};
    QList<Command> safariTools;
    Ranker chromium{SearchEngine::google};
    QList<Command> chromiumTools;
};

// The ranking rules themselves are the search tests'; these check that the commands made from
// real menus rank as the rules say.
TEST_F(CommandRankingTest, TitleMatchesLeadKeywordMatchesAndTheProgramsOwnCommandsJoinIn) {
    const QList<ScoredRow> rows = safari.commandRows(u"rel"_s, {u"rel"_s});
    EXPECT_EQ(titlesOf(rows), (QStringList{u"Reload Page"_s, u"Reload Page From Origin"_s,
                                           u"Reload Without Content Blockers"_s}));
    EXPECT_EQ(testing::rendered(rows[0].row),
              u"command symbol=arrow.clockwise keys=\u2318 R title=Reload Page detail=View"
              u" label=Run → menu View › Reload Page"_s);
    const QList<ScoredRow> overview = safari.commandRows(u"overview"_s, {u"overview"_s});
    EXPECT_EQ(titlesOf(overview), QStringList{u"Show Tab Overview"_s});
    EXPECT_EQ(overview[0].score, 30);
    const QList<ScoredRow> copy = chromium.commandRows(u"copy"_s, {u"copy"_s});
    EXPECT_EQ(titlesOf(copy), (QStringList{u"Copy"_s, u"Copy Link"_s, u"Copy Markdown Link"_s}));
    EXPECT_EQ(testing::rendered(copy[1].row).section(u" → "_s, 1), u"copyLink"_s);
}

TEST_F(CommandRankingTest, DevModeOffersTheCoreToolsOfEachBrowserFirst) {
    EXPECT_EQ(
        titlesOf(safari.rankDev(QString(), safariTools).rows).mid(0, 4),
        (QStringList{u"Web Inspector"_s, u"Console"_s, u"Inspect Element"_s, u"Page Source"_s}));
    const Ranking agent = safari.rankDev(u"user agent"_s, safariTools);
    EXPECT_EQ(agent.completion, u"User Agent: Default (Automatically Chosen)"_s);
    EXPECT_EQ(agent.rows.size(), 3);
    EXPECT_EQ(titlesOf(chromium.rankDev(u"dev"_s, chromiumTools).rows),
              (QStringList{u"Developer Tools"_s, u"Page Source"_s, u"Inspect Element"_s,
                           u"Console"_s, u"Allow JavaScript from Apple Events"_s}));
}

} // namespace
} // namespace kivaro
