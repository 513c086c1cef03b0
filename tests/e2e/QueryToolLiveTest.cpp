#include "ChromiumFixture.h"
#include "tools/query/QueryTool.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::ChromiumTest;

using QueryToolLiveTest = ChromiumTest;

QStringList rowTexts(const QString& output) {
    QStringList texts;
    const QJsonObject json = QJsonDocument::fromJson(output.toUtf8()).object();
    for (const QJsonValue row : json.value(QStringLiteral("rows")).toArray())
        texts.append(row.toObject().value(QStringLiteral("title")).toString() + u' ' +
                     row.toObject().value(QStringLiteral("url")).toString());
    return texts;
}

TEST_F(QueryToolLiveTest, ListsTheRunningBrowsersTabsAndCommands) {
    browser_->open(url("b"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));

    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    ASSERT_EQ(runQueryTool({QStringLiteral("kivaro-query"), QStringLiteral("--live"),
                            QStringLiteral("page")},
                           out, err, snapshots_.get()),
              0)
        << errors.toStdString();
    const QStringList rows = rowTexts(output);
    EXPECT_TRUE(rows.contains(title("a") + u' ' + url("a"))) << output.toStdString();
    EXPECT_TRUE(rows.contains(title("b") + u' ' + url("b"))) << output.toStdString();

    output.clear();
    ASSERT_EQ(runQueryTool({QStringLiteral("kivaro-query"), QStringLiteral("--live"),
                            QStringLiteral("reload")},
                           out, err, snapshots_.get()),
              0);
    EXPECT_TRUE(output.contains(QStringLiteral("Reload Page"))) << output.toStdString();
}

} // namespace
} // namespace kivaro
