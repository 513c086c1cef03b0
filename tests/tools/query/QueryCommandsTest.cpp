#include "ToolRun.h"
#include "browsers/Commands.h"
#include "browsers/MenuTrees.h"
#include "tools/query/StateFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::safariID;

QJsonArray commandsJson(const QList<Command>& commands) {
    QJsonArray array;
    for (const Command& command : commands)
        array.append(StateFile::toJson(command));
    return array;
}

QStringList titlesOf(const QJsonArray& rows) {
    QStringList titles;
    for (const QJsonValue& row : rows)
        titles.append(row[u"title"].toString());
    return titles;
}

QJsonArray commandRowsOf(const QJsonObject& ranking) {
    QJsonArray rows;
    for (const QJsonValue& row : ranking[u"rows"].toArray()) {
        if (row[u"kind"] == u"command"_s)
            rows.append(row);
    }
    return rows;
}

// Runs the query tool on state files made from the catalog and fake menu bars.
class QueryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        FakeMenuBarAccess access;
        access.setMenuBar(safariID, MenuTrees::safari());
        const auto items = MenuBar::walk(access, safariID);
        writeState(u"safari.json"_s, Commands::forBrowser(items, true), Commands::dev(items));
        access.setTrusted(false);
        writeState(u"untrusted.json"_s, Commands::forBrowser(MenuBar::walk(access, safariID), true),
                   {});
    }

    void writeState(const QString& name, const QList<Command>& commands,
                    const QList<Command>& tools) {
        const QJsonObject state{{u"commands"_s, commandsJson(commands)},
                                {u"devTools"_s, commandsJson(tools)},
                                {u"now"_s, u"2026-12-06T12:00:00Z"_s}};
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(state).toJson());
    }

    // The ranking the tool prints, or an empty object when it failed.
    QJsonObject query(const QString& stateName, const QStringList& arguments) {
        const testing::ToolRun run =
            testing::runTool(QStringList{u"--state"_s, folder.filePath(stateName)} + arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.json();
    }

    QTemporaryDir folder;
};

TEST_F(QueryCommandsTest, MenuCommandsRankAsCommandRows) {
    const QJsonArray rows = commandRowsOf(query(u"safari.json"_s, {u"rel"_s}));
    EXPECT_EQ(titlesOf(rows), (QStringList{u"Reload Page"_s, u"Reload Page From Origin"_s,
                                           u"Reload Without Content Blockers"_s}));
    ASSERT_FALSE(rows.isEmpty());
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first[u"symbol"], u"arrow.clockwise"_s);
    EXPECT_EQ(first[u"detail"], u"View"_s);
    EXPECT_EQ(first[u"label"], u"Run"_s);
    EXPECT_EQ(first[u"keys"], (QJsonArray{u"\u2318"_s, u"R"_s}));
    EXPECT_EQ(first[u"action"],
              (QJsonObject{{u"type"_s, u"menu"_s},
                           {u"path"_s, QJsonArray{u"View"_s, u"Reload Page"_s}}}));
    EXPECT_TRUE(commandRowsOf(query(u"safari.json"_s, {u"re"_s})).isEmpty());
}

TEST_F(QueryCommandsTest, OwnAndDefaultCommandsRank) {
    const QJsonArray copy = commandRowsOf(query(u"untrusted.json"_s, {u"copy"_s, u"mark"_s}));
    ASSERT_EQ(titlesOf(copy), QStringList{u"Copy Markdown Link"_s});
    EXPECT_EQ(copy[0][u"action"], (QJsonObject{{u"type"_s, u"copyLink"_s}, {u"markdown"_s, true}}));
    EXPECT_EQ(copy[0][u"detail"], u"Kivaro"_s);
    const QJsonArray sidebar = commandRowsOf(query(u"untrusted.json"_s, {u"sidebar"_s}));
    ASSERT_EQ(titlesOf(sidebar), QStringList{u"Show Sidebar"_s});
    EXPECT_EQ(sidebar[0][u"keys"], QJsonArray());
}

TEST_F(QueryCommandsTest, DevModeListsAndCompletesTools) {
    const QJsonObject all = query(u"safari.json"_s, {u"--dev"_s});
    EXPECT_TRUE(all[u"completion"].isNull());
    const QJsonArray rows = all[u"rows"].toArray();
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(titlesOf(rows).mid(0, 3),
              (QStringList{u"Web Inspector"_s, u"Console"_s, u"Inspect Element"_s}));
    EXPECT_EQ(rows[0][u"kind"], u"command"_s);
    EXPECT_EQ(rows[0][u"detail"], u"Develop"_s);

    const QJsonObject console = query(u"safari.json"_s, {u"--dev"_s, u"cons"_s});
    EXPECT_EQ(console[u"completion"], u"Console"_s);
    EXPECT_EQ(titlesOf(console[u"rows"].toArray()).value(0), u"Console"_s);

    const QJsonObject agent = query(u"safari.json"_s, {u"--dev"_s, u"ua"_s});
    EXPECT_EQ(
        titlesOf(agent[u"rows"].toArray()),
        (QStringList{u"User Agent: Default (Automatically Chosen)"_s,
                     u"User Agent: Safari \u2014 iPhone"_s, u"User Agent: Safari \u2014 iPad"_s}));
    EXPECT_TRUE(agent[u"completion"].isNull());
}

TEST_F(QueryCommandsTest, WithoutToolsDevModeIsEmpty) {
    const QJsonObject none = query(u"untrusted.json"_s, {u"--dev"_s});
    EXPECT_TRUE(none[u"rows"].toArray().isEmpty());
    const QJsonObject dev = query(u"untrusted.json"_s, {u"dev"_s});
    for (const QJsonValue& row : dev[u"rows"].toArray())
        EXPECT_NE(row[u"kind"], u"mode"_s);
}

} // namespace
} // namespace kivaro
