#include "../store/StoreFakes.h"
#include "ChromiumFixture.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "store/Store.h"

#include <gmock/gmock.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using testing::bundleID;
using ::testing::Contains;
using ::testing::Field;
using testing::waitUntil;

// The store as the program runs it on Linux: the DevTools browser is the platform's only
// browser, its commands come from the protocol's menu bar, and every call runs on the store's
// queue against a real headless Chromium.
class StoreLiveTest : public testing::ChromiumTest {
protected:
    void SetUp() override {
        testing::ChromiumTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        driven_ = makeBrowser();
        menus_ =
            std::make_unique<DevToolsMenuBarAccess>(QList<std::shared_ptr<RemoteBrowser>>{driven_});
        world_.workspace.run(bundleID, true);
        store_ = std::make_unique<Store>(adapters());
    }

    Store::Adapters adapters() {
        Store::Adapters adapters = world_.adapters({driven_});
        return {.workspace = adapters.workspace,
                .menuBar = *menus_,
                .permissions = adapters.permissions,
                .toast = adapters.toast,
                .pasteboard = adapters.pasteboard,
                .snapshots = *snapshots_,
                .preferences = adapters.preferences,
                .browsers = adapters.browsers,
                .hiddenFile = adapters.hiddenFile,
                .archiveFile = adapters.archiveFile,
                .clock = adapters.clock};
    }

    // Runs `action` through the store and waits until its queue and deliveries are done.
    void perform(const Action& action, OpenMode mode = OpenMode::newTab) {
        store_->perform(action, mode);
        testing::settle(*store_);
    }

    void refresh() {
        store_->refresh();
        testing::settle(*store_);
    }

    std::optional<SafariTab> storeTab(const char* name) const {
        for (const SafariTab& tab : store_->tabs)
            if (tab.title == title(name))
                return tab;
        return std::nullopt;
    }

    testing::StoreWorld world_;
    std::shared_ptr<DevToolsBrowser> driven_;
    std::unique_ptr<DevToolsMenuBarAccess> menus_;
    std::unique_ptr<Store> store_;
};

TEST_F(StoreLiveTest, StartsOnTheBrowserAndReadsItsTabsAndCommands) {
    ASSERT_EQ(store_->browser()->bundleID(), bundleID);
    refresh();
    ASSERT_EQ(store_->tabs.size(), 1);
    EXPECT_EQ(store_->tabs.constFirst().url, url("a"));
    EXPECT_TRUE(store_->tabs.constFirst().isCurrent);
    EXPECT_THAT(store_->commands, Contains(Field(&Command::title, u"Reload Page"_s)));
    EXPECT_THAT(store_->devTools, Contains(Field(&Command::title, u"Developer Tools"_s)));
}

TEST_F(StoreLiveTest, OpensSwitchesAndGoesBackToTheLastTab) {
    store_->noteCurrentTab();
    perform(Action::open(url("b")), OpenMode::newTab);
    ASSERT_TRUE(waitForTitles({title("a"), title("b")}));
    ASSERT_TRUE(waitUntil([&] { return currentIs("b"); }));
    store_->noteCurrentTab();
    testing::settle(*store_);

    // Back to "a", the tab used before "b", and then to "b" again.
    store_->switchToLastTab();
    testing::settle(*store_);
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));
    store_->switchToLastTab();
    testing::settle(*store_);
    EXPECT_TRUE(waitUntil([&] { return currentIs("b"); }));

    // The current tab navigates in place.
    perform(Action::open(url("c")), OpenMode::currentTab);
    EXPECT_TRUE(waitForTitles({title("a"), title("c")}));

    // A switch by the (window, index) the store listed reaches that very tab.
    refresh();
    const auto first = storeTab("a");
    ASSERT_TRUE(first);
    perform(Action::switchTab(first->windowID, first->index));
    EXPECT_TRUE(waitUntil([&] { return currentIs("a"); }));
}

TEST_F(StoreLiveTest, ClosesTabsAndRunsProtocolCommands) {
    perform(Action::menu({u"Tab"_s, u"Duplicate Tab"_s}));
    ASSERT_TRUE(waitForTitles({title("a"), title("a")}));

    refresh();
    ASSERT_EQ(store_->tabs.size(), 2);
    const SafariTab last = store_->tabs.constLast();
    bool closed = false;
    store_->closeTab(last.windowID, last.index, [&] { closed = true; });
    testing::settle(*store_);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(waitForTitles({title("a")}));
    EXPECT_EQ(store_->tabs.size(), 1);
    EXPECT_TRUE(world_.toast.shown.isEmpty());
}

TEST_F(StoreLiveTest, PinningSaysTheBrowserCannotPinAndCopyingTakesTheCurrentLink) {
    store_->togglePinCurrent();
    testing::settle(*store_);
    ASSERT_EQ(world_.toast.shown.size(), 1);
    EXPECT_EQ(world_.toast.shown.constFirst().text, u"Chromium has no Pin Tab command"_s);
    EXPECT_EQ(titles(), QStringList{title("a")});

    store_->copyCurrentPage(true);
    testing::settle(*store_);
    ASSERT_TRUE(world_.pasteboard.content);
    EXPECT_EQ(world_.pasteboard.content->text, u'[' + title("a") + u"]("_s + url("a") + u')');
}

TEST_F(StoreLiveTest, ABrowserThatStopsAnsweringShowsNothingAndSaysWhy) {
    refresh();
    ASSERT_EQ(store_->tabs.size(), 1);
    EXPECT_TRUE(store_->browserStatus.isEmpty());

    chromium_.kill();
    refresh();
    EXPECT_TRUE(store_->tabs.isEmpty());
    EXPECT_THAT(store_->browserStatus.toStdString(),
                ::testing::HasSubstr("--remote-debugging-port=0"));
}

} // namespace
} // namespace kivaro
