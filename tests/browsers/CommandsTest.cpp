#include "browsers/Commands.h"

#include "MenuTrees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using MenuTrees::chromiumID;
using MenuTrees::safariID;
using ::testing::Contains;
using ::testing::Not;

// One line per command: menu, title, symbol, keywords, shortcut, what it does, "core".
QString line(const Command& command) {
    QString action = command.action.typeName();
    if (const auto* menu = command.action.as<Action::Menu>())
        action = menu->path.join(u" › "_s);
    else if (const auto* copy = command.action.as<Action::CopyLink>())
        action += copy->markdown ? u" markdown"_s : QString();
    return command.menu + u" | "_s + command.title + u" | "_s + command.symbol + u" | "_s +
           command.keywords + u" | "_s + command.keys.join(QString()) + u" | "_s + action +
           (command.core ? u" | core"_s : QString());
}

QStringList lines(const QList<Command>& commands, const QStringList& titles = {}) {
    QStringList rendered;
    for (const Command& command : commands)
        if (titles.isEmpty() || titles.contains(command.title))
            rendered.append(line(command));
    return rendered;
}

MenuBar::Item item(QStringList path, bool enabled = true) {
    return MenuBar::Item{.path = std::move(path), .enabled = enabled, .keys = {}, .combo = {}};
}

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, MenuTrees::safari());
        access.setMenuBar(chromiumID, MenuTrees::chromium());
        safariItems = MenuBar::walk(access, safariID);
        chromiumItems = MenuBar::walk(access, chromiumID);
    }

    QList<MenuBar::Item> toggledSafari() {
        access.setMenuBar(safariID, MenuTrees::safariToggled());
        return MenuBar::walk(access, safariID);
    }

    FakeMenuBarAccess access;
    QList<MenuBar::Item> safariItems;
    QList<MenuBar::Item> chromiumItems;
};

TEST_F(CommandsTest, WithoutAMenuBarSafariGetsTheCatalogAndOthersOnlyTheOwnCommands) {
    const QList<Command> defaults = Commands::defaults();
    EXPECT_EQ(line(defaults.first()),
              u"History | Reopen Last Closed Tab | arrow.uturn.backward | "
              u"undo restore closed |  | History › Reopen Last Closed Tab"_s);
    EXPECT_EQ(defaults.mid(defaults.size() - 2), Commands::own());
    EXPECT_EQ(
        lines(Commands::own()),
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

TEST_F(CommandsTest, ResolveDecoratesCatalogItemsAndDescribesOthersByTheirMenu) {
    const QList<Command> safari = Commands::resolve(safariItems, true);
    EXPECT_EQ(
        lines(safari, {u"Reload Page"_s, u"Show Sidebar"_s, u"Empty Caches"_s, u"Stop"_s,
                       u"Unicode (UTF-8)"_s}),
        (QStringList{
            u"View | Show Sidebar | sidebar.left | sidebar toggle tabs | \u21e7\u2318L | View › Show Sidebar"_s,
            u"View | Stop | filemenu.and.selection | view | \u2318. | View › Stop"_s,
            u"View | Reload Page | arrow.clockwise | reload refresh | \u2318R | View › Reload Page"_s,
            u"View \u203a Text Encoding | Unicode (UTF-8) | filemenu.and.selection | view \u203a "
            u"text encoding |  | View › Text Encoding › Unicode (UTF-8)"_s,
            // A tool's title is not an entry's.
            u"Develop | Empty Caches | filemenu.and.selection | develop | \u2325\u2318E | Develop "
            u"› Empty Caches"_s}));
    EXPECT_EQ(lines(safari).mid(safari.size() - 2), lines(Commands::own()));
    // A toggle's other title finds its entry too.
    const QList<Command> toggled = Commands::resolve(toggledSafari(), true);
    EXPECT_EQ(
        lines(toggled, {u"Hide Sidebar"_s}),
        QStringList{
            u"View | Hide Sidebar | sidebar.left | sidebar toggle tabs | \u21e7\u2318L | View › Hide Sidebar"_s});
}

TEST_F(CommandsTest, ResolveTrustsSafarisEnabledStateButNotChromiumsAndKeepsTheFirstTitle) {
    const QStringList safari = titlesOf(Commands::resolve(safariItems, true));
    EXPECT_THAT(safari, Not(Contains(u"Close Other Tabs"_s)));
    EXPECT_THAT(safari, Not(Contains(u"Show Reader"_s)));
    EXPECT_EQ(safari.count(u"Safari \u2014 iPhone"_s), 1);
    const QList<Command> chromium = Commands::resolve(chromiumItems, false);
    // The browser's own "Copy Link" gives way to the program's.
    EXPECT_EQ(
        lines(chromium, {u"Close Other Tabs"_s, u"Close Tab"_s, u"Copy Link"_s}),
        (QStringList{u"File | Close Tab | xmark | close current | \u2318W | File › Close Tab"_s,
                     u"Tab | Close Other Tabs | xmark.square | close others clean |  | Tab › Close "
                     u"Other Tabs"_s,
                     line(Commands::own()[0])}));
    // The catalog is searched ignoring case; the title stays as the menu shows it.
    EXPECT_EQ(titlesOf(Commands::resolve({item({}), item({u"Develop"_s, u"show web inspector"_s}),
                                          item({u"View"_s, u"Reload Page"_s}, false)},
                                         false))
                  .mid(0, 2),
              (QStringList{u"show web inspector"_s, u"Reload Page"_s}));
}

TEST_F(CommandsTest, DevListsSafarisToolsExtrasAndGroupsNamedByTheStateTheyWouldLeave) {
    const QList<Command> tools = Commands::dev(safariItems);
    EXPECT_EQ(titlesOf(tools), (QStringList{u"Web Inspector"_s,
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
                                            u"Extension Background: uBlock Origin Lite"_s}));
    EXPECT_EQ(
        lines(tools, {u"Web Inspector"_s, u"Hard Reload"_s, u"User Agent: Safari \u2014 iPad"_s}),
        (QStringList{u"Develop | Web Inspector | hammer | inspector devtools elements network "
                     u"storage sources | \u2325\u2318I | Develop › Show Web Inspector | core"_s,
                     u"View | Hard Reload | arrow.clockwise.circle | hard reload cache origin | "
                     u"\u2325\u2318R | View › Reload Page From Origin | core"_s,
                     u"User Agent | User Agent: Safari \u2014 iPad | person.crop.rectangle | user "
                     u"agent ua spoof |  | Develop › User Agent › Safari \u2014 iPad"_s}));
    EXPECT_EQ(titlesOf(Commands::dev(toggledSafari())).mid(0, 7),
              (QStringList{u"Close Web Inspector"_s, u"Hide JavaScript Console"_s,
                           u"Inspect Element"_s, u"Hide Page Source"_s, u"Page Resources"_s,
                           u"Stop Timeline Recording"_s, u"Exit Responsive Design Mode"_s}));
}

TEST_F(CommandsTest, DevListsChromiumsDeveloperSubmenuUnderEitherParentTitle) {
    const QList<Command> tools = Commands::dev(chromiumItems);
    EXPECT_EQ(titlesOf(tools),
              (QStringList{u"Page Source"_s, u"Developer Tools"_s, u"Inspect Element"_s,
                           u"Console"_s, u"Allow JavaScript from Apple Events"_s}));
    EXPECT_EQ(line(tools[0]),
              u"Developer | Page Source | chevron.left.forwardslash.chevron.right | "
              u"developer devtools view source | \u2325\u2318U | View › Developer › "
              u"View Source | core"_s);
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
