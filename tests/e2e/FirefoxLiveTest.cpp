#include "BrowserTabs.h"
#include "PageServer.h"
#include "browsers/FirefoxBrowser.h"
#include "history/FirefoxHistory.h"
#include "history/HistorySource.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"
#include "support/WaitUntil.h"
#include "tools/query/QueryTool.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::PageServer;
using testing::tabTitled;
using testing::waitUntil;

// One headless firefox-esr for the whole scenario (a start costs seconds): its profile is the
// Default=1 profile of a private home's profiles.ini, found the way the user's own is.
class FirefoxLiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        const QString root = home_.path() + QStringLiteral("/.config/mozilla/firefox");
        testing::writeFile(root + QStringLiteral("/profiles.ini"),
                           "[Profile0]\nName=kivaro\nIsRelative=1\nPath=kivaro.test\nDefault=1\n");
        // No first-run pages, update checks or telemetry: a quiet, quick start.
        testing::writeFile(root + QStringLiteral("/kivaro.test/user.js"),
                           "user_pref(\"browser.aboutwelcome.enabled\", false);\n"
                           "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                           "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
                           "user_pref(\"app.update.disabledForTesting\", true);\n");
        const QString binary = QStandardPaths::findExecutable(QStringLiteral("firefox-esr"));
        KIVARO_REQUIRE_TOOL(!binary.isEmpty(), "no firefox-esr (scripts/setup installs it)");
        firefox_.setStandardErrorFile(QProcess::nullDevice());
        firefox_.setStandardOutputFile(QProcess::nullDevice());
        firefox_.start(binary, {QStringLiteral("--headless"), QStringLiteral("--no-remote"),
                                QStringLiteral("--profile"), root + QStringLiteral("/kivaro.test"),
                                QStringLiteral("--remote-debugging-port=0"), url("a")});
        const QString serverFile =
            root + QStringLiteral("/kivaro.test/") + FirefoxBrowser::serverFile;
        ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(serverFile); }))
            << "firefox-esr wrote no " << FirefoxBrowser::serverFile.toStdString();
        browser_ = std::make_shared<FirefoxBrowser>(HistorySource::firefoxID,
                                                    QStringLiteral("Firefox"), *snapshots_);
        ASSERT_TRUE(waitForTitles({title("a")}));
    }

    void TearDown() override {
        browser_.reset();
        // The profile is thrown away: no need to wait for Firefox's orderly shutdown.
        firefox_.kill();
        firefox_.waitForFinished();
    }

    QString url(const char* name) const { return server_.url(QString::fromUtf8(name)); }
    static QString title(const char* name) { return PageServer::title(QString::fromUtf8(name)); }

    bool waitForTitles(const QStringList& wanted) const {
        return testing::waitForTitles(*browser_, wanted);
    }
    bool currentIs(const char* name) const {
        return testing::currentTitleIs(*browser_, title(name));
    }

    QTemporaryDir home_;
    testing::ScopedEnv homeEnv_{"HOME", QFile::encodeName(home_.path())};
    testing::ScopedEnv configEnv_{"XDG_CONFIG_HOME",
                                  QFile::encodeName(home_.path() + QStringLiteral("/.config"))};
    PageServer server_;
    QProcess firefox_;
    std::unique_ptr<PrivateFolder> snapshots_ = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<FirefoxBrowser> browser_;
};

TEST_F(FirefoxLiveTest, ListsSwitchesOpensClosesRunsCommandsAndFeedsTheQueryTool) {
    EXPECT_EQ(browser_->status(), QString());
    browser_->open(url("b"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));
    const QList<SafariTab> tabs = browser_->tabs();
    EXPECT_EQ(tabs[0].windowID, tabs[1].windowID);
    EXPECT_EQ(tabs[1].index, 2);
    EXPECT_TRUE(currentIs("b"));
    EXPECT_EQ(browser_->currentTab(), (TabRef{tabs[1].windowID, 2, url("b")}));

    const SafariTab a = *tabTitled(*browser_, title("a"));
    browser_->switchTo(a.windowID, a.index);
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));

    browser_->open(url("c"), false);
    EXPECT_TRUE(waitForTitles({title("c"), title("b")}));
    // Firefox refuses to show its own pages through the protocol; no blank tab stays behind.
    browser_->open(QStringLiteral("about:preferences"), true);
    EXPECT_EQ(testing::titles(*browser_), (QStringList{title("c"), title("b")}));

    // A command from the menu the protocol stands in for.
    ASSERT_TRUE(browser_->perform(RemoteBrowser::Operation::duplicateTab));
    EXPECT_TRUE(waitForTitles({title("c"), title("c"), title("b")}));

    const SafariTab b = *tabTitled(*browser_, title("b"));
    browser_->close(b.windowID, b.index);
    EXPECT_TRUE(waitForTitles({title("c"), title("c")}));

    // Firefox records the visits in its history soon after the pages load.
    EXPECT_TRUE(waitUntil([&] {
        return FirefoxHistory::load(QStringLiteral("e2e"), *snapshots_).entries.size() >= 3;
    }));

    // Firefox serves one session at a time: the tool's own connection needs ours gone.
    browser_.reset();
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    ASSERT_EQ(runQueryTool({QStringLiteral("kivaro-query"), QStringLiteral("--live"),
                            QStringLiteral("page")},
                           out, err, snapshots_.get()),
              0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains(url("c"))) << output.toStdString();
    EXPECT_TRUE(output.contains(url("b"))) << "from history: " << output.toStdString();
    EXPECT_TRUE(errors.startsWith(QStringLiteral("Firefox, "))) << errors.toStdString();
}

} // namespace
} // namespace kivaro
