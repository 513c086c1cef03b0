#include "FakeDevTools.h"
#include "MenuTrees.h"
#include "browsers/Commands.h"
#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/MenuBar.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
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

struct OperationCase {
    const char* path; // the menu item's path, titles separated by "/"
    Operation operation;
    QStringList calls;
};

void PrintTo(const OperationCase& each, std::ostream* out) {
    *out << each.path;
}

class DevToolsOperationsTest : public ::testing::TestWithParam<OperationCase> {};

// Each command reaches the protocol as exactly these calls, performed directly or pressed as the
// menu item of that title.
TEST_P(DevToolsOperationsTest, SendsTheCallsOfItsCommand) {
    {
        Scene scene;
        EXPECT_TRUE(scene.browser->perform(GetParam().operation));
        EXPECT_EQ(scene.fake.log(), GetParam().calls);
    }
    Scene scene;
    DevToolsMenuBarAccess access({scene.browser});
    EXPECT_TRUE(MenuBar::press(access, QString::fromUtf8(GetParam().path).split(u'/'), bundleID));
    EXPECT_EQ(scene.fake.log(), GetParam().calls);
}

const QString close = u"Target.closeTarget {\"targetId\":\"%1\"}"_s;
const QString openDevTools = u"Target.openDevTools {\"targetId\":\"%1\"}"_s;
const QString history = u"B Page.navigateToHistoryEntry {\"entryId\":%1}"_s;
const QString create = u"Target.createTarget {\"url\":\"%1\"}"_s;
const QString activate = u"Target.activateTarget {\"targetId\":\"%1\"}"_s;
const QString bounds =
    u"Browser.setWindowBounds {\"bounds\":{\"windowState\":\"%1\"},\"windowId\":1}"_s;
using O = Operation;

const OperationCase operations[] = {
    {"File/New Tab", O::newTab, {create.arg(u"chrome://newtab/")}},
    {"File/New Window",
     O::newWindow,
     {u"Target.createTarget {\"newWindow\":true,\"url\":\"chrome://newtab/\"}"_s}},
    {"File/Close Tab", O::closeTab, {close.arg(u"B")}},
    {"File/Close Other Tabs", O::closeOtherTabs, {close.arg(u"A"), close.arg(u"C")}},
    {"File/Close Window", O::closeWindow, {close.arg(u"A"), close.arg(u"B"), close.arg(u"C")}},
    {"View/Stop", O::stop, {u"B Page.stopLoading {}"_s}},
    {"View/Reload Page", O::reload, {u"B Page.reload {}"_s}},
    {"View/Reload Page From Origin",
     O::reloadIgnoringCache,
     {u"B Page.reload {\"ignoreCache\":true}"_s}},
    {"View/Enter Full Screen", O::toggleFullScreen, {bounds.arg(u"fullscreen")}},
    {"View/Developer/View Source", O::viewSource, {create.arg(u"view-source:https://b/")}},
    {"View/Developer/Developer Tools", O::developerTools, {openDevTools.arg(u"B")}},
    {"History/Back", O::back, {history.arg(11)}},
    {"History/Forward", O::forward, {history.arg(13)}},
    {"Tab/Select Next Tab", O::nextTab, {activate.arg(u"C")}},
    {"Tab/Select Previous Tab", O::previousTab, {activate.arg(u"A")}},
    {"Tab/Duplicate Tab", O::duplicateTab, {create.arg(u"https://b/")}},
};
INSTANTIATE_TEST_SUITE_P(Commands, DevToolsOperationsTest, ::testing::ValuesIn(operations));

TEST(DevToolsOperations, FullScreenTogglesBackAndNothingReachesAnotherWindow) {
    Scene scene;
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    // Stepping past the last tab of the window wraps to its first, not into window 2.
    scene.fake.show(u"C"_s);
    EXPECT_TRUE(scene.browser->perform(Operation::nextTab));
    EXPECT_EQ(scene.fake.log(),
              (QStringList{bounds.arg(u"fullscreen"), bounds.arg(u"normal"), activate.arg(u"A")}));
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
