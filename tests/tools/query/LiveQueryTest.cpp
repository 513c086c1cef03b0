#include "ToolRun.h"
#include "history/HistoryFixtures.h"
#include "store/StoreFakes.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;
using testing::ToolRun;

// kivaro-query --live, with a home folder of the test's making.
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
        return testing::runToolProcess(arguments, environment,
                                       asAnotherUser
                                           ? QStringList{u"setpriv"_s, u"--reuid=65534"_s,
                                                         u"--regid=65534"_s, u"--clear-groups"_s}
                                           : QStringList{});
    }
    void page(const QString& dataFolder, const QString& url, const QString& title) {
        const QString db = configFolder() + u'/' + dataFolder + u"/Default/History"_s;
        if (!QFileInfo::exists(db))
            chromiumProfile(dataFolder, u"Default"_s);
        addChromiumRow(db, url, title, u"3"_s, u"13300000000000000"_s);
    }
    // Every file of the home folder but the runtime folder, where the copies go.
    QMap<QString, QByteArray> homeFiles() const {
        QMap<QString, QByteArray> files = contents(home_.path());
        files.removeIf([](QMap<QString, QByteArray>::iterator file) {
            return file.key().startsWith(u"run/");
        });
        return files;
    }
};

// The first browser of the family found (Chrome before Chromium) gives the history, the chosen
// sources add theirs, and the copies go to the runtime folder, nothing at home.
TEST_F(LiveQueryTest, RanksTheFirstBrowsersHistoryWithTheChosenSourcesAndWritesNothingAtHome) {
    page(u"google-chrome"_s, u"https://tea.example/sencha"_s, u"Sencha tea"_s);
    page(u"chromium"_s, u"https://tea.example/oolong"_s, u"Oolong tea"_s);
    const QMap<QString, QByteArray> before = homeFiles();
    ASSERT_FALSE(before.isEmpty());
    const ToolRun chromeAlone = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(chromeAlone.exitCode, 0) << chromeAlone.err.toStdString();
    EXPECT_EQ(chromeAlone.err, u"Chrome, 1 pages\n");
    EXPECT_TRUE(chromeAlone.values(u"url"_s).contains(u"https://tea.example/sencha"_s));
    EXPECT_FALSE(chromeAlone.values(u"url"_s).contains(u"https://tea.example/oolong"_s));
    const ToolRun both = query(
        {u"--live"_s, u"--sources"_s, u"org.chromium.Chromium, com.apple.Safari"_s, u"tea"_s});
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.err, u"2 pages from Chrome and Chromium\n");
    EXPECT_TRUE(both.values(u"url"_s).contains(u"https://tea.example/oolong"_s) &&
                both.values(u"url"_s).contains(u"https://tea.example/sencha"_s));
    EXPECT_EQ(QFile::permissions(path(u"run/kivaro"_s)),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                  QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    EXPECT_EQ(homeFiles(), before);
}

TEST_F(LiveQueryTest, ExplainsWhatIsMissing) {
    const ToolRun nothing = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(std::pair(nothing.exitCode, nothing.err),
              std::pair(2, u"kivaro-query: no Chromium-family or Firefox browser data found\n"_s));

    // A view over an endless query where the table belongs: refused, not read for ever.
    execute(configFolder() + u"/chromium/Default/History"_s,
            u"CREATE VIEW urls AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            u"SELECT i + 1 FROM n) SELECT 'https://tea.example/' || i AS url, '' AS "
            u"title, i AS visit_count, 0 AS last_visit_time, 0 AS hidden FROM n"_s);
    const ToolRun endless = query({u"--live"_s, u"tea"_s});
    EXPECT_EQ(endless.exitCode, 0);
    EXPECT_TRUE(endless.err.endsWith(u"Chromium, could not be read\n"))
        << endless.err.toStdString();
}

TEST_F(LiveQueryTest, RefusesToRunWithoutAFolderForCopies) {
    page(u"chromium"_s, u"https://tea.example/"_s, u"Tea"_s);
    const ToolRun without = testing::runTool({u"--live"_s, u"tea"_s});
    EXPECT_EQ(std::tuple(without.exitCode, without.out, without.err),
              std::tuple(2, QString(), u"kivaro-query: no private folder for database copies\n"_s));
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

TEST(LiveQueryWait, GivesUpOnABrowserThatNeverAnswersAndSurvivesItsLateAnswer) {
    testing::StoreWorld world;
    auto browser = std::make_shared<testing::FakeBrowser>(u"test.slow"_s, u"Slow"_s);
    browser->setWindow(1, {u"https://a.example/"_s});
    testing::Gate gate;
    browser->holdTabsAt(gate);
    auto store = world.store({browser});
    EXPECT_FALSE(refreshFully(*store, std::chrono::milliseconds(1)));
    EXPECT_TRUE(store->tabs.isEmpty());
    gate.open();
    // The late answer comes while the next wait runs, and that wait still ends.
    EXPECT_TRUE(refreshFully(*store, std::chrono::minutes(10)));
    EXPECT_EQ(store->tabs.size(), 1);
}

} // namespace
} // namespace kivaro::test
