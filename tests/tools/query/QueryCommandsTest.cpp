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

// Runs the query tool on a state file made from a fake menu bar: command rows carry
// everything the panel shows and does.
class QueryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        FakeMenuBarAccess access;
        access.setMenuBar(safariID, MenuTrees::safari());
        const auto items = MenuBar::walk(access, safariID);
        writeState(u"safari.json"_s, Commands::forBrowser(items, true), Commands::dev(items));
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

} // namespace
} // namespace kivaro
