#include "FakeDevTools.h"
#include "MenuTrees.h"
#include "browsers/Commands.h"
#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/MenuBar.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/FixtureRows.h"
#include "support/ScopedEnv.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using Operation = DevToolsBrowser::Operation;
using namespace Qt::StringLiterals;

const QString bundleID = u"org.chromium.Chromium"_s;

// A browser reached through the fake endpoint. Window 1 holds tabs A, B and C in that order with
// B shown; window 2, behind it, holds D.
struct Scene {
    Scene() {
        fake.setPages({{u"C"_s, u"https://c/"_s, 1},
                       {u"B"_s, u"https://b/"_s, 1},
                       {u"A"_s, u"https://a/"_s, 1},
                       {u"D"_s, u"https://d/"_s, 2}});
        testing::writePortFile(home.filePath(u"chromium"_s), *fake.endpoint());
        browser->tabs(); // learns the tab order
        fake.show(u"B"_s);
    }

    QTemporaryDir home;
    testing::ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(home.path())};
    testing::FakeDevTools fake;
    std::unique_ptr<PrivateFolder> snapshots = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<DevToolsBrowser> browser = std::make_shared<DevToolsBrowser>(
        bundleID, u"Chromium"_s, QStringList{u"chromium"_s}, *snapshots);
};

using OperationCase = std::pair<const char*, Operation>; // the menu item's path, and what it does

// The calls of the command at `path`, from tests/fixtures/devtools-operations.txt.
QStringList callsOf(const char* path) {
    for (const QStringList& row : testing::fixtureRows(u"devtools-operations.txt"_s, 2))
        if (row[0] == QString::fromUtf8(path))
            return row[1].split(u" ; "_s);
    return {u"no calls listed"_s};
}

class DevToolsOperationsTest : public ::testing::TestWithParam<OperationCase> {};

// Each command reaches the protocol as exactly these calls, performed directly or pressed as the
// menu item of that title.
TEST_P(DevToolsOperationsTest, SendsTheCallsOfItsCommand) {
    const auto [path, operation] = GetParam();
    {
        Scene scene;
        EXPECT_TRUE(scene.browser->perform(operation));
        EXPECT_EQ(scene.fake.log(), callsOf(path));
    }
    Scene scene;
    DevToolsMenuBarAccess access({scene.browser});
    EXPECT_TRUE(MenuBar::press(access, QString::fromUtf8(path).split(u'/'), bundleID));
    EXPECT_EQ(scene.fake.log(), callsOf(path));
}

using O = Operation;
const OperationCase operations[] = {
    {"File/New Tab", O::newTab},
    {"File/New Window", O::newWindow},
    {"File/Close Tab", O::closeTab},
    {"File/Close Other Tabs", O::closeOtherTabs},
    {"File/Close Window", O::closeWindow},
    {"View/Stop", O::stop},
    {"View/Reload Page", O::reload},
    {"View/Reload Page From Origin", O::reloadIgnoringCache},
    {"View/Enter Full Screen", O::toggleFullScreen},
    {"View/Developer/View Source", O::viewSource},
    {"View/Developer/Developer Tools", O::developerTools},
    {"History/Back", O::back},
    {"History/Forward", O::forward},
    {"Tab/Select Next Tab", O::nextTab},
    {"Tab/Select Previous Tab", O::previousTab},
    {"Tab/Duplicate Tab", O::duplicateTab},
};
INSTANTIATE_TEST_SUITE_P(Commands, DevToolsOperationsTest, ::testing::ValuesIn(operations));

TEST(DevToolsOperations, FullScreenTogglesBackAndNothingReachesAnotherWindow) {
    Scene scene;
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    // Stepping past the last tab of the window wraps to its first, not into window 2.
    scene.fake.show(u"C"_s);
    EXPECT_TRUE(scene.browser->perform(Operation::nextTab));
    const QString bounds =
        u"Browser.setWindowBounds {\"bounds\":{\"windowState\":\"%1\"},\"windowId\":1}"_s;
    EXPECT_EQ(scene.fake.log(), (QStringList{bounds.arg(u"fullscreen"), bounds.arg(u"normal"),
                                             u"Target.activateTarget {\"targetId\":\"A\"}"_s}));
}

TEST(DevToolsMenuBar, ItsItemsBecomeCatalogCommandsWhileTheBrowserAnswers) {
    auto scene = std::make_unique<Scene>();
    DevToolsMenuBarAccess access({scene->browser});
    const QList<MenuBar::Item> items = MenuBar::walk(access, bundleID);
    ASSERT_EQ(items.size(), DevToolsMenuBarAccess::items().size());
    EXPECT_EQ(MenuTrees::commandLines(Commands::resolve(items, false)),
              MenuTrees::expected(u"devtools.commands"_s));
    EXPECT_EQ(MenuTrees::commandLines(Commands::dev(items)),
              MenuTrees::expected(u"devtools.dev"_s));
    EXPECT_FALSE(MenuBar::press(access, {u"Tab"_s, u"Pin Tab"_s}, bundleID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, u"com.google.Chrome"_s));

    // A browser that stops answering offers no menu bar and carries out nothing.
    const auto browser = scene->browser;
    scene.reset();
    EXPECT_TRUE(MenuBar::walk(access, bundleID).isEmpty());
    EXPECT_FALSE(browser->perform(Operation::reload));
}

} // namespace
} // namespace kivaro
