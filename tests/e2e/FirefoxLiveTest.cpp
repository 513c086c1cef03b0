#include "LiveBrowser.h"
#include "browsers/FirefoxBrowser.h"
#include "history/FirefoxHistory.h"
#include "history/HistorySource.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"
#include "tools/query/ToolRun.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using namespace testing;

// One headless firefox-esr for the whole scenario (a start costs seconds), its profile the
// Default=1 profile of a private home's profiles.ini, found the way the user's own is.
class FirefoxLiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString root = home_.filePath(u".config/mozilla/firefox"_s);
        writeFile(root + u"/profiles.ini"_s, "[Profile0]\nIsRelative=1\nPath=p\nDefault=1\n");
        ASSERT_TRUE(QDir().mkpath(root + u"/p"_s)); // Firefox makes no missing --profile folder
        firefox_.setStandardErrorFile(QProcess::nullDevice()); // a full pipe would stall it
        firefox_.setStandardOutputFile(QProcess::nullDevice());
        KIVARO_REQUIRE_TOOL(
            firefox_.launch(u"firefox-esr"_s,
                            {u"--headless"_s, u"--no-remote"_s, u"--profile"_s, root + u"/p"_s,
                             u"--remote-debugging-port=0"_s, url("a")}),
            "no firefox-esr (scripts/setup installs it)");
        ASSERT_TRUE(waitUntil(
            [&] { return QFileInfo::exists(root + u"/p/"_s + FirefoxBrowser::serverFile); }));
        browser_ =
            std::make_shared<FirefoxBrowser>(HistorySource::firefoxID, u"Firefox"_s, *snapshots_);
        ASSERT_TRUE(waitForTitles(*browser_, {title("a")}));
    }

    QString url(const char* name) const { return server_.url(QString::fromUtf8(name)); }
    static QString title(const char* name) { return PageServer::title(QString::fromUtf8(name)); }
    bool shows(const QStringList& wanted) const { return waitForTitles(*browser_, wanted); }

    QTemporaryDir home_;
    ScopedEnv homeEnv_{"HOME", QFile::encodeName(home_.path())};
    ScopedEnv configEnv_{"XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(u".config"_s))};
    PageServer server_;
    LiveProcess firefox_;
    std::unique_ptr<PrivateFolder> snapshots_ = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<FirefoxBrowser> browser_;
};

TEST_F(FirefoxLiveTest, ListsSwitchesOpensClosesRunsCommandsAndFeedsTheQueryTool) {
    EXPECT_EQ(browser_->status(), QString());
    browser_->open(url("b"), true);
    ASSERT_TRUE(shows({title("a"), title("b")}));
    const SafariTab a = *tabTitled(*browser_, title("a"));
    EXPECT_EQ(browser_->currentTab(), (TabRef{a.windowID, 2, url("b")}));
    browser_->switchTo(a.windowID, a.index);
    EXPECT_TRUE(waitUntil([&] { return currentTitleIs(*browser_, title("a")); }));

    browser_->open(url("c"), false);
    EXPECT_TRUE(shows({title("c"), title("b")}));
    // Firefox refuses to show its own pages through the protocol; no blank tab stays behind.
    browser_->open(u"about:preferences"_s, true);
    EXPECT_EQ(titles(*browser_), (QStringList{title("c"), title("b")}));

    ASSERT_TRUE(browser_->perform(RemoteBrowser::Operation::duplicateTab));
    EXPECT_TRUE(shows({title("c"), title("c"), title("b")}));
    const SafariTab b = *tabTitled(*browser_, title("b"));
    browser_->close(b.windowID, b.index);
    EXPECT_TRUE(shows({title("c"), title("c")}));
    // A page's dialog stays for the user: the session must not dismiss it, which would let the
    // page go on to retitle itself.
    browser_->open(u"data:text/html,<script>onload = () => setTimeout(() => { document.title = "
                   "'Page alert'; alert(1); document.title = 'Page dismissed'; })</script>"_s,
                   true);
    ASSERT_TRUE(waitUntil([&] {
        return tabTitled(*browser_, u"Page alert"_s) || tabTitled(*browser_, u"Page dismissed"_s);
    }));
    // Firefox records the visits soon after the pages load.
    EXPECT_TRUE(
        waitUntil([&] { return FirefoxHistory::load(u"e2e"_s, *snapshots_).entries.size() >= 3; }));
    const auto dialog = tabTitled(*browser_, u"Page alert"_s);
    ASSERT_TRUE(dialog) << titles(*browser_).join(u", ").toStdString();
    browser_->close(dialog->windowID, dialog->index);

    // Firefox serves one session at a time: the tool's own connection needs ours gone.
    browser_.reset();
    const ToolRun run = runTool({u"--live"_s, u"page"_s}, snapshots_.get());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_THAT(run.values(u"url"_s, u"tab"_s), ::testing::Contains(url("c")));
    EXPECT_THAT(run.values(u"url"_s, u"history"_s), ::testing::Contains(url("b")));
    EXPECT_TRUE(run.err.startsWith(u"Firefox, "_s)) << run.err.toStdString();
}

} // namespace
} // namespace kivaro
