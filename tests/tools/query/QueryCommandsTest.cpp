#include "ToolRun.h"
#include "browsers/Commands.h"
#include "browsers/MenuTrees.h"
#include "support/Files.h"
#include "tools/query/StateFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::safariID;

// The command rows the tool prints for `query`, ranked against the commands of Safari's menu
// bar as a fake walks it, each as one line of compact JSON.
QStringList commandRows(const QString& query) {
    FakeMenuBarAccess access;
    access.setMenuBar(safariID, MenuTrees::safari());
    QJsonArray commands;
    for (const Command& command : Commands::forBrowser(MenuBar::walk(access, safariID), true))
        commands.append(StateFile::toJson(command));
    const QTemporaryDir folder;
    const QString state = folder.filePath(u"state.json"_s);
    testing::writeFile(state, QJsonDocument(QJsonObject{{u"commands"_s, commands}}).toJson());
    const testing::ToolRun run = testing::runTool({u"--state"_s, state, query});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList rows;
    for (const QJsonValue row : run.rows()) {
        if (row[u"kind"] == u"command"_s)
            rows.append(
                QString::fromUtf8(QJsonDocument(row.toObject()).toJson(QJsonDocument::Compact)));
    }
    return rows;
}

// A command row carries everything the panel shows and does.
TEST(QueryCommandsTest, MenuCommandsRankAsCommandRows) {
    const QStringList rows = commandRows(u"rel"_s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.first(),
              uR"({"action":{"path":["View","Reload Page"],"type":"menu"},"detail":"View",)"
              uR"("host":"","keys":["⌘","R"],"kind":"command","label":"Run",)"
              uR"("symbol":"arrow.clockwise","title":"Reload Page","url":""})"_s);
    EXPECT_TRUE(rows[1].contains(u"\"title\":\"Reload Page From Origin\""));
    EXPECT_TRUE(rows[2].contains(u"\"title\":\"Reload Without Content Blockers\""));
    EXPECT_TRUE(commandRows(u"re"_s).isEmpty());
}

} // namespace
} // namespace kivaro
