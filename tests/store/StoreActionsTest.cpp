#include "StoreFakes.h"
#include "browsers/Commands.h"
#include "store/Clipboard.h"
#include "store/TabTrail.h"
#include "support/FixtureRows.h"

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

// The open mode goes through to the browser, and every action reads the tabs again.
TEST_F(StoreActions, OpeningSwitchingOrDeveloperModeRereadsTheTabs) {
    perform(Action::devMode());
    perform(Action::switchTab(2, 1));
    perform(Action::open(u"https://new.example/"_s));
    perform(Action::open(u"https://here.example/"_s), OpenMode::currentTab);
    EXPECT_EQ(safari->calls().join(u", "),
              u"tabs, switchTo 2 1, tabs, open https://new.example/ newTab, tabs, "
              u"open https://here.example/ currentTab, tabs"_s);
    ASSERT_EQ(store->tabs.size(), 5);
    EXPECT_TRUE(store->tabs.last().isCurrent);
}

// Safari's tab groups are read with its tabs (and an empty menu walk offers the defaults). A tab
// of another group is revealed; one that is gone, or any without Accessibility, opens in a new
// tab, and the tabs are read again in every case.
TEST_F(StoreActions, RevealingATabOfAnotherGroupOrOpeningIt) {
    world.safari.grouped = {
        {.windowID = -1, .url = u"https://grouped.example/"_s, .group = u"Work"_s}};
    store->refresh();
    settle(*store);
    EXPECT_EQ(store->commands, Commands::defaults()); // no Accessibility, no menu bar
    ASSERT_EQ(store->otherTabs.size(), 1);
    EXPECT_EQ(store->otherTabs.first().group, u"Work"_s);

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

// Menu commands activate the browser and press, or ask for access; pinning a tab brings it
// forward first, unless it cannot pin.
TEST_F(StoreActions, MenuCommandsAndPinsActivateTheBrowserAndPressOrAskForAccess) {
    world.workspace.run(Store::safariID);
    setWindowMenu(Store::safariID, {FakeMenuBarAccess::item(u"Merge All Windows"_s),
                                    FakeMenuBarAccess::item(u"Unpin Tab"_s)});
    store->perform(Action::menu({u"Window"_s, u"Merge All Windows"_s}), OpenMode::newTab);
    store->perform(Action::menu({u"Window"_s, u"Duplicate Tab"_s}), OpenMode::newTab);
    perform(Action::menu({}));
    EXPECT_EQ(world.workspace.launched(), QStringList(3, Store::safariID));
    EXPECT_EQ(world.menuBar.presses(), (QList<QStringList>{{u"Window"_s, u"Merge All Windows"_s}}));
    store->togglePin(1, 3);
    settle(*store);
    EXPECT_EQ(safari->calls().filter(u"switchTo"_s), QStringList{u"switchTo 1 3"_s});
    EXPECT_EQ(world.menuBar.presses().size(), 2);

    world.permissions.setGranted(Permission::accessibility, false);
    perform(Action::menu({u"Window"_s, u"Merge All Windows"_s}));
    store->togglePin(1, 2);
    settle(*store);
    EXPECT_EQ(world.menuBar.presses().size(), 2);
    EXPECT_EQ(safari->callsNamed(u"switchTo"_s), 1);
    EXPECT_EQ(world.permissions.requests(), QList<Permission>(2, Permission::accessibility));
}

// A plain copy puts the same address under both types; a Markdown one is plain text only.
TEST_F(StoreActions, CopyingALinkOrBeepingWithoutAPage) {
    const auto copied = [this] {
        const auto content = world.pasteboard.content.value_or(RecordingPasteboard::Content{});
        return content.text + u" | "_s + content.url.value_or(u"-"_s);
    };
    perform(Action::copyLink(true));
    EXPECT_EQ(copied(), u"[Title of https://a.example/](https://a.example/) | -"_s);
    store->copyCurrentPage(false);
    settle(*store);
    EXPECT_EQ(copied(), u"https://a.example/ | https://a.example/"_s);
    EXPECT_EQ(toasts(), u"link: Markdown link copied (checkmark.circle.fill) | "
                        u"link: Link copied (checkmark.circle.fill)"_s);

    safari->clearCurrent(); // no window in front
    store->copyCurrentPage(true);
    perform(Action::copyLink(false));
    EXPECT_EQ(world.workspace.beeps(), 2);
    EXPECT_EQ(world.pasteboard.writes, 2);
}

TEST_F(StoreActions, MarkdownLinksEscapeTheTitlesSquareBracketsOnly) {
    Clipboard::copyLink(world.pasteboard, world.toast, u"https://a.example/x_(y)"_s,
                        u"[draft] notes [2]"_s, true);
    EXPECT_EQ(world.pasteboard.content->text,
              u"[\\[draft\\] notes \\[2\\]](https://a.example/x_(y))"_s);
    EXPECT_EQ(Clipboard::markdownLink(u"https://a.example/"_s, QString()),
              u"[](https://a.example/)"_s);
}

TEST_F(StoreActions, ClosingATabCallsBackWithTheNewList) {
    int done = 0;
    store->closeTab(1, 2, [&] { ++done; });
    settle(*store);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(safari->calls(), (QStringList{u"close 1 2"_s, u"tabs"_s}));
    EXPECT_EQ(store->tabs.size(), 3);

    // The browser changed before the answer came: the callback still runs, but the other
    // browser's tabs stay out of the new browser's list.
    testing::Gate gate;
    safari->holdEveryCallAt(gate);
    store->closeTab(1, 1, [&] { ++done; });
    gate.waitForWaiter();
    store->use(chrome);
    gate.open();
    settle(*store);
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(store->tabs.isEmpty());
}

// Every toast an action shows, worded exactly (the cases are in the fixture).
TEST_F(StoreActions, ToastsSayExactly) {
    for (const QStringList& row : testing::fixtureRows(u"store-toasts.txt"_s, 6)) {
        SCOPED_TRACE(row.first().toStdString());
        world.toast.shown.clear();
        world.permissions.setGranted(Permission::accessibility, row[3] == u"yes");
        std::vector<Node> items;
        for (const QString& item : row[2].split(u'|', Qt::SkipEmptyParts))
            items.push_back(item.startsWith(u'-') ? FakeMenuBarAccess::disabled(item.mid(1))
                                                  : FakeMenuBarAccess::item(item));
        const auto browser = row[4] == u"Chrome" ? chrome : safari;
        setWindowMenu(browser->bundleID(), std::move(items));
        store->use(browser);
        const QString action = row[1].section(u' ', 0, 0), argument = row[1].section(u' ', 1);
        if (action == u"pin")
            store->togglePinCurrent();
        else if (action == u"reveal")
            store->perform(Action::revealTab(argument), OpenMode::newTab);
        else
            store->perform(Action::menu(argument.split(u'/', Qt::SkipEmptyParts)),
                           OpenMode::newTab);
        settle(*store);
        EXPECT_EQ(toasts(), row[5]);
    }
}

// Pressed twice it comes back, and it finds the page wherever it moved; a page gone from the
// browser is dropped (nothing happens), so the next press goes further back; one in another
// tab group is revealed.
TEST_F(StoreActions, SwitchingToTheLastTab) {
    noteFront(); // a.example in front
    visit(1, 2); // b
    visit(2, 1); // d
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 2, u"https://b.example/"_s}));
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{2, 1, u"https://d.example/"_s}));
    safari->setWindow(
        1, {u"https://c.example/"_s, u"http://www.b.example"_s, u"https://a.example/"_s});
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 2, u"http://www.b.example"_s}));
    safari->setWindow(2, {u"https://e.example/"_s}); // d closed
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 2, u"http://www.b.example"_s})) << "nothing happens";
    EXPECT_EQ(toasts(), QString());
    EXPECT_EQ(world.safari.revealed(), QStringList{u"https://d.example/"_s});
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 3, u"https://a.example/"_s}));

    // The window shows another tab group now: the last tab is revealed there.
    safari->setWindow(1, {u"https://other-group.example/"_s});
    world.safari.setRevealable({u"http://www.b.example"_s}, [this](const QString& url) {
        safari->setWindow(1, {url});
        safari->setCurrent(1, 1);
    });
    lastTab();
    EXPECT_EQ(safari->front(), (TabRef{1, 1, u"http://www.b.example"_s}));
    EXPECT_EQ(store->trail().first(), (TabRef{1, 1, u"http://www.b.example"_s}));
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

// Tabs written "window:index url" and joined by ", ": the visits, one after another ("drop"
// drops the previous tab), and the trail they leave, newest first.
TabTrail noted(const QString& visits) {
    TabTrail trail;
    for (const QString& visit : visits.split(u", "_s)) {
        if (visit == u"drop") {
            trail.dropPrevious();
            continue;
        }
        const QStringList place = visit.section(u' ', 0, 0).split(u':');
        trail.note({place.at(0).toLongLong(), place.at(1).toLongLong(), visit.section(u' ', 1)});
    }
    return trail;
}

QString rendered(const QList<TabRef>& refs) {
    QStringList shown;
    for (const TabRef& ref : refs)
        shown.append(u"%1:%2 %3"_s.arg(ref.windowID).arg(ref.index).arg(ref.url));
    return shown.join(u", "_s);
}

// The trail of recently used tabs behind the last-tab shortcut (the cases are in the fixture).
TEST(TabTrail, KeepsTheTwelveNewestOfEachPagePerWindowFirst) {
    for (const QStringList& row : testing::fixtureRows(u"tab-trail.txt"_s, 2))
        EXPECT_EQ(rendered(noted(row[0]).entries()), row[1] == u"-" ? QString() : row[1])
            << row[0].toStdString();
}

} // namespace
} // namespace kivaro
