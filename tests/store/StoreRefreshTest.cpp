#include "StoreFakes.h"
#include "browsers/Commands.h"
#include "settings/Preferences.h"
#include "store/HiddenHistory.h"
#include "store/OffMainThread.h"
#include "support/DropTicket.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>
#include <thread>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using testing::FakeBrowser;
using testing::Gate;
using testing::settle;
using testing::StoreWorld;

const QString alphaID = u"test.alpha"_s;
const QString betaID = u"test.beta"_s;

HistoryEntry visit(const QString& url, qint64 visits) {
    return {url, u"Title"_s, visits, QDateTime()};
}

class StoreRefresh : public ::testing::Test {
protected:
    StoreRefresh() {
        alpha->setWindow(1, {u"https://a.example/"_s, u"https://b.example/"_s});
        alpha->setCurrent(1, 1);
        alpha->setHistory({{visit(u"https://a.example/"_s, 3)}, u"1 page"_s});
        beta->setWindow(7, {u"https://beta.example/"_s});
        world.menuBar.setMenuBar(
            alphaID, FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(
                         u"View"_s, {FakeMenuBarAccess::item(u"Reload Page"_s, u"r"_qs)})}));
        store = world.store({alpha, beta});
    }

    void refresh() {
        store->refresh();
        settle(*store);
    }

    ~StoreRefresh() override {
        EXPECT_FALSE(alpha->calledOnMainThread());
        EXPECT_FALSE(beta->calledOnMainThread());
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_qs);
    std::shared_ptr<FakeBrowser> beta = std::make_shared<FakeBrowser>(betaID, u"Beta"_qs);
    std::unique_ptr<Store> store;
};

TEST_F(StoreRefresh, StartsEmptyOnTheFirstBrowserAndDeliversTheTabsFirstThenEverything) {
    EXPECT_EQ(store->browser()->bundleID(), alphaID);
    EXPECT_EQ(store->historyStatus, u"not loaded"_qs);
    EXPECT_EQ(store->historyLoadedAt, std::nullopt);
    EXPECT_TRUE(store->hidden.isEmpty());
    QList<qsizetype> tabCounts;
    QList<qsizetype> commandCounts;
    store->refresh([&] {
        tabCounts.append(store->tabs.size());
        commandCounts.append(store->commands.size());
    });
    EXPECT_TRUE(tabCounts.isEmpty()) << "nothing arrives before the event loop runs";
    settle(*store);
    EXPECT_EQ(tabCounts, (QList<qsizetype>{2, 2}));
    // First delivery: tabs only; the commands are still the defaults of a fresh browser.
    EXPECT_EQ(commandCounts.first(), Commands::own().size());
    EXPECT_EQ(commandCounts.last(), Commands::own().size() + 1);
    EXPECT_EQ(store->tabs.first().url, u"https://a.example/"_s);
    EXPECT_TRUE(store->tabs.first().isCurrent);
    EXPECT_EQ(store->commands.first().title, u"Reload Page"_s);
    EXPECT_EQ(store->history.size(), 1);
    EXPECT_EQ(store->historyStatus, u"Alpha, 1 page"_s);
    EXPECT_EQ(store->historyLoadedAt, world.now);
    EXPECT_EQ(store->hostVisits.value(u"a.example"_s), 3);
    EXPECT_TRUE(store->otherTabs.isEmpty()) << "tab groups are Safari's alone";
}

TEST_F(StoreRefresh, HistoryIsReadAgainOnlyWhenOlderThanAMinute) {
    refresh();
    alpha->setHistory({{visit(u"https://new.example/"_s, 1)}, u"fresh"_qs});
    world.now = world.now.addSecs(60);
    refresh();
    EXPECT_EQ(alpha->callsNamed(u"history"_qs), 1);
    EXPECT_EQ(alpha->callsNamed(u"tabs"_qs), 2) << "tabs are read every time";
    EXPECT_EQ(store->historyStatus, u"Alpha, 1 page"_s);

    world.now = world.now.addMSecs(1);
    refresh();
    EXPECT_EQ(alpha->callsNamed(u"history"_qs), 2);
    EXPECT_EQ(store->historyStatus, u"Alpha, fresh"_s);
    EXPECT_EQ(store->hostVisits, (QHash<QString, qint64>{{u"new.example"_qs, 1}}));

    store->reloadHistory(); // the settings window's button
    settle(*store);
    EXPECT_EQ(alpha->callsNamed(u"history"_qs), 3);
}

TEST_F(StoreRefresh, TheMainThreadNeverWaitsForASlowBrowser) {
    Gate gate;
    alpha->holdEveryCallAt(gate);
    int delivered = 0;
    store->refresh([&] { ++delivered; });
    gate.waitForWaiter(); // the browser is stuck answering
    // Everything the interface calls returns at once meanwhile.
    store->refresh([&] { ++delivered; });
    store->perform(Action::open(u"https://x.example/"_qs), OpenMode::newTab);
    store->switchToLastTab();
    store->copyCurrentPage(false);
    store->trackTabs(true);
    store->trackTabs(false);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, 0);
    gate.open();
    settle(*store);
    EXPECT_EQ(delivered, 4);
}

TEST_F(StoreRefresh, ABrowserSwitchMidRefreshDropsTheOldResultsAndCallback) {
    Gate gate;
    alpha->holdTabsAt(gate);
    int delivered = 0;
    store->refresh([&] { ++delivered; });
    gate.waitForWaiter();
    store->use(beta);
    gate.open();
    settle(*store);
    EXPECT_EQ(delivered, 0);
    EXPECT_TRUE(store->tabs.isEmpty());
    EXPECT_TRUE(store->history.isEmpty());
    EXPECT_EQ(store->historyStatus, u"not loaded"_s);
    EXPECT_EQ(store->commands, Commands::own());

    store->refresh([&] { ++delivered; });
    settle(*store);
    EXPECT_EQ(delivered, 2);
    EXPECT_EQ(store->tabs.size(), 1);
    EXPECT_EQ(store->tabs.first().windowID, 7);
}

TEST_F(StoreRefresh, TheBrowserStatusTellsOfTheLastRefreshAndGoesWithTheBrowser) {
    alpha->setFailing(true);
    refresh();
    EXPECT_EQ(store->browserStatus, u"Alpha does not answer"_qs);
    alpha->setFailing(false);
    refresh();
    EXPECT_EQ(store->browserStatus, QString());

    alpha->setFailing(true);
    refresh();
    ASSERT_FALSE(store->browserStatus.isEmpty());
    store->use(beta);
    EXPECT_EQ(store->browserStatus, QString());
}

TEST_F(StoreRefresh, ManyRefreshesQueuedAtOnceAllDeliverInOrder) {
    Gate gate;
    alpha->holdTabsAt(gate);
    QList<int> order;
    for (int i = 0; i < 50; ++i)
        store->refresh([&order, i] { order.append(i); });
    gate.waitForWaiter();
    gate.open();
    settle(*store);
    ASSERT_EQ(order.size(), 100);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order.at(2 * i), i);
        EXPECT_EQ(order.at(2 * i + 1), i);
    }
    EXPECT_EQ(alpha->callsNamed(u"history"_qs), 50)
        << "every refresh asked before the first result came back";
    EXPECT_EQ(store->tabs.size(), 2);
}

TEST_F(StoreRefresh, DestroyedWithWorkInFlightNeitherCrashesNorCallsBack) {
    Gate gate;
    alpha->holdTabsAt(gate);
    int delivered = 0;
    store->refresh([&] { ++delivered; });
    testing::DropCounter released;
    {
        auto ticket = std::make_shared<testing::DropTicket>(released);
        store->refresh([&delivered, ticket] {
            ticket->ran = true;
            ++delivered;
        });
    }
    store->perform(Action::switchTab(1, 2), OpenMode::newTab);
    gate.waitForWaiter();
    // Let the held call go only once the store's destruction has dropped the queued work.
    std::thread opener([&] {
        released.waitFor(1);
        gate.open();
    });
    store.reset();
    opener.join();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(alpha->callsNamed(u"switchTo"_qs), 0) << "queued actions are dropped";
}

TEST_F(StoreRefresh, UsingTheSameBrowserAgainKeepsEverything) {
    refresh();
    store->use(std::make_shared<FakeBrowser>(alphaID, u"Alpha again"_qs));
    EXPECT_EQ(store->tabs.size(), 2);
    EXPECT_EQ(store->historyStatus, u"Alpha, 1 page"_s);
    store->use(beta);
    EXPECT_TRUE(store->hostVisits.isEmpty()) << "it counts the history that just went";
    EXPECT_EQ(store->historyLoadedAt, std::nullopt);
    // Another browser with an empty menu walk offers only the own commands.
    refresh();
    EXPECT_EQ(store->commands, Commands::own());
    EXPECT_TRUE(store->devTools.isEmpty());
}

TEST(StoreSafari, AnEmptyMenuWalkGivesTheDefaultsAndTabGroupsAreRead) {
    StoreWorld world;
    auto safari = std::make_shared<FakeBrowser>(Store::safariID, u"Safari"_qs);
    safari->setWindow(1, {u"https://open.example/"_qs});
    world.safari.setGroupTabs({{.windowID = -1,
                                .windowOrder = 3,
                                .index = -1,
                                .url = u"https://grouped.example/"_qs,
                                .group = u"Work"_qs},
                               {.windowID = -1, .url = u"https://open.example/"_qs}});
    auto store = world.store({safari});
    EXPECT_EQ(store->commands, Commands::defaults());
    store->refresh();
    settle(*store);
    EXPECT_EQ(store->commands, Commands::defaults()); // no Accessibility, no menu bar
    ASSERT_EQ(store->otherTabs.size(), 1);
    EXPECT_EQ(store->otherTabs.first().group, u"Work"_s);
}

TEST(StoreHostVisits, FoldsHostsAndCountsAddressesWithoutOne) {
    const QHash<QString, qint64> visits = Store::visitsByHost({
        visit(u"https://WWW.Example.COM/a"_qs, 2),
        visit(u"http://example.com/b"_qs, 3),
        visit(u"file:///Users/me/notes.txt"_qs, 4),
        visit(u"not an address at all"_qs, 5),
        visit(u"https://docs.example.com/"_qs, 1),
    });
    EXPECT_EQ(visits, (QHash<QString, qint64>{
                          {u"example.com"_qs, 5}, {QString(), 9}, {u"docs.example.com"_qs, 1}}));
}

TEST(StoreBrowsers, OptInBrowsersAreOfferedOnlyWithOtherBrowsersOn) {
    StoreWorld world;
    auto alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_qs);
    auto beta = std::make_shared<FakeBrowser>(betaID, u"Beta"_qs);
    Store::Adapters adapters = world.adapters({alpha});
    adapters.optInBrowsers = [beta] { return QList<Store::BrowserRef>{beta}; };
    Store store(adapters);
    for (const bool on : {false, true}) {
        world.preferences->store(PreferenceKey::otherBrowsers, on);
        EXPECT_EQ(store.browserFor(alphaID), alpha) << "always offered";
        EXPECT_EQ(store.browserFor(betaID), on ? beta : nullptr);
        EXPECT_EQ(store.browsers().size(), 2) << "every browser, opted in or not";
    }
    EXPECT_EQ(store.browserFor(u"com.example.Unknown"_qs), nullptr);
}

TEST(StoreBrowsers, WithNoBrowserNothingIsDrivenAndTheStatusSaysWhy) {
    StoreWorld world;
    auto store = world.store({});
    EXPECT_EQ(store->commands, Commands::own());
    int delivered = 0;
    store->refresh([&] { ++delivered; });
    store->switchToLastTab();
    store->copyCurrentPage(false);
    store->archivePass();
    settle(*store);
    EXPECT_EQ(delivered, 2);
    EXPECT_TRUE(store->tabs.isEmpty());
    EXPECT_EQ(store->browserStatus, u"No supported browser is installed."_qs);
    EXPECT_EQ(world.workspace.beeps(), 1);
}

TEST(StoreBrowsers, WithoutSafariThereIsNoArchive) {
    StoreWorld world;
    world.preferences->setArchiveAfter(ArchiveInterval::day);
    Store::Adapters adapters = world.adapters({std::make_shared<FakeBrowser>(alphaID, u"A"_qs)});
    adapters.safari = nullptr;
    Store store(adapters);
    store.archivePass();
    settle(store);
    EXPECT_TRUE(store.archived.isEmpty());
    EXPECT_FALSE(QFile::exists(world.archiveFile())) << "nothing armed, nothing written";
}

TEST(StoreTracking, ASlowBrowserDoesNotPileUpTicks) {
    StoreWorld world;
    auto alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_qs);
    alpha->setWindow(1, {u"https://a.example/"_qs});
    alpha->setCurrent(1, 1);
    Gate gate;
    alpha->holdEveryCallAt(gate);
    auto store = world.store({alpha});
    store->trackTabs(true);
    EXPECT_TRUE(store->tracking());
    gate.waitForWaiter();
    for (int i = 0; i < 100; ++i)
        store->noteCurrentTab();
    gate.open();
    settle(*store);
    EXPECT_EQ(alpha->callsNamed(u"currentTab"_qs), 2) << "the held tick and one waiting";
    EXPECT_EQ(store->trail(), (QList<TabRef>{{1, 1, u"https://a.example/"_qs}}));
    store->trackTabs(false);
    EXPECT_FALSE(store->tracking());
}

TEST(StoreHidden, IsReadAtStartAndWrittenOnSave) {
    StoreWorld world;
    ASSERT_TRUE(HiddenHistory::save(world.hiddenFile(), {u"a.example"_qs}));
    auto store = world.store({});
    EXPECT_EQ(store->hidden, QSet<QString>{u"a.example"_qs});
    store->hidden.insert(u"b.example"_qs);
    store->hidden.insert(u"b.example"_qs);
    store->saveHidden();
    EXPECT_EQ(HiddenHistory::load(world.hiddenFile()),
              (QSet<QString>{u"a.example"_qs, u"b.example"_qs}));
    store->clearHidden();
    QFile file(world.hiddenFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[]"));
}

TEST(StoreHistory, ADrivenBrowserShowsTheHistoryItReadsItselfAndAnnouncesEachPublication) {
    // Chrome is a known history source; reached through a profile of its own, only the browser
    // knows which folder holds its history.
    StoreWorld world;
    auto chrome = std::make_shared<FakeBrowser>(u"com.google.Chrome"_qs, u"Chrome"_qs);
    const QList<HistoryEntry> own{visit(u"https://own-profile.example/"_qs, 2)};
    chrome->setHistory({own, u"1 page"_qs});
    auto store = world.store({chrome});
    int changes = 0;
    QObject::connect(store.get(), &Store::changed, [&] { ++changes; });
    store->refresh();
    settle(*store);
    EXPECT_EQ(store->history.items(), own);
    EXPECT_EQ(store->history.facts().size(), own.size()) << "prepared on the queue";
    EXPECT_EQ(store->historyStatus, u"Chrome, 1 page"_qs);
    EXPECT_EQ(changes, 2) << "the tabs, then everything";
}

TEST(StoreDemo, ShowsTheSampleAndNeverTouchesABrowserOrTheHiddenFile) {
    StoreWorld world;
    ASSERT_TRUE(HiddenHistory::save(world.hiddenFile(), {u"a.example"_qs}));
    auto alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_qs);
    DemoData demo{.tabs = {{.windowID = 1, .index = 1, .url = u"https://demo.example/"_qs}},
                  .history = {visit(u"https://demo.example/"_qs, 9)},
                  .devTools = Commands::own(),
                  .visits = {{u"demo.example"_qs, 9}},
                  .suggestions = {{u"we"_qs, {u"weather"_qs}}}};
    Store store(world.adapters({alpha}), demo);
    EXPECT_EQ(store.tabs, demo.tabs);
    EXPECT_EQ(store.history.items(), demo.history);
    EXPECT_EQ(store.devTools, demo.devTools);
    EXPECT_EQ(store.hostVisits, demo.visits);
    EXPECT_TRUE(store.hidden.isEmpty());
    EXPECT_TRUE(store.archived.isEmpty());
    EXPECT_EQ(store.demo->suggestionsFor(u"WE"_qs), QStringList{u"weather"_qs});
    EXPECT_TRUE(store.demo->suggestionsFor(u"xyz"_qs).isEmpty());

    int delivered = 0;
    store.refresh([&] { ++delivered; });
    EXPECT_EQ(delivered, 1) << "called at once";
    store.perform(Action::open(u"https://x.example/"_qs), OpenMode::newTab);
    store.perform(Action::switchTab(1, 1), OpenMode::newTab);
    store.perform(Action::copyLink(false), OpenMode::newTab);
    store.hidden.insert(u"demo.example"_qs);
    store.saveHidden();
    settle(store);
    EXPECT_TRUE(alpha->calls().isEmpty());
    EXPECT_EQ(world.pasteboard.writes, 0);
    EXPECT_EQ(HiddenHistory::load(world.hiddenFile()), QSet<QString>{u"a.example"_qs});
}

TEST(StoreThreads, ABrowserCallOnTheMainThreadStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_qs);
    const OffMainBrowser checked(alpha);
    EXPECT_DEATH(checked.tabs(), "Browser::tabs called on the main thread");
    EXPECT_DEATH(checked.currentTab(), "Browser::currentTab called on the main thread");
    EXPECT_EQ(checked.bundleID(), alphaID) << "plain fields are fine anywhere";
}

} // namespace
} // namespace kivaro
