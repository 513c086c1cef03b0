#include "browsers/MenuBar.h"

#include "MenuTrees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using F = FakeMenuBarAccess;
using MenuTrees::chromiumID;
using MenuTrees::safariID;
using ::testing::Contains;
using ::testing::Not;

QList<QStringList> pathsOf(const QList<MenuBar::Item>& items) {
    QList<QStringList> paths;
    for (const MenuBar::Item& item : items)
        paths.append(item.path);
    return paths;
}

std::optional<MenuBar::Item> itemAt(const QList<MenuBar::Item>& items, const QStringList& path) {
    for (const MenuBar::Item& item : items) {
        if (item.path == path)
            return item;
    }
    return std::nullopt;
}

// A bar with one menu besides the system menu.
F::Node barWith(F::Node menu) {
    return F::bar({std::move(menu)});
}

std::vector<F::Node> numberedItems(int count, const QString& key = {}) {
    std::vector<F::Node> items;
    for (int i = 0; i < count; ++i)
        items.push_back(F::item(u"Item "_s + QString::number(i), key));
    return items;
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, MenuTrees::safari());
        access.setMenuBar(chromiumID, MenuTrees::chromium());
    }

    QList<MenuBar::Item> walkOnly(F::Node bar) {
        access.setMenuBar(u"test"_s, std::move(bar));
        return MenuBar::walk(access, u"test"_s);
    }

    F access;
};

TEST_F(MenuBarTest, WalkFlattensSafarisMenusInOrder) {
    const QList<QStringList> expected{
        {u"Safari"_s, u"About Safari"_s},
        {u"Safari"_s, u"Settings\u2026"_s},
        {u"Safari"_s, u"Hide Safari"_s},
        {u"Safari"_s, u"Hide Others"_s},
        {u"Safari"_s, u"Show All"_s},
        {u"Safari"_s, u"Quit Safari"_s},
        {u"File"_s, u"New Window"_s},
        {u"File"_s, u"New Private Window"_s},
        {u"File"_s, u"New Tab"_s},
        {u"File"_s, u"New Empty Tab Group"_s},
        {u"File"_s, u"Open File\u2026"_s},
        {u"File"_s, u"Close Window"_s},
        {u"File"_s, u"Close Tab"_s},
        {u"File"_s, u"Close Other Tabs"_s},
        {u"File"_s, u"Save As\u2026"_s},
        {u"File"_s, u"Share\u2026"_s},
        {u"File"_s, u"Export as PDF\u2026"_s},
        {u"File"_s, u"Print\u2026"_s},
        {u"Edit"_s, u"Undo"_s},
        {u"Edit"_s, u"Redo"_s},
        {u"Edit"_s, u"Copy"_s},
        {u"Edit"_s, u"Paste"_s},
        {u"Edit"_s, u"Find"_s, u"Find\u2026"_s},
        {u"Edit"_s, u"Find"_s, u"Find Next"_s},
        {u"Edit"_s, u"Find"_s, u"Find Previous"_s},
        {u"Edit"_s, u"Emoji & Symbols"_s},
        {u"View"_s, u"Show Sidebar"_s},
        {u"View"_s, u"Show Tab Overview"_s},
        {u"View"_s, u"Stop"_s},
        {u"View"_s, u"Reload Page"_s},
        {u"View"_s, u"Reload Page From Origin"_s},
        {u"View"_s, u"Reload Without Content Blockers"_s},
        {u"View"_s, u"Reload and Show IP Address"_s},
        {u"View"_s, u"Show Reader"_s},
        {u"View"_s, u"Text Encoding"_s, u"Default"_s},
        {u"View"_s, u"Text Encoding"_s, u"Unicode (UTF-8)"_s},
        {u"View"_s, u"Show Downloads"_s},
        {u"View"_s, u"Enter Full Screen"_s},
        // History keeps only its commands: no pages, no Recently Closed submenu.
        {u"History"_s, u"Show All History"_s},
        {u"History"_s, u"Back"_s},
        {u"History"_s, u"Forward"_s},
        {u"History"_s, u"Home"_s},
        {u"History"_s, u"Reopen Last Closed Tab"_s},
        {u"Develop"_s, u"Open Page With"_s, u"Google Chrome"_s},
        {u"Develop"_s, u"Open Page With"_s, u"Firefox"_s},
        {u"Develop"_s, u"Open Page With"_s, u"Other\u2026"_s},
        {u"Develop"_s, u"User Agent"_s, u"Default (Automatically Chosen)"_s},
        {u"Develop"_s, u"User Agent"_s, u"Safari \u2014 iPhone"_s},
        {u"Develop"_s, u"User Agent"_s, u"Safari \u2014 iPad"_s},
        {u"Develop"_s, u"User Agent"_s, u"Safari \u2014 iPhone"_s},
        {u"Develop"_s, u"User Agent"_s, u"Other\u2026"_s},
        {u"Develop"_s, u"Show Web Inspector"_s},
        {u"Develop"_s, u"Show JavaScript Console"_s},
        {u"Develop"_s, u"Show Page Source"_s},
        {u"Develop"_s, u"Show Page Resources"_s},
        {u"Develop"_s, u"Start Element Selection"_s},
        {u"Develop"_s, u"Start Timeline Recording"_s},
        {u"Develop"_s, u"Enter Responsive Design Mode"_s},
        {u"Develop"_s, u"Empty Caches"_s},
        {u"Develop"_s, u"Service Workers"_s, u"No Service Workers"_s},
        {u"Develop"_s, u"Web Extension Background Content"_s, u"uBlock Origin Lite"_s},
        {u"Develop"_s, u"Connect Web Inspector"_s},
        {u"Develop"_s, u"Inspect Apps and Devices"_s},
        {u"Develop"_s, u"Feature Flags\u2026"_s},
        {u"Develop"_s, u"Developer Settings\u2026"_s},
        // The open windows after "Bring All to Front" are left out.
        {u"Window"_s, u"Minimize"_s},
        {u"Window"_s, u"Zoom"_s},
        {u"Window"_s, u"Move Tab to New Window"_s},
        {u"Window"_s, u"Merge All Windows"_s},
        {u"Window"_s, u"Pin Tab"_s},
        {u"Window"_s, u"Go To Next Tab Group"_s},
    };
    EXPECT_EQ(pathsOf(MenuBar::walk(access, safariID)), expected);
}

TEST_F(MenuBarTest, WalkNeverOpensTheSystemMenuOrSkippedMenus) {
    MenuBar::walk(access, safariID);
    EXPECT_THAT(access.opened(), Contains(QStringList{u"View"_s, u"Text Encoding"_s}));
    EXPECT_THAT(access.opened(), Not(Contains(QStringList{u"History"_s, u"Recently Closed"_s})));
    MenuBar::walk(access, chromiumID);
    for (const QString& title : {u"Apple"_s, u"Bookmarks"_s, u"Profiles"_s, u"Help"_s})
        EXPECT_THAT(access.opened(), Not(Contains(QStringList{title}))) << title.toStdString();
    EXPECT_THAT(access.opened(), Contains(QStringList{u"Tab"_s}));
    const auto items = MenuBar::walk(access, chromiumID);
    EXPECT_FALSE(itemAt(items, {u"Bookmarks"_s, u"Bookmark Manager"_s}));
    EXPECT_FALSE(itemAt(items, {u"Profiles"_s, u"Work"_s}));
}

TEST_F(MenuBarTest, WalkReadsEnabledStateAndShortcuts) {
    const auto items = MenuBar::walk(access, safariID);
    const auto reload = itemAt(items, {u"View"_s, u"Reload Page"_s});
    ASSERT_TRUE(reload);
    EXPECT_EQ(*reload,
              (MenuBar::Item{.path = {u"View"_s, u"Reload Page"_s},
                             .enabled = true,
                             .keys = {u"\u2318"_s, u"R"_s},
                             .combo = KeyCombo{.modifiers = Modifier::command, .key = u"r"_s}}));
    const auto reader = itemAt(items, {u"View"_s, u"Show Reader"_s});
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->enabled);
    EXPECT_EQ(reader->keys, (QStringList{u"\u21e7"_s, u"\u2318"_s, u"R"_s}));
    const auto share = itemAt(items, {u"File"_s, u"Share\u2026"_s});
    ASSERT_TRUE(share);
    EXPECT_TRUE(share->keys.isEmpty());
    EXPECT_FALSE(share->combo);
    const auto timeline = itemAt(items, {u"Develop"_s, u"Start Timeline Recording"_s});
    ASSERT_TRUE(timeline);
    EXPECT_EQ(timeline->keys, (QStringList{u"\u2325"_s, u"\u21e7"_s, u"\u2318"_s, u"T"_s}));
    EXPECT_EQ(timeline->combo->modifiers, Modifier::option | Modifier::shift | Modifier::command);
    const auto emoji = itemAt(items, {u"Edit"_s, u"Emoji & Symbols"_s});
    ASSERT_TRUE(emoji);
    EXPECT_EQ(emoji->keys, (QStringList{u"\u2303"_s, u"\u2318"_s, u" "_s}));
    const auto nextTab =
        itemAt(MenuBar::walk(access, chromiumID), {u"Tab"_s, u"Select Next Tab"_s});
    ASSERT_TRUE(nextTab);
    EXPECT_EQ(nextTab->keys, (QStringList{u"\u2303"_s, u"\t"_s}));
    EXPECT_EQ(nextTab->combo, (KeyCombo{.modifiers = Modifier::control, .key = u"\t"_s}));
}

TEST_F(MenuBarTest, WalkIsEmptyWithoutTrustOrMenuBar) {
    access.setTrusted(false);
    EXPECT_TRUE(MenuBar::walk(access, safariID).isEmpty());
    EXPECT_TRUE(access.opened().isEmpty());
    access.setTrusted(true);
    EXPECT_TRUE(MenuBar::walk(access, u"com.example.NotRunning"_s).isEmpty());
    EXPECT_TRUE(walkOnly(F::bar({})).isEmpty());
    EXPECT_TRUE(walkOnly(F::Node{}).isEmpty());
}

TEST_F(MenuBarTest, WalkSkipsMenusWithoutTitleOrItems) {
    F::Node bar = F::bar(
        {F::menu(QString(), {F::item(u"Untitled Menu Item"_s)}), F::item(u"Title Without Menu"_s),
         F::menu(u"Empty"_s, {}),
         F::menu(u"Tools"_s, {F::separator(), F::item(QString(), u"x"_s), F::item(u"Kept"_s)})});
    EXPECT_EQ(pathsOf(walkOnly(bar)), (QList<QStringList>{{u"Tools"_s, u"Kept"_s}}));
}

TEST_F(MenuBarTest, WalkIsBoundedInLengthAndDepth) {
    const auto long_ = walkOnly(barWith(F::menu(u"Tools"_s, numberedItems(250))));
    ASSERT_EQ(long_.size(), 200);
    EXPECT_EQ(long_.last().path, (QStringList{u"Tools"_s, u"Item 199"_s}));

    EXPECT_EQ(walkOnly(barWith(F::menu(u"History"_s, numberedItems(40, u"k"_s)))).size(), 30);

    const auto sub =
        walkOnly(barWith(F::menu(u"Tools"_s, {F::menu(u"Many"_s, numberedItems(70))})));
    ASSERT_EQ(sub.size(), 60);
    EXPECT_EQ(sub.last().path, (QStringList{u"Tools"_s, u"Many"_s, u"Item 59"_s}));

    // A submenu entry with a submenu of its own is left out with everything below it.
    F::Node deep = F::menu(u"Level 5"_s, {F::item(u"Bottom"_s)});
    for (int level = 4; level >= 3; --level)
        deep = F::menu(u"Level "_s + QString::number(level), {deep});
    const auto nested = walkOnly(
        barWith(F::menu(u"Tools"_s, {F::menu(u"Level 2"_s, {deep, F::item(u"Leaf"_s, u"l"_s)})})));
    EXPECT_EQ(pathsOf(nested), (QList<QStringList>{{u"Tools"_s, u"Level 2"_s, u"Leaf"_s}}));
}

TEST_F(MenuBarTest, WalkKeepsDuplicateTitlesAsSeparateItems) {
    const auto items = MenuBar::walk(access, chromiumID);
    EXPECT_TRUE(itemAt(items, {u"File"_s, u"Close Tab"_s}));
    EXPECT_TRUE(itemAt(items, {u"Tab"_s, u"Close Tab"_s}));
    EXPECT_TRUE(itemAt(items, {u"File"_s, u"New Tab"_s}));
    // Chromium's window list also follows "Bring All to Front".
    EXPECT_FALSE(itemAt(items, {u"Window"_s, u"New Tab"_s}));
}

TEST(MenuBarShortcut, TranslatesTheRawModifierBits) {
    using enum Modifier;
    const QString cmd = u"\u2318"_s, shifted = u"\u21e7"_s, opt = u"\u2325"_s, ctrl = u"\u2303"_s;
    const struct {
        std::optional<qint64> raw;
        Modifiers modifiers;
        QStringList glyphs;
    } cases[] = {
        {0, command, {cmd}},
        {std::nullopt, command, {cmd}},
        {1, shift | command, {shifted, cmd}},
        {8, {}, {}},
        {15, control | option | shift, {ctrl, opt, shifted}},
        // Bits the interface does not define are ignored; a negative value sets them all.
        {0x31, shift | command, {shifted, cmd}},
        {-1, control | option | shift, {ctrl, opt, shifted}},
    };
    for (const auto& [raw, modifiers, glyphs] : cases) {
        EXPECT_EQ(MenuBar::shortcut(u"R"_s, raw),
                  (MenuBar::KeyEquivalent{glyphs + QStringList{u"R"_s},
                                          KeyCombo{.modifiers = modifiers, .key = u"r"_s}}))
            << raw.value_or(-99);
    }
}

TEST(MenuBarShortcut, MissingCharacterMeansNoShortcut) {
    EXPECT_EQ(MenuBar::shortcut(std::nullopt, 0), MenuBar::KeyEquivalent{});
    EXPECT_EQ(MenuBar::shortcut(QString(), 1), MenuBar::KeyEquivalent{});
    EXPECT_EQ(MenuBar::shortcut(u""_s, std::nullopt), MenuBar::KeyEquivalent{});
}

TEST(MenuBarShortcut, NonAsciiCharactersChangeCaseLikeLetters) {
    const auto accent = MenuBar::shortcut(u"\u00e9"_s, 0);
    EXPECT_EQ(accent.keys, (QStringList{u"\u2318"_s, u"\u00c9"_s}));
    EXPECT_EQ(accent.combo->key, u"\u00e9"_s);
    const auto upper = MenuBar::shortcut(u"\u00d6"_s, 1);
    EXPECT_EQ(upper.keys.last(), u"\u00d6"_s);
    EXPECT_EQ(upper.combo->key, u"\u00f6"_s);
    // Arrows and other symbols have no case and stay as they are.
    const auto arrow = MenuBar::shortcut(u"\u2192"_s, 2);
    EXPECT_EQ(arrow.keys, (QStringList{u"\u2325"_s, u"\u2318"_s, u"\u2192"_s}));
    EXPECT_EQ(arrow.combo->key, u"\u2192"_s);
}

TEST(MenuBarLooseKey, IsTheTextAfterALeadingToggleWord) {
    EXPECT_EQ(MenuBar::looseKey(u"Show Sidebar"_s), u"Sidebar"_s);
    EXPECT_EQ(MenuBar::looseKey(u"Unmute Current Tab"_s), u"Current Tab"_s);
    EXPECT_EQ(MenuBar::looseKey(u"Show "_s), u""_s);
    EXPECT_FALSE(MenuBar::looseKey(u"Reload Page"_s));
    EXPECT_FALSE(MenuBar::looseKey(u"Show"_s));
    EXPECT_FALSE(MenuBar::looseKey(u"Showing Sidebar"_s));
    EXPECT_FALSE(MenuBar::looseKey(u"show sidebar"_s));
    EXPECT_FALSE(MenuBar::looseKey(QString()));
}

TEST_F(MenuBarTest, PressFindsItemsByExactPath) {
    EXPECT_TRUE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, safariID));
    EXPECT_TRUE(MenuBar::press(access, {u"Edit"_s, u"Find"_s, u"Find Next"_s}, safariID));
    EXPECT_TRUE(MenuBar::press(access, {u"Tab"_s, u"Close Tab"_s}, chromiumID));
    EXPECT_EQ(access.presses(), (QList<QStringList>{{u"View"_s, u"Reload Page"_s},
                                                    {u"Edit"_s, u"Find"_s, u"Find Next"_s},
                                                    {u"Tab"_s, u"Close Tab"_s}}));
}

TEST_F(MenuBarTest, PressFindsAToggledItemUnderItsOtherTitle) {
    const auto before = MenuBar::walk(access, safariID);
    ASSERT_TRUE(itemAt(before, {u"View"_s, u"Show Sidebar"_s}));
    access.setMenuBar(safariID, MenuTrees::safariToggled());
    EXPECT_TRUE(MenuBar::press(access, {u"View"_s, u"Show Sidebar"_s}, safariID));
    EXPECT_TRUE(MenuBar::press(access, {u"Develop"_s, u"Show Page Source"_s}, safariID));
    EXPECT_TRUE(MenuBar::press(access, {u"Develop"_s, u"Show Web Inspector"_s}, safariID));
    EXPECT_TRUE(MenuBar::press(access, {u"Develop"_s, u"Show JavaScript Console"_s}, safariID));
    EXPECT_EQ(access.presses(), (QList<QStringList>{{u"View"_s, u"Hide Sidebar"_s},
                                                    {u"Develop"_s, u"Hide Page Source"_s},
                                                    {u"Develop"_s, u"Close Web Inspector"_s},
                                                    {u"Develop"_s, u"Hide JavaScript Console"_s}}));
}

TEST_F(MenuBarTest, PressMatchesLooselyOnlyTheLastTitleOfToggles) {
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Pages"_s}, safariID));
    EXPECT_FALSE(MenuBar::press(access, {u"Show View"_s, u"Reload Page"_s}, safariID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Show "_s}, safariID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Hide Library"_s}, safariID));
    access.setMenuBar(
        u"test"_s,
        barWith(F::menu(u"Tools"_s, {F::menu(u"Show Panels"_s, {F::item(u"Hide Panel"_s)})})));
    EXPECT_FALSE(
        MenuBar::press(access, {u"Tools"_s, u"Hide Panels"_s, u"Hide Panel"_s}, u"test"_s));
    EXPECT_TRUE(access.presses().isEmpty());
    EXPECT_TRUE(MenuBar::press(access, {u"Tools"_s, u"Show Panels"_s, u"Show Panel"_s}, u"test"_s));
    EXPECT_EQ(access.presses(),
              (QList<QStringList>{{u"Tools"_s, u"Show Panels"_s, u"Hide Panel"_s}}));
}

TEST_F(MenuBarTest, PressOfAPathThatNoLongerExistsFails) {
    const auto safariItems = MenuBar::walk(access, safariID);
    ASSERT_TRUE(itemAt(safariItems, {u"Develop"_s, u"Show Web Inspector"_s}));
    access.setMenuBar(safariID, MenuTrees::chromium());
    EXPECT_FALSE(MenuBar::press(access, {u"Develop"_s, u"Show Web Inspector"_s}, safariID));
    access.removeMenuBar(safariID);
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, safariID));
    EXPECT_TRUE(access.presses().isEmpty());
}

TEST_F(MenuBarTest, PressFailsOnBadPathsAndRefusals) {
    EXPECT_FALSE(MenuBar::press(access, {}, safariID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, QString()}, safariID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s}, u"com.example.NotRunning"_s));
    // Descending through a leaf: there is no menu below it.
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s, u"Now"_s}, safariID));
    EXPECT_TRUE(access.presses().isEmpty());

    access.setPressSucceeds(false);
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, safariID));
    access.setPressSucceeds(true);
    access.setTrusted(false);
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, safariID));
    EXPECT_TRUE(access.presses().isEmpty());
}

} // namespace
} // namespace kivaro
