#include "ChromiumFixture.h"
#include "tools/query/QueryTool.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using testing::ChromiumTest;

using QueryToolLiveTest = ChromiumTest;

QStringList rowTexts(const QString& output) {
    QStringList texts;
    const QJsonObject json = QJsonDocument::fromJson(output.toUtf8()).object();
    for (const QJsonValue row : json.value(u"rows"_s).toArray())
        texts.append(row.toObject().value(u"title"_s).toString() + u' ' +
                     row.toObject().value(u"url"_s).toString());
    return texts;
}

TEST_F(QueryToolLiveTest, ListsTheRunningBrowsersTabsAndCommands) {
    browser_->open(url("b"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));

    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    ASSERT_EQ(runQueryTool({u"kivaro-query"_s, u"--live"_s, u"page"_s}, out, err, snapshots_.get()),
              0)
        << errors.toStdString();
    const QStringList rows = rowTexts(output);
    EXPECT_TRUE(rows.contains(title("a") + u' ' + url("a"))) << output.toStdString();
    EXPECT_TRUE(rows.contains(title("b") + u' ' + url("b"))) << output.toStdString();

    output.clear();
    ASSERT_EQ(
        runQueryTool({u"kivaro-query"_s, u"--live"_s, u"reload"_s}, out, err, snapshots_.get()), 0);
    EXPECT_TRUE(output.contains(u"Reload Page"_s)) << output.toStdString();
}

} // namespace
} // namespace kivaro
