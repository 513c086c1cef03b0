#include "StoreFakes.h"
#include "store/Clipboard.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using testing::FakeBrowser;
using testing::RecordingPasteboard;
using testing::RecordingToast;
using testing::settle;
using testing::StoreWorld;
using Node = FakeMenuBarAccess::Node;

const QString chromeID = u"com.google.Chrome"_s;

class StoreActions : public ::testing::Test {
protected:
    StoreActions() {
        for (const auto& browser : {safari, chrome}) {
            browser->setWindow(
                1, {u"https://a.example/"_s, u"https://b.example/"_s, u"https://c.example/"_s});
            browser->setWindow(2, {u"https://d.example/"_s});
            browser->setCurrent(1, 1);
        }
        store = world.store({safari, chrome});
    }

    ~StoreActions() override {
        EXPECT_FALSE(safari->calledOnMainThread());
        EXPECT_FALSE(chrome->calledOnMainThread());
    }

    void useChrome() { store->use(chrome); }
    void perform(const Action& action, OpenMode mode = OpenMode::newTab) {
        store->perform(action, mode);
        settle(*store);
    }
    // The user brings a tab forward and the tracking tick sees it.
    void visit(qint64 windowID, qint64 index) {
        store->perform(Action::switchTab(windowID, index), OpenMode::newTab);
        store->noteCurrentTab();
        settle(*store);
    }
    void lastTab() {
        store->switchToLastTab();
        settle(*store);
    }
    void noteFront() {
        store->noteCurrentTab();
        settle(*store);
    }
    // The toasts shown, oldest first, as "symbol: text (done symbol)" (or their symbols alone)
    // joined by " | ".
    QString toasts(bool withText = true) const {
        QStringList shown;
        for (const RecordingToast::Shown& toast : world.toast.shown)
            shown.append(toast.symbol + (withText ? u": "_s + toast.text : QString()) +
                         (withText && toast.done ? u" ("_s + *toast.done + u')' : QString()));
        return shown.join(u" | ");
    }
    void setWindowMenu(const QString& bundleID, std::vector<Node> items) {
        world.menuBar.setMenuBar(
            bundleID,
            FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(u"Window"_s, std::move(items))}));
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> safari =
        std::make_shared<FakeBrowser>(Store::safariID, u"Safari"_s);
    std::shared_ptr<FakeBrowser> chrome = std::make_shared<FakeBrowser>(chromeID, u"Chrome"_s);
    std::unique_ptr<Store> store;
};

TEST_F(StoreActions, SwitchingATabOrDeveloperModeRereadsTheTabs) {
    perform(Action::devMode());
    EXPECT_EQ(safari->calls(), QStringList{u"tabs"_s});
    perform(Action::switchTab(2, 1));
    EXPECT_EQ(safari->calls(), (QStringList{u"tabs"_s, u"switchTo 2 1"_s, u"tabs"_s}));
    ASSERT_EQ(store->tabs.size(), 4);
    EXPECT_TRUE(store->tabs.last().isCurrent);
}

TEST_F(StoreActions, OpenLoadsInANewTabOrReplacesTheCurrentPage) {
    perform(Action::open(u"https://new.example/"_s));
    EXPECT_EQ(safari->windows().value(1).size(), 4);
    perform(Action::open(u"https://here.example/"_s), OpenMode::currentTab);
    EXPECT_EQ(safari->windows().value(1).last(), u"https://here.example/"_s);
    EXPECT_EQ(safari->windows().value(1).size(), 4);
    EXPECT_EQ(store->tabs.size(), 5);
}

// A tab of another group is revealed; one that is gone, or any without Accessibility, opens in
// a new tab, and the tabs are read again in every case.
TEST_F(StoreActions, RevealingATabOfAnotherGroupOrOpeningIt) {
    world.safari.setRevealable({u"https://grouped.example/"_s});
    perform(Action::revealTab(u"https://grouped.example/"_s));
    EXPECT_EQ(safari->callsNamed(u"open"_s), 0);
    EXPECT_EQ(toasts(), QString());
    perform(Action::revealTab(u"https://gone.example/"_s));

    world.permissions.setGranted(Permission::accessibility, false);
    perform(Action::revealTab(u"https://grouped.example/"_s), OpenMode::currentTab);
    EXPECT_EQ(world.safari.revealed(),
              (QStringList{u"https://grouped.example/"_s, u"https://gone.example/"_s}));
    EXPECT_EQ(safari->calls().filter(u"open"_s),
              (QStringList{u"open https://gone.example/ newTab"_s,
                           u"open https://grouped.example/ newTab"_s}));
    EXPECT_EQ(world.permissions.requests(), QList<Permission>{Permission::accessibility});
    EXPECT_EQ(safari->calls().last(), u"tabs"_s);
}

TEST_F(StoreActions, MenuCommandsActivateTheBrowserAndPressOrAskForAccess) {
    world.workspace.run(Store::safariID);
    setWindowMenu(Store::safariID, {FakeMenuBarAccess::item(u"Merge All Windows"_s)});
    store->perform(Action::menu({u"Window"_s, u"Merge All Windows"_s}), OpenMode::newTab);
    store->perform(Action::menu({u"Window"_s, u"Duplicate Tab"_s}), OpenMode::newTab);
    perform(Action::menu({}));
    EXPECT_EQ(world.workspace.launched(), QStringList(3, Store::safariID));
    EXPECT_EQ(world.menuBar.presses(), (QList<QStringList>{{u"Window"_s, u"Merge All Windows"_s}}));

    world.permissions.setGranted(Permission::accessibility, false);
    perform(Action::menu({u"Window"_s, u"Merge All Windows"_s}));
    EXPECT_EQ(world.menuBar.presses().size(), 1);
    EXPECT_EQ(world.permissions.requests(), QList<Permission>{Permission::accessibility});
}

// A plain copy puts the same address under both types; a Markdown one is plain text only.
TEST_F(StoreActions, CopyingALinkOrBeepingWithoutAPage) {
    perform(Action::copyLink(true));
    EXPECT_EQ(world.pasteboard.content,
              (RecordingPasteboard::Content{u"[Title of https://a.example/](https://a.example/)"_s,
                                            std::nullopt}));
    store->copyCurrentPage(false);
    settle(*store);
    EXPECT_EQ(world.pasteboard.content,
              (RecordingPasteboard::Content{u"https://a.example/"_s, u"https://a.example/"_s}));
    EXPECT_EQ(toasts(), u"link: Markdown link copied (checkmark.circle.fill) | "
                        u"link: Link copied (checkmark.circle.fill)"_s);

    safari->clearCurrent(); // no window in front
    store->copyCurrentPage(true);
    perform(Action::copyLink(false));
    EXPECT_EQ(world.workspace.beeps(), 2);
    EXPECT_EQ(world.pasteboard.writes, 2);
}

TEST(Clipboard, MarkdownLinksEscapeTheTitlesSquareBracketsOnly) {
    EXPECT_EQ(Clipboard::markdownLink(u"https://a.example/x_(y)"_s, u"[draft] notes [2]"_s),
              u"[\\[draft\\] notes \\[2\\]](https://a.example/x_(y))"_s);
    EXPECT_EQ(Clipboard::markdownLink(u"https://a.example/"_s, QString()),
              u"[](https://a.example/)"_s);
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

TEST_F(StoreActions, PinningATabBringsItForwardFirstUnlessItCannotPin) {
    setWindowMenu(Store::safariID, {FakeMenuBarAccess::item(u"Unpin Tab"_s)});
    store->togglePin(1, 3);
    settle(*store);
    EXPECT_EQ(safari->calls().first(), u"switchTo 1 3"_s);
    world.permissions.setGranted(Permission::accessibility, false);
    store->togglePin(1, 2);
    settle(*store);
    EXPECT_EQ(safari->callsNamed(u"switchTo"_s), 1);
    EXPECT_EQ(toasts(false), u"pin.slash | lock.shield"_s);
}

// Every toast an action shows, worded exactly. The action runs with or without Accessibility,
// in Safari or Chrome, whose Window menu holds `items` ("-" before a disabled one); without an
// action the pin command runs.
struct ToastCase {
    const char* name;
    QString shown; // "symbol: text"
    std::optional<Action> action = std::nullopt;
    QString items = {}; // joined by "|"
    bool accessible = true;
    QString browser = Store::safariID;
    friend void PrintTo(const ToastCase& c, std::ostream* out) { *out << c.name; }
};

class StoreToasts : public StoreActions, public ::testing::WithParamInterface<ToastCase> {};

TEST_P(StoreToasts, SayExactly) {
    const ToastCase& c = GetParam();
    world.permissions.setGranted(Permission::accessibility, c.accessible);
    std::vector<Node> items;
    for (const QString& item : c.items.split(u'|', Qt::SkipEmptyParts))
        items.push_back(item.startsWith(u'-') ? FakeMenuBarAccess::disabled(item.mid(1))
                                              : FakeMenuBarAccess::item(item));
    setWindowMenu(c.browser, std::move(items));
    if (c.browser == chromeID)
        useChrome();
    if (c.action)
        store->perform(*c.action, OpenMode::newTab);
    else
        store->togglePinCurrent();
    settle(*store);
    EXPECT_EQ(toasts(), c.shown);
}

const Action revealGone = Action::revealTab(u"https://gone.example/"_s);

INSTANTIATE_TEST_SUITE_P(
    Actions, StoreToasts,
    ::testing::Values(
        ToastCase{"TabNotFound", u"arrow.up.right.square: Tab not found. Opened in a new tab."_s,
                  revealGone},
        ToastCase{"RevealWithoutAccessibility",
                  u"lock.shield: Opened in a new tab. "
                  u"Allow Accessibility in Settings to switch Tab Groups."_s,
                  revealGone, QString(), false},
        ToastCase{"MissingMenuItem",
                  u"exclamationmark.circle: Duplicate Tab is not available here"_s,
                  Action::menu({u"Window"_s, u"Duplicate Tab"_s})},
        ToastCase{"EmptyMenuPath", u"exclamationmark.circle: This command is not available here"_s,
                  Action::menu({})},
        ToastCase{"MenuWithoutAccessibility",
                  u"lock.shield: Allow Accessibility to run menu commands"_s,
                  Action::menu({u"Window"_s, u"Duplicate Tab"_s}), QString(), false},
        ToastCase{"Unpinned", u"pin.slash: Tab unpinned"_s, std::nullopt, u"Unpin Tab"_s},
        // Safari's disabled item does not count.
        ToastCase{"Pinned", u"pin: Tab pinned"_s, std::nullopt, u"-Unpin Tab|Pin Tab"_s},
        ToastCase{"PinToggledInChrome", u"pin: Pin toggled in Chrome"_s, std::nullopt,
                  u"-Unpin Tab"_s, true, chromeID},
        ToastCase{"NoPinCommand", u"exclamationmark.circle: Safari has no Pin Tab command"_s,
                  std::nullopt, u"-Pin Tab"_s},
        ToastCase{"PinWithoutAccessibility", u"lock.shield: Allow Accessibility to pin tabs"_s,
                  std::nullopt, u"Pin Tab"_s, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Pressed twice it comes back, and it finds the page wherever it moved.
TEST_F(StoreActions, SwitchingToTheLastTabTwiceComesBack) {
    noteFront(); // a.example in front
    visit(2, 1); // d.example
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_s}));
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{2, 1, u"https://d.example/"_s}));
    safari->setWindow(
        1, {u"https://b.example/"_s, u"https://c.example/"_s, u"http://www.a.example"_s});
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 3, u"http://www.a.example"_s}));
}

TEST_F(StoreActions, AVanishedLastTabIsDroppedSoTheNextPressGoesFurtherBack) {
    noteFront();                                                              // a (1 1)
    visit(1, 2);                                                              // b
    visit(2, 1);                                                              // d
    safari->setWindow(1, {u"https://a.example/"_s, u"https://c.example/"_s}); // b closed
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{2, 1, u"https://d.example/"_s})) << "nothing happens";
    EXPECT_EQ(toasts(), QString());
    EXPECT_EQ(world.safari.revealed(), QStringList{u"https://b.example/"_s});
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_s}));
}

TEST_F(StoreActions, TheLastTabInAnotherTabGroupIsRevealed) {
    noteFront();                                               // a (1 1)
    visit(2, 1);                                               // d
    safari->setWindow(1, {u"https://other-group.example/"_s}); // the window shows another group
    world.safari.setRevealable({u"https://a.example/"_s}, [this](const QString& url) {
        safari->setWindow(1, {url});
        safari->setCurrent(1, 1);
    });
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"https://a.example/"_s}));
    EXPECT_EQ(store->trail().first(), (TabRef{1, 1, u"https://a.example/"_s}));
}

TEST_F(StoreActions, ABrowserFailingEveryCallGetsAToastOrABeepAndLosesNothing) {
    store->hidden = {u"kept.example"_s};
    noteFront();
    safari->setFailing(true);
    world.menuBar.setPressSucceeds(false);
    setWindowMenu(Store::safariID, {FakeMenuBarAccess::item(u"Pin Tab"_s),
                                    FakeMenuBarAccess::item(u"Reload Page"_s)});
    store->perform(Action::copyLink(false), OpenMode::newTab);
    store->copyCurrentPage(true);
    store->perform(Action::menu({u"Window"_s, u"Reload Page"_s}), OpenMode::newTab);
    store->togglePinCurrent();
    store->perform(Action::revealTab(u"https://grouped.example/"_s), OpenMode::newTab);
    store->switchToLastTab();
    int closed = 0;
    store->closeTab(1, 1, [&] { ++closed; });
    settle(*store);
    EXPECT_EQ(world.workspace.beeps(), 2);
    EXPECT_EQ(world.pasteboard.writes, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(toasts(false),
              u"exclamationmark.circle | exclamationmark.circle | arrow.up.right.square"_s);
    EXPECT_EQ(store->hidden, QSet<QString>{u"kept.example"_s});
    EXPECT_EQ(store->trail(), (QList<TabRef>{{1, 1, u"https://a.example/"_s}}));
}

} // namespace
} // namespace kivaro
