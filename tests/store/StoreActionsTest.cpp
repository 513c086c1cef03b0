#include "StoreFakes.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::FakeBrowser;
using testing::RecordingPasteboard;
using testing::RecordingToast;
using testing::settle;
using testing::StoreWorld;
using Node = FakeMenuBarAccess::Node;

const QString chromeID = QStringLiteral("com.google.Chrome");

Node windowMenu(std::vector<Node> items) {
    return FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(u"Window"_qs, std::move(items))});
}

class StoreActions : public ::testing::Test {
protected:
    StoreActions() {
        for (const auto& browser : {safari, chrome}) {
            browser->setWindow(
                1, {u"https://a.example/"_qs, u"https://b.example/"_qs, u"https://c.example/"_qs});
            browser->setWindow(2, {u"https://d.example/"_qs});
            browser->setCurrent(1, 1);
        }
        store = world.store({safari, chrome});
    }

    ~StoreActions() override {
        EXPECT_FALSE(safari->calledOnMainThread());
        EXPECT_FALSE(chrome->calledOnMainThread());
    }

    void useChrome() { store->use(chrome); }
    // The user brings a tab forward and the tracking tick sees it.
    void visit(qint64 windowID, qint64 index) {
        store->perform(Action::switchTab(windowID, index), OpenMode::newTab);
        store->noteCurrentTab();
        settle(*store);
    }
    void noteFront() {
        store->noteCurrentTab();
        settle(*store);
    }
    // The toasts shown, oldest first, as "symbol: text" joined by " | ".
    QString toasts() const {
        QStringList shown;
        for (const RecordingToast::Shown& toast : world.toast.shown)
            shown.append(toast.symbol + u": "_qs + toast.text);
        return shown.join(u" | ");
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> safari =
        std::make_shared<FakeBrowser>(Store::safariID, u"Safari"_qs);
    std::shared_ptr<FakeBrowser> chrome = std::make_shared<FakeBrowser>(chromeID, u"Chrome"_qs);
    std::unique_ptr<Store> store;
};

TEST_F(StoreActions, SwitchingATabRereadsTheTabs) {
    store->perform(Action::switchTab(2, 1), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(safari->calls(), (QStringList{u"switchTo 2 1"_qs, u"tabs"_qs}));
    ASSERT_EQ(store->tabs.size(), 4);
    EXPECT_TRUE(store->tabs.last().isCurrent);
}

TEST_F(StoreActions, OpenLoadsInANewTabOrReplacesTheCurrentPage) {
    store->perform(Action::open(u"https://new.example/"_qs), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(safari->windows().value(1).size(), 4);
    store->perform(Action::open(u"https://here.example/"_qs), OpenMode::currentTab);
    settle(*store);
    EXPECT_EQ(safari->windows().value(1).last(), u"https://here.example/"_qs);
    EXPECT_EQ(safari->windows().value(1).size(), 4);
    EXPECT_EQ(store->tabs.size(), 5);
}

TEST_F(StoreActions, RevealingATabOfAnotherGroup) {
    world.safari.setRevealable({u"https://grouped.example/"_qs});
    store->perform(Action::revealTab(u"https://grouped.example/"_qs), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(safari->callsNamed(u"open"_qs), 0);
    EXPECT_EQ(toasts(), QString());

    store->perform(Action::revealTab(u"https://gone.example/"_qs), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(safari->calls().filter(u"open"_qs),
              QStringList{u"open https://gone.example/ newTab"_qs});
    EXPECT_EQ(toasts(), u"arrow.up.right.square: Tab not found. Opened in a new tab."_qs);
}

TEST_F(StoreActions, RevealingWithoutAccessibilityOpensTheTabAndAsks) {
    world.permissions.setGranted(Permission::accessibility, false);
    store->perform(Action::revealTab(u"https://grouped.example/"_qs), OpenMode::currentTab);
    settle(*store);
    EXPECT_TRUE(world.safari.revealed().isEmpty());
    EXPECT_EQ(safari->calls().filter(u"open"_qs),
              QStringList{u"open https://grouped.example/ newTab"_qs});
    EXPECT_EQ(world.permissions.requests(), QList<Permission>{Permission::accessibility});
    EXPECT_EQ(toasts(), u"lock.shield: Opened in a new tab. "
                        u"Allow Accessibility in Settings to switch Tab Groups."_qs);
    EXPECT_EQ(safari->calls().last(), u"tabs"_qs) << "the tabs are read again in every case";
}

TEST_F(StoreActions, MenuCommandsActivateTheBrowserAndPress) {
    world.workspace.run(Store::safariID);
    world.menuBar.setMenuBar(Store::safariID,
                             windowMenu({FakeMenuBarAccess::item(u"Merge All Windows"_qs)}));
    store->perform(Action::menu({u"Window"_qs, u"Merge All Windows"_qs}), OpenMode::newTab);
    store->perform(Action::menu({u"Window"_qs, u"Duplicate Tab"_qs}), OpenMode::newTab);
    store->perform(Action::menu({}), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(world.workspace.launched(), QStringList(3, Store::safariID));
    EXPECT_EQ(world.menuBar.presses(),
              (QList<QStringList>{{u"Window"_qs, u"Merge All Windows"_qs}}));
    EXPECT_EQ(toasts(), u"exclamationmark.circle: Duplicate Tab is not available here"
                        u" | exclamationmark.circle: This command is not available here"_qs);
}

TEST_F(StoreActions, MenuCommandsWithoutAccessibilityAsk) {
    world.permissions.setGranted(Permission::accessibility, false);
    store->perform(Action::menu({u"Window"_qs, u"Merge All Windows"_qs}), OpenMode::newTab);
    settle(*store);
    EXPECT_TRUE(world.menuBar.presses().isEmpty());
    EXPECT_EQ(toasts(), u"lock.shield: Allow Accessibility to run menu commands"_qs);
    EXPECT_EQ(world.permissions.requests(), QList<Permission>{Permission::accessibility});
}

TEST_F(StoreActions, CopyingALinkOrBeepingWithoutAPage) {
    store->perform(Action::copyLink(true), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(world.pasteboard.content,
              (RecordingPasteboard::Content{u"[Title of https://a.example/](https://a.example/)"_qs,
                                            std::nullopt}));
    store->copyCurrentPage(false);
    settle(*store);
    EXPECT_EQ(world.pasteboard.content,
              (RecordingPasteboard::Content{u"https://a.example/"_qs, u"https://a.example/"_qs}));
    EXPECT_EQ(world.pasteboard.writes, 2);

    safari->clearCurrent(); // no window in front
    store->copyCurrentPage(true);
    store->perform(Action::copyLink(false), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(world.workspace.beeps(), 2);
    EXPECT_EQ(world.pasteboard.writes, 2);
}

TEST_F(StoreActions, DeveloperModeOnlyRereadsTheTabs) {
    store->perform(Action::devMode(), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(safari->calls(), QStringList{u"tabs"_qs});
}

TEST_F(StoreActions, ClosingATabCallsBackWithTheNewList) {
    int done = 0;
    store->closeTab(1, 2, [&] { ++done; });
    settle(*store);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(store->tabs.size(), 3);

    // The browser changed before the answer came: the callback still runs, but the other
    // browser's tabs stay out of the new browser's list.
    testing::Gate gate;
    safari->holdEveryCallAt(gate);
    store->closeTab(1, 1, [&] { ++done; });
    gate.waitForWaiter();
    useChrome();
    gate.open();
    settle(*store);
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(store->tabs.isEmpty());
}

TEST_F(StoreActions, PinningInSafariNamesTheNewState) {
    world.menuBar.setMenuBar(Store::safariID,
                             windowMenu({FakeMenuBarAccess::item(u"Unpin Tab"_qs)}));
    store->togglePin(1, 3);
    settle(*store);
    EXPECT_EQ(safari->calls().first(), u"switchTo 1 3"_qs);
    world.menuBar.setMenuBar(Store::safariID,
                             windowMenu({FakeMenuBarAccess::disabled(u"Unpin Tab"_qs),
                                         FakeMenuBarAccess::item(u"Pin Tab"_qs)}));
    store->togglePinCurrent();
    settle(*store);
    EXPECT_EQ(toasts(), u"pin.slash: Tab unpinned | pin: Tab pinned"_qs);
}

TEST_F(StoreActions, PinningInAChromiumBrowserTrustsDisabledItems) {
    useChrome();
    world.menuBar.setMenuBar(chromeID, windowMenu({FakeMenuBarAccess::disabled(u"Unpin Tab"_qs)}));
    store->togglePinCurrent();
    settle(*store);
    EXPECT_EQ(toasts(), u"pin: Pin toggled in Chrome"_qs);
}

TEST_F(StoreActions, PinningWithoutACommandOrPermissionSaysSo) {
    world.menuBar.setMenuBar(Store::safariID,
                             windowMenu({FakeMenuBarAccess::disabled(u"Pin Tab"_qs)}));
    store->togglePinCurrent(); // Safari's disabled item does not count
    settle(*store);
    world.permissions.setGranted(Permission::accessibility, false);
    store->togglePin(1, 2);
    settle(*store);
    EXPECT_EQ(safari->callsNamed(u"switchTo"_qs), 0);
    EXPECT_EQ(toasts(), u"exclamationmark.circle: Safari has no Pin Tab command"
                        u" | lock.shield: Allow Accessibility to pin tabs"_qs);
}

TEST_F(StoreActions, SwitchingToTheLastTabTwiceComesBack) {
    noteFront(); // a.example in front
    visit(2, 1); // d.example
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_qs}));
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{2, 1, u"https://d.example/"_qs}));
}

TEST_F(StoreActions, SwitchingToTheLastTabFindsItsPageWhereverItMoved) {
    noteFront(); // a.example at 1 1
    visit(1, 3);
    safari->setWindow(
        1, {u"https://b.example/"_qs, u"https://c.example/"_qs, u"http://www.a.example"_qs});
    safari->setCurrent(1, 2);
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{1, 3, u"http://www.a.example"_qs}));
}

TEST_F(StoreActions, AVanishedLastTabIsDroppedSoTheNextPressGoesFurtherBack) {
    noteFront();                                                                // a (1 1)
    visit(1, 2);                                                                // b
    visit(2, 1);                                                                // d
    safari->setWindow(1, {u"https://a.example/"_qs, u"https://c.example/"_qs}); // b closed
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{2, 1, u"https://d.example/"_qs})) << "nothing happens";
    EXPECT_EQ(toasts(), QString());
    EXPECT_EQ(world.safari.revealed(), QStringList{u"https://b.example/"_qs});
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_qs}));
}

TEST_F(StoreActions, TheLastTabInAnotherTabGroupIsRevealed) {
    noteFront();                                                // a (1 1)
    visit(2, 1);                                                // d
    safari->setWindow(1, {u"https://other-group.example/"_qs}); // the window shows another group
    world.safari.setRevealable({u"https://a.example/"_qs}, [this](const QString& url) {
        safari->setWindow(1, {url});
        safari->setCurrent(1, 1);
    });
    store->switchToLastTab();
    settle(*store);
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_qs}));
    EXPECT_EQ(store->trail().first(), (TabRef{1, 1, u"https://a.example/"_qs}));
}

TEST_F(StoreActions, ABrowserFailingEveryCallGetsAToastOrABeepAndLosesNothing) {
    store->hidden = {u"kept.example"_qs};
    noteFront();
    safari->setFailing(true);
    world.menuBar.setPressSucceeds(false);
    world.menuBar.setMenuBar(Store::safariID,
                             windowMenu({FakeMenuBarAccess::item(u"Pin Tab"_qs),
                                         FakeMenuBarAccess::item(u"Reload Page"_qs)}));
    store->perform(Action::copyLink(false), OpenMode::newTab);
    store->copyCurrentPage(true);
    store->perform(Action::menu({u"Window"_qs, u"Reload Page"_qs}), OpenMode::newTab);
    store->togglePinCurrent();
    store->perform(Action::revealTab(u"https://grouped.example/"_qs), OpenMode::newTab);
    store->switchToLastTab();
    int closed = 0;
    store->closeTab(1, 1, [&] { ++closed; });
    settle(*store);
    EXPECT_EQ(world.workspace.beeps(), 2);
    EXPECT_EQ(world.pasteboard.writes, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(toasts(), u"exclamationmark.circle: Reload Page is not available here"
                        u" | exclamationmark.circle: Safari has no Pin Tab command"
                        u" | arrow.up.right.square: Tab not found. Opened in a new tab."_qs);
    EXPECT_EQ(store->hidden, QSet<QString>{u"kept.example"_qs});
    EXPECT_EQ(store->trail(), (QList<TabRef>{{1, 1, u"https://a.example/"_qs}}));
}

} // namespace
} // namespace kivaro
