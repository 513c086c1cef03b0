#include "ChromiumFixture.h"
#include "browsers/Commands.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/MenuBar.h"

#include <gmock/gmock.h>

namespace kivaro {
namespace {

using testing::bundleID;
using ::testing::Contains;
using ::testing::Field;
using ::testing::Not;

Command named(const QList<Command>& commands, const QString& title) {
    for (const Command& command : commands)
        if (command.title == title)
            return command;
    return {};
}

using DevToolsMenuBarTest = testing::ChromiumTest;

TEST_F(DevToolsMenuBarTest, WalksIntoCatalogCommandsAndPressesThemThroughTheProtocol) {
    std::shared_ptr<DevToolsBrowser> shared = makeBrowser();
    DevToolsMenuBarAccess access({shared});
    const QList<MenuBar::Item> items = MenuBar::walk(access, bundleID);
    ASSERT_EQ(items.size(), DevToolsMenuBarAccess::items().size());

    const QList<Command> commands = Commands::resolve(items, false);
    const Command reload = named(commands, QStringLiteral("Reload Page"));
    EXPECT_EQ(reload.symbol, QStringLiteral("arrow.clockwise"));
    EXPECT_EQ(reload.keywords, QStringLiteral("reload refresh"));
    EXPECT_EQ(reload.keys, (QStringList{QStringLiteral("⌃"), QStringLiteral("R")}));
    EXPECT_EQ(named(commands, QStringLiteral("Reload Page From Origin")).symbol,
              QStringLiteral("arrow.clockwise.circle"));
    EXPECT_EQ(named(commands, QStringLiteral("Duplicate Tab")).symbol,
              QStringLiteral("plus.square.on.square"));
    EXPECT_EQ(named(commands, QStringLiteral("Close Tab")).symbol, QStringLiteral("xmark"));
    // The History menu keeps only items with a shortcut, as on a real menu bar.
    EXPECT_EQ(named(commands, QStringLiteral("Back")).menu, QStringLiteral("History"));
    EXPECT_THAT(Commands::dev(items),
                Contains(Field(&Command::title, QStringLiteral("Page Source"))));
    EXPECT_THAT(commands, Not(Contains(Field(&Command::title, QStringLiteral("Pin Tab")))));

    EXPECT_TRUE(
        MenuBar::press(access, {QStringLiteral("Tab"), QStringLiteral("Duplicate Tab")}, bundleID));
    EXPECT_TRUE(waitForTitles({title("a"), title("a")}));
    EXPECT_TRUE(
        MenuBar::press(access, {QStringLiteral("View"), QStringLiteral("Reload Page")}, bundleID));
    EXPECT_FALSE(
        MenuBar::press(access, {QStringLiteral("Tab"), QStringLiteral("Pin Tab")}, bundleID));
    EXPECT_FALSE(MenuBar::press(access, {QStringLiteral("View"), QStringLiteral("Reload Page")},
                                QStringLiteral("com.google.Chrome")));
}

TEST_F(DevToolsMenuBarTest, OffersNothingForABrowserThatDoesNotAnswer) {
    std::shared_ptr<DevToolsBrowser> shared = makeBrowser();
    DevToolsMenuBarAccess access({shared});
    chromium_.kill();
    ASSERT_TRUE(chromium_.waitForExit());
    EXPECT_TRUE(MenuBar::walk(access, bundleID).isEmpty());
    EXPECT_FALSE(
        MenuBar::press(access, {QStringLiteral("View"), QStringLiteral("Reload Page")}, bundleID));
    EXPECT_EQ(Commands::resolve({}, false), Commands::own());
}

} // namespace
} // namespace kivaro
