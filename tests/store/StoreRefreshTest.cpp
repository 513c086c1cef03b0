#include "StoreFakes.h"
#include "browsers/Commands.h"
#include "store/HiddenHistory.h"
#include "store/OffMainThread.h"
#include "store/SerialQueue.h"
#include "support/DropTicket.h"
#include "support/Files.h"
#include "support/FixtureRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using testing::FakeBrowser;
using testing::Gate;
using testing::settle;
using testing::StoreWorld;

// Alpha has the identity of a known history source, whose default folder the store must not
// read in place of what the browser itself reads.
const QString alphaID = u"com.google.Chrome"_s;
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
                         u"View"_s, {FakeMenuBarAccess::item(u"Reload Page"_s, u"r"_s)})}));
        store = world.store({alpha, beta});
    }
    ~StoreRefresh() override {
        EXPECT_FALSE(alpha->calledOnMainThread());
        EXPECT_FALSE(beta->calledOnMainThread());
    }

    void refresh() {
        store->refresh();
        settle(*store);
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> alpha = std::make_shared<FakeBrowser>(alphaID, u"Alpha"_s);
    std::shared_ptr<FakeBrowser> beta = std::make_shared<FakeBrowser>(betaID, u"Beta"_s);
    std::unique_ptr<Store> store;
    int delivered = 0;
    Store::Done count = [this] { ++delivered; };
};

// The driven browser reads its own history (a profile of its own may hold it); the store
// prepares it on the queue and announces the tabs first, then everything.
TEST_F(StoreRefresh, DeliversTheTabsFirstThenEverythingAndRereadsAnOldHistory) {
    EXPECT_EQ(store->browser()->bundleID(), alphaID);
    QList<qsizetype> tabCounts, commandCounts;
    int changes = 0;
    QObject::connect(store.get(), &Store::changed, [&] { ++changes; });
    store->refresh([&] {
        tabCounts.append(store->tabs.size());
        commandCounts.append(store->commands.size());
    });
    EXPECT_TRUE(tabCounts.isEmpty()) << "nothing arrives before the event loop runs";
    settle(*store);
    EXPECT_EQ(tabCounts, (QList<qsizetype>{2, 2}));
    EXPECT_EQ(changes, 2);
    // First delivery: tabs only; the commands are still the defaults of a fresh browser.
    EXPECT_EQ(commandCounts,
              (QList<qsizetype>{Commands::own().size(), Commands::own().size() + 1}));
    EXPECT_EQ(store->commands.first().title, u"Reload Page"_s);
    EXPECT_EQ(store->history.items(), (QList{visit(u"https://a.example/"_s, 3)}));
    EXPECT_EQ(store->history.facts().size(), 1) << "prepared on the queue";
    EXPECT_EQ(store->historyStatus, u"Alpha, 1 page"_s);
    EXPECT_EQ(store->historyLoadedAt, world.now);
    EXPECT_TRUE(store->otherTabs.isEmpty()) << "tab groups are Safari's alone";

    // The history is read again only when older than a minute.
    alpha->setHistory({{visit(u"https://new.example/"_s, 1)}, u"fresh"_s});
    world.now = world.now.addSecs(60);
    refresh();
    EXPECT_EQ(alpha->callsNamed(u"history"_s), 1);
    EXPECT_EQ(alpha->callsNamed(u"tabs"_s), 2) << "tabs are read every time";

    world.now = world.now.addMSecs(1);
    refresh();
    EXPECT_EQ(alpha->callsNamed(u"history"_s), 2);
    EXPECT_EQ(store->historyStatus, u"Alpha, fresh"_s);
    EXPECT_EQ(store->hostVisits, (QHash<QString, qint64>{{u"new.example"_s, 1}}));

    store->reloadHistory(); // the settings window's button
    settle(*store);
    EXPECT_EQ(alpha->callsNamed(u"history"_s), 3);
}

// Every refresh queued behind a stuck browser asks it again, and delivers in order.
TEST_F(StoreRefresh, TheMainThreadNeverWaitsForASlowBrowser) {
    Gate gate;
    alpha->holdEveryCallAt(gate);
    QList<int> order, expected;
    for (int i = 0; i < 50; ++i) {
        store->refresh([&order, i] { order.append(i); });
        expected << i << i;
    }
    gate.waitForWaiter(); // the browser is stuck answering
    // Everything the interface calls returns at once meanwhile.
    store->perform(Action::open(u"https://x.example/"_s), OpenMode::newTab);
    store->switchToLastTab();
    store->copyCurrentPage(false);
    store->trackTabs(true);
    store->trackTabs(false);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(order.isEmpty());
    gate.open();
    settle(*store);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(alpha->callsNamed(u"history"_s), 50)
        << "every refresh asked before the first result came back";
}

TEST_F(StoreRefresh, ABrowserSwitchMidRefreshDropsTheOldResultsAndCallback) {
    Gate gate;
    alpha->holdTabsAt(gate);
    store->refresh(count);
    gate.waitForWaiter();
    store->use(beta);
    gate.open();
    settle(*store);
    EXPECT_EQ(delivered, 0);
    EXPECT_TRUE(store->tabs.isEmpty());
    EXPECT_TRUE(store->history.isEmpty());
    EXPECT_EQ(store->historyStatus, u"not loaded"_s);
    EXPECT_EQ(store->commands, Commands::own());

    store->refresh(count);
    settle(*store);
    EXPECT_EQ(delivered, 2);
    ASSERT_EQ(store->tabs.size(), 1);
    EXPECT_EQ(store->tabs.first().windowID, 7);
}

// The status is set on a failed refresh and cleared on a good one and on a browser switch.
TEST_F(StoreRefresh, TheBrowserStatusAndEverythingReadGoWithTheBrowser) {
    refresh();
    alpha->setFailing(true);
    refresh();
    EXPECT_EQ(store->browserStatus, u"Alpha does not answer"_s);
    alpha->setFailing(false);
    refresh();
    EXPECT_EQ(store->browserStatus, QString());
    store->use(std::make_shared<FakeBrowser>(
        alphaID, u"Alpha again"_s)); // the same browser: everything stays
    EXPECT_EQ(store->tabs.size(), 2);
    EXPECT_EQ(store->historyStatus, u"Alpha, 1 page"_s);

    alpha->setFailing(true);
    refresh();
    ASSERT_FALSE(store->browserStatus.isEmpty());
    store->use(beta);
    EXPECT_EQ(store->browserStatus, QString());
    EXPECT_TRUE(store->hostVisits.isEmpty()) << "it counts the history that just went";
    EXPECT_EQ(store->historyLoadedAt, std::nullopt);
    refresh(); // another browser with an empty menu walk offers only the own commands
    EXPECT_EQ(store->commands, Commands::own());
    EXPECT_TRUE(store->devTools.isEmpty());
}

TEST_F(StoreRefresh, DestroyedWithWorkInFlightNeitherCrashesNorCallsBack) {
    Gate gate;
    alpha->holdTabsAt(gate);
    store->refresh(count);
    testing::DropCounter released;
    {
        auto ticket = std::make_shared<testing::DropTicket>(released);
        store->refresh([this, ticket] {
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
    EXPECT_EQ(alpha->callsNamed(u"switchTo"_s), 0) << "queued actions are dropped";
}

TEST_F(StoreRefresh, ASlowBrowserDoesNotPileUpTrackingTicks) {
    Gate gate;
    alpha->holdEveryCallAt(gate);
    store->trackTabs(true);
    gate.waitForWaiter();
    for (int i = 0; i < 100; ++i)
        store->noteCurrentTab();
    gate.open();
    settle(*store);
    EXPECT_EQ(alpha->callsNamed(u"currentTab"_s), 2) << "the held tick and one waiting";
    EXPECT_EQ(store->trail(), (QList<TabRef>{{1, 1, u"https://a.example/"_s}}));
}

TEST(StoreHostVisits, FoldsHostsAndCountsAddressesWithoutOne) {
    QList<HistoryEntry> history;
    for (const QStringList& row : testing::fixtureRows(u"host-visits.txt"_s, 2))
        history.append(visit(row[0], row[1].toLongLong()));
    EXPECT_EQ(Store::visitsByHost(history),
              (QHash<QString, qint64>{
                  {u"example.com"_s, 5}, {QString(), 9}, {u"docs.example.com"_s, 1}}));
}

TEST_F(StoreRefresh, OptInBrowsersAreOfferedOnlyWithOtherBrowsersOn) {
    Store::Adapters adapters = world.adapters({alpha});
    adapters.optInBrowsers = [this] { return QList<Store::BrowserRef>{beta}; };
    Store offering(adapters);
    for (const bool on : {false, true}) {
        world.preferences->store(PreferenceKey::otherBrowsers, on);
        EXPECT_EQ(offering.browserFor(alphaID), alpha) << "always offered";
        EXPECT_EQ(offering.browserFor(betaID), on ? beta : nullptr);
        EXPECT_EQ(offering.browsers().size(), 2) << "every browser, opted in or not";
    }
    EXPECT_EQ(offering.browserFor(u"com.example.Unknown"_s), nullptr);
}

TEST_F(StoreRefresh, WithNoBrowserNothingIsDrivenAndTheStatusSaysWhy) {
    store = world.store({});
    EXPECT_EQ(store->commands, Commands::own());
    store->refresh(count);
    store->switchToLastTab();
    store->copyCurrentPage(false);
    store->archivePass();
    settle(*store);
    EXPECT_EQ(delivered, 2);
    EXPECT_TRUE(store->tabs.isEmpty());
    EXPECT_EQ(store->browserStatus, u"No supported browser is installed."_s);
    EXPECT_EQ(world.workspace.beeps(), 1);
}

// A store reads the hidden file at start and writes it on save; the demonstration does
// neither, and never touches a browser.
TEST_F(StoreRefresh, TheHiddenFileIsReadAtStartAndWrittenOnSaveExceptByTheDemonstration) {
    ASSERT_TRUE(HiddenHistory::save(world.hiddenFile(), {u"a.example"_s}));
    store = world.store({});
    EXPECT_EQ(store->hidden, QSet<QString>{u"a.example"_s});
    store->hidden.insert(u"b.example"_s);
    store->saveHidden();
    const QSet<QString> saved{u"a.example"_s, u"b.example"_s};
    EXPECT_EQ(HiddenHistory::load(world.hiddenFile()), saved);

    DemoData demo{.tabs = {{.windowID = 1, .index = 1, .url = u"https://demo.example/"_s}},
                  .history = {visit(u"https://demo.example/"_s, 9)}};
    Store shown(world.adapters({alpha}), demo);
    EXPECT_EQ(shown.tabs, demo.tabs);
    EXPECT_EQ(shown.history.items(), demo.history);
    EXPECT_TRUE(shown.hidden.isEmpty());
    shown.refresh(count);
    EXPECT_EQ(delivered, 1) << "called at once";
    shown.perform(Action::open(u"https://x.example/"_s), OpenMode::newTab);
    shown.perform(Action::switchTab(1, 1), OpenMode::newTab);
    shown.perform(Action::copyLink(false), OpenMode::newTab);
    shown.hidden.insert(u"demo.example"_s);
    shown.saveHidden();
    settle(shown);
    EXPECT_TRUE(alpha->calls().isEmpty());
    EXPECT_EQ(world.pasteboard.writes, 0);
    EXPECT_EQ(HiddenHistory::load(world.hiddenFile()), saved);

    store->clearHidden();
    EXPECT_EQ(testing::readFile(world.hiddenFile()), QByteArray("[]"));
}

// Saved sorted and compact, its folder made; a file that does not decode starts empty and is
// kept aside, none overwritten; an unwritable folder fails quietly.
TEST(HiddenHistoryFile, IsSavedReadBackAndKeptAsideWhenBad) {
    QTemporaryDir folder;
    const QString file = folder.filePath(u"app/hidden-history.json"_s);
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
    const QSet<QString> hidden{u"b.example/page"_s, u"a.example"_s, u"c.example/\"quoted\""_s};
    ASSERT_TRUE(HiddenHistory::save(file, hidden));
    EXPECT_EQ(testing::readFile(file), R"(["a.example","b.example/page","c.example/\"quoted\""])");
    EXPECT_EQ(HiddenHistory::load(file), hidden);
    EXPECT_TRUE(HiddenHistory::defaultFile().endsWith(u"/app.kivaro.Kivaro/hidden-history.json"));

    const QList<QByteArray> bad{R"({"a.example": true})", R"(["a.example", 3])", "[\"a.exam", "",
                                "\xff\xfe not json"};
    for (qsizetype n = 0; n < bad.size(); ++n) {
        testing::writeFile(file, bad[n]);
        EXPECT_TRUE(HiddenHistory::load(file).isEmpty()) << bad[n].toStdString();
        EXPECT_FALSE(QFile::exists(file)) << "left where the next save would replace it";
        const QString aside = file + (n ? u".unreadable-%1"_s.arg(n + 1) : u".unreadable"_s);
        EXPECT_EQ(testing::readFile(aside), bad[n]) << "every bad file is kept, none overwritten";
    }
    ASSERT_TRUE(HiddenHistory::save(file, {u"x.example"_s}));
    EXPECT_EQ(HiddenHistory::load(file), QSet{u"x.example"_s});
    EXPECT_EQ(testing::readFile(file + u".unreadable"_s), bad.first());

    ASSERT_TRUE(QDir(folder.filePath(u"app"_s)).removeRecursively());
    testing::writeFile(folder.filePath(u"app"_s), "a file where the folder should be");
    EXPECT_FALSE(HiddenHistory::save(file, {u"a.example"_s}));
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
}

TEST(SerialQueue, RunsJobsOneAtATimeInOrderOnItsOwnWorker) {
    SerialQueue queue(u"test"_s);
    int next = 0; // touched only by the jobs: serial, so unguarded
    std::atomic<int> running = 0;
    // Overlapping, out of order, on the caller's thread, or not current.
    std::atomic<bool> misplaced = false;
    QThread* caller = QThread::currentThread();
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0 || next++ != i || QThread::currentThread() == caller ||
                !queue.isCurrent())
                misplaced = true;
            running.fetch_sub(1);
        });
    }
    queue.waitUntilIdle();
    EXPECT_EQ(next, 200);
    EXPECT_FALSE(misplaced);
    EXPECT_FALSE(queue.isCurrent());
}

// Destruction lets the running job finish, drops the waiting ones, and refuses what the
// running job queues while the queue shuts down.
TEST(SerialQueue, DestructionFinishesTheRunningJobAndDropsTheRest) {
    testing::Gate gate;
    gate.close();
    testing::DropCounter counter;
    std::atomic<int> finished = 0, laterRan = 0;
    auto queue = std::make_unique<SerialQueue>(u"test"_s);
    const auto later = [&] {
        return [&laterRan, ticket = std::make_shared<testing::DropTicket>(counter)] {
            ticket->ran = true;
            ++laterRan;
        };
    };
    queue->async([&, raw = queue.get()] {
        gate.pass();
        ++finished;
        raw->async(later());
    });
    for (int i = 0; i < 10; ++i)
        queue->async(later());
    gate.waitForWaiter();
    std::thread destroyer([&] { queue.reset(); });
    counter.waitFor(10); // the destructor let the waiting jobs go while the first one is held
    gate.open();
    destroyer.join();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(laterRan, 0);
    EXPECT_EQ(counter.dropped(), 11);
}

TEST(StoreThreads, ABrowserCallOnTheMainThreadStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const OffMainBrowser checked(std::make_shared<FakeBrowser>(alphaID, u"Alpha"_s));
    EXPECT_DEATH(checked.tabs(), "Browser::tabs called on the main thread");
    EXPECT_DEATH(checked.currentTab(), "Browser::currentTab called on the main thread");
    EXPECT_EQ(checked.bundleID(), alphaID) << "plain fields are fine anywhere";
}

} // namespace
} // namespace kivaro
