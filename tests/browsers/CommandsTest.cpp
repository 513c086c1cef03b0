#include "browsers/Commands.h"

#include "MenuTrees.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::chromiumID;
using MenuTrees::commandLines;
using MenuTrees::safariID;

// The titles of commands, in order.
QStringList titlesOf(const QList<Command>& commands) {
    QStringList titles;
    for (const Command& command : commands)
        titles.append(command.title);
    return titles;
}

MenuBar::Item item(QStringList path, bool enabled = true) {
    return MenuBar::Item{.path = std::move(path), .enabled = enabled, .keys = {}, .combo = {}};
}

class CommandsTest : public MenuTrees::MenuBarsTest {
protected:
    void SetUp() override {
        MenuBarsTest::SetUp();
        safariItems = MenuBar::walk(access, safariID);
        chromiumItems = MenuBar::walk(access, chromiumID);
    }

    QList<MenuBar::Item> safariItems;
    QList<MenuBar::Item> chromiumItems;
};

TEST_F(CommandsTest, WithoutAMenuBarSafariGetsTheCatalogAndOthersOnlyTheOwnCommands) {
    const QList<Command> defaults = Commands::defaults();
    EXPECT_EQ(commandLines(defaults).first(),
              u"History | Reopen Last Closed Tab | arrow.uturn.backward | "
              u"undo restore closed |  | History › Reopen Last Closed Tab"_s);
    EXPECT_EQ(defaults.mid(defaults.size() - 2), Commands::own());
    EXPECT_EQ(
        commandLines(Commands::own()),
        (QStringList{u"Kivaro | Copy Link | link | copy url link share |  | copyLink"_s,
                     u"Kivaro | Copy Markdown Link | text.badge.plus | copy markdown md link |  | "
                     u"copyLink markdown"_s}));
    access.setTrusted(false);
    EXPECT_EQ(Commands::forBrowser(MenuBar::walk(access, safariID), true), defaults);
    EXPECT_EQ(Commands::forBrowser(MenuBar::walk(access, chromiumID), false), Commands::own());
    EXPECT_EQ(Commands::forBrowser(safariItems, true), Commands::resolve(safariItems, true));
    EXPECT_EQ(Commands::resolve({}, true), Commands::own());
    // The ranker matches keywords in lower case only.
    for (const Command& command : defaults + Commands::dev(safariItems))
        EXPECT_EQ(command.keywords, command.keywords.toLower()) << command.title.toStdString();
}

// Every command made from the fake menu bars, against tests/fixtures/menus/<name>. Catalog items
// are decorated, others described by their menu (a tool's title is not an entry's); Safari's
// enabled state is trusted, Chromium's not; the first of two equal titles is kept; the
// browser's own "Copy Link" gives way to the program's, which come last; a toggle's other title
// finds its entry too; Safari's tools, extras and groups are named by the state they would
// leave; Chromium's developer submenu counts under either parent title.
TEST_F(CommandsTest, ResolveAndDevGiveTheCommandsOfEachMenuBar) {
    const QList<MenuBar::Item> plain = safariItems;
    access.setMenuBar(safariID, MenuTrees::fromFixture(u"safari"_s, true));
    const QList<MenuBar::Item> toggled = MenuBar::walk(access, safariID);
    const std::pair<const char*, QList<Command>> cases[] = {
        {"safari.commands", Commands::resolve(plain, true)},
        {"safari-toggled.commands", Commands::resolve(toggled, true)},
        {"chromium.commands", Commands::resolve(chromiumItems, false)},
        {"safari.dev", Commands::dev(plain)},
        {"safari-toggled.dev", Commands::dev(toggled)},
        {"chromium.dev", Commands::dev(chromiumItems)},
    };
    for (const auto& [name, commands] : cases)
        EXPECT_EQ(commandLines(commands), MenuTrees::expected(QString::fromUtf8(name))) << name;
}

TEST_F(CommandsTest, OddItemsAreLookedUpIgnoringCaseOrLeftOut) {
    // The catalog is searched ignoring case; the title stays as the menu shows it.
    EXPECT_EQ(titlesOf(Commands::resolve({item({}), item({u"Develop"_s, u"show web inspector"_s}),
                                          item({u"View"_s, u"Reload Page"_s}, false)},
                                         false))
                  .mid(0, 2),
              (QStringList{u"show web inspector"_s, u"Reload Page"_s}));
    EXPECT_EQ(
        titlesOf(Commands::dev({item({u"Tools"_s, u"Developer Tools"_s, u"Task Manager"_s}, false),
                                item({u"Developer"_s, u"Developer Tools"_s}),
                                item({u"View"_s, u"More"_s, u"Developer"_s}), item({})})),
        QStringList{u"Task Manager"_s});
    EXPECT_EQ(
        titlesOf(Commands::dev({item({u"Develop"_s, u"Service Workers"_s, u"No Service Workers"_s}),
                                item({u"Develop"_s, u"Service Workers"_s, u"example.com"_s}),
                                item({u"Develop"_s, u"User Agent"_s, u"Other\u2026"_s}),
                                item({u"Develop"_s, u"Unknown Group"_s, u"Entry"_s}),
                                item({u"Develop"_s, u"Show Web Inspector"_s, u"Deeper"_s})})),
        QStringList{u"Service Worker: example.com"_s});
    EXPECT_TRUE(Commands::dev({}).isEmpty());
}

} // namespace
} // namespace kivaro
