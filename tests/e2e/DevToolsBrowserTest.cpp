#include "ChromiumFixture.h"
#include "browsers/DevToolsConnection.h"
#include "support/RequireTool.h"

#include <QFile>

#include <atomic>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using testing::ChromiumProcess;
using testing::ChromiumTest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Field;
using testing::waitUntil;

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
}

TEST_F(ChromiumTest, SwitchesOpensAndClosesTheTabsItListed) {
    browser_->open(url("b"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));
    const SafariTab a = *tabTitled(title("a"));

    browser_->switchTo(a.windowID, a.index);
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));

    browser_->open(url("c"), false);
    ASSERT_TRUE(waitForTitles({title("c"), title("b")}));
    EXPECT_TRUE(currentIs("c"));

    const SafariTab b = *tabTitled(title("b"));
    browser_->close(b.windowID, b.index);
    EXPECT_TRUE(waitForTitles({title("c")}));
}

TEST_F(ChromiumTest, ListedIndicesKeepTheirTabWhileOthersOpenAndClose) {
    browser_->open(url("b"), true);
    browser_->open(url("c"), true);
    ASSERT_TRUE(waitForTitles({title("a"), title("b"), title("c")}));
    const SafariTab a = *tabTitled(title("a"));
    const SafariTab b = *tabTitled(title("b"));
    const SafariTab c = *tabTitled(title("c"));

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

TEST_F(ChromiumTest, CarriesOutBrowserCommands) {
    using Operation = DevToolsBrowser::Operation;
    browser_->open(url("b"), false);
    ASSERT_TRUE(waitForTitles({title("b")}));

    EXPECT_TRUE(browser_->perform(Operation::reload));
    EXPECT_TRUE(browser_->perform(Operation::reloadIgnoringCache));
    EXPECT_TRUE(browser_->perform(Operation::back));
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));
    EXPECT_TRUE(browser_->perform(Operation::forward));
    EXPECT_TRUE(waitUntil([&] { return currentIs("b"); }));

    EXPECT_TRUE(browser_->perform(Operation::duplicateTab));
    EXPECT_TRUE(waitForTitles({title("b"), title("b")}));
    EXPECT_TRUE(browser_->perform(Operation::previousTab));
    EXPECT_TRUE(
        waitUntil([&] { return browser_->currentTab() && browser_->currentTab()->index == 1; }));
    EXPECT_TRUE(browser_->perform(Operation::nextTab));
    EXPECT_TRUE(
        waitUntil([&] { return browser_->currentTab() && browser_->currentTab()->index == 2; }));
    EXPECT_TRUE(browser_->perform(Operation::closeTab));
    EXPECT_TRUE(waitForTitles({title("b")}));

    EXPECT_TRUE(browser_->perform(Operation::newTab));
    EXPECT_TRUE(waitUntil([&] { return browser_->tabs().size() == 2; }));
    EXPECT_TRUE(browser_->perform(Operation::closeOtherTabs));
    EXPECT_TRUE(waitUntil([&] { return browser_->tabs().size() == 1; }));
    browser_->open(url("b"), false);
    ASSERT_TRUE(waitForTitles({title("b")}));

    EXPECT_TRUE(browser_->perform(Operation::viewSource));
    EXPECT_TRUE(waitUntil([&] { return browser_->tabs().size() == 2; }));
    EXPECT_THAT(browser_->urls(browser_->tabs()[0].windowID),
                Contains(u"view-source:"_s + url("b")));

    EXPECT_TRUE(browser_->perform(Operation::newWindow));
    EXPECT_TRUE(waitUntil([&] {
        const auto tabs = browser_->tabs();
        return tabs.size() == 3 && tabs.constFirst().windowOrder == 0 &&
               tabs.constLast().windowOrder == 1;
    }));
    EXPECT_TRUE(browser_->perform(Operation::closeWindow));
    EXPECT_TRUE(waitUntil([&] { return browser_->tabs().size() == 2; }));
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
    ASSERT_TRUE(chromium_.waitForExit());

    const HistoryResult history = browser_->history();
    QStringList visited;
    for (const HistoryEntry& entry : history.entries)
        visited.append(entry.url);
    EXPECT_THAT(visited, Contains(url("a")));
    EXPECT_THAT(visited, Contains(url("b")));
    EXPECT_THAT(visited, Contains(url("c")));
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
    ASSERT_TRUE(chromium_.waitForExit());
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
}

TEST_F(ChromiumTest, AStaleOrGarbledPortFileMeansNotReachableUntilTheBrowserIsBack) {
    chromium_.kill();
    ASSERT_TRUE(chromium_.waitForExit());
    // The killed browser left its port file behind, naming a port nobody listens on.
    ASSERT_TRUE(DevToolsEndpoint::read(folder()));
    const auto stale = makeBrowser();
    EXPECT_TRUE(stale->tabs().isEmpty());
    EXPECT_FALSE(stale->reachable());
    EXPECT_TRUE(stale->status().contains(u"Chromium"_s)) << stale->status().toStdString();

    QFile garbled(folder() + u"/DevToolsActivePort"_s);
    ASSERT_TRUE(garbled.open(QIODevice::WriteOnly | QIODevice::Truncate));
    garbled.write("http://example.com\n\xff\xfe");
    garbled.close();
    EXPECT_TRUE(stale->tabs().isEmpty());

    // The same browser object finds the new port once the browser runs again.
    ChromiumProcess again;
    KIVARO_REQUIRE_TOOL(again.start(folder(), url("d")),
                        "Chromium does not start a second time: " << again.error().toStdString());
    EXPECT_TRUE(waitUntil([&] { return stale->tabs().size() == 1; }));
    EXPECT_TRUE(stale->reachable());
    EXPECT_EQ(stale->status(), QString());
}

} // namespace
} // namespace kivaro
