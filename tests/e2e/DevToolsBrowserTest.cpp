#include "browsers/DevToolsBrowser.h"

#include "../store/StoreFakes.h"
#include "LiveBrowser.h"
#include "browsers/DevToolsConnection.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "store/Store.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"
#include "tools/query/ToolRun.h"

#include <QTemporaryDir>

#include <atomic>
#include <gmock/gmock.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace kivaro::testing {
namespace {

inline const QString bundleID = QStringLiteral("org.chromium.Chromium");
inline const QString dataFolder = QStringLiteral("chromium");

// A headless Chromium whose user data lives in the configuration folder of a private home,
// driven by a DevToolsBrowser that finds it the way it finds the user's own browser.
class ChromiumTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(server_.listening());
        KIVARO_REQUIRE_TOOL(
            startChromium(chromium_, folder(), url("a")),
            "Chromium cannot start here: " << chromium_.errorString().toStdString());
        ASSERT_TRUE(waitForTitles({title("a")}));
    }

    QString folder() const { return home_.path() + u'/' + dataFolder; }
    static QString title(const char* name) { return PageServer::title(QString::fromUtf8(name)); }
    QString url(const char* name) const { return server_.url(QString::fromUtf8(name)); }

    std::shared_ptr<DevToolsBrowser> makeBrowser() const {
        return std::make_shared<DevToolsBrowser>(bundleID, QStringLiteral("Chromium"),
                                                 QStringList{dataFolder}, *snapshots_);
    }

    QStringList titles() const { return testing::titles(*browser_); }
    bool waitForTitles(const QStringList& wanted) const {
        return testing::waitForTitles(*browser_, wanted);
    }
    std::optional<SafariTab> tabTitled(const char* name) const {
        return testing::tabTitled(*browser_, title(name));
    }
    bool currentIs(const char* name) const {
        return testing::currentTitleIs(*browser_, title(name));
    }

    QTemporaryDir home_;
    ScopedEnv config_{"XDG_CONFIG_HOME", QFile::encodeName(home_.path())};
    PageServer server_;
    LiveProcess chromium_;
    std::unique_ptr<PrivateFolder> snapshots_ = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<DevToolsBrowser> browser_ = makeBrowser();
};

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Field;

TEST_F(ChromiumTest, ListsPageTabsWithTitlesAddressesAndTheCurrentTab) {
    browser_->open(url("b"), true);
    browser_->open(url("c"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b"), title("c")}));

    const QList<SafariTab> tabs = browser_->tabs();
    const qint64 window = tabs[0].windowID;
    EXPECT_THAT(tabs, ElementsAre(SafariTab{window, 0, 1, title("a"), url("a"), {}, false},
                                  SafariTab{window, 0, 2, title("b"), url("b"), {}, false},
                                  SafariTab{window, 0, 3, title("c"), url("c"), {}, true}));
    EXPECT_EQ(browser_->currentTab(), (TabRef{window, 3, url("c")}));
    EXPECT_EQ(browser_->currentPage(), std::pair(title("c"), url("c")));
    EXPECT_THAT(browser_->urls(window), ElementsAre(url("a"), url("b"), url("c")));
    EXPECT_TRUE(browser_->urls(window + 1).isEmpty());
    EXPECT_TRUE(browser_->reachable());
    EXPECT_EQ(browser_->status(), QString());

    // kivaro-query --live offers the running browser's tabs and commands.
    const ToolRun pages = runTool({u"--live"_s, u"page"_s}, snapshots_.get());
    ASSERT_EQ(pages.exitCode, 0) << pages.err.toStdString();
    EXPECT_THAT(pages.values(u"url"_s, u"tab"_s), ::testing::IsSupersetOf({url("a"), url("c")}));
    EXPECT_THAT(runTool({u"--live"_s, u"reload"_s}, snapshots_.get()).values(u"title"_s),
                Contains(u"Reload Page"_s));
}

TEST_F(ChromiumTest, ListedIndicesKeepTheirTabWhileOthersOpenAndClose) {
    browser_->open(url("b"), true);
    browser_->open(url("c"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b"), title("c")}));
    const SafariTab a = *tabTitled("a");
    const SafariTab b = *tabTitled("b");
    const SafariTab c = *tabTitled("c");

    // Behind the listing's back, tab a closes and tab d opens: b and c move one place left.
    const auto other = makeBrowser();
    const auto otherTitles = [&] { return testing::titles(*other); };
    ASSERT_TRUE(waitUntil([&] { return otherTitles().size() == 3; }));
    other->close(a.windowID, a.index);
    other->open(url("d"), true);
    ASSERT_TRUE(waitUntil([&] { return otherTitles().join(u',') == u"Page b,Page c,Page d"; }));

    browser_->switchTo(c.windowID, c.index);
    EXPECT_TRUE(waitUntil([&] {
        const auto page = other->currentPage();
        return page && page->first == title("c");
    }));
    browser_->close(b.windowID, b.index);
    EXPECT_TRUE(waitUntil([&] { return otherTitles().join(u',') == u"Page c,Page d"; }));

    // A listed tab that is gone, and an index never listed, do nothing rather than pick
    // whatever tab sits there now.
    browser_->close(a.windowID, a.index);
    browser_->switchTo(a.windowID, a.index);
    browser_->close(c.windowID, 99);
    browser_->switchTo(c.windowID + 1, 1);
    EXPECT_EQ(otherTitles(), (QStringList{title("c"), title("d")}));
    EXPECT_EQ(other->currentPage(), std::pair(title("c"), url("c")));
}

// The tabs in one line: each by its page name ("?" for a page not of the test server), the
// current one starred, windows sorted and separated by " / ".
QString tabsLine(const Browser& browser, const QString& origin) {
    QMap<qint64, QStringList> windows;
    for (const SafariTab& tab : browser.tabs()) {
        QString name = QString(tab.url).replace(origin, QString());
        if (name == tab.url && !name.startsWith(u"view-source:"_s))
            name = u"?"_s;
        windows[tab.windowID].append(name + (tab.isCurrent ? u"*"_s : u""_s));
    }
    QStringList lines;
    for (const QStringList& tabs : windows)
        lines.append(tabs.join(u' '));
    lines.sort();
    return lines.join(u" / "_s);
}

// Each command as the real browser carries it out: the calls the fake endpoint checks must also
// be calls Chromium accepts.
TEST_F(ChromiumTest, CarriesOutEveryBrowserCommand) {
    using enum DevToolsBrowser::Operation;
    browser_->open(url("b"), false);
    ASSERT_TRUE(waitForTitles({title("b")}));
    const QString origin = url("");
    // Each command (none: page "b" opened in the current tab), then the tabs it leaves.
    const std::pair<std::optional<DevToolsBrowser::Operation>, const char*> story[] = {
        {reload, "b*"},
        {reloadIgnoringCache, "b*"},
        {back, "a*"},
        {forward, "b*"},
        {duplicateTab, "b b*"},
        {previousTab, "b* b"},
        {nextTab, "b b*"},
        {closeTab, "b*"},
        {newTab, "b ?*"},
        {closeOtherTabs, "?*"},
        {std::nullopt, "b*"},
        {viewSource, "b view-source:b*"},
        {newWindow, "?* / b view-source:b*"},
        {closeWindow, "b view-source:b*"},
    };
    for (const auto& [operation, wanted] : story) {
        SCOPED_TRACE(wanted);
        if (operation)
            EXPECT_TRUE(browser_->perform(*operation));
        else
            browser_->open(url("b"), false);
        const auto shows = [&] { return tabsLine(*browser_, origin) == QLatin1String(wanted); };
        EXPECT_TRUE(waitUntil(shows, 30000, 200)) << tabsLine(*browser_, origin).toStdString();
    }
}

TEST_F(ChromiumTest, ReadsTheHistoryTheBrowserWroteOnClosing) {
    // "b" must have loaded before "c" replaces it, or it never reaches the history.
    browser_->open(url("b"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));
    browser_->open(url("c"), false);
    ASSERT_TRUE(waitForTitles({title("a"), title("c")}));

    // The browser writes its history about ten seconds late; closing it flushes the history.
    DevToolsConnection control([this] { return DevToolsEndpoint::read(folder()); });
    control.send(DevToolsCall{u"Browser.close"_s, {}, {}}, QDeadlineTimer(2000));
    ASSERT_TRUE(chromium_.waitForFinished());

    const HistoryResult history = browser_->history();
    for (const char* name : {"a", "b", "c"})
        EXPECT_THAT(history.entries, Contains(Field(&HistoryEntry::url, url(name)))) << name;
    EXPECT_THAT(history.entries, Contains(Field(&HistoryEntry::title, title("c"))));
    EXPECT_TRUE(history.status.contains(u" pages"_s)) << history.status.toStdString();
}

TEST_F(ChromiumTest, ABrowserKilledMidCallLeavesEmptyAnswersAndAStatus) {
    std::atomic<bool> stop = false;
    std::atomic<int> calls = 0;
    std::thread caller([&] {
        while (!stop) {
            browser_->tabs();
            browser_->currentPage();
            ++calls;
        }
    });
    ASSERT_TRUE(waitUntil([&] { return calls > 2; }));
    chromium_.kill();
    ASSERT_TRUE(chromium_.waitForFinished());
    const int before = calls;
    EXPECT_TRUE(waitUntil([&] { return calls > before + 2; }));
    stop = true;
    caller.join();

    EXPECT_TRUE(browser_->tabs().isEmpty());
    EXPECT_EQ(browser_->currentPage(), std::nullopt);
    EXPECT_EQ(browser_->currentTab(), std::nullopt);
    EXPECT_FALSE(browser_->perform(DevToolsBrowser::Operation::reload));
    EXPECT_FALSE(browser_->reachable());
    EXPECT_TRUE(browser_->status().contains(u"--remote-debugging-port"_s))
        << browser_->status().toStdString();

    // The port file left behind names a port nobody listens on; once the browser runs again,
    // the same driver finds its new port.
    LiveProcess again;
    ASSERT_TRUE(startChromium(again, folder(), url("d"))) << again.errorString().toStdString();
    EXPECT_TRUE(waitForTitles({title("d")}));
    EXPECT_TRUE(browser_->reachable());
    EXPECT_EQ(browser_->status(), QString());
}

// The store as the program runs it on Linux: the DevTools browser is its only browser, its
// commands come from the protocol's menu bar, and every call runs on the store's queue.
TEST_F(ChromiumTest, TheStoreDrivesTheLiveBrowserThroughItsQueue) {
    StoreWorld world;
    world.workspace.run(bundleID, true);
    const auto driven = makeBrowser();
    DevToolsMenuBarAccess menus({driven});
    Store store({.workspace = world.workspace,
                 .menuBar = menus,
                 .permissions = world.permissions,
                 .toast = world.toast,
                 .pasteboard = world.pasteboard,
                 .snapshots = *snapshots_,
                 .preferences = *world.preferences,
                 .browsers = {driven},
                 .hiddenFile = world.hiddenFile(),
                 .archiveFile = world.archiveFile()});
    const auto refresh = [&] {
        store.refresh();
        settle(store);
    };
    const auto perform = [&](const Action& action) {
        store.perform(action, OpenMode::newTab);
        settle(store);
    };
    ASSERT_EQ(store.browser()->bundleID(), bundleID);
    refresh();
    ASSERT_EQ(store.tabs.size(), 1);
    EXPECT_EQ(std::pair(store.tabs[0].url, store.tabs[0].isCurrent), std::pair(url("a"), true));
    EXPECT_THAT(store.commands, Contains(Field(&Command::title, u"Reload Page"_s)));
    EXPECT_THAT(store.devTools, Contains(Field(&Command::title, u"Developer Tools"_s)));

    perform(Action::open(url("b")));
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));
    refresh();
    // Switch to and close the very tabs the store listed, by their (window, index).
    const SafariTab a = store.tabs.value(0), b = store.tabs.value(1);
    perform(Action::switchTab(a.windowID, a.index));
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));
    perform(Action::menu({u"Tab"_s, u"Duplicate Tab"_s}));
    ASSERT_TRUE(waitUntil([&] { return titles().size() == 3; }));
    bool closed = false;
    store.closeTab(b.windowID, b.index, [&] { closed = true; });
    settle(store);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(waitForTitles({title("a"), title("a")}));
    EXPECT_TRUE(world.toast.shown.isEmpty());
}

} // namespace
} // namespace kivaro::testing
