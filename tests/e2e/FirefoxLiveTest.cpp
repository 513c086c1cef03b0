#include "BrowserTabs.h"
#include "PageServer.h"
#include "browsers/FirefoxBrowser.h"
#include "history/FirefoxHistory.h"
#include "history/HistorySource.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"
#include "tools/query/QueryTool.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        const QString binary = QStandardPaths::findExecutable(u"firefox-esr"_s);
        KIVARO_REQUIRE_TOOL(!binary.isEmpty(), "no firefox-esr (scripts/setup installs it)");
        firefox_.setStandardErrorFile(QProcess::nullDevice());
        firefox_.setStandardOutputFile(QProcess::nullDevice());
        firefox_.start(binary, {u"--headless"_s, u"--no-remote"_s, u"--profile"_s, root + u"/p"_s,
                                u"--remote-debugging-port=0"_s, url("a")});
        ASSERT_TRUE(waitUntil(
            [&] { return QFileInfo::exists(root + u"/p/"_s + FirefoxBrowser::serverFile); }));
        browser_ =
            std::make_shared<FirefoxBrowser>(HistorySource::firefoxID, u"Firefox"_s, *snapshots_);
        ASSERT_TRUE(waitForTitles(*browser_, {title("a")}));
    }

    void TearDown() override {
        browser_.reset();
        firefox_.kill(); // the profile is thrown away: no orderly shutdown needed
        firefox_.waitForFinished();
    }

    QString url(const char* name) const { return server_.url(QString::fromUtf8(name)); }
    static QString title(const char* name) { return PageServer::title(QString::fromUtf8(name)); }
    bool shows(const QStringList& wanted) const { return waitForTitles(*browser_, wanted); }

    QTemporaryDir home_;
    ScopedEnv homeEnv_{"HOME", QFile::encodeName(home_.path())};
    ScopedEnv configEnv_{"XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(u".config"_s))};
    PageServer server_;
    QProcess firefox_;
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
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    ASSERT_EQ(runQueryTool({u"kivaro-query"_s, u"--live"_s, u"page"_s}, out, err, snapshots_.get()),
              0);
    EXPECT_TRUE(output.contains(url("c"))) << output.toStdString();
    EXPECT_TRUE(output.contains(url("b"))) << "from history: " << output.toStdString();
    EXPECT_TRUE(errors.startsWith(u"Firefox, "_s)) << errors.toStdString();
}

} // namespace
} // namespace kivaro
