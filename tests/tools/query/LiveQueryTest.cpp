#include "history/HistoryFixtures.h"
#include "tools/query/QueryTool.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

struct ToolRun {
    int exitCode = -1;
    QJsonObject json;
    QString err;
};

// kivaro-query run as its own process, with a home folder of the test's making.
class LiveQueryTest : public HistoryTest {
protected:
    // With `asAnotherUser` the tool runs as the unprivileged user "nobody" (only a privileged
    // test can do that), for permissions that bind.
    ToolRun query(const QStringList& arguments, bool asAnotherUser = false) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, home_.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, configFolder());
        environment.insert(u"XDG_RUNTIME_DIR"_s, path(u"run"_s));
        environment.insert(u"LC_ALL"_s, u"en_US.UTF-8"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        const QString tool = QStringLiteral(KIVARO_QUERY_BINARY);
        if (asAnotherUser)
            process.start(u"setpriv"_s, QStringList{u"--reuid=65534"_s, u"--regid=65534"_s,
                                                    u"--clear-groups"_s, tool} +
                                            arguments);
        else
            process.start(tool, arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(),
                QJsonDocument::fromJson(process.readAllStandardOutput()).object(),
                QString::fromUtf8(process.readAllStandardError())};
    }
    void page(const QString& dataFolder, const QString& url, const QString& title) {
        const QString db = configFolder() + u'/' + dataFolder + u"/Default/History"_s;
        if (!QFileInfo::exists(db))
            chromiumProfile(dataFolder, u"Default"_s);
        addChromiumRow(db, url, title, u"3"_s, u"13300000000000000"_s);
    }
    static QStringList urls(const QJsonObject& json) {
        QStringList found;
        for (const QJsonValue row : json.value(u"rows").toArray())
            found.append(row.toObject().value(u"url").toString());
        return found;
    }
};

TEST_F(LiveQueryTest, RanksTheFirstChromiumFamilyBrowsersHistory) {
    page(u"chromium"_s, u"https://tea.example/oolong"_s, u"Oolong tea"_s);
    const ToolRun run = query({u"--live"_s, u"oolong"_s});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, u"Chromium, 1 pages\n");
    EXPECT_TRUE(urls(run.json).contains(u"https://tea.example/oolong"_s));
    const QString snapshots = path(u"run/kivaro"_s);
    EXPECT_EQ(QFile::permissions(snapshots), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                 QFileDevice::WriteUser | QFileDevice::ExeUser);
}

TEST_F(LiveQueryTest, AddsTheChosenSources) {
    page(u"google-chrome"_s, u"https://tea.example/sencha"_s, u"Sencha tea"_s);
    page(u"chromium"_s, u"https://tea.example/oolong"_s, u"Oolong tea"_s);
    const ToolRun chromeAlone = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(chromeAlone.err, u"Chrome, 1 pages\n");
    EXPECT_FALSE(urls(chromeAlone.json).contains(u"https://tea.example/oolong"_s));

    const ToolRun both = query(
        {u"--live"_s, u"--sources"_s, u"org.chromium.Chromium, com.apple.Safari"_s, u"tea"_s});
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.err, u"2 pages from Chrome and Chromium\n");
    EXPECT_TRUE(urls(both.json).contains(u"https://tea.example/oolong"_s));
    EXPECT_TRUE(urls(both.json).contains(u"https://tea.example/sencha"_s));
}

TEST_F(LiveQueryTest, ExplainsWhatIsMissing) {
    const ToolRun nothing = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_EQ(nothing.err, u"kivaro-query: no Chromium-family browser data found\n");

    page(u"chromium"_s, u"https://tea.example/"_s, u"Tea"_s);
    const ToolRun both = query({u"--live"_s, u"--state"_s, u"state.json"_s, u"tea"_s});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_EQ(both.err, u"kivaro-query: --state and --live exclude each other\n");

    writeFile(configFolder() + u"/chromium/Default/History"_s, "damaged");
    const ToolRun damaged = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(damaged.exitCode, 0);
    EXPECT_TRUE(damaged.err.endsWith(u"\nChromium, could not be read\n"))
        << damaged.err.toStdString();
}

TEST_F(LiveQueryTest, RunsInProcessOnlyWithAFolderForCopies) {
    page(u"chromium"_s, u"https://tea.example/"_s, u"Tea"_s);
    const QStringList arguments{u"kivaro-query"_s, u"--live"_s, u"tea"_s};
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(runQueryTool(arguments, outStream, errStream), 2);
    EXPECT_EQ(err, u"kivaro-query: no private folder for database copies\n");
    EXPECT_TRUE(out.isEmpty());

    err.clear();
    EXPECT_EQ(runQueryTool(arguments, outStream, errStream, &*snapshots_), 0);
    EXPECT_EQ(err, u"Chromium, 1 pages\n");
    EXPECT_TRUE(out.contains(u"https://tea.example/"_s));
}

TEST_F(LiveQueryTest, AnUnreadableDataFolderCouldNotBeRead) {
    page(u"chromium"_s, u"https://tea.example/"_s, u"Tea"_s);
    const QFileDevice::Permissions open = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(home_.path(), open));
    ASSERT_TRUE(QFile::setPermissions(configFolder(), open));
    ASSERT_TRUE(QFile::setPermissions(configFolder() + u"/chromium"_s, {}));
    const bool privileged = QFileInfo(configFolder() + u"/chromium"_s).isReadable();
    const ToolRun run = query({u"--live"_s, u"tea"_s}, privileged);
    QFile::setPermissions(configFolder() + u"/chromium"_s, open);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, u"Chromium, could not be read\n");
}

} // namespace
} // namespace kivaro::test
