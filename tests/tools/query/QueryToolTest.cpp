#include "ToolRun.h"
#include "support/Files.h"
#include "tools/query/StateFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kivaro;
using namespace kivaro::testing;
using namespace Qt::StringLiterals;

namespace {

TEST(QueryToolTest, RanksTheSampleStateAndPrintsJson) {
    const ToolRun run = runTool(withSample({u"gi"_s}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"completion").toString(), u"github.com"_s);
    const QJsonObject top = run.rows().first().toObject();
    EXPECT_EQ(QJsonDocument(top).toJson(QJsonDocument::Compact),
              uR"({"action":{"index":2,"type":"switchTab","windowID":4211},"detail":"github.com",)"
              uR"("host":"github.com","keys":[],"kind":"tab","label":"Switch to Tab",)"
              uR"("symbol":"","title":"kivaro/kivaro: Pull requests",)"
              uR"("url":"https://github.com/kivaro/kivaro/pulls"})"_s.toUtf8());
}

TEST(QueryToolTest, OptionsShapeTheRanking) {
    const ToolRun lisbon =
        runTool(withSample({u"--engine"_s, u"duckduckgo"_s, u"--layout"_s, u"ranked"_s,
                            u"--order"_s, u"search,tabs"_s, u"lisbon"_s}));
    ASSERT_EQ(lisbon.exitCode, 0) << lisbon.err.toStdString();
    const QStringList searches = lisbon.values(u"action.url"_s, u"search"_s);
    EXPECT_EQ(searches.value(0), u"https://duckduckgo.com/?q=lisbon"_s);
    EXPECT_EQ(searches.size(), 4); // the query and three canned suggestions that differ from it
    EXPECT_EQ(runTool(withSample({u"--dev"_s, u"hard"_s})).json()[u"completion"], u"Hard Reload"_s);
    EXPECT_EQ(runTool(withSample({})).rows().size(), 6); // every tab of the sample, nothing else
}

TEST(QueryToolTest, BadArgumentsExitWithOneErrorLine) {
    for (const QStringList& arguments :
         {QStringList{u"query"_s}, QStringList{u"--state"_s}, QStringList{u"--bogus"_s},
          withSample({u"--layout"_s, u"sideways"_s, u"x"_s}),
          withSample({u"--order"_s, u"tabs,bookmarks"_s, u"x"_s}),
          withSample({u"--engine"_s, u"altavista"_s, u"x"_s}),
          withSample({u"--site"_s, u""_s, u"x"_s}),
          withSample({u"--site"_s, u"github.com"_s, u"--dev"_s}), withSample({u"--live"_s}),
          QStringList{u"--state"_s, u"/nonexistent/state.json"_s, u"x"_s}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(u"kivaro-query: "_s));
    }
}

class StateFolder : public ::testing::Test {
protected:
    QString write(const QByteArray& contents) {
        const QString path = folder.filePath(u"state.json"_s);
        writeFile(path, contents);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(StateFolder, MalformedStatesAreRefusedWithTheOffendingPath) {
    for (const QByteArray& line : fixtureLines(u"malformed-states.txt"_s)) {
        const QByteArray contents = line.left(line.indexOf('\t'));
        const QString message = QString::fromUtf8(line.mid(line.indexOf('\t') + 1));
        const ToolRun run = runTool({u"--state"_s, write(contents), u"x"_s});
        EXPECT_EQ(run.exitCode, 2) << contents.toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
}

TEST_F(StateFolder, OnlyRegularFilesAreReadSoNoneCanHoldTheTool) {
    const QString pipe = folder.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {u"/dev/zero"_s, pipe, folder.path()}) {
        const ToolRun run = runTool({u"--state"_s, path, u"x"_s});
        EXPECT_EQ(run.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(run.err.contains(u"is not a regular file"_s)) << run.err.toStdString();
    }
}

TEST_F(StateFolder, MissingKeysMeanEmptyListsAndNow) {
    const ToolRun run = runTool({u"--state"_s, write("{}"), u"anything"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.values(u"kind"_s), QStringList{u"search"_s});
}

TEST(StateFileTest, ActionsAndCommandsRoundTripThroughJson) {
    for (const Action& action :
         {Action::switchTab(-3, 9007199254740993), Action::revealTab(u"https://x/\"q\""_s),
          Action::open(u"https://example.com/ü"_s), Action::menu({u"View"_s, u"Reload Page"_s}),
          Action::copyLink(true), Action::devMode()}) {
        const auto decoded = StateFile::actionFromJson(StateFile::toJson(action));
        ASSERT_TRUE(std::holds_alternative<Action>(decoded));
        EXPECT_EQ(std::get<Action>(decoded), action) << action.typeName().toStdString();
    }
    const Command command{.title = u"Pin Tab"_s,
                          .symbol = u"pin"_s,
                          .keywords = u"pin unpin"_s,
                          .menu = u"Window"_s,
                          .action = Action::menu({u"Window"_s, u"Pin Tab"_s}),
                          .keys = {u"⌘"_s, u"P"_s},
                          .core = false,
                          .combo = KeyCombo{.modifiers = Modifier::command, .key = u"p"_s}};
    QJsonObject state{{u"commands"_s, QJsonArray{StateFile::toJson(command)}}};
    const auto parsed = StateFile::parse(QJsonDocument(state).toJson());
    ASSERT_TRUE(std::holds_alternative<QueryState>(parsed));
    EXPECT_EQ(std::get<QueryState>(parsed).commands, QList<Command>{command});
}

} // namespace
