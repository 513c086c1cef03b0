#include "browsers/Commands.h"

#include "MenuTrees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::chromiumID;
using MenuTrees::safariID;

std::optional<Command> titled(const QList<Command>& commands, const QString& title) {
    for (const Command& command : commands) {
        if (command.title == title)
            return command;
    }
    return std::nullopt;
}

MenuBar::Item item(QStringList path, bool enabled = true) {
    return MenuBar::Item{.path = std::move(path), .enabled = enabled, .keys = {}, .combo = {}};
}

const QString cmd = u"\u2318"_s;
const QString option = u"\u2325"_s;

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, MenuTrees::safari());
        access.setMenuBar(chromiumID, MenuTrees::chromium());
        safariItems = MenuBar::walk(access, safariID);
        chromiumItems = MenuBar::walk(access, chromiumID);
    }

    FakeMenuBarAccess access;
    QList<MenuBar::Item> safariItems;
    QList<MenuBar::Item> chromiumItems;
};

TEST(CommandCatalogs, HoldTheirRowsInOrder) {
    ASSERT_EQ(Commands::entries().size(), 27);
    EXPECT_EQ(Commands::entries().first(),
              (Commands::Entry{u"History"_s,
                               {u"Reopen Last Closed Tab"_s, u"Reopen Closed Tab"_s,
                                u"Re-open Closed Tab"_s, u"Reopen Closed Window"_s},
                               u"arrow.uturn.backward"_s,
                               u"undo restore closed"_s}));
    EXPECT_EQ(Commands::entries()[20].titles, QStringList{u"Share\u2026"_s});
    EXPECT_EQ(Commands::entries().last().titles, QStringList{u"Empty Caches for All Profiles"_s});
    const QStringList menus{u"History"_s, u"File"_s, u"Window"_s, u"View"_s, u"Develop"_s};
    for (const Commands::Entry& entry : Commands::entries()) {
        EXPECT_TRUE(menus.contains(entry.menu)) << entry.menu.toStdString();
        EXPECT_EQ(entry.keywords, entry.keywords.toLower());
    }

    ASSERT_EQ(Commands::tools().size(), 12);
    EXPECT_EQ(Commands::tools()[7],
              (Commands::Tool{{u"Empty Caches for All Profiles"_s, u"Empty Caches"_s},
                              u"Empty Caches"_s,
                              u"trash.circle"_s,
                              u"cache clear empty"_s}));
    EXPECT_EQ(Commands::tools().last().titles, QStringList{u"Feature Flags\u2026"_s});
    ASSERT_EQ(Commands::viewExtras().size(), 3);
    EXPECT_EQ(Commands::viewExtras().first().title, u"Hard Reload"_s);
    EXPECT_EQ(Commands::groups().keys(),
              (QStringList{u"Open Page With"_s, u"Service Workers"_s, u"User Agent"_s,
                           u"Web Extension Background Content"_s}));
    EXPECT_EQ(Commands::chromium().value(u"JavaScript Console"_s).title, u"Console"_s);
    EXPECT_EQ(Commands::chromium().size(), 5);
    EXPECT_EQ(MenuBar::skipped(),
              (QStringList{u"Help"_s, u"Bookmarks"_s, u"Profiles"_s, u"Profile"_s, u"People"_s}));
}

TEST(CommandCatalogs, OwnCommandsCopyTheLink) {
    ASSERT_EQ(Commands::own().size(), 2);
    EXPECT_EQ(Commands::own()[0], (Command{.title = u"Copy Link"_s,
                                           .symbol = u"link"_s,
                                           .keywords = u"copy url link share"_s,
                                           .menu = u"Kivaro"_s,
                                           .action = Action::copyLink(false),
                                           .keys = {},
                                           .core = false,
                                           .combo = std::nullopt}));
    EXPECT_EQ(Commands::own()[1].title, u"Copy Markdown Link"_s);
    EXPECT_EQ(Commands::own()[1].action, Action::copyLink(true));
    EXPECT_FALSE(Commands::own()[1].core);
    EXPECT_FALSE(Commands::own()[1].combo);
}

TEST(CommandDefaults, AreTheCatalogThenTheOwnCommands) {
    const QList<Command> defaults = Commands::defaults();
    ASSERT_EQ(defaults.size(), 29);
    EXPECT_EQ(defaults.first(),
              (Command{.title = u"Reopen Last Closed Tab"_s,
                       .symbol = u"arrow.uturn.backward"_s,
                       .keywords = u"undo restore closed"_s,
                       .menu = u"History"_s,
                       .action = Action::menu({u"History"_s, u"Reopen Last Closed Tab"_s}),
                       .keys = {},
                       .core = false,
                       .combo = std::nullopt}));
    EXPECT_EQ(defaults[11].action, Action::menu({u"View"_s, u"Show Sidebar"_s}));
    EXPECT_EQ(defaults.mid(27), Commands::own());
    for (const Command& command : defaults) {
        EXPECT_TRUE(command.keys.isEmpty());
        EXPECT_FALSE(command.core);
    }
}

TEST_F(CommandsTest, SafariWithoutAccessibilityFallsBackToTheDefaults) {
    access.setTrusted(false);
    const auto items = MenuBar::walk(access, safariID);
    EXPECT_EQ(Commands::forBrowser(items, true), Commands::defaults());
    // Other browsers have no default list: only the program's own commands remain.
    EXPECT_EQ(Commands::forBrowser(MenuBar::walk(access, chromiumID), false), Commands::own());
    EXPECT_EQ(Commands::forBrowser(safariItems, true), Commands::resolve(safariItems, true));
}

TEST_F(CommandsTest, ResolveDecoratesKnownItemsOfSafari) {
    const QList<Command> commands = Commands::resolve(safariItems, true);
    EXPECT_EQ(titled(commands, u"Reload Page"_s),
              (Command{.title = u"Reload Page"_s,
                       .symbol = u"arrow.clockwise"_s,
                       .keywords = u"reload refresh"_s,
                       .menu = u"View"_s,
                       .action = Action::menu({u"View"_s, u"Reload Page"_s}),
                       .keys = {cmd, u"R"_s},
                       .core = false,
                       .combo = KeyCombo{.modifiers = Modifier::command, .key = u"r"_s}}));
    EXPECT_EQ(titled(commands, u"Show Sidebar"_s)->symbol, u"sidebar.left"_s);
    // Only the catalog's titles count: this title is a tool's, not an entry's.
    EXPECT_EQ(titled(commands, u"Empty Caches"_s)->symbol, u"filemenu.and.selection"_s);
    // A second state's title finds its entry too.
    access.setMenuBar(safariID, MenuTrees::safariToggled());
    const auto toggled = Commands::resolve(MenuBar::walk(access, safariID), true);
    EXPECT_EQ(titled(toggled, u"Hide Sidebar"_s)->symbol, u"sidebar.left"_s);
    EXPECT_EQ(titled(toggled, u"Hide Page Source"_s)->symbol, u"filemenu.and.selection"_s);
    EXPECT_EQ(titlesOf(commands).mid(commands.size() - 2),
              (QStringList{u"Copy Link"_s, u"Copy Markdown Link"_s}));
}

TEST_F(CommandsTest, ResolveDescribesUnknownItemsByTheirMenu) {
    const QList<Command> commands = Commands::resolve(safariItems, true);
    const auto stop = titled(commands, u"Stop"_s);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->symbol, u"filemenu.and.selection"_s);
    EXPECT_EQ(stop->keywords, u"view"_s);
    EXPECT_EQ(stop->menu, u"View"_s);
    const auto encoding = titled(commands, u"Unicode (UTF-8)"_s);
    ASSERT_TRUE(encoding);
    EXPECT_EQ(encoding->menu, u"View \u203a Text Encoding"_s);
    EXPECT_EQ(encoding->keywords, u"view \u203a text encoding"_s);
    EXPECT_EQ(encoding->action,
              Action::menu({u"View"_s, u"Text Encoding"_s, u"Unicode (UTF-8)"_s}));
}

TEST_F(CommandsTest, ResolveTrustsSafarisEnabledStateButNotChromiums) {
    const QStringList safari = titlesOf(Commands::resolve(safariItems, true));
    EXPECT_FALSE(safari.contains(u"Close Other Tabs"_s));
    EXPECT_FALSE(safari.contains(u"Show Reader"_s));
    const auto chromium = Commands::resolve(chromiumItems, false);
    const auto closeOthers = titled(chromium, u"Close Other Tabs"_s);
    ASSERT_TRUE(closeOthers);
    EXPECT_EQ(closeOthers->action, Action::menu({u"Tab"_s, u"Close Other Tabs"_s}));
    EXPECT_EQ(closeOthers->symbol, u"xmark.square"_s);
}

TEST_F(CommandsTest, ResolveKeepsTheFirstOfDuplicateTitles) {
    const QList<Command> chromium = Commands::resolve(chromiumItems, false);
    EXPECT_EQ(titlesOf(chromium).count(u"Close Tab"_s), 1);
    EXPECT_EQ(titled(chromium, u"Close Tab"_s)->action, Action::menu({u"File"_s, u"Close Tab"_s}));
    // The browser's own "Copy Link" gives way to the program's.
    EXPECT_EQ(titlesOf(chromium).count(u"Copy Link"_s), 1);
    EXPECT_EQ(titled(chromium, u"Copy Link"_s)->action, Action::copyLink(false));
    EXPECT_EQ(titled(chromium, u"Reopen Closed Tab"_s)->symbol, u"arrow.uturn.backward"_s);

    const QList<Command> safari = Commands::resolve(safariItems, true);
    EXPECT_EQ(titlesOf(safari).count(u"Safari \u2014 iPhone"_s), 1);
}

TEST(CommandResolve, HandlesOddItems) {
    EXPECT_EQ(Commands::resolve({}, true), Commands::own());
    EXPECT_EQ(Commands::resolve({}, false), Commands::own());
    const QList<Command> commands =
        Commands::resolve({item({}), item({u"Develop"_s, u"show web inspector"_s}),
                           item({u"View"_s, u"Reload Page"_s}, false)},
                          false);
    ASSERT_EQ(commands.size(), 4);
    // The catalog is searched ignoring case; the title stays as the menu shows it.
    EXPECT_EQ(commands[0].title, u"show web inspector"_s);
    EXPECT_EQ(commands[0].symbol, u"hammer"_s);
    EXPECT_EQ(commands[1].title, u"Reload Page"_s);
}

TEST_F(CommandsTest, DevListsSafarisToolsExtrasAndGroups) {
    const QStringList expected{
        u"Web Inspector"_s,
        u"Console"_s,
        u"Inspect Element"_s,
        u"Page Source"_s,
        u"Page Resources"_s,
        u"Timeline Recording"_s,
        u"Responsive Design Mode"_s,
        u"Empty Caches"_s,
        u"Connect Web Inspector"_s,
        u"Inspect Apps and Devices"_s,
        u"Developer Settings"_s,
        u"Feature Flags"_s,
        u"Hard Reload"_s,
        u"Reload Without Content Blockers"_s,
        u"Reload and Show IP Address"_s,
        u"Open With: Google Chrome"_s,
        u"Open With: Firefox"_s,
        u"User Agent: Default (Automatically Chosen)"_s,
        u"User Agent: Safari \u2014 iPhone"_s,
        u"User Agent: Safari \u2014 iPad"_s,
        u"Extension Background: uBlock Origin Lite"_s,
    };
    EXPECT_EQ(titlesOf(Commands::dev(safariItems)), expected);
}

TEST_F(CommandsTest, DevCommandsCarryTheirCatalogFields) {
    const QList<Command> tools = Commands::dev(safariItems);
    EXPECT_EQ(titled(tools, u"Web Inspector"_s),
              (Command{.title = u"Web Inspector"_s,
                       .symbol = u"hammer"_s,
                       .keywords = u"inspector devtools elements network storage sources"_s,
                       .menu = u"Develop"_s,
                       .action = Action::menu({u"Develop"_s, u"Show Web Inspector"_s}),
                       .keys = {option, cmd, u"I"_s},
                       .core = true,
                       .combo = KeyCombo{.modifiers = Modifier::option | Modifier::command,
                                         .key = u"i"_s}}));
    const auto hard = titled(tools, u"Hard Reload"_s);
    ASSERT_TRUE(hard);
    EXPECT_EQ(hard->menu, u"View"_s);
    EXPECT_EQ(hard->keywords, u"hard reload cache origin"_s);
    EXPECT_EQ(hard->keys, (QStringList{option, cmd, u"R"_s}));
    EXPECT_TRUE(hard->core);
    EXPECT_EQ(
        titled(tools, u"User Agent: Safari \u2014 iPad"_s),
        (Command{.title = u"User Agent: Safari \u2014 iPad"_s,
                 .symbol = u"person.crop.rectangle"_s,
                 .keywords = u"user agent ua spoof"_s,
                 .menu = u"User Agent"_s,
                 .action = Action::menu({u"Develop"_s, u"User Agent"_s, u"Safari \u2014 iPad"_s}),
                 .keys = {},
                 .core = false,
                 .combo = std::nullopt}));
}

TEST_F(CommandsTest, DevNamesAToolByTheStateItWouldLeave) {
    access.setMenuBar(safariID, MenuTrees::safariToggled());
    const QStringList titles = titlesOf(Commands::dev(MenuBar::walk(access, safariID)));
    EXPECT_EQ(titles.first(), u"Close Web Inspector"_s);
    EXPECT_EQ(titles[1], u"Hide JavaScript Console"_s);
    EXPECT_EQ(titles[2], u"Inspect Element"_s);
    EXPECT_EQ(titles[3], u"Hide Page Source"_s);
    EXPECT_EQ(titles[5], u"Stop Timeline Recording"_s);
    EXPECT_EQ(titles[6], u"Exit Responsive Design Mode"_s);
}

TEST_F(CommandsTest, DevListsChromiumsDeveloperSubmenu) {
    const QList<Command> tools = Commands::dev(chromiumItems);
    EXPECT_EQ(titlesOf(tools),
              (QStringList{u"Page Source"_s, u"Developer Tools"_s, u"Inspect Element"_s,
                           u"Console"_s, u"Allow JavaScript from Apple Events"_s}));
    EXPECT_EQ(tools[0],
              (Command{.title = u"Page Source"_s,
                       .symbol = u"chevron.left.forwardslash.chevron.right"_s,
                       .keywords = u"developer devtools view source"_s,
                       .menu = u"Developer"_s,
                       .action = Action::menu({u"View"_s, u"Developer"_s, u"View Source"_s}),
                       .keys = {option, cmd, u"U"_s},
                       .core = true,
                       .combo = KeyCombo{.modifiers = Modifier::option | Modifier::command,
                                         .key = u"u"_s}}));
    EXPECT_EQ(tools[4].symbol, u"wrench.and.screwdriver"_s);
    EXPECT_EQ(tools[4].keywords, u"developer devtools allow javascript from apple events"_s);
}

TEST(CommandDev, FindsDeveloperItemsUnderEitherParentTitle) {
    const QList<Command> tools =
        Commands::dev({item({u"Tools"_s, u"Developer Tools"_s, u"Task Manager"_s}, false),
                       item({u"Developer"_s, u"Developer Tools"_s}),
                       item({u"View"_s, u"More"_s, u"Developer"_s})});
    ASSERT_EQ(tools.size(), 1);
    EXPECT_EQ(tools[0].title, u"Task Manager"_s);
    EXPECT_EQ(tools[0].symbol, u"gauge.with.dots.needle.33percent"_s);
    EXPECT_EQ(tools[0].menu, u"Developer"_s);
    EXPECT_TRUE(Commands::dev({}).isEmpty());
    EXPECT_TRUE(Commands::dev({item({})}).isEmpty());
}

TEST(CommandDev, SafariGroupsSkipChoicesAndEmptyStates) {
    const QList<Command> tools =
        Commands::dev({item({u"Develop"_s, u"Service Workers"_s, u"No Service Workers"_s}),
                       item({u"Develop"_s, u"Service Workers"_s, u"example.com"_s}),
                       item({u"Develop"_s, u"User Agent"_s, u"Other\u2026"_s}),
                       item({u"Develop"_s, u"Unknown Group"_s, u"Entry"_s}),
                       item({u"Develop"_s, u"Show Web Inspector"_s, u"Deeper"_s}),
                       item({u"View"_s, u"Developer"_s, u"Developer Tools"_s})});
    EXPECT_EQ(titlesOf(tools), QStringList{u"Service Worker: example.com"_s});
}

} // namespace
} // namespace kivaro
